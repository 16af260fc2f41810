#include "acquisition/readings_text.h"

#include "common/number_text.h"
#include "link/device_identity.h"
#include "plots/dew_point.h"

namespace vesk {

std::string SignPrefix(double x) {
  return x > 0 ? "+" : "";
}

std::string OuiNonText(bool b) {
  return b ? "OUI" : "NON";
}

std::string HeatingHint(bool heaterOn, int powerLevel) {
  return heaterOn ? FormatText("Power : %d%%", powerLevel) : "Turned OFF";
}

namespace {

std::string Celsius(double value) {
  return SignPrefix(value) + FormatText("%1.1f °C", value);
}

}  // namespace

ReadingsTexts FormatReadings(const TinfosRec& rec) {
  ReadingsTexts t;
  t.LabelTemp = Celsius(rec.TempExt);
  t.LabelRH = FormatText("%1.1f %%", rec.RHExt);
  t.LabelPR = FormatText("%1.1f °C", DewPoint(rec.TempExt, rec.RHExt));
  t.LabeltempInsideCamera = Celsius(rec.TempInt);
  t.LabelTempHOT = Celsius(rec.TempHot);
  t.LabelTempHotSide = "Hot plate: " + Celsius(rec.TempHot);
  t.LabelRH_int = FormatText("%1.1f %%", rec.RHInt);
  t.LabelRH_Inside = FormatText("Int. RH: %1.1f %%", rec.RHInt);
  t.LabelPressure = FormatText("%1.2f hPa (20°C+sea level)", rec.Pressure);
  t.LabelWind = FormatText("Wind : %1.1f km/h %1.0f ° Az", rec.WindSpeed, rec.Windir);
  return t;
}

ReadingsTexts PlaceholderReadings() {
  ReadingsTexts t;
  t.LabelTemp = "??.? °C";
  t.LabelRH = "??.? %";
  t.LabeltempInsideCamera = "??.? °C";
  t.LabelTempHOT = "??.? °C";
  t.LabelTempHotSide = "Hot Plate: ??.? °C";
  t.LabelRH_int = "??.? %";
  t.LabelRH_Inside = "Int. RH: ??.? %";
  t.LabelPressure = "??.? hPa (20°C+sea level)";
  t.LabelWind = "Vent : ??.? km/h ??.? ° Az";
  return t;  // LabelPR keeps the last dew point
}

ReadingsTexts InitialReadings() {
  ReadingsTexts t;
  t.LabelTemp = "??.? °C";
  t.LabelRH = "??.? %";
  t.LabelPR = "??.? °C";
  t.LabeltempInsideCamera = "??.? °C";
  t.LabelTempHOT = "??.? °C";
  t.LabelTempHotSide = "H. side: ??.? °C";
  t.LabelRH_int = "??.? %";
  t.LabelRH_Inside = "RH in: ??.? %";
  t.LabelPressure = "???.?? hPa";
  t.LabelWind = "Wind : ??.? km/h ??.? ° Az";
  return t;
}

bool ShowsPressureAndWind(std::uint8_t TypeCam) {
  return ModelTypeOf(TypeCam, 0).pressureAndWindLabels;
}

CoolingTexts PresentCooling(std::uint8_t StatusCooler, TDateTime now, TstateCoolCCD& StateCCDCool,
                            TstateCoolCCD& PreviousStateCCDCool) {
  CoolingTexts t;
  const bool automatic = (StatusCooler & 0x01) != 0;
  if (automatic) {
    t.StaticTextModeCooling = "Auto";
    t.autoMode = true;
  } else if ((StatusCooler & 0x02) != 0) {
    t.StaticTextModeCooling = "Manual";
    t.autoMode = false;
  } else {
    t.StaticTextModeCooling = "None";
  }
  t.StaticTextCoolingState = (StatusCooler & 0x04) != 0 ? "Enabled" : "Disabled";
  if (!automatic) {
    return t;
  }
  StateCCDCool.CoolPending = (StatusCooler & 0x04) != 0;
  StateCCDCool.DayDetected = (StatusCooler & 0x08) != 0;
  StateCCDCool.TooHotinsideCam = (StatusCooler & 0x10) != 0;
  StateCCDCool.TooWetinsideCam = (StatusCooler & 0x20) != 0;
  const TstateCoolCCD& previous = PreviousStateCCDCool;
  if (StateCCDCool.CoolPending != previous.CoolPending) {
    const std::string when = DateTimeToText(now);
    t.StaticTextStartCauseCool = when;
    if (StateCCDCool.CoolPending) {
      t.StaticTextStopDay = t.StaticTextStopHot = t.StaticTextTooWet = "OK";
    } else {
      t.StaticTextStopDay = OuiNonText(StateCCDCool.DayDetected);
      t.StaticTextStopHot = OuiNonText(StateCCDCool.TooHotinsideCam);
      t.StaticTextTooWet = OuiNonText(StateCCDCool.TooWetinsideCam);
      std::string changed;
      if (StateCCDCool.DayDetected != previous.DayDetected) {
        changed += "w";
      }
      if (StateCCDCool.TooHotinsideCam != previous.TooHotinsideCam) {
        changed += "o";
      }
      if (StateCCDCool.TooWetinsideCam != previous.TooWetinsideCam) {
        changed += "h";
      }
      if (!changed.empty()) {
        t.StaticTextStartCauseCool = when + " (" + changed + ")";
      }
    }
  }
  PreviousStateCCDCool = StateCCDCool;
  return t;
}

}  // namespace vesk
