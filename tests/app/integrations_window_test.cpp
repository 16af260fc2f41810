// The observatory integrations in the monitor: started from the settings file, shown in the
// status bar, fed by the polls, stopped with the window.
#include <httplib.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <fstream>

#include "app/main_window.h"
#include "station/station.h"
#include "tests/support/free_port.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"

using namespace vesk;
using test::Find;
using Fixture = test::WindowFixture;

class IntegrationsWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void statusBarShowsTheServersAndThePollsReachThem() {
    Fixture station(34);
    const int broker = test::FreeLoopbackPort();
    // Port 0: any free port, so the test never meets another server.
    std::ofstream(station.folder / "VeskLevel.ini")
        << "[Alpaca]\r\nEnabled=1\r\nPort=0\r\n"
        << "[MQTT]\r\nEnabled=1\r\nHost=127.0.0.1\r\nPort=" << broker << "\r\n";
    TMAINForm& w = station.open();
    QVERIFY(w.station().Connected());
    const QLabel& status = Find<QLabel>(w, "StatusIntegrations");
    const QString listening = QStringLiteral("Alpaca: listening on 127.0.0.1:");
    QVERIFY2(status.text().startsWith(listening), qPrintable(status.text()));
    const int port =
        status.text().mid(listening.size()).section(QRegularExpression("[^0-9]"), 0, 0).toInt();
    QVERIFY(port > 0);
    // The connection's first poll went to the broker, which is not there.
    QTRY_VERIFY2(status.text().contains(
                     QStringLiteral("MQTT: cannot reach the broker at 127.0.0.1:%1").arg(broker)),
                 qPrintable(status.text()));
    QCOMPARE(status.toolTip(), status.text());
    QCOMPARE(
        station.log()
            .filter(QStringLiteral("MQTT: cannot reach the broker at 127.0.0.1:%1").arg(broker))
            .size(),
        1);

    httplib::Client client("127.0.0.1", port);
    auto connected = client.Put("/api/v1/observingconditions/0/connected", "Connected=true",
                                "application/x-www-form-urlencoded");
    QVERIFY(connected && connected->status == 200);
    auto temperature = client.Get("/api/v1/observingconditions/0/temperature");
    QVERIFY(temperature && temperature->status == 200);
    const QJsonObject answer =
        QJsonDocument::fromJson(QByteArray::fromStdString(temperature->body)).object();
    QCOMPARE(answer.value("ErrorNumber").toInt(), 0);
    QCOMPARE(answer.value("Value").toDouble(), w.station().Datas().back().TempExt);
    QVERIFY(station.log()
                .filter(QRegularExpression("^Alpaca server listening on 127\\.0\\.0\\.1:"))
                .size() == 1);

    station.window.reset();
    QVERIFY2(!client.Get("/api/v1/observingconditions/0/name"), "the server ended with the window");
  }

  void nothingShownWhenBothAreOff() {
    Fixture station;
    TMAINForm& w = station.open();
    QVERIFY(w.findChild<QLabel*>(QStringLiteral("StatusIntegrations")) == nullptr);
  }

  // The setup page's observatory group: applied values start the server at once, and a
  // server switched off ends; the status bar follows.
  void theObservatoryGroupRestartsTheServers() {
    Fixture station;
    TMAINForm& w = station.open();
    const int port = test::FreeLoopbackPort();
    Find<QCheckBox>(w, "CheckBoxAlpaca").setChecked(true);
    Find<QLineEdit>(w, "EditAlpacaPort").setText(QString::number(port));
    QTest::mouseClick(&Find<QPushButton>(w, "ButtonApplyObservatory"), Qt::LeftButton);
    QVERIFY(station.messages.isEmpty());
    const QLabel& status = Find<QLabel>(w, "StatusIntegrations");
    QTRY_VERIFY2(
        status.text().startsWith(QStringLiteral("Alpaca: listening on 127.0.0.1:%1").arg(port)),
        qPrintable(status.text()));
    httplib::Client client("127.0.0.1", port);
    auto name = client.Get("/api/v1/observingconditions/0/name");
    QVERIFY(name && name->status == 200);

    Find<QCheckBox>(w, "CheckBoxAlpaca").setChecked(false);
    QTest::mouseClick(&Find<QPushButton>(w, "ButtonApplyObservatory"), Qt::LeftButton);
    QVERIFY2(!client.Get("/api/v1/observingconditions/0/name"), "the server ended");
    QVERIFY(!status.isVisible());
  }
};

VESK_WINDOW_TEST(IntegrationsWindowTest);
#include "integrations_window_test.moc"
