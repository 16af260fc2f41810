#pragma once

#include <cstdint>
#include <string>

namespace vesk {

class TComObjRs232;

// SET_CANON_FOCUS commands.
enum : std::uint8_t {
  kFocusMax = 0x12,
  kFocusMin = 0x13,
  kFocusOffset = 0x14,  // move by a signed offset
};

// The tags of the focus buttons of both lens pages.
enum : int {
  kTagFocusMax = 1,
  kTagFocusMin = 2,
  kTagFocusOffset = 3,
  kTagFocusRelative = 789,
  kTagFocusAbsolute = 791,
};

// One focus order, and where the program counts the focus once it is sent (AbsolFocus, 0 at
// the "Focus Min" end). The caller stores AbsolFocus before sending.
struct FocusOrder {
  std::uint8_t command = kFocusMax;
  std::int16_t offset =
      0;  // for an absolute position: the distance to it, as EditFocusOffsetv220 shows
  std::int32_t AbsolFocus = 0;
};

// Orders from AbsolFocus as it stands. An offset (for the absolute position: the distance to
// it) outside -32768 to 32767 raises "Range check error", so nothing is sent.
FocusOrder FocusMaxOrder(std::int32_t AbsolFocus);
FocusOrder FocusMinOrder();
// Moves without counting (the older page, scripts).
FocusOrder FocusOffsetOrder(long long offset, std::int32_t AbsolFocus);
FocusOrder RelativeFocusOrder(long long offset, std::int32_t AbsolFocus);
FocusOrder AbsoluteFocusOrder(long long position, std::int32_t AbsolFocus);

// The order of a focus button by its tag, with the number typed in its field (unused for
// max and min). A text that is not an integer raises "'text' is not a valid integer value".
FocusOrder FocusOrderOfTag(int tag, const std::string& text, std::int32_t AbsolFocus);

// A whole number as the focus fields take it: 32-bit, "$" or "0x" hexadecimal allowed.
std::int32_t FocusNumberOfText(const std::string& text);

// A5, command, offset high and low byte. The reply is not examined.
void SendFocusOrder(TComObjRs232& link, const FocusOrder& order);

}  // namespace vesk
