#include "link/serial_port.h"

namespace vesk {

std::string PortOpenFailureText(const std::string& device, const PortOpening& opening) {
  std::string text = "Error -> Cannot open serial port " + device + ": ";
  switch (opening.failure) {
    case PortOpenFailure::NotFound:
      return text + "no such device (is the adapter plugged in? vesk-cli ports lists the ports)";
    case PortOpenFailure::PermissionDenied:
      // Debian gives the serial devices to the group dialout.
      return text +
             "permission denied (join the dialout group: sudo usermod -aG dialout $USER, then "
             "log in again)";
    case PortOpenFailure::Busy:
      return text + "busy, another program holds it";
    case PortOpenFailure::NotASerialPort:
      return text + "not a serial port";
    case PortOpenFailure::None:
    case PortOpenFailure::Other:
      break;
  }
  return text + (opening.reason.empty() ? "cannot be opened" : opening.reason);
}

}  // namespace vesk
