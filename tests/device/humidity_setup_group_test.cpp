// "External relative humidity setup" on the window built for real against the simulated board.
#include <QPushButton>
#include <QtTest>

#include "device/gui/humidity_setup_group.h"
#include "station/station.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"
#include "widgets/gui/number_edit.h"

using namespace vesk;
using test::Find;

class HumiditySetupGroupTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Nothing goes to the board; the next poll converts with both new constants.
  void constantsReachTheNextPoll() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    QCOMPARE(Find<TNumberEdit>(w, "NumberEditGainRH").text(), QStringLiteral("157.23270"));
    QCOMPARE(Find<TNumberEdit>(w, "NumberEditOffsetRH").text(), QStringLiteral("0.15150"));
    QVERIFY(w.station().Datas().back().RHExt > 1);
    f.takeOrders();

    // Without gain every count reads 0 %RH.
    Find<TNumberEdit>(w, "NumberEditGainRH").setText("0");
    Find<TNumberEdit>(w, "NumberEditOffsetRH").setText("0.2");
    QTest::mouseClick(&Find<QPushButton>(w, "ButtonAPPLY_T_RH_consts"), Qt::LeftButton);
    QVERIFY(f.takeOrders().empty());
    QCOMPARE(w.station().Humidity().HumiditySensorGain, 0.0);
    QCOMPARE(w.station().Humidity().HumiditySensorOffset, 0.2);

    w.PollDevice(true);
    QCOMPARE(w.station().Datas().back().RHExt, 0.0);
  }

  void textThatIsNoNumberChangesNeitherConstant() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    const HumidityConstants before = w.station().Humidity();
    Find<TNumberEdit>(w, "NumberEditGainRH").setText("100");
    Find<TNumberEdit>(w, "NumberEditOffsetRH").setText("0,2");
    auto& group = Find<HumiditySetupGroup>(w, "GroupBoxRHSetup");
    QCOMPARE(test::RaisedMessage([&] { group.ButtonAPPLY_T_RH_constsClick(); }),
             QStringLiteral("'0,2' is not a valid floating point value"));
    QCOMPARE(w.station().Humidity().HumiditySensorGain, before.HumiditySensorGain);
    QCOMPARE(w.station().Humidity().HumiditySensorOffset, before.HumiditySensorOffset);
  }
};

VESK_WINDOW_TEST(HumiditySetupGroupTest);
#include "humidity_setup_group_test.moc"
