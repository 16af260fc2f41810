// The main window built for real, connected through a pseudo-terminal to the simulated board
// of this process, offscreen.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include <fstream>
#include <memory>

#include "acquisition/gui/readings_panel.h"
#include "acquisition/readings_text.h"
#include "app/connection_bar.h"
#include "app/main_window.h"
#include "common/event_log.h"
#include "device/gui/actions_group.h"
#include "device/gui/cooling_page.h"
#include "device/gui/heating_group.h"
#include "device/gui/setup_page.h"
#include "history/history_format.h"
#include "history/history_load.h"
#include "lens/gui/lens_advanced_page.h"
#include "lens/gui/lens_basic_page.h"
#include "link/com_obj_rs232.h"
#include "plots/gui/plot_options_group.h"
#include "plots/gui/wind_speed_page.h"
#include "posting/gui/posting_page.h"
#include "sim/in_process_board.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"
#include "weather/gui/weather_debug_page.h"
#include "widgets/gui/message_box.h"
#include "widgets/gui/number_edit.h"

using namespace vesk;

namespace {

// A program folder with a board on COM3 (the default port, connected at start).
class Station {
 public:
  explicit Station(std::uint8_t type = 23, std::uint8_t major = 3, std::uint8_t minor = 5) {
    sim::BoardSetup setup;
    setup.identity = {major, minor, type, 0, "127512"};
    board = std::make_unique<sim::InProcessBoard>(setup);
    board->linkAsPort(folder.path(), 3);
    InitLog(folder.path());
    SetDialogAnswers({[this](MessageKind, const QString& text) {
                        messages << text;
                        return true;
                      },
                      {},
                      {}});
  }
  ~Station() {
    window.reset();
    SetDialogAnswers({});
  }

  TMAINForm& open() {
    window = std::make_unique<TMAINForm>(folder.path());
    return *window;
  }

  // The texts of the log file, without their time stamps.
  QStringList log() const {
    QStringList texts;
    for (const std::string& text : test::LogFileTexts()) {
      texts << QString::fromStdString(text);
    }
    return texts;
  }

  void faults(const sim::BoardFaults& f) {
    board->withBoard([&](sim::Board& b) { b.setFaults(f); });
  }

  test::TempFolder folder;
  std::unique_ptr<sim::InProcessBoard> board;
  std::unique_ptr<TMAINForm> window;
  QStringList messages;
};

bool TabVisible(TMAINForm& w, QWidget* page) {
  return w.PageControl->isTabVisible(w.PageControl->indexOf(page));
}

int IndexOf(const QStringList& lines, const QString& prefix, int from = 0) {
  for (int i = from; i < lines.size(); ++i) {
    if (lines[i].startsWith(prefix)) {
      return i;
    }
  }
  return -1;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void startsInAnEmptyFolderAndConnects() {
    Station station;
    TMAINForm& w = station.open();
    QCOMPARE(w.windowTitle(),
             QStringLiteral("Vesk Monitor (18 JAN 2026) -> V3 and V2 firmware compliant"));
    QVERIFY(std::filesystem::is_directory(station.folder / "Images"));
    QVERIFY(std::filesystem::is_directory(station.folder / "backup"));
    QVERIFY(std::filesystem::exists(station.folder / "VeskLevel.ini"));
    QVERIFY(w.Connected);
    QVERIFY(station.messages.isEmpty());

    const QStringList log = station.log();
    const QStringList expected = {
        "Application opened", "Points loaded",
        "COM3 Opened -> ",    "Startup ->  Ver. FIRM : 3.5",
        "Firmware > 2.0",     "Camera Type : 23",
        "Setup Done",         "GetcurrentSetup->  Temperature threshold : ",
        "GetData-> "};
    int at = 0;
    for (const QString& line : expected) {
      at = IndexOf(log, line, at);
      QVERIFY2(at >= 0, qPrintable(line + " missing or out of order in:\n" + log.join('\n')));
    }
    QCOMPARE(w.StatusPanels[0]->text(), QStringLiteral(" [Astel 5]   [127512]"));
    QCOMPARE(w.PanelCOM->ButtonConnect->text(), QStringLiteral("- DISCONNECT -"));
    QVERIFY(!w.PanelCOM->SpinEditCOMPort->isEnabled());
    QVERIFY(TabVisible(w, w.TabSheetCCDCool));
    QVERIFY(!w.TabSheetCCDCool->GroupBoxCoolDirect->isVisibleTo(w.TabSheetCCDCool));
    QVERIFY(w.secondaryReadings->LabelTempHotSide->isVisibleTo(&w));
    QCOMPARE(w.TimerGetPeriodicData.interval(), 10000);
    QVERIFY(w.TimerGetPeriodicData.isActive());
    // The new heating values start from the board's current ones.
    const HeatingThresholdsGroup& heating = *w.TabSheetConfig->heating;
    QCOMPARE(heating.NumberEditTemp_Seuil->text(), heating.Label_TempSeuil->text().remove(" °C"));
    QCOMPARE(heating.NumberEditPower_Level->text() + " %", heating.Label_PowerMax->text());
  }

  void pagesFollowTheModel_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("cooling");
    QTest::addColumn<bool>("weather");
    QTest::addColumn<bool>("basicLens");
    QTest::addColumn<bool>("advancedLens");
    QTest::newRow("plain") << 3 << 5 << " [Tarn uncool]" << false << false << false << false;
    QTest::newRow("cooled") << 4 << 5 << " [Tarn cooled]" << true << false << false << false;
    QTest::newRow("weather") << 34 << 5 << " [Astel9 Weather]" << true << true << false << true;
    QTest::newRow("lens") << 33 << 5 << " [BRISA 3M]" << true << false << false << true;
    QTest::newRow("older lens") << 25 << 0 << " [Brisa 2M]" << true << false << false << true;
  }

