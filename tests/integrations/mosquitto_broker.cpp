#include "tests/integrations/mosquitto_broker.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "tests/support/free_port.h"

namespace vesk::test {
namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

bool Accepts(int port) {
  const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = Loopback(port);
  const bool accepted =
      ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(socket);
  return accepted;
}

}  // namespace

MosquittoBroker::MosquittoBroker(const std::filesystem::path& folder, std::string extraConfig)
    : config_(folder / "mosquitto.conf"), port_(FreeLoopbackPort()) {
  if (extraConfig.find("allow_anonymous") == std::string::npos) {
    extraConfig += "allow_anonymous true\n";
  }
  // Started as root, the broker would otherwise drop to a user that cannot read the folder.
  std::ofstream(config_) << "listener " << port_ << " 127.0.0.1\n"
                         << "user root\n"
                         << "persistence false\n"
                         << "log_dest file " << (folder / "mosquitto.log").string() << "\n"
                         << extraConfig;
  Start();
}

MosquittoBroker::~MosquittoBroker() {
  Stop();
}

void MosquittoBroker::Start() {
  const std::string config = config_.string();
  pid_ = ::fork();
  if (pid_ == 0) {
    // Ends with the test, even one that crashed, and never holds the test's output open.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::execl(VESK_MOSQUITTO, VESK_MOSQUITTO, "-c", config.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (pid_ < 0) {
    throw std::runtime_error("cannot start the broker");
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!Accepts(port_)) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      throw std::runtime_error("the broker ended at once");
    }
    if (std::chrono::steady_clock::now() > deadline) {
      throw std::runtime_error("the broker does not listen");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void MosquittoBroker::Stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
}

}  // namespace vesk::test
