#pragma once

#include <string>

namespace vesk {

class TComObjRs232;

// The board's six-digit serial number, or "xxxxxx" when it cannot be read; never raises.
std::string ReadSerialNumber(TComObjRs232& link);

}  // namespace vesk
