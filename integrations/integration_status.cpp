#include "integrations/integration_status.h"

#include <utility>

namespace vesk {

IntegrationStatus::IntegrationStatus(LogLine log) : log_(std::move(log)) {}

void IntegrationStatus::SetListener(Listener listener) {
  listener_ = std::move(listener);
}

void IntegrationStatus::SetAlpaca(const std::string& text) {
  Set(alpaca_, text);
}

void IntegrationStatus::SetMqtt(const std::string& text) {
  Set(mqtt_, text);
}

void IntegrationStatus::Set(std::string& line, const std::string& text) {
  {
    std::lock_guard lock(mutex_);
    if (line == text) {
      return;
    }
    line = text;
  }
  Changed();
}

std::string IntegrationStatus::Text() const {
  std::lock_guard lock(mutex_);
  return "Alpaca: " + alpaca_ + " | MQTT: " + mqtt_;
}

std::string IntegrationStatus::Alpaca() const {
  std::lock_guard lock(mutex_);
  return alpaca_;
}

std::string IntegrationStatus::Mqtt() const {
  std::lock_guard lock(mutex_);
  return mqtt_;
}

void IntegrationStatus::Log(const std::string& line) const {
  if (!log_) {
    return;
  }
  try {
    log_(line);
  } catch (...) {
    // A log file that cannot be written must not stop a server's thread.
  }
}

void IntegrationStatus::Changed() {
  if (!listener_) {
    return;
  }
  // One change told at a time, so the listener never gets an older text after a newer one.
  std::lock_guard lock(notifyMutex_);
  try {
    listener_(Text());
  } catch (...) {
    // The status is shown again with the next change.
  }
}

}  // namespace vesk
