#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

#include "common/event_log.h"
#include "posting/infos_server.h"

namespace vesk {

// The upload worker: each upload connects, changes to the remote folder, stores each file
// under its own name and disconnects on a thread of its own, writing every step to "ftp.log".
// One upload at a time: the upload-running flag is raised by the start itself.
class TFTPLoaderThread {
 public:
  static constexpr std::chrono::milliseconds kCloseWait{5000};

  // The log lines go to "ftp.log" in the folder and, when set, to onLine, called on the
  // worker thread. onLine must not wait for the thread that closes the loader.
  explicit TFTPLoaderThread(std::filesystem::path folder, LogHandOver onLine = {});
  // Closes with kCloseWait.
  ~TFTPLoaderThread();
  TFTPLoaderThread(const TFTPLoaderThread&) = delete;
  TFTPLoaderThread& operator=(const TFTPLoaderThread&) = delete;

  // Starts uploading the job and returns at once; while an upload runs it does nothing and
  // returns false. Called by the owner's thread only, like Close.
  bool Start(TInfosServer job);
  bool UploadRunning() const { return FtpUploadRunning.load(); }
  // The last line logged, empty before the first upload.
  std::string MessageLog() const;

  // Waits up to `wait` for an upload in progress to end; past that the upload is abandoned
  // (the failure and stop lines are logged, the connection closed). Returns once the worker
  // thread has ended: true when the upload ended by itself or none ran. The loader can start
  // again afterwards.
  bool Close(std::chrono::milliseconds wait);

 private:
  void Execute(std::stop_token stop);
  void Upload(std::stop_token stop);
  void FtpLog(const std::string& text);

  const std::filesystem::path folder_;
  const LogHandOver onLine_;
  // The job of the upload in progress or the last one: written by Start while no worker runs,
  // read by the worker.
  TInfosServer FInfosServer;
  std::atomic<bool> FtpUploadRunning{false};
  mutable std::mutex mutex_;  // FMessageLog; with idle_, the end of an upload awaited by Close
  std::string FMessageLog;
  std::condition_variable idle_;
  std::jthread worker_;
};

}  // namespace vesk
