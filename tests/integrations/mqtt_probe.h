#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct mosquitto;
struct mosquitto_message;

namespace vesk::test {

// A subscriber to every topic of a broker, keeping what arrives so a test can wait for it.
class MqttProbe {
 public:
  // Returns once subscribed: retained messages follow at once.
  explicit MqttProbe(int port);
  ~MqttProbe();
  MqttProbe(const MqttProbe&) = delete;
  MqttProbe& operator=(const MqttProbe&) = delete;

  // The newest payload of the topic once `accept` takes it, or none after the deadline.
  std::optional<std::string> WaitFor(
      const std::string& topic,
      const std::function<bool(const std::string&)>& accept =
          [](const std::string&) { return true; },
      std::chrono::seconds deadline = std::chrono::seconds(20));
  // Every topic with the newest payload that came on it (an empty one included).
  std::map<std::string, std::string> Latest() const;

 private:
  static void OnMessage(struct mosquitto*, void* self, const struct mosquitto_message* message);
  static void OnSubscribe(struct mosquitto*, void* self, int, int, const int*);

  struct mosquitto* client_ = nullptr;
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::map<std::string, std::string> latest_;
  bool subscribed_ = false;
};

}  // namespace vesk::test
