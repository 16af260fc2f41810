#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/sim_process.h"
#include "tests/support/temp_folder.h"

namespace vesk::test {

struct FtpServerOptions {
  // "passive" or "active": the server refuses that mode, so an upload proves the other.
  std::string refuse = "none";
  // Explicit TLS required on every connection, with this certificate, when set.
  std::filesystem::path tlsCert;
  std::filesystem::path tlsKey;
};

// A real FTP server (pyftpdlib) on 127.0.0.1 and a free port, serving one account whose
// login folder is a fresh temporary folder; stopped when the object goes.
class FtpTestServer {
 public:
  static constexpr char kUser[] = "vesk";
  static constexpr char kPassword[] = "s3cret";

  explicit FtpTestServer(const FtpServerOptions& options = {});
  ~FtpTestServer();

  std::uint16_t port() const { return port_; }
  const std::filesystem::path& root() const { return root_.path(); }

 private:
  TempFolder root_;
  std::unique_ptr<SimProcess> process_;
  std::uint16_t port_ = 0;
};

// A server on 127.0.0.1 that takes connections and never says a word: an upload to it stays
// at its connection until it is abandoned.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;

  std::uint16_t port() const { return port_; }

 private:
  int socket_;
  std::uint16_t port_ = 0;
};

// The texts of the "ftp.log" lines in the folder, without their time stamps. Throws when a
// line does not end with CR LF or has no time stamp.
std::vector<std::string> FtpLogTexts(const std::filesystem::path& folder);

// A certificate authority and a certificate for 127.0.0.1 signed by it, in the folder:
// "ca.pem", "server.pem" and "server.key".
void MakeCertificate(const std::filesystem::path& folder);

}  // namespace vesk::test
