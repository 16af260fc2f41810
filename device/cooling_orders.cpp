#include "device/cooling_orders.h"

#include <cstdint>

#include "link/com_obj_rs232.h"
#include "link/order_codes.h"

namespace vesk {
namespace {

void SendSwitch(TComObjRs232& link, std::uint8_t order, bool on) {
  TArrayByte reply;
  link.SendOrder_ReceiveFeedBack({order, static_cast<std::uint8_t>(on ? 1 : 0)}, reply);
}

}  // namespace

void SetManualCooler(TComObjRs232& link, bool on) {
  SendSwitch(link, SET_MANUAL_COOLER_ORDER, on);
}

void SetAutoCooler(TComObjRs232& link, bool on) {
  SendSwitch(link, SET_AUTO_COOLER_ORDER, on);
}

}  // namespace vesk
