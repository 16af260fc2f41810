#include "lens/aperture_tables.h"

#include <algorithm>
#include <cstddef>
#include <span>

#include "common/checked.h"
#include "common/number_text.h"

namespace vesk {

const std::array<TInfoApertures, 52> ApertureTable{{
    {"f/1.0", 0x08, 1.0},   {"f/1.1", 0x0A, 1.1},   {"f/1.2", 0x0C, 1.2},   {"f/1.3", 0x0E, 1.3},
    {"f/1.4", 0x10, 1.4},   {"f/1.5", 0x12, 1.5},   {"f/1.7", 0x14, 1.7},   {"f/1.8", 0x15, 1.8},
    {"f/1.8", 0x16, 1.8},   {"f/2.0", 0x18, 2.0},   {"f/2.2", 0x1A, 2.2},   {"f/2.4", 0x1C, 2.4},
    {"f/2.6", 0x1E, 2.6},   {"f/2.8", 0x20, 2.8},   {"f/3.1", 0x22, 3.1},   {"f/3.5", 0x25, 3.5},
    {"f/3.6", 0x24, 3.5},   {"f/3.6", 0x26, 3.7},   {"f/4.0", 0x28, 4.0},   {"f/4.4", 0x2A, 4.4},
    {"f/4.8", 0x2C, 4.8},   {"f/5.2", 0x2E, 5.2},   {"f/5.6", 0x30, 5.6},   {"f/6.2", 0x32, 6.2},
    {"f/6.7", 0x34, 6.7},   {"f/7.3", 0x36, 7.4},   {"f/8", 0x38, 8.0},     {"f/8.7", 0x3A, 8.7},
    {"f/9.5", 0x3C, 9.5},   {"f/10.4", 0x3E, 10.4}, {"f/11.3", 0x40, 11.3}, {"f/12.3", 0x42, 12.3},
    {"f/13.5", 0x44, 13.5}, {"f/14.7", 0x46, 14.7}, {"f/16", 0x48, 16.0},   {"f/17.4", 0x4A, 17.4},
    {"f/19", 0x4C, 19.0},   {"f/21", 0x4E, 21.0},   {"f/22", 0x4F, 22.0},   {"f/22", 0x50, 22.0},
    {"f/25", 0x52, 25.0},   {"f/27", 0x54, 26.9},   {"f/29", 0x56, 29.3},   {"f/32", 0x58, 32.0},
    {"f/35", 0x5A, 35.0},   {"f/38", 0x5C, 38.0},   {"f/41.5", 0x5E, 41.5}, {"f/45", 0x60, 45.0},
    {"f/50", 0x62, 50.0},   {"f/54", 0x64, 54.0},   {"f/59", 0x66, 59.0},   {"f/64", 0x68, 64.0},
}};

const std::array<TInfoApertures, 22> ExtendedApertureTable{{
    {"f/2.8", 0x6C, 2.8},   {"f/3.2", 0x70, 3.2},   {"f/3.5", 0x74, 3.5},   {"f/4.0", 0x78, 4.0},
    {"f/4.5", 0x7C, 4.5},   {"f/5.0", 0x80, 5.0},   {"f/5.6", 0x84, 5.6},   {"f/6.3", 0x88, 6.3},
    {"f/7.1", 0x8C, 7.1},   {"f/8.0", 0x90, 8.0},   {"f/9.0", 0x94, 9.0},   {"f/10.0", 0x98, 10.0},
    {"f/11.0", 0x9C, 11.0}, {"f/13.0", 0xA0, 13.0}, {"f/14.0", 0xA4, 14.0}, {"f/16.0", 0xA8, 16.0},
    {"f/18.0", 0xAC, 18.0}, {"f/20.0", 0xB0, 20.0}, {"f/22.0", 0xB5, 22.0}, {"f/25.0", 0xC8, 25.0},
    {"f/29.0", 0xD2, 29.0}, {"f/32.0", 0xEC, 32.0},
}};

namespace {

std::span<const TInfoApertures> TableOf(bool extended) {
  if (extended) {
    return ExtendedApertureTable;
  }
  return ApertureTable;
}

// Position (from 1) of the first row valued exactly value, 0 when there is none. The values
// come from the same tables or from fixed f-numbers they hold, so no tolerance is wanted.
std::ptrdiff_t PositionOfValue(std::span<const TInfoApertures> table, double value) {
  const auto row = std::find_if(table.begin(), table.end(),
                                [value](const TInfoApertures& r) { return r.AbsolValue == value; });
  return row == table.end() ? 0 : row - table.begin() + 1;
}

}  // namespace

double ApertureValueOfCode(std::uint8_t code, bool extended) {
  for (const TInfoApertures& row : TableOf(extended)) {
    if (row.SendValue == code) {
      return row.AbsolValue;
    }
  }
  return -1.0;
}

void ApertureListBetween(bool extended, TACanonDiaphInf& list, double minValue, double maxValue) {
  const auto table = TableOf(extended);
  const std::ptrdiff_t i = PositionOfValue(table, minValue);
  const std::ptrdiff_t j = PositionOfValue(table, maxValue);
  if (i == 0 || j == 0) {
    throw ElensCANONExcept(
        FormatText("Valeur (f/%1.1f / f/%1.1f) non trouvée dans la table des F/ des objectifs !!",
                   minValue, maxValue));
  }
  list.assign(CheckedNarrow<std::size_t>(j - i + 1), {});
  for (std::size_t k = 0; k < list.size(); ++k) {
    const TInfoApertures& row = table[static_cast<std::size_t>(i - 1) + k];
    list[k] = {row.FriendName, row.AbsolValue, static_cast<std::uint8_t>(i + k), row.SendValue};
  }
}

}  // namespace vesk
