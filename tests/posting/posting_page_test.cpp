// The "Plot posting" page in the main window built for real against the simulated board,
// uploading the chart images to a real FTP server on 127.0.0.1: the forced upload, the
// account taken by "Apply", one upload at a time, the schedule and the close.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

#include <fstream>
#include <optional>

#include "app/posting_controller.h"
#include "posting/gui/posting_page.h"
#include "settings/settings_file.h"
#include "tests/plots/local_http_server.h"
#include "tests/posting/ftp_test_server.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"
#include "widgets/gui/number_edit.h"

using namespace vesk;
using test::Find;
using test::FtpServerOptions;
using test::FtpTestServer;
using test::WindowFixture;

namespace {

constexpr char kStartLine[] = "----------------> FTP start <----------------------------------";
constexpr char kStopLine[] = "----------------> FTP stop <----------------------------------";

// Far longer than an upload to 127.0.0.1 takes; only a hung upload reaches it.
constexpr int kUploadWaitMs = 60000;

// The settings a test starts from: the account on the test server, the images sent to
// \web\plots\ (the server's folder web/plots), no schedule; the images' public address
// asked of a closed local port unless another page is named.
struct Settings {
  std::uint16_t port = 21;
  std::string remotePath = "\\web\\plots\\";
  int intervall = 5;
  bool scheduled = false;
  std::string ipEchoUrl = test::ClosedPortUrl();
};

void WriteSettings(const std::filesystem::path& folder, const Settings& s) {
  std::ofstream(folder / "VeskLevel.ini", std::ios::binary)
      << "[FTP]\r\nHost=127.0.0.1\r\nUser=" << FtpTestServer::kUser
      << "\r\nPass=" << FtpTestServer::kPassword << "\r\nRemotePath=" << s.remotePath
      << "\r\nPort=" << s.port << "\r\nintervall=" << s.intervall
      << "\r\nScheduled=" << (s.scheduled ? 1 : 0) << "\r\n[Misc]\r\nIpEchoUrl=" << s.ipEchoUrl
      << "\r\n";
}

int Count(const std::vector<std::string>& texts, const std::string& text) {
  return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

int Count(const QStringList& texts, const QString& text) {
  return static_cast<int>(texts.count(text));
}

// The window's "ftp.log" lines as they reached it.
class FtpLines {
 public:
  explicit FtpLines(const TMAINForm& w)
      : spy_(&Find<PostingController>(w, "PostingController"), &PostingController::ftpLogLine) {}

  QStringList lines() const {
    QStringList all;
    for (const QList<QVariant>& signal : spy_) {
      all << signal.first().toString();
    }
    return all;
  }
  // Waits until n uploads have ended.
  bool awaitUploads(int n) {
    return QTest::qWaitFor(
        [&] {
          const QStringList all = lines();
          return std::count_if(all.begin(), all.end(), [](const QString& line) {
                   return line.endsWith(QString(" -> ") + kStopLine);
                 }) >= n;
        },
        kUploadWaitMs);
  }
  bool awaitLine(const QString& text) {
    return QTest::qWaitFor(
        [&] {
          const QStringList all = lines();
          return std::any_of(all.begin(), all.end(),
                             [&](const QString& line) { return line.endsWith(" -> " + text); });
        },
        kUploadWaitMs);
  }

 private:
  QSignalSpy spy_;
};

void ForceUpload(TMAINForm& w) {
  QTest::mouseClick(&Find<QPushButton>(w, "Button1"), Qt::LeftButton);
}

std::vector<std::string> UploadedTexts(const std::filesystem::path& images,
                                       const std::string& changeDir) {
  std::vector<std::string> texts = {kStartLine, "Connecting to : 127.0.0.1", "Connected"};
  if (!changeDir.empty()) {
    texts.push_back("Change dir to \"" + changeDir + "\"");
    texts.push_back("Change dir OK !");
  }
  for (const char* name : {"temp.jpg", "RH.jpg"}) {
    texts.push_back("Putting file -> \"" + (images / name).string() + "\"");
    texts.push_back("Ok, file put !");
  }
  texts.push_back("Disconnected !");
  texts.push_back(kStopLine);
  return texts;
}

bool IsJpeg(const std::string& bytes) {
  return bytes.size() > 4 && bytes.starts_with("\xFF\xD8") && bytes.ends_with("\xFF\xD9");
}

TFTPCredentials SavedAccount(const std::filesystem::path& folder) {
  return TSettingsFile(folder).ReadFtpCredentials();
}

// The window shown and active with the posting page in front, so fields can be left.
bool ShowPostingPage(TMAINForm& w) {
  w.show();
  QApplication::setActiveWindow(&w);
  auto& pages = Find<QTabWidget>(w, "PageControl");
  pages.setCurrentWidget(&Find<QWidget>(w, "TabSheetFTP"));
  return QTest::qWaitForWindowActive(&w);
}

// Types the text into the interval field and leaves it for the host field.
void EnterInterval(TMAINForm& w, const QString& text) {
  auto& field = Find<TNumberEdit>(w, "NumberEditFTPUpdate");
  field.setFocus();
  QVERIFY(QTest::qWaitFor([&] { return field.hasFocus(); }));
  field.setText(text);
  Find<QLineEdit>(w, "EditIP").setFocus();
}

}  // namespace

class PostingPageTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // "Force FTP upload" renders both charts and stores them byte for byte in the remote
  // folder, written with backslashes; every "ftp.log" line also reaches the window, in order.
  void forcedUploadStoresBothImages() {
    FtpTestServer server;
    std::filesystem::create_directories(server.root() / "web/plots");
    WindowFixture f;
    WriteSettings(f.folder.path(), {.port = server.port()});
    TMAINForm& w = f.open();
    FtpLines ftp(w);
    ForceUpload(w);
    QVERIFY(ftp.awaitUploads(1));

    const std::filesystem::path images = f.folder / "Images";
    QCOMPARE(test::FtpLogTexts(f.folder.path()), UploadedTexts(images, "/web/plots/"));
    for (const char* name : {"temp.jpg", "RH.jpg"}) {
      const std::string local = test::ReadFile(images / name);
      QVERIFY2(IsJpeg(local), name);
      QVERIFY2(test::ReadFile(server.root() / "web/plots" / name) == local, name);
    }
    QStringList fileLines;
    for (const std::string& text : test::FtpLogTexts(f.folder.path())) {
      fileLines << QString::fromStdString(text);
    }
    QStringList windowTexts;
    for (const QString& line : ftp.lines()) {
      windowTexts << line.mid(line.indexOf(" :  -> ") + 7);
    }
    QCOMPARE(windowTexts, fileLines);
    QCOMPARE(Count(f.log(), QStringLiteral("Start FTP on \"127.0.0.1\"")), 1);
    // The charts' own images, with their captions: each logged as it is saved.
    for (const char* name : {"temp.jpg", "RH.jpg"}) {
      QCOMPARE(Count(f.log(), QString::fromStdString("Saved \"" + (images / name).string() +
                                                     "\" [IP=<Pas d'internet (2s)>]")),
               1);
    }
    QVERIFY(f.messages.isEmpty());
  }

