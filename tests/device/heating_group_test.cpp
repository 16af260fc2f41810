// "Dome heating thresholds" on the window built for real against the simulated board.
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <cmath>

#include "acquisition/sensor_conversions.h"
#include "device/gui/heating_group.h"
#include "link/order_codes.h"
#include "station/station.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"
#include "widgets/gui/number_edit.h"

using namespace vesk;
using test::Find;

namespace {

sim::HeatingConfig BoardHeating(test::WindowFixture& f) {
  return f.board->withBoard([](sim::Board& b) { return b.heating(); });
}

void SetNewValues(TMAINForm& w, const QString& temp, const QString& rh, const QString& power) {
  Find<TNumberEdit>(w, "NumberEditTemp_Seuil").setText(temp);
  Find<TNumberEdit>(w, "NumberEditRH_seuil").setText(rh);
  Find<TNumberEdit>(w, "NumberEditPower_Level").setText(power);
}

}  // namespace

class HeatingGroupTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void thresholdsAreWrittenReadBackAndPolled() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    QVERIFY(w.station().Heating().gAutoTempRH_Heat);
    SetNewValues(w, "25", "80", "40");
    f.takeOrders();

    QTest::mouseClick(&Find<QPushButton>(w, "ButtonUpdateSetup"), Qt::LeftButton);

    const auto orders = f.takeOrders();
    QVERIFY(orders.size() > 2);
    // The automatic flag sent is the one held: this button does not change it.
    QCOMPARE(orders[0], (TArrayByte{REQ_SET_CONFIG, 0x09, 0x9A, 0x2A, 0x42, 1, 40}));
    QCOMPARE(orders[1], TArrayByte{REQ_GET_CONFIG});
    QVERIFY(test::HoldsPoll(orders));
    QCOMPARE(BoardHeating(f).tempThreshold, 2458);
    QCOMPARE(BoardHeating(f).rhThreshold, 10818);

    QCOMPARE(Find<QLineEdit>(w, "Label_TempSeuil").text(), QStringLiteral("25.0 °C"));
    QCOMPARE(Find<QLineEdit>(w, "Label_TempSeuil").toolTip(), QStringLiteral("2458"));
    QCOMPARE(Find<QLineEdit>(w, "Label_RHSeuil").text(), QStringLiteral("80 %"));
    QCOMPARE(Find<QLineEdit>(w, "Label_RHSeuil").toolTip(), QStringLiteral("10818"));
    QCOMPARE(Find<TNumberEdit>(w, "NumberEditTemp_Seuil").toolTip(), QStringLiteral("2458"));
    QCOMPARE(Find<TNumberEdit>(w, "NumberEditRH_seuil").toolTip(), QStringLiteral("10818"));
    QCOMPARE(Find<QLineEdit>(w, "Label_PowerMax").text(), QStringLiteral("40 %"));

    const QStringList log = f.log();
    const qsizetype set = log.indexOf(
        "SetConfig-> Temperature threshold : 2458 RH threshold : 10818 AutoHeating : -1  "
        "Power Level : 40");
    const qsizetype read = log.lastIndexOf(
        "GetcurrentSetup->  Temperature threshold : 25.0 °C°C (2458) RH threshold : 80 %%RH "
        "(10818)");
    QVERIFY2(set >= 0 && read > set, qPrintable(log.join('\n')));
  }

  // The humidity count's edges: a zero gain leaves no count to compute, and the update goes
  // on with 32767 (7F FF); count 0 reads back below zero, about -23.8 %RH.
  void humidityCountEdges() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    const HumidityConstants defaults;
    w.station().SetHumidity({0.0, defaults.HumiditySensorOffset});
    SetNewValues(w, "25", "80", "40");
    f.takeOrders();
    QTest::mouseClick(&Find<QPushButton>(w, "ButtonUpdateSetup"), Qt::LeftButton);
    auto orders = f.takeOrders();
    QVERIFY(orders.size() > 2);
    QCOMPARE(orders[0], (TArrayByte{REQ_SET_CONFIG, 0x09, 0x9A, 0x7F, 0xFF, 1, 40}));
    QCOMPARE(orders[1], TArrayByte{REQ_GET_CONFIG});
    QVERIFY(test::HoldsPoll(orders));
    QCOMPARE(BoardHeating(f).rhThreshold, 32767);
    QCOMPARE(Find<TNumberEdit>(w, "NumberEditRH_seuil").toolTip(), QStringLiteral("32767"));

    w.station().SetHumidity(defaults);
    QCOMPARE(CountToHumidity(0, defaults),
             (0 - defaults.HumiditySensorOffset) * defaults.HumiditySensorGain);
    QVERIFY(std::abs(CountToHumidity(0, defaults) + 23.82) < 0.01);
    SetNewValues(w, "25", "-23.82", "40");
    QTest::mouseClick(&Find<QPushButton>(w, "ButtonUpdateSetup"), Qt::LeftButton);
    orders = f.takeOrders();
    QVERIFY(!orders.empty());
    QCOMPARE(orders[0], (TArrayByte{REQ_SET_CONFIG, 0x09, 0x9A, 0x00, 0x00, 1, 40}));
    QCOMPARE(Find<QLineEdit>(w, "Label_RHSeuil").toolTip(), QStringLiteral("0"));
    QCOMPARE(Find<QLineEdit>(w, "Label_RHSeuil").text(), QStringLiteral("-24 %"));
  }

  void refusedConfigReadsNothingBack() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    const QString shown = Find<QLineEdit>(w, "Label_TempSeuil").text();
    SetNewValues(w, "25", "80", "40");
    f.faults({.refuseSettings = true});
    f.takeOrders();

    auto& group = Find<HeatingThresholdsGroup>(w, "GroupBoxHeatThresholds");
    QCOMPARE(test::RaisedMessage([&] { group.ButtonUpdateSetupClick(); }),
             QStringLiteral("Error Message"));
    QCOMPARE(f.takeOrders(),
             (std::vector<TArrayByte>{{REQ_SET_CONFIG, 0x09, 0x9A, 0x2A, 0x42, 1, 40}}));
    QCOMPARE(Find<QLineEdit>(w, "Label_TempSeuil").text(), shown);
    // What was assigned stays held until the next read-back.
    QCOMPARE(w.station().Heating().gSeuil_Temp_asWord, 2458);
  }

  // Without a connection at start the fields hold "?", which is no number: nothing is sent.
  void placeholdersAreNoNumbers() {
    test::WindowFixture f;
    std::filesystem::remove(f.folder / "ports" / "COM3");
    TMAINForm& w = f.open();
    QVERIFY(!w.station().Connected());
    QCOMPARE(Find<TNumberEdit>(w, "NumberEditTemp_Seuil").text(), QStringLiteral("?"));
    f.takeOrders();
    auto& group = Find<HeatingThresholdsGroup>(w, "GroupBoxHeatThresholds");
    QCOMPARE(test::RaisedMessage([&] { group.ButtonUpdateSetupClick(); }),
             QStringLiteral("'?' is not a valid integer value"));
    // A power level that does not fit the board's byte is refused before anything goes out.
    SetNewValues(w, "25", "80", "256");
    QCOMPARE(test::RaisedMessage([&] { group.ButtonUpdateSetupClick(); }),
             QStringLiteral("Range check error"));
    QVERIFY(f.takeOrders().empty());
  }
};

VESK_WINDOW_TEST(HeatingGroupTest);
#include "heating_group_test.moc"
