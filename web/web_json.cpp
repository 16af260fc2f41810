#include "web/web_json.h"

#include <charconv>
#include <cmath>

#include "plots/series_values.h"

namespace vesk {
namespace {

constexpr double kUnixEpochDay = 25569.0;  // 1970-01-01 as a day count from 1899-12-30

nlohmann::json NumberOrNull(double value) {
  return std::isfinite(value) ? nlohmann::json(value) : nlohmann::json(nullptr);
}

nlohmann::json ReadingsJson(const ReadingsTexts& r) {
  return {{"LabelTemp", r.LabelTemp},
          {"LabelRH", r.LabelRH},
          {"LabelPR", r.LabelPR},
          {"LabeltempInsideCamera", r.LabeltempInsideCamera},
          {"LabelTempHOT", r.LabelTempHOT},
          {"LabelTempHotSide", r.LabelTempHotSide},
          {"LabelRH_int", r.LabelRH_int},
          {"LabelRH_Inside", r.LabelRH_Inside},
          {"LabelPressure", r.LabelPressure},
          {"LabelWind", r.LabelWind}};
}

// The captions of the window's readings panel, by what they name.
nlohmann::json CaptionsJson() {
  nlohmann::json captions = {{"ShapeHeating", kHeatingLampCaption},
                             {"ShapeAutoHeat", kAutoHeatLampCaption}};
  for (const ReadingCaption& caption : kReadingCaptions) {
    captions[caption.label] = caption.caption;
  }
  return captions;
}

}  // namespace

const char* SeriesName(TSeriesId id) {
  switch (id) {
    case TSeriesId::SeriesOn_Off_Heater:
      return "SeriesOn_Off_Heater";
    case TSeriesId::SeriesTP2:
      return "SeriesTP2";
    case TSeriesId::SeriesPR:
      return "SeriesPR";
    case TSeriesId::SeriesTemp:
      return "SeriesTemp";
    case TSeriesId::SeriesRH:
      return "SeriesRH";
    case TSeriesId::SeriesRHint:
      return "SeriesRHint";
    case TSeriesId::SeriesTempHot:
      return "SeriesTempHot";
    case TSeriesId::SeriesPressure:
      return "SeriesPressure";
    case TSeriesId::SeriesWindspeed:
      return "SeriesWindspeed";
    case TSeriesId::SeriesWindDir:
      return "SeriesWindDir";
  }
  return "";
}

double ChartSeconds(TDateTime value) {
  // To the millisecond, as the window's charts show the time.
  return std::round((value - kUnixEpochDay) * 86400000.0) / 1000.0;
}

std::string JsonText(const nlohmann::json& value) {
  return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

nlohmann::json LiveJson(const WebLiveState& s) {
  nlohmann::json json = {
      {"connected", s.connected},
      {"reconnecting", s.reconnecting},
      {"polled", s.polled},
      {"model", s.model},
      {"serialNumber", s.serialNumber},
      // Status panel 0 as the window writes it.
      {"modelText", s.serialNumber.empty() ? s.model : s.model + "   [" + s.serialNumber + "]"},
      {"firmware", s.firmware},
      {"polls", s.polls},
      {"failedPolls", s.failedPolls},
      {"counters", std::to_string(s.polls) + " / failed=" + std::to_string(s.failedPolls)},
      {"readings", ReadingsJson(s.readings)},
      {"captions", CaptionsJson()},
      {"hasTempHot", s.hasTempHot},
      {"hasRHInt", s.hasRHInt},
      {"hasPressureAndWind", s.hasPressureAndWind},
      {"hasCooling", s.hasCooling},
      {"hasLens", s.hasLens},
      {"heaterOn", s.heaterOn},
      {"autoHeat", s.autoHeat},
      {"powerLevel", s.powerLevel},
      {"heatingHint", HeatingHint(s.heaterOn, s.powerLevel)},
      {"thresholdTemp", s.thresholdTemp ? nlohmann::json(*s.thresholdTemp) : nullptr},
      {"thresholdRH", s.thresholdRH ? nlohmann::json(*s.thresholdRH) : nullptr},
      {"coolingMode", s.coolingMode},
      {"coolingState", s.coolingState},
      {"fanOn", s.fanOn},
      {"lens", s.lens},
      {"integrations", s.integrations},
  };
  if (s.record) {
    nlohmann::json point = {{"x", ChartSeconds(s.record->Date)}};
    for (const TSeriesId id : kAllSeries) {
      point[SeriesName(id)] = NumberOrNull(s.recordValues[static_cast<std::size_t>(id)]);
    }
    json["point"] = std::move(point);
  }
  return json;
}

namespace {

// To the thousandth, through whole numbers (printf-style formatting of doubles is many
// times slower): "7.5", "-0.25", "1796971677.67", "12".
void AppendNumber(std::string& text, double value) {
  const double thousandths = std::round(value * 1000.0);
  if (!std::isfinite(thousandths) || std::abs(thousandths) > 9e15) {
    text += "null";
    return;
  }
  auto n = static_cast<long long>(thousandths);
  if (n < 0) {
    text += '-';
    n = -n;
  }
  char digits[24];
  text.append(digits, std::to_chars(digits, digits + sizeof digits, n / 1000).ptr);
  long long fraction = n % 1000;
  if (fraction != 0) {
    char decimals[4] = {'.', static_cast<char>('0' + fraction / 100),
                        static_cast<char>('0' + fraction / 10 % 10),
                        static_cast<char>('0' + fraction % 10)};
    std::size_t length = 4;
    while (decimals[length - 1] == '0') {
      --length;
    }
    text.append(decimals, length);
  }
}

void AppendArray(std::string& text, const std::vector<double>& values, double scale,
                 double offset) {
  text += '[';
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) {
      text += ',';
    }
    AppendNumber(text, (values[i] - offset) * scale);
  }
  text += ']';
}

}  // namespace

std::string SeriesJsonText(const TPlotSeries& plot, const TSeriesFlags& flags) {
  std::string text = "{";
  for (const TSeriesId id : kAllSeries) {
    if (!SeriesShown(id, flags)) {
      continue;
    }
    const TSeriesPoints& points = plot[id];
    if (text.size() > 1) {
      text += ',';
    }
    text += '"';
    text += SeriesName(id);
    text += "\":{\"x\":";
    AppendArray(text, points.x, 86400.0, kUnixEpochDay);
    text += ",\"y\":";
    AppendArray(text, points.y, 1.0, 0.0);
    text += '}';
  }
  text += '}';
  return text;
}

}  // namespace vesk
