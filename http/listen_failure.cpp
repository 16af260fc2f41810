#include "http/listen_failure.h"

namespace vesk {

std::string ListenFailure(const std::string& address, int port, ListenError error,
                          const std::string& other) {
  const std::string where = "port " + std::to_string(port) + " on " + address;
  switch (error) {
    case ListenError::InUse:
      return where + " is in use";
    case ListenError::NotAnAddressHere:
      return address + " is not an address of this machine";
    case ListenError::NeedsPrivileges:
      return where + " needs more privileges";
    case ListenError::Other:
      break;
  }
  return where + ": " + other;
}

std::string NotAListenAddress(const std::string& address, int port) {
  return "\"" + address + "\" with port " + std::to_string(port) +
         " is no IP address and port to listen on";
}

}  // namespace vesk
