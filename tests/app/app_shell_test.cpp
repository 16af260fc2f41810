// The application shell around the window: single-instance guard, log view, tray exit,
// session end, power notifications and the periodic save.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QSharedMemory>
#include <QTextBlock>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "app/log_view.h"
#include "app/main_window.h"
#include "app/program_folder_lock.h"
#include "app/single_instance.h"
#include "common/event_log.h"
#include "history/history_store.h"
#include "sim/in_process_board.h"
#include "station/station.h"
#include "tests/support/log_capture.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"
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
    QCoreApplication::processEvents();
    QCOMPARE(broughtForward, 1);  // looking for a running copy does not bring it forward
  }

  // The block of a copy that was killed outlives it: a new start takes it over unasked.
  void aBlockLeftByADeadCopyIsTakenOverSilently() {
    const QString block = QStringLiteral("VSK_STALE_%1").arg(QCoreApplication::applicationPid());
    QSharedMemory left(block + QLatin1Char('_') + QString::number(getuid()));
    QVERIFY(left.create(SingleInstance::kBlockSize));
    const qint32 deadCopy[2] = {999999, 1};  // its identifier and the count of copies
    std::memcpy(left.data(), deadCopy, sizeof deadCopy);
    int asked = 0;
    SingleInstance restarted(
        block, [&] { return ++asked, false; }, [] {});
    QVERIFY(restarted.CheckSingleInstance());
    QCOMPARE(asked, 0);
    qint32 now[2] = {};
    std::memcpy(now, left.data(), sizeof now);
    QCOMPARE(now[0], restarted.identifier());

    // And the copy that took it over counts as running for the next one.
    SingleInstance next(
        block, [&] { return ++asked, true; }, [] {});
    QVERIFY(next.CheckSingleInstance());
    QCOMPARE(asked, 1);
  }

  // A vesk-cli serve keeps the folder's history: a monitor started there refuses at once,
  // naming it, before anything is loaded or logged as opened.
  void aProgramFolderKeptByServeIsRefused() {
    test::WindowFixture station;  // the board on COM3; no window
    test::SimProcess serve(VESK_CLI_PATH, {"serve", "--folder", station.folder.path().string(),
                                           "--port", "3", "--interval", "60"});
    QVERIFY2(!serve.nextLine().empty(), "serve printed no poll");
    QVERIFY(!ClaimProgramFolder(station.folder.path()));
    const QString refusal = QStringLiteral(
                                "Program folder %1 is in use by process %2: a monitor "
                                "and vesk-cli serve never share one program folder")
                                .arg(QString::fromStdString(station.folder.path().string()))
                                .arg(serve.pid());
    QCOMPARE(station.messages, QStringList{refusal});
    QCOMPARE(LogTexts(), QStringList{refusal});

    QCOMPARE(serve.terminate(), 0);
    const auto claimed = ClaimProgramFolder(station.folder.path());
    QVERIFY(claimed && claimed->held());
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

  // A save that fails on the way out (here a folder in the place of the history file) is
  // logged, no box waits for an operator, and the program closes all the same.
  void terminationWithAFailingSaveStillCloses() {
    Fixture station;
    TMAINForm& w = *station.window;
    w.show();
    std::filesystem::remove(station.folder / "DatasVesk.bin");
    std::filesystem::create_directories(station.folder / "DatasVesk.bin" / "keep");
    std::raise(SIGTERM);
    QTRY_VERIFY(!w.isVisible());
    QVERIFY(station.messages.isEmpty());
    const QStringList log = LogTexts();
    const int asked = log.indexOf(QStringLiteral("Windows is asking applications to close !"));
    QVERIFY(asked >= 0);
    // The save's own line first: its backup copy could not be made either.
    QVERIFY(log[asked + 1].startsWith(QStringLiteral("History backup could not be updated -> ")));
    QVERIFY2(log[asked + 2].startsWith(QStringLiteral("Exception, Error -> ")),
             qPrintable(log.mid(asked).join('\n')));
    QVERIFY(!log.contains(QStringLiteral("Data saved !")));
    QVERIFY(log.indexOf(QStringLiteral("Application closed"), asked) > asked);
  }

  // The fatal connection box waits in an event loop of its own: a termination must still end
  // the program, after the log-off path saved what it holds.
  void terminationEndsTheProgramWhileABoxIsOpen() {
    test::TempFolder folder;
    const auto monitor = folder / "vesk-monitor";
    std::filesystem::copy_file(VESK_MONITOR_PATH, monitor);
    {
      std::ofstream ini(folder / "VeskLevel.ini");
      ini << "[COM]\r\nValue=200\r\n";
    }
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A single-instance block of its own: another monitor running on the machine would
    // otherwise ask first.
    env.insert(QStringLiteral("TMPDIR"), QString::fromStdString(folder.path().string()));
    process.setProcessEnvironment(env);
    process.start(QString::fromStdString(monitor.string()), {});
    QVERIFY(process.waitForStarted());
    const auto logTexts = [&] {
      QStringList texts;
      for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        if (entry.path().filename().string().rfind("Log_", 0) == 0) {
          std::ifstream file(entry.path());
          for (std::string line; std::getline(file, line);) {
            texts << QString::fromStdString(test::LogText(line)).trimmed();
          }
        }
      }
      return texts;
    };
    // The port's failure is logged just before the box opens.
    QTRY_VERIFY_WITH_TIMEOUT(
        logTexts().contains(QStringLiteral("Error -> Cannot open COM port200")), 20000);
    process.terminate();
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    const QStringList log = logTexts();
    const int asked = log.indexOf(QStringLiteral("Windows is asking applications to close !"));
    QVERIFY(asked >= 0);
    QVERIFY(log.indexOf(QStringLiteral("Application closed"), asked) > asked);
  }

  void restoringShowsEveryWindowOfTheProgram() {
    Fixture station;
    TMAINForm& w = *station.window;
    QWidget other;  // another window of the program, hidden with the main one
    other.setWindowTitle(QStringLiteral("other"));
    w.hide();
    w.RestoreFromTray();
    QVERIFY(w.isVisible());
    QVERIFY(other.isVisible());
    QVERIFY(!Find<QMenu>(w, "PopupMenuTray").isVisible());  // a menu is no window
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

  // A log file that cannot be written (a full disk; here a folder in its place) stops
  // nothing: the polls go on, the status bar says it once, and hides it when the file takes
  // lines again.
  void anUnwritableLogIsShownAndThePollsGoOn() {
    Fixture station;
    TMAINForm& w = *station.window;
    const std::filesystem::path log = LogFilePath();
    std::filesystem::remove(log);
    std::filesystem::create_directory(log);
    w.PollDevice(true);
    w.PollDevice(true);
    QCOMPARE(w.station().Datas().size(), std::size_t{3});
    const QLabel* status = nullptr;
    QTRY_VERIFY((status = w.findChild<QLabel*>(QStringLiteral("StatusLog"))) != nullptr);
    QTRY_VERIFY(status->isVisibleTo(&w));
    QVERIFY2(status->text().startsWith(
                 QStringLiteral("The log file cannot be written, its lines are dropped: ")),
             qPrintable(status->text()));

    std::filesystem::remove(log);
    w.PollDevice(true);
    QTRY_VERIFY(!status->isVisibleTo(&w));
    QVERIFY(status->text().startsWith(QStringLiteral("The log file is written again; ")));
  }
};

VESK_WINDOW_TEST(AppShellTest);
#include "app_shell_test.moc"
