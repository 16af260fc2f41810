#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "common/byte_array.h"
#include "sim/ambient.h"
#include "sim/board_clock.h"
#include "sim/board_setup.h"
#include "sim/cooling.h"
#include "sim/heating.h"
#include "sim/lens.h"
#include "sim/noise.h"
#include "sim/reply_faults.h"

namespace vesk::sim {

// An order as the record file writes it: "A4 77 10".
std::string OrderText(const TArrayByte& order);

// The simulated board: a request frame in, the reply frame a board would send out. It keeps
// the state a board keeps (identity, heating setup, cooling modes, lens motors) and reads
// its sensors from the clock it is given, with noise from its seed, so a fixed clock and
// seed give fixed replies.
class Board {
 public:
  explicit Board(const BoardSetup& setup, BoardClock clock = SystemClock());

  // The bytes to send back; none for a request frame that is not valid (start byte,
  // length, checksum), for the bootloader order and after it, and when silent.
  TArrayByte answer(const TArrayByte& requestFrame);

  // Faults from now on, as a board that starts misbehaving while it is in use.
  void setFaults(const BoardFaults& faults) {
    faults_ = ReplyFaults(faults, seed_);
    delay_ = faults.delay;
    refuseSettings_ = faults.refuseSettings;
  }

  // The fault mix stops and goes on, as a soak switches it while the board runs.
  void pauseFaultMix(bool paused) { faults_.pauseMix(paused); }

  // Called with the payload of every valid request frame the board receives, before it
  // answers (the bootloader order included): what a test or a record file checks.
  using OrderObserver = std::function<void(const TArrayByte& order)>;
  void setOrderObserver(OrderObserver observer) { observer_ = std::move(observer); }

  // Another lens on the board, as when the operator changes it while the board runs; its
  // motors start over.
  void setLens(const LensSetup& setup) { lens_ = Lens(setup); }

  // How long the board waits before the reply answer() gave last (the fault mix makes some
  // replies late).
  std::chrono::milliseconds replyDelay() const { return delay_; }
  // The fault the mix chose for the reply answer() gave last, if any.
  std::optional<MixedFault> lastMixedFault() const { return mixed_; }

  const BoardIdentity& identity() const { return identity_; }
  const HeatingConfig& heating() const { return heating_; }
  const CoolingModes& cooling() const { return cooling_; }
  const Lens& lens() const { return lens_; }
  // The board left its application firmware for the bootloader: it answers nothing more.
  bool inBootloader() const { return bootloader_; }

 private:
  TArrayByte reply(const TArrayByte& order);
  // The air the sensors read now (the held outside air over the sampled one).
  Ambient ambient();
  TArrayByte voltageReply();
  TArrayByte dataExtReply();

  BoardIdentity identity_;
  HeatingConfig heating_ = DefaultHeating();
  CoolingModes cooling_;
  Lens lens_;
  // What a model without the lens interface answers the lens orders with.
  Lens noLens_{LensSetup{.present = false}};
  BoardClock clock_;
  Noise noise_;
  std::uint32_t seed_;
  std::optional<HeldAir> outsideAir_;
  ReplyFaults faults_;
  std::chrono::milliseconds delay_;
  std::optional<MixedFault> mixed_;
  bool refuseSettings_ = false;
  bool bootloader_ = false;
  OrderObserver observer_;
};

}  // namespace vesk::sim
