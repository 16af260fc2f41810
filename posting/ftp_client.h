#pragma once

#include <filesystem>
#include <memory>
#include <stop_token>
#include <string>

#include "posting/infos_server.h"

namespace vesk {

// The FTP client of one upload, on libcurl: one control connection, binary transfers. Every
// operation either succeeds or raises an Exception carrying the client's message; a stop
// request abandons the operation in progress.
class TFtpClient {
 public:
  // The server, account, mode and TLS choice of the job; connects nothing yet.
  TFtpClient(const TInfosServer& job, std::stop_token stop);
  // Closes the connection if it is still open.
  ~TFtpClient();
  TFtpClient(const TFtpClient&) = delete;
  TFtpClient& operator=(const TFtpClient&) = delete;

  // Connects and logs in, in one operation.
  void Connect();
  // One change of the working folder, the folder sent as it is written; a folder starting
  // with "/" is absolute, any other is below the login folder.
  void ChangeDir(const std::string& folder);
  // Stores the file under the name, replacing a file of that name, in the current folder.
  void Put(const std::filesystem::path& localFile, const std::string& remoteName);
  void Disconnect();

 private:
  struct Session;
  void Perform(const std::string& path);

  TInfosServer job_;
  std::stop_token stop_;
  std::unique_ptr<Session> session_;
  std::string folderPath_;  // the URL path of the current folder, escaped, ending in "/"
};

}  // namespace vesk
