#include "link/com_obj_rs232.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <sys/syscall.h>
#include <atomic>
#include <fstream>
#include <iterator>
#include <latch>
#include <thread>

#include "link/frame.h"
#include "link/link_timing.h"
#include "link/order_codes.h"
#include "link/pseudo_terminal.h"
#include "tests/support/log_capture.h"
#include "tests/support/scripted_peer.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using test::LogCapture;
using test::ScriptedPeer;
using test::TempFolder;
using ::testing::ElementsAre;

constexpr int kPort = 7;
const TArrayByte kVersionReply{0x1F, 0x05, 0x03, 0x05, 0x17, 0x00, 0x43};

// A link opened on ports/COM7 of a temporary program folder, with the board end scripted.
// A silent or short reply is given up after 300 ms here instead of the board's 2 s
// (SilenceIsWaitedForTheBoardsTwoSeconds holds those).
class LinkTest : public ::testing::Test {
 protected:
  LinkTest() : log(folder.path()) {
    pty.linkAsPort(folder.path(), kPort);
    SetLinkTiming({.readTimeout = std::chrono::milliseconds(300)});
  }
  ~LinkTest() override { SetLinkTiming({}); }

  void answerWith(ScriptedPeer::Responder responder) {
    peer = std::make_unique<ScriptedPeer>(pty.masterFd(), std::move(responder));
  }
  void answerAlways(const TArrayByte& reply) {
    answerWith([reply](const TArrayByte&) { return reply; });
  }

  TempFolder folder;
  LogCapture log;
  PseudoTerminal pty;
  std::unique_ptr<ScriptedPeer> peer;
  TComObjRs232 link{folder.path()};
};

TEST_F(LinkTest, VersionExchange) {
  answerAlways(kVersionReply);
  link.OpenCom(kPort);
  TArrayByte payload;
  link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, payload);
  EXPECT_EQ(payload, (TArrayByte{0x03, 0x05, 0x17, 0x00}));
  EXPECT_THAT(peer->requests(), ElementsAre(TArrayByte{0x1D, 0x02, 0x9C, 0xBB}));
  EXPECT_EQ(link.LastOrder, REQ_ORDER_VERSION);
}

TEST_F(LinkTest, OpenAndCloseAreLogged) {
  link.OpenCom(kPort);
  const std::string handle = std::to_string(link.HCom());
  EXPECT_NE(link.HCom(), TComObjRs232::kInvalidHandle);
  link.CloseCom();
  EXPECT_EQ(link.HCom(), TComObjRs232::kInvalidHandle);
  link.CloseCom();  // a second close has nothing to close and logs nothing
  EXPECT_THAT(log.texts(), ElementsAre("COM7 Opened -> " + handle, "COM closed -> " + handle));
}

TEST_F(LinkTest, PortIsNotShared) {
  link.OpenCom(kPort);
  TComObjRs232 second(folder.path());
  try {
    second.OpenCom(kPort);
    FAIL() << "a second open succeeded";
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), "Error -> Cannot open COM port7");
  }
  EXPECT_EQ(second.HCom(), TComObjRs232::kInvalidHandle);
  EXPECT_EQ(log.texts().back(), "Error -> Cannot open COM port7");
  second.CloseCom();  // the error path closes without touching the invalid handle
}

TEST_F(LinkTest, MissingPortCannotBeOpened) {
  EXPECT_THROW(link.OpenCom(250), Exception);
  EXPECT_THAT(log.texts(), ElementsAre("Error -> Cannot open COM port250"));
}

TEST(PortName, AliasFolderFirstThenSerialDevices) {
  TempFolder folder;
  EXPECT_EQ(PortDeviceName(3, folder.path()), "/dev/ttyS2");
  PseudoTerminal pty;
  const auto alias = pty.linkAsPort(folder.path(), 10);
  EXPECT_EQ(PortDeviceName(10, folder.path()), alias.string());
  EXPECT_EQ(PortDeviceName(9, folder.path()), "/dev/ttyS8");
}

