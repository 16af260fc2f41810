#pragma once

// Every section and key of "VeskLevel.ini", spelled once, with the defaults the program falls
// back on. Names are compared without regard to case, so "Temp_scale" also finds a section
// written "Temp_Scale"; the spelling here is the one a new file gets.
namespace vesk::settings_keys {

inline constexpr char kFileName[] = "VeskLevel.ini";

// Sections.
inline constexpr char kCom[] = "COM";
inline constexpr char kTempScale[] = "Temp_scale";
inline constexpr char kRHScale[] = "RH_scale";
// The pressure and wind charts read their time label format from these three sections ...
inline constexpr char kPressScaleRead[] = "PressScale";
inline constexpr char kWindScaleRead[] = "WindScale";
inline constexpr char kDirScaleRead[] = "DirScale";
// ... and the time window writes it into these three.
inline constexpr char kPressScale[] = "Press_scale";
inline constexpr char kPressWinDir[] = "Press_WinDir";
inline constexpr char kPressWinSpeed[] = "Press_WinSpeed";
inline constexpr char kHumiditySensor[] = "Humidity sensor";
inline constexpr char kFtp[] = "FTP";
inline constexpr char kMisc[] = "Misc";
// The observatory integrations, both off by default.
inline constexpr char kAlpaca[] = "Alpaca";
inline constexpr char kWeb[] = "Web";
inline constexpr char kMqtt[] = "MQTT";

// Keys.
inline constexpr char kValue[] = "Value";
inline constexpr char kXmin[] = "Xmin";
inline constexpr char kXmax[] = "Xmax";
inline constexpr char kText[] = "text";
inline constexpr char kYFixed[] = "Y_fixed";
inline constexpr char kYmin[] = "Ymin";
inline constexpr char kYmax[] = "Ymax";
inline constexpr char kGain[] = "Gain";
inline constexpr char kOffset[] = "Offset";
inline constexpr char kIntervall[] = "intervall";
inline constexpr char kHost[] = "Host";
inline constexpr char kUser[] = "User";
inline constexpr char kPass[] = "Pass";
inline constexpr char kRemotePath[] = "RemotePath";
inline constexpr char kPassive[] = "Passive";
// Beyond the account of old: uploads every interval, and explicit TLS. Both off by default,
// so an existing installation behaves as before.
inline constexpr char kScheduled[] = "Scheduled";
inline constexpr char kTLS[] = "TLS";
// The server's port, only ever written by hand: for a server that does not listen on 21.
inline constexpr char kPort[] = "Port";
inline constexpr char kAutostart[] = "Autostart";
// Where the chart images look up the public address; tests point it at a local server.
inline constexpr char kIpEchoUrl[] = "IpEchoUrl";
// "Show the whole window": the series cover the whole time window, reduced per pixel column.
inline constexpr char kWholeWindow[] = "WholeWindow";
// A lost link is looked for again (on) or left to the operator (off).
inline constexpr char kAutoReconnect[] = "AutoReconnect";
// Seconds between two attempts to find a lost board again; tests shorten it.
inline constexpr char kReconnectPeriod[] = "ReconnectPeriod";
// Fast mode (polls every second instead of every 10 s) from the start: vesk-cli serve's
// period, and the monitor's fast-mode box when it opens.
inline constexpr char kSpeed[] = "Speed";
// Seconds between two periodic saves of the history; tests shorten it.
inline constexpr char kSavePeriod[] = "SavePeriod";
// "Alpaca" and "MQTT" ("Host", "Port", "User" and "Pass" are shared with "FTP").
inline constexpr char kEnabled[] = "Enabled";
inline constexpr char kBind[] = "Bind";
inline constexpr char kUnsafeHumidity[] = "UnsafeHumidity";
inline constexpr char kDewMargin[] = "DewMargin";
inline constexpr char kTopic[] = "Topic";
// "COM": a device path that stands in place of the port number ("/dev/ttyUSB0",
// "/dev/serial/by-id/usb-..."); empty or missing: the port number, as before.
inline constexpr char kDevice[] = "Device";

// Defaults.
inline constexpr int kDefaultComNum = 3;
inline constexpr char kDefaultComDevice[] = "";
inline constexpr double kDefaultMinX = 1.0;  // days before now on the time axes
inline constexpr double kDefaultMaxX = 0.1;  // days after now
inline constexpr char kDefaultTimeFormat[] = "dd/mm hh";
inline constexpr bool kDefaultYFixed = true;
inline constexpr double kDefaultMinYTemp = 0;
inline constexpr double kDefaultMaxYTemp = 50;
inline constexpr double kDefaultMinYRH = 0;
inline constexpr double kDefaultMaxYRH = 100;
inline constexpr int kDefaultFtpIntervall = 5;  // minutes
inline constexpr char kDefaultHost[] = "127.0.0.1";
inline constexpr char kDefaultUser[] = "Websrv";
inline constexpr char kDefaultPass[] = "tovar82";
inline constexpr char kDefaultRemotePath[] = "/general/";
inline constexpr bool kDefaultPassive = true;
inline constexpr bool kDefaultScheduled = false;
inline constexpr bool kDefaultTLS = false;
inline constexpr int kDefaultPort = 21;
inline constexpr bool kDefaultAutostart = true;
inline constexpr bool kDefaultWholeWindow = false;
inline constexpr bool kDefaultAutoReconnect = true;
inline constexpr double kDefaultReconnectPeriod = 30;  // seconds
inline constexpr bool kDefaultSpeed = false;
inline constexpr double kDefaultSavePeriod = 900;  // seconds: every 15 minutes
inline constexpr bool kDefaultAlpacaEnabled = false;
inline constexpr int kDefaultAlpacaPort = 11111;
inline constexpr char kDefaultAlpacaBind[] = "127.0.0.1";
inline constexpr double kDefaultUnsafeHumidity = 90;  // %
inline constexpr double kDefaultDewMargin = 2.0;      // °C above the dew point
inline constexpr bool kDefaultWebEnabled = false;
inline constexpr int kDefaultWebPort = 8080;
inline constexpr char kDefaultWebBind[] = "127.0.0.1";
inline constexpr bool kDefaultMqttEnabled = false;
inline constexpr char kDefaultMqttHost[] = "127.0.0.1";
inline constexpr int kDefaultMqttPort = 1883;
inline constexpr char kDefaultMqttUser[] = "";
inline constexpr char kDefaultMqttPass[] = "";
// Empty stands for "vesk/" + the board's serial number.
inline constexpr char kDefaultMqttTopic[] = "";

}  // namespace vesk::settings_keys
