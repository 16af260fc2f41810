#include "device/gui/identity_group.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

#include "widgets/gui/named_control.h"

namespace vesk {

namespace {

// The list order is not the code order: "Camera BRISA 3" (33) comes before "Camera Astel 9" (32).
const std::pair<const char*, int> kCameraTypes[] = {
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

}  // namespace

IdentityGroup::IdentityGroup(QWidget* parent)
    : QGroupBox(QStringLiteral("Version 3 firmware"), parent) {
  setObjectName(QStringLiteral("GroupBoxV3"));

  LabelSNR = Named<QLabel>("LabelSNR", QStringLiteral("Serial number"));
  EditSNR = Named<QLineEdit>("EditSNR", QStringLiteral("127xxx"));
  EditSNR->setFixedWidth(90);
  LabelSNR->setBuddy(EditSNR);
  ButtonUpdateSNR = Named<QPushButton>("ButtonUpdateSNR", QStringLiteral("Update into device"));

  LabelTypeCamera = Named<QLabel>("LabelTypeCamera", QStringLiteral("Camera Type"));
  ComboBoxTypeCamera = Named<QComboBox>("ComboBoxTypeCamera");
  for (const auto& [text, code] : kCameraTypes) {
    ComboBoxTypeCamera->addItem(QString::fromLatin1(text), code);
  }
  ComboBoxTypeCamera->setCurrentIndex(-1);
  LabelTypeCamera->setBuddy(ComboBoxTypeCamera);
  ButtonUpdateDeviceType =
      Named<QPushButton>("ButtonUpdateDeviceType", QStringLiteral("Update into device"));

  ButtonBootLoaderMode =
      Named<QPushButton>("ButtonBootLoaderMode", QStringLiteral("Mode BootLoaoder"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(LabelSNR, 0, 0);
  grid->addWidget(EditSNR, 0, 1, Qt::AlignLeft);
  grid->addWidget(ButtonUpdateSNR, 0, 2);
  grid->addWidget(LabelTypeCamera, 1, 0);
  grid->addWidget(ComboBoxTypeCamera, 1, 1);
  grid->addWidget(ButtonUpdateDeviceType, 1, 2);
  grid->setRowStretch(2, 1);
  grid->addWidget(ButtonBootLoaderMode, 3, 0, 1, 2, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);
}

void IdentityGroup::ShowSerialNumber(const std::string& serialNumber) {
  EditSNR->setText(QString::fromStdString(serialNumber));
}

std::string IdentityGroup::SerialNumberText() const {
  return EditSNR->text().toStdString();
}

}  // namespace vesk