  // An image that cannot be written ends the forced upload before the worker starts: the
  // file error in a message box, no "ftp.log" line, nothing at the server, and the next
  // upload is not kept from starting.
  void aFailedRenderingStartsNoUpload() {
    FtpTestServer server;
    std::filesystem::create_directories(server.root() / "web/plots");
    WindowFixture f;
    WriteSettings(f.folder.path(), {.port = server.port()});
    TMAINForm& w = f.open();
    FtpLines ftp(w);
    const std::filesystem::path images = f.folder / "Images";
    std::filesystem::remove_all(images);
    // "Force FTP upload" has its handler on the page; the upload itself is the posting
    // controller's.
    auto& page = Find<QWidget>(w, "TabSheetFTP");
    QVERIFY(page.metaObject()->indexOfSlot("Button1Click()") >= 0);
    QVERIFY(Find<PostingController>(w, "PostingController")
                .metaObject()
                ->indexOfSlot("TimerFTPTimer()") >= 0);
    QSignalSpy forced(&page, SIGNAL(uploadForced()));

    ForceUpload(w);
    const std::string temp = (images / "temp.jpg").string();
    QTRY_COMPARE(f.messages, QStringList{QString::fromStdString("Unable to write to " + temp)});
    const QStringList log = f.log();
    QCOMPARE(Count(log, QStringLiteral("Start FTP on \"127.0.0.1\"")), 1);
    QCOMPARE(
        Count(log, QString::fromStdString("Saved \"" + temp + "\" [IP=<Pas d'internet (2s)>]")), 1);
    QCOMPARE(Count(log, QString::fromStdString("Saved \"" + (images / "RH.jpg").string() +
                                               "\" [IP=<Pas d'internet (2s)>]")),
             0);
    QCoreApplication::processEvents();
    QVERIFY(ftp.lines().isEmpty());
    QVERIFY(!std::filesystem::exists(f.folder / "ftp.log"));
    QVERIFY(std::filesystem::is_empty(server.root() / "web/plots"));

    f.messages.clear();
    std::filesystem::create_directories(images);
    ForceUpload(w);
    QVERIFY(!forced.isEmpty());  // the page's handler hands the click on
    QVERIFY(ftp.awaitUploads(1));
    QCOMPARE(test::FtpLogTexts(f.folder.path()), UploadedTexts(images, "/web/plots/"));
    QVERIFY(f.messages.isEmpty());
  }

