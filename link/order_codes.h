#pragma once

#include <cstdint>
#include <string>

namespace vesk {

// The order codes of the board, first byte of every order.
enum : std::uint8_t {
  REQ_BOOTLOADER = 0x1C,
  REQ_ORDER_VERSION = 0x9C,
  REQ_GET_VOLTAGE = 0x9D,
  REQ_SET_CONFIG = 0x9E,
  REQ_GET_CONFIG = 0x9F,
  REQ_ENABLE_HEATER = 0xA0,
  SET_MANUAL_COOLER_ORDER = 0xA1,
  SET_AUTO_COOLER_ORDER = 0xA2,
  GET_INFOS_EF_CANON = 0xA3,
  SET_CANON_DIAPH = 0xA4,
  SET_CANON_FOCUS = 0xA5,
  REQ_GET_DATAEXT = 0xA6,
  GET_NAME_EF_CANON = 0xA7,
  REQ_SET_TYPE_SERIAL = 0xA8,
  REQ_GET_SERIAL = 0xA9,
};

// The order text appended to every error message of an exchange.
std::string DecodeLastOrder(std::uint8_t LastOrder);

}  // namespace vesk
