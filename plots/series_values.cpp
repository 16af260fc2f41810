#include "plots/series_values.h"

#include "plots/dew_point.h"

namespace vesk {

bool SeriesShown(TSeriesId id, const TSeriesFlags& flags) {
  switch (id) {
    case TSeriesId::SeriesRHint:
      return flags.displayRHInt;
    case TSeriesId::SeriesTempHot:
      return flags.displayTempHot;
    case TSeriesId::SeriesPressure:
    case TSeriesId::SeriesWindspeed:
    case TSeriesId::SeriesWindDir:
      return flags.weatherModule;
    default:
      return true;
  }
}

double SmoothedPressure(const TTinfosRec& history, std::size_t i) {
  constexpr std::size_t kSpan = 11;
  // Summed as differences from the record's own value, so a steady pressure comes out
  // exactly as it was read.
  const double own = history[i].Pressure;
  double sum = 0;
  for (std::size_t k = 0; k < kSpan; ++k) {
    sum += history[i >= k ? i - k : 0].Pressure - own;
  }
  return own + sum / kSpan;
}

double SeriesValue(const TTinfosRec& history, std::size_t i, TSeriesId id) {
  const TinfosRec& rec = history[i];
  switch (id) {
    case TSeriesId::SeriesOn_Off_Heater:
      return rec.ActiveHeater != 0 ? 10.0 : 0.0;
    case TSeriesId::SeriesTP2:
      return rec.TempInt;
    case TSeriesId::SeriesPR:
      return DewPoint(rec.TempExt, rec.RHExt);
    case TSeriesId::SeriesTemp:
      return rec.TempExt;
    case TSeriesId::SeriesRH:
      return rec.RHExt;
    case TSeriesId::SeriesRHint:
      return rec.RHInt;
    case TSeriesId::SeriesTempHot:
      return rec.TempHot;
    case TSeriesId::SeriesPressure:
      return SmoothedPressure(history, i);
    case TSeriesId::SeriesWindspeed:
      return rec.WindSpeed;
    case TSeriesId::SeriesWindDir:
      return rec.Windir;
  }
  return 0;
}

void RecordValues(const TTinfosRec& history, std::size_t i, TRecordValues& values) {
  const TinfosRec& rec = history[i];
  const auto set = [&](TSeriesId id, double value) {
    values[static_cast<std::size_t>(id)] = value;
  };
  set(TSeriesId::SeriesOn_Off_Heater, rec.ActiveHeater != 0 ? 10.0 : 0.0);
  set(TSeriesId::SeriesTP2, rec.TempInt);
  set(TSeriesId::SeriesPR, DewPoint(rec.TempExt, rec.RHExt));
  set(TSeriesId::SeriesTemp, rec.TempExt);
  set(TSeriesId::SeriesRH, rec.RHExt);
  set(TSeriesId::SeriesRHint, rec.RHInt);
  set(TSeriesId::SeriesTempHot, rec.TempHot);
  set(TSeriesId::SeriesPressure, SmoothedPressure(history, i));
  set(TSeriesId::SeriesWindspeed, rec.WindSpeed);
  set(TSeriesId::SeriesWindDir, rec.Windir);
}

}  // namespace vesk
