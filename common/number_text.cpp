#include "common/number_text.h"

#include <locale.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vesk {
namespace {

#ifdef _WIN32
// Windows has no uselocale: this thread gets a locale of its own, set to "C" per call, so
// neither the system's regional settings nor another thread's setlocale bring a comma in.
class ScopedCLocale {
 public:
  ScopedCLocale() {
    if (_configthreadlocale(0) != _ENABLE_PER_THREAD_LOCALE) {
      _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    }
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    previous_ = current != nullptr ? current : "C";
    std::setlocale(LC_NUMERIC, "C");
  }
  ~ScopedCLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
  ScopedCLocale(const ScopedCLocale&) = delete;
  ScopedCLocale& operator=(const ScopedCLocale&) = delete;

 private:
  std::string previous_;
};
#else
// The "C" numeric locale, made once and switched in per call, so neither the system's
// regional settings nor another thread's setlocale can bring a comma in.
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

class ScopedCLocale {
 public:
  ScopedCLocale() : previous_(uselocale(CLocale())) {}
  ~ScopedCLocale() { uselocale(previous_); }
  ScopedCLocale(const ScopedCLocale&) = delete;
  ScopedCLocale& operator=(const ScopedCLocale&) = delete;

 private:
  locale_t previous_;
};
#endif

}  // namespace

std::string TrimBlanks(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string FormatText(const char* format, ...) {
  ScopedCLocale c;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  char small[256];
  const int needed = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string text;
  if (needed < 0) {
    va_end(copy);
    return text;
  }
  if (static_cast<size_t>(needed) < sizeof small) {
    text.assign(small, static_cast<size_t>(needed));
  } else {
    text.resize(static_cast<size_t>(needed) + 1);
    std::vsnprintf(text.data(), text.size(), format, copy);
    text.resize(static_cast<size_t>(needed));
  }
  va_end(copy);
  return text;
}

std::string FloatToText(double value) {
  if (std::isnan(value)) {
    return "NAN";
  }
  if (std::isinf(value)) {
    return value > 0 ? "INF" : "-INF";
  }
  std::string text = FormatText("%.15g", value);
  // printf writes "1e+20" and "1.5e-07"; the system writes "1E20" and "1.5E-7".
  const auto e = text.find('e');
  if (e == std::string::npos) {
    return text;
  }
  std::string mantissa = text.substr(0, e);
  const char sign = text[e + 1];
  std::string digits = text.substr(e + 2);
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
  return mantissa + "E" + (sign == '-' ? "-" : "") + digits;
}

bool TextToFloat(const std::string& text, double& value) {
  const std::string trimmed = TrimBlanks(text);
  if (trimmed.empty()) {
    return false;
  }
  // Only plain decimal numbers: no hexadecimal floats, no "inf" or "nan" words.
  for (const char ch : trimmed) {
    if (std::strchr("0123456789+-.eE", ch) == nullptr) {
      return false;
    }
  }
  ScopedCLocale c;
  char* end = nullptr;
  errno = 0;
  const double parsed = std::strtod(trimmed.c_str(), &end);
  // A number too large for a double is no number, not an infinite one.
  if (end != trimmed.c_str() + trimmed.size() || (errno == ERANGE && std::isinf(parsed))) {
    return false;
  }
  value = parsed;
  return true;
}

bool TextToInt(const std::string& text, long long& value, bool allowHex) {
  const std::string trimmed = TrimBlanks(text);
  if (trimmed.empty()) {
    return false;
  }
  size_t pos = 0;
  bool negative = false;
  if (trimmed[pos] == '+' || trimmed[pos] == '-') {
    negative = trimmed[pos] == '-';
    ++pos;
  }
  int base = 10;
  if (allowHex && trimmed.size() > pos + 2 && trimmed[pos] == '0' &&
      (trimmed[pos + 1] == 'x' || trimmed[pos + 1] == 'X')) {
    base = 16;
    pos += 2;
  } else if (allowHex && pos < trimmed.size() && trimmed[pos] == '$') {
    base = 16;
    pos += 1;
  }
  if (pos >= trimmed.size()) {
    return false;
  }
  const std::string digits = trimmed.substr(pos);
  for (const char ch : digits) {
    const bool ok =
        base == 16 ? std::isxdigit(static_cast<unsigned char>(ch)) != 0 : (ch >= '0' && ch <= '9');
    if (!ok) {
      return false;
    }
  }
  errno = 0;
  char* end = nullptr;
  const unsigned long long magnitude = std::strtoull(digits.c_str(), &end, base);
  if (errno == ERANGE ||
      magnitude > static_cast<unsigned long long>(LLONG_MAX) + (negative ? 1 : 0)) {
    return false;
  }
  value = negative ? static_cast<long long>(0ULL - magnitude) : static_cast<long long>(magnitude);
  return true;
}

}  // namespace vesk
