#include "plots/ip_page.h"

namespace vesk {
namespace {

constexpr char kMarker[] = "Current IP Address: ";
constexpr std::size_t kMarkerLength = sizeof(kMarker) - 1;  // 20

}  // namespace

std::string AddressFromPage(const std::string& page) {
  const std::size_t marker = page.find(kMarker);
  const std::size_t start =
      marker == std::string::npos ? kMarkerLength - 1 : marker + kMarkerLength;
  if (start >= page.size()) {
    return {};
  }
  const std::size_t end = page.find('<', start);
  return page.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

}  // namespace vesk
