#pragma once

#include <cstddef>
#include <cstdint>

#include "common/byte_array.h"
#include "sim/board_setup.h"
#include "sim/noise.h"
#include "sim/readings.h"

namespace vesk::sim {

// The REQ_GET_VOLTAGE reply is 9 bytes long, 15 with an inside humidity sensor and 21 with
// the hot-side block (hot side, status bytes, fan).
std::size_t VoltageReplyLength(const BoardIdentity& identity);

TArrayByte VoltageReply(const Readings& readings, const HeatingConfig& heating,
                        const CoolingModes& cooling, std::size_t length);

// The weather module's channels, the two thresholds as the board compensates them (the
// simulated board keeps them as written), the 2.5 V reference and the converter status.
TArrayByte DataExtReply(const Readings& readings, const HeatingConfig& heating, bool v2,
                        Noise& noise);

}  // namespace vesk::sim
