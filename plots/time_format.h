#pragma once

#include <string>

namespace vesk {

// A date-time label format as the system stores it ("dd/mm hh:mm") in the notation of the
// chart's date-time axis. The system's letters are read without regard to case: "d" day,
// "m" month — but minutes where the letter before it, past separators, is the hour "h"
// ("dd/mm hh:mm": month, then minutes) —, "mmm"/"mmmm" month names, "n" minutes, "h" hour,
// "s" second, "z" millisecond, "y" year, "am/pm"; text in quotes is kept as text. Other letters are
// kept as text too, so the chart does not take them for fields of its own.
std::string QtDateTimeFormat(const std::string& format);

}  // namespace vesk
