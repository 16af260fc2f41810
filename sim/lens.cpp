#include "sim/lens.h"

#include <algorithm>
#include <cstdlib>

#include "common/reply_reader.h"
#include "sim/put_word.h"

namespace vesk::sim {
namespace {

constexpr std::uint8_t kPresent = 0xAA;
constexpr std::uint8_t kAbsent = 0x00;
constexpr std::uint8_t kUnknownOrderByte = 0xFF;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;
constexpr std::size_t kOldLensBytes = 11;
constexpr std::size_t kMaxName = 27;  // the longest payload a reply carries

constexpr std::uint8_t kIrisOpen = 0xFF;
constexpr std::uint8_t kIrisClose = 0x77;
constexpr std::uint8_t kFocusFar = 0x12;
constexpr std::uint8_t kFocusNear = 0x13;
constexpr std::uint8_t kFocusOffset = 0x14;

}  // namespace

TArrayByte Lens::lensBytes() const {
  const LensSetup& s = setup_;
  TArrayByte bytes;
  // The 0x80 frame: identifier, focal range (a prime lens: both ends alike), spare bytes.
  PutWord(bytes, s.id);
  PutWord(bytes, s.focalMm);
  PutWord(bytes, s.focalMm);
  bytes.insert(bytes.end(), 3, 0);
  // The 0xB0 frame: a status byte and the two aperture codes.
  bytes.insert(bytes.end(), {0, s.apertureCodeA, s.apertureCodeB});
  PutWord(bytes, s.focalMm);
  PutWord(bytes, s.d1Cm);
  PutWord(bytes, s.d2Cm);
  return bytes;
}

TArrayByte Lens::infoReply(bool newProtocol) const {
  TArrayByte reply{setup_.present ? kPresent : kAbsent};
  const auto bytes = lensBytes();
  if (!setup_.present) {
    reply.resize(newProtocol ? 1 + bytes.size() : 1 + kOldLensBytes, 0);
  } else if (newProtocol) {
    reply.insert(reply.end(), bytes.begin(), bytes.end());
  } else {
    // Lens information (the 0x80 frame's start), then the aperture bytes.
    reply.insert(reply.end(), bytes.begin(), bytes.begin() + 7);
    reply.insert(reply.end(), {0, setup_.apertureCodeA, setup_.apertureCodeB, 0});
  }
  return reply;
}

TArrayByte Lens::nameReply(bool newProtocol) const {
  if (!newProtocol || !setup_.knowsNameOrder) {
    return {kUnknownOrderByte};
  }
  if (!setup_.present) {
    return {};
  }
  const std::string name = setup_.name.substr(0, kMaxName);
  return TArrayByte(name.begin(), name.end());
}

int Lens::maxApertureSteps() const {
  return std::min(255, std::abs(setup_.apertureCodeA - setup_.apertureCodeB));
}

TArrayByte Lens::diaphragm(const TArrayByte& order) {
  motorOrders_.push_back(order);
  if (!setup_.present || order.size() < 3) {
    return {kNak, static_cast<std::uint8_t>(aperture_)};
  }
  if (order[1] == kIrisOpen) {
    aperture_ = 0;
  } else if (order[1] == kIrisClose) {
    aperture_ = std::min(maxApertureSteps(), aperture_ + order[2]);
  } else {
    return {kNak, static_cast<std::uint8_t>(aperture_)};
  }
  return {kAck, static_cast<std::uint8_t>(aperture_)};
}

TArrayByte Lens::focus(const TArrayByte& order) {
  motorOrders_.push_back(order);
  const auto answer = [this](std::uint8_t status) {
    TArrayByte reply{status};
    PutWord(reply, static_cast<std::uint16_t>(focus_));
    return reply;
  };
  if (!setup_.present || order.size() < 4) {
    return answer(kNak);
  }
  switch (order[1]) {
    case kFocusFar:
      focus_ = kFocusSteps;
      break;
    case kFocusNear:
      focus_ = 0;
      break;
    case kFocusOffset: {
      const auto offset = static_cast<std::int16_t>(ReplyReader(order).word(2));
      focus_ = std::clamp(focus_ + offset, 0, kFocusSteps);
      break;
    }
    default:
      return answer(kNak);
  }
  return answer(kAck);
}

}  // namespace vesk::sim
