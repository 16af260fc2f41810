#include "posting/gui/posting_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/event_log.h"
#include "posting/ftp_schedule.h"
#include "widgets/gui/guarded.h"
#include "widgets/gui/named_control.h"
#include "widgets/gui/number_edit.h"

namespace vesk {

PostingPage::PostingPage(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TabSheetFTP"));

  GroupBoxUserAccount = Named<QGroupBox>("GroupBoxUserAccount", QStringLiteral("User account"));
  LabelEditIP = Named<QLabel>("LabelEditIP", QStringLiteral(" Host or IP address"));
  EditIP = Named<QLineEdit>("EditIP");
  LabelEditlogin = Named<QLabel>("LabelEditlogin", QStringLiteral(" User/login"));
  Editlogin = Named<QLineEdit>("Editlogin");
  LabelEditpass = Named<QLabel>("LabelEditpass", QStringLiteral(" Password"));
  Editpass = Named<QLineEdit>("Editpass");
  Editpass->setEchoMode(QLineEdit::Password);
  LabelEditrepremote = Named<QLabel>("LabelEditrepremote", QStringLiteral(" Remote folder"));
  Editrepremote = Named<QLineEdit>("Editrepremote");
  CheckBoxFTp_Passive = Named<QCheckBox>("CheckBoxFTp_Passive", QStringLiteral("Passive FTP"));
  CheckBoxFTP_TLS = Named<QCheckBox>("CheckBoxFTP_TLS", QStringLiteral("Use TLS (FTPS)"));
  LabelFTPUpdate = Named<QLabel>("LabelFTPUpdate", QStringLiteral("Update interval (Minutes)"));
  NumberEditFTPUpdate = Named<TNumberEdit>("NumberEditFTPUpdate", TNumberEdit::TTypeValue::Float, 1,
                                           1000, QStringLiteral("5"));
  NumberEditFTPUpdate->setFixedWidth(70);
  CheckBoxFTP_Scheduled =
      Named<QCheckBox>("CheckBoxFTP_Scheduled", QStringLiteral("Upload every interval"));
  ButtonApplyFTP = Named<QPushButton>("ButtonApplyFTP", QStringLiteral("Apply"));
  Button1 = Named<QPushButton>("Button1", QStringLiteral("Force FTP upload"));
  Button1->setToolTip(QStringLiteral("Forcer la MAJ FTP"));

  auto* account = new QGridLayout(GroupBoxUserAccount);
  int row = 0;
  for (auto [label, edit] :
       {std::pair{LabelEditIP, EditIP}, std::pair{LabelEditlogin, Editlogin},
        std::pair{LabelEditpass, Editpass}, std::pair{LabelEditrepremote, Editrepremote}}) {
    label->setBuddy(edit);
    edit->setMinimumWidth(260);
    account->addWidget(label, row, 0);
    account->addWidget(edit, row, 1);
    ++row;
  }
  account->addWidget(CheckBoxFTp_Passive, row++, 1);
  account->addWidget(CheckBoxFTP_TLS, row++, 1);
  LabelFTPUpdate->setBuddy(NumberEditFTPUpdate);
  account->addWidget(LabelFTPUpdate, row, 0);
  account->addWidget(NumberEditFTPUpdate, row++, 1, Qt::AlignLeft);
  account->addWidget(CheckBoxFTP_Scheduled, row++, 1);
  account->setRowMinimumHeight(row++, 6);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ButtonApplyFTP);
  buttons->addStretch(1);
  buttons->addWidget(Button1);
  account->addLayout(buttons, row, 0, 1, 2);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(GroupBoxUserAccount, 0, Qt::AlignTop);
  layout->addStretch(1);

  connect(ButtonApplyFTP, &QPushButton::clicked, this,
          [this] { Guarded(this, [this] { ButtonApplyFTPClick(); }); });
  connect(NumberEditFTPUpdate, &TNumberEdit::OnExit, this,
          [this] { Guarded(this, [this] { NumberEditFTPUpdateExit(); }); });
  connect(CheckBoxFTP_Scheduled, &QCheckBox::clicked, this, &PostingPage::scheduledChanged);
  connect(Button1, &QPushButton::clicked, this, GuardedSlot(this, &PostingPage::Button1Click));
}

QString PostingPage::caption() {
  return QStringLiteral("Plot posting");
}

void PostingPage::ShowSettings(const TFTPCredentials& credentials, int intervalMinutes,
                               bool scheduled) {
  NumberEditFTPUpdate->setText(QString::number(intervalMinutes));
  EditIP->setText(QString::fromStdString(credentials.Host));
  Editlogin->setText(QString::fromStdString(credentials.User));
  Editpass->setText(QString::fromStdString(credentials.Pass));
  Editrepremote->setText(QString::fromStdString(credentials.RemotePath));
  CheckBoxFTp_Passive->setChecked(credentials.Passive);
  CheckBoxFTP_TLS->setChecked(credentials.TLS);
  port_ = credentials.Port;
  CheckBoxFTP_Scheduled->setChecked(scheduled);
}

void PostingPage::ButtonApplyFTPClick() {
  TFTPCredentials account;
  account.Host = EditIP->text().toStdString();
  account.User = Editlogin->text().toStdString();
  account.Pass = Editpass->text().toStdString();
  account.RemotePath = Editrepremote->text().toStdString();
  account.Passive = CheckBoxFTp_Passive->isChecked();
  account.TLS = CheckBoxFTP_TLS->isChecked();
  account.Port = port_;
  Q_EMIT accountApplied(account);
}

void PostingPage::NumberEditFTPUpdateExit() {
  const std::uint32_t minutes = PostingIntervalMinutes(NumberEditFTPUpdate->text().toStdString());
  PostingInterval = minutes * 60;
  Q_EMIT intervalChanged(minutes);
}

std::uint32_t PostingPage::StartPostingInterval(int minutes) {
  const TStartPostingInterval start = vesk::StartPostingInterval(minutes);
  if (!start.refusal.empty()) {
    WriteLog(start.refusal);
    NumberEditFTPUpdate->setText(QString::number(start.PostingInterval / 60));
  }
  PostingInterval = start.PostingInterval;
  return PostingInterval;
}

void PostingPage::Button1Click() {
  Q_EMIT uploadForced();
}

}  // namespace vesk
