#pragma once

#include <string_view>

namespace vesk {

// A file of the page, embedded in the program at build time (web/page/ and uPlot's files).
struct WebAsset {
  std::string_view path;  // "/", "/app.js" …
  std::string_view contentType;
  std::string_view body;
};

const WebAsset* FindWebAsset(std::string_view path);

}  // namespace vesk
