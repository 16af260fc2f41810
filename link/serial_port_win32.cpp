// Built on Windows only (and compile-checked here with mingw-w64).
#include <windows.h>

#include "link/link_timing.h"
#include "link/serial_port.h"

namespace vesk {
namespace {

class Win32SerialPort final : public SerialPort {
 public:
  explicit Win32SerialPort(HANDLE handle) : handle_(handle) {}
  ~Win32SerialPort() override { CloseHandle(handle_); }
  Win32SerialPort(const Win32SerialPort&) = delete;
  Win32SerialPort& operator=(const Win32SerialPort&) = delete;

  std::uint32_t handleValue() const override {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle_));
  }

  void purgeInput() override { PurgeComm(handle_, PURGE_RXCLEAR); }

  std::size_t write(const std::uint8_t* bytes, std::size_t count) override {
    DWORD written = 0;
    WriteFile(handle_, bytes, static_cast<DWORD>(count), &written, nullptr);
    return written;
  }

  std::size_t read(std::uint8_t* bytes, std::size_t count) override {
    DWORD got = 0;
    ReadFile(handle_, bytes, static_cast<DWORD>(count), &got, nullptr);
    return got;
  }

 private:
  HANDLE handle_;
};

}  // namespace

std::string PortDeviceName(int number, const std::filesystem::path&) {
  const std::string name = "COM" + std::to_string(number);
  return number <= 9 ? name : "\\\\.\\" + name;
}

std::unique_ptr<SerialPort> OpenSerialPort(int number, const std::filesystem::path& programFolder) {
  return OpenSerialDevice(PortDeviceName(number, programFolder)).port;
}

PortOpening OpenSerialDevice(const std::string& device) {
  PortOpening opening;
  // "COM12" is only reached through the device namespace.
  const std::string name =
      device.rfind("COM", 0) == 0 && device.size() > 4 ? "\\\\.\\" + device : device;
  HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // A COM port another program holds answers "access denied".
    opening.failure =
        error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PortOpenFailure::NotFound
        : error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ? PortOpenFailure::Busy
                                                                           : PortOpenFailure::Other;
    opening.reason = "system error " + std::to_string(error);
    return opening;
  }
  // The results of the settings calls are not checked: a driver that refuses one still
  // gets its chance to answer.
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  GetCommState(handle, &dcb);
  dcb.BaudRate = CBR_115200;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  // The packed flag word is exactly 1: binary mode on, every other flag off.
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fTXContinueOnXoff = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  dcb.fAbortOnError = FALSE;
  SetCommState(handle, &dcb);
  SetCommMask(handle, EV_RXCHAR);
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = 0;
  timeouts.ReadTotalTimeoutMultiplier = 0;
  timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(CurrentLinkTiming().readTimeout.count());
  timeouts.WriteTotalTimeoutMultiplier = 0;
  timeouts.WriteTotalTimeoutConstant = SerialPort::kWriteTimeoutMs;
  SetCommTimeouts(handle, &timeouts);
  opening.port = std::make_unique<Win32SerialPort>(handle);
  return opening;
}

}  // namespace vesk
