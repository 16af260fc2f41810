#include "plots/cursor_readout.h"

#include "common/number_text.h"

namespace vesk {

std::string CursorReadout(TTimeChart chart, TDateTime d, double v) {
  // In TTimeChart order; each begins with twelve blanks.
  static constexpr const char* kFormats[kTimeChartCount] = {
      "            %2.2f °C", "            %2.2f %%RH", "            %1.1f hPa",
      "            %1.1f °", "            %1.2f km/h"};
  return " " + DateTimeToText(d) + FormatText(kFormats[static_cast<std::size_t>(chart)], v);
}

}  // namespace vesk
