#include "link/frame.h"

#include <gtest/gtest.h>

#include "common/exceptions.h"
#include "link/order_codes.h"

namespace vesk {
namespace {

TEST(Frame, VersionOrderIsFourBytes) {
  EXPECT_EQ(BuildRequestFrame({REQ_ORDER_VERSION}), (TArrayByte{0x1D, 0x02, 0x9C, 0xBB}));
}

TEST(Frame, ReplyFrameMatchesTheBoardsExample) {
  EXPECT_EQ(BuildReplyFrame({0x03, 0x05, 0x17, 0x00}),
            (TArrayByte{0x1F, 0x05, 0x03, 0x05, 0x17, 0x00, 0x43}));
  EXPECT_EQ(BuildReplyFrame({}), (TArrayByte{0x1F, 0x01, 0x20}));
}

TEST(Frame, OrderLengthLimits) {
  const TArrayByte longest(254, 0x9E);
  const TArrayByte frame = BuildRequestFrame(longest);
  EXPECT_EQ(frame.size(), 257u);
  EXPECT_EQ(frame[1], 255);
  EXPECT_THROW(BuildRequestFrame(TArrayByte(255, 0x9E)), ERangeCheck);
  EXPECT_THROW(BuildRequestFrame({}), ERangeCheck);
}

TEST(Frame, ChecksumWrapsModulo256) {
  const std::uint8_t bytes[] = {0xFF, 0xFF, 0x03};
  EXPECT_EQ(ComputeChecksum(bytes, 3), 0x01);
  EXPECT_EQ(ComputeChecksum(bytes, 0), 0x00);
}

TEST(Frame, OrderTexts) {
  const struct {
    std::uint8_t code;
    const char* text;
  } cases[] = {
      {0x9C, "ordre : REQ_ORDER_VERSION !"},
      {0x9D, "ordre : REQ_GET_VOLTAGE !"},
      {0x9E, "ordre : REQ_SET_CONFIG"},
      {0x9F, "ordre : REQ_GET_CONFIG"},
      {0xA0, "ordre : REQ_ENABLE_HEATER"},
      {0xA1, "ordre : SET_MANUAL_COOLER_ORDER"},
      {0xA2, "ordre : SET_AUTO_COOLER_ORDER"},
      {0xA3, "ordre : GET_INFOS_EF_CANON"},
      {0xA4, "ordre : SET_CANON_DIAPH"},
      {0xA5, "ordre : SET_CANON_FOCUS"},
      {0xA6, "ordre : REQ_GET_DATAEXT"},
      {0xA7, "unknown order !!"},
      {0xA8, "unknown order !!"},
      {0x1C, "unknown order !!"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeLastOrder(c.code), c.text);
  }
}

}  // namespace
}  // namespace vesk