  // The public address is asked once per upload, off the window's thread, and both images
  // show that one answer in their captions and log lines. A second "Force FTP upload" while
  // the address is asked for starts nothing.
  void oneAddressLookUpPerUpload() {
    test::LocalHttpServer echo(
        test::HttpResponse(200, "<html><body>Current IP Address: 203.0.113.7</body></html>"));
    FtpTestServer server;
    std::filesystem::create_directories(server.root() / "web/plots");
    WindowFixture f;
    WriteSettings(f.folder.path(), {.port = server.port(), .ipEchoUrl = echo.url()});
    TMAINForm& w = f.open();
    FtpLines ftp(w);
    ForceUpload(w);
    ForceUpload(w);  // before the answer can reach the window
    QVERIFY(ftp.awaitUploads(1));

    QCOMPARE(echo.requestLines().size(), std::size_t{1});
    const QStringList log = f.log();
    QCOMPARE(Count(log, QStringLiteral("Start FTP on \"127.0.0.1\"")), 1);
    const std::filesystem::path images = f.folder / "Images";
    for (const char* name : {"temp.jpg", "RH.jpg"}) {
      QCOMPARE(Count(log, QString::fromStdString("Saved \"" + (images / name).string() +
                                                 "\" [IP=203.0.113.7]")),
               1);
    }
    QCOMPARE(test::FtpLogTexts(f.folder.path()), UploadedTexts(images, "/web/plots/"));

    ForceUpload(w);
    QVERIFY(ftp.awaitUploads(2));
    QCOMPARE(echo.requestLines().size(), std::size_t{2});
  }

  // The window closed while the upload's address is being asked of a page that never
  // answers: the look-up is abandoned with the window, no image is written, nothing is
  // uploaded, and the close ends as it always does.
  void closingWhileTheAddressIsAskedFor() {
    test::LocalHttpServer echo(std::nullopt);
    FtpTestServer server;
    std::filesystem::create_directories(server.root() / "web/plots");
    WindowFixture f;
    WriteSettings(f.folder.path(), {.port = server.port(), .ipEchoUrl = echo.url()});
    TMAINForm& w = f.open();
    ForceUpload(w);
    // The window answers meanwhile.
    QVERIFY(QTest::qWaitFor([&] { return echo.requestLines().size() == 1; }));
    QVERIFY(w.isEnabled());

    f.window.reset();
    const QStringList log = f.log();
    QCOMPARE(Count(log, QStringLiteral("Start FTP on \"127.0.0.1\"")), 1);
    QVERIFY(std::none_of(log.begin(), log.end(),
                         [](const QString& line) { return line.startsWith("Saved \""); }));
    QCOMPARE(log.last(), QStringLiteral("Application closed"));
    QVERIFY(!std::filesystem::exists(f.folder / "Images" / "temp.jpg"));
    QVERIFY(!std::filesystem::exists(f.folder / "ftp.log"));
    QVERIFY(std::filesystem::is_empty(server.root() / "web/plots"));
  }

  // The account fields count once "Apply" takes them: the password, "Passive FTP" (against a
  // server refusing passive mode) and "Use TLS (FTPS)" (against a server without TLS). The
  // close saves the account in use.
  void applyTakesTheAccount_data() {
    QTest::addColumn<QString>("refuse");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("passive");
    QTest::addColumn<bool>("tls");
    QTest::addColumn<bool>("apply");
    QTest::addColumn<QString>("failure");  // empty: both images stored

    const QString ok = FtpTestServer::kPassword;
    QTest::newRow("wrong password applied")
        << "none"
        << "wrong" << true << false << true << "!! Failed !! -> [";
    QTest::newRow("wrong password typed only") << "none"
                                               << "wrong" << true << false << false << "";
    QTest::newRow("active mode applied") << "passive" << ok << false << false << true << "";
    QTest::newRow("passive mode kept")
        << "passive" << ok << true << false << true << "!! Failed !! -> [";
    QTest::newRow("TLS applied") << "none" << ok << true << true << true
                                 << "!! Failed !! -> [The server refuses TLS (FTPS)";
  }

