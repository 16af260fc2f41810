// "Version 3 firmware" on the window built for real against the simulated board: model type
// and serial number, the serial number read at the connection, the bootloader order.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <chrono>
#include <filesystem>
#include <optional>

#include "app/program_end.h"
#include "device/bootloader_order.h"
#include "device/gui/identity_group.h"
#include "history/history_store.h"
#include "link/order_codes.h"
#include "station/station.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"
#include "widgets/gui/message_box.h"

using namespace vesk;
using test::Find;

namespace {

constexpr int kAstel9Entry = 7;

sim::BoardIdentity BoardIdentityOf(test::WindowFixture& f) {
  return f.board->withBoard([](sim::Board& b) { return b.identity(); });
}

int CountStarting(const QStringList& lines, const QString& prefix) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                        [&](const QString& l) { return l.startsWith(prefix); }));
}

// Answers the confirmation with `confirm`, records every text shown; the list outlives the
// window.
void AnswerDialogs(QStringList& shown, bool confirm) {
  SetDialogAnswers({[&shown, confirm](MessageKind kind, const QString& text) {
                      shown << text;
                      return kind == MessageKind::Confirmation ? confirm : true;
                    },
                    {},
                    {}});
}

}  // namespace

class IdentityGroupTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void cleanup() { SetProgramEnd({}); }

  // Both buttons write the identity; the board's 0x7E answer reconnects it, so the window
  // shows the new model read back.
  void identityIsWrittenAndReadBackAfterReconnecting_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("serial number button") << "ButtonUpdateSNR";
    QTest::newRow("device type button") << "ButtonUpdateDeviceType";
  }
  void identityIsWrittenAndReadBackAfterReconnecting() {
    QFETCH(QString, button);
    test::WindowFixture f;  // an Astel 5, serial 127512
    TMAINForm& w = f.open();
    QCOMPARE(Find<QLabel>(w, "StatusPanel0").text(), QStringLiteral(" [Astel 5]   [127512]"));
    Find<QComboBox>(w, "ComboBoxTypeCamera").setCurrentIndex(kAstel9Entry);
    Find<QLineEdit>(w, "EditSNR").setText("127512");
    f.takeOrders();

    QTest::mouseClick(&Find<QPushButton>(w, qPrintable(button)), Qt::LeftButton);

    const auto orders = f.takeOrders();
    QVERIFY(orders.size() > 2);
    QCOMPARE(orders[0], (TArrayByte{0xA8, 0x20, 0x30, 0x30, 0x31, 0x32, 0x37, 0x35, 0x31, 0x32}));
    QCOMPARE(orders[1], TArrayByte{REQ_ORDER_VERSION});
    QCOMPARE(BoardIdentityOf(f).type, 32);
    QVERIFY(w.station().Connected());
    QCOMPARE(Find<QLabel>(w, "StatusPanel0").text(), QStringLiteral(" [Astel 9]   [127512]"));
    const QStringList log = f.log();
    QCOMPARE(CountStarting(log, "Camera Type : "), 2);
    QVERIFY(log.contains("Camera Type : 32"));
    QVERIFY(f.messages.isEmpty());
  }

  // The ends of the accepted range go out; the board's 0x7E answer reconnects it only after
  // a pause of 300 ms, so the board may store the identity and restart first.
  void serialsAtTheEndsOfTheRangeAreSent_data() {
    QTest::addColumn<QString>("serial");
    QTest::newRow("127001") << "127001";
    QTest::newRow("134999") << "134999";
  }
  void serialsAtTheEndsOfTheRangeAreSent() {
    QFETCH(QString, serial);
    // The Astel 9's type, then "00" and the six digits.
    TArrayByte order{0xA8, 0x20, '0', '0'};
    for (const char digit : serial.toStdString()) {
      order.push_back(static_cast<std::uint8_t>(digit));
    }
    test::WindowFixture f;
    TMAINForm& w = f.open();
    auto& group = Find<IdentityGroup>(w, "GroupBoxV3");
    Find<QComboBox>(w, "ComboBoxTypeCamera").setCurrentIndex(kAstel9Entry);
    Find<QLineEdit>(w, "EditSNR").setText(serial);
    // Each connection button's action asked for: the first disconnects, the second connects.
    std::vector<std::chrono::steady_clock::time_point> asked;
    std::vector<bool> connectedWhenAsked;
    QObject::connect(&group, &IdentityGroup::connectClickRequested, &group, [&] {
      asked.push_back(std::chrono::steady_clock::now());
      connectedWhenAsked.push_back(w.station().Connected());
    });
    f.takeOrders();

    QTest::mouseClick(&Find<QPushButton>(w, "ButtonUpdateSNR"), Qt::LeftButton);

    const auto orders = f.takeOrders();
    QVERIFY(orders.size() > 2);
    QCOMPARE(orders[0], order);
    QCOMPARE(orders[1], TArrayByte{REQ_ORDER_VERSION});
    QCOMPARE(BoardIdentityOf(f).serial, serial.toStdString());
    QCOMPARE(connectedWhenAsked, (std::vector<bool>{false, true}));
    // The second is asked once the pause is over and the connection made: at least 300 ms
    // after the first.
    QVERIFY(asked[1] - asked[0] >= std::chrono::milliseconds(300));
    QCOMPARE(Find<QLineEdit>(w, "EditSNR").text(), serial);
  }

  // Any answer but 0x7E leaves the connection as it is: no new connection, no message.
  void anotherAnswerLeavesTheConnection() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    const QString status = Find<QLabel>(w, "StatusPanel0").text();
    Find<QComboBox>(w, "ComboBoxTypeCamera").setCurrentIndex(kAstel9Entry);
    Find<QLineEdit>(w, "EditSNR").setText("130000");
    f.faults({.refuseSettings = true});  // the board answers 0x00
    const int logLines = f.log().size();
    f.takeOrders();

    QTest::mouseClick(&Find<QPushButton>(w, "ButtonUpdateSNR"), Qt::LeftButton);

    QCOMPARE(f.takeOrders(),
             (std::vector<TArrayByte>{{0xA8, 0x20, '0', '0', '1', '3', '0', '0', '0', '0'}}));
    QVERIFY(w.station().Connected());
    QCOMPARE(Find<QLabel>(w, "StatusPanel0").text(), status);
    QCOMPARE(BoardIdentityOf(f).serial, std::string("127512"));
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.log().size(), logLines);
  }

  void serialOutsideTheRangeIsRefusedSilently_data() {
    QTest::addColumn<QString>("serial");
    QTest::newRow("127000") << "127000";
    QTest::newRow("135000") << "135000";
  }
  void serialOutsideTheRangeIsRefusedSilently() {
    QFETCH(QString, serial);
    test::WindowFixture f;
    TMAINForm& w = f.open();
    Find<QComboBox>(w, "ComboBoxTypeCamera").setCurrentIndex(kAstel9Entry);
    Find<QLineEdit>(w, "EditSNR").setText(serial);
    f.takeOrders();
    const int logLines = f.log().size();

    QTest::mouseClick(&Find<QPushButton>(w, "ButtonUpdateSNR"), Qt::LeftButton);
    QVERIFY(f.takeOrders().empty());
    QVERIFY(f.messages.isEmpty());
    QCOMPARE(f.log().size(), logLines);
  }

  void serialThatIsNoNumberRaisesAndModelIsNeeded() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    auto& group = Find<IdentityGroup>(w, "GroupBoxV3");
    f.takeOrders();
    Find<QLineEdit>(w, "EditSNR").setText("127xxx");
    QCOMPARE(test::RaisedMessage([&] { group.ButtonUpdateDeviceTypeClick(); }),
             QStringLiteral("'127xxx' is not a valid integer value"));

    // No model chosen: type 0 would leave the board without a model it knows.
    Find<QLineEdit>(w, "EditSNR").setText("127512");
    QCOMPARE(Find<QComboBox>(w, "ComboBoxTypeCamera").currentIndex(), -1);
    QTest::mouseClick(&Find<QPushButton>(w, "ButtonUpdateSNR"), Qt::LeftButton);
    QCOMPARE(f.messages, QStringList{"Choose the camera type first: nothing was sent."});
    QVERIFY(f.takeOrders().empty());
  }

  void serialNumberIsReadOrShownUnknown() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    auto& group = Find<IdentityGroup>(w, "GroupBoxV3");
    QCOMPARE(Find<QLineEdit>(w, "EditSNR").text(), QStringLiteral("127512"));
    f.faults({.badStart = true});
    QCOMPARE(group.ReadSerialNumber(), std::string("xxxxxx"));
    QCOMPARE(Find<QLineEdit>(w, "EditSNR").text(), QStringLiteral("xxxxxx"));
  }

  void bootloaderCancelledSendsNothing() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    static QStringList shown;
    shown.clear();
    AnswerDialogs(shown, false);
    std::optional<int> ended;
    SetProgramEnd([&ended](int code) { ended = code; });
    f.takeOrders();

    QTest::mouseClick(&Find<QPushButton>(w, "ButtonBootLoaderMode"), Qt::LeftButton);
    QCOMPARE(shown, QStringList{QString::fromStdString(BootloaderQuestion())});
    QVERIFY(f.takeOrders().empty());
    QVERIFY(w.station().Connected());
    QVERIFY(!ended);
  }

  // The program ends with code 0 once the board has left, with the history and the settings
  // saved just before.
  void bootloaderConfirmedSavesAndEnds() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    const auto history = f.folder / kHistoryFileName;
    const auto settings = f.folder / "VeskLevel.ini";
    std::filesystem::remove(history);
    std::filesystem::remove(settings);
    std::optional<int> ended;
    bool savedBeforeTheEnd = false;
    SetProgramEnd([&](int code) {
      ended = code;
      savedBeforeTheEnd = std::filesystem::exists(history) &&
                          std::filesystem::file_size(history) > 0 &&
                          std::filesystem::exists(settings) && !w.station().Connected();
    });
    f.takeOrders();

    QTest::mouseClick(&Find<QPushButton>(w, "ButtonBootLoaderMode"), Qt::LeftButton);
    QCOMPARE(f.messages, QStringList{QString::fromStdString(BootloaderQuestion())});
    // The order has no reply: the click returns once it is written, and the board reads it
    // on its own thread.
    QTRY_VERIFY(f.board->withBoard([](sim::Board& b) { return b.inBootloader(); }));
    QCOMPARE(f.takeOrders(), std::vector<TArrayByte>{{REQ_BOOTLOADER}});
    QCOMPARE(ended, std::optional<int>(0));
    QVERIFY(savedBeforeTheEnd);
  }

  void bootloaderOrderThatCannotBeSentIsSaidAndTheProgramGoesOn() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    w.ButtonConnectClick();  // no link left to send on
    std::optional<int> ended;
    SetProgramEnd([&ended](int code) { ended = code; });

    Find<IdentityGroup>(w, "GroupBoxV3").ButtonBootLoaderModeClick();
    QCOMPARE(f.messages, (QStringList{QString::fromStdString(BootloaderQuestion()),
                                      QString::fromStdString(BootloaderSendFailedMessage())}));
    QVERIFY(!ended);
  }
};

VESK_WINDOW_TEST(IdentityGroupTest);
#include "identity_group_test.moc"
