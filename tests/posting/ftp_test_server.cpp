#include "tests/posting/ftp_test_server.h"

#include <stdexcept>

namespace vesk::test {
namespace {

std::string Script(const char* name) {
  return std::string(VESK_FTP_TEST_SCRIPTS) + "/" + name;
}

}  // namespace

FtpTestServer::FtpTestServer(const FtpServerOptions& options) {
  std::vector<std::string> args = {Script("ftp_server.py"),
                                   "--root",
                                   root().string(),
                                   "--user",
                                   kUser,
                                   "--password",
                                   kPassword,
                                   "--refuse",
                                   options.refuse};
  if (!options.tlsCert.empty()) {
    args.insert(args.end(),
                {"--tls-cert", options.tlsCert.string(), "--tls-key", options.tlsKey.string()});
  }
  process_ = std::make_unique<SimProcess>(VESK_FTP_TEST_PYTHON, args);
  const std::string line = process_->firstLine();
  if (line.rfind("PORT ", 0) != 0) {
    throw std::runtime_error("the FTP test server did not start: \"" + line + "\"");
  }
  port_ = static_cast<std::uint16_t>(std::stoi(line.substr(5)));
}

FtpTestServer::~FtpTestServer() {
  process_->terminate();
}

void MakeCertificate(const std::filesystem::path& folder) {
  SimProcess maker(VESK_FTP_TEST_PYTHON, {Script("make_certificate.py"), folder.string()});
  if (maker.exitStatus() != 0) {
    throw std::runtime_error("cannot make the test certificate");
  }
}

}  // namespace vesk::test
