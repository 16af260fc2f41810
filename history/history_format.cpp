#include "history/history_format.h"

#include "common/number_text.h"
#include "history/older_records.h"

namespace vesk {
namespace {

constexpr std::array<HistoryLayout, 3> kLayouts = {{
    {kTinfosRecTag, "TinfosRec", sizeof(TinfosRec)},
    {kTinfosRecRozEzaTag, "TinfosRecRozEza", sizeof(TinfosRecRozEza)},
    {kTinfosRecCorvoTag, "TinfosRecCorvo", sizeof(TinfosRecCorvo)},
}};

}  // namespace

const HistoryLayout* FindHistoryLayout(std::uint32_t tag) {
  for (const auto& layout : kLayouts) {
    if (layout.tag == tag) {
      return &layout;
    }
  }
  return nullptr;
}

std::string TagText(std::uint32_t tag) {
  return FormatText("0x%08X", tag);
}

}  // namespace vesk
