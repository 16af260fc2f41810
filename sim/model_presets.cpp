#include "sim/model_presets.h"

#include <algorithm>
#include <array>

namespace vesk::sim {
namespace {

constexpr std::array kPresets{
    ModelPreset{"is", 2, 3, 5, 5, "IS type, inside humidity"},
    ModelPreset{"tarn-uncool", 3, 3, 5, 0, "Tarn uncool"},
    ModelPreset{"tarn-cooled", 4, 3, 5, 0, "Tarn cooled, full cooling page"},
    ModelPreset{"brisa", 5, 2, 18, 0, "Brisa, older lens page"},
    ModelPreset{"lumen-v1", 6, 3, 5, 0, "Lumen v1, cooling page"},
    ModelPreset{"quill-is", 7, 3, 5, 0, "Quill IS"},
    ModelPreset{"corvo", 16, 3, 5, 0, "Corvo"},
    ModelPreset{"astel-ext-v1", 17, 3, 5, 0, "Astel Ext v1, first weather module"},
    ModelPreset{"astel2-ext-v2", 19, 3, 5, 0, "Astel2 Ext v2, weather pages"},
    ModelPreset{"astel2", 20, 3, 5, 0, "Astel2"},
    ModelPreset{"astel8", 21, 2, 20, 0, "Astel 8, newer lens page"},
    ModelPreset{"astel8-ext-v2", 22, 2, 18, 0, "Astel8 Ext v2, weather and older lens pages"},
    ModelPreset{"astel5", 23, 3, 5, 0, "Astel 5, cooling page"},
    ModelPreset{"astel5-weather", 24, 3, 5, 0, "Astel 5 Weather, weather pages"},
    ModelPreset{"brisa-2m", 25, 3, 0, 0, "Brisa 2M, newer lens page"},
    ModelPreset{"astel9", 32, 3, 5, 0, "Astel 9, newer lens page"},
    ModelPreset{"brisa-3m", 33, 3, 5, 0, "BRISA 3M, newer lens page"},
    ModelPreset{"astel9-weather", 34, 3, 5, 0, "Astel9 Weather, weather and newer lens pages"},
    ModelPreset{"corvo-south", 35, 3, 5, 0, "Corvo South, newer lens page"},
    ModelPreset{"astel4", 36, 3, 5, 0, "Astel 4, cooling page"},
    ModelPreset{"astel4-weather", 37, 3, 5, 0, "Astel 4 Weather, weather pages"},
};

}  // namespace

std::span<const ModelPreset> ModelPresets() {
  return kPresets;
}

const ModelPreset* FindPreset(std::string_view name) {
  const auto found = std::find_if(kPresets.begin(), kPresets.end(),
                                  [name](const ModelPreset& p) { return p.name == name; });
  return found == kPresets.end() ? nullptr : &*found;
}

}  // namespace vesk::sim
