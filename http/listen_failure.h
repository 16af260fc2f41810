#pragma once

#include <string>

namespace vesk {

// Why a server cannot listen, as the system said it.
enum class ListenError { InUse, NotAnAddressHere, NeedsPrivileges, Other };

// The reason in the operator's words ("port 11111 on 127.0.0.1 is in use"); other: the
// system's own text, for ListenError::Other.
std::string ListenFailure(const std::string& address, int port, ListenError error,
                          const std::string& other = {});

// Refused before any socket is made: a host name or a port out of range.
std::string NotAListenAddress(const std::string& address, int port);

}  // namespace vesk
