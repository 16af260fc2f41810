#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/ftp_credentials.h"

class QTimer;
class QWidget;

namespace vesk {

class ChartSet;
class PostingPage;
class TFTPLoaderThread;
class TSettingsFile;

// Posting the chart images: the FTP account, the posting interval and "Scheduled", the
// schedule's timer "TimerFTP" and the upload worker. The window makes it as its child, hands
// it the posting page and what the uploads need of the window, starts it with the settings
// and closes it in its close sequence.
class PostingController : public QObject {
  Q_OBJECT

 public:
  // What the uploads need of the window.
  struct WindowSide {
    // Where a failure of an upload's start is shown, as every handler's is.
    QWidget* window = nullptr;
    // The public address is looked up there; it outlives the uploads' answers.
    ChartSet* charts = nullptr;
    // The settings file while it is open; none before the start or once closed.
    std::function<TSettingsFile*()> settings;
    // The images folder.
    std::function<std::filesystem::path()> imagesFolder;
    // The two images of an upload written with that address; failures reach the caller.
    std::function<std::vector<std::filesystem::path>(const std::string& address)> saveImages;
  };

  // programFolder: where "ftp.log" is written.
  PostingController(PostingPage& page, const std::filesystem::path& programFolder,
                    WindowSide window);
  // The upload worker closed with its bounded wait, if the close did not do it.
  ~PostingController() override;

  // The start: the account, the interval and the schedule read from the settings and shown
  // on the page (an interval the page refuses keeps the default); the timer set from them.
  void Start(const TSettingsFile& settings);
  // The account in use, as the settings save it.
  const TFTPCredentials& account() const { return FTPCredentials; }
  // The close: the timer stopped; no upload starts any more.
  void Stop();
  // The upload in progress awaited a bounded time, then abandoned.
  void CloseFtpLoader();

 public Q_SLOTS:
  // One upload of the chart images, from "Force FTP upload" or the schedule; nothing while
  // one runs or its address is being looked up.
  void TimerFTPTimer();

 Q_SIGNALS:
  // Each "ftp.log" line of an upload, on the main thread, in order.
  void ftpLogLine(const QString& line);

 private:
  void SetPostingInterval(std::uint32_t minutes);
  void SetFtpScheduled(bool scheduled);
  // TimerFTP runs with "Scheduled" on and a posting interval above zero.
  void ApplyFtpSchedule();

  PostingPage& page_;
  WindowSide window_;
  QTimer* TimerFTP = nullptr;
  TFTPCredentials FTPCredentials;
  std::uint32_t PostingIntervalSeconds = 300;
  bool FtpScheduled = false;
  bool closed_ = false;
  // An upload's public address is being looked up: no second upload starts meanwhile.
  bool addressPending_ = false;
  // The upload worker, closed with a bounded wait before anything its log lines reach goes.
  std::unique_ptr<TFTPLoaderThread> FTPLoader;
};

}  // namespace vesk
