#include "history/raw_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "common/durable_replace.h"
#include "common/exceptions.h"

namespace vesk {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path, int error) {
  throw EInOutError(what + " \"" + path.string() + "\". " + std::strerror(error));
}

int Open(const std::filesystem::path& path, int flags) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

FileIdentity IdentityFrom(const struct stat& info) {
  FileIdentity identity;
  identity.device = static_cast<std::uint64_t>(info.st_dev);
  identity.inode = static_cast<std::uint64_t>(info.st_ino);
  identity.size = static_cast<std::uint64_t>(info.st_size);
  identity.modifiedNs =
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
  identity.changedNs =
      static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1'000'000'000 + info.st_ctim.tv_nsec;
  return identity;
}

}  // namespace

RawFile RawFile::OpenForReading(const std::filesystem::path& path) {
  const int fd = Open(path, O_RDONLY);
  if (fd < 0) {
    Fail("Cannot open file", path, errno);
  }
  return RawFile(fd, path);
}

RawFile RawFile::Create(const std::filesystem::path& path) {
  const int fd = Open(path, O_WRONLY | O_CREAT | O_TRUNC);
  if (fd < 0) {
    Fail("Cannot create file", path, errno);
  }
  return RawFile(fd, path);
}

RawFile RawFile::CreateNew(const std::filesystem::path& path) {
  const int fd = Open(path, O_WRONLY | O_CREAT | O_EXCL);
  if (fd < 0 && errno != EEXIST) {
    Fail("Cannot create file", path, errno);
  }
  return RawFile(fd, path);
}

RawFile RawFile::OpenForAppending(const std::filesystem::path& path) {
  const int fd = Open(path, O_WRONLY | O_APPEND);
  if (fd < 0) {
    Fail("Cannot open file", path, errno);
  }
  return RawFile(fd, path);
}

RawFile RawFile::OpenForUpdate(const std::filesystem::path& path) {
  const int fd = Open(path, O_RDWR);
  if (fd < 0) {
    Fail("Cannot open file", path, errno);
  }
  return RawFile(fd, path);
}

RawFile::RawFile(RawFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

RawFile::~RawFile() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

std::uint64_t RawFile::size() const {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    Fail("Cannot read the size of file", path_, errno);
  }
  return static_cast<std::uint64_t>(info.st_size);
}

FileIdentity RawFile::identity() const {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    Fail("Cannot read the size of file", path_, errno);
  }
  return IdentityFrom(info);
}

std::size_t RawFile::read(void* buffer, std::size_t count) {
  auto* bytes = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = ::read(fd_, bytes + done, count - done);
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      Fail("Read error on file", path_, errno);
    }
    if (got == 0) {
      break;
    }
    done += static_cast<std::size_t>(got);
  }
  return done;
}

void RawFile::readExact(void* buffer, std::size_t count) {
  if (read(buffer, count) != count) {
    throw EInOutError("Read beyond end of file");
  }
}

void RawFile::readExactAt(void* buffer, std::size_t count, std::uint64_t offset) {
  if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) {
    Fail("Seek error on file", path_, errno);
  }
  readExact(buffer, count);
}

void RawFile::write(const void* buffer, std::size_t count) {
  const auto* bytes = static_cast<const char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t put = ::write(fd_, bytes + done, count - done);
    if (put < 0) {
      if (errno == EINTR) {
        continue;
      }
      Fail("Write error on file", path_, errno);
    }
    done += static_cast<std::size_t>(put);
  }
}

void RawFile::writeAt(const void* buffer, std::size_t count, std::uint64_t offset) {
  const auto* bytes = static_cast<const char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t put =
        ::pwrite(fd_, bytes + done, count - done, static_cast<off_t>(offset + done));
    if (put < 0) {
      if (errno == EINTR) {
        continue;
      }
      Fail("Write error on file", path_, errno);
    }
    done += static_cast<std::size_t>(put);
  }
}

void RawFile::truncate(std::uint64_t size) {
  int result;
  do {
    result = ::ftruncate(fd_, static_cast<off_t>(size));
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    Fail("Cannot truncate file", path_, errno);
  }
}

void RawFile::sync() {
  if (::fsync(fd_) != 0) {
    Fail("Cannot flush file", path_, errno);
  }
}

void RawFile::close() {
  const int fd = std::exchange(fd_, -1);
  if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) {
    Fail("Cannot close file", path_, errno);
  }
}

void ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (const std::error_code error = RenameOverDurably(from, to)) {
    throw EInOutError("Cannot rename file \"" + from.string() + "\" to \"" + to.string() + "\". " +
                      std::strerror(error.value()));
  }
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return std::nullopt;
  }
  return IdentityFrom(info);
}

}  // namespace vesk
