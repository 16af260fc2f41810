// The settings file as an operator may have edited it: every reader answers a value (its
// default for what it cannot read), and a save keeps the file readable.
#include <cstddef>
#include <cstdint>

#include "common/exceptions.h"
#include "fuzz/fuzz_folder.h"
#include "settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto folder = vesk::fuzz::FuzzFolder();
  vesk::fuzz::WriteInput(folder / "VeskLevel.ini", data, size);
  vesk::TSettingsFile settings(folder);
  try {
    vesk::TSavedSettings saved;
    saved.comNum = settings.ReadComNum();
    (void)settings.ReadMinX();
    (void)settings.ReadMaxX();
    for (int chart = 0; chart < static_cast<int>(vesk::kTimeChartCount); ++chart) {
      (void)settings.ReadTimeFormat(static_cast<vesk::TTimeChart>(chart));
    }
    saved.temp = settings.ReadYScale(vesk::TValueAxis::Temp);
    saved.rh = settings.ReadYScale(vesk::TValueAxis::RH);
    saved.humiditySensorGain = settings.ReadHumiditySensorGain(1.0);
    saved.humiditySensorOffset = settings.ReadHumiditySensorOffset(0.0);
    (void)settings.ReadFtpIntervall();
    saved.ftp = settings.ReadFtpCredentials();
    (void)settings.ReadFtpScheduled();
    saved.autostart = settings.ReadAutostart();
    (void)settings.ReadAutoReconnect();
    (void)settings.ReadReconnectPeriod();
    (void)settings.ReadFastSpeed();
    (void)settings.ReadIpEchoUrl("http://127.0.0.1/");
    settings.SaveSettings(saved);
    // What was saved reads back as saved.
    const vesk::TSettingsFile again(folder);
    if (again.ReadComNum() != saved.comNum || again.ReadAutostart() != saved.autostart) {
      __builtin_trap();
    }
  } catch (const vesk::Exception&) {
  }
  vesk::fuzz::DropLog();
  return 0;
}
