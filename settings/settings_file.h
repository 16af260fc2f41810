#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>

#include "settings/ftp_credentials.h"
#include "settings/ini_file.h"
#include "settings/integration_settings.h"

namespace vesk {

// The five charts with a time axis, in the order the time window writes them.
enum class TTimeChart { Temp, RH, Press, WindDir, WindSpeed };
inline constexpr std::size_t kTimeChartCount = 5;
using TTimeFormats = std::array<std::string, kTimeChartCount>;  // indexed by TTimeChart

// The two charts whose value axis the operator can force.
enum class TValueAxis { Temp, RH };

struct TYScaleSetting {
  bool fixed = true;
  double min = 0;
  double max = 0;
  bool operator==(const TYScaleSetting&) const = default;
};

// Everything SaveSettings stores.
struct TSavedSettings {
  int comNum = 0;
  TYScaleSetting temp;
  TYScaleSetting rh;
  bool autostart = true;
  TFTPCredentials ftp;
  double humiditySensorGain = 0;
  double humiditySensorOffset = 0;
};

// "VeskLevel.ini" in the program's folder (the main window's FileIni): one typed reader per
// setting read at start, with its default, and the writers of the settings. Each write
// reaches the file at once. The file is readable by its owner only once it holds the posting
// or the broker's password.
class TSettingsFile {
 public:
  // Removes the temporary files a writer killed in the middle of a save left beside the file.
  explicit TSettingsFile(const std::filesystem::path& folder);

  TIniFile& ini() { return ini_; }
  const TIniFile& ini() const { return ini_; }

  int ReadComNum() const;
  // "COM" "Device": the device the monitor and serve open in place of the port number's
  // (Station::SetDevice); empty when none is set.
  std::string ReadComDevice() const;
  // Days before and after now shown on the time axes; both shared by the five charts.
  double ReadMinX() const;
  double ReadMaxX() const;
  // Each chart reads its time label format from its own section; for the pressure and wind
  // charts that is not the section the time window writes to.
  std::string ReadTimeFormat(TTimeChart chart) const;
  TYScaleSetting ReadYScale(TValueAxis axis) const;
  // The default is the value the program holds when the key is read.
  double ReadHumiditySensorGain(double held) const;
  double ReadHumiditySensorOffset(double held) const;
  // Minutes, as stored; a negative value is the posting interval's to refuse.
  int ReadFtpIntervall() const;
  TFTPCredentials ReadFtpCredentials() const;
  // Whether the schedule timer uploads every interval.
  bool ReadFtpScheduled() const;
  bool ReadAutostart() const;
  bool ReadAutoReconnect() const;
  // Seconds, from a tenth of a second to a day; anything else reads as the default.
  double ReadReconnectPeriod() const;
  // Fast mode: polls every second instead of every 10 s.
  bool ReadFastSpeed() const;
  // The periodic save's period in seconds, from a tenth of a second to a day; anything else
  // reads as the default 15 minutes.
  double ReadSavePeriod() const;
  std::string ReadIpEchoUrl(const std::string& builtIn) const;
  bool ReadWholeWindow() const;
  // Read at start; the window's observatory group writes them.
  TAlpacaSettings ReadAlpaca() const;
  TMqttSettings ReadMqtt() const;
  TWebSettings ReadWeb() const;

  // SetTimeWindow: the shared window and every chart's format into the five write sections.
  void WriteTimeWindow(double minX, double maxX, const TTimeFormats& formats);
  // The forced bounds of one value axis, written before they are checked.
  void WriteYBounds(TValueAxis axis, double min, double max);
  void WriteFtpIntervall(long long minutes);
  void WriteFtpScheduled(bool scheduled);
  // The plot option, written when the operator changes it.
  void WriteWholeWindow(bool on);
  // The device chosen in the connection bar; empty removes the choice (the port number
  // counts again).
  void WriteComDevice(const std::string& device);
  // Both sections whole, with one replacement of the file: all is stored or nothing. The
  // values are checked before (integration_checks.h).
  void WriteIntegrations(const TAlpacaSettings& alpaca, const TMqttSettings& mqtt);
  // SaveSettings, in its order, with one replacement of the file.
  void SaveSettings(const TSavedSettings& settings);

 private:
  TIniFile ini_;
};

}  // namespace vesk
