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

// The posting interval (seconds) kept when the settings file's is refused: "intervall"'s
// default, 5 minutes.
inline constexpr std::uint32_t kDefaultPostingInterval = 300;

// The posting interval from the minutes of "FTP" "intervall" at start: their seconds, or,
// for minutes the interval cannot hold (a negative number), kDefaultPostingInterval and the
// refusal's message, so that the rest of the start goes on.
struct TStartPostingInterval {
  std::uint32_t PostingInterval = kDefaultPostingInterval;
  std::string refusal;  // empty when accepted
};
TStartPostingInterval StartPostingInterval(int minutes);

}  // namespace vesk
