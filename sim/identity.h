#pragma once

#include <cstdint>

#include "common/byte_array.h"
#include "sim/board_setup.h"

namespace vesk::sim {

// REQ_ORDER_VERSION: major, minor, then from firmware 2 on the model type and the feature
// byte.
TArrayByte VersionReply(const BoardIdentity& identity);
// A8, type, "00" and six digits: stored, answered with 0x7E; anything else gets 0x00 and
// changes nothing.
TArrayByte SetTypeAndSerial(BoardIdentity& identity, const TArrayByte& order);
// A9: "00" and the six digits.
TArrayByte SerialReply(const BoardIdentity& identity);

// Firmware 3 and later store their own model type and serial number.
bool KnowsIdentityOrders(const BoardIdentity& identity);
// Firmware 2.2 and later (2.2 and 2.20 alike) relay all 18 lens bytes and the lens name.
bool UsesNewLensProtocol(const BoardIdentity& identity);
// Models 5, 8, 9, 21, 22, 25 and 32 to 35 drive a Canon EF lens.
bool DrivesLens(std::uint8_t type);
// Models 4 to 9, 16, 17, 19 to 25 and 32 to 37 carry the hot-side block.
bool HasHotSide(std::uint8_t type);

}  // namespace vesk::sim
