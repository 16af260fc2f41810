// The window's lost link: the simulated board of this process taken away and brought back on
// the same port, offscreen.
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <fstream>

#include "app/main_window.h"
#include "station/station.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"

using namespace vesk;
using test::Find;
using test::IndexOf;
using test::TabVisible;
using Fixture = test::WindowFixture;

namespace {

// The monitor's start with these "Misc" lines; the attempts come every 0.2 s instead of 30 s.
TMAINForm& Open(Fixture& station, const char* misc = "") {
  std::ofstream(station.folder / "VeskLevel.ini") << "[Misc]\r\nReconnectPeriod=0.2\r\n" << misc;
  return station.open();
}

// Three failed polls in a row with the board gone.
void LoseTheBoard(Fixture& station, TMAINForm& w) {
  station.board.reset();
  for (int poll = 0; poll < 3; ++poll) {
    w.PollDevice(true);
  }
}

QString Counters(const TMAINForm& w) {
  return Find<QLabel>(w, "StatusPanel3").text();
}

}  // namespace

class MainWindowReconnectTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void theSameBoardComesBackAndPollsGoOn() {
    Fixture station(23);
    TMAINForm& w = Open(station);
    QVERIFY(w.station().Connected());
    auto& polls = Find<QTimer>(w, "TimerGetPeriodicData");
    auto& attempts = Find<QTimer>(w, "TimerReconnect");
    w.PollDevice(true);

    LoseTheBoard(station, w);
    QVERIFY(IndexOf(station.log(), "Link lost -> reconnecting to COM3") >= 0);
    QVERIFY(!polls.isActive());
    QVERIFY(attempts.isActive());
    QCOMPARE(attempts.interval(), 200);
    QCOMPARE(Find<QPushButton>(w, "ButtonConnect").text(), QStringLiteral("- DISCONNECT -"));
    QCOMPARE(Counters(w), QStringLiteral("4 / failed=3"));

    station.replaceBoard(23);
    QTRY_VERIFY_WITH_TIMEOUT(w.station().Connected(), 35000);
    QVERIFY(polls.isActive());
    QVERIFY(!attempts.isActive());
    const QStringList log = station.log();
    int at = IndexOf(log, "Link lost -> reconnecting to COM3");
    for (const char* line : {"COM closed -> ", "COM3 Opened -> ", "Link restored -> COM3",
                             "Startup ->  Ver. FIRM : 3.5", "Camera Type : 23", "Setup Done",
                             "GetcurrentSetup->  ", "GetData-> "}) {
      at = IndexOf(log, line, at);
      QVERIFY2(at >= 0,
               qPrintable(QString(line) + " missing or out of order in:\n" + log.join('\n')));
    }

    w.PollDevice(true);
    // The counters went on: the restored link's first poll and one more.
    QCOMPARE(Counters(w), QStringLiteral("6 / failed=3"));
    QCOMPARE(w.station().Datas().size(),
             std::size_t{1} + w.station().NbPools() - w.station().NbPoolsFailed());
  }

  void anotherModelRebuildsThePages() {
    Fixture station(23);
    TMAINForm& w = Open(station);
    QVERIFY(!TabVisible(w, "TabSheetWind"));
    LoseTheBoard(station, w);

    station.replaceBoard(34);
    QTRY_VERIFY_WITH_TIMEOUT(w.station().Connected(), 35000);
    QCOMPARE(Find<QLabel>(w, "StatusPanel0").text(),
             QStringLiteral(" [Astel9 Weather]   [127512]"));
    QVERIFY(TabVisible(w, "TabSheetWind"));
    QVERIFY(TabVisible(w, "TabSheetDebugWeatherExt"));
    QVERIFY(TabVisible(w, "TabSheetIrisFocusAdv"));
    QVERIFY(Find<QLabel>(w, "LabelPressure").isVisibleTo(&w));
    QVERIFY(w.station().Identity().DriveEFlens_intf);
    // A new connection's counters, as after the operator's connection.
    QCOMPARE(w.station().NbPools(), 0u);
    QCOMPARE(w.station().NbPoolsFailed(), 0u);
  }

  void disconnectStopsTheAttempts() {
    Fixture station(23);
    TMAINForm& w = Open(station);
    LoseTheBoard(station, w);
    auto& attempts = Find<QTimer>(w, "TimerReconnect");
    QVERIFY(attempts.isActive());

    w.ButtonConnectClick();  // the operator's DISCONNECT
    QVERIFY(!attempts.isActive());
    QVERIFY(!w.station().Connected());
    QVERIFY(!w.station().LinkHeld());
    QCOMPARE(Find<QPushButton>(w, "ButtonConnect").text(), QStringLiteral("- CONNECT -"));

    station.replaceBoard(23);
    w.ButtonConnectClick();  // and connects again as usual
    QVERIFY(w.station().Connected());
    QVERIFY(station.messages.isEmpty());
  }

  void withoutAutoReconnectTheLinkIsLeftToTheOperator() {
    Fixture station(23);
    TMAINForm& w = Open(station, "AutoReconnect=0\r\n");
    LoseTheBoard(station, w);
    w.PollDevice(true);
    QVERIFY(w.station().Connected());
    QVERIFY(Find<QTimer>(w, "TimerGetPeriodicData").isActive());
    QVERIFY(!Find<QTimer>(w, "TimerReconnect").isActive());
    QCOMPARE(IndexOf(station.log(), "Link lost"), -1);
  }
};

VESK_WINDOW_TEST(MainWindowReconnectTest);
#include "main_window_reconnect_test.moc"
