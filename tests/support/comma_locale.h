#pragma once

#include <clocale>

namespace vesk::test {

// Switches the program to a German locale, whose decimal separator is the comma, by its
// Linux or its Windows name; false when the system has neither.
inline bool SetCommaLocale() {
  for (const char* name : {"de_DE.UTF-8", "German_Germany.1252"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      return true;
    }
  }
  return false;
}

}  // namespace vesk::test
