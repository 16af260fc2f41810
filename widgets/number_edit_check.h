#pragma once

#include <string>

namespace vesk {

// The kind of number a numeric edit field holds.
enum class TTypeValue { Int, Float };

// What leaving a numeric edit field does with its text.
struct TNumberEditCheck {
  // true: the field shows `text` (the normalised value, or the empty text unchanged).
  // false: the text stays as typed, `message` goes into a message box and the focus goes
  // back into the field.
  bool accepted = true;
  std::string text;
  std::string message;
};

// The focus-leave check of the numeric edit field: evaluates the text, tests it against the
// kind and, when maxValue differs from minValue, against the range, and gives the
// normalised text or the message to show.
TNumberEditCheck CheckNumberEditText(const std::string& text, TTypeValue kind, double minValue,
                                     double maxValue);

}  // namespace vesk
