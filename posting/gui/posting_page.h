#pragma once

#include <QWidget>

#include <cstdint>

#include "posting/ftp_schedule.h"
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

  // Start: the posting interval from the settings file's minutes, shown in the field. Minutes
  // it cannot hold (a negative number) are refused with a line in the event log and the
  // default kept, so the start goes on. Answers the interval in seconds.
  std::uint32_t StartPostingInterval(int minutes);
  // The posting interval in seconds, as set at start and by the interval field.
  std::uint32_t postingInterval() const { return PostingInterval; }

 Q_SIGNALS:
  void accountApplied(const vesk::TFTPCredentials& account);
  void intervalChanged(std::uint32_t minutes);
  void scheduledChanged(bool scheduled);
  // "Force FTP upload".
  void uploadForced();

 private Q_SLOTS:
  // "Force FTP upload": the window starts the upload (TimerFTPTimer).
  void Button1Click();

 private:
  std::uint16_t port_ = 21;
  std::uint32_t PostingInterval = kDefaultPostingInterval;

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
