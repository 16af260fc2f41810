#include "history/copy_file_blocks.h"

#include <vector>

#include "history/raw_file.h"

namespace vesk {

int CopyFileBlocks(const std::filesystem::path& source, const std::filesystem::path& target) {
  constexpr std::size_t kBlockSize = 65500;
  try {
    RawFile in = RawFile::OpenForReading(source);
    RawFile out = RawFile::Create(target);
    std::vector<char> buffer(kBlockSize);
    std::size_t got;
    do {
      got = in.read(buffer.data(), buffer.size());
      out.write(buffer.data(), got);
    } while (got == kBlockSize);
    out.close();
    return 0;
  } catch (...) {
    return 1;
  }
}

}  // namespace vesk
