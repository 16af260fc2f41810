#include "acquisition/model_type.h"

namespace vesk {

bool HasWeatherModule(std::uint8_t TypeCam) {
  return TypeCam == 17 || HasWeatherModuleV2(TypeCam);
}

bool HasWeatherModuleV2(std::uint8_t TypeCam) {
  switch (TypeCam) {
    case 19:
    case 22:
    case 24:
    case 34:
    case 37:
      return true;
    default:
      return false;
  }
}

}  // namespace vesk
