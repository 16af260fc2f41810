#pragma once

#include <QWidget>

#include <cstdint>

#include "settings/ftp_credentials.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vesk {

class TNumberEdit;

// The "Plot posting" page: the FTP account, the upload interval, the schedule and the forced
// upload. The window holds the account and runs the uploads; the page hands over what the
// operator changed.
class PostingPage : public QWidget {
  Q_OBJECT

 public:
  explicit PostingPage(QWidget* parent = nullptr);

  static QString caption();

  // The account, the interval and the schedule as the settings file holds them.
  void ShowSettings(const TFTPCredentials& credentials, int intervalMinutes, bool scheduled);

  // "Apply": the account as the fields hold it (the server's port, set by hand in the
  // settings file, as shown).
  void ButtonApplyFTPClick();
  // Leaving the interval field: its text as whole minutes, or the conversion's error.
  void NumberEditFTPUpdateExit();

 Q_SIGNALS:
  void accountApplied(const vesk::TFTPCredentials& account);
  void intervalChanged(std::uint32_t minutes);
  void scheduledChanged(bool scheduled);
  // "Force FTP upload".
  void uploadForced();

 private:
  std::uint16_t port_ = 21;

  QGroupBox* GroupBoxUserAccount;
  QLabel* LabelEditIP;
  QLineEdit* EditIP;
  QLabel* LabelEditlogin;
  QLineEdit* Editlogin;
  QLabel* LabelEditpass;
  QLineEdit* Editpass;
  QLabel* LabelEditrepremote;
  QLineEdit* Editrepremote;
  QCheckBox* CheckBoxFTp_Passive;
  QCheckBox* CheckBoxFTP_TLS;
  QLabel* LabelFTPUpdate;
  TNumberEdit* NumberEditFTPUpdate;
  QCheckBox* CheckBoxFTP_Scheduled;
  QPushButton* ButtonApplyFTP;
  QPushButton* Button1;  // "Force FTP upload"
};

}  // namespace vesk
