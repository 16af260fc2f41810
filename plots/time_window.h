#pragma once

#include <array>
#include <string>
#include <string_view>

#include "common/datetime.h"
#include "settings/settings_file.h"

namespace vesk {

struct TTimeRange {
  TDateTime min = 0;
  TDateTime max = 0;
  bool operator==(const TTimeRange&) const = default;
};

// The window the five charts share: from now − MinX days to now + MaxX days.
TTimeRange TimeWindowRange(TDateTime now, double MinX, double MaxX);

// BitBtnZoomMClick on one axis: half the span added at each end, so it doubles around its
// centre.
TTimeRange ZoomedOut(TTimeRange range);

// A window button of the "Plots" group: the window it sets, the label format it gives every
// time axis, and whether the series are rebuilt at once (the 6-hour one waits for the next
// poll).
struct TWindowButton {
  const char* name;
  const char* caption;
  const char* hint;
  double MinX;
  double MaxX;
  const char* format;
  bool rebuilds;
};

inline constexpr std::array<TWindowButton, 8> kWindowButtons = {{
    {"BitBtn1h", "1h", "Montrer la derniere heure", 1.0 / 24, 1.0 / 240, "hh:mm:ss", true},
    {"BitBtn6h", "6h", "Montrer les dernieres 6h", 0.25, 1.0 / 24, "hh:mm", false},
    {"BitBtn_last12h", "12h", "Montrer les dernieres 12h", 0.5, 0.1, "hh:mm", true},
    {"BitBtn24h", "24h", "Montrer les dernieres 24h", 1.0, 0.2, "dd/mm hh:mm", true},
    {"BitBtn3J", "3J", "Montrer les derniers 3 jours", 3.0, 0.5, "dd/mm hh", true},
    {"BitBtn1s", "1s", "Montrer la derniere semaine", 7.0, 1.0, "dd/mm hh", true},
    {"BitBtn1mois", "1M", "Montrer le dernier mois", 30.0, 1.0, "dd/mm", true},
    {"BitBtn6mois", "6M", "Montrer les derniers 6 mois", 180.0, 5.0, "dd/mm", true},
}};

// A button under the wind-speed chart: it moves the two wind charts only, and no format.
struct TWindButton {
  const char* name;
  const char* caption;
  double MinX;
  double MaxX;
};

inline constexpr std::array<TWindButton, 3> kWindButtons = {{
    {"Button_1h_Vent", "1h", 1.0 / 24, 1.0 / 240},
    {"Button5", "3h", 0.125, 1.0 / 120},
    {"Button12hwind", "12h", 0.5, 1.0 / 48},
}};

// The button of that name in kWindowButtons or kWindButtons; a name not there does not compile.
template <class TButton, std::size_t N>
consteval const TButton& ButtonNamed(const std::array<TButton, N>& buttons, std::string_view name) {
  for (const TButton& button : buttons) {
    if (name == button.name) {
      return button;
    }
  }
  throw "no such button";
}

// The format every time axis gets at start, whatever the settings held.
inline constexpr char kStartTimeFormat[] = "hh:mm";

// The shared time window of the main window and the label format of each time axis, in the
// system's notation ("dd/mm hh:mm"; see QtDateTimeFormat for the charts').
struct TTimeWindow {
  double MinX = 1.0;
  double MaxX = 0.1;
  TTimeFormats formats;

  // Start: the window of "Temp_Scale", each chart's format from its own section.
  void ReadSettings(const TSettingsFile& settings);
  void Press(const TWindowButton& button);
  void Press(const TWindButton& button) {
    MinX = button.MinX;
    MaxX = button.MaxX;
  }
  void SetAllFormats(const std::string& format) { formats.fill(format); }
  TTimeRange Range(TDateTime now) const { return TimeWindowRange(now, MinX, MaxX); }
  // SetTimeWindow's keys: the window and each chart's format into the five sections.
  void Write(TSettingsFile& settings) const { settings.WriteTimeWindow(MinX, MaxX, formats); }
};

}  // namespace vesk