  void pagesFollowTheModel() {
    QFETCH(int, type);
    QFETCH(int, minor);
    QFETCH(QString, label);
    QFETCH(bool, cooling);
    QFETCH(bool, weather);
    QFETCH(bool, basicLens);
    QFETCH(bool, advancedLens);
    Station station(static_cast<std::uint8_t>(type), 3, static_cast<std::uint8_t>(minor));
    TMAINForm& w = station.open();
    QVERIFY2(w.Connected, qPrintable(station.messages.join('\n')));
    QCOMPARE(w.StatusPanels[0]->text(), label + QStringLiteral("   [127512]"));
    QCOMPARE(TabVisible(w, w.TabSheetCCDCool), cooling);
    QCOMPARE(TabVisible(w, w.TabSheetWind), weather);
    QCOMPARE(TabVisible(w, w.TabSheetDebugWeatherExt), weather);
    QCOMPARE(TabVisible(w, w.TabSheetIrisFocus), basicLens);
    QCOMPARE(TabVisible(w, w.TabSheetIrisFocusAdv), advancedLens);
    QCOMPARE(w.secondaryReadings->LabelPressure->isVisibleTo(&w), type == 34);
    QVERIFY(station.log().contains(QStringLiteral("Setup Done")));
  }

  void aNewModelDoesNotInheritTheLensFlag() {
    Station station(34);
    TMAINForm& w = station.open();
    QVERIFY(w.DriveEFlens_intf);
    w.ButtonConnectClick();  // disconnect
    sim::BoardSetup setup;
    setup.identity = {3, 5, 23, 0, "127512"};
    station.board = std::make_unique<sim::InProcessBoard>(setup);
    station.board->linkAsPort(station.folder.path(), 3);
    w.ButtonConnectClick();
    QVERIFY(w.Connected);
    QVERIFY(!w.DriveEFlens_intf);
    w.PollDevice(true);
    QCOMPARE(w.polls->NbPoolsFailed, 0u);
  }

