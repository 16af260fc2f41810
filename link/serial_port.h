#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace vesk {

// One open serial port: 115200 8N1 raw, purge of the receive side, synchronous reads bounded
// to the link's read time-out as the port opened (link_timing.h: 2000 ms) and writes to
// 500 ms in all.
class SerialPort {
 public:
  static constexpr int kWriteTimeoutMs = 500;

  virtual ~SerialPort() = default;

  // The operating system's handle as a number, for the log lines.
  virtual std::uint32_t handleValue() const = 0;
  // Discards whatever input the driver holds unread; output is left alone.
  virtual void purgeInput() = 0;
  // One write call: returns the count written when all went or the time ran out.
  virtual std::size_t write(const std::uint8_t* bytes, std::size_t count) = 0;
  // One read call: returns when count bytes arrived or the time ran out, with the count read.
  virtual std::size_t read(std::uint8_t* bytes, std::size_t count) = 0;
};

// Why a serial device could not be opened.
enum class PortOpenFailure { None, NotFound, PermissionDenied, Busy, NotASerialPort, Other };

struct PortOpening {
  std::unique_ptr<SerialPort> port;  // null when the device could not be opened
  PortOpenFailure failure = PortOpenFailure::None;
  std::string reason;  // the system's own text, for Other
};

// The device a port number opens. Windows: "COM3", "\\.\COM10". Elsewhere:
// <programFolder>/ports/COM<n> when it exists (a link to any tty), else /dev/ttyS<n-1>.
std::string PortDeviceName(int number, const std::filesystem::path& programFolder);

// Opens the port exclusively and applies the line settings; null when it cannot be opened.
std::unique_ptr<SerialPort> OpenSerialPort(int number, const std::filesystem::path& programFolder);

// Opens a device by its own name ("/dev/ttyUSB0", "/dev/serial/by-id/usb-...", "COM4") as
// OpenSerialPort does, telling why it failed.
PortOpening OpenSerialDevice(const std::string& device);

// "Error -> Cannot open serial port <device>: " and what the operator can do about it.
std::string PortOpenFailureText(const std::string& device, const PortOpening& opening);

}  // namespace vesk
