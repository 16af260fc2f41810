// The two cooling-mode boxes of "Sensor cooling" on the window built for real against the
// simulated board of the cooled-sensor model.
#include <QCheckBox>
#include <QtTest>

#include "device/gui/cooling_page.h"
#include "link/order_codes.h"
#include "station/station.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"

using namespace vesk;
using test::Find;

namespace {

constexpr std::uint8_t kCooledSensor = 4;

sim::CoolingModes BoardModes(test::WindowFixture& f) {
  return f.board->withBoard([](sim::Board& b) { return b.cooling(); });
}

// Checked and enabled, for one box.
struct BoxState {
  bool checked;
  bool enabled;
  bool operator==(const BoxState&) const = default;
};

BoxState StateOf(const QCheckBox& box) {
  return {box.isChecked(), box.isEnabled()};
}

char* toString(const BoxState& s) {
  return qstrdup(QByteArray(s.checked ? "checked" : "unchecked") +
                 (s.enabled ? ", enabled" : ", disabled"));
}

}  // namespace

class CoolingPageTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Each click sends its order and polls; the boxes then show the board's mode.
  void boxesSwitchTheBoardsModes() {
    test::WindowFixture f(kCooledSensor);
    TMAINForm& w = f.open();
    auto& manual = Find<QCheckBox>(w, "CheckBoxCOOLINGManual");
    auto& automatic = Find<QCheckBox>(w, "CheckBoxAutoCool");
    // The board starts in automatic mode.
    QCOMPARE(StateOf(automatic), (BoxState{true, true}));
    QCOMPARE(StateOf(manual), (BoxState{false, false}));
    f.takeOrders();

    // Automatic off: no mode left, so the poll leaves the boxes and manual becomes free.
    automatic.click();
    auto orders = f.takeOrders();
    QCOMPARE(test::FirstOrder(orders), (TArrayByte{SET_AUTO_COOLER_ORDER, 0}));
    QVERIFY(test::HoldsPoll(orders));
    QCOMPARE(StateOf(automatic), (BoxState{false, true}));
    QCOMPARE(StateOf(manual), (BoxState{false, true}));

    manual.click();
    orders = f.takeOrders();
    QCOMPARE(test::FirstOrder(orders), (TArrayByte{SET_MANUAL_COOLER_ORDER, 1}));
    QVERIFY(test::HoldsPoll(orders));
    QVERIFY(BoardModes(f).manual);
    QCOMPARE(StateOf(manual), (BoxState{true, true}));
    QCOMPARE(StateOf(automatic), (BoxState{false, false}));

    manual.click();
    QCOMPARE(test::FirstOrder(f.takeOrders()), (TArrayByte{SET_MANUAL_COOLER_ORDER, 0}));
    QCOMPARE(StateOf(manual), (BoxState{false, true}));
    QCOMPARE(StateOf(automatic), (BoxState{false, true}));

    // The board went back to automatic meanwhile: the poll after the operator's click on
    // manual shows automatic, and manual ends unchecked and disabled.
    w.station().SetAutoCooler(true);
    f.takeOrders();
    manual.click();
    QCOMPARE(test::FirstOrder(f.takeOrders()), (TArrayByte{SET_MANUAL_COOLER_ORDER, 1}));
    QCOMPARE(StateOf(manual), (BoxState{false, false}));
    QCOMPARE(StateOf(automatic), (BoxState{true, true}));
  }

  void failedOrderPutsTheBoxBackSilently() {
    test::WindowFixture f(kCooledSensor);
    TMAINForm& w = f.open();
    auto& automatic = Find<QCheckBox>(w, "CheckBoxAutoCool");
    auto& manual = Find<QCheckBox>(w, "CheckBoxCOOLINGManual");
    f.faults({.badStart = true});
    f.takeOrders();
    const int logLines = f.log().size();

    automatic.click();
    QCOMPARE(f.takeOrders(), (std::vector<TArrayByte>{{SET_AUTO_COOLER_ORDER, 0}}));
    QCOMPARE(StateOf(automatic), (BoxState{true, true}));
    QCOMPARE(StateOf(manual), (BoxState{false, false}));
    QVERIFY(f.messages.isEmpty());
    // The link logs its own failure; the page adds nothing.
    const QStringList added = f.log().mid(logLines);
    QVERIFY2(added.size() <= 1, qPrintable(added.join('\n')));
  }

  void clickWithoutConnectionOnlyChangesTheBox() {
    test::WindowFixture f(kCooledSensor);
    TMAINForm& w = f.open();
    w.ButtonConnectClick();
    QVERIFY(!w.station().Connected());
    auto& automatic = Find<QCheckBox>(w, "CheckBoxAutoCool");
    auto& manual = Find<QCheckBox>(w, "CheckBoxCOOLINGManual");
    f.takeOrders();

    auto& page = Find<CoolingPage>(w, "TabSheetCCDCool");
    automatic.setChecked(false);
    page.CheckBoxAutoCoolClick();
    QCOMPARE(StateOf(automatic), (BoxState{false, true}));
    QCOMPARE(StateOf(manual), (BoxState{false, false}));
    QVERIFY(f.takeOrders().empty());
  }
};

VESK_WINDOW_TEST(CoolingPageTest);
#include "cooling_page_test.moc"
