#include "posting/ftp_log.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

TEST(PostingFtpLog, TimeWithTheTenthOfTheSecond) {
  struct TenthCase {
    int millisecond;
    const char* tenth;
  };
  for (const TenthCase c : {TenthCase{0, ".0"}, {99, ".0"}, {100, ".1"}, {999, ".9"}}) {
    const TDateTime when = EncodeDateTime({2026, 1, 18, 9, 5, 3, c.millisecond});
    EXPECT_EQ(FtpLogLine(when, "Connected"), DateTimeToText(when) + c.tenth + " :  -> Connected");
  }
}

TEST(PostingFtpLog, AppendsLinesAndLosesThemQuietlyWhereItCannotWrite) {
  test::TempFolder folder;
  AppendFtpLog(folder.path(), "one");
  AppendFtpLog(folder.path(), "two");
  EXPECT_EQ(test::ReadFile(folder / "ftp.log"), "one\r\ntwo\r\n");
  EXPECT_NO_THROW(AppendFtpLog(folder / "missing", "lost"));
}

}  // namespace
}  // namespace vesk
