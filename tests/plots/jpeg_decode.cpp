#include "tests/plots/jpeg_decode.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

namespace vesk::test {

Decoded DecodeJpeg(const std::string& bytes) {
  jpeg_decompress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  Decoded d{static_cast<int>(info.output_width),
            static_cast<int>(info.output_height),
            info.output_components,
            {}};
  d.pixels.resize(static_cast<std::size_t>(d.width * d.height * d.components));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = d.pixels.data() + info.output_scanline * d.width * d.components;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return d;
}

}  // namespace vesk::test
