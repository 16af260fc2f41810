// The Windows build: Debian has no MQTT client library for mingw-w64, so the publisher only
// says, when the settings enable it, that it cannot run.
#include "integrations/mqtt_publisher.h"

#include <utility>

namespace vesk {
namespace {

constexpr const char* kNoClient = "the Windows build has no MQTT client";

}  // namespace

MqttPublisher::MqttPublisher(TMqttSettings settings, IntegrationStatus& status,
                             std::chrono::seconds longestPause)
    : settings_(std::move(settings)), status_(status), longestPause_(longestPause) {}

MqttPublisher::~MqttPublisher() = default;

void MqttPublisher::Start() {
  status_.Log(std::string("MQTT not started: ") + kNoClient);
  SetStatus(std::string("not started, ") + kNoClient);
}

void MqttPublisher::Stop() {}

void MqttPublisher::Publish(const BoardReading&) {}

void MqttPublisher::LinkClosed() {}

bool MqttPublisher::Connected() const {
  return false;
}

void MqttPublisher::SetStatus(const std::string& text) {
  status_.SetMqtt(text);
}

}  // namespace vesk
