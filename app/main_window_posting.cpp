// Posting the chart images: the account, the interval, the schedule and the upload worker.
#include <QTimer>

#include <algorithm>
#include <limits>

#include "app/main_window.h"
#include "common/event_log.h"
#include "plots/gui/chart_set.h"
#include "posting/ftp_loader_thread.h"
#include "posting/ftp_schedule.h"
#include "posting/gui/posting_page.h"
#include "posting/upload_job.h"
#include "settings/settings_file.h"
#include "widgets/gui/guarded.h"

namespace vesk {

void TMAINForm::BuildPosting() {
  // The worker's lines reach the main thread queued: it never waits for the window, which
  // may itself be waiting for the worker to end.
  FTPLoader = std::make_unique<TFTPLoaderThread>(ChemExec, [this](const std::string& line) {
    QMetaObject::invokeMethod(
        this, [this, text = QString::fromStdString(line)] { Q_EMIT ftpLogLine(text); },
        Qt::QueuedConnection);
  });
  connect(TabSheetFTP, &PostingPage::accountApplied, this,
          [this](const TFTPCredentials& account) { ApplyFtpAccount(account); });
  connect(TabSheetFTP, &PostingPage::intervalChanged, this, [this](std::uint32_t minutes) {
    Guarded(this, [this, minutes] { SetPostingInterval(minutes); });
  });
  connect(TabSheetFTP, &PostingPage::scheduledChanged, this, [this](bool scheduled) {
    Guarded(this, [this, scheduled] { SetFtpScheduled(scheduled); });
  });
  connect(TabSheetFTP, &PostingPage::uploadForced, this,
          [this] { Guarded(this, [this] { TimerFTPTimer(); }); });
  connect(TimerFTP, &QTimer::timeout, this, [this] { Guarded(this, [this] { TimerFTPTimer(); }); });
}

void TMAINForm::TimerFTPTimer() {
  if (closed_ || ftpAddressPending_ || FTPLoader->UploadRunning()) {
    return;
  }
  WriteLog(StartFtpText(FTPCredentials.Host));
  // The public address once for both images, off the window's thread; then the two images,
  // as the charts show them, before anything is uploaded. A failure to write them ends the
  // upload before it starts.
  ftpAddressPending_ = true;
  charts_->LookUpAddress(this, [this, account = FTPCredentials](const std::string& address) {
    ftpAddressPending_ = false;
    Guarded(this, [&] {
      if (closed_) {
        return;
      }
      SavePostingImages(address);
      FTPLoader->Start(MakeUploadJob(account, ChemIMG));
    });
  });
}

void TMAINForm::ApplyFtpAccount(const TFTPCredentials& account) {
  FTPCredentials = account;
}

void TMAINForm::SetPostingInterval(std::uint32_t minutes) {
  if (FileIni) {
    FileIni->WriteFtpIntervall(minutes);
  }
  PostingIntervalSeconds = minutes * 60;
  ApplyFtpSchedule();
}

void TMAINForm::SetFtpScheduled(bool scheduled) {
  FtpScheduled = scheduled;
  if (FileIni) {
    FileIni->WriteFtpScheduled(scheduled);
  }
  ApplyFtpSchedule();
}

void TMAINForm::ApplyFtpSchedule() {
  const TFtpSchedule schedule = FtpSchedule(FtpScheduled, PostingIntervalSeconds / 60);
  // What the timer can count; a longer interval waits that long.
  const int interval = static_cast<int>(
      std::min<long long>(schedule.interval.count(), std::numeric_limits<int>::max()));
  // Setting the interval restarts a running timer: only a new one may postpone the next upload.
  if (TimerFTP->interval() != interval) {
    TimerFTP->setInterval(interval);
  }
  if (!schedule.enabled) {
    TimerFTP->stop();
  } else if (!TimerFTP->isActive()) {
    TimerFTP->start();
  }
}

void TMAINForm::CloseFtpLoader() {
  if (FTPLoader) {
    FTPLoader->Close(TFTPLoaderThread::kCloseWait);
  }
}

}  // namespace vesk
