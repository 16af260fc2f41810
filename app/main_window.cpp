#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "acquisition/gui/readings_panel.h"
#include "app/connection_bar.h"
#include "app/log_view.h"
#include "app/session_events.h"
#include "common/event_log.h"
#include "device/gui/actions_group.h"
#include "device/gui/cooling_page.h"
#include "device/gui/heating_group.h"
#include "device/gui/identity_group.h"
#include "device/gui/setup_page.h"
#include "lens/gui/lens_advanced_page.h"
#include "lens/gui/lens_basic_page.h"
#include "link/com_obj_rs232.h"
#include "plots/gui/chart_page.h"
#include "plots/gui/chart_set.h"
#include "plots/gui/plot_options_group.h"
#include "plots/gui/wind_speed_page.h"
#include "posting/gui/posting_page.h"
#include "settings/gui/observatory_group.h"
#include "settings/settings_file.h"
#include "station/reconnection.h"
#include "station/station.h"
#include "station/station_session.h"
#include "weather/gui/weather_debug_page.h"
#include "widgets/gui/guarded.h"

namespace vesk {
TMAINForm::TMAINForm(std::filesystem::path programFolder, QWidget* parent)
    : QMainWindow(parent), ChemExec(std::move(programFolder)) {
  // The session exists from the first moment, so the close, session-end and power paths
  // always have a history to save, whichever step of the start failed. Its settings come
  // with the start sequence.
  StationSession::Options options;
  options.attemptsOffThread = true;  // a silent port never freezes the window
  session_ = std::make_unique<StationSession>(
      ChemExec, StationSettings{},
      [this](std::function<void()> call) {
        // The hand-over runs on the main thread; dropped if the window is gone.
        QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
      },
      static_cast<StationObserver&>(*this), options);
  BuildWindow();
  station().SetThresholdsPresenter([this](const HeatingThresholdTexts& texts) {
    TabSheetConfig->heatingGroup()->ShowThresholds(texts);
  });
  BuildTray();
  // Every log line reaches the view once, in file order, from whichever thread wrote it:
  // queued even from the main thread, so a worker's earlier line is never overtaken.
  SetLogHandOver([this](const std::string& line) {
    const QString text = QString::fromStdString(line);
    QMetaObject::invokeMethod(
        this, [this, text] { AddLogLine(text); }, Qt::QueuedConnection);
  });
  WireControls();
  BuildPosting();
  // Centred for its expanded height, so connecting does not push it off the screen.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const int expanded =
        ConnectionBar::kHeight + kPanelPlotSetupHeight + kPanelGraphicHeight + kStatusBarHeight;
    move(screen->availableGeometry().center() - QPoint(kClientWidth / 2, expanded / 2));
  }
  sessionEvents_ = std::make_unique<SessionEvents>(
      [this] { Guarded(this, [this] { EndSessionQuery(); }); },
      [this](int code) { Guarded(this, [this, code] { WMPowerBroadcast(code); }); });
  FormCreate();
}

TMAINForm::~TMAINForm() {
  SetLogHandOver(nullptr);
  FormClose();
  // The station's polls end before the pages they are presented on go.
  session_.reset();
}

Station& TMAINForm::station() {
  return session_->station();
}

