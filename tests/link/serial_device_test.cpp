// Serial ports by their own device names: opening with the reason of a failure, the listing
// of the machine's ports and the processes that hold one.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "link/com_obj_rs232.h"
#include "link/order_codes.h"
#include "link/pseudo_terminal.h"
#include "link/serial_port.h"
#include "link/serial_port_list.h"
#include "tests/support/log_capture.h"
#include "tests/support/scripted_peer.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::LogCapture;
using test::ScriptedPeer;
using test::TempFolder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const TArrayByte kVersionAnswer{0x1F, 0x05, 0x03, 0x05, 0x17, 0x00, 0x43};

TEST(OpenDevice, ByPathAndByStableName) {
  TempFolder folder;
  LogCapture log(folder.path());
  PseudoTerminal pty;
  ScriptedPeer peer(pty.masterFd(), [](const TArrayByte&) { return kVersionAnswer; });
  // The by-id names are links to the device, as udev makes them.
  const auto byId = folder / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  fs::create_symlink(pty.slavePath(), byId);
  for (const std::string& device : {pty.slavePath(), byId.string()}) {
    TComObjRs232 link(folder.path());
    link.OpenDevice(device);
    const std::string handle = std::to_string(link.HCom());
    TArrayByte payload;
    link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, payload);
    EXPECT_EQ(payload, (TArrayByte{0x03, 0x05, 0x17, 0x00})) << device;
    link.CloseCom();
    EXPECT_THAT(log.texts(), ::testing::IsSupersetOf({device + " Opened -> " + handle}));
  }
}

// The failure and the text the link logs and raises, naming the device.
void ExpectRefused(const LogCapture& log, const std::string& device, PortOpenFailure failure,
                   const std::string& reason) {
  const PortOpening opening = OpenSerialDevice(device);
  EXPECT_EQ(opening.port, nullptr) << device;
  EXPECT_EQ(opening.failure, failure) << device;
  TComObjRs232 link(fs::temp_directory_path());
  const std::string message = "Error -> Cannot open serial port " + device + ": " + reason;
  try {
    link.OpenDevice(device);
    ADD_FAILURE() << device << " was opened";
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), message);
  }
  EXPECT_EQ(link.HCom(), TComObjRs232::kInvalidHandle);
  EXPECT_EQ(log.texts().back(), message);
}

TEST(OpenDevice, FailuresSayWhy) {
  TempFolder folder;
  LogCapture log(folder.path());
  ExpectRefused(log, (folder / "ttyUSB9").string(), PortOpenFailure::NotFound,
                "no such device (is the adapter plugged in? vesk-cli ports lists the ports)");
  std::ofstream(folder / "plain.txt") << "not a terminal";
  ExpectRefused(log, (folder / "plain.txt").string(), PortOpenFailure::NotASerialPort,
                "not a serial port");
  // Held by another link, as by a monitor or vesk-cli serve.
  PseudoTerminal pty;
  TComObjRs232 holder(folder.path());
  holder.OpenDevice(pty.slavePath());
  ExpectRefused(log, pty.slavePath(), PortOpenFailure::Busy, "busy, another program holds it");
}

// A user who may not open the device: root may open anything, so a child takes another
// user's identity first.
TEST(OpenDevice, PermissionDeniedNamesTheDialoutGroup) {
  PseudoTerminal pty;
  ASSERT_EQ(chmod(pty.slavePath().c_str(), 0600), 0);
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
      _exit(100);
    }
    const PortOpening opening = OpenSerialDevice(pty.slavePath());
    const bool text = PortOpenFailureText(pty.slavePath(), opening) ==
                      "Error -> Cannot open serial port " + pty.slavePath() +
                          ": permission denied (join the dialout group: sudo usermod -aG "
                          "dialout $USER, then log in again)";
    _exit(opening.failure == PortOpenFailure::PermissionDenied && text ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 100) {
    GTEST_SKIP() << "cannot take the identity of user 65534 here";
  }
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the failure was not permission denied, or its text";
}

// A fake /sys/class/tty and /dev, laid out as the kernel and udev do.
class PortListing : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(roots.sysClassTty);
    fs::create_directories(roots.dev / "serial" / "by-id");
  }

  // A tty entry whose device folder is sys/devices/<devicePath>, with a node in dev/ when asked.
  fs::path tty(const std::string& name, const std::string& devicePath, bool node = true) {
    const auto device = folder / "sys" / "devices" / devicePath;
    fs::create_directories(device);
    fs::create_directories(roots.sysClassTty / name);
    fs::create_directory_symlink(device, roots.sysClassTty / name / "device");
    if (node) {
      std::ofstream(roots.dev / name);
    }
    return device;
  }

  static void write(const fs::path& file, const std::string& text) {
    std::ofstream(file) << text << "\n";
  }

  TempFolder folder;
  SerialPortRoots roots{folder / "sys" / "class" / "tty", folder / "dev"};
};

