#include "device/camera_models.h"

#include <algorithm>

namespace vesk {

const CameraModel* CameraModelOfCode(std::uint8_t code) {
  const auto found = std::find_if(kCameraModels.begin(), kCameraModels.end(),
                                  [code](const CameraModel& m) { return m.code == code; });
  return found == kCameraModels.end() ? nullptr : &*found;
}

}  // namespace vesk
