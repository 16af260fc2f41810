#include "sim/identity.h"

#include <algorithm>

namespace vesk::sim {
namespace {

constexpr std::uint8_t kIdentityStored = 0x7E;
constexpr std::uint8_t kIdentityRefused = 0x00;
constexpr std::size_t kIdentityOrderLength = 10;

bool IsDigit(std::uint8_t c) {
  return c >= '0' && c <= '9';
}

}  // namespace

TArrayByte VersionReply(const BoardIdentity& identity) {
  if (identity.major < 2) {
    return {identity.major, identity.minor};
  }
  return {identity.major, identity.minor, identity.type, identity.feature};
}

TArrayByte SetTypeAndSerial(BoardIdentity& identity, const TArrayByte& order) {
  if (order.size() != kIdentityOrderLength || order[2] != '0' || order[3] != '0' ||
      !std::all_of(order.begin() + 4, order.end(), IsDigit)) {
    return {kIdentityRefused};
  }
  identity.type = order[1];
  identity.serial.assign(order.begin() + 4, order.end());
  return {kIdentityStored};
}

TArrayByte SerialReply(const BoardIdentity& identity) {
  const std::string text = "00" + identity.serial;
  return TArrayByte(text.begin(), text.end());
}

bool KnowsIdentityOrders(const BoardIdentity& identity) {
  return identity.major >= 3;
}

bool UsesNewLensProtocol(const BoardIdentity& identity) {
  // The monitor reads minor 10 or less as tenths, above 10 as hundredths.
  const int hundredths = identity.minor <= 10 ? identity.minor * 10 : identity.minor;
  return identity.major * 100 + hundredths >= 220;
}

bool DrivesLens(std::uint8_t type) {
  switch (type) {
    case 5:
    case 8:
    case 9:
    case 21:
    case 22:
    case 25:
    case 32:
    case 33:
    case 34:
    case 35:
      return true;
    default:
      return false;
  }
}

bool HasHotSide(std::uint8_t type) {
  return (type >= 4 && type <= 9) || type == 16 || type == 17 || (type >= 19 && type <= 25) ||
         (type >= 32 && type <= 37);
}

}  // namespace vesk::sim
