#include "history/copy_file_blocks.h"

#include <gtest/gtest.h>

#include "tests/history/history_bytes.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

TEST(CopyFileBlocks, CopiesByteForByteAcrossBlockBoundaries) {
  test::TempFolder folder;
  for (const std::size_t size : {0u, 1u, 65499u, 65500u, 65501u, 3u * 65500u + 7u}) {
    test::Bytes bytes;
    for (std::size_t i = 0; i < size; ++i) {
      bytes.u8(static_cast<std::uint8_t>(i * 7 + i / 65500));
    }
    bytes.writeTo(folder / "source");
    // A longer target is truncated, not overwritten in part.
    test::Bytes().fill(size + 100, 0xFF).writeTo(folder / "target");
    EXPECT_EQ(CopyFileBlocks(folder / "source", folder / "target"), 0) << size;
    EXPECT_EQ(test::ReadFile(folder / "target"), bytes.str()) << size;
  }
}

TEST(CopyFileBlocks, FailureReturnsOneAndMissingSourceLeavesTheTarget) {
  test::TempFolder folder;
  test::Bytes().fill(10, 0x42).writeTo(folder / "target");
  EXPECT_EQ(CopyFileBlocks(folder / "missing", folder / "target"), 1);
  EXPECT_EQ(test::ReadFile(folder / "target"), std::string(10, '\x42'));

  EXPECT_EQ(CopyFileBlocks(folder / "target", folder / "no-folder" / "copy"), 1);
}

}  // namespace
}  // namespace vesk
