#pragma once

#include <string>

namespace vesk {

// The address in an echo page: from right after the first "Current IP Address: " (from its
// 20th character when the page has none) up to the next "<" or the end of the page.
std::string AddressFromPage(const std::string& page);

}  // namespace vesk
