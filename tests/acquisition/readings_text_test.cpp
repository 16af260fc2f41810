#include "acquisition/readings_text.h"

#include <gtest/gtest.h>

#include <clocale>

#include "plots/dew_point.h"

namespace vesk {
namespace {

TEST(ReadingsText, SignsAndFormats) {
  const struct {
    double temp;
    const char* text;
  } cases[] = {{12.34, "+12.3 °C"}, {-3.0, "-3.0 °C"}, {0, "0.0 °C"}, {0.04, "+0.0 °C"}};
  for (const auto& c : cases) {
    TinfosRec rec;
    rec.TempExt = c.temp;
    rec.TempInt = c.temp;
    EXPECT_EQ(FormatReadings(rec).LabelTemp, c.text);
    EXPECT_EQ(FormatReadings(rec).LabeltempInsideCamera, c.text);
  }
  TinfosRec rec;
  rec.TempHot = 31.25;
  rec.RHExt = 55.55;
  rec.RHInt = 12;
  rec.Pressure = 1013.254;
  rec.WindSpeed = 7.25;
  rec.Windir = 270.4;
  const ReadingsTexts t = FormatReadings(rec);
  EXPECT_EQ(t.LabelTempHotSide, "Hot plate: +31.2 °C");
  EXPECT_EQ(t.LabelRH, "55.5 %");
  EXPECT_EQ(t.LabelRH_Inside, "Int. RH: 12.0 %");
  EXPECT_EQ(t.LabelPressure, "1013.25 hPa (20°C+sea level)");
  EXPECT_EQ(t.LabelWind, "Wind : 7.2 km/h 270 ° Az");
}

TEST(ReadingsText, PlaceholdersKeepTheDewPoint) {
  EXPECT_EQ(PlaceholderReadings().LabelTempHotSide, "Hot Plate: ??.? °C");
  EXPECT_EQ(PlaceholderReadings().LabelWind, "Vent : ??.? km/h ??.? ° Az");
  EXPECT_TRUE(PlaceholderReadings().LabelPR.empty());
  EXPECT_EQ(InitialReadings().LabelRH_Inside, "RH in: ??.? %");
}

TEST(ReadingsText, DewPoint) {
  EXPECT_NEAR(DewPoint(20, 100), 20, 1e-9);
  EXPECT_EQ(DewPoint(20, -5), 0);
  EXPECT_NEAR(DewPoint(10, 0), -111, 1e-9);
}

TEST(ReadingsText, PressureAndWindLabelsByModel) {
  EXPECT_TRUE(ShowsPressureAndWind(24));
  EXPECT_FALSE(ShowsPressureAndWind(37));
  EXPECT_FALSE(ShowsPressureAndWind(33));
}

TEST(ReadingsText, CoolingModes) {
  const struct {
    std::uint8_t status;
    const char* mode;
    const char* state;
    std::optional<bool> autoMode;
  } cases[] = {
      {0x00, "None", "Disabled", std::nullopt},
      {0x02, "Manual", "Disabled", false},
      {0x06, "Manual", "Enabled", false},
      {0x03, "Auto", "Disabled", true},  // bit 1 is looked at only without bit 0
  };
  for (const auto& c : cases) {
    TstateCoolCCD now, previous;
    const CoolingTexts t = PresentCooling(c.status, 0, now, previous);
    EXPECT_EQ(t.StaticTextModeCooling, c.mode);
    EXPECT_EQ(t.StaticTextCoolingState, c.state);
    EXPECT_EQ(t.autoMode, c.autoMode);
  }
}

TEST(ReadingsText, AutomaticCoolingStartsAndStops) {
  std::setlocale(LC_ALL, "C");
  const TDateTime when = EncodeDateTime({2026, 1, 18, 22, 30, 0, 0});
  TstateCoolCCD previous;

  // Manual mode leaves the previous state alone.
  TstateCoolCCD state;
  PresentCooling(0x06, when, state, previous);
  EXPECT_FALSE(previous.CoolPending);

  // Started: the time, and "OK" for the three causes.
  CoolingTexts started = PresentCooling(0x05, when, state, previous);
  EXPECT_EQ(started.StaticTextStartCauseCool, "01/18/26 22:30:00");
  EXPECT_EQ(started.StaticTextStopDay, "OK");
  EXPECT_EQ(started.StaticTextTooWet, "OK");
  EXPECT_TRUE(previous.CoolPending);

  // Still running: nothing changes on screen.
  EXPECT_FALSE(PresentCooling(0x05, when, state, previous).StaticTextStartCauseCool);

  // Stopped because it became day: OUI NON NON and the letter w.
  CoolingTexts stopped = PresentCooling(0x09, when, state, previous);
  EXPECT_EQ(stopped.StaticTextStartCauseCool, "01/18/26 22:30:00 (w)");
  EXPECT_EQ(stopped.StaticTextStopDay, "OUI");
  EXPECT_EQ(stopped.StaticTextStopHot, "NON");
  EXPECT_EQ(stopped.StaticTextTooWet, "NON");

  // Started and stopped again for heat and humidity while it stays day: "oh".
  PresentCooling(0x0D, when, state, previous);
  stopped = PresentCooling(0x39, when, state, previous);
  EXPECT_EQ(stopped.StaticTextStartCauseCool, "01/18/26 22:30:00 (oh)");

  // Stopped without any cause changing: the time alone.
  PresentCooling(0x3D, when, state, previous);
  stopped = PresentCooling(0x39, when, state, previous);
  EXPECT_EQ(stopped.StaticTextStartCauseCool, "01/18/26 22:30:00");
}

}  // namespace
}  // namespace vesk
