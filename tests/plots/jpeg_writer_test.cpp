#include "plots/jpeg_writer.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/exceptions.h"
#include "tests/plots/jpeg_decode.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using test::Decoded;
using test::DecodeJpeg;
using test::ReadFile;
using test::TempFolder;

// A chart-sized picture: red on the left, blue on the right, rows padded as a screen
// picture's are.
struct Picture {
  Picture(int w, int h) : width(w), height(h), stride(static_cast<std::size_t>(w) * 3 + 2) {
    bytes.assign(stride * static_cast<std::size_t>(h), 0xEE);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        std::uint8_t* p = &bytes[static_cast<std::size_t>(y) * stride + x * 3];
        p[0] = x < w / 2 ? 220 : 10;
        p[1] = 20;
        p[2] = x < w / 2 ? 30 : 200;
      }
    }
  }
  TRgbImage image() const { return {bytes.data(), width, height, stride}; }
  int width, height;
  std::size_t stride;
  std::vector<std::uint8_t> bytes;
};

TEST(JpegWriter, WritesAPictureThatDecodesToItsSizeAndColours) {
  TempFolder folder;
  const Picture picture(301, 123);
  WriteJpeg(folder / "Temp.jpg", picture.image(), 100);
  const Decoded d = DecodeJpeg(ReadFile(folder / "Temp.jpg"));
  ASSERT_EQ(d.width, 301);
  ASSERT_EQ(d.height, 123);
  ASSERT_EQ(d.components, 3);
  const auto near = [](int got, int want) { return std::abs(got - want) <= 4; };
  for (const auto& [x, r, b] : {std::tuple{10, 220, 30}, std::tuple{290, 10, 200}}) {
    const std::uint8_t* p = &d.pixels[static_cast<std::size_t>((60 * d.width + x) * 3)];
    EXPECT_TRUE(near(p[0], r) && near(p[1], 20) && near(p[2], b))
        << x << ": " << int(p[0]) << "," << int(p[1]) << "," << int(p[2]);
  }
}

TEST(JpegWriter, ReplacesThePreviousPicture) {
  TempFolder folder;
  WriteJpeg(folder / "RH.jpg", Picture(400, 300).image(), 100);
  WriteJpeg(folder / "RH.jpg", Picture(64, 48).image(), 100);
  const Decoded d = DecodeJpeg(ReadFile(folder / "RH.jpg"));
  EXPECT_EQ(d.width, 64);
  EXPECT_EQ(d.height, 48);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            1)
      << "no temporary file left behind";
}

TEST(JpegWriter, FailuresRaiseAndLeaveNoFile) {
  TempFolder folder;
  const Picture picture(20, 10);
  const auto file = folder / "Images" / "Temp.jpg";  // the folder was deleted
  try {
    WriteJpeg(file, picture.image(), 100);
    FAIL() << "written into a missing folder";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.message(), "Unable to write to " + file.string());
  }
  EXPECT_THROW(WriteJpeg(folder / "q.jpg", picture.image(), 0), Exception);
  EXPECT_THROW(WriteJpeg(folder / "q.jpg", picture.image(), 101), Exception);
  EXPECT_THROW(WriteJpeg(folder / "q.jpg", {picture.bytes.data(), 20, 10, 59}, 100), Exception);
  // Beyond what the format can hold: the encoder's own refusal comes back as an exception.
  const std::vector<std::uint8_t> wide(70000 * 3);
  try {
    WriteJpeg(folder / "wide.jpg", {wide.data(), 70000, 1, wide.size()}, 100);
    FAIL() << "a picture wider than JPEG allows";
  } catch (const Exception& e) {
    EXPECT_NE(e.message().find("JPEG encoding of"), std::string::npos) << e.message();
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

}  // namespace
}  // namespace vesk
