#include "device/bootloader_order.h"

#include <gtest/gtest.h>

#include "common/exceptions.h"
#include "tests/support/board_line.h"

namespace vesk {
namespace {

TEST(BootloaderOrder, OneFrameAndNoReplyAwaited) {
  test::BoardLine board;
  SetBootloaderMode(board.link);
  ASSERT_TRUE(board.peer->waitForRequests(1));
  EXPECT_EQ(board.peer->requests().front(), (TArrayByte{0x1D, 0x02, 0x1C, 0x3B}));

  // The port closed under the order: the frame cannot be written.
  board.link.CloseCom();
  EXPECT_THROW(SetBootloaderMode(board.link), Exception);
}

}  // namespace
}  // namespace vesk
