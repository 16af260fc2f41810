#include "tests/posting/ftp_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <sstream>
#include <stdexcept>

#include "posting/ftp_log.h"

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

SilentServer::SilentServer() : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (bind(socket_, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(socket_, 4) != 0 ||
      getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    close(socket_);
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
}

SilentServer::~SilentServer() {
  close(socket_);
}

std::vector<std::string> FtpLogTexts(const std::filesystem::path& folder) {
  std::istringstream file(ReadFile(folder / kFtpLogFileName));
  std::vector<std::string> texts;
  for (std::string line; std::getline(file, line);) {
    const std::size_t text = line.find(" :  -> ");
    if (line.empty() || line.back() != '\r' || text == std::string::npos) {
      throw std::runtime_error("not an \"ftp.log\" line ending with CR LF: " + line);
    }
    line.pop_back();
    texts.push_back(line.substr(text + 7));
  }
  return texts;
}

void MakeCertificate(const std::filesystem::path& folder) {
  SimProcess maker(VESK_FTP_TEST_PYTHON, {Script("make_certificate.py"), folder.string()});
  if (maker.exitStatus() != 0) {
    throw std::runtime_error("cannot make the test certificate");
  }
}

}  // namespace vesk::test