void TMAINForm::BuildWindow() {
  setObjectName(QStringLiteral("MAINForm"));
  QFont font = QApplication::font();
  font.setPointSize(8);
  setFont(font);

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  PanelCOM = new ConnectionBar(central);
  column->addWidget(PanelCOM);

  PanelPlotSetup = new QWidget(central);
  PanelPlotSetup->setObjectName(QStringLiteral("PanelPlotSetup"));
  PanelPlotSetup->setFixedHeight(kPanelPlotSetupHeight);
  auto* setupRow = new QHBoxLayout(PanelPlotSetup);
  setupRow->setContentsMargins(6, 2, 6, 4);
  GroupBoxDisplays = new ReadingsPanel(PanelPlotSetup);
  GroupBoxPlotOptions = new PlotOptionsGroup(PanelPlotSetup);
  secondaryReadings = new SecondaryReadings;
  GroupBoxPlotOptions->PlaceReadings(secondaryReadings);
  setupRow->addWidget(GroupBoxDisplays, 2);
  setupRow->addWidget(GroupBoxPlotOptions, 5);
  column->addWidget(PanelPlotSetup);

  PanelGraphic = new QWidget(central);
  PanelGraphic->setObjectName(QStringLiteral("PanelGraphic"));
  auto* graphic = new QVBoxLayout(PanelGraphic);
  graphic->setContentsMargins(2, 2, 2, 2);
  PageControl = new QTabWidget(PanelGraphic);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  graphic->addWidget(PageControl);
  column->addWidget(PanelGraphic, 1);

  RichEdit = new LogView();
  TabSheetVolts = new ChartPage(ChartKind::Temperatures, PageControl);
  TabSheetRH = new ChartPage(ChartKind::RelativeHumidity, PageControl);
  TabSheetConfig = new SetupPage(station(), RichEdit, PageControl);
  GroupBoxObservatory = new ObservatoryGroup(ChemExec);
  TabSheetConfig->PlaceObservatory(GroupBoxObservatory);
  TabSheetFTP = new PostingPage(PageControl);
  TabSheetCCDCool = new CoolingPage(station(), PageControl);
  TabSheetIrisFocus = new LensBasicPage(station(), PageControl);
  TabSheetWeatherModule = new ChartPage(ChartKind::Pressure, PageControl);
  TabSheetWind = new WindSpeedPage(PageControl);
  TabSheetWindir = new ChartPage(ChartKind::WindData, PageControl);
  TabSheetDebugWeatherExt = new WeatherDebugPage(station(), PageControl);
  TabSheetIrisFocusAdv = new LensAdvancedPage(station(), PageControl);
  PageControl->addTab(TabSheetVolts, TabSheetVolts->caption());
  PageControl->addTab(TabSheetRH, TabSheetRH->caption());
  PageControl->addTab(TabSheetConfig, SetupPage::caption());
  PageControl->addTab(TabSheetFTP, PostingPage::caption());
  PageControl->addTab(TabSheetCCDCool, CoolingPage::caption());
  PageControl->addTab(TabSheetIrisFocus, LensBasicPage::caption());
  PageControl->addTab(TabSheetWeatherModule, TabSheetWeatherModule->caption());
  PageControl->addTab(TabSheetWind, WindSpeedPage::caption());
  PageControl->addTab(TabSheetWindir, TabSheetWindir->caption());
  PageControl->addTab(TabSheetDebugWeatherExt, WeatherDebugPage::caption());
  PageControl->addTab(TabSheetIrisFocusAdv, LensAdvancedPage::caption());

  static const int kPanelWidths[4] = {180, 225, 250, 50};
  statusBar()->setObjectName(QStringLiteral("StatusBar"));
  statusBar()->setSizeGripEnabled(false);
  statusBar()->setFixedHeight(kStatusBarHeight + 4);
  for (int i = 0; i < 4; ++i) {
    StatusPanels[i] = new QLabel(statusBar());
    StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    StatusPanels[i]->setFixedWidth(kPanelWidths[i]);
    StatusPanels[i]->setFrameShape(QFrame::StyledPanel);
    statusBar()->addWidget(StatusPanels[i], i == 3 ? 1 : 0);
  }
  // The counters need more than their nominal 50 pixels once polls add up.
  StatusPanels[3]->setMinimumWidth(50);
  StatusPanels[3]->setMaximumWidth(QWIDGETSIZE_MAX);

  setCentralWidget(central);
  setFixedWidth(kClientWidth);

  const auto makeTimer = [this](const char* name, int interval) {
    auto* timer = new QTimer(this);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(interval);
    return timer;
  };
  TimerGetPeriodicData = makeTimer("TimerGetPeriodicData", 5000);
  TimerSavPeriodic = makeTimer("TimerSavPeriodic", 900000);
  TimerReconnect =
      makeTimer("TimerReconnect", static_cast<int>(Reconnection::kRetryPeriod.count()));
}

void TMAINForm::BuildTray() {
  PopupMenuTray = new QMenu(this);
  PopupMenuTray->setObjectName(QStringLiteral("PopupMenuTray"));
  QAction* Montrer1 = PopupMenuTray->addAction(QStringLiteral("Show"));
  Montrer1->setObjectName(QStringLiteral("Montrer1"));
  QAction* Sortir1 = PopupMenuTray->addAction(QStringLiteral("Exit"));
  Sortir1->setObjectName(QStringLiteral("Sortir1"));
  connect(Montrer1, &QAction::triggered, this,
          [this] { Guarded(this, [this] { RestoreFromTray(); }); });
  connect(Sortir1, &QAction::triggered, this,
          [this] { Guarded(this, [this] { Sortir1Click(); }); });

  TrayIcon = new QSystemTrayIcon(this);
  TrayIcon->setObjectName(QStringLiteral("TrayIcon"));
  TrayIcon->setIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
  TrayIcon->setToolTip(QStringLiteral("Température et humidité"));
  TrayIcon->setContextMenu(PopupMenuTray);
  connect(TrayIcon, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
              TrayIconClick();
            }
          });
  if (QSystemTrayIcon::isSystemTrayAvailable()) {
    TrayIcon->show();
  }
}

