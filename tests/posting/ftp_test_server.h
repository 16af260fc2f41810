#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

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

// A certificate authority and a certificate for 127.0.0.1 signed by it, in the folder:
// "ca.pem", "server.pem" and "server.key".
void MakeCertificate(const std::filesystem::path& folder);

}  // namespace vesk::test
