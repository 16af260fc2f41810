// The "IRIS / FOCUS CANON control" page in the main window built for real, connected to a
// simulated lens board of the newer lens firmware: what each poll shows of the lens, the
// aperture list and its choice, the focuser, and the bytes the board received.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include "common/exceptions.h"
#include "lens/gui/lens_advanced_page.h"
#include "station/station.h"
#include "tests/lens/lens_board.h"
#include "tests/support/window_test_main.h"

using namespace vesk;
using test::Find;
using test::Text;
using test::WindowFixture;

namespace {

constexpr std::uint8_t kBrisa3M = 33;  // newer lens page, firmware 3.5

sim::BoardSetup NewerLensBoard(const sim::LensSetup& lens = {}) {
  return test::LensBoard(kBrisa3M, 3, 5, lens);
}

sim::LensSetup LensWith(std::uint8_t codeA, std::uint8_t codeB, std::uint16_t id = 0x4C22) {
  sim::LensSetup lens;
  lens.id = id;
  lens.apertureCodeA = codeA;
  lens.apertureCodeB = codeB;
  return lens;
}

QStringList Row(const QTableWidget& grid, int row) {
  QStringList cells;
  for (int column = 0; column < grid.columnCount(); ++column) {
    const QTableWidgetItem* item = grid.item(row, column);
    cells << (item ? item->text() : QString());
  }
  return cells;
}

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) {
    items << box.itemText(i);
  }
  return items;
}

// The operator picks an entry from the list.
void Choose(QComboBox& box, int index) {
  box.setCurrentIndex(index);
  Q_EMIT box.activated(index);
}

}  // namespace

class LensAdvancedPageTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void apertureRangeAndList_data() {
    QTest::addColumn<int>("codeA");
    QTest::addColumn<int>("codeB");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("LabelAFmin");
    QTest::addColumn<QString>("LabelAFmax");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<QStringList>("ends");  // first and last entries; none without a list
    QTest::addColumn<int>("count");

