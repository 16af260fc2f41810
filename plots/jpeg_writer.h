#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace vesk {

// A 24-bit picture: rows from the top, three bytes a pixel in the order red, green, blue,
// `stride` bytes from the start of one row to the next.
struct TRgbImage {
  const std::uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  std::size_t stride = 0;
};

// Writes the picture as a JPEG of the given quality (1 to 100), replacing the file in one step,
// so a reader (the upload) never finds it half-written. Raises EInOutError "Unable to write to "
// + the path when the file cannot be written, and Exception for a picture or a quality the
// encoder cannot take.
void WriteJpeg(const std::filesystem::path& file, const TRgbImage& image, int quality);

}  // namespace vesk
