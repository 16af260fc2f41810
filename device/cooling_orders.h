#pragma once

namespace vesk {

class TComObjRs232;

// SET_MANUAL_COOLER_ORDER and SET_AUTO_COOLER_ORDER: switch the sensor cooler's manual or
// automatic mode. The board's answer is not examined; the next poll shows the mode it took.
// A link failure raises the link's error.
void SetManualCooler(TComObjRs232& link, bool on);
void SetAutoCooler(TComObjRs232& link, bool on);

}  // namespace vesk
