#include "plots/history_summary.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "plots/series_values.h"

namespace vesk {
namespace {

using Block = HistorySummary::Block;
constexpr auto kNone = HistorySummary::kNone;

bool SameRecord(const TinfosRec& a, const TinfosRec& b) {
  return std::memcmp(&a, &b, sizeof(TinfosRec)) == 0;
}

// A series with no value in the block keeps NaN, which a reduction never takes.
Block EmptyBlock() {
  Block block;
  block.minAt.fill(kNone);
  block.maxAt.fill(kNone);
  block.min.fill(std::numeric_limits<double>::quiet_NaN());
  block.max.fill(std::numeric_limits<double>::quiet_NaN());
  return block;
}

// Parts are taken in the order of their records, so the earliest wins among equal values.
void TakeDates(Block& block, TDateTime min, TDateTime max, std::uint16_t minAt,
               std::uint16_t maxAt) {
  if (block.minDateAt == kNone || min < block.minDate) {
    block.minDate = min;
    block.minDateAt = minAt;
  }
  if (block.maxDateAt == kNone || max >= block.maxDate) {
    block.maxDate = max;
    block.maxDateAt = maxAt;
  }
}

void TakeValues(Block& block, std::size_t s, double min, double max, std::uint16_t minAt,
                std::uint16_t maxAt) {
  if (block.minAt[s] == kNone || min < block.min[s]) {
    block.min[s] = min;
    block.minAt[s] = minAt;
  }
  if (block.maxAt[s] == kNone || max > block.max[s]) {
    block.max[s] = max;
    block.maxAt[s] = maxAt;
  }
}

Block FromRecords(const TTinfosRec& history, std::size_t base) {
  Block block = EmptyBlock();
  for (std::size_t k = 0; k < HistorySummary::kBlock[0]; ++k) {
    const std::size_t i = base + k;
    const TDateTime date = history[i].Date;
    if (!std::isfinite(date)) {
      continue;
    }
    const auto at = static_cast<std::uint16_t>(k);
    TakeDates(block, date, date, at, at);
    TRecordValues values;
    RecordValues(history, i, values);
    for (std::size_t s = 0; s < kSeriesCount; ++s) {
      if (!std::isnan(values[s])) {
        TakeValues(block, s, values[s], values[s], at, at);
      }
    }
  }
  return block;
}

Block FromBlocks(const std::vector<Block>& parts, std::size_t first, std::size_t count,
                 std::size_t partSize) {
  Block block = EmptyBlock();
  for (std::size_t k = 0; k < count; ++k) {
    const Block& part = parts[first + k];
    const auto offset = static_cast<std::uint16_t>(k * partSize);
    if (part.minDateAt == kNone) {
      continue;
    }
    TakeDates(block, part.minDate, part.maxDate, offset + part.minDateAt, offset + part.maxDateAt);
    for (std::size_t s = 0; s < kSeriesCount; ++s) {
      if (part.minAt[s] != kNone) {
        TakeValues(block, s, part.min[s], part.max[s], offset + part.minAt[s],
                   offset + part.maxAt[s]);
      }
    }
  }
  return block;
}

}  // namespace

bool HistorySummary::Follows(const TTinfosRec& history) const {
  const std::size_t n = covered(0);
  return history.size() >= n &&
         (n == 0 || (SameRecord(history.front(), first_) && SameRecord(history[n - 1], last_)));
}

void HistorySummary::Update(const TTinfosRec& history) {
  if (!Follows(history)) {
    for (auto& level : blocks_) {
      level.clear();
    }
  }
  std::vector<Block>& records = blocks_[0];
  const std::size_t whole = history.size() / kBlock[0];
  if (whole == records.size()) {
    return;
  }
  if (records.empty()) {
    records.reserve(whole);
  }
  for (std::size_t k = records.size(); k < whole; ++k) {
    records.push_back(FromRecords(history, k * kBlock[0]));
  }
  constexpr std::size_t kParts = kBlock[1] / kBlock[0];
  for (std::size_t k = blocks_[1].size(); (k + 1) * kParts <= records.size(); ++k) {
    blocks_[1].push_back(FromBlocks(records, k * kParts, kParts, kBlock[0]));
  }
  first_ = history.front();
  last_ = history[covered(0) - 1];
}

}  // namespace vesk
