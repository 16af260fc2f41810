// LoadHistory on arbitrary files: every accepted layout's tag, damaged counts, short files.
// A load either fails with its message or holds no more records than the file can.
#include <cstddef>
#include <cstdint>

#include "common/exceptions.h"
#include "fuzz/fuzz_folder.h"
#include "history/history_format.h"
#include "history/history_load.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = vesk::fuzz::FuzzFolder() / "DatasVesk.bin";
  vesk::fuzz::WriteInput(file, data, size);
  vesk::TTinfosRec history;
  try {
    vesk::LoadHistory(file, vesk::kAllHistoryTags, history);
    // Every layout's record holds at least its 8-byte date.
    if (history.size() > size / 8) {
      __builtin_trap();
    }
  } catch (const vesk::Exception&) {
  }
  vesk::fuzz::DropLog();
  return 0;
}
