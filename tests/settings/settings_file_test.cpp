#include "settings/settings_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <fstream>

#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using test::ReadFile;
using test::TempFolder;

constexpr double kBuiltInGain = 157.23270440251574;  // 1 / 0.00636
constexpr double kBuiltInOffset = 0.1515;

TEST(SettingsFile, DefaultsInAnEmptyFolder) {
  TempFolder folder;
  const TSettingsFile settings(folder.path());
  EXPECT_EQ(settings.ReadComNum(), 3);
  EXPECT_DOUBLE_EQ(settings.ReadMinX(), 1.0);
  EXPECT_DOUBLE_EQ(settings.ReadMaxX(), 0.1);
  for (const auto chart : {TTimeChart::Temp, TTimeChart::RH, TTimeChart::Press, TTimeChart::WindDir,
                           TTimeChart::WindSpeed}) {
    EXPECT_EQ(settings.ReadTimeFormat(chart), "dd/mm hh");
  }
  EXPECT_EQ(settings.ReadYScale(TValueAxis::Temp), (TYScaleSetting{true, 0, 50}));
  EXPECT_EQ(settings.ReadYScale(TValueAxis::RH), (TYScaleSetting{true, 0, 100}));
  EXPECT_EQ(settings.ReadHumiditySensorGain(kBuiltInGain), kBuiltInGain);
  EXPECT_EQ(settings.ReadHumiditySensorOffset(kBuiltInOffset), kBuiltInOffset);
  EXPECT_EQ(settings.ReadFtpIntervall(), 5);
  const auto ftp = settings.ReadFtpCredentials();
  EXPECT_EQ(ftp.Host, "127.0.0.1");
  EXPECT_EQ(ftp.User, "Websrv");
  EXPECT_EQ(ftp.Pass, "tovar82");
  EXPECT_EQ(ftp.RemotePath, "/general/");
  EXPECT_TRUE(ftp.Passive);
  EXPECT_FALSE(ftp.TLS);
  EXPECT_EQ(ftp.Port, 21);
  EXPECT_FALSE(settings.ReadFtpScheduled());
  EXPECT_TRUE(settings.ReadAutostart());
  EXPECT_TRUE(settings.ReadAutoReconnect());
  EXPECT_EQ(settings.ReadReconnectPeriod(), 30);
  EXPECT_FALSE(settings.ReadFastSpeed());
  EXPECT_EQ(settings.ReadSavePeriod(), 900);
  EXPECT_EQ(settings.ReadIpEchoUrl("http://built.in/"), "http://built.in/");
  EXPECT_FALSE(settings.ReadWholeWindow());
  EXPECT_FALSE(std::filesystem::exists(folder / "VeskLevel.ini")) << "reads create nothing";
}

// The start writes the time window, the first save everything else: the file a first run
// leaves behind.
TEST(SettingsFile, FirstRunWritesEveryWrittenKey) {
  TempFolder folder;
  TSettingsFile settings(folder.path());
  settings.WriteTimeWindow(settings.ReadMinX(), settings.ReadMaxX(),
                           {"dd/mm hh", "dd/mm hh", "dd/mm hh", "dd/mm hh", "dd/mm hh"});
  TSavedSettings saved;
  saved.comNum = settings.ReadComNum();
  saved.temp = settings.ReadYScale(TValueAxis::Temp);
  saved.rh = settings.ReadYScale(TValueAxis::RH);
  saved.autostart = settings.ReadAutostart();
  saved.ftp = settings.ReadFtpCredentials();
  saved.humiditySensorGain = settings.ReadHumiditySensorGain(kBuiltInGain);
  saved.humiditySensorOffset = settings.ReadHumiditySensorOffset(kBuiltInOffset);
  settings.SaveSettings(saved);

  EXPECT_EQ(ReadFile(folder / "VeskLevel.ini"),
            "[Temp_scale]\r\nXmin=1\r\nXmax=0.1\r\ntext=dd/mm hh\r\n"
            "Y_fixed=1\r\nYmin=0\r\nYmax=50\r\n"
            "[RH_scale]\r\nXmin=1\r\nXmax=0.1\r\ntext=dd/mm hh\r\n"
            "Y_fixed=1\r\nYmin=0\r\nYmax=100\r\n"
            "[Press_scale]\r\nXmin=1\r\nXmax=0.1\r\ntext=dd/mm hh\r\n"
            "[Press_WinDir]\r\nXmin=1\r\nXmax=0.1\r\ntext=dd/mm hh\r\n"
            "[Press_WinSpeed]\r\nXmin=1\r\nXmax=0.1\r\ntext=dd/mm hh\r\n"
            "[COM]\r\nValue=3\r\n"
            "[Misc]\r\nAutostart=1\r\n"
            "[FTP]\r\nHost=127.0.0.1\r\nUser=Websrv\r\nPass=tovar82\r\n"
            "RemotePath=/general/\r\nPassive=1\r\nTLS=0\r\n"
            "[Humidity sensor]\r\nGain=157.232704402516\r\nOffset=0.1515\r\n");
  EXPECT_EQ(settings.ReadHumiditySensorGain(0), 157.232704402516);
}

