// The main window built for real, connected through a pseudo-terminal to the simulated board
// of this process, offscreen.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <fstream>
#include <memory>

#include "acquisition/readings_text.h"
#include "app/main_window.h"
#include "common/datetime.h"
#include "common/event_log.h"
#include "history/history_format.h"
#include "history/history_load.h"
#include "history/history_store.h"
#include "history/synthetic_history.h"
#include "link/com_obj_rs232.h"
#include "station/station.h"
#include "tests/support/temp_folder.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"
#include "widgets/gui/message_box.h"
#include "widgets/gui/number_edit.h"

using namespace vesk;
using test::Find;
using test::IndexOf;
using test::TabVisible;
using test::Text;
using Fixture = test::WindowFixture;

class MainWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void startsInAnEmptyFolderAndConnects() {
    Fixture station;
    TMAINForm& w = station.open();
    QCOMPARE(w.windowTitle(),
             QStringLiteral("Vesk Monitor (18 JAN 2026) -> V3 and V2 firmware compliant"));
    QVERIFY(std::filesystem::is_directory(station.folder / "Images"));
    QVERIFY(std::filesystem::is_directory(station.folder / "backup"));
    QVERIFY(std::filesystem::exists(station.folder / "VeskLevel.ini"));
    QVERIFY(w.station().Connected());
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
    QCOMPARE(Text(w, "StatusPanel0"), QStringLiteral(" [Astel 5]   [127512]"));
    QCOMPARE(Find<QPushButton>(w, "ButtonConnect").text(), QStringLiteral("- DISCONNECT -"));
    QVERIFY(!Find<QSpinBox>(w, "SpinEditCOMPort").isEnabled());
    QVERIFY(TabVisible(w, "TabSheetCCDCool"));
    auto& cooling = Find<QWidget>(w, "TabSheetCCDCool");
    QVERIFY(!Find<QWidget>(cooling, "GroupBoxCoolDirect").isVisibleTo(&cooling));
    QVERIFY(Find<QLabel>(w, "LabelTempHotSide").isVisibleTo(&w));
    auto& polls = Find<QTimer>(w, "TimerGetPeriodicData");
    QCOMPARE(polls.interval(), 10000);
    QVERIFY(polls.isActive());
    QVERIFY(!Find<QCheckBox>(w, "CheckBoxFastSpeed").isChecked());
    QCOMPARE(Find<QTimer>(w, "TimerSavPeriodic").interval(), 900000);
    // The new heating values start from the board's current ones.
    QCOMPARE(Find<TNumberEdit>(w, "NumberEditTemp_Seuil").text(),
             Find<QLineEdit>(w, "Label_TempSeuil").text().remove(" °C"));
    QCOMPARE(Find<TNumberEdit>(w, "NumberEditPower_Level").text() + " %",
             Find<QLineEdit>(w, "Label_PowerMax").text());
  }

  // A board on a device path ("COM" "Device", as a USB adapter's): the port number and its
  // ports/ link play no part.
  void aDeviceFromTheSettingsIsConnectedAndPolled() {
    Fixture station;
    std::filesystem::remove(station.folder / "ports" / "COM3");
    std::ofstream(station.folder / "VeskLevel.ini")
        << "[COM]\r\nDevice=" << station.board->devicePath() << "\r\n";
    TMAINForm& w = station.open();
    QVERIFY(w.station().Connected());
    QCOMPARE(w.station().Device(), station.board->devicePath());
    w.PollDevice(true);
    QCOMPARE(w.station().Datas().size(), std::size_t{2});
  }

  // An unattended station starts in fast mode and saves at the period its settings file says.
  void fastModeAndSavePeriodFromTheSettingsFile() {
    Fixture station;
    std::ofstream(station.folder / "VeskLevel.ini") << "[Misc]\r\nSpeed=1\r\nSavePeriod=2.5\r\n";
    TMAINForm& w = station.open();
    QVERIFY(w.station().Connected());
    QVERIFY(Find<QCheckBox>(w, "CheckBoxFastSpeed").isChecked());
    auto& polls = Find<QTimer>(w, "TimerGetPeriodicData");
    QCOMPARE(polls.interval(), 1000);
    QVERIFY(polls.isActive());
    auto& saves = Find<QTimer>(w, "TimerSavPeriodic");
    QCOMPARE(saves.interval(), 2500);
    QVERIFY(saves.isActive());
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
    Fixture station(static_cast<std::uint8_t>(type), 3, static_cast<std::uint8_t>(minor));
    TMAINForm& w = station.open();
    QVERIFY2(w.station().Connected(), qPrintable(station.messages.join('\n')));
    QCOMPARE(Text(w, "StatusPanel0"), label + QStringLiteral("   [127512]"));
    QCOMPARE(TabVisible(w, "TabSheetCCDCool"), cooling);
    QCOMPARE(TabVisible(w, "TabSheetWind"), weather);
    QCOMPARE(TabVisible(w, "TabSheetDebugWeatherExt"), weather);
    QCOMPARE(TabVisible(w, "TabSheetIrisFocus"), basicLens);
    QCOMPARE(TabVisible(w, "TabSheetIrisFocusAdv"), advancedLens);
    QCOMPARE(Find<QLabel>(w, "LabelPressure").isVisibleTo(&w), type == 34);
    QVERIFY(station.log().contains(QStringLiteral("Setup Done")));
  }

  void aNewModelDoesNotInheritTheLensFlag() {
    Fixture station(34);
    TMAINForm& w = station.open();
    QVERIFY(w.station().Identity().DriveEFlens_intf);
    w.ButtonConnectClick();  // disconnect
    station.replaceBoard(23);
    w.ButtonConnectClick();
    QVERIFY(w.station().Connected());
    QVERIFY(!w.station().Identity().DriveEFlens_intf);
    w.PollDevice(true);
    QCOMPARE(w.station().NbPoolsFailed(), 0u);
  }

  void aPollIsShownAndKept() {
    Fixture station(34);
    TMAINForm& w = station.open();
    const TTinfosRec& Datas = w.station().Datas();
    QCOMPARE(Datas.size(), std::size_t{1});
    const ReadingsTexts texts = FormatReadings(Datas.back());
    QCOMPARE(Text(w, "LabelTemp"), QString::fromStdString(texts.LabelTemp));
    QCOMPARE(Text(w, "LabelRH"), QString::fromStdString(texts.LabelRH));
    QCOMPARE(Text(w, "LabelPR"), QString::fromStdString(texts.LabelPR));
    QCOMPARE(Text(w, "LabelPressure"), QString::fromStdString(texts.LabelPressure));
    QVERIFY(Datas.back().Date > 0);
    QVERIFY(Datas.back().Pressure > 900);

    w.PollDevice(true);
    QCOMPARE(Datas.size(), std::size_t{2});
    QCOMPARE(Text(w, "StatusPanel3"), QStringLiteral("1 / failed=0"));
    QCOMPARE(Text(w, "StatusPanel2"), QStringLiteral(" Data pts=2"));
  }

  void failedPollsShowPlaceholders() {
    Fixture station(23);
    TMAINForm& w = station.open();
    const QString dewPoint = Text(w, "LabelPR");
    station.faults({.badChecksumEvery = 1});
    w.PollDevice(true);
    w.PollDevice(true);
    QCOMPARE(Text(w, "LabelTemp"), QStringLiteral("??.? °C"));
    QCOMPARE(Text(w, "LabelTempHotSide"), QStringLiteral("Hot Plate: ??.? °C"));
    QCOMPARE(Text(w, "LabelPR"), dewPoint);
    QCOMPARE(Text(w, "StatusPanel3"), QStringLiteral("2 / failed=2"));
    QCOMPARE(w.station().Datas().size(), std::size_t{1});
    const QStringList log = station.log();
    const int worker = IndexOf(log, "Thread get data call failed -> Error -> \"checksum\"");
    QVERIFY(worker >= 0);
    QVERIFY(IndexOf(log, "RS232 Link Error -> Thread get data call failed -> ", worker) > worker);

    station.faults({});
    w.PollDevice(true);
    QVERIFY(Text(w, "LabelTempHotSide").startsWith("Hot plate: "));
  }

  void disconnectDuringASlowPollReleasesThePort() {
    Fixture station(3);
    TMAINForm& w = station.open();
    station.faults({.delay = std::chrono::milliseconds(600)});
    w.PollDevice(false);
    QVERIFY(w.station().ThreadRun());
    w.ButtonConnectClick();  // disconnects: waits for the poll, then closes
    QVERIFY(!w.station().Connected());
    QVERIFY(!w.station().LinkHeld());
    QCOMPARE(Find<QPushButton>(w, "ButtonConnect").text(), QStringLiteral("- CONNECT -"));
    QVERIFY(!w.station().ThreadRun());
    QCOMPARE(w.station().Datas().size(), std::size_t{2});  // the slow reading is kept
    TComObjRs232 again(station.folder.path());
    again.OpenCom(3);  // the port is free again
    again.CloseCom();
    // The worker's hand-over, queued before the disconnection applied the poll, finds
    // nothing left to do: the reading is not kept twice, the counters do not move.
    QCoreApplication::processEvents();
    QCOMPARE(w.station().Datas().size(), std::size_t{2});
    QCOMPARE(Text(w, "StatusPanel3"), QStringLiteral("1 / failed=0"));
  }

  void closingSavesTheHistoryAndClosesThePortFirst() {
    Fixture station(3);
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
    Fixture station(3);
    TMAINForm& w = station.open();
    station.faults({.delay = std::chrono::milliseconds(400)});
    w.PollDevice(false);
    w.close();
    TTinfosRec saved;
    LoadHistory(station.folder / "DatasVesk.bin", kCurrentHistoryTag, saved);
    QCOMPARE(saved.size(), std::size_t{2});
  }

  void aDamagedHistoryStartsEmpty() {
    Fixture station(3);
    {
      std::ofstream damaged(station.folder / "DatasVesk.bin", std::ios::binary);
      damaged << "not a history file at all";
    }
    TMAINForm& w = station.open();
    QCOMPARE(w.station().Datas().size(), std::size_t{1});  // the first poll only
    const QStringList log = station.log();
    const int failed = IndexOf(log, "Point loading -> ");
    QVERIFY(failed >= 0);
    QVERIFY(log[failed].endsWith(" does not have the correct format !"));
    QVERIFY(IndexOf(log, "Points loaded", failed) > failed);
  }

  // A negative posting interval is refused with its message; the start, the automatic
  // connection included, goes on.
  void aNegativePostingIntervalIsRefusedAndTheStartGoesOn() {
    Fixture station(3);
    {
      std::ofstream ini(station.folder / "VeskLevel.ini");
      ini << "[FTP]\r\nintervall=-5\r\n";
    }
    TMAINForm& w = station.open();
    QVERIFY(station.messages.isEmpty());
    QCOMPARE(Find<TNumberEdit>(w, "NumberEditFTPUpdate").text(), QStringLiteral("5"));
    QVERIFY(w.station().Connected());
    QVERIFY(station.log().contains(
        QStringLiteral("FTP interval of -5 minutes refused -> Range check error, 5 minutes kept")));
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
      QVERIFY(!w.station().Connected());
      QCOMPARE(messages, QStringList{"Issue with data link (FATAL ERROR) : Error -> Cannot open "
                                     "COM port200, Restart software !"});
      QVERIFY(Find<QSpinBox>(w, "SpinEditCOMPort").isEnabled());
      QVERIFY(Find<QWidget>(w, "PanelPlotSetup").isVisibleTo(&w));
    }
    SetDialogAnswers({});
  }

  // Each step of the connection is shown before the next fails: a version reply too short
  // for the model type leaves the version on screen and in the log, then takes the fatal path.
  void aVersionReplyWithoutTheModelTypeFailsAfterTheVersion() {
    Fixture station(34);
    station.faults({.shortVersion = true});
    TMAINForm& w = station.open();
    QVERIFY(!w.station().Connected());
    QCOMPARE(station.messages, QStringList{"Issue with data link (FATAL ERROR) : Range check "
                                           "error, Restart software !"});
    QCOMPARE(Text(w, "LabelVer"), QStringLiteral(" Ver. FIRM : 3.5"));
    QCOMPARE(w.station().Identity().Version, 3.5);
    QVERIFY(!TabVisible(w, "TabSheetCCDCool"));
    const QStringList log = station.log();
    const int version = IndexOf(log, "Startup ->  Ver. FIRM : 3.5");
    QVERIFY(version >= 0);
    QCOMPARE(log[version + 1], QStringLiteral("Firmware > 2.0"));
    QCOMPARE(log[version + 2],
             QStringLiteral("Issue with data link (FATAL ERROR) : Range check error"));
    QVERIFY(IndexOf(log, "Camera Type : ") < 0);
  }

  // Settings that cannot be read stop the start before the history is loaded. The readings of
  // a manual connection are saved all the same, after the records the file already held.
  void aStartStoppedBeforeTheLoadKeepsTheFileAndTheNewReadings() {
    Fixture station(3);
    const TTinfosRec older = GenerateHistory(Now() - 1, 5, 600);
    {
      HistoryStore store(station.folder.path());
      store.SaveHistory(older, kHistoryFileName);
    }
    std::filesystem::create_directory(station.folder / "VeskLevel.ini");
    TMAINForm& w = station.open();
    QCOMPARE(station.messages.size(), 1);
    QVERIFY(station.messages.first().startsWith("Error on startup -> "));
    QVERIFY(!w.station().Connected());
    w.WMPowerBroadcast(4);  // nothing to save yet, nothing to lose
    w.WMPowerBroadcast(7);
    w.ButtonConnectClick();
    QVERIFY(w.station().Connected());
    w.PollDevice(true);
    w.close();
    QCOMPARE(station.log().last(), QStringLiteral("Application closed"));
    TTinfosRec saved;
    LoadHistory(station.folder / "DatasVesk.bin", kCurrentHistoryTag, saved);
    QCOMPARE(saved.size(), older.size() + 2);
    QCOMPARE(saved.front().Date, older.front().Date);
    QCOMPARE(saved[older.size() - 1].Date, older.back().Date);
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
    Fixture station(3);
    TMAINForm& w = station.open();
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    auto* edit = w.findChild<TNumberEdit*>(field);
    QVERIFY(edit);
    Find<QTabWidget>(w, "PageControl").setCurrentWidget(&Find<QWidget>(w, "TabSheetConfig"));
    edit->show();
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    edit->clear();
    QTest::keyClicks(edit, typed);
    Find<QCheckBox>(w, "CheckBoxLock_translate").setFocus();  // leaving runs the check
    if (message.isEmpty()) {
      QTRY_VERIFY(!edit->hasFocus());
      QVERIFY(station.messages.isEmpty());
    } else {
      QTRY_COMPARE(station.messages, QStringList{message});
      QTRY_VERIFY(edit->hasFocus());  // the focus comes back for a correction
    }
    QCOMPARE(edit->text(), shown);
  }
};

VESK_WINDOW_TEST(MainWindowTest);
#include "main_window_test.moc"
