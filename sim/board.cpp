#include "sim/board.h"

#include <algorithm>

#include "acquisition/model_type.h"
#include "common/number_text.h"
#include "link/frame.h"
#include "link/order_codes.h"
#include "sim/identity.h"
#include "sim/readings_replies.h"

namespace vesk::sim {
namespace {

// What a board answers to an order its firmware or its model does not know.
const TArrayByte kUnknownOrder{0xFF};
// The answers of a board that refuses the settings orders.
const TArrayByte kConfigRefused{0x00};
const TArrayByte kHeaterRefused{0x02};

bool IsRequestFrame(const TArrayByte& frame) {
  return frame.size() >= 4 && frame[0] == kRequestStart && frame[1] == frame.size() - 2 &&
         ComputeChecksum(frame.data(), frame.size() - 1) == frame.back();
}

}  // namespace

std::string OrderText(const TArrayByte& order) {
  std::string text;
  for (const std::uint8_t byte : order) {
    text += FormatText(text.empty() ? "%02X" : " %02X", byte);
  }
  return text;
}

Board::Board(const BoardSetup& setup, BoardClock clock)
    : identity_(setup.identity),
      lens_(setup.lens),
      clock_(std::move(clock)),
      noise_(setup.seed),
      seed_(setup.seed),
      outsideAir_(setup.outsideAir),
      faults_(setup.faults, setup.seed),
      delay_(setup.faults.delay),
      refuseSettings_(setup.faults.refuseSettings) {}

TArrayByte Board::answer(const TArrayByte& requestFrame) {
  delay_ = faults_.faults().delay;
  mixed_.reset();
  if (bootloader_ || !IsRequestFrame(requestFrame)) {
    return {};
  }
  const TArrayByte order(requestFrame.begin() + 2, requestFrame.end() - 1);
  if (observer_) {
    observer_(order);
  }
  if (order[0] == REQ_BOOTLOADER) {
    bootloader_ = true;
    return {};
  }
  SpoiledReply spoiled = faults_.apply(BuildReplyFrame(reply(order)));
  delay_ = spoiled.delay;
  mixed_ = spoiled.mixed;
  return std::move(spoiled.bytes);
}

TArrayByte Board::reply(const TArrayByte& order) {
  // A model without the lens interface answers as a lens board with no lens attached: the
  // monitor keeps its lens flag when the model changes to one that does not say otherwise,
  // and its polls go on asking for the lens.
  Lens& lens = DrivesLens(identity_.type) ? lens_ : noLens_;
  const bool newLens = UsesNewLensProtocol(identity_);
  switch (order[0]) {
    case REQ_ORDER_VERSION: {
      TArrayByte version = VersionReply(identity_);
      if (faults_.faults().shortVersion) {
        version.resize(2);
      }
      return version;
    }
    case REQ_GET_VOLTAGE:
      return voltageReply();
    case REQ_SET_CONFIG:
      return refuseSettings_ ? kConfigRefused : SetConfig(heating_, order);
    case REQ_GET_CONFIG:
      return GetConfig(heating_);
    case REQ_ENABLE_HEATER:
      return refuseSettings_ ? kHeaterRefused : EnableHeater(heating_, order);
    case SET_MANUAL_COOLER_ORDER:
      return SetManualCooler(cooling_, order);
    case SET_AUTO_COOLER_ORDER:
      return SetAutoCooler(cooling_, order);
    case GET_INFOS_EF_CANON:
      return lens.infoReply(newLens);
    case SET_CANON_DIAPH:
      return lens.diaphragm(order);
    case SET_CANON_FOCUS:
      return lens.focus(order);
    case REQ_GET_DATAEXT:
      return HasWeatherModule(identity_.type) ? dataExtReply() : kUnknownOrder;
    case GET_NAME_EF_CANON:
      return lens.nameReply(newLens);
    case REQ_SET_TYPE_SERIAL:
      if (!KnowsIdentityOrders(identity_)) {
        return kUnknownOrder;
      }
      return refuseSettings_ ? kConfigRefused : SetTypeAndSerial(identity_, order);
    case REQ_GET_SERIAL:
      return KnowsIdentityOrders(identity_) ? SerialReply(identity_) : kUnknownOrder;
    default:
      return kUnknownOrder;
  }
}

Ambient Board::ambient() {
  Ambient air = SampleAmbient(clock_(), noise_);
  if (outsideAir_) {
    air.outsideC = outsideAir_->celsius;
    air.outsideRH = outsideAir_->percent;
  }
  return air;
}

TArrayByte Board::voltageReply() {
  const Readings readings = TakeReadings(ambient(), heating_, cooling_, noise_);
  return VoltageReply(readings, heating_, cooling_, VoltageReplyLength(identity_));
}

TArrayByte Board::dataExtReply() {
  const Readings readings = TakeReadings(ambient(), heating_, cooling_, noise_);
  TArrayByte reply = DataExtReply(readings, heating_, HasWeatherModuleV2(identity_.type), noise_);
  if (faults_.faults().converterFaulted) {
    reply.back() = 0x01;
  }
  if (const std::size_t length = faults_.faults().dataExtLength; length > 0) {
    reply.resize(std::min(length, reply.size()));
  }
  return reply;
}

}  // namespace vesk::sim
