#include "integrations/mqtt_publisher.h"

#include <fcntl.h>
#include <mosquitto.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "common/number_text.h"
#include "integrations/mqtt_messages.h"

namespace vesk {
namespace {

constexpr int kKeepAliveSeconds = 30;
constexpr int kQos = 1;
// How long the goodbye ("offline", then the disconnection) may take to leave.
constexpr auto kFlushTime = std::chrono::seconds(2);

void InitLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { mosquitto_lib_init(); });
}

// What the broker's configs were made for: a change of any of it sends them again.
std::string IdentityKey(const BoardReading& reading) {
  return reading.SerialNumber + "/" + std::to_string(reading.TypeCam) + "/" +
         FloatToText(reading.Version) + "/" + (reading.DisplayRH_int ? "1" : "0") +
         (reading.DisplayTempHot ? "1" : "0");
}

}  // namespace

MqttPublisher::MqttPublisher(TMqttSettings settings, IntegrationStatus& status,
                             std::chrono::seconds longestPause)
    : settings_(std::move(settings)),
      where_(settings_.Host + ":" + std::to_string(settings_.Port)),
      status_(status),
      longestPause_(longestPause) {
  InitLibrary();
}

MqttPublisher::~MqttPublisher() {
  Stop();
}

void MqttPublisher::Start() {
  Stop();
  std::string problem;
  if (settings_.Host.empty()) {
    problem = "no broker host is set";
  } else if (settings_.Port < 1 || settings_.Port > 65535) {
    problem = "the port " + std::to_string(settings_.Port) + " is not a port";
  } else if (!settings_.Topic.empty() &&
             mosquitto_pub_topic_check(StateTopic(settings_.Topic).c_str()) != MOSQ_ERR_SUCCESS) {
    problem = "\"" + settings_.Topic + "\" is not a topic to publish under";
  } else if (::pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    problem = std::string("no pipe: ") + std::strerror(errno);
  }
  if (!problem.empty()) {
    status_.Log("MQTT: not started, " + problem);
    SetStatus("not started, " + problem);
    return;
  }
  {
    std::lock_guard lock(mutex_);
    stop_ = false;
  }
  SetStatus("waiting for the board's first poll");
  thread_ = std::thread([this] { Run(); });
}

void MqttPublisher::Stop() {
  if (thread_.joinable()) {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
      const char wake = 1;
      [[maybe_unused]] const auto written = ::write(wakePipe_[1], &wake, 1);
    }
    thread_.join();
    SetStatus("off");
  }
  for (int& fd : wakePipe_) {
    if (fd >= 0) {
      ::close(fd);
      fd = -1;
    }
  }
}

void MqttPublisher::Publish(const BoardReading& reading) {
  std::lock_guard lock(mutex_);
  if (stop_) {
    return;
  }
  pending_ = reading;
  // A full pipe already holds a wake-up.
  const char wake = 1;
  [[maybe_unused]] const auto written = ::write(wakePipe_[1], &wake, 1);
}

void MqttPublisher::LinkClosed() {
  std::lock_guard lock(mutex_);
  if (stop_) {
    return;
  }
  pending_.reset();
  closed_ = true;
  const char wake = 1;
  [[maybe_unused]] const auto written = ::write(wakePipe_[1], &wake, 1);
}

bool MqttPublisher::Connected() const {
  std::lock_guard lock(mutex_);
  return connected_;
}

void MqttPublisher::SetStatus(const std::string& text) {
  status_.SetMqtt(text);
}

