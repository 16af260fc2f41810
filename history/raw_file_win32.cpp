// The history file layer on Win32 handles, with the same behaviour as the POSIX one.
#ifndef NOMINMAX  // a unity batch may have defined it already
#define NOMINMAX
#endif
#include <windows.h>
// The Win32 ReplaceFile macro would rename ours.
#undef ReplaceFile

#include <algorithm>
#include <string>
#include <utility>

#include "common/durable_replace.h"
#include "common/exceptions.h"
#include "history/raw_file.h"

namespace vesk {
namespace {

std::string SystemMessage(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length > 0 ? std::string(text, length) : "Error " + std::to_string(error);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  return message;
}

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path,
                       DWORD error = GetLastError()) {
  throw EInOutError(what + " \"" + path.string() + "\". " + SystemMessage(error));
}

// Shared for reading, writing and deleting, as a POSIX descriptor is: a file we hold open
// must not stop another process reading it, nor a save from renaming a new file over it.
HANDLE Open(const std::filesystem::path& path, DWORD access, DWORD disposition,
            DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  const HANDLE handle =
      CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, disposition, flags, nullptr);
  return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

std::int64_t Nanoseconds(LARGE_INTEGER time) {
  return time.QuadPart * 100;
}

FileIdentity IdentityOfHandle(HANDLE handle, const std::filesystem::path& path) {
  BY_HANDLE_FILE_INFORMATION info{};
  FILE_BASIC_INFO basic{};
  if (!GetFileInformationByHandle(handle, &info) ||
      !GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic)) {
    Fail("Cannot read the size of file", path);
  }
  FileIdentity identity;
  identity.device = info.dwVolumeSerialNumber;
  identity.inode = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
  identity.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  identity.modifiedNs = Nanoseconds(basic.LastWriteTime);
  identity.changedNs = Nanoseconds(basic.ChangeTime);
  return identity;
}

std::uint64_t Position(HANDLE handle, const std::filesystem::path& path) {
  LARGE_INTEGER zero{};
  LARGE_INTEGER position{};
  if (!SetFilePointerEx(handle, zero, &position, FILE_CURRENT)) {
    Fail("Seek error on file", path);
  }
  return static_cast<std::uint64_t>(position.QuadPart);
}

void Seek(HANDLE handle, std::uint64_t offset, const std::filesystem::path& path) {
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(handle, to, nullptr, FILE_BEGIN)) {
    Fail("Seek error on file", path);
  }
}

// ReadFile and WriteFile move at most 4 GiB less one byte per call.
DWORD Chunk(std::size_t left) {
  return static_cast<DWORD>(std::min<std::size_t>(left, std::size_t{1} << 30));
}

}  // namespace

RawFile RawFile::OpenForReading(const std::filesystem::path& path) {
  const HANDLE handle = Open(path, GENERIC_READ, OPEN_EXISTING);
  if (handle == nullptr) {
    Fail("Cannot open file", path);
  }
  return RawFile(handle, path);
}

RawFile RawFile::Create(const std::filesystem::path& path) {
  const HANDLE handle = Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  if (handle == nullptr) {
    Fail("Cannot create file", path);
  }
  return RawFile(handle, path);
}

RawFile RawFile::CreateNew(const std::filesystem::path& path) {
  const HANDLE handle = Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
  if (handle == nullptr) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      Fail("Cannot create file", path, error);
    }
  }
  return RawFile(handle, path);
}

RawFile RawFile::OpenForAppending(const std::filesystem::path& path) {
  // Append access alone: every write goes to the end, whoever else writes the file.
  const HANDLE handle =
      Open(path, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE, OPEN_EXISTING);
  if (handle == nullptr) {
    Fail("Cannot open file", path);
  }
  return RawFile(handle, path);
}

RawFile RawFile::OpenForUpdate(const std::filesystem::path& path) {
  const HANDLE handle = Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
  if (handle == nullptr) {
    Fail("Cannot open file", path);
  }
  return RawFile(handle, path);
}

