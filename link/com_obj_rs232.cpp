#include "link/com_obj_rs232.h"

#include "common/event_log.h"
#include "common/number_text.h"
#include "link/frame.h"
#include "link/order_codes.h"

namespace vesk {

TComObjRs232::TComObjRs232(std::filesystem::path programFolder)
    : programFolder_(std::move(programFolder)) {}

TComObjRs232::~TComObjRs232() {
  std::lock_guard lock(Command);
  port_.reset();
}

void TComObjRs232::OpenCom(int NumCom) {
  {
    std::lock_guard lock(Command);
    HCom_ = kInvalidHandle;
  }
  auto port = OpenSerialPort(NumCom, programFolder_);
  if (!port) {
    Fail("Error -> Cannot open COM port" + std::to_string(NumCom));
  }
  TakeOpened(std::move(port), "COM" + std::to_string(NumCom));
}

void TComObjRs232::OpenDevice(const std::string& device) {
  {
    std::lock_guard lock(Command);
    HCom_ = kInvalidHandle;
  }
  PortOpening opening = OpenSerialDevice(device);
  if (!opening.port) {
    Fail(PortOpenFailureText(device, opening));
  }
  TakeOpened(std::move(opening.port), device);
}

void TComObjRs232::TakeOpened(std::unique_ptr<SerialPort> port, const std::string& name) {
  std::uint32_t opened = kInvalidHandle;
  {
    std::lock_guard lock(Command);
    port_ = std::move(port);
    HCom_ = opened = port_->handleValue();
  }
  WriteLog(name + " Opened -> " + std::to_string(opened));
}

void TComObjRs232::AttachPort(std::unique_ptr<SerialPort> port) {
  std::lock_guard lock(Command);
  port_ = std::move(port);
  HCom_ = port_ ? port_->handleValue() : kInvalidHandle;
}

void TComObjRs232::CloseCom() {
  std::lock_guard lock(Command);
  if (!port_) {
    return;
  }
  const std::uint32_t closed = HCom_;
  port_.reset();
  HCom_ = kInvalidHandle;
  WriteLog("COM closed -> " + std::to_string(closed));
}

void TComObjRs232::SendOrder_ReceiveFeedBack(const TArrayByte& InOrder, TArrayByte& OutFeedBack) {
  std::lock_guard lock(Command);
  const TArrayByte frame = BuildOrderFrame(InOrder);
  OutFeedBack.assign(kReplyBufferSize, 0);
  WriteBuffer(frame);
  int NbTotal = 0;
  try {
    ReadBuffer(OutFeedBack, NbTotal);
  } catch (const ExceptionRS232& e) {
    WriteLog("COM Exception -> " + e.message());
    throw;
  }
  if (OutFeedBack[0] != kReplyStart) {
    Fail("Error -> Order reply is not valid ->" + DecodeLastOrder(LastOrder));
  }
  OutFeedBack.resize(static_cast<std::size_t>(NbTotal));
  if (ComputeChecksum(OutFeedBack.data(), OutFeedBack.size() - 1) != OutFeedBack.back()) {
    Fail("Error -> \"checksum\" reply order is invalid ->" + DecodeLastOrder(LastOrder));
  }
  // Payload only: drop start, length and checksum.
  OutFeedBack.pop_back();
  OutFeedBack.erase(OutFeedBack.begin(), OutFeedBack.begin() + 2);
}

void TComObjRs232::SendOrder(const TArrayByte& InOrder) {
  std::lock_guard lock(Command);
  WriteBuffer(BuildOrderFrame(InOrder));
}

TArrayByte TComObjRs232::BuildOrderFrame(const TArrayByte& InOrder) {
  TArrayByte frame = BuildRequestFrame(InOrder);
  LastOrder = frame[2];
  return frame;
}

void TComObjRs232::WriteBuffer(const TArrayByte& frame) {
  std::size_t written = 0;
  if (port_) {
    port_->purgeInput();
    written = port_->write(frame.data(), frame.size());
  }
  if (written != frame.size()) {
    Fail(FormatText("WriteBuffer error %d , %d! ->", static_cast<int>(written),
                    static_cast<int>(frame.size())) +
         DecodeLastOrder(LastOrder));
  }
}

void TComObjRs232::ReadBuffer(TArrayByte& reply, int& NbTotal) {
  const std::string order = DecodeLastOrder(LastOrder);
  const std::size_t header = port_ ? port_->read(reply.data(), 2) : 0;
  if (header < 2) {
    FailRead(FormatText("Read Buffer, ERROR -> read=%d byte(s), expected=%d byte(s) ->",
                        static_cast<int>(header), 2) +
             order);
  }
  const int L = reply[1];
  // A longer reply would not fit the buffer: refuse it before reading its body.
  if (L > kMaxReplyLength) {
    FailRead(FormatText("Read Buffer (DATA), ERROR -> length=%d byte(s) announced, at most %d "
                        "byte(s) fit a reply ->",
                        L, static_cast<int>(kMaxReplyLength)) +
             order);
  }
  const std::size_t body = port_->read(reply.data() + 2, static_cast<std::size_t>(L));
  if (body == 0 && L > 0) {
    FailRead(FormatText("Read Buffer (DATA), NO RESPONSE, expected=%d byte(s) -> ->", L) + order);
  }
  if (body < static_cast<std::size_t>(L)) {
    std::string dump;
    for (std::size_t i = 0; i < body; ++i) {
      dump += FormatText(" | 0x%02X", reply[i]);
    }
    FailRead(FormatText("Read Buffer (DATA), ERROR -> read=%d byte(s) are %s , expected=%d "
                        "byte(s) -> ",
                        static_cast<int>(body), dump.c_str(), L) +
             order);
  }
  NbTotal = L + 2;
}

void TComObjRs232::Fail(const std::string& message) {
  WriteLog(message);
  throw Exception(message);
}

void TComObjRs232::FailRead(const std::string& message) {
  WriteLog(message);
  throw ExceptionRS232(message);
}

}  // namespace vesk
