// The connection bar's list of serial devices: the detected ports, refreshed when the list
// opens, and the choice stored as "COM" "Device" in place of the port number.
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include <fstream>

#include "app/connection_bar.h"
#include "settings/settings_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/window_test_main.h"

using namespace vesk;

namespace {

QComboBox& List(const ConnectionBar& bar) {
  return *bar.findChild<QComboBox*>(QStringLiteral("ComboComDevice"));
}

QSpinBox& Port(const ConnectionBar& bar) {
  return *bar.findChild<QSpinBox*>(QStringLiteral("SpinEditCOMPort"));
}

QStringList Entries(const QComboBox& list, int role) {
  QStringList entries;
  for (int i = 0; i < list.count(); ++i) {
    entries << list.itemData(i, role).toString();
  }
  return entries;
}

SerialPortInfo Adapter() {
  SerialPortInfo port;
  port.device = "/dev/ttyUSB0";
  port.byId = {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"};
  port.usbVendorId = "0403";
  port.product = "FT232R USB UART";
  return port;
}

SerialPortInfo Uart() {
  SerialPortInfo port;
  port.device = "/dev/ttyS0";
  return port;
}

}  // namespace

class ConnectionBarTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void listsTheDetectedPortsByTheirStableNames() {
    test::TempFolder folder;
    ConnectionBar bar;
    std::vector<SerialPortInfo> ports{Uart()};
    bar.SetPortLister([&ports] { return ports; });
    bar.UseSettings(folder.path());
    auto& list = List(bar);
    QCOMPARE(Entries(list, Qt::DisplayRole), (QStringList{"port number", "ttyS0"}));
    QCOMPARE(bar.Device(), QString());
    QVERIFY(Port(bar).isEnabled());

    // An adapter plugged in meanwhile shows up when the list opens.
    ports.insert(ports.begin(), Adapter());
    list.showPopup();
    list.hidePopup();
    QCOMPARE(Entries(list, Qt::DisplayRole),
             (QStringList{"port number", "ttyUSB0  FT232R USB UART", "ttyS0"}));
    QCOMPARE(Entries(list, Qt::UserRole),
             (QStringList{"", QString::fromStdString(Adapter().byId.front()), "/dev/ttyS0"}));
  }

  void theChoiceIsStoredInPlaceOfThePortNumber() {
    test::TempFolder folder;
    ConnectionBar bar;
    bar.SetPortLister([] { return std::vector<SerialPortInfo>{Adapter(), Uart()}; });
    bar.UseSettings(folder.path());
    QSignalSpy chosen(&bar, &ConnectionBar::deviceChosen);
    auto& list = List(bar);

    Q_EMIT list.activated(1);
    const QString byId = QString::fromStdString(Adapter().byId.front());
    QCOMPARE(bar.Device(), byId);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen[0][0].toString(), byId);
    QCOMPARE(TSettingsFile(folder.path()).ReadComDevice(), byId.toStdString());
    QVERIFY(!Port(bar).isEnabled());

    // Any path, typed: a simulated board's pseudo-terminal.
    list.lineEdit()->setText(QStringLiteral("/dev/pts/7"));
    QTest::keyClick(list.lineEdit(), Qt::Key_Return);
    QCOMPARE(bar.Device(), QStringLiteral("/dev/pts/7"));
    QCOMPARE(TSettingsFile(folder.path()).ReadComDevice(), "/dev/pts/7");
    QCOMPARE(list.currentText(), QStringLiteral("/dev/pts/7"));

    // Back to the port number.
    Q_EMIT list.activated(0);
    QCOMPARE(bar.Device(), QString());
    QCOMPARE(TSettingsFile(folder.path()).ReadComDevice(), "");
    QVERIFY(Port(bar).isEnabled());
    QCOMPARE(chosen.count(), 3);
  }

  void aStoredDeviceIsShownAndLockedWhileConnected() {
    test::TempFolder folder;
    TSettingsFile(folder.path()).WriteComDevice("/dev/ttyACM3");
    ConnectionBar bar;
    bar.SetPortLister([] { return std::vector<SerialPortInfo>{Uart()}; });
    bar.UseSettings(folder.path());
    QCOMPARE(bar.Device(), QStringLiteral("/dev/ttyACM3"));
    QCOMPARE(List(bar).currentText(), QStringLiteral("/dev/ttyACM3"));
    QVERIFY(!Port(bar).isEnabled());
    bar.ShowConnected(true);
    QVERIFY(!List(bar).isEnabled());
    bar.ShowConnected(false);
    QVERIFY(List(bar).isEnabled());
  }
};

VESK_WINDOW_TEST(ConnectionBarTest);
#include "connection_bar_test.moc"
