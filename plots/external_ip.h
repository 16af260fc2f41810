#pragma once

#include <string>

namespace vesk {

// The public IP echo page: any page answering a plain GET with a body holding
// "Current IP Address: " + the address + "<" serves. Overridden by "Misc" "IpEchoUrl".
inline constexpr char kDefaultIpEchoUrl[] = VESK_IP_ECHO_URL;

// What the captions show when the page could not be read.
inline constexpr char kNoInternet[] = "<Pas d'internet (2s)>";

// The address in an echo page: from right after the first "Current IP Address: " (from its
// 20th character when the page has none) up to the next "<" or the end of the page.
std::string AddressFromPage(const std::string& page);

// The computer's public address as the echo page shows it, or kNoInternet when the page
// could not be read: no connection within 2 s, an HTTP error, silence for 2 s once connected,
// or no whole answer within 10 s. Never throws. Blocks the caller meanwhile.
std::string GetExternalIP(const std::string& url = kDefaultIpEchoUrl);

}  // namespace vesk
