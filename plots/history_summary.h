#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "history/tinfos_rec.h"
#include "plots/plot_series.h"

namespace vesk {

// For each block of 32 records of the history, and each block of 256, the range of its dates
// and each series' lowest and highest value, so that a reduction over a long window reads a
// few blocks instead of every record. Records with a date that is not a finite number take no
// part, as they take no part in the charts.
//
// The history only grows, or is replaced as a whole by a load; the summary follows it by
// summarising new whole blocks, and starts again when the history is shorter than what it
// summarised or its first or last summarised record is no longer the same.
class HistorySummary {
 public:
  static constexpr std::size_t kLevels = 2;
  static constexpr std::array<std::size_t, kLevels> kBlock = {32, 256};
  static constexpr std::uint16_t kNone = 0xFFFF;  // no record in the block has a finite date

  struct Block {
    TDateTime minDate = 0;
    TDateTime maxDate = 0;
    // Offsets in the block: the earliest record among equal lowest dates or equal values,
    // the latest among equal highest dates. A series without a value in the block has NaN
    // and kNone.
    std::uint16_t minDateAt = kNone;
    std::uint16_t maxDateAt = kNone;
    std::array<std::uint16_t, kSeriesCount> minAt{};
    std::array<std::uint16_t, kSeriesCount> maxAt{};
    std::array<double, kSeriesCount> min{};
    std::array<double, kSeriesCount> max{};
  };

  void Update(const TTinfosRec& history);

  // Records summarised at a level: whole blocks from record 0 on.
  std::size_t covered(std::size_t level) const { return blocks_[level].size() * kBlock[level]; }
  const Block& block(std::size_t level, std::size_t k) const { return blocks_[level][k]; }

 private:
  bool Follows(const TTinfosRec& history) const;

  std::array<std::vector<Block>, kLevels> blocks_;
  TinfosRec first_;
  TinfosRec last_;
};

}  // namespace vesk
