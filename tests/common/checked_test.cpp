#include "common/checked.h"

#include <gtest/gtest.h>

#include "common/reply_reader.h"

namespace vesk {
namespace {

TEST(Checked, NarrowingRefusesToTruncate) {
  EXPECT_EQ(ToByte(255), 255);
  EXPECT_EQ(ToWord(65535), 65535);
  EXPECT_THROW(ToByte(256), ERangeCheck);
  EXPECT_THROW(ToByte(-1), ERangeCheck);
  EXPECT_THROW(ToWord(65536), ERangeCheck);
  EXPECT_THROW(ToCardinal(-1), ERangeCheck);
  try {
    ToByte(300);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), "Range check error");
  }
}

TEST(ReplyReader, ReadsBigEndianAndRefusesPastTheEnd) {
  const TArrayByte payload{0x03, 0x05, 0x17};
  const ReplyReader reply(payload);
  EXPECT_EQ(reply.byte(2), 0x17);
  EXPECT_EQ(reply.word(0), 0x0305);
  EXPECT_THROW(reply.byte(3), ERangeCheck);
  EXPECT_THROW(reply.word(2), ERangeCheck);
}

}  // namespace
}  // namespace vesk
