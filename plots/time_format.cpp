#include "plots/time_format.h"

#include <cctype>

namespace vesk {
namespace {

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string Lower(std::string text) {
  for (char& c : text) {
    c = Lower(c);
  }
  return text;
}

bool IsLetter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// Text the chart shows as it is: quoted, a quote itself doubled.
std::string Literal(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c == '\'' ? std::string("''") : std::string(1, c);
  }
  return quoted + "'";
}

// One run of the same field letter, in the chart's notation.
std::string Field(char letter, std::size_t count, char previousField) {
  switch (letter) {
    case 'd':
      return std::string(count > 4 ? 4 : count, 'd');
    case 'y':
      return count > 2 ? "yyyy" : "yy";
    case 's':
    case 'h':  // 0–23: no am/pm field is ever written
      return std::string(count > 1 ? 2 : 1, letter);
    case 'n':
      return std::string(count > 1 ? 2 : 1, 'm');
    case 'z':
      return count > 1 ? "zzz" : "z";
    case 'm':
      if (count <= 2 && previousField == 'h') {
        return std::string(count, 'm');
      }
      return std::string(count, 'M');
    default:
      return {};
  }
}

}  // namespace

std::string QtDateTimeFormat(const std::string& format) {
  std::string out;
  std::string text;  // literal text waiting to be quoted
  char previousField = 0;
  const auto flushText = [&] {
    bool plain = true;
    for (const char c : text) {
      plain = plain && !IsLetter(c) && c != '\'';
    }
    out += plain ? text : Literal(text);
    text.clear();
  };
  for (std::size_t i = 0; i < format.size();) {
    const char c = format[i];
    if (c == '"' || c == '\'') {
      const std::size_t close = format.find(c, i + 1);
      const std::size_t end = close == std::string::npos ? format.size() : close;
      text += format.substr(i + 1, end - i - 1);
      i = close == std::string::npos ? end : end + 1;
      continue;
    }
    if (Lower(format.substr(i, 5)) == "am/pm") {
      flushText();
      out += c == 'A' ? "AP" : "ap";  // and the hour counts to 12
      i += 5;
      continue;
    }
    const char letter = Lower(c);
    std::size_t count = 1;
    while (i + count < format.size() && Lower(format[i + count]) == letter) {
      ++count;
    }
    const std::string field = IsLetter(c) ? Field(letter, count, previousField) : std::string();
    if (field.empty()) {
      text += format.substr(i, count);
    } else {
      flushText();
      out += field;
      previousField = letter;
    }
    i += count;
  }
  flushText();
  return out;
}

}  // namespace vesk
