#include "device/identity_orders.h"

#include <exception>

#include "link/com_obj_rs232.h"
#include "link/order_codes.h"

namespace vesk {

std::string ReadSerialNumber(TComObjRs232& link) {
  try {
    TArrayByte reply;
    link.SendOrder_ReceiveFeedBack({REQ_GET_SERIAL}, reply);
    // "00" and six digits; anything else is not a serial number.
    if (reply.size() != 8) {
      return "xxxxxx";
    }
    return std::string(reply.begin() + 2, reply.end());
  } catch (const std::exception&) {
    return "xxxxxx";
  }
}

}  // namespace vesk
