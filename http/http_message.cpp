#include "http/http_message.h"

namespace vesk {

std::string HttpRequest::Header(std::string_view lowerName) const {
  for (const auto& [name, value] : headers) {
    if (name == lowerName) {
      return value;
    }
  }
  return {};
}

}  // namespace vesk
