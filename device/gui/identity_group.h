#pragma once

#include <QGroupBox>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vesk {

// The group "Version 3 firmware": model type and serial number written into the board, and
// the bootloader order.
class IdentityGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit IdentityGroup(QWidget* parent = nullptr);

  void ShowSerialNumber(const std::string& serialNumber);
  std::string SerialNumberText() const;

 private:
  QLabel* LabelSNR;
  QLineEdit* EditSNR;
  QPushButton* ButtonUpdateSNR;
  QLabel* LabelTypeCamera;
  // Each item carries the model type code the board receives for it (item data).
  QComboBox* ComboBoxTypeCamera;
  QPushButton* ButtonUpdateDeviceType;
  QPushButton* ButtonBootLoaderMode;
};

}  // namespace vesk
