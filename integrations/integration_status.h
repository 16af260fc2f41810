#pragma once

#include <functional>
#include <mutex>
#include <string>

namespace vesk {

// How the integrations stand, for the operator: a line for each, kept up to date from any
// thread, and the event log told of every change that matters.
class IntegrationStatus {
 public:
  // Both are called from any thread and must not throw back; the listener gets the whole
  // text after each change.
  using LogLine = std::function<void(const std::string& line)>;
  using Listener = std::function<void(const std::string& text)>;

  explicit IntegrationStatus(LogLine log);

  // Set before the integrations start; it stays until they stopped.
  void SetListener(Listener listener);

  void SetAlpaca(const std::string& text);
  void SetMqtt(const std::string& text);
  // "Alpaca: <its line> | MQTT: <its line>"
  std::string Text() const;
  std::string Alpaca() const;
  std::string Mqtt() const;

  void Log(const std::string& line) const;

 private:
  void Set(std::string& line, const std::string& text);
  void Changed();

  LogLine log_;
  Listener listener_;
  // Protects alpaca_ and mqtt_.
  mutable std::mutex mutex_;
  std::string alpaca_ = "off";
  std::string mqtt_ = "off";
  std::mutex notifyMutex_;
};

}  // namespace vesk
