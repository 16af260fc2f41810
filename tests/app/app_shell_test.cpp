// The application shell around the window: single-instance guard, log view, tray exit,
// session end, power notifications and the periodic save.
#include <QAction>
#include <QMenu>
#include <QTextBlock>
#include <QtTest>

#include <csignal>
#include <fstream>
#include <thread>

#include "app/log_view.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "common/event_log.h"
#include "history/history_store.h"
#include "sim/in_process_board.h"
#include "station/station.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"
#include "tests/support/window_fixture.h"
#include "widgets/gui/message_box.h"

using namespace vesk;
using test::Find;

namespace {

QStringList LogTexts() {
  QStringList texts;
  for (const std::string& text : test::LogFileTexts()) {
    texts << QString::fromStdString(text);
  }
  return texts;
}

// A window connected to a plain board on COM3 of a fresh program folder.
struct Fixture : test::WindowFixture {
  Fixture() : test::WindowFixture(3) { open(); }
};

}  // namespace

class AppShellTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void secondCopyAsksAndBringsTheFirstForward() {
    const QString block = QStringLiteral("VSK_TEST_%1").arg(QCoreApplication::applicationPid());
    int asked = 0;
    bool answer = false;
    int broughtForward = 0;
    const auto ask = [&] {
      ++asked;
      return answer;
    };
    SingleInstance first(block, ask, [&] { ++broughtForward; });
    QVERIFY(first.CheckSingleInstance());
    QCOMPARE(asked, 0);

    SingleInstance declined(block, ask, [] {});
    QVERIFY(!declined.CheckSingleInstance());
    QCOMPARE(asked, 1);
    QTRY_COMPARE(broughtForward, 1);

    answer = true;
    SingleInstance accepted(block, ask, [] {});
    QVERIFY(accepted.CheckSingleInstance());
    QCOMPARE(asked, 2);
  }

  void logViewKeepsTheNewestLines() {
    LogView view;
    for (int i = 0; i < 1000; ++i) {
      view.AddLogLine(QString::number(i));
    }
    QCOMPARE(view.document()->blockCount(), 1000);
    view.AddLogLine(QStringLiteral("1000"));
    QCOMPARE(view.document()->blockCount(), 1001);
    view.AddLogLine(QStringLiteral("1001"));
    QCOMPARE(view.document()->blockCount(), 1001);
    QCOMPARE(view.document()->firstBlock().text(), QStringLiteral("1"));
    QCOMPARE(view.document()->lastBlock().text(), QStringLiteral("1001"));
  }

  void linesFromAWorkerReachTheViewOnceInOrder() {
    Fixture station;
    const QString marker = QStringLiteral("worker line ");
    std::thread worker([] {
      for (int i = 0; i < 50; ++i) {
        WriteLog("worker line " + std::to_string(i));
      }
    });
    worker.join();
    auto& view = Find<LogView>(*station.window, "RichEdit");
    QTRY_VERIFY(view.toPlainText().contains(marker + "49"));
    const QStringList shown = view.toPlainText().split('\n');
    QStringList workerLines;
    for (const QString& line : shown) {
      if (line.contains(marker)) {
        workerLines << line.mid(line.indexOf(marker));
      }
    }
    QCOMPARE(workerLines.size(), 50);
    for (int i = 0; i < 50; ++i) {
      QCOMPARE(workerLines[i], marker + QString::number(i));
    }
  }

  void trayExitClosesTheWindow() {
    Fixture station;
    TMAINForm& w = *station.window;
    w.show();
    auto& exit = Find<QAction>(Find<QMenu>(w, "PopupMenuTray"), "Sortir1");
    QCOMPARE(exit.text(), QStringLiteral("Exit"));
    exit.trigger();
    QVERIFY(!w.isVisible());
    const QStringList log = LogTexts();
    const int exitLine = log.indexOf(QStringLiteral("Exit by trayicon"));
    QVERIFY(exitLine >= 0);
    QVERIFY(log.indexOf(QStringLiteral("Application closed"), exitLine) > exitLine);
  }

  void suspendAndResumeSaveTwice() {
    Fixture station;
    TMAINForm& w = *station.window;
    w.WMPowerBroadcast(4);
    w.WMPowerBroadcast(7);
    w.WMPowerBroadcast(10);
    const QStringList log = LogTexts();
    const QStringList expected = {"WMPowerBroadcast, Message Wparam-> 4",
                                  "PBT_APMSUSPEND",
                                  "Data saved : DatasVesk.bin,  points number : 1",
                                  "Hibernation request -> save DATA !",
                                  "",
                                  "WMPowerBroadcast, Message Wparam-> 7",
                                  "Restart from hibernation",
                                  "Data saved : DatasVesk.bin,  points number : 1",
                                  "Restart from hibernation processus is completed...",
                                  "WMPowerBroadcast, Message Wparam-> 10",
                                  "PBT_APMPOWERSTATUSCHANGE"};
    const int start = log.indexOf(expected.first());
    QVERIFY(start >= 0);
    QCOMPARE(log.mid(start, expected.size()), expected);
  }

  void terminationSignalRunsTheLogOffPath() {
    Fixture station;
    TMAINForm& w = *station.window;
    w.show();
    std::raise(SIGTERM);
    QTRY_VERIFY(!w.isVisible());
    const QStringList log = LogTexts();
    const int asked = log.indexOf(QStringLiteral("Windows is asking applications to close !"));
    QVERIFY(asked >= 0);
    QCOMPARE(log[asked + 2], QStringLiteral("Data saved !"));
    QVERIFY(log.indexOf(QStringLiteral("Application closed"), asked) > asked);
    QVERIFY(std::filesystem::exists(station.folder / "DatasVesk.bin"));
  }

  void periodicSaveFailureIsLoggedAndTheTimerGoesOn() {
    Fixture station;
    TMAINForm& w = *station.window;
    w.TimerSavPeriodicTimer();
    QCOMPARE(LogTexts().last(), QStringLiteral("Data period recording OK -- each mins "));
    // A folder in the place of the history file: the save cannot replace it.
    std::filesystem::remove(station.folder / "DatasVesk.bin");
    std::filesystem::create_directory(station.folder / "DatasVesk.bin");
    std::filesystem::create_directory(station.folder / "DatasVesk.bin" / "keep");
    w.TimerSavPeriodicTimer();
    QVERIFY(
        LogTexts().last().startsWith(QStringLiteral("Error during periodic data recording : \"")));
    QVERIFY(Find<QTimer>(w, "TimerSavPeriodic").isActive());
    QCOMPARE(w.station().Datas().size(), std::size_t{1});
  }
};

QTEST_MAIN(AppShellTest)
#include "app_shell_test.moc"
