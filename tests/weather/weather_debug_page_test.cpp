// The "Debug and Test Astel WEATHER" page in the main window built for real, connected to a
// simulated weather board: each row's texts in its own fields, the rows an older or faulty
// module leaves out, and the failures that reach the default error handler.
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "station/station.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"
#include "weather/gui/weather_debug_page.h"

using namespace vesk;
using test::Find;
using test::Text;
using test::WindowFixture;

namespace {

constexpr std::uint8_t kWeatherModel = 34;

// The raw and value fields of each row, in the page's order.
struct RowFields {
  const char* raw;
  const char* value;
};
constexpr RowFields kRows[] = {
    {"StaticTextBin_Pressure", "StaticTextTrueValuePressure"},
    {"StaticTextBinADCTest", "StaticTextADCTestval"},
    {"StaticTextBinADCTemp", "StaticTextAdcTempVal"},
    {"StaticTextBinTempExt", "StaticTextTempExtVal"},
    {"StaticTextBinRH", "StaticTextRHExtVal"},
    {"StaticTextWindSpeedBin", "StaticTextWindSpeedTrueValue"},
    {"StaticTextWinDirBin", "StaticTextWindirTrueVal"},
    {"StaticTextBinTempSeuil", "StaticTextTrueValTempSeuil"},
    {"StaticTextBinRHSeuil", "StaticTextTrueRHSeuil"},
};
static_assert(std::size(kRows) == kWeatherRowCount);

QColor Color(const TMAINForm& w, const char* name) {
  return Find<QLabel>(w, name).palette().color(QPalette::WindowText);
}

// "Get Data" pressed as an operator does, so a failure goes through the default error handler.
void GetData(TMAINForm& w) {
  QTest::mouseClick(&Find<QPushButton>(w, "ButtonExtDatas"), Qt::LeftButton);
}

// Every field still as the page starts: a single blank, and "???" for the status.
bool Untouched(const TMAINForm& w, std::size_t fromRow) {
  for (std::size_t row = fromRow; row < kWeatherRowCount; ++row) {
    if (Text(w, kRows[row].raw) != " " || Text(w, kRows[row].value) != " ") {
      return false;
    }
  }
  return true;
}

}  // namespace

class WeatherDebugPageTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Each row lands in its own fields: the pressure word in 16 binary digits, the others in
  // 12, and each value in the unit of its quantity.
  void everyRowInItsFields() {
    WindowFixture f(kWeatherModel);
    TMAINForm& w = f.open();
    QVERIFY(test::TabVisible(w, "TabSheetDebugWeatherExt"));
    GetData(w);
    QVERIFY2(f.messages.isEmpty(), qPrintable(f.messages.join('\n')));

    const QRegularExpression raw16(R"(^ [01]{4}( [01]{4}){3}     0x[0-9A-F]{4,}   \d+$)");
    const QRegularExpression raw12(R"(^ {10}[01]{4}( [01]{4}){2}     0x[0-9A-F]{3,}   \d+$)");
    const char* values[] = {
        R"(^    \d+\.\d Local hPa {11}\d+\.\d See level hPa \(at 20°C\)$)",
        R"(^    \d\.\d{3} V must be 2\.5V {10}Diff=-?\d\.\d{3} V$)",
        R"(^    -?\d+\.\d\d °C$)",
        R"(^    before amp  : \d\.\d\d V, then after \d\.\d\d V {11}-?\d+\.\d\d°C$)",
        R"(^    \d\.\d\d V {8}-?\d+\.\d%$)",
        R"(^    before amp  : \d\.\d\d V, then after \d\.\d\d V {6}-?\d+\.\d\d  km/h$)",
        R"(^    before amp  : \d\.\d\d V, then after \d\.\d\d V {4}-?\d+\.\d\d °$)",
        R"(^    -?\d+\.\d °C$)",
        R"(^    -?\d+\.\d %$)",
    };
    for (std::size_t row = 0; row < kWeatherRowCount; ++row) {
      const QString rawText = Text(w, kRows[row].raw);
      QVERIFY2((row == 0 ? raw16 : raw12).match(rawText).hasMatch(), qPrintable(rawText));
      const QString valueText = Text(w, kRows[row].value);
      QVERIFY2(QRegularExpression(values[row]).match(valueText).hasMatch(), qPrintable(valueText));
      QCOMPARE(Color(w, kRows[row].value), QColor(Qt::black));
    }
    QCOMPARE(Text(w, "LabelADCStatus"), QStringLiteral("OK"));
    QCOMPARE(Color(w, "LabelADCStatus"), QColor(Qt::black));
  }

  // The humidity row converts with the constants the station holds, as the polls do.
  void humidityWithTheConstantsInUse() {
    WindowFixture f(kWeatherModel);
    TMAINForm& w = f.open();
    w.station().SetHumidity({0, 0.2});
    GetData(w);
    QVERIFY2(Text(w, "StaticTextRHExtVal").endsWith(QStringLiteral(" 0.0%")),
             qPrintable(Text(w, "StaticTextRHExtVal")));
  }

  // Older modules send fewer bytes: the rows they lack read "Not supported"; a reply too short
  // for a row ends the readout there with the range error, the rows before it written and
  // the later ones and the status as they were.
  void shortReplies_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("rowsWritten");
    QTest::addColumn<bool>("referenceTest");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("messages");

    const QStringList none;
    const QStringList rangeError{QStringLiteral("Range check error")};
    QTest::newRow("no status") << 18 << 9 << true << "Not supported..." << none;
    QTest::newRow("no reference test") << 16 << 9 << false << "Not supported..." << none;
    QTest::newRow("pressure and humidity only") << 5 << 2 << false << "???" << rangeError;
    QTest::newRow("one byte") << 1 << 0 << false << "???" << rangeError;
  }

  void shortReplies() {
    QFETCH(int, length);
    QFETCH(int, rowsWritten);
    QFETCH(bool, referenceTest);
    QFETCH(QString, status);
    QFETCH(QStringList, messages);

    WindowFixture f(kWeatherModel);
    TMAINForm& w = f.open();
    const QColor statusColor = Color(w, "LabelADCStatus");
    f.faults({.dataExtLength = static_cast<std::size_t>(length)});
    GetData(w);

    QCOMPARE(f.messages, messages);
    if (rowsWritten > 0) {
      QVERIFY(Text(w, "StaticTextTrueValuePressure").contains(QStringLiteral(" Local hPa ")));
    }
    if (rowsWritten > 1) {
      const QString reference = Text(w, "StaticTextADCTestval");
      if (referenceTest) {
        // The 2.5 V reference, within the board's noise (2.5 mV) and one count.
        QVERIFY2(qAbs(reference.section(' ', 4, 4).toDouble() - 2.5) < 0.0035,
                 qPrintable(reference));
      } else {
        QCOMPARE(reference, QStringLiteral("Not supported"));
      }
      QCOMPARE(Text(w, "StaticTextBinADCTest") == QStringLiteral("Not supported"), !referenceTest);
    }
    for (int row = 2; row < rowsWritten; ++row) {
      QVERIFY(Text(w, kRows[row].value).startsWith(QStringLiteral("    ")));
    }
    QVERIFY(Untouched(w, static_cast<std::size_t>(rowsWritten)));
    QCOMPARE(Text(w, "LabelADCStatus"), status);
    QCOMPARE(Color(w, "LabelADCStatus"), statusColor);
  }

  // A faulted converter shows "Faulted" in red; a later reply without the status byte says
  // "Not supported..." and leaves the colour as it was, red here; a sound one is black again.
  void converterStatusColours() {
    WindowFixture f(kWeatherModel);
    TMAINForm& w = f.open();
    f.faults({.converterFaulted = true});
    GetData(w);
    QCOMPARE(Text(w, "LabelADCStatus"), QStringLiteral("Faulted"));
    QCOMPARE(Color(w, "LabelADCStatus"), QColor(Qt::red));

    f.faults({.dataExtLength = 18});
    GetData(w);
    QCOMPARE(Text(w, "LabelADCStatus"), QStringLiteral("Not supported..."));
    QCOMPARE(Color(w, "LabelADCStatus"), QColor(Qt::red));

    f.faults({});
    GetData(w);
    QCOMPARE(Text(w, "LabelADCStatus"), QStringLiteral("OK"));
    QCOMPARE(Color(w, "LabelADCStatus"), QColor(Qt::black));
    QVERIFY(f.messages.isEmpty());
  }

  // A link failure ends the handler with the link's error before any row changes.
  void aLinkFailureChangesNothing() {
    WindowFixture f(kWeatherModel);
    TMAINForm& w = f.open();
    GetData(w);
    QStringList before;
    for (const RowFields& row : kRows) {
      before << Text(w, row.raw) << Text(w, row.value);
    }
    f.faults({.silent = true});
    GetData(w);

    QCOMPARE(f.messages.size(), 1);
    QVERIFY2(f.messages.first().startsWith(QStringLiteral("Read Buffer, ERROR -> read=0 byte(s)")),
             qPrintable(f.messages.first()));
    QVERIFY(f.log().contains(f.messages.first()));  // the link logged it first
    QStringList after;
    for (const RowFields& row : kRows) {
      after << Text(w, row.raw) << Text(w, row.value);
    }
    QCOMPARE(after, before);
    QCOMPARE(Text(w, "LabelADCStatus"), QStringLiteral("OK"));
  }
};

// The monitor's own application, so that a failure in a handler meets the default error
// handler as it does in the program.
VESK_WINDOW_TEST_IN_VESK_APPLICATION(WeatherDebugPageTest);

#include "weather_debug_page_test.moc"
