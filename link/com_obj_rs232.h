#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "common/byte_array.h"
#include "common/exceptions.h"
#include "link/serial_port.h"

namespace vesk {

// The two read failures of an exchange; every other link failure is a plain Exception.
class ExceptionRS232 : public Exception {
 public:
  using Exception::Exception;
};

// The serial link to the board: one per connection. Every exchange holds Command from frame
// building to payload extraction, so the main thread and the poll worker never interleave.
class TComObjRs232 {
 public:
  static constexpr std::uint32_t kInvalidHandle = 0xFFFFFFFF;

  explicit TComObjRs232(std::filesystem::path programFolder);
  ~TComObjRs232();
  TComObjRs232(const TComObjRs232&) = delete;
  TComObjRs232& operator=(const TComObjRs232&) = delete;

  void OpenCom(int NumCom);
  // Opens a device by its own name in place of a port number ("/dev/ttyUSB0", a
  // /dev/serial/by-id link, "COM4"); a failure names the device and says why
  // (PortOpenFailureText).
  void OpenDevice(const std::string& device);
  // Takes a port opened by the caller in place of OpenCom: a scripted port for the fuzzing
  // of the reply reader. Nothing is logged.
  void AttachPort(std::unique_ptr<SerialPort> port);
  // Waits for an exchange in progress, then closes the port.
  void CloseCom();

  void SendOrder_ReceiveFeedBack(const TArrayByte& InOrder, TArrayByte& OutFeedBack);
  // Writes the request frame and reads nothing (the bootloader request).
  void SendOrder(const TArrayByte& InOrder);

  // The port's handle, kInvalidHandle while closed. Written only under Command; read from
  // any thread.
  std::uint32_t HCom() const { return HCom_.load(); }
  bool isOpen() const { return HCom() != kInvalidHandle; }

  std::uint8_t LastOrder = 0;

 private:
  TArrayByte BuildOrderFrame(const TArrayByte& InOrder);
  void WriteBuffer(const TArrayByte& frame);
  void ReadBuffer(TArrayByte& reply, int& NbTotal);
  // Takes an opened port and logs "<name> Opened -> <handle>".
  void TakeOpened(std::unique_ptr<SerialPort> port, const std::string& name);
  [[noreturn]] void Fail(const std::string& message);
  [[noreturn]] void FailRead(const std::string& message);

  std::filesystem::path programFolder_;
  std::mutex Command;
  std::unique_ptr<SerialPort> port_;
  std::atomic<std::uint32_t> HCom_{kInvalidHandle};
};

}  // namespace vesk
