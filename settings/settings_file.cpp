#include "settings/settings_file.h"

#include <cstdint>
#include <vector>

#include "settings/settings_keys.h"

namespace vesk {
namespace keys = settings_keys;
namespace {

const char* ReadSection(TTimeChart chart) {
  switch (chart) {
    case TTimeChart::Temp:
      return keys::kTempScale;
    case TTimeChart::RH:
      return keys::kRHScale;
    case TTimeChart::Press:
      return keys::kPressScaleRead;
    case TTimeChart::WindDir:
      return keys::kDirScaleRead;
    case TTimeChart::WindSpeed:
      return keys::kWindScaleRead;
  }
  return keys::kTempScale;
}

// In TTimeChart order.
constexpr const char* kWriteSections[kTimeChartCount] = {
    keys::kTempScale, keys::kRHScale, keys::kPressScale, keys::kPressWinDir, keys::kPressWinSpeed};

const char* Section(TValueAxis axis) {
  return axis == TValueAxis::Temp ? keys::kTempScale : keys::kRHScale;
}

void AddYScale(std::vector<TIniValue>& values, TValueAxis axis, const TYScaleSetting& scale) {
  values.push_back({Section(axis), keys::kYFixed, TIniFile::BoolText(scale.fixed)});
  values.push_back({Section(axis), keys::kYmin, TIniFile::FloatText(scale.min)});
  values.push_back({Section(axis), keys::kYmax, TIniFile::FloatText(scale.max)});
}

// A port no server can listen on is taken for the usual one.
std::uint16_t FtpPort(int port) {
  return static_cast<std::uint16_t>(port >= 1 && port <= 65535 ? port : keys::kDefaultPort);
}

}  // namespace

TSettingsFile::TSettingsFile(const std::filesystem::path& folder)
    : ini_(folder / keys::kFileName, {{keys::kFtp, keys::kPass}, {keys::kMqtt, keys::kPass}}) {
  // What a writer killed in the middle of a save left beside the file.
  ini_.RemoveLeftTemporaries();
}

int TSettingsFile::ReadComNum() const {
  return ini_.ReadInteger(keys::kCom, keys::kValue, keys::kDefaultComNum);
}

std::string TSettingsFile::ReadComDevice() const {
  return ini_.ReadString(keys::kCom, keys::kDevice, keys::kDefaultComDevice);
}

double TSettingsFile::ReadMinX() const {
  return ini_.ReadFloat(keys::kTempScale, keys::kXmin, keys::kDefaultMinX);
}

double TSettingsFile::ReadMaxX() const {
  return ini_.ReadFloat(keys::kTempScale, keys::kXmax, keys::kDefaultMaxX);
}

std::string TSettingsFile::ReadTimeFormat(TTimeChart chart) const {
  return ini_.ReadString(ReadSection(chart), keys::kText, keys::kDefaultTimeFormat);
}

TYScaleSetting TSettingsFile::ReadYScale(TValueAxis axis) const {
  const bool temp = axis == TValueAxis::Temp;
  return {ini_.ReadBool(Section(axis), keys::kYFixed, keys::kDefaultYFixed),
          ini_.ReadFloat(Section(axis), keys::kYmin,
                         temp ? keys::kDefaultMinYTemp : keys::kDefaultMinYRH),
          ini_.ReadFloat(Section(axis), keys::kYmax,
                         temp ? keys::kDefaultMaxYTemp : keys::kDefaultMaxYRH)};
}

double TSettingsFile::ReadHumiditySensorGain(double held) const {
  return ini_.ReadFloat(keys::kHumiditySensor, keys::kGain, held);
}

double TSettingsFile::ReadHumiditySensorOffset(double held) const {
  return ini_.ReadFloat(keys::kHumiditySensor, keys::kOffset, held);
}

int TSettingsFile::ReadFtpIntervall() const {
  return ini_.ReadInteger(keys::kFtp, keys::kIntervall, keys::kDefaultFtpIntervall);
}

TFTPCredentials TSettingsFile::ReadFtpCredentials() const {
  return {ini_.ReadString(keys::kFtp, keys::kHost, keys::kDefaultHost),
          ini_.ReadString(keys::kFtp, keys::kUser, keys::kDefaultUser),
          ini_.ReadString(keys::kFtp, keys::kPass, keys::kDefaultPass),
          ini_.ReadString(keys::kFtp, keys::kRemotePath, keys::kDefaultRemotePath),
          ini_.ReadBool(keys::kFtp, keys::kPassive, keys::kDefaultPassive),
          ini_.ReadBool(keys::kFtp, keys::kTLS, keys::kDefaultTLS),
          FtpPort(ini_.ReadInteger(keys::kFtp, keys::kPort, keys::kDefaultPort))};
}

bool TSettingsFile::ReadFtpScheduled() const {
  return ini_.ReadBool(keys::kFtp, keys::kScheduled, keys::kDefaultScheduled);
}

bool TSettingsFile::ReadAutostart() const {
  return ini_.ReadBool(keys::kMisc, keys::kAutostart, keys::kDefaultAutostart);
}

bool TSettingsFile::ReadAutoReconnect() const {
  return ini_.ReadBool(keys::kMisc, keys::kAutoReconnect, keys::kDefaultAutoReconnect);
}

double TSettingsFile::ReadReconnectPeriod() const {
  const double seconds =
      ini_.ReadFloat(keys::kMisc, keys::kReconnectPeriod, keys::kDefaultReconnectPeriod);
  // Too short a period would keep the port busy with attempts, an endless one never try again.
  return seconds >= 0.1 && seconds <= 86400 ? seconds : keys::kDefaultReconnectPeriod;
}

bool TSettingsFile::ReadFastSpeed() const {
  return ini_.ReadBool(keys::kMisc, keys::kSpeed, keys::kDefaultSpeed);
}

double TSettingsFile::ReadSavePeriod() const {
  const double seconds = ini_.ReadFloat(keys::kMisc, keys::kSavePeriod, keys::kDefaultSavePeriod);
  return seconds >= 0.1 && seconds <= 86400 ? seconds : keys::kDefaultSavePeriod;
}

std::string TSettingsFile::ReadIpEchoUrl(const std::string& builtIn) const {
  return ini_.ReadString(keys::kMisc, keys::kIpEchoUrl, builtIn);
}

bool TSettingsFile::ReadWholeWindow() const {
  return ini_.ReadBool(keys::kMisc, keys::kWholeWindow, keys::kDefaultWholeWindow);
}

TAlpacaSettings TSettingsFile::ReadAlpaca() const {
  return {ini_.ReadBool(keys::kAlpaca, keys::kEnabled, keys::kDefaultAlpacaEnabled),
          ini_.ReadInteger(keys::kAlpaca, keys::kPort, keys::kDefaultAlpacaPort),
          ini_.ReadString(keys::kAlpaca, keys::kBind, keys::kDefaultAlpacaBind),
          ini_.ReadFloat(keys::kAlpaca, keys::kUnsafeHumidity, keys::kDefaultUnsafeHumidity),
          ini_.ReadFloat(keys::kAlpaca, keys::kDewMargin, keys::kDefaultDewMargin)};
}

TMqttSettings TSettingsFile::ReadMqtt() const {
  return {ini_.ReadBool(keys::kMqtt, keys::kEnabled, keys::kDefaultMqttEnabled),
          ini_.ReadString(keys::kMqtt, keys::kHost, keys::kDefaultMqttHost),
          ini_.ReadInteger(keys::kMqtt, keys::kPort, keys::kDefaultMqttPort),
          ini_.ReadString(keys::kMqtt, keys::kUser, keys::kDefaultMqttUser),
          ini_.ReadString(keys::kMqtt, keys::kPass, keys::kDefaultMqttPass),
          ini_.ReadString(keys::kMqtt, keys::kTopic, keys::kDefaultMqttTopic)};
}

TWebSettings TSettingsFile::ReadWeb() const {
  return {ini_.ReadBool(keys::kWeb, keys::kEnabled, keys::kDefaultWebEnabled),
          ini_.ReadInteger(keys::kWeb, keys::kPort, keys::kDefaultWebPort),
          ini_.ReadString(keys::kWeb, keys::kBind, keys::kDefaultWebBind)};
}

void TSettingsFile::WriteTimeWindow(double minX, double maxX, const TTimeFormats& formats) {
  std::vector<TIniValue> values;
  for (std::size_t chart = 0; chart < kTimeChartCount; ++chart) {
    values.push_back({kWriteSections[chart], keys::kXmin, TIniFile::FloatText(minX)});
    values.push_back({kWriteSections[chart], keys::kXmax, TIniFile::FloatText(maxX)});
    values.push_back({kWriteSections[chart], keys::kText, formats[chart]});
  }
  ini_.WriteValues(values);
}

void TSettingsFile::WriteYBounds(TValueAxis axis, double min, double max) {
  ini_.WriteValues({{Section(axis), keys::kYmin, TIniFile::FloatText(min)},
                    {Section(axis), keys::kYmax, TIniFile::FloatText(max)}});
}

void TSettingsFile::WriteFtpIntervall(long long minutes) {
  ini_.WriteInteger(keys::kFtp, keys::kIntervall, minutes);
}

void TSettingsFile::WriteFtpScheduled(bool scheduled) {
  ini_.WriteBool(keys::kFtp, keys::kScheduled, scheduled);
}

void TSettingsFile::WriteWholeWindow(bool on) {
  ini_.WriteBool(keys::kMisc, keys::kWholeWindow, on);
}

void TSettingsFile::WriteComDevice(const std::string& device) {
  ini_.WriteString(keys::kCom, keys::kDevice, device);
}

void TSettingsFile::WriteIntegrations(const TAlpacaSettings& alpaca, const TMqttSettings& mqtt) {
  ini_.WriteValues({
      {keys::kAlpaca, keys::kEnabled, TIniFile::BoolText(alpaca.Enabled)},
      {keys::kAlpaca, keys::kPort, TIniFile::IntegerText(alpaca.Port)},
      {keys::kAlpaca, keys::kBind, alpaca.Bind},
      {keys::kAlpaca, keys::kUnsafeHumidity, TIniFile::FloatText(alpaca.UnsafeHumidity)},
      {keys::kAlpaca, keys::kDewMargin, TIniFile::FloatText(alpaca.DewMargin)},
      {keys::kMqtt, keys::kEnabled, TIniFile::BoolText(mqtt.Enabled)},
      {keys::kMqtt, keys::kHost, mqtt.Host},
      {keys::kMqtt, keys::kPort, TIniFile::IntegerText(mqtt.Port)},
      {keys::kMqtt, keys::kUser, mqtt.User},
      {keys::kMqtt, keys::kPass, mqtt.Pass},
      {keys::kMqtt, keys::kTopic, mqtt.Topic},
  });
}

void TSettingsFile::SaveSettings(const TSavedSettings& settings) {
  std::vector<TIniValue> values;
  values.push_back({keys::kCom, keys::kValue, TIniFile::IntegerText(settings.comNum)});
  AddYScale(values, TValueAxis::Temp, settings.temp);
  AddYScale(values, TValueAxis::RH, settings.rh);
  values.push_back({keys::kMisc, keys::kAutostart, TIniFile::BoolText(settings.autostart)});
  const TFTPCredentials& ftp = settings.ftp;
  values.push_back({keys::kFtp, keys::kHost, ftp.Host});
  values.push_back({keys::kFtp, keys::kUser, ftp.User});
  values.push_back({keys::kFtp, keys::kPass, ftp.Pass});
  values.push_back({keys::kFtp, keys::kRemotePath, ftp.RemotePath});
  values.push_back({keys::kFtp, keys::kPassive, TIniFile::BoolText(ftp.Passive)});
  values.push_back({keys::kFtp, keys::kTLS, TIniFile::BoolText(ftp.TLS)});
  values.push_back(
      {keys::kHumiditySensor, keys::kGain, TIniFile::FloatText(settings.humiditySensorGain)});
  values.push_back(
      {keys::kHumiditySensor, keys::kOffset, TIniFile::FloatText(settings.humiditySensorOffset)});
  ini_.WriteValues(values);
}

}  // namespace vesk
