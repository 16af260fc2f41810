#pragma once

#include <string>

#include "acquisition/poll_records.h"
#include "station/station_state.h"

namespace vesk::cli {

// What `vesk-cli lens` prints of one poll: the texts of the lens page that fits the firmware,
// and the apertures to choose from (the lens's list, or the five fixed ones of the older
// lens firmware). Each text ends with a newline; the JSON text is one object on one line.
std::string LensText(const LensPoll& poll, const LensState& lens, const TDataOUT& data);
std::string LensJson(const LensPoll& poll, const LensState& lens, const TDataOUT& data);

}  // namespace vesk::cli
