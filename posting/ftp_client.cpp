#include "posting/ftp_client.h"

#include <curl/curl.h>

#include <cstdio>
#include <mutex>

#include "common/exceptions.h"

namespace vesk {
namespace {

constexpr long kConnectTimeoutS = 30;
constexpr long kResponseTimeoutS = 60;
// A transfer slower than one byte a second for a minute has stalled; the upload must end
// so that the next one can start.
constexpr long kLowSpeedTimeS = 60;

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The message of a failed operation; the TLS failures say what the operator must look at.
std::string FailureText(CURLcode code, const char* detail) {
  std::string text;
  switch (code) {
    case CURLE_USE_SSL_FAILED:
      text = "The server refuses TLS (FTPS)";
      break;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
      text = "The server's TLS certificate does not verify";
      break;
    case CURLE_ABORTED_BY_CALLBACK:
      return "Upload abandoned";
    default:
      text = curl_easy_strerror(code);
  }
  if (detail[0] != '\0') {
    text += std::string(": ") + detail;
  }
  return text;
}

size_t ReadFromFile(char* buffer, size_t size, size_t count, void* file) {
  return std::fread(buffer, size, count, static_cast<std::FILE*>(file));
}

int StopRequested(void* stop, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<const std::stop_token*>(stop)->stop_requested() ? 1 : 0;
}

// Every character escaped but letters, digits, "-", "_" and "~": the server gets the folder
// as written (its slashes and dots too) in one change of directory.
std::string Escaped(CURL* curl, const std::string& text) {
  char* escaped = curl_easy_escape(curl, text.c_str(), static_cast<int>(text.size()));
  if (escaped == nullptr) {
    throw Exception("Out of memory");
  }
  std::string result;
  for (const char* c = escaped; *c != '\0'; ++c) {
    result += *c == '.' ? std::string("%2E") : std::string(1, *c);
  }
  curl_free(escaped);
  return result;
}

}  // namespace

struct TFtpClient::Session {
  CURL* curl = nullptr;
  CURLU* url = nullptr;
  char error[CURL_ERROR_SIZE] = {};

  ~Session() {
    curl_url_cleanup(url);
    curl_easy_cleanup(curl);  // sends QUIT on an open connection
  }
};

TFtpClient::TFtpClient(const TInfosServer& job, std::stop_token stop)
    : job_(job), stop_(std::move(stop)), folderPath_("/") {}

TFtpClient::~TFtpClient() = default;

void TFtpClient::Connect() {
  InitCurlOnce();
  session_ = std::make_unique<Session>();
  session_->curl = curl_easy_init();
  session_->url = curl_url();
  if (session_->curl == nullptr || session_->url == nullptr) {
    throw Exception("Out of memory");
  }
  CURLU* url = session_->url;
  // An IPv6 address goes between brackets in a URL.
  const std::string host = job_.ServerName.find(':') != std::string::npos
                               ? "[" + job_.ServerName + "]"
                               : job_.ServerName;
  if (curl_url_set(url, CURLUPART_SCHEME, "ftp", 0) != CURLUE_OK ||
      curl_url_set(url, CURLUPART_HOST, host.c_str(), 0) != CURLUE_OK ||
      curl_url_set(url, CURLUPART_PORT, std::to_string(job_.Port).c_str(), 0) != CURLUE_OK) {
    throw Exception("Bad host name \"" + job_.ServerName + "\"");
  }

  CURL* curl = session_->curl;
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, session_->error);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_USERNAME, job_.UserName.c_str());
  curl_easy_setopt(curl, CURLOPT_PASSWORD, job_.Password.c_str());
  // One change of directory with the folder as written, then the file by its name.
  curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
  curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, 0L);
  if (!job_.Passive) {
    curl_easy_setopt(curl, CURLOPT_FTPPORT, "-");  // the address of the control connection
  }
  if (job_.TLS) {
    curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!job_.CAFile.empty()) {
      curl_easy_setopt(curl, CURLOPT_CAINFO, job_.CAFile.string().c_str());
    }
  }
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutS);
  curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, kResponseTimeoutS);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kLowSpeedTimeS);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, StopRequested);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &stop_);

  // Asking for the login folder itself: connect and log in, nothing more.
  curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  Perform("/");
}

void TFtpClient::ChangeDir(const std::string& folder) {
  folderPath_ = "/" + Escaped(session_->curl, folder) + "/";
  curl_easy_setopt(session_->curl, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(session_->curl, CURLOPT_UPLOAD, 0L);
  Perform(folderPath_);
}

void TFtpClient::Put(const std::filesystem::path& localFile, const std::string& remoteName) {
  std::FILE* file = std::fopen(localFile.string().c_str(), "rb");
  if (file == nullptr) {
    throw Exception("Cannot open " + localFile.string());
  }
  CURL* curl = session_->curl;
  std::error_code unknownSize;
  const auto size = std::filesystem::file_size(localFile, unknownSize);
  curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
  curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl, CURLOPT_READFUNCTION, ReadFromFile);
  curl_easy_setopt(curl, CURLOPT_READDATA, file);
  curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE,
                   unknownSize ? curl_off_t{-1} : static_cast<curl_off_t>(size));
  try {
    Perform(folderPath_ + Escaped(curl, remoteName));
  } catch (...) {
    std::fclose(file);
    throw;
  }
  std::fclose(file);
}

void TFtpClient::Disconnect() {
  session_.reset();
}

void TFtpClient::Perform(const std::string& path) {
  if (curl_url_set(session_->url, CURLUPART_PATH, path.c_str(), 0) != CURLUE_OK) {
    throw Exception("Bad remote path");
  }
  curl_easy_setopt(session_->curl, CURLOPT_CURLU, session_->url);
  session_->error[0] = '\0';
  const CURLcode result = curl_easy_perform(session_->curl);
  if (result != CURLE_OK) {
    throw Exception(FailureText(result, session_->error));
  }
}

}  // namespace vesk