  void aPollIsShownAndKept() {
    Station station(34);
    TMAINForm& w = station.open();
    QCOMPARE(w.Datas.size(), std::size_t{1});
    const ReadingsTexts texts = FormatReadings(w.Datas.back());
    QCOMPARE(w.GroupBoxDisplays->LabelTemp->text(), QString::fromStdString(texts.LabelTemp));
    QCOMPARE(w.GroupBoxDisplays->LabelRH->text(), QString::fromStdString(texts.LabelRH));
    QCOMPARE(w.GroupBoxDisplays->LabelPR->text(), QString::fromStdString(texts.LabelPR));
    QCOMPARE(w.secondaryReadings->LabelPressure->text(),
             QString::fromStdString(texts.LabelPressure));
    QVERIFY(w.Datas.back().Date > 0);
    QVERIFY(w.Datas.back().Pressure > 900);

    w.PollDevice(true);
    QCOMPARE(w.Datas.size(), std::size_t{2});
    QCOMPARE(w.StatusPanels[3]->text(), QStringLiteral("1 / failed=0"));
    QCOMPARE(w.StatusPanels[2]->text(), QStringLiteral(" Data pts=2"));
  }

  void failedPollsShowPlaceholders() {
    Station station(23);
    TMAINForm& w = station.open();
    const QString dewPoint = w.GroupBoxDisplays->LabelPR->text();
    station.faults({.badChecksumEvery = 1});
    w.PollDevice(true);
    w.PollDevice(true);
    QCOMPARE(w.GroupBoxDisplays->LabelTemp->text(), QStringLiteral("??.? °C"));
    QCOMPARE(w.secondaryReadings->LabelTempHotSide->text(), QStringLiteral("Hot Plate: ??.? °C"));
    QCOMPARE(w.GroupBoxDisplays->LabelPR->text(), dewPoint);
    QCOMPARE(w.StatusPanels[3]->text(), QStringLiteral("2 / failed=2"));
    QCOMPARE(w.Datas.size(), std::size_t{1});
    const QStringList log = station.log();
    const int worker = IndexOf(log, "Thread get data call failed -> Error -> \"checksum\"");
    QVERIFY(worker >= 0);
    QVERIFY(IndexOf(log, "RS232 Link Error -> Thread get data call failed -> ", worker) > worker);

    station.faults({});
    w.PollDevice(true);
    QVERIFY(w.secondaryReadings->LabelTempHotSide->text().startsWith("Hot plate: "));
  }

  void disconnectDuringASlowPollReleasesThePort() {
    Station station(3);
    TMAINForm& w = station.open();
    station.faults({.delay = std::chrono::milliseconds(600)});
    w.PollDevice(false);
    QVERIFY(w.polls->ThreadRun());
    w.ButtonConnectClick();  // disconnects: waits for the poll, then closes
    QVERIFY(!w.Connected);
    QVERIFY(!w.ComObjRs232);
    QCOMPARE(w.PanelCOM->ButtonConnect->text(), QStringLiteral("- CONNECT -"));
    QVERIFY(!w.polls->ThreadRun());
    QCOMPARE(w.Datas.size(), std::size_t{2});  // the slow reading is kept
    TComObjRs232 again(station.folder.path());
    again.OpenCom(3);  // the port is free again
    again.CloseCom();
    QCoreApplication::processEvents();  // the worker's hand-over finds nothing left to do
  }

  void closingSavesTheHistoryAndClosesThePortFirst() {
    Station station(3);
    TMAINForm& w = station.open();
    w.close();
    const QStringList log = station.log();
    QVERIFY(std::filesystem::exists(station.folder / "DatasVesk.bin"));
    TTinfosRec saved;
    LoadHistory(station.folder / "DatasVesk.bin", kCurrentHistoryTag, saved);
    QCOMPARE(saved.size(), std::size_t{1});
    const int closed = IndexOf(log, "COM closed -> ");
    QVERIFY(closed >= 0);
    QCOMPARE(IndexOf(log, "Application closed", closed), log.size() - 1);
  }

  void closingDuringAPollKeepsItsReading() {
    Station station(3);
    TMAINForm& w = station.open();
    station.faults({.delay = std::chrono::milliseconds(400)});
    w.PollDevice(false);
    w.close();
    TTinfosRec saved;
    LoadHistory(station.folder / "DatasVesk.bin", kCurrentHistoryTag, saved);
    QCOMPARE(saved.size(), std::size_t{2});
  }

