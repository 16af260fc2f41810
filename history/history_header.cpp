#include "history/history_header.h"

#include <algorithm>

#include "common/exceptions.h"
#include "common/number_text.h"

namespace vesk {

const HistoryLayout& ReadHistoryTag(RawFile& file, const std::filesystem::path& fileName,
                                    std::span<const std::uint32_t> acceptedTags) {
  std::uint32_t tag = 0;
  file.readExact(&tag, sizeof tag);
  const HistoryLayout* layout = FindHistoryLayout(tag);
  if (layout == nullptr ||
      std::find(acceptedTags.begin(), acceptedTags.end(), tag) == acceptedTags.end()) {
    throw Exception(fileName.string() + " does not have the correct format !");
  }
  return *layout;
}

std::uint32_t ReadRecordCount(RawFile& file, const HistoryLayout& layout) {
  std::uint32_t count = 0;
  file.readExact(&count, sizeof count);
  const std::uint64_t size = file.size();
  const std::uint64_t available = size > kHistoryHeaderSize ? size - kHistoryHeaderSize : 0;
  const std::uint64_t needed = std::uint64_t{count} * layout.recordSize;
  if (needed > available) {
    throw Exception(
        FormatText("the header announces %u records of %zu bytes (%llu bytes) but "
                   "only %llu bytes follow it",
                   count, layout.recordSize, static_cast<unsigned long long>(needed),
                   static_cast<unsigned long long>(available)));
  }
  return count;
}

}  // namespace vesk
