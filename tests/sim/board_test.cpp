#include "sim/board.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "link/frame.h"
#include "link/order_codes.h"
#include "tests/sim/board_fixture.h"

namespace vesk::sim {
namespace {

using test::BoardFixture;

std::string Hex(const TArrayByte& bytes) {
  std::string text;
  for (const auto b : bytes) {
    char two[4];
    std::snprintf(two, sizeof two, "%02X ", b);
    text += two;
  }
  if (!text.empty()) {
    text.pop_back();
  }
  return text;
}

TArrayByte Frame(const TArrayByte& order) {
  return BuildRequestFrame(order);
}

struct OrderCase {
  const char* what;
  TArrayByte request;  // a whole frame
  const char* reply;   // the whole reply frame, "" for none
};

// The default board (model 34, firmware 3.5, serial 127512, lens present) at 02:00, seed 1,
// each order sent to a fresh board.
const OrderCase kOrders[] = {
    {"version", Frame({REQ_ORDER_VERSION}), "1F 05 03 05 22 00 4E"},
    // 4.2 °C and 88 % outside, heater on (above 85 %), 13.8 °C inside, 77 % inside, hot side
    // 15.3 °C, night, fan off, automatic cooling stopped as too wet.
    {"readings", Frame({REQ_GET_VOLTAGE}),
     "1F 16 06 F1 2D 59 08 2A 01 01 32 00 00 00 00 29 07 08 5B 00 00 00 21 CC"},
    {"set config", Frame({REQ_SET_CONFIG, 0x09, 0x9A, 0x2A, 0x42, 0x00, 0x28}), "1F 02 CA EB"},
    {"get config: 2 °C, 85 %, automatic, 50 %", Frame({REQ_GET_CONFIG}),
     "1F 07 06 A8 2C 4B 01 32 7E"},
    {"forced heating answers the automatic flag", Frame({REQ_ENABLE_HEATER, 1}), "1F 02 01 22"},
    {"manual cooling", Frame({SET_MANUAL_COOLER_ORDER, 1}), "1F 02 01 22"},
    {"automatic cooling off", Frame({SET_AUTO_COOLER_ORDER, 0}), "1F 02 00 21"},
    {"lens data", Frame({GET_INFOS_EF_CANON}),
     "1F 14 AA 4C 22 00 0F 00 0F 00 00 00 00 20 58 00 0F 00 14 03 E8 EF"},
    {"iris closed by 16 steps", Frame({SET_CANON_DIAPH, 0x77, 0x10}), "1F 03 06 10 38"},
    {"focus moved by 100", Frame({SET_CANON_FOCUS, 0x14, 0x00, 0x64}), "1F 04 06 00 64 8D"},
    // Station 954.3 hPa (1017 at sea level), 88 %, 4.2 °C, 1.3 km/h from 257°, module 5.7 °C,
    // the thresholds, 2.499 V reference, status OK.
    {"weather module", Frame({REQ_GET_DATAEXT}),
     "1F 14 55 E8 DD 70 5A 40 34 40 C0 D0 02 DF 06 A8 2C 4B 9C 30 00 2D"},
    {"lens name", Frame({GET_NAME_EF_CANON}),
     "1F 15 45 46 31 35 6D 6D 20 66 2F 32 2E 38 20 46 69 73 68 65 79 65 39"},
    {"model type and serial", Frame({0xA8, 0x20, '0', '0', '1', '2', '7', '5', '1', '3'}),
     "1F 02 7E 9F"},
    {"serial number", Frame({REQ_GET_SERIAL}), "1F 09 30 30 31 32 37 35 31 32 BA"},
    {"bootloader: no reply", Frame({REQ_BOOTLOADER}), ""},
    {"unknown order", Frame({0x55}), "1F 02 FF 20"},
    {"request with a bad checksum", {0x1D, 0x02, 0x9C, 0xBC}, ""},
    {"request with a bad start byte", {0x1E, 0x02, 0x9C, 0xBC}, ""},
    {"request whose length does not match", {0x1D, 0x03, 0x9C, 0xBC}, ""},
};

TEST(SimBoard, AnswersEveryOrder) {
  for (const OrderCase& c : kOrders) {
    BoardFixture f;
    EXPECT_EQ(Hex(f.board.answer(c.request)), c.reply) << c.what;
  }
}

}  // namespace
}  // namespace vesk::sim
