#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vesk::sim {

// One model of the model type table with a firmware that shows its pages: the older lens
// page needs a firmware below 2.2 on some models, the newer one 2.2 or 3.0 and later.
struct ModelPreset {
  std::string_view name;
  std::uint8_t type;
  std::uint8_t major;
  std::uint8_t minor;
  std::uint8_t feature;
  std::string_view shows;  // for the help text
};

std::span<const ModelPreset> ModelPresets();
// Null when no preset has that name.
const ModelPreset* FindPreset(std::string_view name);

constexpr std::string_view kDefaultPreset = "astel9-weather";

}  // namespace vesk::sim
