#include "device/identity_orders.h"

#include <exception>

#include "common/checked.h"
#include "common/convert_error.h"
#include "common/reply_reader.h"
#include "device/camera_models.h"
#include "link/com_obj_rs232.h"
#include "link/order_codes.h"

namespace vesk {
namespace {

constexpr std::uint8_t kIdentityTaken = 0x7E;

}  // namespace

std::uint32_t SerialNumberOfText(const std::string& text) {
  return ToCardinal(IntegerOfText(text));
}

bool IsAcceptedSerialNumber(std::uint32_t serial) {
  return serial > 127000 && serial < 135000;
}

IdentityAnswer SetTypeAndSerial(TComObjRs232& link, std::uint8_t type, std::uint32_t serial) {
  // Checked here rather than by the callers: any other number would not be six digits, and a
  // code outside the list would leave the board without a model it knows.
  if (!IsAcceptedSerialNumber(serial)) {
    return IdentityAnswer::SerialRefused;
  }
  if (CameraModelOfCode(type) == nullptr) {
    return IdentityAnswer::ModelRefused;
  }
  TArrayByte order{REQ_SET_TYPE_SERIAL, type};
  const std::string digits = "00" + std::to_string(serial);
  order.insert(order.end(), digits.begin(), digits.end());
  TArrayByte reply;
  link.SendOrder_ReceiveFeedBack(order, reply);
  return ReplyReader(reply).byte(0) == kIdentityTaken ? IdentityAnswer::Reconnect
                                                      : IdentityAnswer::Ignored;
}

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
