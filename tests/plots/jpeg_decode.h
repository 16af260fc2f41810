#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk::test {

// A JPEG decoded by libjpeg: rows from the top, `components` bytes a pixel.
struct Decoded {
  int width = 0;
  int height = 0;
  int components = 0;
  std::vector<std::uint8_t> pixels;

  const std::uint8_t* at(int x, int y) const {
    return &pixels[static_cast<std::size_t>((y * width + x) * components)];
  }
};

Decoded DecodeJpeg(const std::string& bytes);

}  // namespace vesk::test
