#include "cli/weather_output.h"

#include <algorithm>

#include "cli/json_writer.h"

namespace vesk::cli {
namespace {

// The widest raw text: 24 binary characters, 5 blanks, 0xFFFF, 3 blanks, 65535.
constexpr std::size_t kRawWidth = 43;
constexpr std::size_t kCaptionWidth = 22;

std::string Padded(std::string text, std::size_t width) {
  text.resize(std::max(text.size(), width), ' ');
  return text;
}

// The JSON writer takes one character per byte, as the board's texts come; the page's own
// texts are UTF-8 ("°"), so their characters up to U+00FF become one byte each.
std::string Latin1(const std::string& utf8) {
  std::string text;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if ((byte == 0xC2 || byte == 0xC3) && i + 1 < utf8.size()) {
      text += static_cast<char>(((byte & 0x03) << 6) | (utf8[++i] & 0x3F));
    } else {
      text += utf8[i];
    }
  }
  return text;
}

}  // namespace

std::string WeatherText(const TWeatherReadout& readout) {
  std::string text;
  for (std::size_t row = 0; row < readout.rows.size(); ++row) {
    text += Padded(kWeatherRowCaptions[row], kCaptionWidth) +
            Padded(readout.rows[row].raw, kRawWidth) + readout.rows[row].value + "\n";
  }
  if (readout.status) {
    text += "ADC Status :  " + readout.status->text + "\n";
  }
  return text;
}

std::string WeatherJson(const TWeatherReadout& readout) {
  std::string json;
  for (std::size_t row = 0; row < readout.rows.size(); ++row) {
    json += JsonObject()
                .add("Caption", kWeatherRowCaptions[row])
                .add("Raw", readout.rows[row].raw)
                .add("Value", Latin1(readout.rows[row].value))
                .add("Red", readout.rows[row].red)
                .text() +
            "\n";
  }
  if (readout.status) {
    JsonObject status;
    status.add("ADCStatus", readout.status->text);
    if (readout.status->red) {
      status.add("Red", *readout.status->red);
    }
    json += status.text() + "\n";
  }
  return json;
}

}  // namespace vesk::cli
