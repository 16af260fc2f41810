#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

namespace vesk::test {

// This test program run again, in a child process, for the current test alone: a test that
// must see what a process ended part way through its work (killed, not returning) leaves on
// the disk. The child runs the same test with a role, a text the test reads back with
// ChildRole() to know what to do instead of checking; its output is kept for the parent.
// The same on Linux and Windows, where no fork exists.
class TestChild {
 public:
  explicit TestChild(const std::string& role);
  ~TestChild();  // kills the child if it still runs
  TestChild(const TestChild&) = delete;
  TestChild& operator=(const TestChild&) = delete;

  // The child's process id, as the child's own GetCurrentProcessId() or getpid() tells it.
  long pid() const { return pid_; }

  // Ends the child at once, as a kill does (no clean-up of its own).
  void kill();

  // Waits for the child to end: its exit code, or nothing when it was killed (by kill() or
  // by KillThisProcess()).
  std::optional<int> exitCode();

  // What the child printed, on its standard output and error.
  std::string output() const;

 private:
  TempFolder outputFolder_;
  long pid_ = -1;
#ifdef _WIN32
  void* process_ = nullptr;  // a HANDLE, until the child has ended
#else
  bool running_ = false;
#endif
};

// The role the parent gave, in the child; nothing in the parent.
std::optional<std::string> ChildRole();

// This process's id (getpid(), GetCurrentProcessId()).
long ThisProcessId();

// Ends this process at once, as a kill from outside would: no destructor, no buffer flushed.
[[noreturn]] void KillThisProcess();

// Polls condition until it holds, for at most 30 s (false then): a child's progress shows
// only on the disk.
bool WaitFor(const std::function<bool()>& condition);

}  // namespace vesk::test
