#include "common/durable_replace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/exceptions.h"
#include "tests/support/temp_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vesk {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

// The names in the folder: a temporary left behind shows as one more.
int EntriesIn(const std::filesystem::path& folder) {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
    ++count;
  }
  return count;
}

TEST(DurableReplace, RenameTakesThePlaceOfAnExistingFile) {
  TempFolder folder;
  WriteFile(folder / "new", "new content");
  WriteFile(folder / "file", "old content");
  EXPECT_FALSE(RenameOverDurably(folder / "new", folder / "file"));
  EXPECT_EQ(ReadFile(folder / "file"), "new content");
  EXPECT_FALSE(std::filesystem::exists(folder / "new"));
}

TEST(DurableReplace, FailedRenameReportsTheSystemsErrorAndChangesNothing) {
  TempFolder folder;
  WriteFile(folder / "file", "old content");
  const std::error_code error = RenameOverDurably(folder / "missing", folder / "file");
  EXPECT_TRUE(error);
#ifndef _WIN32
  EXPECT_EQ(error, std::errc::no_such_file_or_directory) << error.message();
#endif
  EXPECT_EQ(ReadFile(folder / "file"), "old content");
}

TEST(DurableReplace, ContentReplacedWholeLeavingNoTemporary) {
  TempFolder folder;
  const auto file = folder / "VeskLevel.ini";
  ReplaceFileContent(file, "first", false);
  EXPECT_EQ(ReadFile(file), "first");
  ReplaceFileContent(file, std::string(100000, 'x'), false);
  EXPECT_EQ(ReadFile(file), std::string(100000, 'x'));
  EXPECT_EQ(EntriesIn(folder.path()), 1);
}

#ifndef _WIN32
// Permissions and symbolic links as POSIX has them.
TEST(DurableReplace, ReadOnlyFileIsRefusedAndKept) {
  TempFolder folder;
  const auto file = folder / "VeskLevel.ini";
  WriteFile(file, "kept");
  ::chmod(file.c_str(), 0444);
  if (::access(file.c_str(), W_OK) == 0) {
    GTEST_SKIP() << "running as a user who writes read-only files";
  }
  EXPECT_THROW(ReplaceFileContent(file, "replaced", false), EInOutError);
  EXPECT_EQ(ReadFile(file), "kept");
  EXPECT_EQ(EntriesIn(folder.path()), 1) << "the temporary was left behind";
}

TEST(DurableReplace, LinkedFileIsReplacedAndTheLinkKept) {
  TempFolder folder;
  const auto target = folder / "real.ini";
  const auto link = folder / "VeskLevel.ini";
  WriteFile(target, "old");
  std::filesystem::create_symlink(target, link);
  ReplaceFileContent(link, "new", false);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadFile(target), "new");
}
#endif

}  // namespace
}  // namespace vesk
