#include "tests/integrations/mqtt_probe.h"

#include <mosquitto.h>

#include <stdexcept>

namespace vesk::test {

MqttProbe::MqttProbe(int port) {
  mosquitto_lib_init();
  client_ = mosquitto_new(nullptr, true, this);
  mosquitto_message_callback_set(client_, &MqttProbe::OnMessage);
  mosquitto_subscribe_callback_set(client_, &MqttProbe::OnSubscribe);
  mosquitto_connect_callback_set(client_, [](struct mosquitto* client, void*, int code) {
    if (code == 0) {
      mosquitto_subscribe(client, nullptr, "#", 1);
    }
  });
  if (mosquitto_connect(client_, "127.0.0.1", port, 30) != MOSQ_ERR_SUCCESS ||
      mosquitto_loop_start(client_) != MOSQ_ERR_SUCCESS) {
    mosquitto_destroy(client_);
    throw std::runtime_error("the probe cannot reach the broker");
  }
  std::unique_lock lock(mutex_);
  if (!arrived_.wait_for(lock, std::chrono::seconds(20), [this] { return subscribed_; })) {
    lock.unlock();
    mosquitto_disconnect(client_);
    mosquitto_loop_stop(client_, false);
    mosquitto_destroy(client_);
    throw std::runtime_error("the probe could not subscribe");
  }
}

MqttProbe::~MqttProbe() {
  mosquitto_disconnect(client_);
  mosquitto_loop_stop(client_, false);
  mosquitto_destroy(client_);
}

void MqttProbe::OnMessage(struct mosquitto*, void* self, const struct mosquitto_message* message) {
  auto& probe = *static_cast<MqttProbe*>(self);
  {
    std::lock_guard lock(probe.mutex_);
    probe.latest_[message->topic] = std::string(static_cast<const char*>(message->payload),
                                                static_cast<std::size_t>(message->payloadlen));
  }
  probe.arrived_.notify_all();
}

void MqttProbe::OnSubscribe(struct mosquitto*, void* self, int, int, const int*) {
  auto& probe = *static_cast<MqttProbe*>(self);
  {
    std::lock_guard lock(probe.mutex_);
    probe.subscribed_ = true;
  }
  probe.arrived_.notify_all();
}

std::optional<std::string> MqttProbe::WaitFor(const std::string& topic,
                                              const std::function<bool(const std::string&)>& accept,
                                              std::chrono::seconds deadline) {
  std::unique_lock lock(mutex_);
  const bool came = arrived_.wait_for(lock, deadline, [&] {
    const auto found = latest_.find(topic);
    return found != latest_.end() && accept(found->second);
  });
  return came ? std::optional(latest_.at(topic)) : std::nullopt;
}

std::map<std::string, std::string> MqttProbe::Latest() const {
  std::lock_guard lock(mutex_);
  return latest_;
}

}  // namespace vesk::test
