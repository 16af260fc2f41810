#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "acquisition/poll_driver.h"
#include "acquisition/poll_records.h"
#include "history/tinfos_rec.h"
#include "settings/ftp_credentials.h"
#include "settings/settings_file.h"

class QMenu;
class QSoundEffect;

namespace vesk {

class ChartPage;
class ConnectionBar;
class CoolingPage;
class HistoryStore;
class LensAdvancedPage;
class LensBasicPage;
class LogView;
class PlotOptionsGroup;
class PostingPage;
class ReadingsPanel;
class SecondaryReadings;
class SessionEvents;
class SetupPage;
class TComObjRs232;
class WeatherDebugPage;
class WindSpeedPage;

// The main window and the composition root: it owns the link, the poll driver, the history,
// the settings file, the timers and every page, and wires them together. Its handlers live
// in one file per job (start, close, connection, poll presentation, CSV).
class TMAINForm : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 956;
  static constexpr int kPanelPlotSetupHeight = 270;
  static constexpr int kPanelGraphicHeight = 450;
  static constexpr int kStatusBarHeight = 19;

  // programFolder: where the settings, logs, history and ports/ live. The start sequence runs
  // here, the automatic connection included.
  explicit TMAINForm(std::filesystem::path programFolder, QWidget* parent = nullptr);
  ~TMAINForm() override;

  // Display modes and the port field.
  void ShowCOM();
  void ShowPanel();
  void DisableSetupCOM();
  void EnableSetupCOM();

  // The log view's side of WriteLog; main thread only.
  void AddLogLine(const QString& line);

  // Connection (connects when not connected, else disconnects).
  void ButtonConnectClick();

  // Polls.
  void PollDevice(bool wait);
  void CheckBoxFastSpeedClick();
  void ApplyPollResult(ThreadRequest& sender);
  void ResetReadings();
  void SyncHeatingControls(bool autoHeat, bool heaterOn);

  // Session end, power notifications, periodic save, tray.
  void EndSessionQuery();
  void WMPowerBroadcast(int code);
  void TimerSavPeriodicTimer();
  void Sortir1Click();
  void RestoreFromTray();

  // CSV buttons.
  void ButtonExportDataClick();
  void ButtonBin2CSVClick();

  // The shared time window and the series (the charts follow in their own issue).
  void SetTimeWindow();
  void RefreshPlots(bool displayRHInt, bool displayTempHot);

  // Regions and pages.
  ConnectionBar* PanelCOM = nullptr;
  QWidget* PanelPlotSetup = nullptr;
  ReadingsPanel* GroupBoxDisplays = nullptr;
  SecondaryReadings* secondaryReadings = nullptr;
  PlotOptionsGroup* GroupBoxPlotOptions = nullptr;
  QWidget* PanelGraphic = nullptr;
  QTabWidget* PageControl = nullptr;
  ChartPage* TabSheetVolts = nullptr;
  ChartPage* TabSheetRH = nullptr;
  SetupPage* TabSheetConfig = nullptr;
  PostingPage* TabSheetFTP = nullptr;
  CoolingPage* TabSheetCCDCool = nullptr;
  LensBasicPage* TabSheetIrisFocus = nullptr;
  ChartPage* TabSheetWeatherModule = nullptr;
  WindSpeedPage* TabSheetWind = nullptr;
  ChartPage* TabSheetWindir = nullptr;
  WeatherDebugPage* TabSheetDebugWeatherExt = nullptr;
  LensAdvancedPage* TabSheetIrisFocusAdv = nullptr;
  LogView* RichEdit = nullptr;
  QLabel* StatusPanels[4] = {};
  QSystemTrayIcon* TrayIcon = nullptr;
  QMenu* PopupMenuTray = nullptr;

  QTimer TimerGetPeriodicData;
  QTimer TimerSavPeriodic;
  QTimer TimerFTP;

  // State owned for the subsystems.
  std::filesystem::path ChemExec;
  std::filesystem::path ChemIMG;
  std::filesystem::path Chembckup;
  std::unique_ptr<TSettingsFile> FileIni;
  std::unique_ptr<HistoryStore> history;
  TTinfosRec Datas;
  int ComNumG = 3;
  bool Connected = false;
  double MinX = 1.0;
  double MaxX = 0.1;
  double MinYTemp = 11, MaxYTemp = 25;
  double MinYRH = 0, MaxYRH = 100;
  bool gHeaterON = false;
  bool gAutoTempRH_Heat = false;
  std::uint8_t gPowerHeaterLevel = 0;
  std::uint16_t gSeuil_Temp_asWord = 0;
  std::uint16_t gSeuil_RH_asWord = 0;
  bool isUpdatingControls = false;
  double Version = 0;
  std::uint8_t TypeCam = 0;
  bool DisplayTempHot = false;
  bool DisplayRH_int = false;
  bool DriveEFlens_intf = false;
  TstateCoolCCD PreviousStateCCDCool;
  std::uint16_t Previous_LensID = 0;
  int AbsolFocus = 0;
  std::uint16_t ErrorLens = 0;
  TFTPCredentials FTPCredentials;
  std::uint32_t PostingIntervalSeconds = 300;
  std::unique_ptr<TComObjRs232> ComObjRs232;
  std::unique_ptr<PollDriver> polls;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildWindow();
  void BuildTray();
  void WireControls();
  void FormCreate();
  void FormClose();
  void SaveSettings();
  void Connect();
  void Disconnect();
  void ConnectFailed(const std::string& message);
  void GetCurrentSetup();
  void ApplyIdentity(const struct DeviceIdentity& identity);
  void ApplySuccess(const TDataOUT& out);
  void ApplyCooling(TDataOUT& out);
  void ShowPollCounters();
  void PlaySoundFile(const std::string& name);
  void HidePage(QWidget* page);
  void ShowPage(QWidget* page);
  void SaveHistory();
  TDataTinParams PollInputs();

  // The time-axis label formats SetTimeWindow writes back, per chart.
  TTimeFormats timeFormats_;
  std::unique_ptr<SessionEvents> sessionEvents_;
  QSoundEffect* failureSound_ = nullptr;
  bool closed_ = false;
};

}  // namespace vesk
