#include "device/identity_orders.h"

#include <gtest/gtest.h>

#include "link/order_codes.h"
#include "tests/support/board_line.h"

namespace vesk {
namespace {

TEST(IdentityOrders, SerialNumber) {
  const struct {
    TArrayByte reply;
    const char* serial;
  } cases[] = {
      {{'0', '0', '1', '2', '7', '5', '1', '2'}, "127512"},
      {{'0', '0', '1', '2'}, "xxxxxx"},
      {{'0', '0', '1', '2', '7', '5', '1', '2', '9'}, "xxxxxx"},
  };
  test::BoardLine board;
  for (const auto& c : cases) {
    board.answer(REQ_GET_SERIAL, c.reply);
    EXPECT_EQ(ReadSerialNumber(board.link), c.serial);
  }
  board.answerRaw(REQ_GET_SERIAL, {0x1F, 0x01, 0x21});  // bad checksum
  EXPECT_EQ(ReadSerialNumber(board.link), "xxxxxx");
}

}  // namespace
}  // namespace vesk
