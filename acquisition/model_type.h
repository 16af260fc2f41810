#pragma once

#include <cstdint>

namespace vesk {

// Models with the external weather module (pressure, wind, outside sensors on the module).
bool HasWeatherModule(std::uint8_t TypeCam);
// The same without 17: the second-generation analog front end of the module.
bool HasWeatherModuleV2(std::uint8_t TypeCam);

}  // namespace vesk
