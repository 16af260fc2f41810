#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vesk::sim {

// What the board says about itself in the version reply and the serial number orders.
struct BoardIdentity {
  std::uint8_t major = 3;
  std::uint8_t minor = 5;
  std::uint8_t type = 34;
  // 5 or more turns the inside humidity on for models without the hot side.
  std::uint8_t feature = 0;
  std::string serial = "127512";  // six digits
};

// The Canon EF lens behind a lens board, as its 0x80 and 0xB0 frames describe it.
struct LensSetup {
  bool present = true;
  std::uint16_t id = 0x4C22;
  // The two aperture codes of the lens's range; in descending order they select the
  // extended table.
  std::uint8_t apertureCodeA = 0x20;
  std::uint8_t apertureCodeB = 0x58;
  std::uint16_t focalMm = 15;
  std::uint16_t d1Cm = 20;
  std::uint16_t d2Cm = 1000;
  std::string name = "EF15mm f/2.8 Fisheye";
  // Boards that do not know the name order answer 0xFF.
  bool knowsNameOrder = true;
};

// Faults injected into the replies, for testing the monitor's error paths.
struct BoardFaults {
  bool silent = false;  // orders are carried out, no reply is sent
  std::chrono::milliseconds delay{0};
  unsigned badChecksumEvery = 0;  // every k-th reply; 0 for none
  bool badStart = false;
  bool shortReply = false;      // the length byte announces more than is sent
  bool overLongLength = false;  // a whole frame whose length byte is above 28
  bool shortVersion = false;    // the version reply ends after the firmware version
  // The settings orders are answered as refused and change nothing: REQ_SET_CONFIG and
  // REQ_SET_TYPE_SERIAL with 0x00, REQ_ENABLE_HEATER with 2.
  bool refuseSettings = false;
  // The weather module's reply cut to its first bytes, as modules without the reference test
  // or the converter status send it; 0 for the whole reply.
  std::size_t dataExtLength = 0;
  // The weather module's converter status (byte 18 of its reply) reads 0x01, faulted.
  bool converterFaulted = false;
  // Each reply, with this chance in percent, also gets one fault drawn at random from the
  // board's seed: silence, a late reply, a bad checksum, a bad start byte, a short reply or
  // an over-long length byte. 0 for none.
  unsigned mixPercent = 0;
};

// The outside air held still, for tests that need known readings or a humid night.
struct HeldAir {
  double celsius = 0;
  double percent = 0;  // relative humidity
};

struct BoardSetup {
  BoardIdentity identity;
  LensSetup lens;
  BoardFaults faults;
  std::uint32_t seed = 1;
  // The outside temperature and humidity without their daily cycle and noise.
  std::optional<HeldAir> outsideAir;
};

}  // namespace vesk::sim
