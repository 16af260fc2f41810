#include "posting/ftp_loader_thread.h"

#include <algorithm>

#include "posting/ftp_client.h"
#include "posting/ftp_log.h"

namespace vesk {
namespace {

constexpr char kStartLine[] = "----------------> FTP start <----------------------------------";
constexpr char kStopLine[] = "----------------> FTP stop <----------------------------------";

}  // namespace

TFTPLoaderThread::TFTPLoaderThread(std::filesystem::path folder, LogHandOver onLine)
    : folder_(std::move(folder)), onLine_(std::move(onLine)) {}

TFTPLoaderThread::~TFTPLoaderThread() {
  Close(kCloseWait);
}

bool TFTPLoaderThread::Start(TInfosServer job) {
  if (FtpUploadRunning.exchange(true)) {
    return false;
  }
  // The last upload has lowered the flag; its thread is ending.
  if (worker_.joinable()) {
    worker_.join();
  }
  FInfosServer = std::move(job);
  try {
    worker_ = std::jthread([this](std::stop_token stop) { Execute(std::move(stop)); });
  } catch (...) {
    FtpUploadRunning = false;
    throw;
  }
  return true;
}

bool TFTPLoaderThread::Close(std::chrono::milliseconds wait) {
  std::unique_lock lock(mutex_);
  const bool ended = idle_.wait_for(lock, wait, [this] { return !FtpUploadRunning.load(); });
  lock.unlock();
  if (!ended) {
    worker_.request_stop();
  }
  if (worker_.joinable()) {
    worker_.join();
  }
  return ended;
}

std::string TFTPLoaderThread::MessageLog() const {
  const std::lock_guard lock(mutex_);
  return FMessageLog;
}

void TFTPLoaderThread::Execute(std::stop_token stop) {
  FtpLog(kStartLine);
  try {
    Upload(std::move(stop));
  } catch (const std::exception& e) {
    FtpLog(std::string("!! Failed !! -> [") + e.what() + "]");
    FtpLog(kStopLine);
  } catch (...) {
    FtpLog("!! Failed !! -> [Unknown error]");
    FtpLog(kStopLine);
  }
  {
    const std::lock_guard lock(mutex_);
    FtpUploadRunning = false;
  }
  idle_.notify_all();
}

void TFTPLoaderThread::Upload(std::stop_token stop) {
  const TInfosServer& job = FInfosServer;
  TFtpClient client(job, std::move(stop));
  std::string folder = job.RemotePath;
  std::replace(folder.begin(), folder.end(), '\\', '/');

  FtpLog("Connecting to : " + job.ServerName);
  client.Connect();
  FtpLog("Connected");
  if (!folder.empty()) {
    FtpLog("Change dir to \"" + folder + "\"");
    client.ChangeDir(folder);
    FtpLog("Change dir OK !");
  }
  for (const std::filesystem::path& file : job.LocalFiles) {
    std::error_code unknown;
    if (std::filesystem::exists(file, unknown)) {
      FtpLog("Putting file -> \"" + file.string() + "\"");
      client.Put(file, file.filename().string());
      FtpLog("Ok, file put !");
    } else {
      FtpLog("Local file : " + file.string() + " does not exists !");
    }
  }
  client.Disconnect();
  FtpLog("Disconnected !");
  FtpLog(kStopLine);
}

// A line that cannot be written or shown is lost; the upload goes on.
void TFTPLoaderThread::FtpLog(const std::string& text) {
  try {
    const std::string line = FtpLogLine(Now(), text);
    {
      const std::lock_guard lock(mutex_);
      FMessageLog = line;
    }
    AppendFtpLog(folder_, line);
    if (onLine_) {
      onLine_(line);
    }
    if (FInfosServer.RicheEdit) {
      FInfosServer.RicheEdit(line);
    }
  } catch (...) {
  }
}

}  // namespace vesk
