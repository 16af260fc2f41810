#pragma once

#include <QGroupBox>

#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vesk {

class Station;

// The group "Version 3 firmware": model type and serial number written into the board, and
// the bootloader order.
class IdentityGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit IdentityGroup(Station& station, QWidget* parent = nullptr);

  void ShowSerialNumber(const std::string& serialNumber);
  std::string SerialNumberText() const;
  // Reads the board's serial number into the field and returns it ("xxxxxx" when it cannot be
  // read); never raises.
  std::string ReadSerialNumber();

  // Both "Update into device" buttons: writes the chosen model type and the serial number. A
  // serial outside 127001 to 134999 is refused silently; a field that is not a whole number
  // and a link failure raise. When the board asks for it, the board is reconnected so its new
  // identity is read back.
  void ButtonUpdateDeviceTypeClick();
  // After the operator's confirmation, the board leaves for its bootloader; while connected
  // the program then disconnects and ends.
  void ButtonBootLoaderModeClick();

 Q_SIGNALS:
  // The connection button's action: disconnects when connected, connects when not.
  void connectClickRequested();
  // The board is in its bootloader: the program saves what it holds and ends.
  void programEndRequested();

 private:
  Station& station_;

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
