#include "common/convert_error.h"

#include "common/number_text.h"

namespace vesk {

long long IntegerOfText(const std::string& text) {
  long long value = 0;
  if (!TextToInt(text, value)) {
    throw EConvertError("'" + text + "' is not a valid integer value");
  }
  return value;
}

double FloatOfText(const std::string& text) {
  double value = 0;
  if (!TextToFloat(text, value)) {
    throw EConvertError("'" + text + "' is not a valid floating point value");
  }
  return value;
}

}  // namespace vesk
