#include "web/web_json.h"

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
      {"firmware", s.firmware},
      {"polls", s.polls},
      {"failedPolls", s.failedPolls},
      {"counters", std::to_string(s.polls) + " / failed=" + std::to_string(s.failedPolls)},
      {"readings", ReadingsJson(s.readings)},
      {"hasTempHot", s.hasTempHot},
      {"hasRHInt", s.hasRHInt},
      {"hasPressureAndWind", s.hasPressureAndWind},
      {"hasCooling", s.hasCooling},
      {"hasLens", s.hasLens},
      {"heaterOn", s.heaterOn},
      {"autoHeat", s.autoHeat},
      {"powerLevel", s.powerLevel},
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

nlohmann::json SeriesJson(const TPlotSeries& plot, const TSeriesFlags& flags) {
  nlohmann::json series = nlohmann::json::object();
  for (const TSeriesId id : kAllSeries) {
    if (!SeriesShown(id, flags)) {
      continue;
    }
    const TSeriesPoints& points = plot[id];
    nlohmann::json x = nlohmann::json::array();
    nlohmann::json y = nlohmann::json::array();
    for (std::size_t i = 0; i < points.x.size(); ++i) {
      x.push_back(ChartSeconds(points.x[i]));
      y.push_back(NumberOrNull(points.y[i]));
    }
    series[SeriesName(id)] = {{"x", std::move(x)}, {"y", std::move(y)}};
  }
  return series;
}

}  // namespace vesk
