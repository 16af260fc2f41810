#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vesk {

// A history file is a 4-byte format tag, a 4-byte record count N and N records, all
// little-endian. The program writes only the current tag; the two older ones are read by
// the CSV conversion.
inline constexpr std::uint32_t kTinfosRecTag = 0x1AE1A12F;
inline constexpr std::uint32_t kTinfosRecRozEzaTag = 0x1AE151AF;
inline constexpr std::uint32_t kTinfosRecCorvoTag = 0x1AE1513F;

inline constexpr std::size_t kHistoryHeaderSize = 8;

inline constexpr std::array<std::uint32_t, 1> kCurrentHistoryTag = {kTinfosRecTag};
inline constexpr std::array<std::uint32_t, 3> kAllHistoryTags = {kTinfosRecTag, kTinfosRecRozEzaTag,
                                                                 kTinfosRecCorvoTag};

struct HistoryLayout {
  std::uint32_t tag;
  const char* recordType;
  std::size_t recordSize;
};

// nullptr for a tag the program does not know.
const HistoryLayout* FindHistoryLayout(std::uint32_t tag);

// "0x1AE1A12F"
std::string TagText(std::uint32_t tag);

}  // namespace vesk