TEST_F(PortListing, UartsAndUsbAdaptersWithTheirNames) {
  tty("ttyS0", "platform/serial8250/tty/ttyS0");
  write(roots.sysClassTty / "ttyS0" / "type", "4");
  tty("ttyS1", "platform/serial8250/tty/ttyS1");
  write(roots.sysClassTty / "ttyS1" / "type", "0");  // no UART behind it
  tty("ttyS10", "platform/serial8250/tty/ttyS10");
  write(roots.sysClassTty / "ttyS10" / "type", "4");
  tty("tty0", "virtual/tty/tty0");
  tty("ttyAMA0", "platform/fe201000.serial");
  // An FTDI adapter: the port's folder sits two levels under the USB device's.
  const auto usb = folder / "sys" / "devices" / "pci0000:00" / "usb1" / "1-1";
  tty("ttyUSB0", "pci0000:00/usb1/1-1/1-1:1.0/ttyUSB0");
  write(usb / "idVendor", "0403");
  write(usb / "idProduct", "6001");
  write(usb / "manufacturer", "FTDI");
  write(usb / "product", "FT232R USB UART");
  write(usb / "serial", "A50285BI");
  const auto byId = roots.dev / "serial" / "by-id" / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  fs::create_symlink("../../ttyUSB0", byId);
  // Unplugged: the kernel entry is gone with its node, a stale entry without node is no port.
  tty("ttyACM0", "pci0000:00/usb1/1-2/1-2:1.0", false);

  const auto ports = ListSerialPorts(roots);
  std::vector<std::string> devices;
  for (const auto& port : ports) {
    devices.push_back(port.device);
  }
  const auto dev = roots.dev.string() + "/";
  EXPECT_THAT(devices,
              ElementsAre(dev + "ttyAMA0", dev + "ttyS0", dev + "ttyS10", dev + "ttyUSB0"));
  const SerialPortInfo& adapter = ports.back();
  EXPECT_EQ(adapter.usbVendorId, "0403");
  EXPECT_EQ(adapter.usbProductId, "6001");
  EXPECT_EQ(adapter.manufacturer, "FTDI");
  EXPECT_EQ(adapter.product, "FT232R USB UART");
  EXPECT_EQ(adapter.usbSerial, "A50285BI");
  EXPECT_THAT(adapter.byId, ElementsAre(byId.string()));
  EXPECT_THAT(ports[1].byId, IsEmpty());
  EXPECT_EQ(ports[1].usbVendorId, "");
}

TEST_F(PortListing, NoTtyFolderListsNothing) {
  fs::remove_all(roots.sysClassTty);
  EXPECT_THAT(ListSerialPorts(roots), IsEmpty());
}

// A child holding the pseudo-terminal's device end, with the board's end or without it.
pid_t HoldingChild(const PseudoTerminal& pty, bool keepBoardEnd) {
  int ready[2];
  if (pipe(ready) != 0) {
    return -1;
  }
  const pid_t child = fork();
  if (child == 0) {
    if (!keepBoardEnd) {
      close(pty.masterFd());
    }
    const int fd = open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY);
    const char done = fd >= 0 ? 'y' : 'n';
    (void)!write(ready[1], &done, 1);
    pause();
    _exit(0);
  }
  close(ready[1]);
  char done = 0;
  (void)!read(ready[0], &done, 1);
  close(ready[0]);
  return done == 'y' ? child : -1;
}

TEST(ProcessesHolding, AnOpenerButNotTheBoardAtTheOtherEnd) {
  for (const bool keepBoardEnd : {false, true}) {
    PseudoTerminal pty;
    EXPECT_THAT(ProcessesHolding(pty.slavePath()), IsEmpty()) << "this process is not counted";
    const pid_t child = HoldingChild(pty, keepBoardEnd);
    ASSERT_GT(child, 0);
    const auto holders = ProcessesHolding(pty.slavePath());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    if (keepBoardEnd) {
      EXPECT_THAT(holders, IsEmpty()) << "the board's own process holds both ends";
    } else {
      EXPECT_THAT(holders, ElementsAre(child));
    }
  }
}

}  // namespace
}  // namespace vesk