void TMAINForm::WireControls() {
  connect(PanelCOM, &ConnectionBar::deviceChosen, this,
          [this](const QString& device) { session_->SetDevice(device.toStdString()); });
  connect(GroupBoxObservatory, &ObservatoryGroup::applied, this,
          [this](const TAlpacaSettings& alpaca, const TMqttSettings& mqtt, bool alpacaChanged,
                 bool mqttChanged) {
            Guarded(this, [&] { ApplyObservatory(alpaca, mqtt, alpacaChanged, mqttChanged); });
          });
  connect(PanelCOM, &ConnectionBar::connectClicked, this,
          [this] { Guarded(this, [this] { ButtonConnectClick(); }); });
  connect(PanelCOM, &ConnectionBar::exportDataClicked, this,
          [this] { Guarded(this, [this] { ButtonExportDataClick(); }); });
  connect(PanelCOM, &ConnectionBar::bin2CsvClicked, this,
          [this] { Guarded(this, [this] { ButtonBin2CSVClick(); }); });
  connect(TabSheetConfig->actionsGroup(), &ActionsGroup::fastSpeedClicked, this,
          [this] { Guarded(this, [this] { CheckBoxFastSpeedClick(); }); });
  // The settings orders show the board's new state with a poll that waits.
  const auto pollNow = [this] { Guarded(this, [this] { PollDevice(true); }); };
  connect(TabSheetConfig->heatingGroup(), &HeatingThresholdsGroup::pollRequested, this, pollNow);
  connect(TabSheetConfig->actionsGroup(), &ActionsGroup::pollRequested, this, pollNow);
  connect(TabSheetCCDCool, &CoolingPage::pollRequested, this, pollNow);
  IdentityGroup* GroupBoxV3 = TabSheetConfig->identityGroup();
  connect(GroupBoxV3, &IdentityGroup::connectClickRequested, this,
          [this] { Guarded(this, [this] { ButtonConnectClick(); }); });
  connect(GroupBoxV3, &IdentityGroup::programEndRequested, this,
          [this] { Guarded(this, [this] { EndAfterBootloader(); }); });
  // One focus count for both lens pages: the newer page's position field follows the older's.
  connect(TabSheetIrisFocus, &LensBasicPage::focusSent, TabSheetIrisFocusAdv,
          &LensAdvancedPage::ShowAbsolFocus);
  connect(TimerGetPeriodicData, &QTimer::timeout, this,
          [this] { Guarded(this, [this] { TimerGetPeriodicDataTimer(); }); });
  connect(TimerSavPeriodic, &QTimer::timeout, this,
          [this] { Guarded(this, [this] { TimerSavPeriodicTimer(); }); });
  WireCharts();
  connect(TimerReconnect, &QTimer::timeout, this,
          [this] { Guarded(this, [this] { TimerReconnectTimer(); }); });
}

void TMAINForm::ShowCOM() {
  PanelPlotSetup->hide();
  PanelGraphic->hide();
  statusBar()->hide();
  setFixedHeight(PanelCOM->height());
}

void TMAINForm::ShowPanel() {
  PanelPlotSetup->show();
  PanelGraphic->show();
  statusBar()->show();
  PanelGraphic->setFixedHeight(kPanelGraphicHeight);
  setFixedHeight(PanelCOM->height() + PanelPlotSetup->height() + kPanelGraphicHeight +
                 statusBar()->height());
}

void TMAINForm::DisableSetupCOM() {
  PanelCOM->ShowConnected(true);
}

void TMAINForm::EnableSetupCOM() {
  PanelCOM->ShowConnected(false);
}

void TMAINForm::AddLogLine(const QString& line) {
  RichEdit->AddLogLine(line);
}

void TMAINForm::HidePage(QWidget* page) {
  PageControl->setTabVisible(PageControl->indexOf(page), false);
}

void TMAINForm::ShowPage(QWidget* page) {
  PageControl->setTabVisible(PageControl->indexOf(page), true);
}

void TMAINForm::TrayIconClick() {
  RestoreFromTray();
}

void TMAINForm::RestoreFromTray() {
  // Every window of the program, from the last to the first (menus and tips are no windows).
  const QWidgetList windows = QApplication::topLevelWidgets();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    const Qt::WindowType type = (*it)->windowType();
    if ((type == Qt::Window || type == Qt::Dialog) && *it != this) {
      (*it)->show();
    }
  }
  show();
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  raise();
  activateWindow();
}

void TMAINForm::ApplicationEventsMinimize() {
  // Hidden to the tray only when there is one: a window hidden without it could not return.
  if (QSystemTrayIcon::isSystemTrayAvailable() && TrayIcon->isVisible()) {
    QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
  }
}

void TMAINForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized()) {
    ApplicationEventsMinimize();
  }
}

bool TMAINForm::FormCloseQuery() {
  return true;
}

void TMAINForm::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

void TMAINForm::Sortir1Click() {
  WriteLog("Exit by trayicon");
  close();
}

}  // namespace vesk
