#include "plots/value_axis.h"

#include "common/number_text.h"

namespace vesk {
namespace {

struct AxisTexts {
  const char* message;
  const char* minText;
  const char* maxText;
  double startMin;
  double startMax;
};

// The humidity edits go back to the defaults of their keys, as the temperature ones do.
const AxisTexts& TextsOf(TValueAxis axis) {
  static const AxisTexts temp{"Y scale error : Minimum >= Maximum", "0", "50", 0, 50};
  static const AxisTexts rh{"Y Scale error : Minimum >= Maximum", "0", "100", 0, 100};
  return axis == TValueAxis::Temp ? temp : rh;
}

}  // namespace

void TValueAxisScale::SetMinimum(double value) {
  if (value > Maximum) {
    throw EAxisBounds("The axis minimum " + FloatToText(value) + " is above its current maximum " +
                      FloatToText(Maximum));
  }
  Minimum = value;
}

void TValueAxisScale::SetMaximum(double value) {
  if (value < Minimum) {
    throw EAxisBounds("The axis maximum " + FloatToText(value) + " is below its current minimum " +
                      FloatToText(Minimum));
  }
  Maximum = value;
}

void TValueAxisScale::SetMinMax(double min, double max) {
  if (!(min < max)) {
    throw EAxisBounds("The axis minimum " + FloatToText(min) + " is not below its maximum " +
                      FloatToText(max));
  }
  Minimum = min;
  Maximum = max;
}

std::optional<TForcedScaleRefusal> ApplyForcedScale(TValueAxis axis, double min, double max,
                                                    TValueAxisScale& scale) {
  if (!(max > min)) {
    const AxisTexts& texts = TextsOf(axis);
    return TForcedScaleRefusal{texts.message, texts.minText, texts.maxText};
  }
  if (axis == TValueAxis::Temp) {
    scale.SetMinimum(min);
    scale.SetMaximum(max);
  } else {
    scale.SetMaximum(max);
    scale.SetMinimum(min);
  }
  scale.Automatic = false;
  return std::nullopt;
}

bool ApplyStartScale(TValueAxis axis, const TYScaleSetting& stored, TValueAxisScale& scale) {
  scale.Minimum = TextsOf(axis).startMin;
  scale.Maximum = TextsOf(axis).startMax;
  scale.Automatic = true;
  if (!stored.fixed) {
    return false;
  }
  try {
    scale.SetMinMax(stored.min, stored.max);
  } catch (const EAxisBounds&) {
    return false;
  }
  scale.Automatic = false;
  return true;
}

}  // namespace vesk
