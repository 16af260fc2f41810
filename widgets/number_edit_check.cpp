#include "widgets/number_edit_check.h"

#include <cmath>

#include "common/number_text.h"
#include "widgets/evaluate.h"
#include "widgets/number_edit_errors.h"

namespace vesk {
namespace {

constexpr double kTwoTo63 = 9223372036854775808.0;

// x rounded to the nearest whole number, halves to the even neighbour; false when x is
// infinite, undefined or beyond 64 bits.
bool Round(double x, long long& n) {
  if (!std::isfinite(x) || std::fabs(x) >= kTwoTo63) {
    return false;
  }
  n = static_cast<long long>(std::nearbyint(x));
  return true;
}

std::string WholeText(double value) {
  long long n = 0;
  return Round(value, n) ? std::to_string(n) : FloatToText(value);
}

void CheckRange(double value, TTypeValue kind, double minValue, double maxValue) {
  if (maxValue == minValue) {
    return;
  }
  const auto bound = [kind](double limit) {
    return kind == TTypeValue::Int ? WholeText(limit) : FloatToText(limit);
  };
  // An undefined value passes: no comparison with it holds.
  if (value > maxValue) {
    throw ERangeError(kFigureTooLarge + bound(maxValue));
  }
  if (value < minValue) {
    throw ERangeError(kFigureTooSmall + bound(minValue));
  }
}

}  // namespace

TNumberEditCheck CheckNumberEditText(const std::string& text, TTypeValue kind, double minValue,
                                     double maxValue) {
  if (text.empty()) {
    return {true, text, {}};
  }
  try {
    if (kind == TTypeValue::Int) {
      long long n = 0;
      const double x = Evaluate(text);
      // An infinite or undefined result cannot be rounded: it is no whole number either.
      if (!Round(x, n) || static_cast<double>(n) != x) {
        return {false, text, text + kNotAnInteger};
      }
      CheckRange(static_cast<double>(n), kind, minValue, maxValue);
      return {true, std::to_string(n), {}};
    }
    double x = 0;
    if (!TextToFloat(text, x)) {
      x = Evaluate(text);
    }
    CheckRange(x, kind, minValue, maxValue);
    return {true, FloatToText(x), {}};
  } catch (const EFormuleError& error) {
    return {false, text, error.message()};
  } catch (const ERangeError& error) {
    return {false, text, error.message()};
  }
}

}  // namespace vesk
