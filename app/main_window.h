#pragma once

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "settings/integration_settings.h"
#include "settings/settings_file.h"
#include "station/station_observer.h"

class QLabel;
class QMenu;
class QSoundEffect;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;

namespace vesk {

class ChartPage;
class ChartSet;
class ConnectionBar;
class CoolingPage;
class LensAdvancedPage;
class LensBasicPage;
class LogView;
class ObservatoryGroup;
class PlotOptionsGroup;
class PostingController;
class PostingPage;
class ReadingsPanel;
class SecondaryReadings;
class SessionEvents;
class SetupPage;
class Station;
class StationSession;
class ThreadRequest;
class WeatherDebugPage;
class WindSpeedPage;
struct TSeriesFlags;
struct DeviceIdentity;
struct TDataOUT;
enum class ChartKind;

// The main window and the composition root: it creates the station session (the board, its
// polls, history, reconnection and integrations), the pages and the timers, drives the
// session with its timers and presents what the session reports. Its handlers live in one
// file per job (start, close, connection, poll presentation, CSV); the pages carry the
// handlers of their own controls.
class TMAINForm : public QMainWindow, private StationObserver {
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

  // The board, its polls and its history.
  Station& station();

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
  void TimerGetPeriodicDataTimer();
  void CheckBoxFastSpeedClick();
  // A lost link: one attempt to find the board again, off the window's thread.
  void TimerReconnectTimer();
  void ResetReadings();

  // Session end, power notifications, periodic save, tray.
  void EndSessionQuery();
  void WMPowerBroadcast(int code);
  void TimerSavPeriodicTimer();
  void Sortir1Click();
  void TrayIconClick();
  void RestoreFromTray();

  // CSV buttons.
  void ButtonExportDataClick();
  void ButtonBin2CSVClick();

  // The charts: the shared time window, the series, the chart images.
  void SetTimeWindow();
  void RefreshPlots(bool displayRHInt, bool displayTempHot);
  // The two images an upload posts, in upload order: the temperature chart as "temp.jpg" and
  // the humidity chart as "RH.jpg" in the images folder, quality 100, both captioned and
  // logged with the one public address looked up for the upload. Failures reach the caller,
  // before anything is uploaded.
  std::vector<std::filesystem::path> SavePostingImages(const std::string& address);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildWindow();
  void BuildTray();
  void WireControls();
  void WireCharts();
  // The series rebuilt with these flags, and the data count shown.
  void ShowSeries(const TSeriesFlags& flags);
  void StartCharts();
  void FormCreate();
  bool FormCloseQuery();
  void FormClose();
  void ApplicationEventsMinimize();
  void SaveSettings();
  void Connect();
  void Disconnect();
  void ApplyPollPeriod();

  // What the station session reports (main_window_connect.cpp, main_window_poll.cpp,
  // main_window_reconnect.cpp, main_window_integrations.cpp).
  void VersionRead(const DeviceIdentity& identity, bool restoring) override;
  void ModelRead(const DeviceIdentity& identity) override;
  void SerialNumberRead(const std::string& serialNumber) override;
  void Identified(bool newConnection, bool restoring) override;
  void Connected(bool newConnection) override;
  void ConnectFailed(const std::string& text) override;
  void PollApplied(const ThreadRequest& sender) override;
  void LinkLost() override;
  void IntegrationsStatus(const std::string& text) override;
  void LogTrouble(const std::string& text, bool failing) override;

  void EndAfterBootloader();
  void HideModelPages();
  void ApplySuccess(const TDataOUT& out);
  void ShowPollCounters();
  void PlaySoundFile(const std::string& name);
  void HidePage(QWidget* page);
  void ShowPage(QWidget* page);
  void SaveHistory();
  // The posting controller made and wired to the posting page and the charts.
  void BuildPosting();
  // The observatory integrations (Alpaca, MQTT), from the settings.
  void StartIntegrations();
  void ShowIntegrationsStatus(const QString& text);
  void ApplyObservatory(const TAlpacaSettings& alpaca, const TMqttSettings& mqtt,
                        bool alpacaChanged, bool mqttChanged);
  void ShowLogTrouble(const QString& text, bool failing);

  std::unique_ptr<StationSession> session_;
  // The five charts as one, for the plot controls and the poll presentation.
  std::unique_ptr<ChartSet> charts_;

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
  ObservatoryGroup* GroupBoxObservatory = nullptr;
  std::array<QLabel*, 4> StatusPanels{};
  QLabel* StatusIntegrations = nullptr;  // only while an integration is enabled
  QLabel* StatusLog = nullptr;           // only while the log file cannot be written
  QSystemTrayIcon* TrayIcon = nullptr;
  QMenu* PopupMenuTray = nullptr;

  QTimer* TimerGetPeriodicData = nullptr;
  QTimer* TimerSavPeriodic = nullptr;
  QTimer* TimerReconnect = nullptr;

  // State of the window's own subsystems.
  std::filesystem::path ChemExec;
  std::filesystem::path ChemIMG;
  std::filesystem::path Chembckup;
  std::unique_ptr<TSettingsFile> FileIni;
  // Posting the chart images (account, schedule, upload worker); a child of the window.
  PostingController* posting_ = nullptr;
  std::unique_ptr<SessionEvents> sessionEvents_;
  QSoundEffect* failureSound_ = nullptr;
  bool closed_ = false;
  // The page shown when a lost link's board answered again: shown again once its model is.
  QWidget* shownPage_ = nullptr;
};

}  // namespace vesk
