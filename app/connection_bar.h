#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <vector>

#include "link/serial_port_list.h"

namespace vesk {

// PanelCOM: connect button, automatic connection, port, the serial device in place of the
// port number, and the two CSV buttons.
class ConnectionBar : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHeight = 39;

  explicit ConnectionBar(QWidget* parent = nullptr);

  // Connected: "- DISCONNECT -" and the port locked; else "- CONNECT -" and the port free.
  void ShowConnected(bool connected);
  // The port to connect to.
  int ComNumG() const { return ComNumG_; }
  void SetComNum(int comNum);
  bool AutoStart() const;
  void SetAutoStart(bool on);

  // The device opened in place of the port number ("COM" "Device"); empty: the port number.
  QString Device() const { return device_; }
  // The settings file of folder: its "COM" "Device" is shown, and each choice stored there.
  void UseSettings(const std::filesystem::path& folder);
  // How the detected ports are found; the machine's by default (tests give their own).
  void SetPortLister(std::function<std::vector<SerialPortInfo>()> lister);
  // The list again: "port number", the detected ports, the chosen device. Done each time the
  // list opens.
  void RefreshPorts();

 Q_SIGNALS:
  void connectClicked();
  // The operator chose a device (empty: the port number again), already stored.
  void deviceChosen(const QString& device);
  void exportDataClicked();
  void bin2CsvClicked();

 private:
  void SpinEditCOMPortChange(int value);
  void ChooseDevice(const QString& device);
  void ShowDevice();

  int ComNumG_ = 3;
  QString device_;
  bool connected_ = false;
  std::filesystem::path settingsFolder_;
  std::function<std::vector<SerialPortInfo>()> listPorts_;
  QPushButton* ButtonConnect;
  QCheckBox* CheckBoxAutoStart;
  QLabel* LabelCom;
  QSpinBox* SpinEditCOMPort;
  QComboBox* ComboComDevice;
  QPushButton* ButtonBin2CSV;
  QPushButton* ButtonExportData;
};

}  // namespace vesk
