// The "Observatory" group: the Alpaca and MQTT settings shown, checked, stored in
// "VeskLevel.ini" and announced for the integrations to restart.
#include <sys/stat.h>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <fstream>

#include "settings/gui/observatory_group.h"
#include "settings/settings_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/window_test_main.h"

using namespace vesk;

namespace {

template <class T>
T& Child(const QObject& root, const char* name) {
  auto* found = root.findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) {
    qFatal("no child %s", name);
  }
  return *found;
}

void Type(const QObject& root, const char* name, const QString& text) {
  Child<QLineEdit>(root, name).setText(text);
}

void Apply(const QObject& root) {
  Child<QPushButton>(root, "ButtonApplyObservatory").click();
}

QString Status(const QObject& root) {
  return Child<QLabel>(root, "LabelObservatoryStatus").text();
}

}  // namespace

class ObservatoryGroupTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void showsTheFileWithThePasswordMasked() {
    test::TempFolder folder;
    std::ofstream(folder / "VeskLevel.ini")
        << "[Alpaca]\nEnabled=1\nPort=11112\nBind=0.0.0.0\nUnsafeHumidity=85.5\n"
           "[MQTT]\nHost=broker.local\nUser=vesk\nPass=s3cret\nTopic=obs/cam\n";
    ObservatoryGroup group(folder.path());
    QVERIFY(Child<QCheckBox>(group, "CheckBoxAlpaca").isChecked());
    QCOMPARE(Child<QLineEdit>(group, "EditAlpacaPort").text(), QStringLiteral("11112"));
    QCOMPARE(Child<QLineEdit>(group, "EditAlpacaBind").text(), QStringLiteral("0.0.0.0"));
    QCOMPARE(Child<QLineEdit>(group, "EditUnsafeHumidity").text(), QStringLiteral("85.5"));
    QCOMPARE(Child<QLineEdit>(group, "EditDewMargin").text(), QStringLiteral("2"));
    QVERIFY(!Child<QCheckBox>(group, "CheckBoxMqtt").isChecked());
    QCOMPARE(Child<QLineEdit>(group, "EditMqttHost").text(), QStringLiteral("broker.local"));
    const auto& pass = Child<QLineEdit>(group, "EditMqttPass");
    QCOMPARE(pass.text(), QStringLiteral("s3cret"));
    QCOMPARE(pass.echoMode(), QLineEdit::Password);
  }

  void storesTheValuesAndSaysWhatChanged() {
    test::TempFolder folder;
    ObservatoryGroup group(folder.path());
    QSignalSpy applied(&group, &ObservatoryGroup::applied);

    // MQTT alone first.
    Child<QCheckBox>(group, "CheckBoxMqtt").setChecked(true);
    Type(group, "EditMqttHost", QStringLiteral(" broker.local "));
    Type(group, "EditMqttPort", QStringLiteral("8883"));
    Type(group, "EditMqttUser", QStringLiteral("vesk"));
    Type(group, "EditMqttPass", QStringLiteral("pass word"));
    Type(group, "EditMqttTopic", QStringLiteral("obs/cam"));
    Apply(group);
    QCOMPARE(applied.count(), 1);
    const TMqttSettings mqtt{true, "broker.local", 8883, "vesk", "pass word", "obs/cam"};
    QCOMPARE(TSettingsFile(folder.path()).ReadMqtt(), mqtt);
    QCOMPARE(applied[0][1].value<TMqttSettings>(), mqtt);
    QCOMPARE(applied[0][2].toBool(), false);
    QCOMPARE(applied[0][3].toBool(), true);
    struct stat info {};
    QCOMPARE(::stat((folder / "VeskLevel.ini").c_str(), &info), 0);
    QCOMPARE(info.st_mode & 0777, 0600u);

    // Then Alpaca alone.
    Child<QCheckBox>(group, "CheckBoxAlpaca").setChecked(true);
    Type(group, "EditAlpacaPort", QStringLiteral("11112"));
    Type(group, "EditDewMargin", QStringLiteral("1.5"));
    Apply(group);
    QCOMPARE(applied.count(), 2);
    const TAlpacaSettings alpaca{true, 11112, "127.0.0.1", 90, 1.5};
    QCOMPARE(TSettingsFile(folder.path()).ReadAlpaca(), alpaca);
    QCOMPARE(applied[1][0].value<TAlpacaSettings>(), alpaca);
    QCOMPARE(applied[1][2].toBool(), true);
    QCOMPARE(applied[1][3].toBool(), false);

    // Nothing new: nothing announced.
    Apply(group);
    QCOMPARE(applied.count(), 2);
    QCOMPARE(Status(group), QStringLiteral("Nothing changed."));
  }

  void badValuesAreRefusedAndNothingIsStored_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("port text") << "EditAlpacaPort"
                               << "eleven"
                               << "Alpaca port must be a whole";
    QTest::newRow("port range") << "EditAlpacaPort"
                                << "70000"
                                << "port must be from 1 to 65535";
    QTest::newRow("host name to listen on") << "EditAlpacaBind"
                                            << "observatory.local"
                                            << "is not an IP address";
    QTest::newRow("humidity comma") << "EditUnsafeHumidity"
                                    << "85,5"
                                    << "with a point";
    QTest::newRow("humidity range") << "EditUnsafeHumidity"
                                    << "120"
                                    << "unsafe humidity";
    QTest::newRow("margin") << "EditDewMargin"
                            << "-1"
                            << "dew margin";
    QTest::newRow("broker") << "EditMqttHost"
                            << ""
                            << "needs a host";
    QTest::newRow("broker port") << "EditMqttPort"
                                 << "0"
                                 << "MQTT port must be from 1";
    QTest::newRow("topic") << "EditMqttTopic"
                           << "obs/#"
                           << "cannot hold + or #";
  }

  void badValuesAreRefusedAndNothingIsStored() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    test::TempFolder folder;
    const auto file = folder / "VeskLevel.ini";
    std::ofstream(file) << "[MQTT]\nEnabled=1\n";
    const std::string before = test::ReadFile(file);
    ObservatoryGroup group(folder.path());
    QSignalSpy applied(&group, &ObservatoryGroup::applied);
    Child<QCheckBox>(group, "CheckBoxAlpaca").setChecked(true);
    Type(group, field.toLatin1().constData(), text);
    Apply(group);
    QVERIFY2(Status(group).contains(message), qPrintable(Status(group)));
    QVERIFY(Status(group).endsWith(QStringLiteral("Nothing was stored.")));
    QCOMPARE(applied.count(), 0);
    QCOMPARE(test::ReadFile(file), before);
  }
};

VESK_WINDOW_TEST(ObservatoryGroupTest);
#include "observatory_group_test.moc"