    QTest::newRow("standard codes") << 0x20 << 0x58 << 0x4C22 << "2.8"
                                    << "32.0" << false << QStringList{"f/2.8", "f/32"} << 31;
    QTest::newRow("descending codes: extended table")
        << 0xEC << 0x6C << 0x4C22 << "2.8"
        << "32.0" << true << QStringList{"f/2.8", "f/32.0"} << 22;
    QTest::newRow("unknown code, lens known by identifier")
        << 0x09 << 0x58 << 0x81AE << "F/2   -> FORCED by ID"
        << "F/32  -> FORCED by ID" << false << QStringList{"f/2.0", "f/32"} << 35;
    QTest::newRow("unknown code, unknown lens") << 0x09 << 0x58 << 0x1234 << "UNKNOWN"
                                                << "32.0" << false << QStringList{} << 0;
  }

  void apertureRangeAndList() {
    QFETCH(int, codeA);
    QFETCH(int, codeB);
    QFETCH(int, id);
    QFETCH(QString, LabelAFmin);
    QFETCH(QString, LabelAFmax);
    QFETCH(bool, extended);
    QFETCH(QStringList, ends);
    QFETCH(int, count);

    WindowFixture f(
        NewerLensBoard(LensWith(static_cast<std::uint8_t>(codeA), static_cast<std::uint8_t>(codeB),
                                static_cast<std::uint16_t>(id))));
    TMAINForm& w = f.open();
    QVERIFY(test::TabVisible(w, "TabSheetIrisFocusAdv"));
    QCOMPARE(Text(w, "LabelAFmin"), LabelAFmin);
    QCOMPARE(Text(w, "LabelAFmax"), LabelAFmax);
    QCOMPARE(w.station().Lens().FExtendedCANON, extended);
    auto& box = Find<QComboBox>(w, "ComboBoxAperture");
    QCOMPARE(box.count(), count);
    if (ends.isEmpty()) {
      QCOMPARE(box.currentText(), QStringLiteral("????"));
      QVERIFY(!box.isEnabled());
    } else {
      QCOMPARE(Items(box).first(), ends.first());
      QCOMPARE(Items(box).last(), ends.last());
      QCOMPARE(box.currentText(), ends.first());
      QVERIFY(box.isEnabled());
    }
  }

  void detailsOfAPresentLens() {
    sim::LensSetup lens;
    lens.id = 0x00A5;
    lens.name = "Objectif \xE9";  // one Latin-1 byte
    WindowFixture f(NewerLensBoard(lens));
    TMAINForm& w = f.open();
    QCOMPARE(Text(w, "LabelPresAF2"), QStringLiteral("YES (checked each 30s -> #1)"));
    QVERIFY(!Find<QGroupBox>(w, "GroupBoxRepAF").isHidden());
    auto& frame80 = Find<QTableWidget>(w, "StringGridAF80");
    QCOMPARE(Row(frame80, 0), (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    QCOMPARE(Row(frame80, 1),
             (QStringList{"0x00", "0xA5", "0x00", "0x0F", "0x00", "0x0F", "0x00", "0x00", "0x00"}));
    auto& frameB0 = Find<QTableWidget>(w, "StringGridEF_Iris");
    QCOMPARE(Row(frameB0, 0), (QStringList{"10", "11", "12"}));
    QCOMPARE(Row(frameB0, 1), (QStringList{"0x00", "0x20", "0x58"}));
    QCOMPARE(Text(w, "Label_Lens_ID"), QStringLiteral("0x00A5"));
    QCOMPARE(Text(w, "Label_lens_Name"), QStringLiteral("Objectif é"));
    QCOMPARE(Text(w, "LabelFocale"), QStringLiteral("15 mm"));
    QVERIFY(Find<QLabel>(w, "LabelFocale").font().bold());
    QCOMPARE(Text(w, "Labeld1"), QStringLiteral("0.20 m"));
    QCOMPARE(Text(w, "Labeld2"), QStringLiteral("10.00 m"));
  }

  // Absent, the answers disappear and keep what they showed; the list stays too.
  void absentLensShowsTheReplyAndTheCheckCount() {
    sim::LensSetup absent;
    absent.present = false;
    WindowFixture f(NewerLensBoard(absent));
    TMAINForm& w = f.open();
    for (int i = 0; i < 4; ++i) {
      w.PollDevice(true);
    }
    QCOMPARE(Text(w, "LabelPresAF2"),
             QStringLiteral("NO (checked each 30s), reply was 0x00 instead of 0xAA (check #5)"));
    auto& answers = Find<QGroupBox>(w, "GroupBoxRepAF");
    QVERIFY(answers.isHidden());
    QCOMPARE(Row(Find<QTableWidget>(w, "StringGridAF80"), 1), QStringList(9, "0x00"));
    auto& box = Find<QComboBox>(w, "ComboBoxAperture");
    QCOMPARE(box.count(), 0);

    test::ChangeLens(f, {});
    w.PollDevice(true);
    QCOMPARE(Text(w, "LabelPresAF2"), QStringLiteral("YES (checked each 30s -> #6)"));
    QVERIFY(!answers.isHidden());
    QCOMPARE(box.count(), 31);
    Choose(box, box.findText("f/8"));

    test::ChangeLens(f, absent);
    w.PollDevice(true);
    QVERIFY(answers.isHidden());
    QCOMPARE(Text(w, "Label_Lens_ID"), QStringLiteral("0x4C22"));
    QCOMPARE(box.count(), 31);
    QCOMPARE(box.currentText(), QStringLiteral("f/8"));

    // A new connection counts its checks from 1.
    w.ButtonConnectClick();
    w.ButtonConnectClick();
    QCOMPARE(Text(w, "LabelPresAF2"),
             QStringLiteral("NO (checked each 30s), reply was 0x00 instead of 0xAA (check #1)"));
  }

  void lensTableErrorShownOncePerConnectionLoggedEveryPoll() {
    WindowFixture f(NewerLensBoard(LensWith(0x09, 0x58, 0x1234)));
    TMAINForm& w = f.open();
    w.PollDevice(true);
    w.PollDevice(true);
    const QString error = QStringLiteral(
        "Error while reading data from lens : Valeur (f/-1.0 / f/32.0) non trouvée dans la "
        "table des F/ des objectifs !!");
    QCOMPARE(f.messages, QStringList{error});
    QCOMPARE(f.log().count(error), 3);
    QCOMPARE(w.station().Datas().size(), std::size_t{3});  // the polls themselves succeed
    QCOMPARE(w.station().Lens().ErrorLens, std::uint16_t{3});

    w.ButtonConnectClick();
    w.ButtonConnectClick();
    QCOMPARE(f.messages, (QStringList{error, error}));
    QCOMPARE(f.log().count(error), 4);
  }

  // The list is rebuilt only for a new identifier or a list of another length.
  void choiceKeptUntilANewLensOrLength() {
    WindowFixture f(NewerLensBoard());
    TMAINForm& w = f.open();
    auto& box = Find<QComboBox>(w, "ComboBoxAperture");
    Choose(box, box.findText("f/5.6"));
    w.PollDevice(true);
    QCOMPARE(box.currentText(), QStringLiteral("f/5.6"));

    test::ChangeLens(f, LensWith(0x20, 0x58, 0x4C23));
    w.PollDevice(true);
    QCOMPARE(box.currentText(), QStringLiteral("f/2.8"));
    QCOMPARE(box.count(), 31);

    Choose(box, box.findText("f/8"));
    test::ChangeLens(f, LensWith(0x20, 0x4F, 0x4C23));
    w.PollDevice(true);
    QCOMPARE(box.currentText(), QStringLiteral("f/2.8"));
    QCOMPARE(box.count(), 26);
    QCOMPARE(w.station().Lens().Previous_LensID, std::uint16_t{0x4C23});
  }

  // The list of a lens stays when another lens with unknown codes comes and goes: the box
  // takes it up again when the lens is back.
  void listBackWithItsLensAfterALensTableError() {
    WindowFixture f(NewerLensBoard());
    TMAINForm& w = f.open();
    auto& box = Find<QComboBox>(w, "ComboBoxAperture");
    Choose(box, box.findText("f/8"));
    test::ChangeLens(f, LensWith(0x09, 0x58, 0x1234));
    w.PollDevice(true);
    QVERIFY(!box.isEnabled());
    test::ChangeLens(f, {});
    w.PollDevice(true);
    QVERIFY(box.isEnabled());
    QCOMPARE(box.count(), 31);
    QCOMPARE(box.currentText(), QStringLiteral("f/8"));
    QCOMPARE(f.messages.size(), 1);
  }

  void apertureChoiceSendsItsSteps() {
    WindowFixture f(NewerLensBoard(LensWith(0x20, 0x4F)));  // f/2.8 to f/22
    TMAINForm& w = f.open();
    auto& box = Find<QComboBox>(w, "ComboBoxAperture");
    QCOMPARE(Items(box).last(), QStringLiteral("f/22"));
    Choose(box, box.findText("f/5.6"));  // code 0x30, 16 above 0x20
    QCOMPARE(test::MotorOrders(f), (QStringList{"A4 FF 00", "A4 77 10"}));
  }

  void apertureChoiceRefusedBeforeSending() {
    // From f/3.5 (code 0x25): the next entry, "f/3.6", has code 0x24.
    WindowFixture f(NewerLensBoard(LensWith(0x24, 0x58)));
    TMAINForm& w = f.open();
    auto& box = Find<QComboBox>(w, "ComboBoxAperture");
    QCOMPARE(Items(box).mid(0, 3), (QStringList{"f/3.5", "f/3.6", "f/3.6"}));
    // The handlers' guard shows the refusal as the program shows every failure.
    Choose(box, 1);
    Q_EMIT box.lineEdit()->textEdited("f/4.0");
    QCOMPARE(f.messages, (QStringList{"Range check error", "Range check error"}));
    QCOMPARE(test::MotorOrders(f), QStringList{});
    Choose(box, 2);  // code 0x26: one step
    QCOMPARE(test::MotorOrders(f), (QStringList{"A4 FF 00", "A4 77 01"}));
  }

  void focusButtonsByTag() {
    WindowFixture f(NewerLensBoard());
    TMAINForm& w = f.open();
    auto& relative = Find<QLineEdit>(w, "EditFocusOffsetv220");
    auto& absolute = Find<QLineEdit>(w, "EditAbsFocus");
    const struct {
      const char* button;
      QLineEdit* field;
      const char* text;
      const char* sent;
      int AbsolFocus;
      const char* offsetShown;
    } presses[] = {
        {"Button6", &relative, "-300", "A5 14 FE D4", -300, "-300"},
        {"Button4", nullptr, "", "A5 13 00 00", 0, "-300"},
        {"Button6", &relative, "250", "A5 14 00 FA", 250, "250"},
        {"Button7", &absolute, "1000", "A5 14 02 EE", 1000, "750"},
        {"Button2", nullptr, "", "A5 12 00 00", 1000, "750"},
    };
    QStringList sent;
    for (const auto& press : presses) {
      if (press.field) {
        press.field->setText(QString::fromLatin1(press.text));
      }
      Find<QPushButton>(w, press.button).click();
      sent << QString::fromLatin1(press.sent);
      QCOMPARE(test::MotorOrders(f), sent);
      QCOMPARE(w.station().Lens().AbsolFocus, press.AbsolFocus);
      QCOMPARE(absolute.text(), QString::number(press.AbsolFocus));
      QCOMPARE(relative.text(), QString::fromLatin1(press.offsetShown));
    }
  }

  // The exchange fails after the focus count has moved: the count keeps the move, as the
  // lens most likely made it, and the position field is not rewritten.
  void aFailedFocusExchange() {
    WindowFixture f(NewerLensBoard());
    TMAINForm& w = f.open();
    Find<QTimer>(w, "TimerGetPeriodicData").stop();  // no poll meets the silent board
    auto& page = Find<LensAdvancedPage>(w, "TabSheetIrisFocusAdv");
    auto& absolute = Find<QLineEdit>(w, "EditAbsFocus");
    QCOMPARE(absolute.text(), QStringLiteral("0"));
    f.faults({.silent = true});
    Find<QLineEdit>(w, "EditFocusOffsetv220").setText(QStringLiteral("-300"));
    const QString raised =
        test::RaisedMessage([&] { page.ButtonFocusClick(Find<QPushButton>(w, "Button6")); });
    QVERIFY2(raised != QStringLiteral("(nothing raised)"), qPrintable(raised));
    QCOMPARE(test::MotorOrders(f), QStringList{"A5 14 FE D4"});
    QCOMPARE(w.station().Lens().AbsolFocus, -300);
    QCOMPARE(absolute.text(), QStringLiteral("0"));
  }

  void focusNumbersRefusedBeforeSending() {
    WindowFixture f(NewerLensBoard());
    TMAINForm& w = f.open();
    auto& page = Find<LensAdvancedPage>(w, "TabSheetIrisFocusAdv");
    auto& relative = Find<QLineEdit>(w, "EditFocusOffsetv220");
    const struct {
      const char* button;
      const char* field;
      const char* text;
      const char* error;
    } refused[] = {
        {"Button6", "EditFocusOffsetv220", "40000", "Range check error"},
        {"Button6", "EditFocusOffsetv220", "12a", "'12a' is not a valid integer value"},
        {"Button7", "EditAbsFocus", "40000", "Range check error"},  // 40000 steps away
    };
    for (const auto& r : refused) {
      Find<QLineEdit>(w, r.field).setText(QString::fromLatin1(r.text));
      const QString offsetShown = relative.text();
      QCOMPARE(test::RaisedMessage([&] { page.ButtonFocusClick(Find<QPushButton>(w, r.button)); }),
               QString::fromLatin1(r.error));
      QCOMPARE(relative.text(), offsetShown);
    }
    QCOMPARE(test::MotorOrders(f), QStringList{});
    QCOMPARE(w.station().Lens().AbsolFocus, 0);
  }
};

VESK_WINDOW_TEST(LensAdvancedPageTest);
#include "lens_advanced_page_test.moc"
