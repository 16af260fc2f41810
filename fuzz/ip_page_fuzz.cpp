// The IP echo page reader on any page: a part of the page, nothing else.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "plots/ip_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string page(reinterpret_cast<const char*>(data), size);
  const std::string address = vesk::AddressFromPage(page);
  if (address.find('<') != std::string::npos ||
      (!address.empty() && page.find(address) == std::string::npos)) {
    std::abort();
  }
  return 0;
}
