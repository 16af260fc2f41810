// The pages of the main window, built alone: every named control with its caption, hint,
// initial text and range, the numeric fields with their kind and range, and a look at each
// page at the size it gets in the main window.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>
#include <map>
#include <memory>

#include "device/gui/cooling_page.h"
#include "device/gui/setup_page.h"
#include "lens/gui/lens_advanced_page.h"
#include "lens/gui/lens_basic_page.h"
#include "plots/gui/chart_page.h"
#include "plots/gui/custom_plot.h"
#include "plots/gui/plot_options_group.h"
#include "plots/gui/wind_speed_page.h"
#include "posting/gui/posting_page.h"
#include "station/station.h"
#include "tests/support/window_test_main.h"
#include "weather/gui/weather_debug_page.h"
#include "widgets/gui/number_edit.h"

using vesk::TNumberEdit;
using Kind = TNumberEdit::TTypeValue;

namespace {

struct PageMaker {
  QString caption;  // tab caption; empty for the plot options group, which is not a page
  QSize place;      // the room the main window gives it
  std::function<QWidget*()> make;
  std::function<QString(QWidget*)> captionOf;
};

const QSize kPagePlace(950, 420);

template <class Page, class... Args>
PageMaker Maker(const QString& caption, QSize place, Args... args) {
  return {caption, place, [=] { return new Page(args...); },
          [](QWidget* page) { return static_cast<Page*>(page)->caption(); }};
}

// The pages that send orders need a station; none is connected here.
vesk::Station& PageStation() {
  static vesk::Station station(std::filesystem::temp_directory_path(),
                               [](std::function<void()> call) { call(); });
  return station;
}

QWidget* SetupPageWithLog() {
  auto* log = new QPlainTextEdit;
  log->setObjectName("RichEdit");
  return new vesk::SetupPage(PageStation(), log);
}

// Keyed by the object name each page gives itself.
const std::map<QString, PageMaker>& Makers() {
  using vesk::ChartKind;
  using vesk::ChartPage;
  static const std::map<QString, PageMaker> makers = {
      {"TabSheetVolts", Maker<ChartPage>("Temperatures", kPagePlace, ChartKind::Temperatures)},
      {"TabSheetRH",
       Maker<ChartPage>("Relative humidity", kPagePlace, ChartKind::RelativeHumidity)},
      {"TabSheetConfig",
       {"Setup/config.", kPagePlace, SetupPageWithLog,
        [](QWidget*) { return vesk::SetupPage::caption(); }}},
      {"TabSheetFTP", Maker<vesk::PostingPage>("Plot posting", kPagePlace)},
      {"TabSheetCCDCool",
       {"Sensor cooling", kPagePlace, [] { return new vesk::CoolingPage(PageStation()); },
        [](QWidget*) { return vesk::CoolingPage::caption(); }}},
      {"TabSheetIrisFocus", Maker<vesk::LensBasicPage>("BRISA IRIS / FOCUS Control", kPagePlace,
                                                       std::ref(PageStation()))},
      {"TabSheetWeatherModule", Maker<ChartPage>("Pressure", kPagePlace, ChartKind::Pressure)},
      {"TabSheetWind", Maker<vesk::WindSpeedPage>("Wind speed", kPagePlace)},
      {"TabSheetWindir", Maker<ChartPage>("Wind data", kPagePlace, ChartKind::WindData)},
      {"TabSheetDebugWeatherExt",
       Maker<vesk::WeatherDebugPage>("Debug and Test Astel WEATHER", kPagePlace,
                                     std::ref(PageStation()))},
      {"TabSheetIrisFocusAdv", Maker<vesk::LensAdvancedPage>("IRIS / FOCUS CANON control",
                                                             kPagePlace, std::ref(PageStation()))},
      // The right half of the 270-high setup panel, less two lines of secondary readings.
      {"GroupBoxPlotOptions",
       {"", QSize(540, 230), [] { return new vesk::PlotOptionsGroup; }, nullptr}},
  };
  return makers;
}

}  // namespace

class PagesTest : public QObject {
  Q_OBJECT

