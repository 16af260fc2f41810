#pragma once

#include <optional>
#include <string>

#include "common/exceptions.h"
#include "settings/settings_file.h"

namespace vesk {

// A bound the value axis refuses.
class EAxisBounds : public Exception {
 public:
  using Exception::Exception;
};

// A value axis as the system's chart component keeps it: bounds, fixed or automatic. Like that
// component it refuses a minimum above its current maximum and a maximum below its current
// minimum, so the order in which two bounds are set matters. The window copies the chart's
// range in, applies, and copies the result back.
struct TValueAxisScale {
  double Minimum = 0;
  double Maximum = 0;
  bool Automatic = true;

  void SetMinimum(double value);
  void SetMaximum(double value);
  // Both at once: refused when they leave the axis no span.
  void SetMinMax(double min, double max);
};

// What the two bound edits go back to after a refused pair, with the message to show.
struct TForcedScaleRefusal {
  std::string message;
  std::string minText;
  std::string maxText;
};

// Step 3 and 4 of ButtonApplyYTempClick and ButtonApplyRHYscaleClick, once the bounds are
// stored: a minimum not below the maximum is refused with the message and the edits' texts;
// otherwise the axis gets them, the temperature minimum first, the humidity maximum first, and
// is fixed. A bound the axis refuses raises EAxisBounds and leaves it unchanged.
std::optional<TForcedScaleRefusal> ApplyForcedScale(TValueAxis axis, double min, double max,
                                                    TValueAxisScale& scale);

// Start: the axis set to its start range (0 … 50 °C, 0 … 100 %), then, when the box is
// checked, fixed to the stored bounds. Answers whether the box stays checked: bounds the axis
// refuses uncheck it and leave the axis automatic.
bool ApplyStartScale(TValueAxis axis, const TYScaleSetting& stored, TValueAxisScale& scale);

}  // namespace vesk
