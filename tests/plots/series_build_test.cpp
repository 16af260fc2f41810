#include "plots/series_build.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plots/dew_point.h"

namespace vesk {
namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr TDateTime kNow = 46040.5;  // 2026-01-18 12:00

// n records ending at kNow, step seconds apart, each field distinct per record.
TTinfosRec Records(std::size_t n, double step = 10) {
  TTinfosRec history(n);
  for (std::size_t i = 0; i < n; ++i) {
    TinfosRec& r = history[i];
    const double k = static_cast<double>(i);
    r.Date = kNow - static_cast<double>(n - 1 - i) * step * kSecond;
    r.TempExt = 5 + 0.01 * k;
    r.RHExt = 60 + 0.001 * k;
    r.TempInt = 12 + 0.01 * k;
    r.RHInt = 30 + 0.001 * k;
    r.TempHot = 8 + 0.01 * k;
    r.Pressure = 1013;
    r.Windir = std::fmod(k, 360);
    r.WindSpeed = std::fmod(k, 40);
    r.ActiveHeater = i % 3 == 0 ? 1 : 0;
  }
  return history;
}

TPlotWindow DayWindow() {
  return {kNow - 1.0, kNow + 0.2, 0, 800};
}

constexpr TSeriesFlags kEveryModel{true, true, true, false};

TPlotSeries Built(const TTinfosRec& history, const TPlotWindow& window, const TSeriesFlags& flags) {
  TPlotSeries plot;
  plot[TSeriesId::SeriesTemp].x = {1, 2};  // what the last rebuild left
  plot.statusText = "old";
  BuildSeries(history, window, flags, plot);
  return plot;
}

TEST(SeriesBuild, EachShownSeriesHoldsTheRecordsInTimeOrder) {
  const TTinfosRec history = Records(10);
  const TPlotSeries plot = Built(history, DayWindow(), kEveryModel);
  for (const TSeriesId id : kAllSeries) {
    ASSERT_EQ(plot[id].x.size(), 10u) << static_cast<int>(id);
    ASSERT_EQ(plot[id].y.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
      EXPECT_EQ(plot[id].x[i], history[i].Date);
    }
  }
  EXPECT_EQ(plot[TSeriesId::SeriesTemp].y[3], history[3].TempExt);
  EXPECT_EQ(plot[TSeriesId::SeriesTP2].y[3], history[3].TempInt);
  EXPECT_EQ(plot[TSeriesId::SeriesRH].y[3], history[3].RHExt);
  EXPECT_EQ(plot[TSeriesId::SeriesRHint].y[3], history[3].RHInt);
  EXPECT_EQ(plot[TSeriesId::SeriesTempHot].y[3], history[3].TempHot);
  EXPECT_EQ(plot[TSeriesId::SeriesWindspeed].y[3], history[3].WindSpeed);
  EXPECT_EQ(plot[TSeriesId::SeriesWindDir].y[3], history[3].Windir);
  EXPECT_EQ(plot[TSeriesId::SeriesPR].y[3], DewPoint(history[3].TempExt, history[3].RHExt));
  EXPECT_EQ(plot.statusText, " Data pts=10");
}

TEST(SeriesBuild, ModelFlagsChooseTheSeries) {
  struct Case {
    TSeriesFlags flags;
    bool rhInt, tempHot, weather;
  };
  const TTinfosRec history = Records(10);  // every record holds every value
  for (const Case& c : {Case{{false, false, false, false}, false, false, false},
                        Case{{true, false, false, false}, true, false, false},
                        Case{{false, true, false, false}, false, true, false},
                        Case{{false, false, true, false}, false, false, true}}) {
    const TPlotSeries plot = Built(history, DayWindow(), c.flags);
    EXPECT_EQ(plot[TSeriesId::SeriesRHint].x.empty(), !c.rhInt);
    EXPECT_EQ(plot[TSeriesId::SeriesTempHot].x.empty(), !c.tempHot);
    for (const TSeriesId id :
         {TSeriesId::SeriesPressure, TSeriesId::SeriesWindspeed, TSeriesId::SeriesWindDir}) {
      EXPECT_EQ(plot[id].x.empty(), !c.weather);
    }
    for (const TSeriesId id : {TSeriesId::SeriesTemp, TSeriesId::SeriesTP2, TSeriesId::SeriesRH,
                               TSeriesId::SeriesPR, TSeriesId::SeriesOn_Off_Heater}) {
      EXPECT_EQ(plot[id].x.size(), 10u);
    }
  }
}

TEST(SeriesBuild, OnlyTheNewest3000RecordsAreDrawn) {
  const TTinfosRec history = Records(5000, 0.72);  // the last hour
  const TPlotSeries plot = Built(history, DayWindow(), kEveryModel);
  const TSeriesPoints& temp = plot[TSeriesId::SeriesTemp];
  ASSERT_EQ(temp.x.size(), 3000u);
  EXPECT_EQ(temp.x.front(), history[2000].Date);
  EXPECT_EQ(temp.x.back(), history.back().Date);
  EXPECT_EQ(plot.statusText, " Data pts=5000");
}

TEST(SeriesBuild, TheScanStopsAtTheFirstRecordOlderThanADayBeforeTheWindow) {
  TTinfosRec history = Records(100);
  const TPlotWindow window = DayWindow();
  history[40].Date = window.timeMin - 1.5;  // older than the cut-off, newer ones around it
  history[20].Date = window.timeMin - 2.0;
  history[60].Date = std::numeric_limits<double>::quiet_NaN();  // never stops the scan
  const TPlotSeries plot = Built(history, window, kEveryModel);
  const TSeriesPoints& rh = plot[TSeriesId::SeriesRH];
  ASSERT_EQ(rh.x.size(), 59u) << "records 40 to 99 without the undated one";
  EXPECT_EQ(rh.x.front(), history[40].Date);
  EXPECT_EQ(rh.y.front(), history[40].RHExt);
  EXPECT_EQ(rh.x[1], history[41].Date);
}

TEST(SeriesBuild, PointsFollowTimeWhenTheClockWentBack) {
  TTinfosRec history = Records(6);
  history[3].Date = history[1].Date - kSecond;  // the clock set back by twenty seconds
  const TPlotSeries plot = Built(history, DayWindow(), kEveryModel);
  const TSeriesPoints& temp = plot[TSeriesId::SeriesTemp];
  ASSERT_TRUE(std::is_sorted(temp.x.begin(), temp.x.end()));
  EXPECT_EQ(temp.x[1], history[3].Date);
  EXPECT_EQ(temp.y[1], history[3].TempExt);
  EXPECT_EQ(plot[TSeriesId::SeriesPR].y[1], DewPoint(history[3].TempExt, history[3].RHExt));
}

TEST(SeriesBuild, PressureIsTheMeanOfElevenRecords) {
  TTinfosRec history = Records(30);
  const TPlotSeries steady = Built(history, DayWindow(), kEveryModel);
  for (const double p : steady[TSeriesId::SeriesPressure].y) {
    EXPECT_EQ(p, 1013.0);
  }
  history[0].Pressure = 1013.3;  // not exact in binary, yet a steady value stays itself
  for (std::size_t i = 1; i < history.size(); ++i) {
    history[i].Pressure = i < 5 ? 1013.3 : 1000.0 + static_cast<double>(i);
  }
  const TSeriesPoints pressure =
      Built(history, DayWindow(), kEveryModel)[TSeriesId::SeriesPressure];
  EXPECT_EQ(pressure.y[0], 1013.3);
  EXPECT_EQ(pressure.y[4], 1013.3) << "record 0 stands for the positions before it";
  EXPECT_NEAR(pressure.y[5], (10 * 1013.3 + 1005) / 11, 1e-9);
  EXPECT_NEAR(pressure.y[20], 1015.0, 1e-9) << "records 10 to 20";
}

TEST(SeriesBuild, DewPointFollowsTheHumiditySeries) {
  EXPECT_EQ(DewPoint(20, 100), 20);
  EXPECT_EQ(DewPoint(20, -5), 0);
  EXPECT_DOUBLE_EQ(DewPoint(20, 0), 0.1 * 20 - 112);
  EXPECT_NEAR(DewPoint(20, 50), 9.2105, 1e-4);  // 0.5^0.125 × 130 + 2 − 112

  TTinfosRec history = Records(50);
  history[7].RHExt = -5;  // a broken sensor: dew point 0, the point is still there
  const TPlotSeries plot = Built(history, DayWindow(), kEveryModel);
  EXPECT_EQ(plot[TSeriesId::SeriesPR].x, plot[TSeriesId::SeriesRH].x);
  EXPECT_EQ(plot[TSeriesId::SeriesPR].y[7], 0);
}

TEST(SeriesBuild, HeaterTraceStandsOnTheValueAxisMinimum) {
  const TTinfosRec history = Records(6);
  for (const double baseline : {0.0, -20.0}) {
    TPlotWindow window = DayWindow();
    window.valueMin = baseline;
    const TSeriesPoints heater =
        Built(history, window, kEveryModel)[TSeriesId::SeriesOn_Off_Heater];
    EXPECT_EQ(heater.y, (std::vector<double>{baseline + 10, baseline, baseline, baseline + 10,
                                             baseline, baseline}));
  }
}

TEST(SeriesBuild, StatusTextCountsTheWholeHistory) {
  const TPlotSeries empty = Built({}, DayWindow(), kEveryModel);
  EXPECT_FALSE(empty.statusText.has_value()) << "the panel keeps its text";
  for (const TSeriesId id : kAllSeries) {
    EXPECT_TRUE(empty[id].x.empty());
  }
  EXPECT_EQ(Built(Records(40000, 1), DayWindow(), kEveryModel).statusText, " Data pts=40000");
  EXPECT_EQ(Built(Records(40001, 1), DayWindow(), kEveryModel).statusText,
            " Data pts=40001 display limited to 40000 points");
}

}  // namespace
}  // namespace vesk