  void applyTakesTheAccount() {
    QFETCH(QString, refuse);
    QFETCH(QString, password);
    QFETCH(bool, passive);
    QFETCH(bool, tls);
    QFETCH(bool, apply);
    QFETCH(QString, failure);

    FtpServerOptions options;
    options.refuse = refuse.toStdString();
    FtpTestServer server(options);
    std::filesystem::create_directories(server.root() / "web/plots");
    WindowFixture f;
    WriteSettings(f.folder.path(), {.port = server.port()});
    TMAINForm& w = f.open();
    FtpLines ftp(w);
    Find<QLineEdit>(w, "Editpass").setText(password);
    Find<QCheckBox>(w, "CheckBoxFTp_Passive").setChecked(passive);
    Find<QCheckBox>(w, "CheckBoxFTP_TLS").setChecked(tls);
    if (apply) {
      QTest::mouseClick(&Find<QPushButton>(w, "ButtonApplyFTP"), Qt::LeftButton);
    }
    ForceUpload(w);
    QVERIFY(ftp.awaitUploads(1));

    const std::vector<std::string> texts = test::FtpLogTexts(f.folder.path());
    const bool stored = std::filesystem::exists(server.root() / "web/plots/RH.jpg");
    if (failure.isEmpty()) {
      QVERIFY2(stored, texts[texts.size() - 2].c_str());
    } else {
      QVERIFY(!stored);
      QVERIFY2(
          texts.size() >= 2 && QString::fromStdString(texts[texts.size() - 2]).startsWith(failure),
          texts[texts.size() - 2].c_str());
    }
    QCOMPARE(texts.back(), std::string(kStopLine));

    f.window.reset();
    const TFTPCredentials saved = SavedAccount(f.folder.path());
    QCOMPARE(QString::fromStdString(saved.Pass),
             apply ? password : QString(FtpTestServer::kPassword));
    QCOMPARE(saved.Passive, apply ? passive : true);
    QCOMPARE(saved.TLS, apply && tls);
    QCOMPARE(saved.Port, server.port());
  }

  // While an upload runs (here to a server that never answers), "Force FTP upload" does
  // nothing; closing the window waits a bounded time, then abandons the upload, whose thread
  // has ended when the window is gone.
  void oneUploadAtATimeAndClosingAbandonsIt() {
    test::SilentServer silent;
    WindowFixture f;
    WriteSettings(f.folder.path(), {.port = silent.port()});
    TMAINForm& w = f.open();
    FtpLines ftp(w);
    ForceUpload(w);
    QVERIFY(ftp.awaitLine(QStringLiteral("Connecting to : 127.0.0.1")));
    ForceUpload(w);
    QCOMPARE(Count(f.log(), QStringLiteral("Start FTP on \"127.0.0.1\"")), 1);

    f.window.reset();
    const std::vector<std::string> texts = test::FtpLogTexts(f.folder.path());
    QCOMPARE(Count(texts, kStartLine), 1);
    QCOMPARE(texts.size(), std::size_t{4});
    QCOMPARE(texts[2], std::string("!! Failed !! -> [Upload abandoned]"));
    QCOMPARE(texts[3], std::string(kStopLine));
    QCOMPARE(f.log().last(), QStringLiteral("Application closed"));
  }

  // "Scheduled" and the interval as the settings file holds them: the timer runs with the
  // schedule on and an interval above zero, never otherwise.
  void scheduleAtStart_data() {
    QTest::addColumn<bool>("scheduled");
    QTest::addColumn<int>("intervall");
    QTest::addColumn<bool>("running");

    QTest::newRow("off") << false << 5 << false;
    QTest::newRow("on") << true << 5 << true;
    QTest::newRow("on, zero interval") << true << 0 << false;
  }

  void scheduleAtStart() {
    QFETCH(bool, scheduled);
    QFETCH(int, intervall);
    QFETCH(bool, running);

    WindowFixture f;
    WriteSettings(f.folder.path(), {.intervall = intervall, .scheduled = scheduled});
    TMAINForm& w = f.open();
    const auto& timer = Find<QTimer>(w, "TimerFTP");
    QCOMPARE(timer.isActive(), running);
    QCOMPARE(timer.interval(), intervall * 60000);
    QCOMPARE(Find<QCheckBox>(w, "CheckBoxFTP_Scheduled").isChecked(), scheduled);
  }