  void aDamagedHistoryStartsEmpty() {
    Station station(3);
    {
      std::ofstream damaged(station.folder / "DatasVesk.bin", std::ios::binary);
      damaged << "not a history file at all";
    }
    TMAINForm& w = station.open();
    QCOMPARE(w.Datas.size(), std::size_t{1});  // the first poll only
    const QStringList log = station.log();
    const int failed = IndexOf(log, "Point loading -> ");
    QVERIFY(failed >= 0);
    QVERIFY(log[failed].endsWith(" does not have the correct format !"));
    QVERIFY(IndexOf(log, "Points loaded", failed) > failed);
  }

  void aNegativePostingIntervalEndsTheStart() {
    Station station(3);
    {
      std::ofstream ini(station.folder / "VeskLevel.ini");
      ini << "[FTP]\r\nintervall=-5\r\n";
    }
    TMAINForm& w = station.open();
    QCOMPARE(station.messages, QStringList{"Error on startup -> Range check error"});
    QCOMPARE(w.TabSheetFTP->NumberEditFTPUpdate->text(), QStringLiteral("-5"));  // shown first
    QVERIFY(!w.Connected);  // the automatic connection came after
    QCOMPARE(station.log().last(), QStringLiteral("Error on startup -> Range check error"));
  }

  void aMissingBoardIsAFatalConnectionError() {
    test::TempFolder folder;
    InitLog(folder.path());
    QStringList messages;
    SetDialogAnswers({[&](MessageKind, const QString& text) {
                        messages << text;
                        return true;
                      },
                      {},
                      {}});
    {
      std::ofstream ini(folder / "VeskLevel.ini");
      ini << "[COM]\r\nValue=200\r\n";
    }
    {
      TMAINForm w(folder.path());
      QVERIFY(!w.Connected);
      QCOMPARE(messages, QStringList{"Issue with data link (FATAL ERROR) : Error -> Cannot open "
                                     "COM port200, Restart software !"});
      QVERIFY(w.PanelCOM->SpinEditCOMPort->isEnabled());
      QVERIFY(w.PanelPlotSetup->isVisibleTo(&w));
    }
    SetDialogAnswers({});
  }

  void numberFieldsCheckTheirTextWhenLeft_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("message");
    QTest::newRow("decimal") << "EditMaxY_V"
                             << "12.50"
                             << "12.5"
                             << "";
    QTest::newRow("expression") << "EditMaxY_V"
                                << "2*3"
                                << "6"
                                << "";
    QTest::newRow("too large") << "EditMaxY_V"
                               << "70"
                               << "70"
                               << "Figure too large compared to :60";
    QTest::newRow("not an expression") << "EditMaxY_V"
                                       << "1+a"
                                       << "1+a"
                                       << "Invalid input !";
    QTest::newRow("whole number") << "NumberEditPower_Level"
                                  << "2.5"
                                  << "2.5"
                                  << "2.5 is not a integer figure !";
    QTest::newRow("whole expression") << "NumberEditPower_Level"
                                      << "(4+6)*5"
                                      << "50"
                                      << "";
  }

  void numberFieldsCheckTheirTextWhenLeft() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    Station station(3);
    TMAINForm& w = station.open();
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* edit = w.findChild<TNumberEdit*>(field);
    QVERIFY(edit);
    w.PageControl->setCurrentWidget(w.TabSheetConfig);
    edit->show();
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    edit->clear();
    QTest::keyClicks(edit, typed);
    w.GroupBoxPlotOptions->CheckBoxLock_translate->setFocus();  // leaving runs the check
    QTRY_VERIFY(!edit->hasFocus() || !message.isEmpty());
    QCOMPARE(edit->text(), shown);
    QCOMPARE(station.messages, message.isEmpty() ? QStringList{} : QStringList{message});
    if (!message.isEmpty()) {
      QTRY_VERIFY(edit->hasFocus());  // the focus comes back for a correction
    }
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
