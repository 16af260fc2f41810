#pragma once

#include <QWidget>

#include "settings/ftp_credentials.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vesk {

class TNumberEdit;

// The "Plot posting" page: the FTP account, the upload interval and the forced upload.
class PostingPage : public QWidget {
  Q_OBJECT

 public:
  explicit PostingPage(QWidget* parent = nullptr);

  static QString caption();

  // The account and the interval as the settings file holds them.
  void ShowSettings(const TFTPCredentials& credentials, int intervalMinutes);

 private:
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
  QLabel* LabelFTPUpdate;
  TNumberEdit* NumberEditFTPUpdate;
  QPushButton* ButtonApplyFTP;
  QPushButton* Button1;  // "Force FTP upload"
};

}  // namespace vesk
