#include "common/datetime.h"

#include <cmath>
#include <ctime>

namespace vesk {
namespace {

using namespace std::chrono;

constexpr double kMillisecondsPerDay = 86400000.0;
// 1899-12-30 is 25569 days before 1970-01-01.
constexpr int kUnixEpochDay = 25569;

// Rounded to the millisecond, so 09:05:03.042 does not decode as .041.
long long ToMilliseconds(TDateTime value) {
  return std::llround(value * kMillisecondsPerDay);
}

std::tm ToTm(const DateTimeParts& parts) {
  std::tm tm{};
  tm.tm_year = parts.year - 1900;
  tm.tm_mon = parts.month - 1;
  tm.tm_mday = parts.day;
  tm.tm_hour = parts.hour;
  tm.tm_min = parts.minute;
  tm.tm_sec = parts.second;
  tm.tm_isdst = -1;
  return tm;
}

}  // namespace

TDateTime EncodeDateTime(const DateTimeParts& parts) {
  const auto days = sys_days(year(parts.year) / month(static_cast<unsigned>(parts.month)) /
                             day(static_cast<unsigned>(parts.day)))
                        .time_since_epoch()
                        .count();
  const double fraction =
      ((parts.hour * 60.0 + parts.minute) * 60.0 + parts.second) * 1000.0 + parts.millisecond;
  return static_cast<double>(days + kUnixEpochDay) + fraction / kMillisecondsPerDay;
}

DateTimeParts DecodeDateTime(TDateTime value) {
  const long long total = ToMilliseconds(value);
  long long dayCount = total / 86400000LL;
  long long inDay = total % 86400000LL;
  if (inDay < 0) {
    inDay += 86400000LL;
    --dayCount;
  }
  const year_month_day ymd{sys_days(days(dayCount - kUnixEpochDay))};
  DateTimeParts parts;
  parts.year = static_cast<int>(ymd.year());
  parts.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  parts.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  parts.millisecond = static_cast<int>(inDay % 1000);
  inDay /= 1000;
  parts.second = static_cast<int>(inDay % 60);
  inDay /= 60;
  parts.minute = static_cast<int>(inDay % 60);
  parts.hour = static_cast<int>(inDay / 60);
  return parts;
}

TDateTime FromTimePoint(system_clock::time_point point) {
  const auto ms = duration_cast<milliseconds>(point.time_since_epoch()).count();
  std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  long long millis = ms % 1000;
  if (millis < 0) {
    millis += 1000;
    --seconds;
  }
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  DateTimeParts parts{local.tm_year + 1900,    local.tm_mon + 1, local.tm_mday,
                      local.tm_hour,           local.tm_min,     local.tm_sec,
                      static_cast<int>(millis)};
  return EncodeDateTime(parts);
}

system_clock::time_point ToTimePoint(TDateTime value) {
  const DateTimeParts parts = DecodeDateTime(value);
  std::tm local = ToTm(parts);
  const std::time_t seconds = std::mktime(&local);
  return system_clock::from_time_t(seconds) + milliseconds(parts.millisecond);
}

TDateTime Now() {
  return FromTimePoint(system_clock::now());
}

std::string DateTimeToText(TDateTime value) {
  const DateTimeParts parts = DecodeDateTime(value);
  std::tm tm = ToTm(parts);
  // The week day, for locales whose date text names it; no mktime, which would move
  // times that fall in a daylight saving gap.
  const sys_days date = year(parts.year) / month(static_cast<unsigned>(parts.month)) /
                        day(static_cast<unsigned>(parts.day));
  tm.tm_wday = static_cast<int>(weekday(date).c_encoding());
  char text[128];
  const size_t length = std::strftime(text, sizeof text, "%x %X", &tm);
  return std::string(text, length);
}

}  // namespace vesk