TEST(LinkTiming, SilenceIsWaitedForTheBoardsTwoSeconds) {
  TempFolder folder;
  LogCapture log(folder.path());
  PseudoTerminal pty;
  pty.linkAsPort(folder.path(), kPort);
  ScriptedPeer silent(pty.masterFd(), [](const TArrayByte&) { return TArrayByte{}; });
  TComObjRs232 link(folder.path());
  link.OpenCom(kPort);
  TArrayByte payload;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THROW(link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, payload), Exception);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(2000));
  EXPECT_LT(waited, std::chrono::milliseconds(4000));
}

TEST_F(LinkTest, EmptyPayloadReply) {
  answerAlways({0x1F, 0x01, 0x20});
  link.OpenCom(kPort);
  TArrayByte payload{1, 2, 3};
  link.SendOrder_ReceiveFeedBack({REQ_SET_CONFIG, 1, 2}, payload);
  EXPECT_TRUE(payload.empty());
}

struct FailureCase {
  const char* name;
  TArrayByte reply;
  bool rs232;
  std::string message;
};

void PrintTo(const FailureCase& c, std::ostream* out) {
  *out << c.name;
}

class LinkFailure : public LinkTest, public ::testing::WithParamInterface<FailureCase> {};

// Each failure is logged, raised with the same text, and the read failures logged once more.
TEST_P(LinkFailure, IsLoggedAndRaised) {
  const FailureCase& c = GetParam();
  answerAlways(c.reply);
  link.OpenCom(kPort);
  TArrayByte payload;
  try {
    link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, payload);
    FAIL() << "the exchange succeeded";
  } catch (const ExceptionRS232& e) {
    EXPECT_TRUE(c.rs232);
    EXPECT_EQ(e.message(), c.message);
  } catch (const Exception& e) {
    EXPECT_FALSE(c.rs232);
    EXPECT_EQ(e.message(), c.message);
  }
  std::vector<std::string> expected{c.message};
  if (c.rs232) {
    expected.push_back("COM Exception -> " + c.message);
  }
  auto texts = log.texts();
  texts.erase(texts.begin());  // "COM7 Opened -> ..."
  EXPECT_EQ(texts, expected);

  // The port stays open and the next exchange, on a clean line, succeeds.
  peer.reset();
  answerAlways(kVersionReply);
  link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, payload);
  EXPECT_EQ(payload.size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, LinkFailure,
    ::testing::Values(
        FailureCase{"LengthZeroFailsTheChecksum",
                    {0x1F, 0x00},
                    false,
                    "Error -> \"checksum\" reply order is invalid ->ordre : REQ_ORDER_VERSION !"},
        FailureCase{"WrongChecksum",
                    {0x1F, 0x05, 0x03, 0x05, 0x17, 0x00, 0x44},
                    false,
                    "Error -> \"checksum\" reply order is invalid ->ordre : REQ_ORDER_VERSION !"},
        // Read to its end first, then refused for its start byte.
        FailureCase{"WrongStartByte",
                    {0x1E, 0x05, 0x03, 0x05, 0x17, 0x00, 0x42},
                    false,
                    "Error -> Order reply is not valid ->ordre : REQ_ORDER_VERSION !"},
        FailureCase{"LengthBeyondTheBuffer",
                    {0x1F, 0x1D, 0x00},
                    true,
                    "Read Buffer (DATA), ERROR -> length=29 byte(s) announced, at most 28 "
                    "byte(s) fit a reply ->ordre : REQ_ORDER_VERSION !"},
        FailureCase{"Silence",
                    {},
                    true,
                    "Read Buffer, ERROR -> read=0 byte(s), expected=2 byte(s) ->ordre : "
                    "REQ_ORDER_VERSION !"},
        FailureCase{"OneByte",
                    {0x1F},
                    true,
                    "Read Buffer, ERROR -> read=1 byte(s), expected=2 byte(s) ->ordre : "
                    "REQ_ORDER_VERSION !"},
        FailureCase{"HeaderOnly",
                    {0x1F, 0x05},
                    true,
                    "Read Buffer (DATA), NO RESPONSE, expected=5 byte(s) -> ->ordre : "
                    "REQ_ORDER_VERSION !"},
        FailureCase{"ShortBody",
                    {0x1F, 0x05, 0x03, 0x05},
                    true,
                    "Read Buffer (DATA), ERROR -> read=2 byte(s) are  | 0x1F | 0x05 , "
                    "expected=5 byte(s) -> ordre : REQ_ORDER_VERSION !"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(LinkTest, ExchangeAfterCloseFailsToWrite) {
  link.OpenCom(kPort);
  link.CloseCom();
  TArrayByte payload;
  try {
    link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, payload);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), "WriteBuffer error 0 , 4! ->ordre : REQ_ORDER_VERSION !");
  }
}

