#include "acquisition/reply_decoders.h"

#include <gtest/gtest.h>

#include "acquisition/sensor_conversions.h"
#include "common/exceptions.h"

namespace vesk {
namespace {

constexpr std::uint8_t kAstelExtV1 = 17;  // first-generation weather module
constexpr std::uint8_t kAstel2ExtV2 = 19;

// A weather-module analog channel word: 1 mV per count, in the top 12 bits.
std::uint16_t Channel(int millivolts) {
  return static_cast<std::uint16_t>(millivolts << 4);
}

TArrayByte DataExt(std::uint16_t pressure, int rhMv, int tempMv, int speedMv, int dirMv,
                   std::int16_t moduleCount = 20 * 128) {
  TArrayByte reply;
  for (const std::uint16_t word : {pressure, Channel(rhMv), Channel(tempMv), Channel(speedMv),
                                   Channel(dirMv), static_cast<std::uint16_t>(moduleCount)}) {
    reply.push_back(static_cast<std::uint8_t>(word >> 8));
    reply.push_back(static_cast<std::uint8_t>(word & 0xFF));
  }
  return reply;
}

TDataOUT DecodeExt(const TArrayByte& reply, std::uint8_t type, WindCorrection wind = {}) {
  TDataOUT out;
  DecodeDataExt(reply, type, wind, {}, out);
  return out;
}

TEST(ReplyDecoders, PressureWordNeedsItsMarker) {
  const struct {
    std::uint16_t word;
    double pressure;
  } cases[] = {
      {0x5000, SeaLevelPressure(20, 550, 400)},   // marker 10, count 0: 400 hPa at the station
      {0x57FE, SeaLevelPressure(20, 550, 1150)},  // count 1023
      {0x57FF, SeaLevelPressure(20, 550, 1150)},  // bit 0 is ignored
      {0x0000, 0},
      {0x4800, 0},  // marker 9
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(DecodeExt(DataExt(c.word, 0, 0, 0, 0), kAstel2ExtV2).infosRec.Pressure, c.pressure,
                1e-9)
        << std::hex << c.word;
  }
  EXPECT_NEAR(SeaLevelPressure(20, 550, 400), 426.4, 0.1);
}

TEST(ReplyDecoders, WeatherChannels) {
  const struct {
    const char* name;
    std::uint8_t type;
    int tempMv, speedMv, dirMv;
    double temp, speed, dir;
  } cases[] = {
      // Second generation: the channels are divided by 2.663 first.
      {"v2 zero degrees", kAstel2ExtV2, 1332, 900, 799, 0.0188, 4.7873, 0.0113},
      {"v1 direction wraps", kAstelExtV1, 500, 774, 0, 0.0, 0.0011, 272.925},
      {"v2 negative direction clamps", kAstel2ExtV2, 1332, 900, 0, 0.0188, 4.7873, 0.0},
      {"v2 direction above 360 clamps", kAstel2ExtV2, 1332, 900, 4000, 0.0188, 4.7873, 0.0},
      {"v2 mid direction", kAstel2ExtV2, 1332, 900, 2397, 0.0188, 4.7873, 180.0338},
  };
  for (const auto& c : cases) {
    const TinfosRec rec =
        DecodeExt(DataExt(0x5000, 0, c.tempMv, c.speedMv, c.dirMv), c.type).infosRec;
    EXPECT_NEAR(rec.TempExt, c.temp, 1e-4) << c.name;
    EXPECT_NEAR(rec.WindSpeed, c.speed, 1e-4) << c.name;
    EXPECT_NEAR(rec.Windir, c.dir, 1e-4) << c.name;
  }
}

TEST(ReplyDecoders, OutsideHumidityFromTheModule) {
  // 2.5 V is half the sensor's supply: (0.5 - 0.1515) / 0.00636 %.
  EXPECT_NEAR(DecodeExt(DataExt(0x5000, 2500, 0, 0, 0), kAstel2ExtV2).infosRec.RHExt,
              (0.5 - 0.1515) * kDefaultHumiditySensorGain, 1e-9);
}

TEST(ReplyDecoders, WindCorrectionAboveTwentyDegrees) {
  const WindCorrection initial{true, -0.1663};
  const auto speedAt = [&](double moduleCelsius, WindCorrection wind) {
    const auto count = static_cast<std::int16_t>(moduleCelsius * 128);
    return DecodeExt(DataExt(0x5000, 0, 0, 1500, 0, count), kAstel2ExtV2, wind).infosRec.WindSpeed;
  };
  const double plain = speedAt(30, {});
  EXPECT_NEAR(speedAt(30, initial), plain + 1.663, 1e-9);
  EXPECT_NEAR(speedAt(20, initial), plain, 1e-9);
  EXPECT_NEAR(speedAt(-10, initial), plain - 30 * 0.1663, 1e-9);  // signed module word
}

TEST(ReplyDecoders, VoltageReplyByModel) {
  TArrayByte reply(21, 0);
  reply[0] = 0x06;  // outside temperature count 0x0666 = 1638
  reply[1] = 0x66;
  reply[4] = 0x08;  // inside temperature count 0x0800 = 2048
  reply[6] = 1;
  reply[7] = 0;
  reply[8] = 75;
  reply[15] = 0x0A;  // hot side 0x0A00 = 2560
  reply[17] = 0x05;
  reply[18] = 0x01;
  reply[19] = 0x02;
  reply[20] = 0x81;

  TDataOUT plain;
  DecodeVoltage(reply, {nullptr, 3, false, false, false, {}}, plain);
  EXPECT_DOUBLE_EQ(plain.infosRec.TempExt, CountToCelsius(1638));
  EXPECT_DOUBLE_EQ(plain.infosRec.TempInt, CountToCelsius(2048));
  EXPECT_TRUE(plain.infosRec.ActiveHeater);
  EXPECT_FALSE(plain.AutoTempRH_Heat);
  EXPECT_EQ(plain.PowerHeaterLevel, 75);
  EXPECT_EQ(plain.infosRec.TempHot, 0);
  EXPECT_EQ(plain.ValueFan, 0);

  TDataOUT hot;
  DecodeVoltage(reply, {nullptr, 4, true, true, false, {}}, hot);
  EXPECT_DOUBLE_EQ(hot.infosRec.TempHot, CountToCelsius(2560));
  EXPECT_EQ(hot.StatusSensor, 5);
  EXPECT_EQ(hot.ValueFan, 0x0102);
  EXPECT_EQ(hot.StatusCooler, 0x81);

  // Weather models take the outside readings from the module: bytes 0 to 3 are ignored.
  TDataOUT weather;
  weather.infosRec.TempExt = 12.5;
  DecodeVoltage(reply, {nullptr, kAstel2ExtV2, true, true, false, {}}, weather);
  EXPECT_EQ(weather.infosRec.TempExt, 12.5);
}

TEST(ReplyDecoders, ShortRepliesAreRangeErrors) {
  const TArrayByte nine(9, 0);
  TDataOUT out;
  EXPECT_NO_THROW(DecodeVoltage(nine, {nullptr, 3, false, false, false, {}}, out));
  EXPECT_THROW(DecodeVoltage(nine, {nullptr, 4, true, true, false, {}}, out), ERangeCheck);
  EXPECT_THROW(DecodeVoltage(TArrayByte(15, 0), {nullptr, 4, true, true, false, {}}, out),
               ERangeCheck);
  EXPECT_NO_THROW(DecodeVoltage(TArrayByte(15, 0), {nullptr, 3, true, false, false, {}}, out));
  EXPECT_THROW(DecodeVoltage(TArrayByte(8, 0), {nullptr, 3, false, false, false, {}}, out),
               ERangeCheck);
  EXPECT_THROW(DecodeDataExt(TArrayByte(11, 0), kAstelExtV1, {}, {}, out), ERangeCheck);
}

TEST(ReplyDecoders, LensRepliesOfBothProtocols) {
  TArrayByte infos(19);
  for (std::size_t i = 0; i < infos.size(); ++i) {
    infos[i] = static_cast<std::uint8_t>(i);
  }
  infos[0] = 0xAA;
  TDataOUT newer;
  DecodeLensPresence(infos, newer);
  DecodeLensBytes(infos, 2.2, newer);
  EXPECT_TRUE(newer.PresenceAF);
  EXPECT_EQ(newer.LensData[0], 1);
  EXPECT_EQ(newer.LensData[17], 18);
  EXPECT_EQ(newer.LensData[18], 0);
  EXPECT_EQ(newer.lensID, 0x0102);

  infos[0] = 0x00;
  TDataOUT older;
  DecodeLensPresence(infos, older);
  DecodeLensBytes(infos, 2.18, older);
  EXPECT_FALSE(older.PresenceAF);
  EXPECT_EQ(older.FirstByteAF, 0);
  EXPECT_EQ(older.LensData[10], 11);
  EXPECT_EQ(older.LensData[11], 0);
  EXPECT_EQ(older.lensID, 0);

  EXPECT_THROW(DecodeLensBytes(TArrayByte(12, 0), 2.2, older), ERangeCheck);
  EXPECT_NO_THROW(DecodeLensBytes(TArrayByte(12, 0), 2.1, older));

  EXPECT_EQ(DecodeLensName({'E', 'F', '5', '0'}), "EF50");
  EXPECT_EQ(DecodeLensName({0xFF}), "Name is not valid : protocole is too old !");
  EXPECT_EQ(DecodeLensName({}), "Name is not valid : protocole is too old !");
}

}  // namespace
}  // namespace vesk
