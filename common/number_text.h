#pragma once

#include <string>

namespace vesk {

// The text without its leading and trailing blanks and tabs, as number texts are read.
std::string TrimBlanks(const std::string& text);

// printf-style text, always with the point as decimal separator whatever the locale.
#ifdef __MINGW_PRINTF_FORMAT
// mingw-w64 formats as the C standard says (%zu, %lld, two-digit exponents), not as msvcrt.
#define VESK_PRINTF_FORMAT __MINGW_PRINTF_FORMAT
#else
#define VESK_PRINTF_FORMAT printf
#endif
std::string FormatText(const char* format, ...) __attribute__((format(VESK_PRINTF_FORMAT, 1, 2)));

// General format with up to 15 significant digits: 50 -> "50", 0.1515 -> "0.1515",
// 1e20 -> "1E20", 1.5e-7 -> "1.5E-7"; infinities and undefined values read "INF", "-INF", "NAN".
std::string FloatToText(double value);

// Parses a plain decimal number with the point (exponent allowed, surrounding blanks
// allowed). Returns false for anything else, including an empty text.
bool TextToFloat(const std::string& text, double& value);

// Parses a whole decimal number (an optional sign, digits; "0x" hexadecimal too when
// allowHex). Returns false when the text is not one or does not fit.
bool TextToInt(const std::string& text, long long& value, bool allowHex = false);

}  // namespace vesk