void MqttPublisher::Run() {
  for (;;) {
    std::optional<BoardReading> reading;
    bool closed = false;
    {
      std::lock_guard lock(mutex_);
      if (stop_) {
        break;
      }
      reading = std::exchange(pending_, std::nullopt);
      closed = std::exchange(closed_, false);
    }
    // A reading still pending was taken after the close: LinkClosed drops the older ones.
    if (closed) {
      BoardOffline();
    }
    if (reading) {
      Adopt(*reading);
    }
    auto wait = std::chrono::milliseconds(-1);  // nothing to do but wait for a reading
    if (client_ && !linkUp_) {
      if (std::chrono::steady_clock::now() >= nextAttempt_) {
        Connect();
      }
      if (!linkUp_) {
        wait = std::chrono::ceil<std::chrono::milliseconds>(
            std::max(nextAttempt_ - std::chrono::steady_clock::now(),
                     std::chrono::steady_clock::duration::zero()));
      }
    }
    if (linkUp_) {
      // The keep-alive wants a look about once a second.
      wait = std::chrono::milliseconds(1000);
    }
    Serve(wait);
  }
  Disconnect();
}

void MqttPublisher::Adopt(const BoardReading& reading) {
  latest_ = reading;
  const bool cameBack = !std::exchange(boardOnline_, true);
  const std::string base = BaseTopic(settings_.Topic, reading);
  if (client_ && base == base_) {
    if (Connected()) {
      if (IdentityKey(reading) != configuredFor_) {
        PublishAll();
      } else {
        if (cameBack) {
          Send(AvailabilityTopic(base_), "online");
        }
        Send(StateTopic(base_), StateJson(reading.data));
      }
    }
    return;
  }
  // Another board: its own topics, and a will on its own availability.
  Disconnect();
  base_ = base;
  const std::string clientId = NodeId(reading) + "_" + std::to_string(::getpid());
  client_ = mosquitto_new(clientId.c_str(), true, this);
  if (!client_) {
    SetStatus("not started, out of memory");
    return;
  }
  if (!settings_.User.empty()) {
    mosquitto_username_pw_set(client_, settings_.User.c_str(), settings_.Pass.c_str());
  }
  const std::string availability = AvailabilityTopic(base_);
  mosquitto_will_set(client_, availability.c_str(), 7, "offline", kQos, true);
  mosquitto_connect_callback_set(client_, &MqttPublisher::OnConnect);
  mosquitto_disconnect_callback_set(client_, &MqttPublisher::OnDisconnect);
  pause_ = std::chrono::seconds(1);
  nextAttempt_ = std::chrono::steady_clock::now();
  configuredFor_.clear();
}

void MqttPublisher::BoardOffline() {
  boardOnline_ = false;
  if (client_ && Connected()) {
    Send(AvailabilityTopic(base_), "offline");
  }
}

void MqttPublisher::Connect() {
  SetStatus("connecting to " + where_);
  refusal_.clear();
  const int code =
      mosquitto_connect_async(client_, settings_.Host.c_str(), settings_.Port, kKeepAliveSeconds);
  if (code == MOSQ_ERR_SUCCESS) {
    linkUp_ = true;
    return;
  }
  const std::string reason =
      code == MOSQ_ERR_ERRNO ? std::strerror(errno) : mosquitto_strerror(code);
  Lost("cannot reach the broker at " + where_ + " (" + reason + ")");
}

void MqttPublisher::Serve(std::chrono::milliseconds wait) {
  pollfd watched[2] = {{wakePipe_[0], POLLIN, 0}, {-1, 0, 0}};
  if (linkUp_) {
    const int socket = mosquitto_socket(client_);
    const auto events = static_cast<short>(POLLIN | (mosquitto_want_write(client_) ? POLLOUT : 0));
    watched[1] = {socket, events, 0};
  }
  if (::poll(watched, 2, static_cast<int>(wait.count())) < 0) {
    return;  // interrupted: the loop comes back here
  }
  if (watched[0].revents != 0) {
    char drained[64];
    while (::read(wakePipe_[0], drained, sizeof drained) > 0) {
    }
  }
  if (!linkUp_) {
    return;
  }
  const bool wasConnected = Connected();
  const short happened = watched[1].revents;
  int code = MOSQ_ERR_SUCCESS;
  if (happened & (POLLIN | POLLERR | POLLHUP)) {
    code = mosquitto_loop_read(client_, 1);
  }
  if (code == MOSQ_ERR_SUCCESS && (happened & POLLOUT) && mosquitto_socket(client_) >= 0) {
    code = mosquitto_loop_write(client_, 1);
  }
  if (code == MOSQ_ERR_SUCCESS && mosquitto_socket(client_) >= 0) {
    code = mosquitto_loop_misc(client_);
  }
  if (code == MOSQ_ERR_SUCCESS && mosquitto_socket(client_) >= 0) {
    return;
  }
  const int error = errno;
  if (!refusal_.empty()) {
    Lost("the broker at " + where_ + " refused the connection (" + refusal_ + ")");
  } else if (wasConnected) {
    Lost("the connection to the broker at " + where_ + " was lost");
  } else {
    Lost("cannot reach the broker at " + where_ + " (" +
         (code == MOSQ_ERR_ERRNO ? std::strerror(error) : mosquitto_strerror(code)) + ")");
  }
}