TEST(SettingsFile, FileEditedByHand) {
  TempFolder folder;
  std::ofstream(folder / "VeskLevel.ini", std::ios::binary)
      << "[com]\r\nVALUE=0x0A\r\n"
         "[TEMP_SCALE]\r\nxmin=2.5\r\nY_FIXED=2\r\nYmin=abc\r\nYmax=1.2.3\r\ntext=hh:mm\r\n"
         "[rh_Scale]\r\nY_fixed=0\r\nYmin=,5\r\nYmax=\r\n"
         "[PressScale]\r\ntext=dd hh\r\n"
         "[Press_scale]\r\ntext=never read\r\n"
         "[humidity SENSOR]\r\nGain=160\r\nOffset=0,2\r\n"
         "[Ftp]\r\nintervall=-1\r\nhost = ftp.example.org \r\nPassive=yes\r\ntls=2\r\n"
         "[misc]\r\nautostart=0\r\nIPECHOURL=http://127.0.0.1:8080/\r\n";
  TSettingsFile settings(folder.path());
  EXPECT_EQ(settings.ReadComNum(), 10);
  EXPECT_EQ(settings.ReadMinX(), 2.5);
  EXPECT_EQ(settings.ReadTimeFormat(TTimeChart::Temp), "hh:mm");
  EXPECT_EQ(settings.ReadTimeFormat(TTimeChart::RH), "dd/mm hh");
  EXPECT_EQ(settings.ReadTimeFormat(TTimeChart::Press), "dd hh");
  EXPECT_EQ(settings.ReadYScale(TValueAxis::Temp), (TYScaleSetting{true, 0, 50}));
  EXPECT_EQ(settings.ReadYScale(TValueAxis::RH), (TYScaleSetting{false, 0, 100}));
  EXPECT_EQ(settings.ReadHumiditySensorGain(kBuiltInGain), 160);
  EXPECT_EQ(settings.ReadHumiditySensorOffset(0.2), 0.2) << "the value held is the default";
  EXPECT_EQ(settings.ReadFtpIntervall(), -1);
  const auto ftp = settings.ReadFtpCredentials();
  EXPECT_EQ(ftp.Host, "ftp.example.org");
  EXPECT_EQ(ftp.User, "Websrv");
  EXPECT_TRUE(ftp.Passive);
  EXPECT_TRUE(ftp.TLS);
  EXPECT_FALSE(settings.ReadFtpScheduled());
  EXPECT_FALSE(settings.ReadAutostart());
  EXPECT_EQ(settings.ReadIpEchoUrl("http://built.in/"), "http://127.0.0.1:8080/");

  // Writes land in the sections as the hand spelled them.
  settings.WriteYBounds(TValueAxis::Temp, 30, 10);
  settings.WriteFtpIntervall(0);
  settings.WriteFtpScheduled(true);
  settings.WriteWholeWindow(true);
  EXPECT_TRUE(settings.ReadWholeWindow());
  const std::string text = ReadFile(folder / "VeskLevel.ini");
  EXPECT_NE(text.find("[TEMP_SCALE]\r\nxmin=2.5\r\nY_FIXED=2\r\nYmin=30\r\nYmax=10\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("[Ftp]\r\nintervall=0\r\n"), std::string::npos);
  EXPECT_NE(text.find("tls=2\r\nScheduled=1\r\n"), std::string::npos);
  EXPECT_TRUE(settings.ReadFtpScheduled());
  EXPECT_NE(
      text.find("[misc]\r\nautostart=0\r\nIPECHOURL=http://127.0.0.1:8080/\r\nWholeWindow=1\r\n"),
      std::string::npos);
  EXPECT_EQ(text.find("[Temp_scale]"), std::string::npos);
  EXPECT_EQ(text.find("[FTP]"), std::string::npos);
}

// The port is set by hand only: read at start, kept by every save; a port no server can
// listen on is the usual 21.
TEST(SettingsFile, FtpPortSetByHand) {
  const std::pair<const char*, std::uint16_t> cases[] = {
      {"2121", 2121}, {"0x835", 2101}, {"65535", 65535}, {"0", 21},
      {"65536", 21},  {"-21", 21},     {"ftp", 21},
  };
  for (const auto& [text, port] : cases) {
    SCOPED_TRACE(text);
    TempFolder folder;
    std::ofstream(folder / "VeskLevel.ini", std::ios::binary) << "[FTP]\r\nPort=" << text << "\r\n";
    TSettingsFile settings(folder.path());
    EXPECT_EQ(settings.ReadFtpCredentials().Port, port);
    TSavedSettings saved;
    saved.ftp = settings.ReadFtpCredentials();
    settings.SaveSettings(saved);
    EXPECT_EQ(TSettingsFile(folder.path()).ReadFtpCredentials().Port, port);
    EXPECT_NE(ReadFile(folder / "VeskLevel.ini").find(std::string("Port=") + text + "\r\n"),
              std::string::npos);
  }
}

// The reconnection, speed and save keys as an operator may write them by hand.
TEST(SettingsFile, ReconnectionSpeedAndSaveKeys) {
  struct Case {
    const char* misc;
    bool autoReconnect;
    double period;
    bool fast;
    double savePeriod;
  };
  const Case cases[] = {
      {"AutoReconnect=0\r\nReconnectPeriod=5\r\nSpeed=1\r\nSavePeriod=60\r\n", false, 5, true, 60},
      {"autoreconnect=2\r\nreconnectperiod=0.25\r\nSPEED=0\r\nsaveperiod=0.5\r\n", true, 0.25,
       false, 0.5},
      {"AutoReconnect=no\r\nReconnectPeriod=0\r\nSpeed=yes\r\nSavePeriod=0\r\n", true, 30, false,
       900},
      {"ReconnectPeriod=-3\r\nSavePeriod=-3\r\n", true, 30, false, 900},
      {"ReconnectPeriod=0.01\r\nSavePeriod=0.01\r\n", true, 30, false, 900},
      {"ReconnectPeriod=1e9\r\nSavePeriod=86400\r\n", true, 30, false, 86400},
      {"ReconnectPeriod=abc\r\nSavePeriod=1e9\r\n", true, 30, false, 900},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.misc);
    TempFolder folder;
    std::ofstream(folder / "VeskLevel.ini", std::ios::binary) << "[Misc]\r\n" << c.misc;
    const TSettingsFile settings(folder.path());
    EXPECT_EQ(settings.ReadAutoReconnect(), c.autoReconnect);
    EXPECT_EQ(settings.ReadReconnectPeriod(), c.period);
    EXPECT_EQ(settings.ReadFastSpeed(), c.fast);
    EXPECT_EQ(settings.ReadSavePeriod(), c.savePeriod);
  }
}

// A file holding the broker's password: readable by its owner only (permissions are POSIX).
void ExpectOwnerOnly([[maybe_unused]] const std::filesystem::path& file) {
#ifndef _WIN32
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u) << "the broker's password is for the owner's eyes only";
#endif
}

