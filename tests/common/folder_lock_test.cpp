#include "common/folder_lock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <thread>

#include "tests/support/temp_folder.h"
#include "tests/support/test_child.h"

namespace vesk {
namespace {

using test::ThisProcessId;
using ::testing::HasSubstr;

// The owner's id as the lock file holds it, with the system's line end.
std::string OwnerText(long pid) {
#ifdef _WIN32
  return std::to_string(pid) + "\r\n";
#else
  return std::to_string(pid) + "\n";
#endif
}

// A child process (the test run again) that takes the folder's lock, says whether it holds it
// and waits to be killed: a crashed owner.
class LockingChild {
 public:
  explicit LockingChild(const std::filesystem::path& folder) : child_(folder.string()) {
    const bool said = test::WaitFor([this] { return answer().has_value(); });
    EXPECT_TRUE(said) << child_.output();
    held_ = said && *answer();
  }

  // In the child: never returns.
  [[noreturn]] static void Run(const std::string& folder) {
    const FolderLock lock(folder);
    std::cout << (lock.held() ? kHeld : kRefused) << std::endl;
    for (;;) {
      std::this_thread::sleep_for(std::chrono::hours(1));
    }
  }

  long pid() const { return child_.pid(); }
  bool held() const { return held_; }
  void kill() {
    child_.kill();
    child_.exitCode();
  }

 private:
  static constexpr const char* kHeld = "lock held";
  static constexpr const char* kRefused = "lock refused";

  std::optional<bool> answer() const {
    const std::string output = child_.output();
    if (output.find(kHeld) != std::string::npos) {
      return true;
    }
    if (output.find(kRefused) != std::string::npos) {
      return false;
    }
    return std::nullopt;
  }

  test::TestChild child_;
  bool held_ = false;
};

TEST(FolderLock, OneOwnerAtATimeAndTheOwnerIsNamed) {
  test::TempFolder folder;
  {
    const FolderLock first(folder.path());
    ASSERT_TRUE(first.held());
    EXPECT_EQ(first.refusal(), "");
    EXPECT_EQ(test::ReadFile(folder / FolderLock::kFileName), OwnerText(ThisProcessId()));

    // A second lock in the same process is refused as well: the lock belongs to the open file.
    const FolderLock second(folder.path());
    EXPECT_EQ(second.state(), FolderLock::State::Busy);
    EXPECT_EQ(second.owner(), ThisProcessId());
    EXPECT_EQ(second.refusal(),
              "Program folder " + folder.path().string() + " is in use by process " +
                  std::to_string(ThisProcessId()) +
                  ": a monitor and vesk-cli serve never share one program folder");
  }
  const FolderLock again(folder.path());
  EXPECT_TRUE(again.held()) << "released when its owner goes";
}

TEST(FolderLock, ACrashedOwnerLeavesNoLockBehind) {
  if (const std::optional<std::string> role = test::ChildRole()) {
    LockingChild::Run(*role);
  }
  test::TempFolder folder;
  LockingChild child(folder.path());
  ASSERT_TRUE(child.held());
  {
    const FolderLock refused(folder.path());
    EXPECT_EQ(refused.state(), FolderLock::State::Busy);
    EXPECT_EQ(refused.owner(), child.pid());
  }
  child.kill();
  const FolderLock taken(folder.path());
  EXPECT_TRUE(taken.held());
  EXPECT_EQ(test::ReadFile(folder / FolderLock::kFileName), OwnerText(ThisProcessId()))
      << "a longer id of the crashed owner leaves no digits behind";
}

TEST(FolderLock, AFolderWithoutRoomForTheLockFileIsNamedAsSuch) {
  test::TempFolder folder;
  const FolderLock missing(folder / "no such folder");
  EXPECT_EQ(missing.state(), FolderLock::State::Unavailable);
  EXPECT_THAT(missing.refusal(), HasSubstr("Cannot open " + (folder / "no such folder").string()));
}

}  // namespace
}  // namespace vesk
