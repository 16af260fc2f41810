#include "plots/time_window.h"

namespace vesk {

TTimeRange TimeWindowRange(TDateTime now, double MinX, double MaxX) {
  return {now - MinX, now + MaxX};
}

TTimeRange ZoomedOut(TTimeRange range) {
  const double half = (range.max - range.min) / 2;
  return {range.min - half, range.max + half};
}

void TTimeWindow::ReadSettings(const TSettingsFile& settings) {
  MinX = settings.ReadMinX();
  MaxX = settings.ReadMaxX();
  for (std::size_t chart = 0; chart < kTimeChartCount; ++chart) {
    formats[chart] = settings.ReadTimeFormat(static_cast<TTimeChart>(chart));
  }
}

void TTimeWindow::Press(const TWindowButton& button) {
  MinX = button.MinX;
  MaxX = button.MaxX;
  SetAllFormats(button.format);
}

}  // namespace vesk
