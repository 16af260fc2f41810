#include "acquisition/reply_decoders.h"

#include <algorithm>
#include <cmath>

#include "acquisition/model_type.h"
#include "acquisition/sensor_conversions.h"
#include "common/reply_reader.h"

namespace vesk {
namespace {

// The module's analog channels: 12 bits in the top of a word, 4.096 V full scale.
double ChannelVolts(const ReplyReader& reply, std::size_t n) {
  return (reply.word(n) >> 4) * 4.096 / 4096;
}

constexpr std::uint16_t kPressureMarker = 10;  // binary 01010 in bits 15 to 11

}  // namespace

double SeaLevelPressure(double t, double h, double p) {
  return p * std::pow((0.00651 * h + (t + 273.16)) / (t + 273.16), 5.25516);
}

void DecodeDataExt(const TArrayByte& payload, std::uint8_t TypeCam, const WindCorrection& wind,
                   const HumidityConstants& humidity, TDataOUT& out) {
  const ReplyReader reply(payload);
  TinfosRec& rec = out.infosRec;
  const bool v2 = HasWeatherModuleV2(TypeCam);

  const std::uint16_t P = reply.word(0);
  if ((P >> 11) == kPressureMarker) {
    const int d = (P >> 1) & 0x3FF;
    const double station = (d + 545.6) / 13.64 * 10;
    rec.Pressure = SeaLevelPressure(20, 550, station);
  } else {
    rec.Pressure = 0;
  }

  rec.RHExt =
      (ChannelVolts(reply, 2) / 5 - humidity.HumiditySensorOffset) * humidity.HumiditySensorGain;

  const double tempVolts = ChannelVolts(reply, 4);
  rec.TempExt = ((v2 ? tempVolts / 2.663 : tempVolts) - 0.5) * 100;

  const double speedVolts = ChannelVolts(reply, 6);
  rec.WindSpeed = v2 ? ((speedVolts / 2.663 - 0.305) / 75 * 1000 * 50 * 3.6) / 16.526
                     : ((speedVolts / 1.3333 - 0.5805) / 150 * 1000 * 50 * 3.6) / 16;

  const double dirVolts = ChannelVolts(reply, 8);
  if (v2) {
    rec.Windir = (dirVolts / 2.663 - 0.3) / 1.2 * 360;
    if (rec.Windir > 360 || rec.Windir < 0) {
      rec.Windir = 0;
    }
  } else {
    rec.Windir = ((dirVolts / 1.3333 - 0.5805) / 150 * 1000 * 360) / 16;
  }
  if (rec.Windir < 0) {
    rec.Windir += 360;
  }

  // One count of the module's thermometer is 1/128 °C.
  const double moduleCelsius = static_cast<std::int16_t>(reply.word(10)) / 16.0 * 0.125;
  if (wind.CorrectWindSpeed) {
    rec.WindSpeed -= (moduleCelsius - 20) * wind.FactCorrectionWindSpeed;
  }
}

void DecodeVoltage(const TArrayByte& payload, const TDataTinParams& model, TDataOUT& out) {
  const ReplyReader reply(payload);
  TinfosRec& rec = out.infosRec;
  // On weather models the outside readings come from the module instead.
  if (!HasWeatherModule(model.TypeCam)) {
    rec.TempExt = CountToCelsius(reply.word(0));
    rec.RHExt = CountToHumidity(reply.word(2), model.humidity);
  }
  rec.TempInt = CountToCelsius(reply.word(4));
  rec.ActiveHeater = reply.byte(6) > 0;
  out.AutoTempRH_Heat = reply.byte(7) > 0;
  out.PowerHeaterLevel = reply.byte(8);
  if (model.DisplayRH_int) {
    rec.RHInt = CountToHumidity(reply.word(13), model.humidity);
  }
  if (model.DisplayTempHot) {
    rec.TempHot = CountToCelsius(reply.word(15));
    out.StatusSensor = reply.byte(17);
    out.ValueFan = reply.word(18);
    out.StatusCooler = reply.byte(20);
  }
}

void DecodeLensPresence(const TArrayByte& payload, TDataOUT& out) {
  out.FirstByteAF = ReplyReader(payload).byte(0);
  out.PresenceAF = out.FirstByteAF == 0xAA;
}

void DecodeLensBytes(const TArrayByte& payload, double version, TDataOUT& out) {
  const ReplyReader reply(payload);
  const std::size_t count = version < 2.2 ? 11 : 18;
  for (std::size_t i = 0; i < count; ++i) {
    out.LensData[i] = reply.byte(i + 1);
  }
  out.lensID = version < 2.2 ? 0 : reply.word(1);
}

std::string DecodeLensName(const TArrayByte& reply) {
  if (reply.empty() || reply[0] == 0xFF) {
    return "Name is not valid : protocole is too old !";
  }
  return std::string(reply.begin(), reply.end());
}

}  // namespace vesk