TEST_F(LinkTest, OrderLengthLimits) {
  answerAlways({0x1F, 0x01, 0x20});
  link.OpenCom(kPort);
  TArrayByte payload;
  EXPECT_THROW(link.SendOrder_ReceiveFeedBack(TArrayByte(255, REQ_SET_CONFIG), payload),
               ERangeCheck);
  link.SendOrder_ReceiveFeedBack(TArrayByte(254, REQ_SET_CONFIG), payload);
  // Only the 254-byte order reached the line: the longer one was refused before writing.
  const auto requests = peer->requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].size(), 257u);
  EXPECT_EQ(requests[0][1], 255);
}

TEST_F(LinkTest, StaleBytesArePurgedBeforeAnOrder) {
  // Our own view of the line, opened before the link takes it exclusively.
  const int observer = open(pty.slavePath().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(observer, 0);
  const TArrayByte stale{0x1F, 0x05, 0x00, 0x00};
  peer = std::make_unique<ScriptedPeer>(pty.masterFd(),
                                        [](const TArrayByte&) { return kVersionReply; });
  peer->sendRaw(stale);
  int pending = 0;
  while (pending < static_cast<int>(stale.size())) {
    ioctl(observer, FIONREAD, &pending);
    std::this_thread::yield();
  }
  link.OpenCom(kPort);
  TArrayByte payload;
  link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, payload);
  EXPECT_EQ(payload, (TArrayByte{0x03, 0x05, 0x17, 0x00}));
  close(observer);
}

TEST_F(LinkTest, BootloaderOrderIsWrittenWithoutReading) {
  answerAlways({});
  link.OpenCom(kPort);
  link.SendOrder({REQ_BOOTLOADER});
  ASSERT_TRUE(peer->waitForRequests(1));
  EXPECT_EQ(peer->requests()[0], BuildRequestFrame({REQ_BOOTLOADER}));
}

// Linux: the state letter of a thread of this process ('S' while it sleeps on a lock).
char ThreadState(pid_t tid) {
  std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const auto end = text.rfind(')');
  return end == std::string::npos || end + 2 >= text.size() ? '?' : text[end + 2];
}

TEST_F(LinkTest, CloseWaitsForTheExchangeInProgress) {
  // The exchange must still be waiting for its reply while the test watches the closing
  // thread, however slowly a loaded machine runs it; the reply is released by the test.
  SetLinkTiming({.readTimeout = std::chrono::seconds(10)});
  std::latch release(1);
  answerWith([&](const TArrayByte&) {
    release.wait();
    return kVersionReply;
  });
  link.OpenCom(kPort);
  TArrayByte payload;
  std::jthread poll([&] { link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, payload); });
  ASSERT_TRUE(peer->waitForRequests(1));
  std::atomic<pid_t> closerTid = 0;
  std::atomic<bool> closed = false;
  std::jthread closer([&] {
    closerTid = static_cast<pid_t>(syscall(SYS_gettid));
    link.CloseCom();
    closed = true;
  });
  // The reply is released only once the closing thread sleeps on the link's lock.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  bool waited = false;
  while (!waited && std::chrono::steady_clock::now() < deadline) {
    waited = closerTid != 0 && ThreadState(closerTid) == 'S';
    std::this_thread::yield();
  }
  const bool closedUnderTheExchange = closed;
  // Released whatever was seen: the board's thread must not outlive the latch it waits on.
  release.count_down();
  poll.join();
  closer.join();
  peer.reset();  // its thread is done with the latch
  ASSERT_TRUE(waited) << "the closing thread never waited";
  EXPECT_FALSE(closedUnderTheExchange) << "the port closed under the exchange";
  EXPECT_EQ(payload, (TArrayByte{0x03, 0x05, 0x17, 0x00}));
  EXPECT_THAT(log.texts().back(), ::testing::StartsWith("COM closed -> "));
}

}  // namespace
}  // namespace vesk
