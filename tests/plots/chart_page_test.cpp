// The chart pages in the main window, built for real against the simulated board: the series
// as drawn, the points handed over from the history, and the cursor readouts of status
// panel 1 on every chart.
#include <QLabel>
#include <QTabWidget>
#include <QtTest>

#include "app/main_window.h"
#include "common/datetime.h"
#include "history/synthetic_history.h"
#include "plots/gui/chart_time.h"
#include "plots/gui/custom_plot.h"
#include "station/station.h"
#include "tests/plots/chart_checks.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"

using namespace vesk;
using test::Chart;
using test::Find;
using Fixture = test::WindowFixture;

namespace {

const QCPGraph& Graph(const QCustomPlot& chart, const QString& series) {
  for (int i = 0; i < chart.graphCount(); ++i) {
    if (chart.graph(i)->name() == series) {
      return *chart.graph(i);
    }
  }
  throw std::runtime_error("no series " + series.toStdString());
}

enum class Line { None, Plain, Stairs };
enum class Mark { None, Circle, Diamond };

}  // namespace

Q_DECLARE_METATYPE(Line)
Q_DECLARE_METATYPE(Mark)

class ChartPageTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void seriesLooks_data() {
    QTest::addColumn<QString>("chart");
    QTest::addColumn<QString>("series");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<Line>("line");
    QTest::addColumn<int>("width");
    QTest::addColumn<Mark>("mark");
    QTest::addColumn<int>("reach");  // pixels each side of the point
    QTest::addColumn<QColor>("fill");
    QTest::addColumn<QColor>("outline");
    const QColor red(255, 0, 0), lime(0, 255, 0), black(0, 0, 0), none;
    QTest::newRow("SeriesTemp") << "ChartTemp"
                                << "SeriesTemp" << red << Line::Plain << 1 << Mark::Circle << 2
                                << red << red;
    QTest::newRow("SeriesTP2") << "ChartTemp"
                               << "SeriesTP2" << black << Line::Plain << 1 << Mark::Circle << 2
                               << black << black;
    QTest::newRow("SeriesTempHot")
        << "ChartTemp"
        << "SeriesTempHot" << lime << Line::Plain << 1 << Mark::Diamond << 3 << lime << lime;
    QTest::newRow("SeriesPR") << "ChartTemp"
                              << "SeriesPR" << QColor(0, 255, 255) << Line::Plain << 2 << Mark::None
                              << 0 << none << none;
    QTest::newRow("SeriesOn_Off_Heater") << "ChartTemp"
                                         << "SeriesOn_Off_Heater" << QColor(128, 0, 255)
                                         << Line::Stairs << 2 << Mark::None << 0 << none << none;
    QTest::newRow("SeriesRH") << "ChartRH"
                              << "SeriesRH" << red << Line::Plain << 1 << Mark::Circle << 2 << red
                              << red;
    QTest::newRow("SeriesRHint") << "ChartRH"
                                 << "SeriesRHint" << lime << Line::Plain << 1 << Mark::Circle << 2
                                 << lime << lime;
    QTest::newRow("SeriesPressure")
        << "ChartPress"
        << "SeriesPressure" << red << Line::Plain << 1 << Mark::Circle << 2 << red << red;
    QTest::newRow("SeriesWindspeed")
        << "ChartWindspeed"
        << "SeriesWindspeed" << QColor(0, 0, 128) << Line::None << 1 << Mark::Circle << 2
        << QColor(0, 128, 64) << QColor(0, 128, 0);
    QTest::newRow("SeriesWindDir") << "ChartWindDir"
                                   << "SeriesWindDir" << QColor(128, 0, 128) << Line::None << 1
                                   << Mark::Circle << 2 << QColor(128, 0, 128) << QColor(0, 0, 255);
  }

  // Lines as given; marks drawn once into a picture: its opaque part reaches that far each side
  // of the centre, filled, with the outline at its edge; a diamond has a single point on top.
  void seriesLooks() {
    QFETCH(QString, chart);
    QFETCH(QString, series);
    QFETCH(QColor, colour);
    QFETCH(Line, line);
    QFETCH(int, width);
    QFETCH(Mark, mark);
    QFETCH(int, reach);
    QFETCH(QColor, fill);
    QFETCH(QColor, outline);
    Fixture station(34);
    const TMAINForm& w = station.open();
    const QCustomPlot& plot = Chart(w, qPrintable(chart));
    const QCPGraph& graph = Graph(plot, series);
    QCOMPARE(graph.pen().color(), colour);
    QCOMPARE(graph.pen().width(), width);
    const QCPGraph::LineStyle style = line == Line::None    ? QCPGraph::lsNone
                                      : line == Line::Plain ? QCPGraph::lsLine
                                                            : QCPGraph::lsStepLeft;
    QCOMPARE(graph.lineStyle(), style);
    QVERIFY(!plot.legend->visible());
    if (mark == Mark::None) {
      QVERIFY(graph.scatterStyle().isNone());
      return;
    }
    QCOMPARE(graph.scatterStyle().shape(), QCPScatterStyle::ssPixmap);
    const QImage picture = graph.scatterStyle().pixmap().toImage();
    QRect opaque;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        if (qAlpha(picture.pixel(x, y)) == 255) {
          opaque |= QRect(x, y, 1, 1);
        }
      }
    }
    QCOMPARE(opaque.size(), QSize(2 * reach + 1, 2 * reach + 1));
    const QPoint centre = opaque.center();
    QCOMPARE(QColor(picture.pixel(centre)), fill);
    QCOMPARE(QColor(picture.pixel(opaque.left(), centre.y())), outline);
    int top = 0;
    for (int x = opaque.left(); x <= opaque.right(); ++x) {
      top += qAlpha(picture.pixel(x, opaque.top())) == 255 ? 1 : 0;
    }
    QCOMPARE(top == 1, mark == Mark::Diamond);
  }

  void pointsFromTheHistory_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("weather");
    QTest::newRow("weather model") << 34 << true;
    QTest::newRow("no weather module") << 23 << false;
  }

  // Two days at 10 s after "24h": the newest 3000 records on every series, at their dates;
  // the dew point beside every humidity point; the heater trace on the bottom of the forced
  // 0 … 50 axis; pressure and wind only with the weather module.
  void pointsFromTheHistory() {
    QFETCH(int, type);
    QFETCH(bool, weather);
    Fixture station(static_cast<std::uint8_t>(type));
    TMAINForm& w = station.open();
    test::StopPolls(w);
    TTinfosRec& datas = w.station().Datas();
    datas = GenerateHistory(Now() - 2.0, 2 * 8640, 10.0);
    // The heater on for 30 records in every 100, whatever the hour of the generated day.
    for (std::size_t i = 0; i < datas.size(); ++i) {
      datas[i].ActiveHeater = i % 100 < 30 ? 1 : 0;
    }
    QTest::mouseClick(&Find<QWidget>(w, "BitBtn24h"), Qt::LeftButton);

    const QCustomPlot& temp = Chart(w, "ChartTemp");
    const QCPGraph& outside = Graph(temp, "SeriesTemp");
    QCOMPARE(outside.dataCount(), 3000);
    const auto last = outside.data()->constEnd() - 1;
    QCOMPARE(last->key, ChartKey(datas.back().Date));
    QCOMPARE(last->value, datas.back().TempExt);
    QCOMPARE(outside.data()->constBegin()->key, ChartKey(datas[datas.size() - 3000].Date));

    const QCPGraph& humidity = Graph(Chart(w, "ChartRH"), "SeriesRH");
    const QCPGraph& dewPoint = Graph(temp, "SeriesPR");
    QCOMPARE(dewPoint.dataCount(), humidity.dataCount());
    QCOMPARE((dewPoint.data()->constEnd() - 1)->key, (humidity.data()->constEnd() - 1)->key);

    const QCPGraph& heater = Graph(temp, "SeriesOn_Off_Heater");
    int heated = 0;
    auto record = datas.end() - 3000;
    for (const QCPGraphData& p : *heater.data()) {
      QCOMPARE(p.value, record->ActiveHeater ? 10.0 : 0.0);
      heated += record->ActiveHeater ? 1 : 0;
      ++record;
    }
    QCOMPARE(heated, 900);

    for (const auto& [chart, series] :
         {std::pair{"ChartPress", "SeriesPressure"}, std::pair{"ChartWindspeed", "SeriesWindspeed"},
          std::pair{"ChartWindDir", "SeriesWindDir"}}) {
      QCOMPARE(test::Points(Chart(w, chart), series), weather ? 3000 : 0);
    }
    QCOMPARE(Find<QLabel>(w, "StatusPanel2").text(), QString(" Data pts=17280"));
  }

  // After a rebuild only the chart on screen is drawn again; a chart whose page is not shown
  // is drawn, with its new points, when its page is shown, before it is painted.
  void hiddenChartsAreDrawnWhenShown() {
    Fixture station(34);
    TMAINForm& w = station.open();
    test::StopPolls(w);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCustomPlot& temp = Chart(w, "ChartTemp");
    QCustomPlot& rh = Chart(w, "ChartRH");
    QCoreApplication::processEvents();
    int tempDrawn = 0;
    int rhDrawn = 0;
    connect(&temp, &QCustomPlot::afterReplot, this, [&] { ++tempDrawn; });
    connect(&rh, &QCustomPlot::afterReplot, this, [&] { ++rhDrawn; });
    int rhPointsWhenDrawn = -1;
    connect(&rh, &QCustomPlot::afterReplot, this,
            [&] { rhPointsWhenDrawn = Graph(rh, "SeriesRH").dataCount(); });

    w.station().Datas() = GenerateHistory(Now() - 1.0, 500, 10.0);
    QTest::mouseClick(&Find<QWidget>(w, "BitBtn24h"), Qt::LeftButton);
    QTRY_VERIFY(tempDrawn > 0);
    QCOMPARE(rhDrawn, 0);

    auto& pages = Find<QTabWidget>(w, "PageControl");
    pages.setCurrentWidget(&Find<QWidget>(w, "TabSheetRH"));  // its first showing
    QCOMPARE(rhDrawn, 1);
    QCOMPARE(rhPointsWhenDrawn, 500);

    // Shown again at the size it had: drawn once more only when it changed meanwhile.
    pages.setCurrentWidget(&Find<QWidget>(w, "TabSheetVolts"));
    pages.setCurrentWidget(&Find<QWidget>(w, "TabSheetRH"));
    QCOMPARE(rhDrawn, 1);
    pages.setCurrentWidget(&Find<QWidget>(w, "TabSheetVolts"));
    w.station().Datas() = GenerateHistory(Now() - 1.0, 700, 10.0);
    QTest::mouseClick(&Find<QWidget>(w, "BitBtn24h"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(rhDrawn, 1);
    pages.setCurrentWidget(&Find<QWidget>(w, "TabSheetRH"));
    QCOMPARE(rhDrawn, 2);
    QCOMPARE(rhPointsWhenDrawn, 700);
  }

  void cursorReadouts_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("chart");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ChartTemp") << "TabSheetVolts"
                               << "ChartTemp" << 21.37 << "            21.37 °C";
    QTest::newRow("ChartRH") << "TabSheetRH"
                             << "ChartRH" << 65.2 << "            65.20 %RH";
    QTest::newRow("ChartPress") << "TabSheetWeatherModule"
                                << "ChartPress" << 1013.2 << "            1013.2 hPa";
    QTest::newRow("ChartWindspeed") << "TabSheetWind"
                                    << "ChartWindspeed" << 3.45 << "            3.45 km/h";
    QTest::newRow("ChartWindDir") << "TabSheetWindir"
                                  << "ChartWindDir" << 270.0 << "            270.0 °";
  }

  // The cursor's date-time and value, in the chart's unit, in status panel 1.
  void cursorReadouts() {
    QFETCH(QString, page);
    QFETCH(QString, chart);
    QFETCH(double, value);
    QFETCH(QString, shown);
    Fixture station(34);
    TMAINForm& w = station.open();
    test::StopPolls(w);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Find<QTabWidget>(w, "PageControl").setCurrentWidget(&Find<QWidget>(w, qPrintable(page)));
    QCustomPlot& plot = Chart(w, qPrintable(chart));
    // Narrow ranges: a pixel is a fraction of a second and of the last decimal shown.
    const TDateTime start = EncodeDateTime({2026, 1, 18, 9, 5, 0});
    plot.xAxis->setRange(ChartKey(start), ChartKey(start) + 100);
    plot.yAxis->setRange(value - 0.5, value + 0.5);
    plot.replot();
    const QPoint pixel(qRound(plot.xAxis->coordToPixel(ChartKey(start) + 50.25)),
                       qRound(plot.yAxis->coordToPixel(value)));

    // From elsewhere first: a move to where the cursor already is moves nothing.
    QTest::mouseMove(w.windowHandle(), QPoint(1, 1));
    QTest::mouseMove(w.windowHandle(), plot.mapTo(&w, pixel));
    const QString expected =
        " " + QString::fromLocal8Bit(DateTimeToText(start + 50.25 / 86400)) + shown;
    QTRY_COMPARE(Find<QLabel>(w, "StatusPanel1").text(), expected);
  }
};

VESK_WINDOW_TEST(ChartPageTest);
#include "chart_page_test.moc"