RawFile::RawFile(RawFile&& other) noexcept
    : fd_(std::exchange(other.fd_, kClosed)), path_(std::move(other.path_)) {}

RawFile::~RawFile() {
  if (fd_ != kClosed) {
    CloseHandle(fd_);
  }
}

std::uint64_t RawFile::size() const {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(fd_, &size)) {
    Fail("Cannot read the size of file", path_);
  }
  return static_cast<std::uint64_t>(size.QuadPart);
}

FileIdentity RawFile::identity() const {
  return IdentityOfHandle(fd_, path_);
}

std::size_t RawFile::read(void* buffer, std::size_t count) {
  auto* bytes = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    DWORD got = 0;
    if (!ReadFile(fd_, bytes + done, Chunk(count - done), &got, nullptr)) {
      Fail("Read error on file", path_);
    }
    if (got == 0) {
      break;
    }
    done += got;
  }
  return done;
}

void RawFile::readExact(void* buffer, std::size_t count) {
  if (read(buffer, count) != count) {
    throw EInOutError("Read beyond end of file");
  }
}

void RawFile::readExactAt(void* buffer, std::size_t count, std::uint64_t offset) {
  Seek(fd_, offset, path_);
  readExact(buffer, count);
}

void RawFile::write(const void* buffer, std::size_t count) {
  const auto* bytes = static_cast<const char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    DWORD put = 0;
    if (!WriteFile(fd_, bytes + done, Chunk(count - done), &put, nullptr)) {
      Fail("Write error on file", path_);
    }
    done += put;
  }
}

void RawFile::writeAt(const void* buffer, std::size_t count, std::uint64_t offset) {
  // A positioned write moves the file pointer of a synchronous handle: put it back.
  const std::uint64_t position = Position(fd_, path_);
  Seek(fd_, offset, path_);
  write(buffer, count);
  Seek(fd_, position, path_);
}

void RawFile::truncate(std::uint64_t size) {
  const std::uint64_t position = Position(fd_, path_);
  Seek(fd_, size, path_);
  if (!SetEndOfFile(fd_)) {
    Fail("Cannot truncate file", path_);
  }
  Seek(fd_, position, path_);
}

void RawFile::sync() {
  if (FlushFileBuffers(fd_)) {
    return;
  }
  DWORD error = GetLastError();
  // Windows flushes through a handle that may write only; a file opened for reading is
  // flushed through a second handle, as fsync does on any descriptor.
  if (error == ERROR_ACCESS_DENIED) {
    const HANDLE writer = Open(path_, GENERIC_WRITE, OPEN_EXISTING);
    if (writer != nullptr) {
      const bool flushed = FlushFileBuffers(writer);
      error = GetLastError();
      CloseHandle(writer);
      if (flushed) {
        return;
      }
    } else {
      error = GetLastError();
    }
  }
  Fail("Cannot flush file", path_, error);
}

void RawFile::close() {
  const HANDLE handle = std::exchange(fd_, kClosed);
  if (handle != kClosed && !CloseHandle(handle)) {
    Fail("Cannot close file", path_);
  }
}

void ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (const std::error_code error = RenameOverDurably(from, to)) {
    throw EInOutError("Cannot rename file \"" + from.string() + "\" to \"" + to.string() + "\". " +
                      SystemMessage(static_cast<DWORD>(error.value())));
  }
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
  // Attributes only, and a folder opens too, as stat() does.
  const HANDLE handle = Open(path, FILE_READ_ATTRIBUTES, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  if (handle == nullptr) {
    return std::nullopt;
  }
  try {
    const FileIdentity identity = IdentityOfHandle(handle, path);
    CloseHandle(handle);
    return identity;
  } catch (...) {
    CloseHandle(handle);
    return std::nullopt;
  }
}

}  // namespace vesk