void MqttPublisher::Lost(const std::string& why) {
  {
    std::lock_guard lock(mutex_);
    connected_ = false;
  }
  linkUp_ = false;
  nextAttempt_ = std::chrono::steady_clock::now() + pause_;
  pause_ = std::min(pause_ * 2, longestPause_);
  // Logged first: whoever watches the status finds the line already written.
  if (why != lastProblem_) {
    status_.Log("MQTT: " + why + ", trying again");
    lastProblem_ = why;
  }
  SetStatus(why + ", trying again");
}

void MqttPublisher::OnConnect(struct mosquitto*, void* self, int code) {
  auto& publisher = *static_cast<MqttPublisher*>(self);
  if (code != 0) {
    publisher.refusal_ = mosquitto_connack_string(code);
    return;
  }
  {
    std::lock_guard lock(publisher.mutex_);
    publisher.connected_ = true;
  }
  publisher.pause_ = std::chrono::seconds(1);
  publisher.lastProblem_.clear();
  publisher.status_.Log("MQTT: connected to " + publisher.where_ + ", publishing under " +
                        publisher.base_);
  publisher.SetStatus("publishing to " + publisher.where_ + " under " + publisher.base_);
  // A broker that restarted has forgotten every retained message: all of it again.
  publisher.PublishAll();
}

void MqttPublisher::OnDisconnect(struct mosquitto*, void* self, int) {
  auto& publisher = *static_cast<MqttPublisher*>(self);
  std::lock_guard lock(publisher.mutex_);
  publisher.connected_ = false;
}

void MqttPublisher::PublishAll() {
  if (!latest_) {
    return;
  }
  Send(AvailabilityTopic(base_), boardOnline_ ? "online" : "offline");
  for (const MqttMessage& config : DiscoveryConfigs(*latest_, base_)) {
    Send(config.topic, config.payload);
  }
  configuredFor_ = IdentityKey(*latest_);
  Send(StateTopic(base_), StateJson(latest_->data));
}

void MqttPublisher::Send(const std::string& topic, const std::string& payload) {
  // Retained: a subscriber that comes later still gets the newest of each.
  mosquitto_publish(client_, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                    payload.data(), kQos, true);
}

void MqttPublisher::Flush() {
  const auto deadline = std::chrono::steady_clock::now() + kFlushTime;
  while (mosquitto_socket(client_) >= 0 && mosquitto_want_write(client_) &&
         std::chrono::steady_clock::now() < deadline) {
    pollfd writable{mosquitto_socket(client_), POLLOUT, 0};
    if (::poll(&writable, 1, 100) > 0 && mosquitto_loop_write(client_, 1) != MOSQ_ERR_SUCCESS) {
      return;
    }
  }
}

void MqttPublisher::Disconnect() {
  if (!client_) {
    return;
  }
  if (Connected()) {
    // Said by ourselves: a clean disconnection makes the broker drop the will.
    Send(AvailabilityTopic(base_), "offline");
    mosquitto_disconnect(client_);
    Flush();
  }
  mosquitto_destroy(client_);
  client_ = nullptr;
  linkUp_ = false;
  std::lock_guard lock(mutex_);
  connected_ = false;
}

}  // namespace vesk
