#include "app/connection_bar.h"

#include <QHBoxLayout>

namespace vesk {

ConnectionBar::ConnectionBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PanelCOM"));
  setFixedHeight(kHeight);

  ButtonConnect = new QPushButton(QStringLiteral("- CONNECT -"), this);
  ButtonConnect->setObjectName(QStringLiteral("ButtonConnect"));
  ButtonConnect->setMinimumWidth(130);
  CheckBoxAutoStart = new QCheckBox(this);
  CheckBoxAutoStart->setObjectName(QStringLiteral("CheckBoxAutoStart"));
  CheckBoxAutoStart->setToolTip(QStringLiteral("Auto connect au démarrage"));
  LabelCom = new QLabel(QStringLiteral("COM port"), this);
  LabelCom->setObjectName(QStringLiteral("LabelCom"));
  SpinEditCOMPort = new QSpinBox(this);
  SpinEditCOMPort->setObjectName(QStringLiteral("SpinEditCOMPort"));
  SpinEditCOMPort->setRange(1, 255);
  SpinEditCOMPort->setValue(3);
  SpinEditCOMPort->setMinimumWidth(60);
  ButtonBin2CSV = new QPushButton(QStringLiteral("Load Data.bin convert to CSV "), this);
  ButtonBin2CSV->setObjectName(QStringLiteral("ButtonBin2CSV"));
  ButtonExportData = new QPushButton(QStringLiteral("Export to CSV Data.bin"), this);
  ButtonExportData->setObjectName(QStringLiteral("ButtonExportData"));

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(8, 4, 8, 4);
  row->setSpacing(8);
  row->addWidget(ButtonConnect);
  row->addWidget(CheckBoxAutoStart);
  row->addSpacing(8);
  row->addWidget(LabelCom);
  row->addWidget(SpinEditCOMPort);
  row->addStretch(1);
  row->addWidget(ButtonBin2CSV);
  row->addWidget(ButtonExportData);

  connect(ButtonConnect, &QPushButton::clicked, this, &ConnectionBar::connectClicked);
  connect(ButtonExportData, &QPushButton::clicked, this, &ConnectionBar::exportDataClicked);
  connect(ButtonBin2CSV, &QPushButton::clicked, this, &ConnectionBar::bin2CsvClicked);
  connect(SpinEditCOMPort, &QSpinBox::valueChanged, this, &ConnectionBar::SpinEditCOMPortChange);
}

void ConnectionBar::SpinEditCOMPortChange(int value) {
  ComNumG_ = value;
}

void ConnectionBar::ShowConnected(bool connected) {
  ButtonConnect->setText(connected ? QStringLiteral("- DISCONNECT -")
                                   : QStringLiteral("- CONNECT -"));
  SpinEditCOMPort->setEnabled(!connected);
}

void ConnectionBar::SetComNum(int comNum) {
  ComNumG_ = comNum;
  SpinEditCOMPort->setValue(comNum);
}

bool ConnectionBar::AutoStart() const {
  return CheckBoxAutoStart->isChecked();
}

void ConnectionBar::SetAutoStart(bool on) {
  CheckBoxAutoStart->setChecked(on);
}

}  // namespace vesk
