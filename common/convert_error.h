#pragma once

#include <string>

#include "common/exceptions.h"

namespace vesk {

// A field's text that is not the number it should hold.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// The number in an operator's field, with the point as decimal separator. A text that is not
// one raises EConvertError: "'%s' is not a valid integer value" or "'%s' is not a valid
// floating point value" with the text in the place of the "%s".
long long IntegerOfText(const std::string& text);
double FloatOfText(const std::string& text);

}  // namespace vesk
