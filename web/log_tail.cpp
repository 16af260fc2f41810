#include "web/log_tail.h"

#include <algorithm>
#include <fstream>

namespace vesk {

std::vector<std::string> LogTail(const std::filesystem::path& file, std::size_t count) {
  constexpr std::streamoff kLongestLine = 1024;
  std::ifstream in(file, std::ios::binary);
  if (!in || count == 0) {
    return {};
  }
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  const std::streamoff start =
      std::max<std::streamoff>(0, size - static_cast<std::streamoff>(count + 1) * kLongestLine);
  in.seekg(start);
  std::string text(static_cast<std::size_t>(size - start), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  std::vector<std::string> lines;
  std::size_t from = 0;
  // Read from the middle of the file, the first line may be cut: it is left out.
  if (start > 0) {
    from = text.find('\n');
    from = from == std::string::npos ? text.size() : from + 1;
  }
  while (from < text.size()) {
    std::size_t end = text.find('\n', from);
    if (end == std::string::npos) {
      break;  // a line still being written
    }
    std::size_t last = end;
    if (last > from && text[last - 1] == '\r') {
      --last;
    }
    lines.emplace_back(text, from, last - from);
    from = end + 1;
  }
  if (lines.size() > count) {
    lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(count));
  }
  return lines;
}

}  // namespace vesk
