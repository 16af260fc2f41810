#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "link/link_timing.h"
#include "link/serial_port.h"

namespace vesk {
namespace {

using Clock = std::chrono::steady_clock;

class PosixSerialPort final : public SerialPort {
 public:
  explicit PosixSerialPort(int fd)
      : fd_(fd), readTimeoutMs_(static_cast<int>(CurrentLinkTiming().readTimeout.count())) {}
  ~PosixSerialPort() override {
    ioctl(fd_, TIOCNXCL);
    flock(fd_, LOCK_UN);
    close(fd_);
  }
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  std::uint32_t handleValue() const override { return static_cast<std::uint32_t>(fd_); }

  void purgeInput() override { tcflush(fd_, TCIFLUSH); }

  std::size_t write(const std::uint8_t* bytes, std::size_t count) override {
    return transfer(const_cast<std::uint8_t*>(bytes), count, POLLOUT, kWriteTimeoutMs);
  }

  std::size_t read(std::uint8_t* bytes, std::size_t count) override {
    return transfer(bytes, count, POLLIN, readTimeoutMs_);
  }

 private:
  // Moves bytes until count is reached or the total time is spent, as one synchronous call.
  std::size_t transfer(std::uint8_t* bytes, std::size_t count, short event, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    while (done < count) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) {
        break;
      }
      pollfd p{fd_, event, 0};
      const int ready = poll(&p, 1, static_cast<int>(left));
      if (ready < 0 && errno == EINTR) {
        continue;
      }
      if (ready <= 0) {
        break;
      }
      const ssize_t moved = event == POLLIN ? ::read(fd_, bytes + done, count - done)
                                            : ::write(fd_, bytes + done, count - done);
      if (moved > 0) {
        done += static_cast<std::size_t>(moved);
      } else if (moved < 0 && (errno == EAGAIN || errno == EINTR)) {
        continue;
      } else if ((p.revents & (POLLHUP | POLLERR)) != 0 || moved < 0) {
        // The other end is gone: nothing more will come before the deadline.
        break;
      }
    }
    return done;
  }

  int fd_;
  int readTimeoutMs_;
};

void ApplyLineSettings(int fd) {
  termios tio{};
  tcgetattr(fd, &tio);
  cfmakeraw(&tio);
  cfsetispeed(&tio, B115200);
  cfsetospeed(&tio, B115200);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  tcsetattr(fd, TCSANOW, &tio);
}

}  // namespace

std::string PortDeviceName(int number, const std::filesystem::path& programFolder) {
  const auto alias = programFolder / "ports" / ("COM" + std::to_string(number));
  std::error_code error;
  if (std::filesystem::exists(alias, error)) {
    return alias.string();
  }
  return "/dev/ttyS" + std::to_string(number - 1);
}

std::unique_ptr<SerialPort> OpenSerialPort(int number, const std::filesystem::path& programFolder) {
  return OpenSerialDevice(PortDeviceName(number, programFolder)).port;
}

PortOpening OpenSerialDevice(const std::string& device) {
  PortOpening opening;
  const auto failed = [&opening](PortOpenFailure failure, int error) {
    opening.failure = failure;
    opening.reason = std::strerror(error);
    return std::move(opening);
  };
  const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    switch (error) {
      case ENOENT:
      case ENODEV:
      case ENXIO:
        return failed(PortOpenFailure::NotFound, error);
      case EACCES:
      case EPERM:
        return failed(PortOpenFailure::PermissionDenied, error);
      case EBUSY:  // another program set TIOCEXCL
        return failed(PortOpenFailure::Busy, error);
      default:
        return failed(PortOpenFailure::Other, error);
    }
  }
  if (!isatty(fd)) {
    close(fd);
    return failed(PortOpenFailure::NotASerialPort, ENOTTY);
  }
  // Not shared: TIOCEXCL keeps other openers out, the lock keeps out root as well.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
    const int error = errno;
    close(fd);
    return failed(error == EWOULDBLOCK ? PortOpenFailure::Busy : PortOpenFailure::Other, error);
  }
  ApplyLineSettings(fd);
  opening.port = std::make_unique<PosixSerialPort>(fd);
  return opening;
}

}  // namespace vesk