 private:
  std::map<QString, std::unique_ptr<QWidget>> pages_;

  QWidget* control(const QString& page, const QString& name) {
    QWidget* owner = pages_.at(page).get();
    return owner->objectName() == name ? owner : owner->findChild<QWidget*>(name);
  }

  // The page that holds a control, whichever it is.
  QWidget* anywhere(const QString& name) {
    for (auto& [page, widget] : pages_) {
      if (auto* found = widget->findChild<QWidget*>(name)) {
        return found;
      }
    }
    return nullptr;
  }

  static void addRow(const char* page, const char* name, const char* property,
                     const QVariant& expected) {
    QTest::newRow(QByteArray(name) + "." + property)
        << QString(page) << QString(name) << QByteArray(property) << expected;
  }

 private Q_SLOTS:
  void initTestCase() {
    // The main window's font: 8-point sans-serif.
    QFont font(QStringLiteral("Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    QApplication::setFont(font);
    for (const auto& [name, maker] : Makers()) {
      pages_[name].reset(maker.make());
    }
  }

  void pagesCarryTheirNamesAndCaptions() {
    for (const auto& [name, maker] : Makers()) {
      QWidget* page = pages_.at(name).get();
      QCOMPARE(page->objectName(), name);
      if (maker.captionOf) {
        QCOMPARE(maker.captionOf(page), maker.caption);
      }
    }
  }

  void controls_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("expected");

    const char* p = "GroupBoxPlotOptions";
    addRow(p, "GroupBoxPlotOptions", "title", "Plots");
    addRow(p, "CheckBoxLock_translate", "text",
           "Lock X axis (plot will translate when new data comes)");
    addRow(p, "CheckBoxLock_translate", "checked", true);
    const char* windowButtons[][3] = {
        {"BitBtnZoomM", "-", "Réduit de 50% (X et Y) le graphique"},
        {"BitBtn1h", "1h", "Montrer la derniere heure"},
        {"BitBtn6h", "6h", "Montrer les dernieres 6h"},
        {"BitBtn_last12h", "12h", "Montrer les dernieres 12h"},
        {"BitBtn24h", "24h", "Montrer les dernieres 24h"},
        {"BitBtn3J", "3J", "Montrer les derniers 3 jours"},
        {"BitBtn1s", "1s", "Montrer la derniere semaine"},
        {"BitBtn1mois", "1M", "Montrer le dernier mois"},
        {"BitBtn6mois", "6M", "Montrer les derniers 6 mois"},
    };
    for (const auto& [name, text, hint] : windowButtons) {
      addRow(p, name, "text", QString::fromUtf8(text));
      addRow(p, name, "toolTip", QString::fromUtf8(hint));
    }
    addRow(p, "GroupBoxTempScale", "title", "Temperature plot settings");
    addRow(p, "CheckBoxForceY", "text", "Force Y scale to this  interval ->");
    addRow(p, "CheckBoxForceY", "toolTip", "Sinon c'est sur le mode auto");
    addRow(p, "Label1", "text", "Y Min (°C)");
    addRow(p, "Label2", "text", "Y Max (°C)");
    addRow(p, "ButtonApplyYTemp", "text", "Apply");
    addRow(p, "ButtonGraphSAV", "text", "Save plots");
    addRow(p, "GroupBoxRHScale", "title", "Relative humidity settings");
    addRow(p, "CheckBoxRHYScale", "text", "Force Y scale to this interval ->");
    addRow(p, "CheckBoxRHYScale", "toolTip", "Sinon c'est sur le mode auto");
    addRow(p, "Label13", "text", "Y Min (%RH)");
    addRow(p, "Label14", "text", "Y Max  (%RH)");
    addRow(p, "ButtonApplyRHYscale", "text", "Apply");
    addRow(p, "ButtonSavgraphAmps", "text", "Save plots");

    p = "TabSheetWind";
    addRow(p, "Button_1h_Vent", "text", "1h");
    addRow(p, "Button5", "text", "3h");
    addRow(p, "Button12hwind", "text", "12h");
    addRow(p, "CheckBoxGainWindCorrection", "text", "Set temperature correction");
    addRow(p, "CheckBoxGainWindCorrection", "checked", false);
    addRow(p, "LabelGainWindUnit", "text", "km/h  / °C wrt 20°C");

    p = "TabSheetConfig";
    addRow(p, "LabelLog", "text", "Log");
    addRow(p, "GroupBoxHeatThresholds", "title", "Dome heating thresholds");
    addRow(p, "LabelNewVal", "text", "New val.");
    addRow(p, "LabelCurrent", "text", "Current");
    addRow(p, "LabelTempSeuilCaption", "text", "Temperature threshold (°C)");
    addRow(p, "LabelRHSeuilCaption", "text", "Humidity threshold (%RH)");
    addRow(p, "LabelPowerCaption", "text", "Power Max (%)");
    for (const char* current : {"Label_TempSeuil", "Label_RHSeuil", "Label_PowerMax"}) {
      addRow(p, current, "text", "?");
      addRow(p, current, "readOnly", true);
    }
    addRow(p, "ButtonUpdateSetup", "text", "Update into device");
    addRow(p, "GroupBoxActions", "title", "Actions");
    addRow(p, "CheckBoxAutoHeat", "text", "Auto dome heating");
    addRow(p, "CheckBoxForceheat", "text", "Force dome heating");
    addRow(p, "CheckBoxFastSpeed", "text", "Pool system each second instead of 30s");
    addRow(p, "CheckBoxFastSpeed", "checked", false);
    addRow(p, "CheckBoxFailureSound", "text", "Play sound if COM failed");
    addRow(p, "CheckBoxFailureSound", "checked", false);
    addRow(p, "GroupBoxRHSetup", "title", "External relative humidity setup");
    addRow(p, "LabelGainRH", "text", "Gain (ADU/65535)");
    addRow(p, "LabelOffsetRH", "text", "Offset (ADU/65535)");
    addRow(p, "ButtonAPPLY_T_RH_consts", "text", "Apply");
    addRow(p, "GroupBoxV3", "title", "Version 3 firmware");
    addRow(p, "LabelSNR", "text", "Serial number");
    addRow(p, "EditSNR", "text", "127xxx");
    addRow(p, "LabelTypeCamera", "text", "Camera Type");
    addRow(p, "ComboBoxTypeCamera", "currentIndex", -1);
    addRow(p, "ButtonUpdateSNR", "text", "Update into device");
    addRow(p, "ButtonUpdateDeviceType", "text", "Update into device");
    addRow(p, "ButtonBootLoaderMode", "text", "Mode BootLoaoder");

    p = "TabSheetCCDCool";
    addRow(p, "GroupBoxCoolDirect", "title", "Mode d'opération");
    addRow(p, "GroupBoxCoolDirect", "hidden", true);
    addRow(p, "CheckBoxCOOLINGManual", "text", "Activer le refoidissement MANUEL");
    addRow(p, "CheckBoxAutoCool", "text", "Activer le refoidissement AUTOMATIQUE");
    addRow(p, "LabelTempHOT", "text", "??.? °C");
    addRow(p, "LabelRH_int", "text", "??.? %");
    addRow(p, "LabelSayJour", "text", "Day :");
    addRow(p, "LabelSayCooling", "text", "Cooling :");
    addRow(p, "LabelSayFan", "text", "Fan :");
    for (const char* value :
         {"LabelJour", "LabelCoolingEnabled", "LabelFanEnabled", "LabelSpeedfan",
          "StaticTextModeCooling", "StaticTextCoolingState", "StaticTextStartCauseCool",
          "StaticTextStopDay", "StaticTextStopHot", "StaticTextTooWet"}) {
      addRow(p, value, "hidden", false);
    }
    addRow(p, "LabelSayModeCooling", "text", "Mode ");
    addRow(p, "LabelSayCoolingState", "text", "Etat refroidissement ");
    addRow(p, "LabelSayStartCauseCool", "text", "Dernier marche/arrêt ");
    addRow(p, "LabelSayStopCause", "text", "Arrêt du à ");
    addRow(p, "LabelSayStopDay", "text", "Jour");
    addRow(p, "LabelSayStopHot", "text", "Chaleur");
    addRow(p, "LabelSayTooWet", "text", "Humidité");

    p = "TabSheetIrisFocus";
    addRow(p, "LabelFirmwareAllowed", "text", "Firmware allowed starting from v2.18 .. v2.19 max");
    addRow(p, "LabelSayEF_Presence", "text", "Is CANON EF ? :");
    addRow(p, "LabelSayID_Obj", "text", "Lens information :");
    addRow(p, "LabelSayCanonApertureMinMax", "text", "Min Max aperture  :");
    addRow(p, "Label_NONE_IRIS", "text", "NO IRIS DETECTED !");
    addRow(p, "GroupBox_IRIS_Canon", "title", "IRIS");
    addRow(p, "CheckBoxCloseIris", "text", "Close Iris");
    addRow(p, "LabelStepDiaph", "text", "Encoders steps");
    addRow(p, "SpinEditStepDiaph", "minimum", 0);
    addRow(p, "SpinEditStepDiaph", "maximum", 255);
    addRow(p, "SpinEditStepDiaph", "value", 0);
    addRow(p, "LabelRetIris", "text", "Feedback ?");
    const char* apertures[][2] = {{"RadioButton_f2_8", "f2.8"},
                                  {"RadioButton_f5_6", "f5.6"},
                                  {"RadioButton_f8", "f8"},
                                  {"RadioButton_f11", "f11"},
                                  {"RadioButton_f16", "f16"}};
    for (const auto& [name, text] : apertures) {
      addRow(p, name, "text", text);
      addRow(p, name, "checked", false);
    }
    addRow(p, "GroupBoxFOC_CANON", "title", "FOCUSER");
    addRow(p, "ButtonFocus", "text", "Focus Max");
    addRow(p, "ButtonFocus", "tag", 1);
    addRow(p, "ButtonFocusMin", "text", "Focus Min");
    addRow(p, "ButtonFocusMin", "tag", 2);
    addRow(p, "Button3", "text", "Focus Offset");
    addRow(p, "Button3", "tag", 3);
    addRow(p, "EditFocusOffset", "text", "0");

    p = "TabSheetIrisFocusAdv";
    addRow(p, "LabelFirmwareAllowedv220", "text", "Allowed firmware version >= v2.20");
    addRow(p, "LabelSayPresAF2", "text", "CANON EF is there :");
    addRow(p, "LabelFrame80", "text", "0x80 FRAME ORDER");
    addRow(p, "StringGridAF80", "columnCount", 9);
    addRow(p, "StringGridAF80", "rowCount", 2);
    addRow(p, "GroupBoxRepAF", "title", "AF answers");
    addRow(p, "LabelFrameB0", "text", "0xB0 FRAME ORDER -> gets min and max allowed apertures ");
    addRow(p, "StringGridEF_Iris", "columnCount", 3);
    addRow(p, "StringGridEF_Iris", "rowCount", 2);
    addRow(p, "LabelSayLensName", "text", "Lens Name : ");
    addRow(p, "LabelSayLensID", "text", "Lens ID : ");
    addRow(p, "LabelSayAFmax", "text", "Iris Max :");
    addRow(p, "LabelSayAFmin", "text", "Iris Min :");
    addRow(p, "LabelSayFocale", "text", "Lens Focal (mm) : ");
    addRow(p, "LabelSayd1", "text", "Distance d1: ");
    addRow(p, "LabelSayd2", "text", "Distance d2 : ");
    addRow(p, "LabelAperture", "text", "F/ ratio");
    addRow(p, "ComboBoxAperture", "currentText", "????");
    addRow(p, "ComboBoxAperture", "count", 0);
    addRow(p, "ComboBoxAperture", "enabled", true);
    addRow(p, "GroupBoxFOC_CANONv220", "title", "FOCUSER");
    const char* focusButtons[][2] = {{"Button2", "Focus Max"},
                                     {"Button4", "Focus Min"},
                                     {"Button6", "Focus Offset (rel.)"},
                                     {"Button7", "Focus Offset (abs.)"}};
    for (const auto& [name, text] : focusButtons) {
      addRow(p, name, "text", text);
    }
    addRow(p, "Button2", "tag", 1);
    addRow(p, "Button4", "tag", 2);
    addRow(p, "Button6", "tag", 789);
    addRow(p, "Button7", "tag", 791);
    addRow(p, "EditFocusOffsetv220", "text", "0");
    addRow(p, "EditAbsFocus", "text", "0");

    p = "TabSheetDebugWeatherExt";
    addRow(p, "ButtonExtDatas", "text", "Get Data");
    addRow(p, "LabelSayADCStatus", "text", "ADC Status :  ");
    addRow(p, "LabelADCStatus", "text", "???");
    const char* weatherRows[][4] = {
        {"LabelRowPressure", " Pressure Sensor", "StaticTextBin_Pressure",
         "StaticTextTrueValuePressure"},
        {"LabelRowADCTest", " 2.5V ADC tests", "StaticTextBinADCTest", "StaticTextADCTestval"},
        {"LabelRowADCTemp", " ADC temperature", "StaticTextBinADCTemp", "StaticTextAdcTempVal"},
        {"LabelRowTempExt", " External Temperature", "StaticTextBinTempExt",
         "StaticTextTempExtVal"},
        {"LabelRowRH", " External RH", "StaticTextBinRH", "StaticTextRHExtVal"},
        {"LabelRowWindSpeed", " Wind Speed", "StaticTextWindSpeedBin",
         "StaticTextWindSpeedTrueValue"},
        {"LabelRowWinDir", " Wind Direction", "StaticTextWinDirBin", "StaticTextWindirTrueVal"},
        {"LabelRowTempSeuil", " Temp. Thr. Comp.", "StaticTextBinTempSeuil",
         "StaticTextTrueValTempSeuil"},
        {"LabelRowRHSeuil", " RH. Thr. Comp.", "StaticTextBinRHSeuil", "StaticTextTrueRHSeuil"},
    };
    for (const auto& [caption, text, raw, value] : weatherRows) {
      addRow(p, caption, "text", text);
      addRow(p, raw, "text", " ");
      addRow(p, value, "text", " ");
    }

    p = "TabSheetFTP";
    addRow(p, "GroupBoxUserAccount", "title", "User account");
    addRow(p, "LabelEditIP", "text", " Host or IP address");
    addRow(p, "LabelEditlogin", "text", " User/login");
    addRow(p, "LabelEditpass", "text", " Password");
    addRow(p, "Editpass", "echoMode", "Password");
    addRow(p, "LabelEditrepremote", "text", " Remote folder");
    addRow(p, "EditIP", "text", "");
    addRow(p, "CheckBoxFTp_Passive", "text", "Passive FTP");
    addRow(p, "CheckBoxFTP_TLS", "text", "Use TLS (FTPS)");
    addRow(p, "CheckBoxFTP_Scheduled", "text", "Upload every interval");
    addRow(p, "LabelFTPUpdate", "text", "Update interval (Minutes)");
    addRow(p, "ButtonApplyFTP", "text", "Apply");
    addRow(p, "Button1", "text", "Force FTP upload");
    addRow(p, "Button1", "toolTip", "Forcer la MAJ FTP");
  }

  void controls() {
    QFETCH(QString, page);
    QFETCH(QString, name);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, expected);
    QWidget* found = control(page, name);
    QVERIFY2(found, qPrintable(name + " is missing"));
    const QVariant actual =
        property == "hidden" ? QVariant(found->isHidden()) : found->property(property);
    QVERIFY2(actual.isValid(), property.constData());
    QCOMPARE(actual.toString(), expected.toString());  // texts, flags and numbers alike
  }

