#include "sim/request_framer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vesk::sim {
namespace {

using ::testing::ElementsAre;

const TArrayByte kVersion{0x1D, 0x02, 0x9C, 0xBB};
const TArrayByte kHeater{0x1D, 0x03, 0xA0, 0x01, 0xC1};

std::vector<TArrayByte> Feed(RequestFramer& framer, const TArrayByte& bytes) {
  return framer.feed(bytes.data(), bytes.size());
}

TEST(SimRequestFramer, CutsFramesHoweverTheBytesArrive) {
  RequestFramer framer;
  EXPECT_THAT(Feed(framer, {0x1D, 0x02, 0x9C, 0xBB, 0x1D, 0x03, 0xA0, 0x01, 0xC1}),
              ElementsAre(kVersion, kHeater));

  std::vector<TArrayByte> frames;
  for (const std::uint8_t b : kHeater) {
    EXPECT_TRUE(frames.empty());
    frames = Feed(framer, {b});
  }
  EXPECT_THAT(frames, ElementsAre(kHeater));
  EXPECT_FALSE(framer.pending());
}

TEST(SimRequestFramer, DropsBytesBeforeAStartByteAndForgetsAStalledFrame) {
  RequestFramer framer;
  EXPECT_THAT(Feed(framer, {0x00, 0xFF, 0x1D, 0x02, 0x9C, 0xBB}), ElementsAre(kVersion));
  EXPECT_TRUE(Feed(framer, {0x1D, 0x05, 0x9C}).empty());
  EXPECT_TRUE(framer.pending());
  framer.reset();
  EXPECT_THAT(Feed(framer, kVersion), ElementsAre(kVersion));
  // A length byte of 0 ends the frame at once; the board refuses it.
  EXPECT_THAT(Feed(framer, {0x1D, 0x00}), ElementsAre(TArrayByte{0x1D, 0x00}));
}

}  // namespace
}  // namespace vesk::sim
