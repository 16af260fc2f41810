#pragma once

#include <array>
#include <cstdint>

namespace vesk {

// A model the identity order can write, with the type code the board receives for it (the
// code its version reply reports).
struct CameraModel {
  const char* text;
  std::uint8_t code;
};

// The "Camera Type" list, in the order the operator sees it, which is not the code order:
// "Camera BRISA 3" (33) comes before "Camera Astel 9" (32).
inline constexpr std::array<CameraModel, 12> kCameraModels{{
    {"Camera Corvo", 16},
    {"Camera Astel 3/6 + Wind module", 19},
    {"Camera Astel 3/6", 20},
    {"Camera Astel 5", 23},
    {"Camera Astel 5 + Wind module", 24},
    {"Camera BRISA 2", 25},
    {"Camera BRISA 3", 33},
    {"Camera Astel 9", 32},
    {"Camera Astel 9 + Wind Module", 34},
    {"Camera Corvo Sud", 35},
    {"Camera Astel 4", 36},
    {"Camera Astel 4 + Wind Module", 37},
}};

// The list entry of a type code; nullptr for a code the list does not hold (0 among them,
// the type byte of "no model selected").
const CameraModel* CameraModelOfCode(std::uint8_t code);

}  // namespace vesk
