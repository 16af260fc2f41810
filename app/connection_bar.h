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

  QPushButton* ButtonConnect;
  QCheckBox* CheckBoxAutoStart;
  QLabel* LabelCom;
  QSpinBox* SpinEditCOMPort;
  QPushButton* ButtonBin2CSV;
  QPushButton* ButtonExportData;
};

}  // namespace vesk
