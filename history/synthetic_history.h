#pragma once

#include <cstddef>

#include "history/tinfos_rec.h"

namespace vesk {

// A plausible history for demos and benchmarks: count records periodSeconds apart from
// start, with a daily and a seasonal temperature cycle and slow weather noise, humidity
// falling as the air warms, the heater on in damp or freezing air, pressure and wind.
// The same seed gives the same records.
TTinfosRec GenerateHistory(TDateTime start, std::size_t count, double periodSeconds,
                           unsigned seed = 1);

}  // namespace vesk
