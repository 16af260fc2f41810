#pragma once

#include <stop_token>
#include <string>

#include "plots/ip_page.h"

namespace vesk {

// The public IP echo page: any page answering a plain GET with a body holding
// "Current IP Address: " + the address + "<" serves. Overridden by "Misc" "IpEchoUrl".
inline constexpr char kDefaultIpEchoUrl[] = VESK_IP_ECHO_URL;

// What the captions show when the page could not be read.
inline constexpr char kNoInternet[] = "<Pas d'internet (2s)>";

// The computer's public address as the echo page shows it, or kNoInternet when the page
// could not be read: no connection within 2 s, an HTTP error, silence for 2 s once connected,
// or no whole answer within 10 s, or a stop asked for meanwhile (noticed within a second).
// Never throws. Blocks the caller meanwhile: the window asks on a thread of its own.
std::string GetExternalIP(const std::string& url = kDefaultIpEchoUrl, std::stop_token stop = {});

}  // namespace vesk
