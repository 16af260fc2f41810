#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace vesk::test {

// Debian's mosquitto broker on a free port of 127.0.0.1, started and stopped by the test.
class MosquittoBroker {
 public:
  // extraConfig: lines added to the configuration (anonymous clients are let in unless it
  // says otherwise).
  explicit MosquittoBroker(const std::filesystem::path& folder, std::string extraConfig = "");
  ~MosquittoBroker();
  MosquittoBroker(const MosquittoBroker&) = delete;
  MosquittoBroker& operator=(const MosquittoBroker&) = delete;

  // Returns once the broker accepts connections; the same port each time.
  void Start();
  // Returns once the broker has ended.
  void Stop();
  int port() const { return port_; }

 private:
  std::filesystem::path config_;
  int port_ = 0;
  pid_t pid_ = -1;
};

}  // namespace vesk::test
