#pragma once

#include "common/byte_array.h"

namespace vesk {

class TComObjRs232;

// REQ_GET_DATAEXT: the weather module's raw reply, as the diagnostics page shows it. A link
// failure is raised (and logged) by the link.
TArrayByte GetExtDatas(TComObjRs232& link);

}  // namespace vesk
