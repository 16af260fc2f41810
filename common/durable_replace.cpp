#include "common/durable_replace.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "common/exceptions.h"

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
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace vesk {
namespace {

[[noreturn]] void FailWrite(const std::filesystem::path& file) {
  throw EInOutError("Unable to write to " + file.string());
}

std::filesystem::path Target(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_symlink(file, error)) {
    return file;
  }
  auto target = std::filesystem::weakly_canonical(file, error);
  if (error) {
    FailWrite(file);
  }
  return target;
}

long OwnProcess() {
#ifdef _WIN32
  return static_cast<long>(GetCurrentProcessId());
#else
  return static_cast<long>(getpid());
#endif
}

// A process that cannot be told gone is taken as running.
bool ProcessRuns(long pid) {
#ifdef _WIN32
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) {
    return GetLastError() != ERROR_INVALID_PARAMETER;
  }
  DWORD code = 0;
  const bool runs = !GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
  CloseHandle(process);
  return runs;
#else
  return kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
#endif
}

bool AllDigits(std::string_view text) {
  return !text.empty() && text.size() <= 18 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The writer of a temporary of the file's one-step replacement, named "." + the file's name +
// "." + the writer's process id + "." + a count + ".tmp"; none for any other name.
std::optional<long> WriterOf(std::string_view name, const std::string& fileName) {
  const std::string prefix = "." + fileName + ".";
  constexpr std::string_view suffix = ".tmp";
  if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
      !name.ends_with(suffix)) {
    return std::nullopt;
  }
  const std::string_view middle =
      name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  const std::size_t dot = middle.find('.');
  if (dot == std::string_view::npos || !AllDigits(middle.substr(0, dot)) ||
      !AllDigits(middle.substr(dot + 1))) {
    return std::nullopt;
  }
  return std::stol(std::string(middle.substr(0, dot)));
}

std::filesystem::path TemporaryName(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  return target.parent_path() /
         ("." + target.filename().string() + "." + std::to_string(OwnProcess()) + "." +
          std::to_string(counter++) + ".tmp");
}

}  // namespace

#ifdef _WIN32

std::error_code RenameOverDurably(const std::filesystem::path& from,
                                  const std::filesystem::path& to) {
  // Write-through: the call returns once the new name is on the disk, folder included.
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {static_cast<int>(GetLastError()), std::system_category()};
  }
  return {};
}

void ReplaceFileContent(const std::filesystem::path& file, const std::string& content,
                        bool /*ownerOnly*/) {
  const auto target = Target(file);
  std::filesystem::path temporary;
  HANDLE handle = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && handle == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = TemporaryName(target);
    handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
      break;
    }
  }
  if (handle == INVALID_HANDLE_VALUE) {
    FailWrite(file);
  }
  bool ok = true;
  std::size_t written = 0;
  while (ok && written < content.size()) {
    DWORD put = 0;
    const auto chunk =
        static_cast<DWORD>(std::min<std::size_t>(content.size() - written, std::size_t{1} << 30));
    ok = WriteFile(handle, content.data() + written, chunk, &put, nullptr) && put > 0;
    written += put;
  }
  // The content reaches the disk before its name does.
  ok = ok && FlushFileBuffers(handle);
  ok = CloseHandle(handle) && ok;
  // A read-only file refuses the move, as the POSIX side makes it.
  ok = ok && !RenameOverDurably(temporary, target);
  if (!ok) {
    DeleteFileW(temporary.c_str());
    FailWrite(file);
  }
}

void RestrictToOwner(const std::filesystem::path& /*file*/) {}

#else

std::error_code RenameOverDurably(const std::filesystem::path& from,
                                  const std::filesystem::path& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) {
    return {errno, std::generic_category()};
  }
  // The rename itself lives in the folder: flush it too. Some file systems refuse to open or
  // flush a folder; the rename is then as durable as they allow.
  const std::filesystem::path folder = to.has_parent_path() ? to.parent_path() : ".";
  int fd;
  do {
    fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  return {};
}

void ReplaceFileContent(const std::filesystem::path& file, const std::string& content,
                        bool ownerOnly) {
  const auto target = Target(file);
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  // Replacing a read-only file by renaming would go round its protection.
  if (exists && ::access(target.c_str(), W_OK) != 0) {
    FailWrite(file);
  }

  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = TemporaryName(target);
    // The password must never sit in a file others can read, not even for a moment.
    fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, ownerOnly ? 0600 : 0666);
    if (fd < 0 && errno != EEXIST) {
      break;
    }
  }
  if (fd < 0) {
    FailWrite(file);
  }

  bool ok = true;
  if (ownerOnly) {
    ok = ::fchmod(fd, 0600) == 0;
  } else if (exists) {
    ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
  }
  size_t written = 0;
  while (ok && written < content.size()) {
    const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    ok = n > 0;
    written += ok ? static_cast<size_t>(n) : 0;
  }
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && !RenameOverDurably(temporary, target);
  if (!ok) {
    ::unlink(temporary.c_str());
    FailWrite(file);
  }
}

void RestrictToOwner(const std::filesystem::path& file) {
  struct stat existing {};
  if (::stat(file.c_str(), &existing) == 0 && (existing.st_mode & 077) != 0) {
    ::chmod(file.c_str(), existing.st_mode & 0700);
  }
}

#endif

void RemoveAbandonedTemporaries(const std::filesystem::path& file) {
  try {
    std::error_code error;
    // The replacement writes beside the file a symbolic link names.
    std::filesystem::path target = file;
    if (std::filesystem::is_symlink(file, error)) {
      target = std::filesystem::weakly_canonical(file, error);
    }
    if (error) {
      return;
    }
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) {
      folder = ".";
    }
    const std::string fileName = target.filename().string();
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
      const auto writer = WriterOf(it->path().filename().string(), fileName);
      if (writer && *writer != OwnProcess() && !ProcessRuns(*writer)) {
        std::error_code ignored;
        std::filesystem::remove(it->path(), ignored);
      }
    }
  } catch (...) {
  }
}

}  // namespace vesk
