#include "lens/focus_orders.h"

#include <utility>

#include "common/byte_array.h"
#include "common/checked.h"
#include "common/exceptions.h"
#include "common/number_text.h"
#include "link/com_obj_rs232.h"
#include "link/order_codes.h"

namespace vesk {

FocusOrder FocusMaxOrder(std::int32_t AbsolFocus) {
  return {kFocusMax, 0, AbsolFocus};
}

FocusOrder FocusMinOrder() {
  return {kFocusMin, 0, 0};
}

FocusOrder FocusOffsetOrder(long long offset, std::int32_t AbsolFocus) {
  return {kFocusOffset, CheckedNarrow<std::int16_t>(offset), AbsolFocus};
}

FocusOrder RelativeFocusOrder(long long offset, std::int32_t AbsolFocus) {
  const auto checked = CheckedNarrow<std::int16_t>(offset);
  return {kFocusOffset, checked, CheckedNarrow<std::int32_t>(std::int64_t{AbsolFocus} + checked)};
}

FocusOrder AbsoluteFocusOrder(long long position, std::int32_t AbsolFocus) {
  const auto target = CheckedNarrow<std::int32_t>(position);
  return {kFocusOffset, CheckedNarrow<std::int16_t>(position - AbsolFocus), target};
}

std::int32_t FocusNumberOfText(const std::string& text) {
  long long value = 0;
  if (!TextToInt(text, value, true) || !std::in_range<std::int32_t>(value)) {
    throw Exception("'" + text + "' is not a valid integer value");
  }
  return static_cast<std::int32_t>(value);
}

FocusOrder FocusOrderOfTag(int tag, const std::string& text, std::int32_t AbsolFocus) {
  switch (tag) {
    case kTagFocusMax:
      return FocusMaxOrder(AbsolFocus);
    case kTagFocusMin:
      return FocusMinOrder();
    case kTagFocusOffset:
      return FocusOffsetOrder(FocusNumberOfText(text), AbsolFocus);
    case kTagFocusRelative:
      return RelativeFocusOrder(FocusNumberOfText(text), AbsolFocus);
    case kTagFocusAbsolute:
      return AbsoluteFocusOrder(FocusNumberOfText(text), AbsolFocus);
    default:
      throw Exception(FormatText("No focus order for tag %d", tag));
  }
}

void SendFocusOrder(TComObjRs232& link, const FocusOrder& order) {
  const auto word = static_cast<std::uint16_t>(order.offset);
  TArrayByte reply;
  link.SendOrder_ReceiveFeedBack(
      {SET_CANON_FOCUS, order.command, static_cast<std::uint8_t>(word >> 8),
       static_cast<std::uint8_t>(word & 0xFF)},
      reply);
}

}  // namespace vesk
