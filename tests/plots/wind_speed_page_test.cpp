// The wind speed page in the main window, built for real against a simulated weather model:
// its window buttons move the two wind charts alone, and the next poll with the lock on
// gives their window to every chart.
#include <QtTest>

#include "app/main_window.h"
#include "common/datetime.h"
#include "plots/gui/custom_plot.h"
#include "tests/plots/chart_checks.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"

using namespace vesk;
using test::Chart;
using test::Find;
using test::kTimeCharts;
using test::ShowsWindow;
using Fixture = test::WindowFixture;

class WindSpeedPageTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void windButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<double>("minX");
    QTest::addColumn<double>("maxX");
    QTest::newRow("1h") << "Button_1h_Vent" << 1.0 / 24 << 1.0 / 240;
    QTest::newRow("3h") << "Button5" << 0.125 << 1.0 / 120;
    QTest::newRow("12h") << "Button12hwind" << 0.5 << 1.0 / 48;
  }

  void windButtons() {
    QFETCH(QString, button);
    QFETCH(double, minX);
    QFETCH(double, maxX);
    Fixture station(34);
    TMAINForm& w = station.open();
    test::StopPolls(w);
    const QCPRange others = Chart(w, "ChartTemp").xAxis->range();
    const std::string keys = test::ReadFile(station.folder / "VeskLevel.ini");

    TDateTime from = Now();
    QTest::mouseClick(&Find<QWidget>(w, qPrintable(button)), Qt::LeftButton);
    TDateTime to = Now();
    for (const char* wind : {"ChartWindspeed", "ChartWindDir"}) {
      QVERIFY2(ShowsWindow(Chart(w, wind), from, to, minX, maxX), wind);
    }
    for (const char* other : {"ChartTemp", "ChartRH", "ChartPress"}) {
      QCOMPARE(Chart(w, other).xAxis->range(), others);
    }
    QCOMPARE(test::ReadFile(station.folder / "VeskLevel.ini"), keys);

    from = Now();
    w.PollDevice(true);
    to = Now();
    const TIniFile ini = test::Settings(station);
    for (const auto& [chart, section] : kTimeCharts) {
      QVERIFY2(ShowsWindow(Chart(w, chart), from, to, minX, maxX), chart);
      QCOMPARE(ini.ReadFloat(section, "Xmin", -1), minX);
      QCOMPARE(ini.ReadFloat(section, "Xmax", -1), maxX);
    }
  }
};

VESK_WINDOW_TEST(WindSpeedPageTest);
#include "wind_speed_page_test.moc"
