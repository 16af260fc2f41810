#pragma once

#include "common/exceptions.h"

namespace vesk {

// The numeric edit field's messages, shown as they are in the field's message box.
inline constexpr char kInvalidInput[] = "Invalid input !";
inline constexpr char kFigureTooLarge[] = "Figure too large compared to :";
inline constexpr char kFigureTooSmall[] = "Figure too small compared to  :";  // two blanks
inline constexpr char kNotAnInteger[] = " is not a integer figure !";
// A decimal field that does not convert goes on to the evaluator, which gives its own message.
inline constexpr char kNotAFloat[] = " is not a floating figure !";

// The expression cannot be evaluated.
class EFormuleError : public Exception {
 public:
  EFormuleError() : Exception(kInvalidInput) {}
};

// The value lies outside the field's range; not the "Range check error" of narrowing.
class ERangeError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace vesk
