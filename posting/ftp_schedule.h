#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace vesk {

// The schedule timer (TimerFTP): its interval follows the posting interval; it runs only with
// "Scheduled" on, and never with a zero interval.
struct TFtpSchedule {
  bool enabled = false;
  std::chrono::milliseconds interval{0};
};
TFtpSchedule FtpSchedule(bool scheduled, std::uint32_t minutes);

// The interval field's text as minutes (NumberEditFTPUpdateExit): a negative number raises
// "Range check error", any other text that is not a whole number "'<text>' is not a valid
// integer value". So does a number of minutes whose seconds do not fit the posting interval.
std::uint32_t PostingIntervalMinutes(const std::string& text);

}  // namespace vesk
