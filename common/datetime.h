#pragma once

#include <chrono>
#include <string>

namespace vesk {

// Date-time values are days since 1899-12-30 with the time of day as the fraction,
// in local time, as the history file and the charts store them.
using TDateTime = double;

struct DateTimeParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

TDateTime EncodeDateTime(const DateTimeParts& parts);
DateTimeParts DecodeDateTime(TDateTime value);

// The local date and time now, to the millisecond.
TDateTime Now();

TDateTime FromTimePoint(std::chrono::system_clock::time_point point);
std::chrono::system_clock::time_point ToTimePoint(TDateTime value);

// The system's short date, a blank and its long time ("%x %X" of the current locale).
std::string DateTimeToText(TDateTime value);

}  // namespace vesk
