#include "app/posting_controller.h"

#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <limits>
#include <utility>

#include "common/event_log.h"
#include "plots/gui/chart_set.h"
#include "posting/ftp_loader_thread.h"
#include "posting/ftp_schedule.h"
#include "posting/gui/posting_page.h"
#include "posting/upload_job.h"
#include "settings/settings_file.h"
#include "widgets/gui/guarded.h"

namespace vesk {

PostingController::PostingController(PostingPage& page, const std::filesystem::path& programFolder,
                                     WindowSide window)
    : QObject(window.window), page_(page), window_(std::move(window)) {
  setObjectName(QStringLiteral("PostingController"));
  TimerFTP = new QTimer(this);
  TimerFTP->setObjectName(QStringLiteral("TimerFTP"));
  TimerFTP->setInterval(300000);
  // The worker's lines reach the main thread queued: it never waits for the window, which
  // may itself be waiting for the worker to end.
  FTPLoader = std::make_unique<TFTPLoaderThread>(programFolder, [this](const std::string& line) {
    QMetaObject::invokeMethod(
        this, [this, text = QString::fromStdString(line)] { Q_EMIT ftpLogLine(text); },
        Qt::QueuedConnection);
  });
  QWidget* const owner = window_.window;
  connect(&page, &PostingPage::accountApplied, this,
          [this](const TFTPCredentials& account) { FTPCredentials = account; });
  connect(&page, &PostingPage::intervalChanged, this, [this, owner](std::uint32_t minutes) {
    Guarded(owner, [this, minutes] { SetPostingInterval(minutes); });
  });
  connect(&page, &PostingPage::scheduledChanged, this, [this, owner](bool scheduled) {
    Guarded(owner, [this, scheduled] { SetFtpScheduled(scheduled); });
  });
  connect(&page, &PostingPage::uploadForced, this,
          [this, owner] { Guarded(owner, [this] { TimerFTPTimer(); }); });
  connect(TimerFTP, &QTimer::timeout, this,
          [this, owner] { Guarded(owner, [this] { TimerFTPTimer(); }); });
}

PostingController::~PostingController() = default;

void PostingController::Start(const TSettingsFile& settings) {
  const int minutes = settings.ReadFtpIntervall();
  FTPCredentials = settings.ReadFtpCredentials();
  FtpScheduled = settings.ReadFtpScheduled();
  page_.ShowSettings(FTPCredentials, minutes, FtpScheduled);
  // A negative interval is refused with its message and the default kept; the start goes on.
  PostingIntervalSeconds = page_.StartPostingInterval(minutes);
  TimerFTP->stop();
  ApplyFtpSchedule();
}

void PostingController::Stop() {
  closed_ = true;
  TimerFTP->stop();
}

void PostingController::TimerFTPTimer() {
  if (closed_ || addressPending_ || FTPLoader->UploadRunning()) {
    return;
  }
  WriteLog(StartFtpText(FTPCredentials.Host));
  // The public address once for both images, off the window's thread; then the two images,
  // as the charts show them, before anything is uploaded. A failure to write them ends the
  // upload before it starts.
  addressPending_ = true;
  window_.charts->LookUpAddress(this, [this, account = FTPCredentials](const std::string& address) {
    addressPending_ = false;
    Guarded(window_.window, [&] {
      if (closed_) {
        return;
      }
      window_.saveImages(address);
      FTPLoader->Start(MakeUploadJob(account, window_.imagesFolder()));
    });
  });
}

void PostingController::SetPostingInterval(std::uint32_t minutes) {
  if (TSettingsFile* settings = window_.settings()) {
    settings->WriteFtpIntervall(minutes);
  }
  PostingIntervalSeconds = minutes * 60;
  ApplyFtpSchedule();
}

void PostingController::SetFtpScheduled(bool scheduled) {
  FtpScheduled = scheduled;
  if (TSettingsFile* settings = window_.settings()) {
    settings->WriteFtpScheduled(scheduled);
  }
  ApplyFtpSchedule();
}

void PostingController::ApplyFtpSchedule() {
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

void PostingController::CloseFtpLoader() {
  FTPLoader->Close(TFTPLoaderThread::kCloseWait);
}

}  // namespace vesk
