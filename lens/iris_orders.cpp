#include "lens/iris_orders.h"

#include <utility>

#include "common/checked.h"
#include "common/number_text.h"
#include "common/reply_reader.h"
#include "link/com_obj_rs232.h"
#include "link/order_codes.h"

namespace vesk {

void SetCanonDiaph(TComObjRs232& link, std::uint8_t steps) {
  TArrayByte reply;
  link.SendOrder_ReceiveFeedBack({SET_CANON_DIAPH, kIrisOpen, 0}, reply);
  link.SendOrder_ReceiveFeedBack({SET_CANON_DIAPH, kIrisClose, steps}, reply);
}

std::uint8_t ApertureListSteps(const TACanonDiaphInf& FACanonDiaphInf, long long index) {
  if (index < 0 || std::cmp_greater_equal(index, FACanonDiaphInf.size())) {
    throw ERangeCheck();
  }
  const auto chosen = FACanonDiaphInf[static_cast<std::size_t>(index)].HwCodeValue;
  return ToByte(chosen - FACanonDiaphInf.front().HwCodeValue);
}

std::array<std::uint8_t, 2> CloseIris(TComObjRs232& link, bool close, std::uint8_t steps) {
  TArrayByte reply;
  link.SendOrder_ReceiveFeedBack({SET_CANON_DIAPH, close ? kIrisClose : kIrisOpen, steps}, reply);
  const ReplyReader feedback(reply);
  return {feedback.byte(0), feedback.byte(1)};
}

std::string IrisFeedbackText(const std::array<std::uint8_t, 2>& reply) {
  return FormatText("0x%02X 0x%02X", reply[0], reply[1]);
}

}  // namespace vesk