  void numberEdits_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<double>("minValue");
    QTest::addColumn<double>("maxValue");
    QTest::addColumn<QString>("text");
    QTest::newRow("EditMinY_V") << "EditMinY_V" << Kind::Float << -60.0 << 60.0 << "11";
    QTest::newRow("EditMaxY_V") << "EditMaxY_V" << Kind::Float << -60.0 << 60.0 << "25";
    QTest::newRow("NumberEditAmpsMin") << "NumberEditAmpsMin" << Kind::Float << 0.0 << 100.0 << "0";
    QTest::newRow("NumberEditAmpsMax")
        << "NumberEditAmpsMax" << Kind::Float << -150.0 << 150.0 << "100";
    QTest::newRow("NumberEditTemp_Seuil")
        << "NumberEditTemp_Seuil" << Kind::Float << -100.0 << 100.0 << "0";
    QTest::newRow("NumberEditRH_seuil")
        << "NumberEditRH_seuil" << Kind::Float << 0.0 << 100.0 << "0";
    QTest::newRow("NumberEditPower_Level")
        << "NumberEditPower_Level" << Kind::Int << 1.0 << 100.0 << "0";
    QTest::newRow("NumberEditGainRH") << "NumberEditGainRH" << Kind::Float << 0.0 << 200.0 << "0";
    QTest::newRow("NumberEditOffsetRH")
        << "NumberEditOffsetRH" << Kind::Float << 0.0 << 100.0 << "0";
    QTest::newRow("NumberEditFTPUpdate")
        << "NumberEditFTPUpdate" << Kind::Float << 1.0 << 1000.0 << "5";
    QTest::newRow("NumberEditGainWindTemp")
        << "NumberEditGainWindTemp" << Kind::Float << -150.0 << 150.0 << "-0.1663";
  }

  void numberEdits() {
    QFETCH(QString, name);
    QFETCH(Kind, kind);
    QFETCH(double, minValue);
    QFETCH(double, maxValue);
    QFETCH(QString, text);
    auto* edit = qobject_cast<TNumberEdit*>(anywhere(name));
    QVERIFY2(edit, qPrintable(name + " is missing or not a TNumberEdit"));
    QCOMPARE(edit->TypeValue(), kind);
    QCOMPARE(edit->MinValue(), minValue);
    QCOMPARE(edit->MaxValue(), maxValue);
    QCOMPARE(edit->text(), text);
  }

  void numberEditWithoutRangeIsAWholeNumberField() {
    TNumberEdit edit;
    QCOMPARE(edit.TypeValue(), Kind::Int);
    QCOMPARE(edit.MinValue(), 0.0);
    QCOMPARE(edit.MaxValue(), 0.0);
    QVERIFY(edit.text().isEmpty());
  }

  // The board receives the code of the entry, and the list is not in code order.
  void cameraTypesCarryTheirCodes() {
    auto* types = qobject_cast<QComboBox*>(control("TabSheetConfig", "ComboBoxTypeCamera"));
    QVERIFY(types);
    const std::pair<QString, int> expected[] = {
        {"Camera Corvo", 16},
        {"Camera Astel 3/6 + Wind module", 19},
        {"Camera Astel 3/6", 20},
        {"Camera Astel 5", 23},
        {"Camera Astel 5 + Wind module", 24},
        {"Camera BRISA 2", 25},
        {"Camera BRISA 3", 33},
        {"Camera Astel 9", 32},
        {"Camera Astel 9 + Wind Module", 34},
        {"Camera Corvo Sud", 35},
        {"Camera Astel 4", 36},
        {"Camera Astel 4 + Wind Module", 37},
    };
    QCOMPARE(types->count(), int(std::size(expected)));
    for (int i = 0; i < types->count(); ++i) {
      QCOMPARE(types->itemText(i), expected[i].first);
      QCOMPARE(types->itemData(i).toInt(), expected[i].second);
    }
  }

  // The secondary readings go at the top of the group.
  void plotOptionsLeaveRoomForTheReadings() {
    auto* group = qobject_cast<vesk::PlotOptionsGroup*>(pages_.at("GroupBoxPlotOptions").get());
    QVERIFY(group);
    auto* area = group->findChild<QWidget*>("readingsArea");
    QVERIFY(area);
    QCOMPARE(area->parentWidget(), group);
    QVERIFY(!area->layout());
    QCOMPARE(group->layout()->indexOf(area), 0);
    auto* readings = new QLabel(QStringLiteral("readings"));
    group->PlaceReadings(readings);
    QCOMPARE(readings->parentWidget(), area);
    QCOMPARE(area->layout()->indexOf(readings), 0);
  }

  void setupPageShowsTheLogViewItIsGiven() {
    QWidget* page = pages_.at("TabSheetConfig").get();
    auto* log = page->findChild<QPlainTextEdit*>("RichEdit");
    QVERIFY(log);
    QCOMPARE(log->parentWidget(), page);
  }

  void charts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("leftTitle");
    QTest::addColumn<double>("minY");
    QTest::addColumn<double>("maxY");
    QTest::addColumn<int>("series");
    QTest::newRow("ChartTemp") << "ChartTemp"
                               << "Temperature (°C)"
                               << "Temperature (°C)" << 0.0 << 50.0 << 5;
    QTest::newRow("ChartRH") << "ChartRH"
                             << "Relative Humidity"
                             << "RH (%)" << 0.0 << 100.0 << 2;
    QTest::newRow("ChartPress") << "ChartPress"
                                << "Pressure (hPA)"
                                << "Pression (hPA)" << 1000.0 << 1030.0 << 1;
    QTest::newRow("ChartWindspeed") << "ChartWindspeed"
                                    << "Wind speed (km/h)"
                                    << "Vitesse vent (km/h)" << 0.0 << 50.0 << 1;
    QTest::newRow("ChartWindDir") << "ChartWindDir"
                                  << "Wind direction - Azimuth (°)"
                                  << "Direction du vent" << 0.0 << 360.0 << 1;
  }

  void charts() {
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, leftTitle);
    QFETCH(double, minY);
    QFETCH(double, maxY);
    QFETCH(int, series);
    auto* chart = qobject_cast<QCustomPlot*>(anywhere(name));
    QVERIFY2(chart, qPrintable(name + " is missing"));
    auto* heading = qobject_cast<QCPTextElement*>(chart->plotLayout()->element(0, 0));
    QVERIFY(heading);
    QCOMPARE(heading->text(), title);
    QVERIFY(heading->font().bold());
    QCOMPARE(chart->yAxis->label(), leftTitle);
    QCOMPARE(chart->yAxis->range().lower, minY);
    QCOMPARE(chart->yAxis->range().upper, maxY);
    QCOMPARE(chart->xAxis->label(), QString("Time"));
    auto ticker = chart->xAxis->ticker().dynamicCast<QCPAxisTickerDateTime>();
    QVERIFY(ticker);
    QCOMPARE(ticker->dateTimeFormat(), QString("hh:mm"));
    QCOMPARE(chart->xAxis->tickLabelRotation(), -90.0);
    QVERIFY(!chart->legend->visible());
    QCOMPARE(chart->graphCount(), series);
    for (int i = 0; i < series; ++i) {
      QCOMPARE(chart->graph(i)->dataCount(), 0);
    }
  }

  // Each page must fit the room the main window gives it. With VESK_PAGE_SHOTS set to a
  // folder, a picture of each page lands there for review.
  void pagesFitTheirPlace() {
    const QString shots = qEnvironmentVariable("VESK_PAGE_SHOTS");
    QStringList tooLarge;
    for (const auto& [name, maker] : Makers()) {
      QWidget* page = pages_.at(name).get();
      page->resize(maker.place);
      page->show();
      const QPixmap picture = page->grab();
      page->hide();
      QVERIFY(!picture.isNull());
      if (!shots.isEmpty()) {
        QVERIFY(picture.save(QDir(shots).filePath(name + ".png")));
      }
      const QSize needed = page->minimumSizeHint();
      if (needed.width() > maker.place.width() || needed.height() > maker.place.height()) {
        tooLarge << QString("%1 needs %2x%3").arg(name).arg(needed.width()).arg(needed.height());
      }
    }
    QVERIFY2(tooLarge.isEmpty(), qPrintable(tooLarge.join("; ")));
  }
};

VESK_WINDOW_TEST(PagesTest);
#include "pages_test.moc"
