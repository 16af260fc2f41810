#pragma once

#include <string>

#include "common/datetime.h"
#include "settings/settings_file.h"

namespace vesk {

// The text of status panel 1 while the cursor is over a chart, at date-time d and value v:
// a blank, the date-time text, twelve blanks and the value in the chart's unit
// (" 18/01/26 09:05:03            65.20 %RH").
std::string CursorReadout(TTimeChart chart, TDateTime d, double v);

}  // namespace vesk
