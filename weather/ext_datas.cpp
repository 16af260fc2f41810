#include "weather/ext_datas.h"

#include "link/com_obj_rs232.h"
#include "link/order_codes.h"

namespace vesk {

TArrayByte GetExtDatas(TComObjRs232& link) {
  TArrayByte reply;
  link.SendOrder_ReceiveFeedBack({REQ_GET_DATAEXT}, reply);
  return reply;
}

}  // namespace vesk
