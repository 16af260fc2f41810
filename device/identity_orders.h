#pragma once

#include <cstdint>
#include <string>

namespace vesk {

class TComObjRs232;

// The serial number typed by the operator: a text that is not a whole number raises
// "'%s' is not a valid integer value", a negative one "Range check error".
std::uint32_t SerialNumberOfText(const std::string& text);

// Boards are numbered 127001 to 134999; any other number is not written.
bool IsAcceptedSerialNumber(std::uint32_t serial);

// What came of writing the model type and serial number.
enum class IdentityAnswer {
  SerialRefused,  // outside 127001 to 134999: nothing sent
  ModelRefused,   // a type code the model list does not hold (0, no model chosen): nothing sent
  Reconnect,      // 0x7E: the board took them; disconnect and connect anew to read them back
  Ignored,        // any other answer, left without consequence
};

// 0xA8: the type code, then "00" and the six digits of the serial number. A link failure
// raises the link's error, an empty answer "Range check error".
IdentityAnswer SetTypeAndSerial(TComObjRs232& link, std::uint8_t type, std::uint32_t serial);

// The board's six-digit serial number, or "xxxxxx" when it cannot be read; never raises.
std::string ReadSerialNumber(TComObjRs232& link);

}  // namespace vesk
