// The "BRISA IRIS / FOCUS Control" page in the main window built for real, connected to a
// simulated lens board of the older lens firmware: the lens bytes of each poll, the iris and
// focus commands, and the bytes the board received.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include "common/exceptions.h"
#include "lens/gui/lens_basic_page.h"
#include "station/station.h"
#include "tests/lens/lens_board.h"
#include "tests/support/window_test_main.h"

using namespace vesk;
using test::Find;
using test::Text;
using test::WindowFixture;

namespace {

constexpr std::uint8_t kBrisa = 5;  // older lens page with firmware 2.18

sim::BoardSetup OlderLensBoard(bool lensPresent = true) {
  sim::LensSetup lens;
  lens.present = lensPresent;
  return test::LensBoard(kBrisa, 2, 18, lens);
}

}  // namespace

class LensBasicPageTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void presenceAndLensBytes_data() {
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("presence");
    QTest::addColumn<QString>("information");
    QTest::addColumn<QString>("apertures");

    QTest::newRow("lens") << true << "YES (checked each 30s)"
                          << " - 0x4C (76) - 0x22 (34) - 0x00 (0) - 0x0F (15) - 0x00 (0)"
                             " - 0x0F (15) - 0x00 (0)"
                          << " - 0x00 (0) - 0x20 (32) - 0x58 (88) - 0x00 (0)";
    QTest::newRow("no lens") << false << "NO (checked each 30s)"
                             << " - 0x00 (0) - 0x00 (0) - 0x00 (0) - 0x00 (0) - 0x00 (0)"
                                " - 0x00 (0) - 0x00 (0)"
                             << " - 0x00 (0) - 0x00 (0) - 0x00 (0) - 0x00 (0)";
  }

  void presenceAndLensBytes() {
    QFETCH(bool, present);
    QFETCH(QString, presence);
    QFETCH(QString, information);
    QFETCH(QString, apertures);

    WindowFixture f(OlderLensBoard(present));
    TMAINForm& w = f.open();
    QVERIFY(test::TabVisible(w, "TabSheetIrisFocus"));
    QCOMPARE(Text(w, "Label_EF_Presence"), presence);
    QCOMPARE(Text(w, "LabelID_Obj"), information);
    QCOMPARE(Text(w, "LabelCanonApertureMinMax"), apertures);
    QCOMPARE(Find<QGroupBox>(w, "GroupBox_IRIS_Canon").isHidden(), !present);
    QCOMPARE(Find<QGroupBox>(w, "GroupBoxFOC_CANON").isHidden(), !present);
    QCOMPARE(Find<QLabel>(w, "Label_NONE_IRIS").isHidden(), present);
  }

  // Each fixed aperture has its own handler on the page, which sends its own steps.
  void eachFixedApertureByItsHandler() {
    WindowFixture f(OlderLensBoard());
    TMAINForm& w = f.open();
    const QMetaObject* page = Find<QWidget>(w, "TabSheetIrisFocus").metaObject();
    const struct {
      const char* button;
      const char* handler;
      const char* closing;
    } apertures[] = {
        {"RadioButton_f5_6", "RadioButton_f5_6Click()", "A4 77 14"},
        {"RadioButton_f2_8", "RadioButton_f2_8Click()", "A4 77 00"},
        {"RadioButton_f11", "RadioButton_f11Click()", "A4 77 24"},
        {"RadioButton_f8", "RadioButton_f8Click()", "A4 77 1C"},
        {"RadioButton_f16", "RadioButton_f16Click()", "A4 77 2C"},
    };
    QStringList sent;
    for (const auto& a : apertures) {
      QVERIFY2(page->indexOfSlot(a.handler) >= 0, a.handler);
      Find<QRadioButton>(w, a.button).click();
      sent << QStringLiteral("A4 FF 00") << QString::fromLatin1(a.closing);
      QCOMPARE(test::MotorOrders(f), sent);
    }
  }

  void fixedApertureSentOnlyWhenSelected() {
    WindowFixture f(OlderLensBoard());
    TMAINForm& w = f.open();
    Find<QRadioButton>(w, "RadioButton_f8").click();
    QCOMPARE(test::MotorOrders(f), (QStringList{"A4 FF 00", "A4 77 1C"}));
    Find<QRadioButton>(w, "RadioButton_f8").click();  // already selected
    Find<QRadioButton>(w, "RadioButton_f16").click();
    Find<QRadioButton>(w, "RadioButton_f2_8").click();
    QCOMPARE(test::MotorOrders(f),
             (QStringList{"A4 FF 00", "A4 77 1C", "A4 FF 00", "A4 77 2C", "A4 FF 00", "A4 77 00"}));
  }

  void closeIrisShowsTheReplyBytes() {
    WindowFixture f(OlderLensBoard());
    TMAINForm& w = f.open();
    Find<QSpinBox>(w, "SpinEditStepDiaph").setValue(31);
    auto& closeIris = Find<QCheckBox>(w, "CheckBoxCloseIris");
    closeIris.click();
    QCOMPARE(Text(w, "LabelRetIris"), QStringLiteral("0x06 0x1F"));  // 31 steps closed
    closeIris.click();
    QCOMPARE(Text(w, "LabelRetIris"), QStringLiteral("0x06 0x00"));
    QCOMPARE(test::MotorOrders(f), (QStringList{"A4 77 1F", "A4 FF 1F"}));
  }

  // The three buttons by tag; the newer page's position field follows the focus count.
  void focusButtonsByTag() {
    WindowFixture f(OlderLensBoard());
    TMAINForm& w = f.open();
    auto& position = Find<QLineEdit>(w, "EditAbsFocus");
    position.setText(QStringLiteral("77"));
    Find<QPushButton>(w, "ButtonFocusMin").click();
    QCOMPARE(position.text(), QStringLiteral("0"));
    Find<QLineEdit>(w, "EditFocusOffset").setText(QStringLiteral("-300"));
    Find<QPushButton>(w, "Button3").click();
    Find<QPushButton>(w, "ButtonFocus").click();
    QCOMPARE(test::MotorOrders(f), (QStringList{"A5 13 00 00", "A5 14 FE D4", "A5 12 00 00"}));
    QCOMPARE(w.station().Lens().AbsolFocus, 0);  // an offset of this page is not counted

    Find<QLineEdit>(w, "EditFocusOffset").setText(QStringLiteral("40000"));
    auto& page = Find<LensBasicPage>(w, "TabSheetIrisFocus");
    QVERIFY_THROWS_EXCEPTION(ERangeCheck, page.ButtonFocusClick(Find<QPushButton>(w, "Button3")));
    QCOMPARE(test::MotorOrders(f).size(), 3);
  }
};

VESK_WINDOW_TEST(LensBasicPageTest);
#include "lens_basic_page_test.moc"
