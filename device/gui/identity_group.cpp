#include "device/gui/identity_group.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <chrono>
#include <exception>
#include <thread>

#include "device/bootloader_order.h"
#include "device/camera_models.h"
#include "device/identity_orders.h"
#include "station/station.h"
#include "widgets/gui/guarded.h"
#include "widgets/gui/message_box.h"
#include "widgets/gui/named_control.h"

namespace vesk {

namespace {

// Between the disconnection and the new connection that reads the new identity.
constexpr std::chrono::milliseconds kReconnectPause{300};

}  // namespace

IdentityGroup::IdentityGroup(Station& station, QWidget* parent)
    : QGroupBox(QStringLiteral("Version 3 firmware"), parent), station_(station) {
  setObjectName(QStringLiteral("GroupBoxV3"));

  LabelSNR = Named<QLabel>("LabelSNR", QStringLiteral("Serial number"));
  EditSNR = Named<QLineEdit>("EditSNR", QStringLiteral("127xxx"));
  EditSNR->setFixedWidth(90);
  LabelSNR->setBuddy(EditSNR);
  ButtonUpdateSNR = Named<QPushButton>("ButtonUpdateSNR", QStringLiteral("Update into device"));

  LabelTypeCamera = Named<QLabel>("LabelTypeCamera", QStringLiteral("Camera Type"));
  ComboBoxTypeCamera = Named<QComboBox>("ComboBoxTypeCamera");
  for (const CameraModel& model : kCameraModels) {
    ComboBoxTypeCamera->addItem(QString::fromLatin1(model.text), model.code);
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

  connect(ButtonUpdateSNR, &QPushButton::clicked, this,
          [this] { Guarded(this, [this] { ButtonUpdateDeviceTypeClick(); }); });
  connect(ButtonUpdateDeviceType, &QPushButton::clicked, this,
          [this] { Guarded(this, [this] { ButtonUpdateDeviceTypeClick(); }); });
  connect(ButtonBootLoaderMode, &QPushButton::clicked, this,
          [this] { Guarded(this, [this] { ButtonBootLoaderModeClick(); }); });
}

std::string IdentityGroup::ReadSerialNumber() {
  ShowSerialNumber("xxxxxx");
  const std::string serialNumber = station_.ReadSerialNumber();
  ShowSerialNumber(serialNumber);
  return serialNumber;
}

void IdentityGroup::ButtonUpdateDeviceTypeClick() {
  const std::uint32_t serial = SerialNumberOfText(EditSNR->text().toStdString());
  if (!IsAcceptedSerialNumber(serial)) {
    return;
  }
  const int chosen = ComboBoxTypeCamera->currentIndex();
  const auto type =
      static_cast<std::uint8_t>(chosen < 0 ? 0 : ComboBoxTypeCamera->itemData(chosen).toInt());
  switch (station_.SetTypeAndSerial(type, serial)) {
    case IdentityAnswer::ModelRefused:
      // Type 0 would leave the board without a model it knows.
      ShowMessage(this, QStringLiteral("Choose the camera type first: nothing was sent."));
      break;
    case IdentityAnswer::Reconnect:
      Q_EMIT connectClickRequested();
      std::this_thread::sleep_for(kReconnectPause);
      Q_EMIT connectClickRequested();
      break;
    case IdentityAnswer::SerialRefused:
    case IdentityAnswer::Ignored:
      break;
  }
}

void IdentityGroup::ButtonBootLoaderModeClick() {
  if (!ConfirmError(this, QString::fromStdString(BootloaderQuestion()))) {
    return;
  }
  try {
    station_.SetBootloaderMode();
  } catch (const std::exception&) {
    ShowMessage(this, QString::fromStdString(BootloaderSendFailedMessage()));
    return;
  }
  if (station_.Connected()) {
    Q_EMIT connectClickRequested();
    Q_EMIT programEndRequested();
  }
}

void IdentityGroup::ShowSerialNumber(const std::string& serialNumber) {
  EditSNR->setText(QString::fromStdString(serialNumber));
}

std::string IdentityGroup::SerialNumberText() const {
  return EditSNR->text().toStdString();
}

}  // namespace vesk
