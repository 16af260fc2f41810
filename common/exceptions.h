#pragma once

#include <stdexcept>
#include <string>

namespace vesk {

// The common exception base: every failure of the system is one of these, carrying the
// message that the error box or the log shows.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string message() const { return what(); }
};

// Storing an out-of-range value into a byte or an unsigned field.
class ERangeCheck : public Exception {
 public:
  ERangeCheck() : Exception("Range check error") {}
};

// A file of the program's folder could not be opened, written or closed.
class EInOutError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace vesk
