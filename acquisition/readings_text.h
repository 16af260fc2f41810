#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "acquisition/poll_records.h"
#include "common/datetime.h"

namespace vesk {

// "+" before a value above 0; a negative value brings its own "-".
std::string SignPrefix(double x);
std::string OuiNonText(bool b);

// The captions the window puts beside its large readings, by the label they name, and beside
// its two heating lamps (the web page shows the same).
struct ReadingCaption {
  const char* label;
  const char* caption;
};
inline constexpr std::array<ReadingCaption, 4> kReadingCaptions{{
    {"LabelTemp", "Outside temperature"},
    {"LabelRH", "Outside humidity"},
    {"LabelPR", "Dew point"},
    {"LabeltempInsideCamera", "Inside camera"},
}};
inline constexpr const char* kHeatingLampCaption = "Heating";
inline constexpr const char* kAutoHeatLampCaption = "Auto mode";

// The hint of the heater lamp: "Power : 50%" while the heater is on, "Turned OFF" while off.
std::string HeatingHint(bool heaterOn, int powerLevel);

// The texts of the readings labels after a successful poll.
struct ReadingsTexts {
  std::string LabelTemp;
  std::string LabelRH;
  std::string LabelPR;
  std::string LabeltempInsideCamera;
  std::string LabelTempHOT;
  std::string LabelTempHotSide;
  std::string LabelRH_int;
  std::string LabelRH_Inside;
  std::string LabelPressure;
  std::string LabelWind;
};

ReadingsTexts FormatReadings(const TinfosRec& rec);

// What a failed poll puts back ("Hot Plate: " and "Vent : " are written so on purpose).
ReadingsTexts PlaceholderReadings();
// What the window starts with.
ReadingsTexts InitialReadings();

// Pressure and wind labels are shown for these models only (not for 37, although its poll
// reads the weather module).
bool ShowsPressureAndWind(std::uint8_t TypeCam);

// The cooling page after a poll of a hot-side model.
struct CoolingTexts {
  std::string StaticTextModeCooling;   // "Auto", "Manual" or "None"
  std::string StaticTextCoolingState;  // "Enabled" or "Disabled"
  // Check box states to set; empty with no mode (the boxes stay as they are).
  std::optional<bool> autoMode;
  // Set when automatic cooling started or stopped since the previous automatic poll.
  std::optional<std::string> StaticTextStartCauseCool;
  std::optional<std::string> StaticTextStopDay;
  std::optional<std::string> StaticTextStopHot;
  std::optional<std::string> StaticTextTooWet;
};

// Derives the cooling texts from StatusCooler; in automatic mode also the cooling-state
// flags, compared with and then stored into previous.
CoolingTexts PresentCooling(std::uint8_t StatusCooler, TDateTime now, TstateCoolCCD& StateCCDCool,
                            TstateCoolCCD& PreviousStateCCDCool);

}  // namespace vesk
