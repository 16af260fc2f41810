#include "plots/time_window.h"

#include <gtest/gtest.h>

#include "plots/time_format.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using test::ReadFile;
using test::TempFolder;

constexpr TDateTime kNoon = 46040.5;

const TWindowButton& Button(const std::string& name) {
  for (const TWindowButton& b : kWindowButtons) {
    if (name == b.name) {
      return b;
    }
  }
  throw std::invalid_argument(name);
}

TEST(TimeWindow, ButtonsSetTheWindowAndEveryFormat) {
  TTimeWindow window;
  window.Press(Button("BitBtn24h"));
  EXPECT_EQ(window.Range(kNoon), (TTimeRange{kNoon - 1.0, kNoon + 0.2}));
  for (const std::string& format : window.formats) {
    EXPECT_EQ(format, "dd/mm hh:mm");
  }
  window.Press(kWindButtons[1]);  // the wind "3h" changes the shared window, not the formats
  EXPECT_EQ(window.Range(kNoon), (TTimeRange{kNoon - 0.125, kNoon + 1.0 / 120}));
  EXPECT_EQ(window.formats[0], "dd/mm hh:mm");
  EXPECT_FALSE(Button("BitBtn6h").rebuilds);
  EXPECT_TRUE(Button("BitBtn6mois").rebuilds);
}

TEST(TimeWindow, WrittenIntoTheFiveSectionsAndReadBackAtStart) {
  TempFolder folder;
  TSettingsFile settings(folder.path());
  TTimeWindow window;
  window.Press(Button("BitBtn24h"));
  window.Write(settings);
  const std::string file = ReadFile(folder / "VeskLevel.ini");
  for (const char* section :
       {"[Temp_scale]", "[RH_scale]", "[Press_scale]", "[Press_WinDir]", "[Press_WinSpeed]"}) {
    EXPECT_NE(file.find(std::string(section) + "\r\nXmin=1\r\nXmax=0.2\r\ntext=dd/mm hh:mm\r\n"),
              std::string::npos)
        << section;
  }

  TTimeWindow restarted;
  restarted.ReadSettings(settings);
  EXPECT_EQ(restarted.MinX, 1.0);
  EXPECT_EQ(restarted.MaxX, 0.2);
  EXPECT_EQ(restarted.formats[static_cast<std::size_t>(TTimeChart::Temp)], "dd/mm hh:mm");
  // The pressure and wind charts read their format from sections the window never writes.
  EXPECT_EQ(restarted.formats[static_cast<std::size_t>(TTimeChart::Press)], "dd/mm hh");
}

TEST(TimeWindow, ZoomOutDoublesTheSpanAroundItsCentre) {
  EXPECT_EQ(ZoomedOut({10, 14}), (TTimeRange{8, 16}));
  EXPECT_EQ(ZoomedOut({-50, 0}), (TTimeRange{-75, 25}));
}

TEST(TimeFormat, SystemFormatsInTheChartsNotation) {
  struct Case {
    const char* stored;
    const char* chart;
  };
  for (const Case& c : {
           Case{"hh:mm:ss", "hh:mm:ss"},
           Case{"hh:mm", "hh:mm"},
           Case{"dd/mm hh:mm", "dd/MM hh:mm"},  // month, then minutes
           Case{"dd/mm hh", "dd/MM hh"},
           Case{"dd/mm", "dd/MM"},
           Case{"DD/MM/YYYY HH:NN", "dd/MM/yyyy hh:mm"},
           Case{"mm/dd", "MM/dd"},
           Case{"d mmm", "d MMM"},
           Case{"hh:mm \"h\"", "hh:mm' h'"},  // quoted text stays text
           Case{"hh:mm AM/PM", "hh:mm AP"},
           Case{"hh:mm utc", "hh:mm' utc'"},  // letters of no field are text
           Case{"hh'h'mm", "hh'h'mm"},
           Case{"", ""},
       }) {
    EXPECT_EQ(QtDateTimeFormat(c.stored), c.chart) << c.stored;
  }
}

}  // namespace
}  // namespace vesk
