#pragma once

#include <cstdint>
#include <vector>

#include "common/byte_array.h"
#include "sim/board_setup.h"

namespace vesk::sim {

// The Canon EF lens behind a lens board: what the board relays of its frames, and its
// iris and focus motors.
class Lens {
 public:
  static constexpr int kFocusSteps = 4000;

  explicit Lens(const LensSetup& setup) : setup_(setup) {}

  // GET_INFOS_EF_CANON: the presence marker, then 11 lens bytes (older lens protocol) or
  // 18 (newer: the 0x80 frame, the 0xB0 frame, focal length, distances d1 and d2).
  TArrayByte infoReply(bool newProtocol) const;
  // GET_NAME_EF_CANON: the name, one character per byte; 0xFF from a board that does not
  // know the order.
  TArrayByte nameReply(bool newProtocol) const;
  // SET_CANON_DIAPH: A4, mode (0xFF open, 0x77 close by steps), steps. Answers ACK and the
  // steps now closed, or NAK.
  TArrayByte diaphragm(const TArrayByte& order);
  // SET_CANON_FOCUS: A5, command (0x12 far end, 0x13 near end, 0x14 offset), offset
  // word. Answers ACK and the focus position, or NAK.
  TArrayByte focus(const TArrayByte& order);

  int focusPosition() const { return focus_; }
  int apertureSteps() const { return aperture_; }
  // The iris and focus orders received, whole and in order, so tests can check their bytes.
  const std::vector<TArrayByte>& motorOrders() const { return motorOrders_; }

 private:
  TArrayByte lensBytes() const;
  int maxApertureSteps() const;

  LensSetup setup_;
  int focus_ = 0;
  int aperture_ = 0;  // encoder steps closed from fully open
  std::vector<TArrayByte> motorOrders_;
};

}  // namespace vesk::sim
