#include "link/order_codes.h"

namespace vesk {

std::string DecodeLastOrder(std::uint8_t LastOrder) {
  switch (LastOrder) {
    case REQ_ORDER_VERSION:
      return "ordre : REQ_ORDER_VERSION !";
    case REQ_GET_VOLTAGE:
      return "ordre : REQ_GET_VOLTAGE !";
    case REQ_SET_CONFIG:
      return "ordre : REQ_SET_CONFIG";
    case REQ_GET_CONFIG:
      return "ordre : REQ_GET_CONFIG";
    case REQ_ENABLE_HEATER:
      return "ordre : REQ_ENABLE_HEATER";
    case SET_MANUAL_COOLER_ORDER:
      return "ordre : SET_MANUAL_COOLER_ORDER";
    case SET_AUTO_COOLER_ORDER:
      return "ordre : SET_AUTO_COOLER_ORDER";
    case GET_INFOS_EF_CANON:
      return "ordre : GET_INFOS_EF_CANON";
    case SET_CANON_DIAPH:
      return "ordre : SET_CANON_DIAPH";
    case SET_CANON_FOCUS:
      return "ordre : SET_CANON_FOCUS";
    case REQ_GET_DATAEXT:
      return "ordre : REQ_GET_DATAEXT";
    default:
      return "unknown order !!";
  }
}

}  // namespace vesk
