#include "posting/upload_job.h"

namespace vesk {

TInfosServer MakeUploadJob(const TFTPCredentials& account,
                           const std::filesystem::path& imagesFolder) {
  TInfosServer job;
  job.ServerName = account.Host;
  job.UserName = account.User;
  job.Password = account.Pass;
  job.RemotePath = account.RemotePath;
  job.Passive = account.Passive;
  job.TLS = account.TLS;
  job.Port = account.Port;
  job.LocalFiles = {imagesFolder / kTempImage, imagesFolder / kRHImage};
  return job;
}

std::string StartFtpText(const std::string& host) {
  return "Start FTP on \"" + host + "\"";
}

}  // namespace vesk
