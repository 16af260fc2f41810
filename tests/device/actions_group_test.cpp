// The two heating boxes of "Actions" on the window built for real against the simulated board.
#include <QCheckBox>
#include <QtTest>

#include "device/gui/actions_group.h"
#include "link/order_codes.h"
#include "station/station.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"

using namespace vesk;
using test::Find;

namespace {

sim::HeatingConfig BoardHeating(test::WindowFixture& f) {
  return f.board->withBoard([](sim::Board& b) { return b.heating(); });
}

TArrayByte ConfigOrder(const sim::HeatingConfig& c, bool automatic) {
  return {REQ_SET_CONFIG,
          static_cast<std::uint8_t>(c.tempThreshold >> 8),
          static_cast<std::uint8_t>(c.tempThreshold & 0xFF),
          static_cast<std::uint8_t>(c.rhThreshold >> 8),
          static_cast<std::uint8_t>(c.rhThreshold & 0xFF),
          static_cast<std::uint8_t>(automatic ? 1 : 0),
          c.power};
}

}  // namespace

class ActionsGroupTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void switchesWriteTheBoardAndFollowItsPoll() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    auto& autoHeat = Find<QCheckBox>(w, "CheckBoxAutoHeat");
    auto& forceHeat = Find<QCheckBox>(w, "CheckBoxForceheat");
    QVERIFY(autoHeat.isChecked());
    QVERIFY(!forceHeat.isEnabled());
    const sim::HeatingConfig stored = BoardHeating(f);
    f.takeOrders();

    // Off: the held thresholds and power level go out with the flag cleared.
    autoHeat.click();
    auto orders = f.takeOrders();
    QCOMPARE(test::FirstOrder(orders), ConfigOrder(stored, false));
    QVERIFY(test::HoldsPoll(orders));
    QVERIFY(!BoardHeating(f).automatic);
    QVERIFY(!autoHeat.isChecked());
    QVERIFY(forceHeat.isEnabled());
    QVERIFY(f.log().contains(QString::asprintf(
        "SetConfig-> Temperature threshold : %d RH threshold : %d AutoHeating : 0  "
        "Power Level : %d",
        stored.tempThreshold, stored.rhThreshold, stored.power)));

    // Forced on: the heater follows and the poll shows it.
    forceHeat.click();
    orders = f.takeOrders();
    QCOMPARE(test::FirstOrder(orders), (TArrayByte{REQ_ENABLE_HEATER, 1}));
    QVERIFY(test::HoldsPoll(orders));
    QVERIFY(BoardHeating(f).forced);
    QVERIFY(forceHeat.isChecked());
    QVERIFY(!autoHeat.isEnabled());
    QVERIFY(w.station().Heating().gHeaterON);
    QVERIFY(f.log().contains("Manual heating (forced): 1, AutoHeater: 0"));

    forceHeat.click();
    QCOMPARE(test::FirstOrder(f.takeOrders()), (TArrayByte{REQ_ENABLE_HEATER, 0}));
    QVERIFY(!forceHeat.isChecked());
    QVERIFY(autoHeat.isEnabled());
  }

  // The poll sets the boxes to the board's state; that sends nothing back.
  void boxesChangedByThePollSendNothing() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    auto& autoHeat = Find<QCheckBox>(w, "CheckBoxAutoHeat");
    QVERIFY(autoHeat.isChecked());
    // The board changes behind the window's back.
    w.station().SetAutoHeating(false);
    w.station().EnableHeater(1);
    f.takeOrders();

    w.PollDevice(true);
    QVERIFY(!autoHeat.isChecked());
    QVERIFY(Find<QCheckBox>(w, "CheckBoxForceheat").isChecked());
    for (const TArrayByte& order : f.takeOrders()) {
      QVERIFY(order.front() != REQ_SET_CONFIG && order.front() != REQ_ENABLE_HEATER);
    }
  }

  void refusedHeaterOrderIsALinkErrorWithoutPoll() {
    test::WindowFixture f;
    TMAINForm& w = f.open();
    w.station().SetAutoHeating(false);
    w.PollDevice(true);
    auto& forceHeat = Find<QCheckBox>(w, "CheckBoxForceheat");
    auto& group = Find<ActionsGroup>(w, "GroupBoxActions");
    f.faults({.refuseSettings = true});
    f.takeOrders();

    forceHeat.setChecked(true);
    QCOMPARE(test::RaisedMessage([&] { group.CheckBoxForceheatClick(); }),
             QStringLiteral("Link error !!"));
    QCOMPARE(f.takeOrders(), (std::vector<TArrayByte>{{REQ_ENABLE_HEATER, 1}}));

    // The guard was lowered: the next click goes out.
    f.faults({});
    forceHeat.click();
    QCOMPARE(test::FirstOrder(f.takeOrders()), (TArrayByte{REQ_ENABLE_HEATER, 0}));
  }
};

VESK_WINDOW_TEST(ActionsGroupTest);
#include "actions_group_test.moc"
