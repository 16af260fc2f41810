#include "acquisition/model_type.h"

#include "link/device_identity.h"

namespace vesk {

// The model table tells; the firmware version only chooses lens pages.
bool HasWeatherModule(std::uint8_t TypeCam) {
  return ModelTypeOf(TypeCam, 0).weatherPages;
}

bool HasWeatherModuleV2(std::uint8_t TypeCam) {
  return ModelTypeOf(TypeCam, 0).weatherModuleV2;
}

}  // namespace vesk