TEST(SettingsFile, ObservatoryIntegrations) {
  TempFolder folder;
  {
    const TSettingsFile settings(folder.path());
    EXPECT_EQ(settings.ReadAlpaca(), (TAlpacaSettings{false, 11111, "127.0.0.1", 90, 2.0}));
    // An empty topic stands for vesk/<serial number>.
    EXPECT_EQ(settings.ReadMqtt(), (TMqttSettings{false, "127.0.0.1", 1883, "", "", ""}));
  }

  // As the operator writes them by hand; the posting password left empty, so only the
  // broker's password makes the file private.
  const auto file = folder / "VeskLevel.ini";
  std::ofstream(file, std::ios::binary)
      << "[FTP]\r\nPass=\r\n"
         "[alpaca]\r\nenabled=1\r\nPORT=0x2B67\r\nBind=0.0.0.0\r\nUnsafeHumidity=85.5\r\n"
         "DewMargin=abc\r\n"
         "[Mqtt]\r\nEnabled=1\r\nHost=broker.local\r\nPort=8883\r\nUser=vesk\r\n"
         "Pass=s3cret\r\nTopic=observatory/camera\r\n";
#ifndef _WIN32
  ::chmod(file.c_str(), 0644);
#endif
  TSettingsFile settings(folder.path());
  EXPECT_EQ(settings.ReadAlpaca(), (TAlpacaSettings{true, 11111, "0.0.0.0", 85.5, 2.0}))
      << "a malformed margin reads as its default";
  EXPECT_EQ(settings.ReadMqtt(),
            (TMqttSettings{true, "broker.local", 8883, "vesk", "s3cret", "observatory/camera"}));

  settings.WriteFtpScheduled(false);
  ExpectOwnerOnly(file);
}

