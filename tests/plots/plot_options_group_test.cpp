// The group "Plots" in the main window, built for real against the simulated board: the time
// window buttons, the lock, the zoom-out, the forced value scales, "Save plots" and "Show the
// whole window". Run under the application's own error handler, as the monitor is.
#include <QCheckBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QtTest>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>

#include "app/main_window.h"
#include "common/datetime.h"
#include "history/history_store.h"
#include "history/synthetic_history.h"
#include "plots/gui/chart_image.h"
#include "plots/gui/chart_time.h"
#include "plots/gui/custom_plot.h"
#include "plots/jpeg_writer.h"
#include "station/station.h"
#include "tests/plots/chart_checks.h"
#include "tests/plots/jpeg_decode.h"
#include "tests/plots/local_http_server.h"
#include "tests/support/window_fixture.h"
#include "tests/support/window_test_main.h"
#include "widgets/gui/number_edit.h"

using namespace vesk;
using test::Chart;
using test::Find;
using test::kTimeCharts;
using test::Points;
using test::Settings;
using test::ShowsWindow;
using Fixture = test::WindowFixture;

namespace {

// A click as the operator makes it, through the application's event handling: on a check
// box, on its indicator.
void Click(const QObject& root, const char* name) {
  auto& button = Find<QAbstractButton>(root, name);
  QPoint at = button.rect().center();
  if (auto* box = qobject_cast<QCheckBox*>(&button)) {
    QStyleOptionButton option;
    option.initFrom(box);
    at = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
  }
  QTest::mouseClick(&button, Qt::LeftButton, {}, at);
}

void Click(const QObject& root, const QString& name) {
  Click(root, name.toLatin1().constData());
}

// A record newer than every other, straight into the history: only a rebuild shows it.
void AddNewestRecord(TMAINForm& w) {
  TTinfosRec& datas = w.station().Datas();
  datas.push_back(datas.back());
  datas.back().Date = Now();
}

// Whether some pixel of the picture's box is dark: caption text, where the chart has none.
bool DarkIn(const QImage& picture, QRect box) {
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) {
      if (qGray(picture.pixel(x, y)) < 100) {
        return true;
      }
    }
  }
  return false;
}

// The public address is asked there from the start on.
void AskAddressAt(const Fixture& station, const std::string& url) {
  std::ofstream ini(station.folder / "VeskLevel.ini");
  ini << "[Misc]\r\nIpEchoUrl=" << url << "\r\n";
}

// The quantisation tables of a JPEG file (its DQT segments), each of 64 values.
std::vector<std::vector<int>> QuantisationTables(const std::string& jpeg) {
  std::vector<std::vector<int>> tables;
  std::size_t at = 2;  // after SOI
  while (at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF) {
    const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
    const std::size_t length =
        static_cast<unsigned char>(jpeg[at + 2]) * 256u + static_cast<unsigned char>(jpeg[at + 3]);
    if (marker == 0xDA) {  // the picture's data follows
      break;
    }
    if (marker == 0xDB) {
      for (std::size_t p = at + 4; p < at + 2 + length;) {
        const bool wide = (static_cast<unsigned char>(jpeg[p]) >> 4) != 0;
        ++p;
        std::vector<int> table;
        for (int i = 0; i < 64; ++i) {
          table.push_back(wide ? static_cast<unsigned char>(jpeg[p]) * 256 +
                                     static_cast<unsigned char>(jpeg[p + 1])
                               : static_cast<unsigned char>(jpeg[p]));
          p += wide ? 2 : 1;
        }
        tables.push_back(table);
      }
    }
    at += 2 + length;
  }
  return tables;
}

// Written at quality 100: every step of every quantisation table is 1.
bool AtQuality100(const std::string& jpeg) {
  const auto tables = QuantisationTables(jpeg);
  return !tables.empty() && std::all_of(tables.begin(), tables.end(), [](const auto& table) {
    return std::all_of(table.begin(), table.end(), [](int step) { return step == 1; });
  });
}

QImage Picture(const test::Decoded& d) {
  QImage picture(d.width, d.height, QImage::Format_RGB888);
  for (int y = 0; y < d.height; ++y) {
    std::memcpy(picture.scanLine(y), d.at(0, y), static_cast<std::size_t>(d.width) * 3);
  }
  return picture;
}

}  // namespace

class PlotOptionsGroupTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void windowButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<double>("minX");
    QTest::addColumn<double>("maxX");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("rebuilds");
    QTest::newRow("1h") << "BitBtn1h" << 1.0 / 24 << 1.0 / 240 << "hh:mm:ss"
                        << "hh:mm:ss" << true;
    QTest::newRow("6h") << "BitBtn6h" << 0.25 << 1.0 / 24 << "hh:mm"
                        << "hh:mm" << false;
    QTest::newRow("12h") << "BitBtn_last12h" << 0.5 << 0.1 << "hh:mm"
                         << "hh:mm" << true;
    QTest::newRow("24h") << "BitBtn24h" << 1.0 << 0.2 << "dd/mm hh:mm"
                         << "dd/MM hh:mm" << true;
    QTest::newRow("3J") << "BitBtn3J" << 3.0 << 0.5 << "dd/mm hh"
                        << "dd/MM hh" << true;
    QTest::newRow("1s") << "BitBtn1s" << 7.0 << 1.0 << "dd/mm hh"
                        << "dd/MM hh" << true;
    QTest::newRow("1M") << "BitBtn1mois" << 30.0 << 1.0 << "dd/mm"
                        << "dd/MM" << true;
    QTest::newRow("6M") << "BitBtn6mois" << 180.0 << 5.0 << "dd/mm"
                        << "dd/MM" << true;
  }

  // Every time axis shows the window with the button's labels, the five sections hold it,
  // and the series are rebuilt at once except for "6h".
  void windowButtons() {
    QFETCH(QString, button);
    QFETCH(double, minX);
    QFETCH(double, maxX);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(bool, rebuilds);
    Fixture station(23);
    TMAINForm& w = station.open();
    test::StopPolls(w);
    const int before = Points(Chart(w, "ChartTemp"), "SeriesTemp");
    AddNewestRecord(w);

    const TDateTime from = Now();
    Click(w, button);
    const TDateTime to = Now();
    const TIniFile ini = Settings(station);
    for (const auto& [name, section] : kTimeCharts) {
      const QCustomPlot& chart = Chart(w, name);
      QVERIFY2(ShowsWindow(chart, from, to, minX, maxX), name);
      const auto ticker = chart.xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>();
      QCOMPARE(ticker->dateTimeFormat(), shown);
      QCOMPARE(ini.ReadFloat(section, "Xmin", -1), minX);
      QCOMPARE(ini.ReadFloat(section, "Xmax", -1), maxX);
      QCOMPARE(QString::fromStdString(ini.ReadString(section, "text", "")), stored);
    }
    QCOMPARE(Points(Chart(w, "ChartTemp"), "SeriesTemp"), before + (rebuilds ? 1 : 0));
  }

  void theLockedWindowFollowsEachPoll() {
    Fixture station(23);
    TMAINForm& w = station.open();
    test::StopPolls(w);
    Click(w, "BitBtn1h");
    QCustomPlot& chart = Chart(w, "ChartRH");
    chart.xAxis->setRange(0, 3600);  // the operator scrolled away

    Click(w, "CheckBoxLock_translate");
    w.PollDevice(true);
    QCOMPARE(chart.xAxis->range(), QCPRange(0, 3600));

    Click(w, "CheckBoxLock_translate");
    const TDateTime from = Now();
    w.PollDevice(true);
    QVERIFY(ShowsWindow(chart, from, Now(), 1.0 / 24, 1.0 / 240));
  }

  // Both axes of the temperature chart twice as wide, the others and the keys untouched; the
  // widened value range stays through the next poll.
  void zoomOutWidensTheTemperatureChartOnly() {
    Fixture station(23);
    TMAINForm& w = station.open();
    test::StopPolls(w);
    QCustomPlot& temp = Chart(w, "ChartTemp");
    const QCPRange time = temp.xAxis->range();
    const QCPRange value = temp.yAxis->range();
    const QCPRange humidity = Chart(w, "ChartRH").xAxis->range();
    const std::string keys = test::ReadFile(station.folder / "VeskLevel.ini");

    Click(w, "BitBtnZoomM");
    QCOMPARE(temp.xAxis->range(),
             QCPRange(time.lower - time.size() / 2, time.upper + time.size() / 2));
    const QCPRange widened(value.lower - value.size() / 2, value.upper + value.size() / 2);
    QCOMPARE(temp.yAxis->range(), widened);
    QCOMPARE(Chart(w, "ChartRH").xAxis->range(), humidity);
    QCOMPARE(test::ReadFile(station.folder / "VeskLevel.ini"), keys);

    w.PollDevice(true);
    QCOMPARE(temp.yAxis->range(), widened);
  }

  void forcedScales_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("minEdit");
    QTest::addColumn<QString>("maxEdit");
    QTest::addColumn<QString>("apply");
    QTest::addColumn<QString>("chart");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("maxReset");
    QTest::addColumn<QStringList>("good");
    QTest::newRow("temperature") << "CheckBoxForceY"
                                 << "EditMinY_V"
                                 << "EditMaxY_V"
                                 << "ButtonApplyYTemp"
                                 << "ChartTemp"
                                 << "Temp_scale"
                                 << "Y scale error : Minimum >= Maximum"
                                 << "50" << QStringList{"5", "35"};
    QTest::newRow("humidity") << "CheckBoxRHYScale"
                              << "NumberEditAmpsMin"
                              << "NumberEditAmpsMax"
                              << "ButtonApplyRHYscale"
                              << "ChartRH"
                              << "RH_scale"
                              << "Y Scale error : Minimum >= Maximum"
                              << "100" << QStringList{"1", "99"};
  }

  // 30 … 10 is refused with the message, the edits go back to their defaults, the keys
  // already hold 30 and 10 and the axis is untouched. A good pair fixes the axis through the
  // next poll; unchecking the box lets the axis follow its series and hides the bounds;
  // checking it again applies the bounds at once.
  void forcedScales() {
    QFETCH(QString, box);
    QFETCH(QString, minEdit);
    QFETCH(QString, maxEdit);
    QFETCH(QString, apply);
    QFETCH(QString, chart);
    QFETCH(QString, section);
    QFETCH(QString, message);
    QFETCH(QString, maxReset);
    QFETCH(QStringList, good);
    Fixture station(23);
    TMAINForm& w = station.open();
    test::StopPolls(w);
    auto& group = Find<QWidget>(w, "GroupBoxPlotOptions");
    auto& min = Find<TNumberEdit>(w, minEdit.toLatin1().constData());
    auto& max = Find<TNumberEdit>(w, maxEdit.toLatin1().constData());
    QCustomPlot& plot = Chart(w, chart.toLatin1().constData());
    const QCPRange start = plot.yAxis->range();
    const std::string s = section.toStdString();

    min.setText("30");
    max.setText("10");
    Click(w, apply);
    QCOMPARE(station.messages, QStringList{message});
    QCOMPARE(min.text(), QString("0"));
    QCOMPARE(max.text(), maxReset);
    QCOMPARE(Settings(station).ReadFloat(s, "Ymin", -1), 30.0);
    QCOMPARE(Settings(station).ReadFloat(s, "Ymax", -1), 10.0);
    QCOMPARE(plot.yAxis->range(), start);

    min.setText(good[0]);
    max.setText(good[1]);
    const QCPRange forced(good[0].toDouble(), good[1].toDouble());
    Click(w, apply);
    w.PollDevice(true);
    QCOMPARE(plot.yAxis->range(), forced);

    auto& force = Find<QCheckBox>(w, box.toLatin1().constData());
    Click(w, box);
    QVERIFY(!force.isChecked());
    QVERIFY(!min.isVisibleTo(&group));
    QVERIFY(!Find<QWidget>(w, apply.toLatin1().constData()).isVisibleTo(&group));
    w.PollDevice(true);
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    for (int g = 0; g < plot.graphCount(); ++g) {
      for (const QCPGraphData& p : *plot.graph(g)->data()) {
        lowest = std::min(lowest, p.value);
        highest = std::max(highest, p.value);
      }
    }
    if (lowest < highest) {
      QCOMPARE(plot.yAxis->range(), QCPRange(lowest, highest));
    } else {
      QVERIFY(plot.yAxis->range().contains(lowest));
    }

    Click(w, box);
    QVERIFY(min.isVisibleTo(&group));
    QCOMPARE(plot.yAxis->range(), forced);
    QCOMPARE(station.messages.size(), 1);
  }

  void boundsTheAxisRefuses_data() {
    QTest::addColumn<QString>("minEdit");
    QTest::addColumn<QString>("maxEdit");
    QTest::addColumn<QString>("apply");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<QString>("error");
    // The temperature axis takes its minimum first, the humidity axis its maximum.
    QTest::newRow("temperature minimum above the maximum")
        << "EditMinY_V"
        << "EditMaxY_V"
        << "ButtonApplyYTemp" << QStringList{"0", "50"} << QStringList{"55", "60"}
        << "The axis minimum 55 is above its current maximum 50";
    QTest::newRow("humidity maximum below the minimum")
        << "NumberEditAmpsMin"
        << "NumberEditAmpsMax"
        << "ButtonApplyRHYscale" << QStringList{"50", "100"} << QStringList{"10", "40"}
        << "The axis maximum 40 is below its current minimum 50";
  }

  // The chart component's refusal reaches the error box and leaves the axis as it was.
  void boundsTheAxisRefuses() {
    QFETCH(QString, minEdit);
    QFETCH(QString, maxEdit);
    QFETCH(QString, apply);
    QFETCH(QStringList, first);
    QFETCH(QStringList, refused);
    QFETCH(QString, error);
    Fixture station(23);
    TMAINForm& w = station.open();
    test::StopPolls(w);
    auto& min = Find<TNumberEdit>(w, minEdit.toLatin1().constData());
    auto& max = Find<TNumberEdit>(w, maxEdit.toLatin1().constData());
    const QCustomPlot& plot = Chart(w, apply == "ButtonApplyYTemp" ? "ChartTemp" : "ChartRH");
    min.setText(first[0]);
    max.setText(first[1]);
    Click(w, apply);
    const QCPRange before = plot.yAxis->range();
    min.setText(refused[0]);
    max.setText(refused[1]);
    Click(w, apply);
    QCOMPARE(station.messages, QStringList{error});
    QCOMPARE(plot.yAxis->range(), before);
  }

  // Checking the box applies the bounds; when the axis refuses them, the bound fields are
  // shown all the same, so the operator can mend them.
  void refusedBoundsStayEditable() {
    Fixture station(23);
    TMAINForm& w = station.open();
    test::StopPolls(w);
    auto& group = Find<QWidget>(w, "GroupBoxPlotOptions");
    Click(w, "CheckBoxForceY");  // the axis follows the temperatures, far below 59
    Find<TNumberEdit>(w, "EditMinY_V").setText("59");
    Find<TNumberEdit>(w, "EditMaxY_V").setText("60");
    Click(w, "CheckBoxForceY");
    QCOMPARE(station.messages.size(), 1);
    QVERIFY(station.messages[0].startsWith("The axis minimum 59 is above its current maximum"));
    QVERIFY(Find<QCheckBox>(w, "CheckBoxForceY").isChecked());
    QVERIFY(Find<QWidget>(w, "EditMinY_V").isVisibleTo(&group));
    QVERIFY(Find<QWidget>(w, "ButtonApplyYTemp").isVisibleTo(&group));
  }

  // "Save plots": the chart at its on-screen size with both captions, as a JPEG; the log
  // line names the file and the address, asked once per snapshot (off the window's thread)
  // for the caption and the log line alike; each button writes its own file.
  void savePlotsWritesCaptionedPictures() {
    test::LocalHttpServer echo(
        test::HttpResponse(200, "<html><body>Current IP Address: 203.0.113.7</body></html>"));
    Fixture station(23);
    AskAddressAt(station, echo.url());
    TMAINForm& w = station.open();
    test::StopPolls(w);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCustomPlot& chart = Chart(w, "ChartTemp");

    Click(w, "ButtonGraphSAV");
    const auto temp = station.folder / "Images" / "Temp.jpg";
    QTRY_VERIFY(std::filesystem::exists(temp));
    const test::Decoded d = test::DecodeJpeg(test::ReadFile(temp));
    QCOMPARE(QSize(d.width, d.height), chart.size());
    QCOMPARE(d.components, 3);
    const QImage picture = Picture(d);
    const QImage plain = chart.toPixmap(chart.width(), chart.height()).toImage();
    const QRect left(60, 6, 100, 10);
    const QRect right(chart.width() - 100, 6, 90, 10);
    QVERIFY(!DarkIn(plain, left) && !DarkIn(plain, right));
    QVERIFY(DarkIn(picture, left));
    QVERIFY(DarkIn(picture, right));
    QVERIFY(station.log().contains(
        QString::fromStdString("Saved \"" + temp.string() + "\" [IP=203.0.113.7]")));
    QCOMPARE(echo.requestLines().size(), std::size_t{1});  // caption and log line

    // The humidity chart's page is not shown: its picture has the size the chart has on its
    // page, as the temperature chart has on its own.
    const std::string tempBytes = test::ReadFile(temp);
    Click(w, "ButtonSavgraphAmps");
    QTRY_VERIFY(std::filesystem::exists(station.folder / "Images" / "RH.jpg"));
    QCOMPARE(echo.requestLines().size(), std::size_t{2});
    const test::Decoded rh = test::DecodeJpeg(test::ReadFile(station.folder / "Images" / "RH.jpg"));
    QCOMPARE(QSize(rh.width, rh.height), chart.size());
    QCOMPARE(test::ReadFile(temp), tempBytes);
    QVERIFY(station.messages.isEmpty());
    Find<QTabWidget>(w, "PageControl").setCurrentWidget(&Find<QWidget>(w, "TabSheetRH"));
    QCOMPARE(Chart(w, "ChartRH").size(), chart.size());
  }

  // A reader looking for a control's handler by its name finds it on the page that owns the
  // control (each calls the code its buttons share).
  void eachControlHasItsNamedHandler() {
    Fixture station(23);
    TMAINForm& w = station.open();
    const struct {
      const char* owner;
      std::vector<const char*> handlers;
    } pages[] = {
        {"GroupBoxPlotOptions",
         {"BitBtn1hClick()", "BitBtn6hClick()", "BitBtn_last12hClick()", "BitBtn24hClick()",
          "BitBtn3JClick()", "BitBtn1sClick()", "BitBtn1moisClick()", "BitBtn6moisClick()",
          "BitBtnZoomMClick()", "CheckBoxForceYClick()", "ButtonApplyYTempClick()",
          "CheckBoxRHYScaleClick()", "ButtonApplyRHYscaleClick()", "ButtonGraphSAVClick()",
          "ButtonSavgraphAmpsClick()"}},
        {"TabSheetWind",
         {"Button_1h_VentClick()", "Button_3h_VentClick()", "Button12hwindClick()",
          "ChartWindspeedMouseMove(QPoint)"}},
        {"TabSheetVolts", {"ChartTempMouseMove(QPoint)"}},
        {"TabSheetRH", {"ChartRHMouseMove(QPoint)"}},
        {"TabSheetWeatherModule", {"ChartPressMouseMove(QPoint)"}},
        {"TabSheetWindir", {"ChartWindDirMouseMove(QPoint)"}},
    };
    for (const auto& page : pages) {
      const QMetaObject* meta = Find<QWidget>(w, page.owner).metaObject();
      for (const char* handler : page.handlers) {
        QVERIFY2(meta->indexOfSlot(handler) >= 0,
                 qPrintable(QString("%1::%2").arg(page.owner, handler)));
      }
    }
    // The named handler is the button's: the 24-hour one sets the 24-hour window.
    QVERIFY(QMetaObject::invokeMethod(&Find<QWidget>(w, "GroupBoxPlotOptions"), "BitBtn24hClick"));
    QCOMPARE(Settings(station).ReadFloat("Temp_scale", "Xmin", 0), 1.0);
    QCOMPARE(Settings(station).ReadFloat("Temp_scale", "Xmax", 0), 0.2);
  }

  // The captions as text: before the first poll the left one is the placeholder of the
  // outside temperature, " : " and the date-time; the right one the address in "[IP=…]".
  // The file must be the very JPEG (quality 100) of the chart captioned with these texts.
  void captionTextsBeforeTheFirstPoll() {
    test::LocalHttpServer echo(
        test::HttpResponse(200, "<html><body>Current IP Address: 203.0.113.7</body></html>"));
    Fixture station(23);
    {
      std::ofstream ini(station.folder / "VeskLevel.ini");
      ini << "[Misc]\r\nAutostart=0\r\nIpEchoUrl=" << echo.url() << "\r\n";
    }
    TMAINForm& w = station.open();
    QVERIFY(!w.station().Connected());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCustomPlot& chart = Chart(w, "ChartTemp");

    const TDateTime before = Now();
    Click(w, "ButtonGraphSAV");
    QTRY_VERIFY(std::filesystem::exists(station.folder / "Images" / "Temp.jpg"));
    const TDateTime after = Now();
    const std::string saved = test::ReadFile(station.folder / "Images" / "Temp.jpg");
    QVERIFY(AtQuality100(saved));

    bool matched = false;
    for (const TDateTime at : {before, after}) {
      const QString left =
          QStringLiteral("??.? °C : ") + QString::fromLocal8Bit(DateTimeToText(at));
      const QImage expected = CaptionedChart(chart, left, QStringLiteral("[IP=203.0.113.7]"));
      const auto file = station.folder / "expected.jpg";
      WriteJpeg(file,
                TRgbImage{expected.constBits(), expected.width(), expected.height(),
                          static_cast<std::size_t>(expected.bytesPerLine())},
                100);
      matched = matched || test::ReadFile(file) == saved;
    }
    QVERIFY2(matched, "the picture is not the chart with these two captions");
  }

  // The upload's pair, in upload order, both with the address looked up for the upload.
  void postingImages() {
    Fixture station(23);
    TMAINForm& w = station.open();
    test::StopPolls(w);
    const auto images = station.folder / "Images";
    const std::vector<std::filesystem::path> files = w.SavePostingImages("198.51.100.4");
    QCOMPARE(files, (std::vector{images / "temp.jpg", images / "RH.jpg"}));
    for (const auto& file : files) {
      QVERIFY(test::DecodeJpeg(test::ReadFile(file)).width > 0);
      QVERIFY(AtQuality100(test::ReadFile(file)));
      QVERIFY(station.log().contains(
          QString::fromStdString("Saved \"" + file.string() + "\" [IP=198.51.100.4]")));
    }
  }

  // A missing images folder: the save fails with the file error after the log line.
  void aFailedSaveIsLoggedFirst() {
    Fixture station(23);
    AskAddressAt(station, test::ClosedPortUrl());
    TMAINForm& w = station.open();
    test::StopPolls(w);
    std::filesystem::remove_all(station.folder / "Images");
    Click(w, "ButtonGraphSAV");
    const std::string file = (station.folder / "Images" / "Temp.jpg").string();
    QTRY_COMPARE(station.messages,
                 QStringList{QString::fromStdString("Unable to write to " + file)});
    QVERIFY(station.log().contains(
        QString::fromStdString("Saved \"" + file + "\" [IP=<Pas d'internet (2s)>]")));
  }

  // With the box the "3J" window is covered whole; without it, the newest 3000 records. The
  // choice is kept in the settings and read at the next start.
  void showTheWholeWindow() {
    Fixture station(23);
    TMAINForm& w = station.open();
    test::StopPolls(w);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const TDateTime now = Now();
    w.station().Datas() = GenerateHistory(now - 4.0, 4 * 8640, 10.0);
    Click(w, "BitBtn3J");
    const QCustomPlot& chart = Chart(w, "ChartTemp");
    const auto firstShown = [&] { return FromChartKey(chart.graph(0)->data()->constBegin()->key); };
    QVERIFY(firstShown() > now - 3000 * 10.0 / 86400 - 0.001);

    Click(w, "CheckBoxWholeWindow");
    QVERIFY(firstShown() < test::TimeRange(chart).min);  // the line's way in
    QVERIFY(Points(chart, "SeriesTemp") <= 4 * (chart.axisRect()->width() + 2));
    QVERIFY(Settings(station).ReadBool("Misc", "WholeWindow", false));

    station.window.reset();
    QVERIFY(Find<QCheckBox>(station.open(), "CheckBoxWholeWindow").isChecked());
  }

  // Started with the box on and a history of days: the first rebuild is made before the
  // window was ever shown, with no columns laid out yet; once shown, the series are made for
  // the chart's columns without waiting for a poll.
  void wholeWindowFromTheStart() {
    Fixture station(23);
    {
      std::ofstream ini(station.folder / "VeskLevel.ini");
      ini << "[Misc]\r\nWholeWindow=1\r\nAutostart=0\r\n";
    }
    HistoryStore(station.folder.path())
        .SaveHistory(GenerateHistory(Now() - 2.0, 2 * 8640, 10.0), "DatasVesk.bin");
    TMAINForm& w = station.open();
    const QCustomPlot& chart = Chart(w, "ChartTemp");
    w.ShowPanel();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_VERIFY(Points(chart, "SeriesTemp") > chart.axisRect()->width());
    QVERIFY(Points(chart, "SeriesTemp") <= 4 * (chart.axisRect()->width() + 2));
  }
};

VESK_WINDOW_TEST_IN_VESK_APPLICATION(PlotOptionsGroupTest);

#include "plot_options_group_test.moc"
