#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>

namespace vesk {

// PanelCOM: connect button, automatic connection, port, and the two CSV buttons.
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

 Q_SIGNALS:
  void connectClicked();
  void exportDataClicked();
  void bin2CsvClicked();

 private:
  void SpinEditCOMPortChange(int value);

  int ComNumG_ = 3;
  QPushButton* ButtonConnect;
  QCheckBox* CheckBoxAutoStart;
  QLabel* LabelCom;
  QSpinBox* SpinEditCOMPort;
  QPushButton* ButtonBin2CSV;
  QPushButton* ButtonExportData;
};

}  // namespace vesk