// The window's group writes both sections whole; what it stores reads back the same, the other
// sections and the lines the program does not know stay as they were.
TEST(SettingsFile, ObservatoryIntegrationsWritten) {
  TempFolder folder;
  const auto file = folder / "VeskLevel.ini";
  std::ofstream(file, std::ios::binary) << "[COM]\r\nValue=4\r\n; kept\r\n[Alpaca]\r\nOwn=1\r\n";
  TSettingsFile settings(folder.path());
  const TAlpacaSettings alpaca{true, 11112, "0.0.0.0", 80.5, 1.5};
  const TMqttSettings mqtt{true, "broker.local", 8883, "vesk", "p=ss;word", "observatory/cam"};
  settings.WriteIntegrations(alpaca, mqtt);
  EXPECT_EQ(settings.ReadAlpaca(), alpaca);
  EXPECT_EQ(settings.ReadMqtt(), mqtt);
  EXPECT_EQ(settings.ReadComNum(), 4);
  const std::string text = ReadFile(file);
  EXPECT_NE(text.find("; kept"), std::string::npos);
  EXPECT_NE(text.find("Own=1"), std::string::npos);
  ExpectOwnerOnly(file);
}

TEST(SettingsFile, ComDevice) {
  TempFolder folder;
  TSettingsFile settings(folder.path());
  EXPECT_EQ(settings.ReadComDevice(), "") << "none: the port number counts";
  settings.WriteComDevice("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
  EXPECT_EQ(settings.ReadComDevice(),
            "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
  // The monitor's save keeps the choice.
  TSavedSettings saved;
  saved.comNum = 5;
  settings.SaveSettings(saved);
  EXPECT_EQ(settings.ReadComNum(), 5);
  EXPECT_EQ(settings.ReadComDevice(),
            "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
  settings.WriteComDevice("");
  EXPECT_EQ(settings.ReadComDevice(), "");
}

#ifndef _WIN32
std::vector<std::string> TemporariesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".tmp") {
      names.push_back(entry.path().filename().string());
    }
  }
  return names;
}

// A writer killed in the middle of a save leaves its temporary file beside the settings
// file; the next opening removes it, and leaves alone the one of a writer still running.
TEST(SettingsFile, OpeningRemovesTheTemporaryOfAKilledWriter) {
  TempFolder folder;
  TSettingsFile(folder.path()).WriteFtpIntervall(7);
  const std::string saved = ReadFile(folder / "VeskLevel.ini");

  // The writer's file size limit kills it (SIGXFSZ) while it writes the new content.
  const pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    const rlimit limit{8, 8};
    setrlimit(RLIMIT_FSIZE, &limit);
    try {
      TSettingsFile(folder.path()).WriteFtpIntervall(9);
    } catch (...) {
    }
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(writer, &status, 0), writer);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
  const auto left = TemporariesIn(folder.path());
  ASSERT_EQ(left.size(), 1u) << "the killed writer's temporary";
  EXPECT_TRUE(left[0].starts_with(".VeskLevel.ini." + std::to_string(writer) + ".")) << left[0];

  // A writer that still runs, and names that are not a writer's temporary.
  int hold[2];
  ASSERT_EQ(pipe(hold), 0);
  const pid_t running = fork();
  ASSERT_GE(running, 0);
  if (running == 0) {
    close(hold[1]);
    char end = 0;
    [[maybe_unused]] const auto got = read(hold[0], &end, 1);
    _exit(0);
  }
  close(hold[0]);
  const std::vector<std::string> kept = {
      ".VeskLevel.ini." + std::to_string(running) + ".0.tmp",
      ".Other.ini." + std::to_string(writer) + ".0.tmp",
      ".VeskLevel.ini." + std::to_string(writer) + ".tmp",
      "VeskLevel.ini." + std::to_string(writer) + ".0.tmp",
  };
  for (const std::string& name : kept) {
    std::ofstream(folder / name) << "x";
  }

  const TSettingsFile settings(folder.path());
  EXPECT_EQ(settings.ReadFtpIntervall(), 7);
  EXPECT_EQ(ReadFile(folder / "VeskLevel.ini"), saved);
  for (const std::string& name : kept) {
    EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(folder / left[0]));

  close(hold[1]);
  waitpid(running, &status, 0);
}
#endif

}  // namespace
}  // namespace vesk
