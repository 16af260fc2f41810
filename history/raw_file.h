#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace vesk {

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

  RawFile(RawFile&& other) noexcept;
  RawFile& operator=(RawFile&&) = delete;
  RawFile(const RawFile&) = delete;
  ~RawFile();

  bool isOpen() const { return fd_ >= 0; }
  std::uint64_t size() const;

  // Reads up to count bytes; fewer only at the end of the file.
  std::size_t read(void* buffer, std::size_t count);
  // A short read raises "Read beyond end of file".
  void readExact(void* buffer, std::size_t count);
  void readExactAt(void* buffer, std::size_t count, std::uint64_t offset);
  void write(const void* buffer, std::size_t count);
  // Flushes the content to the disk.
  void sync();
  // Closing can report a late write error, so it raises too.
  void close();

 private:
  RawFile(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}

  int fd_;
  std::filesystem::path path_;
};

// Renames over an existing target in one step and flushes the folder, so the new name
// survives a crash.
void ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace vesk
