#include "tests/support/test_child.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef NOMINMAX
#ifndef NOMINMAX  // a unity batch may have defined it already
#define NOMINMAX
#endif
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <vector>

#ifndef _WIN32
extern char** environ;
#endif

namespace vesk::test {
namespace {

constexpr const char* kRoleVariable = "VESK_TEST_CHILD_ROLE";

// The filter that runs the current test alone.
std::string CurrentTestFilter() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  if (test == nullptr) {
    throw std::logic_error("TestChild outside a test");
  }
  return std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
}

#ifdef _WIN32
// The exit code of a process ended by TerminateProcess here, as shells report a SIGKILL.
constexpr UINT kKilledCode = 137;

std::wstring Wide(const std::string& text) {
  return std::filesystem::path(text).wstring();
}
#endif

}  // namespace

#ifdef _WIN32

TestChild::TestChild(const std::string& role) {
  std::vector<wchar_t> program(32768);
  if (GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size())) == 0) {
    throw std::runtime_error("no program name");
  }
  std::wstring commandLine =
      L"\"" + std::wstring(program.data()) + L"\" \"" + Wide(CurrentTestFilter()) + L"\"";

  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  const HANDLE output = CreateFileW((outputFolder_ / "output.txt").c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE) {
    throw std::runtime_error("no output file for the child");
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION process{};
  // The child inherits the environment, the role with it.
  SetEnvironmentVariableW(Wide(kRoleVariable).c_str(), Wide(role).c_str());
  const BOOL started = CreateProcessW(program.data(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process);
  SetEnvironmentVariableW(Wide(kRoleVariable).c_str(), nullptr);
  CloseHandle(output);
  if (!started) {
    throw std::runtime_error("cannot start the child");
  }
  CloseHandle(process.hThread);
  process_ = process.hProcess;
  pid_ = static_cast<long>(process.dwProcessId);
}

TestChild::~TestChild() {
  if (process_ != nullptr) {
    kill();
    exitCode();
  }
}

void TestChild::kill() {
  if (process_ != nullptr) {
    TerminateProcess(process_, kKilledCode);
  }
}

std::optional<int> TestChild::exitCode() {
  WaitForSingleObject(process_, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  CloseHandle(process_);
  process_ = nullptr;
  if (code == kKilledCode) {
    return std::nullopt;
  }
  return static_cast<int>(code);
}

long ThisProcessId() {
  return static_cast<long>(GetCurrentProcessId());
}

void KillThisProcess() {
  TerminateProcess(GetCurrentProcess(), kKilledCode);
  std::abort();
}

#else

TestChild::TestChild(const std::string& role) {
  std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
  std::string filter = CurrentTestFilter();
  char* argv[] = {program.data(), filter.data(), nullptr};

  std::string roleEntry = std::string(kRoleVariable) + "=" + role;
  std::vector<char*> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (!std::string_view(*entry).starts_with(std::string(kRoleVariable) + "=")) {
      environment.push_back(*entry);
    }
  }
  environment.push_back(roleEntry.data());
  environment.push_back(nullptr);

  const std::string output = (outputFolder_ / "output.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  pid_t pid = -1;
  const int failed =
      posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environment.data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    throw std::runtime_error("cannot start the child");
  }
  pid_ = pid;
  running_ = true;
}

TestChild::~TestChild() {
  if (running_) {
    kill();
    exitCode();
  }
}

void TestChild::kill() {
  if (running_) {
    ::kill(static_cast<pid_t>(pid_), SIGKILL);
  }
}

std::optional<int> TestChild::exitCode() {
  int status = 0;
  waitpid(static_cast<pid_t>(pid_), &status, 0);
  running_ = false;
  if (WIFSIGNALED(status)) {
    if (WTERMSIG(status) == SIGKILL) {
      return std::nullopt;
    }
    return 128 + WTERMSIG(status);
  }
  return WEXITSTATUS(status);
}

long ThisProcessId() {
  return static_cast<long>(getpid());
}

void KillThisProcess() {
  ::kill(getpid(), SIGKILL);
  std::abort();
}

#endif

std::string TestChild::output() const {
  return ReadFile(outputFolder_ / "output.txt");
}

bool WaitFor(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

std::optional<std::string> ChildRole() {
  const char* role = std::getenv(kRoleVariable);
  if (role == nullptr) {
    return std::nullopt;
  }
  return std::string(role);
}

}  // namespace vesk::test
