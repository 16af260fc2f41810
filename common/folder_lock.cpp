#include "common/folder_lock.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vesk {
namespace {

// "1234\n…" -> 1234; 0 when the text starts with no number.
long ParseOwner(const char* text, std::size_t size) {
  long pid = 0;
  for (std::size_t i = 0; i < size && text[i] >= '0' && text[i] <= '9' && pid < 100000000; ++i) {
    pid = pid * 10 + (text[i] - '0');
  }
  return pid;
}

// The owner writes its id right after it took the lock: a file found empty is read again for
// a moment before the id counts as unknown.
template <typename ReadText>
long WaitForOwner(ReadText readText) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    char text[32] = {};
    const long pid = ParseOwner(text, readText(text, sizeof text - 1));
    if (pid > 0) {
      return pid;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}

}  // namespace

#ifdef _WIN32

namespace {

// The lock covers one byte far beyond the id, so other processes can still read the id.
constexpr DWORD kLockedOffset = 0x10000;

std::string WindowsError(DWORD code) {
  return "error " + std::to_string(code);
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder) : folder_(folder) {
  const std::filesystem::path file = folder / kFileName;
  HANDLE handle =
      CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error_ = "Cannot open " + file.string() + ": " + WindowsError(GetLastError());
    return;
  }
  OVERLAPPED at{};
  at.Offset = kLockedOffset;
  if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
    handle_ = handle;
    state_ = State::Held;
    const std::string pid = std::to_string(GetCurrentProcessId()) + "\r\n";
    DWORD written = 0;
    SetFilePointer(handle, 0, nullptr, FILE_BEGIN);
    WriteFile(handle, pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr);
    SetEndOfFile(handle);
    return;
  }
  // Only a lock another handle holds means another owner, as EWOULDBLOCK does on POSIX.
  const DWORD error = GetLastError();
  if (error != ERROR_LOCK_VIOLATION) {
    error_ = "Cannot lock " + file.string() + ": " + WindowsError(error);
    CloseHandle(handle);
    return;
  }
  state_ = State::Busy;
  owner_ = WaitForOwner([handle](char* text, std::size_t size) {
    DWORD read = 0;
    OVERLAPPED start{};
    return ReadFile(handle, text, static_cast<DWORD>(size), &read, &start) ? std::size_t{read}
                                                                           : std::size_t{0};
  });
  CloseHandle(handle);
}

FolderLock::~FolderLock() {
  if (handle_ != nullptr) {
    CloseHandle(static_cast<HANDLE>(handle_));
  }
}

#else

FolderLock::FolderLock(const std::filesystem::path& folder) : folder_(folder) {
  const std::filesystem::path file = folder / kFileName;
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    error_ = "Cannot open " + file.string() + ": " + std::strerror(errno);
    return;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
    fd_ = fd;
    state_ = State::Held;
    // Written over the previous id, then cut to length: a reader never finds the file empty.
    const std::string pid = std::to_string(getpid()) + "\n";
    if (pwrite(fd, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size())) {
      [[maybe_unused]] const int cut = ftruncate(fd, static_cast<off_t>(pid.size()));
    }
    return;
  }
  const int error = errno;
  if (error != EWOULDBLOCK) {
    error_ = "Cannot lock " + file.string() + ": " + std::strerror(error);
    ::close(fd);
    return;
  }
  state_ = State::Busy;
  owner_ = WaitForOwner([fd](char* text, std::size_t size) {
    const ssize_t read = pread(fd, text, size, 0);
    return read > 0 ? static_cast<std::size_t>(read) : std::size_t{0};
  });
  ::close(fd);
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) {
    // Releases the lock. The file stays: removed, a process that has just opened it would
    // lock a file no longer in the folder while a third one locks a new one.
    ::close(fd_);
  }
}

#endif

std::string FolderLock::refusal() const {
  switch (state_) {
    case State::Held:
      return {};
    case State::Busy:
      return "Program folder " + folder_.string() + " is in use by " +
             (owner_ > 0 ? "process " + std::to_string(owner_) : std::string("another process")) +
             ": a monitor and vesk-cli serve never share one program folder";
    case State::Unavailable:
      break;
  }
  return error_;
}

}  // namespace vesk
