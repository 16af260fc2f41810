#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace vesk {

// What identifies one version of a file: a file replaced, written, truncated or touched by
// anyone shows another identity (the change time cannot be set back by a program).
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modifiedNs = 0;
  std::int64_t changedNs = 0;

  bool sameFileAs(const FileIdentity& other) const {
    return device == other.device && inode == other.inode;
  }
  bool operator==(const FileIdentity&) const = default;
};

// A file opened for one operation and closed on every path out of it. Failures raise
// EInOutError carrying the file layer's message, which callers pass on inside their own.
class RawFile {
 public:
  static RawFile OpenForReading(const std::filesystem::path& path);
  // Creates or truncates.
  static RawFile Create(const std::filesystem::path& path);
  // Creates a new file; returns a closed RawFile (isOpen() false) when one already exists.
  static RawFile CreateNew(const std::filesystem::path& path);
  static RawFile OpenForAppending(const std::filesystem::path& path);
  // Reading and writing in place, no truncation; the file must exist.
  static RawFile OpenForUpdate(const std::filesystem::path& path);

  RawFile(RawFile&& other) noexcept;
  RawFile& operator=(RawFile&&) = delete;
  RawFile(const RawFile&) = delete;
  ~RawFile();

  bool isOpen() const { return fd_ != kClosed; }
  std::uint64_t size() const;
  FileIdentity identity() const;

  // Reads up to count bytes; fewer only at the end of the file.
  std::size_t read(void* buffer, std::size_t count);
  // A short read raises "Read beyond end of file".
  void readExact(void* buffer, std::size_t count);
  void readExactAt(void* buffer, std::size_t count, std::uint64_t offset);
  void write(const void* buffer, std::size_t count);
  // Writes at offset without moving the file position.
  void writeAt(const void* buffer, std::size_t count, std::uint64_t offset);
  // Cuts the file to size bytes.
  void truncate(std::uint64_t size);
  // Flushes the content to the disk.
  void sync();
  // Closing can report a late write error, so it raises too.
  void close();

 private:
#ifdef _WIN32
  using Handle = void*;  // a HANDLE
  static constexpr Handle kClosed = nullptr;
#else
  using Handle = int;  // a file descriptor
  static constexpr Handle kClosed = -1;
#endif

  RawFile(Handle fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}

  Handle fd_;
  std::filesystem::path path_;
};

// Renames over an existing target in one step and flushes the folder, so the new name
// survives a crash (RenameOverDurably of common/durable_replace.h); a failure raises
// "Cannot rename file …" with the system's message.
void ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

// The identity of the file at path; nothing when it cannot be read (missing file).
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

}  // namespace vesk
