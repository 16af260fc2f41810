#include "weather/weather_readout.h"

#include <cstdint>

#include "acquisition/reply_decoders.h"
#include "acquisition/sensor_conversions.h"
#include "common/exceptions.h"
#include "common/number_text.h"
#include "common/reply_reader.h"
#include "weather/binary_digits.h"

namespace vesk {
namespace {

constexpr unsigned kPressureMarker = 10;  // binary 01010 in bits 15 to 11

// The 12-bit converter's count in the top of the word, 4.096 V full scale.
double Volts(std::uint16_t word) {
  return (word >> 4) * 4.096 / 4096;
}

std::string Raw12(std::uint16_t word) {
  return BinaryDigits12(word) + FormatText("     0x%03X   %u", word, word);
}

TWeatherRow Pressure(const ReplyReader& reply, const HumidityConstants&) {
  const std::uint16_t P = reply.word(0);
  TWeatherRow row;
  row.raw = BinaryDigits16(P) + FormatText("     0x%04X   %u", P, P);
  const unsigned marker = P >> 11;
  if (marker == kPressureMarker) {
    const int d = (P >> 1) & 0x3FF;
    const double station = (d + 545.6) / 13.64 * 10;
    row.value = FormatText("    %1.1f Local hPa           %1.1f See level hPa (at 20°C)", station,
                           SeaLevelPressure(20, 550, station));
  } else {
    row.value = FormatText("    Error (Diagword is FALSE) com. error (0x%02X inst. of 0x%02X)",
                           marker, kPressureMarker);
    row.red = true;
  }
  return row;
}

TWeatherRow ReferenceTest(const ReplyReader& reply, const HumidityConstants&) {
  try {
    const std::uint16_t w = reply.word(16);
    const double V = Volts(w);
    return {Raw12(w), FormatText("    %1.3f V must be 2.5V          Diff=%1.3f V", V, 2.5 - V)};
  } catch (const ERangeCheck&) {
    return {"Not supported", "Not supported"};
  }
}

TWeatherRow AdcTemperature(const ReplyReader& reply, const HumidityConstants&) {
  const std::uint16_t w = reply.word(10);
  // Signed, 1/128 °C per unit.
  const double celsius = static_cast<std::int16_t>(w) / 16.0 * 0.125;
  return {Raw12(w), FormatText("    %1.2f °C", celsius)};
}

// The page divides by 2.66 before the amplifier and uses the second-generation constants
// whatever the model, unlike the poll.
TWeatherRow ExternalTemperature(const ReplyReader& reply, const HumidityConstants&) {
  const std::uint16_t w = reply.word(4);
  const double V = Volts(w);
  return {Raw12(w), FormatText("    before amp  : %1.2f V, then after %1.2f V           %1.2f°C",
                               V / 2.66, V, (V / 2.66 - 0.5) * 100)};
}

TWeatherRow ExternalHumidity(const ReplyReader& reply, const HumidityConstants& humidity) {
  const std::uint16_t w = reply.word(2);
  const double V = Volts(w);
  const double rh = (V / 5 - humidity.HumiditySensorOffset) * humidity.HumiditySensorGain;
  return {Raw12(w), FormatText("    %1.2f V        %1.1f%%", V, rh)};
}

TWeatherRow WindSpeed(const ReplyReader& reply, const HumidityConstants&) {
  const std::uint16_t w = reply.word(6);
  const double V = Volts(w);
  const double kmh = ((V / 2.663 - 0.305) / 75 * 1000 * 50 * 3.6) / 16.526;
  return {Raw12(w), FormatText("    before amp  : %1.2f V, then after %1.2f V      %1.2f  km/h",
                               V / 2.66, V, kmh)};
}

// Not clamped: the page shows what the vane says, a negative direction included.
TWeatherRow WindDirection(const ReplyReader& reply, const HumidityConstants&) {
  const std::uint16_t w = reply.word(8);
  const double V = Volts(w);
  const double degrees = (V / 2.663 - 0.3) / 1.2 * 360;
  return {Raw12(w), FormatText("    before amp  : %1.2f V, then after %1.2f V    %1.2f °", V / 2.66,
                               V, degrees)};
}

// The thresholds as the board compensates them are plain sensor counts, not shifted.
TWeatherRow TemperatureThreshold(const ReplyReader& reply, const HumidityConstants&) {
  const std::uint16_t w = reply.word(12);
  return {Raw12(w), FormatText("    %1.1f °C", CountToCelsius(w))};
}

TWeatherRow HumidityThreshold(const ReplyReader& reply, const HumidityConstants& humidity) {
  const std::uint16_t w = reply.word(14);
  return {Raw12(w), FormatText("    %1.1f %%", CountToHumidity(w, humidity))};
}

TADCStatus Status(const ReplyReader& reply) {
  if (reply.size() <= 18) {
    return {"Not supported...", std::nullopt};
  }
  return reply.byte(18) == 0 ? TADCStatus{"OK", false} : TADCStatus{"Faulted", true};
}

using RowOf = TWeatherRow (*)(const ReplyReader&, const HumidityConstants&);
constexpr std::array<RowOf, kWeatherRowCount> kRows = {
    Pressure,  ReferenceTest, AdcTemperature,       ExternalTemperature, ExternalHumidity,
    WindSpeed, WindDirection, TemperatureThreshold, HumidityThreshold};

}  // namespace

TWeatherReadout WeatherReadout(const TArrayByte& payload, const HumidityConstants& humidity) {
  const ReplyReader reply(payload);
  TWeatherReadout readout;
  try {
    for (const RowOf row : kRows) {
      readout.rows.push_back(row(reply, humidity));
    }
    readout.status = Status(reply);
  } catch (...) {
    readout.error = std::current_exception();
  }
  return readout;
}

}  // namespace vesk
