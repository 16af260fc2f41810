#include "posting/ftp_schedule.h"

#include <utility>

#include "common/checked.h"
#include "common/exceptions.h"
#include "common/number_text.h"

namespace vesk {

TFtpSchedule FtpSchedule(bool scheduled, std::uint32_t minutes) {
  return {scheduled && minutes > 0, std::chrono::minutes(minutes)};
}

std::uint32_t PostingIntervalMinutes(const std::string& text) {
  long long n = 0;
  if (!TextToInt(text, n, true) || !std::in_range<std::int32_t>(n)) {
    throw Exception("'" + text + "' is not a valid integer value");
  }
  // The posting interval holds the seconds.
  ToCardinal(n * 60);
  return static_cast<std::uint32_t>(n);
}

TStartPostingInterval StartPostingInterval(int minutes) {
  try {
    return {ToCardinal(static_cast<long long>(minutes) * 60), {}};
  } catch (const ERangeCheck& e) {
    return {kDefaultPostingInterval,
            "FTP interval of " + std::to_string(minutes) + " minutes refused -> " + e.message() +
                ", " + std::to_string(kDefaultPostingInterval / 60) + " minutes kept"};
  }
}

}  // namespace vesk
