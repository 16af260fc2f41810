#include "common/folder_lock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using ::testing::HasSubstr;

// A child process that takes the folder's lock, says so through a pipe and waits to be
// killed: a crashed owner.
class LockingChild {
 public:
  explicit LockingChild(const std::filesystem::path& folder) {
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      const FolderLock lock(folder);
      const char held = lock.held() ? 'y' : 'n';
      [[maybe_unused]] const auto written = write(ready[1], &held, 1);
      pause();
      _exit(0);
    }
    close(ready[1]);
    char held = 0;
    EXPECT_EQ(read(ready[0], &held, 1), 1);
    close(ready[0]);
    held_ = held == 'y';
  }
  ~LockingChild() { kill(); }

  pid_t pid() const { return pid_; }
  bool held() const { return held_; }
  void kill() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
  }

 private:
  pid_t pid_ = -1;
  bool held_ = false;
};

TEST(FolderLock, OneOwnerAtATimeAndTheOwnerIsNamed) {
  test::TempFolder folder;
  {
    const FolderLock first(folder.path());
    ASSERT_TRUE(first.held());
    EXPECT_EQ(first.refusal(), "");
    EXPECT_EQ(test::ReadFile(folder / FolderLock::kFileName), std::to_string(getpid()) + "\n");

    // A second lock in the same process is refused as well: the lock belongs to the open file.
    const FolderLock second(folder.path());
    EXPECT_EQ(second.state(), FolderLock::State::Busy);
    EXPECT_EQ(second.owner(), getpid());
    EXPECT_EQ(second.refusal(),
              "Program folder " + folder.path().string() + " is in use by process " +
                  std::to_string(getpid()) +
                  ": a monitor and vesk-cli serve never share one program folder");
  }
  const FolderLock again(folder.path());
  EXPECT_TRUE(again.held()) << "released when its owner goes";
}

TEST(FolderLock, ACrashedOwnerLeavesNoLockBehind) {
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
  EXPECT_EQ(test::ReadFile(folder / FolderLock::kFileName), std::to_string(getpid()) + "\n")
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
