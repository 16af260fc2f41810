// indi_vesk_weather: started by indiserver, which talks to it over standard input and output
// and calls into the one device through libindidriver's own main.
#include <memory>

#include "indi/vesk_weather.h"

namespace {

const std::unique_ptr<vesk::indi::VeskWeather> driver(new vesk::indi::VeskWeather());

}  // namespace