  // With the schedule on, each interval uploads both images; a tick while an upload runs
  // starts none. Turning the schedule off stops the uploads and is written at once.
  void scheduleUploadsEveryInterval() {
    FtpTestServer server;
    std::filesystem::create_directories(server.root() / "web/plots");
    WindowFixture f;
    WriteSettings(f.folder.path(), {.port = server.port(), .intervall = 1, .scheduled = true});
    TMAINForm& w = f.open();
    FtpLines ftp(w);
    auto& timer = Find<QTimer>(w, "TimerFTP");
    QVERIFY(timer.isActive());
    timer.setInterval(50);  // a minute is the shortest interval the operator can set
    QVERIFY(ftp.awaitUploads(3));

    QVERIFY(ShowPostingPage(w));
    QTest::mouseClick(&Find<QCheckBox>(w, "CheckBoxFTP_Scheduled"), Qt::LeftButton);
    QVERIFY(!timer.isActive());
    QVERIFY(!TSettingsFile(f.folder.path()).ReadFtpScheduled());
    // The upload in progress, if any (its address still asked for, perhaps), ends; every start
    // of the event log started one.
    QVERIFY(QTest::qWaitFor(
        [&] {
          const std::vector<std::string> texts = test::FtpLogTexts(f.folder.path());
          const auto started = Count(texts, kStartLine);
          return started == Count(texts, kStopLine) &&
                 Count(f.log(), QStringLiteral("Start FTP on \"127.0.0.1\"")) == started;
        },
        kUploadWaitMs));
    const std::vector<std::string> texts = test::FtpLogTexts(f.folder.path());
    QCOMPARE(Count(texts, "Disconnected !"), Count(texts, kStartLine));
    QCOMPARE(Count(f.log(), QStringLiteral("Start FTP on \"127.0.0.1\"")),
             Count(texts, kStartLine));
    QCOMPARE(test::ReadFile(server.root() / "web/plots/RH.jpg"),
             test::ReadFile(f.folder / "Images/RH.jpg"));
  }

  // The interval field: a whole number of minutes is written at once and sets the timer; a
  // zero interval stops the schedule, even when it is turned on again; a fraction is refused
  // by the default error handler and changes nothing.
  void intervalField() {
    WindowFixture f;
    WriteSettings(f.folder.path(), {.intervall = 5, .scheduled = true});
    TMAINForm& w = f.open();
    QVERIFY(ShowPostingPage(w));
    const auto& timer = Find<QTimer>(w, "TimerFTP");
    const auto intervall = [&] { return TSettingsFile(f.folder.path()).ReadFtpIntervall(); };

    EnterInterval(w, QStringLiteral("3"));
    QCOMPARE(intervall(), 3);
    QCOMPARE(timer.interval(), 180000);
    QVERIFY(timer.isActive());

    EnterInterval(w, QStringLiteral("0"));
    QCOMPARE(f.messages, QStringList{"Figure too small compared to  :1"});
    QCOMPARE(intervall(), 0);
    QVERIFY(!timer.isActive());
    auto& scheduled = Find<QCheckBox>(w, "CheckBoxFTP_Scheduled");
    QTest::mouseClick(&scheduled, Qt::LeftButton);
    QTest::mouseClick(&scheduled, Qt::LeftButton);
    QVERIFY(scheduled.isChecked());
    QVERIFY(!timer.isActive());

    f.messages.clear();
    EnterInterval(w, QStringLiteral("2.5"));
    QCOMPARE(f.messages, QStringList{"'2.5' is not a valid integer value"});
    QCOMPARE(intervall(), 0);
    QVERIFY(!timer.isActive());

    EnterInterval(w, QStringLiteral("2"));
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 120000);
    QCOMPARE(Find<PostingPage>(w, "TabSheetFTP").postingInterval(), 120u);
  }

  // The interval read at start: one the posting interval cannot hold is refused with a line
  // in the log, the field and the interval keep the default 5 minutes.
  void intervalAtStart() {
    WindowFixture f;
    TMAINForm& w = f.open();
    PostingPage page;
    page.ShowSettings(TFTPCredentials{}, -5, false);
    QCOMPARE(page.StartPostingInterval(-5), 300u);
    QCOMPARE(page.postingInterval(), 300u);
    QCOMPARE(Find<TNumberEdit>(page, "NumberEditFTPUpdate").text(), QStringLiteral("5"));
    QCOMPARE(
        f.log().last(),
        QStringLiteral("FTP interval of -5 minutes refused -> Range check error, 5 minutes kept"));
    page.ShowSettings(TFTPCredentials{}, 7, false);
    QCOMPARE(page.StartPostingInterval(7), 420u);
    QCOMPARE(Find<TNumberEdit>(page, "NumberEditFTPUpdate").text(), QStringLiteral("7"));
    QVERIFY(w.isEnabled());
  }
};

// The monitor's own application, so that a failure in a handler meets the default error
// handler as it does in the program.
VESK_WINDOW_TEST_IN_VESK_APPLICATION(PostingPageTest);

#include "posting_page_test.moc"
