// The MQTT publisher against Debian's mosquitto broker on 127.0.0.1.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <future>
#include <nlohmann/json.hpp>

#include "integrations/integrations.h"
#include "tests/integrations/mosquitto_broker.h"
#include "tests/integrations/mqtt_probe.h"
#include "tests/integrations/polled_station.h"

namespace vesk {
namespace {

using nlohmann::json;
using test::MosquittoBroker;
using test::MqttProbe;

constexpr char kState[] = "vesk/127512/state";
constexpr char kAvailability[] = "vesk/127512/availability";

TMqttSettings Mqtt(int port) {
  return {true, "127.0.0.1", port, "", "", ""};
}

// The status texts as they change, for a test to wait on. Made before the integrations, so
// it outlives their threads.
class StatusWatch {
 public:
  IntegrationStatus::Listener Listener() {
    return [this](const std::string& text) {
      {
        std::lock_guard lock(mutex_);
        text_ = text;
      }
      changed_.notify_all();
    };
  }
  bool WaitFor(const std::string& part) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20),
                             [&] { return text_.find(part) != std::string::npos; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string text_;
};

struct LogLines {
  IntegrationsOptions Options() {
    IntegrationsOptions options;
    options.log = [this](const std::string& line) {
      std::lock_guard lock(mutex);
      lines.push_back(line);
    };
    options.mqttLongestPause = std::chrono::seconds(2);
    return options;
  }
  bool Holds(const std::string& line) {
    std::lock_guard lock(mutex);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  std::mutex mutex;
  std::vector<std::string> lines;
};

BoardReading Reading(double tempExt) {
  BoardReading reading;
  reading.TypeCam = 34;
  reading.Version = 3.5;
  reading.SerialNumber = "127512";
  reading.data.infosRec.TempExt = tempExt;
  return reading;
}

// The state holding this outside temperature.
std::function<bool(const std::string&)> HoldsTemp(double tempExt) {
  return [tempExt](const std::string& payload) {
    const json state = json::parse(payload, nullptr, false);
    return state.is_object() && state.value("TempExt", -1000.0) == tempExt;
  };
}

TEST(MqttBroker, StateAndDiscoveryConfigsAfterAPoll) {
  test::TempFolder folder;
  MosquittoBroker broker(folder.path());
  MqttProbe probe(broker.port());
  test::PolledStation station;
  LogLines log;
  TIntegrations integrations({}, Mqtt(broker.port()), log.Options());
  integrations.Start();
  station.SetHandOver([&](const BoardReading& reading) { integrations.PollArrived(reading); });
  const auto polled = station.Poll();
  ASSERT_TRUE(polled);
  const TDataOUT& out = polled->data;

  const auto state = probe.WaitFor(kState, HoldsTemp(out.infosRec.TempExt));
  ASSERT_TRUE(state);
  const auto fields = nlohmann::ordered_json::parse(*state);
  std::vector<std::string> names;
  for (const auto& [name, value] : fields.items()) {
    names.push_back(name);
  }
  // The names vesk-cli poll --json prints, in its order.
  EXPECT_EQ(names,
            (std::vector<std::string>{
                "TempExt", "RHExt", "TempInt", "RHInt", "TempHot", "Pressure", "Windir",
                "WindSpeed", "ActiveHeater", "AutoTempRH_Heat", "PowerHeaterLevel", "StatusSensor",
                "ValueFan", "StatusCooler", "PresenceAF", "FirstByteAF", "lensID", "LensName"}));
  EXPECT_EQ(fields["RHExt"], out.infosRec.RHExt);
  EXPECT_EQ(fields["Pressure"], out.infosRec.Pressure);
  EXPECT_EQ(fields["WindSpeed"], out.infosRec.WindSpeed);
  EXPECT_EQ(fields["PowerHeaterLevel"], out.PowerHeaterLevel);
  EXPECT_EQ(probe.WaitFor(kAvailability), "online");

  // One config per reading of this model, all under one device; the readings it lacks
  // have their entity removed.
  const std::string node = "homeassistant/sensor/vesk_127512/";
  ASSERT_TRUE(probe.WaitFor(node + "windir/config"));
  const auto latest = probe.Latest();
  const struct {
    const char* object;
    bool measured;
    const char* deviceClass;
    const char* unit;
    const char* field;
  } readings[] = {
      {"tempext", true, "temperature", "°C", "TempExt"},
      {"rhext", true, "humidity", "%", "RHExt"},
      {"tempint", true, "temperature", "°C", "TempInt"},
      {"rhint", polled->DisplayRH_int, "humidity", "%", "RHInt"},
      {"temphot", polled->DisplayTempHot, "temperature", "°C", "TempHot"},
      {"pressure", true, "pressure", "hPa", "Pressure"},
      {"windspeed", true, "wind_speed", "km/h", "WindSpeed"},
      {"windir", true, nullptr, "°", "Windir"},
  };
  json device;
  for (const auto& r : readings) {
    const std::string topic = node + r.object + "/config";
    ASSERT_TRUE(probe.WaitFor(topic)) << topic;
    const std::string payload = probe.Latest().at(topic);
    if (!r.measured) {
      EXPECT_EQ(payload, "") << topic;
      continue;
    }
    const json config = json::parse(payload);
    EXPECT_EQ(config["unique_id"], std::string("vesk_127512_") + r.object);
    EXPECT_EQ(config["state_topic"], kState);
    EXPECT_EQ(config["availability_topic"], kAvailability);
    EXPECT_EQ(config["value_template"], std::string("{{ value_json.") + r.field + " }}");
    EXPECT_EQ(config["unit_of_measurement"], r.unit);
    EXPECT_EQ(config["state_class"], "measurement");
    EXPECT_EQ(config.contains("device_class"), r.deviceClass != nullptr) << topic;
    if (r.deviceClass) {
      EXPECT_EQ(config["device_class"], r.deviceClass);
    }
    EXPECT_FALSE(config.value("name", "").empty());
    if (device.is_null()) {
      device = config["device"];
    }
    EXPECT_EQ(config["device"], device) << "one device for the board";
  }
  EXPECT_EQ(device["identifiers"], json::array({"vesk_127512"}));
  EXPECT_EQ(device["sw_version"], "3.5");
  EXPECT_FALSE(device.value("model", "").empty());

  // The next poll replaces the state; stopping says offline.
  station.SetBoardTime(test::kNight);
  const auto next = station.Poll();
  ASSERT_TRUE(next);
  EXPECT_TRUE(probe.WaitFor(kState, HoldsTemp(next->data.infosRec.TempExt)));
  integrations.Stop();
  EXPECT_TRUE(probe.WaitFor(kAvailability, [](const std::string& p) { return p == "offline"; }));
  EXPECT_EQ(integrations.StatusText(), "Alpaca: off | MQTT: off");
}

TEST(MqttBroker, LastWillWhenThePublisherIsKilled) {
  test::TempFolder folder;
  MosquittoBroker broker(folder.path());
  // The publisher lives in a child, as a station would in its own process; the parent has
  // no thread yet, so the child starts clean.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Ends with the test, even one that fails before it kills it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    TIntegrations integrations({}, Mqtt(broker.port()));
    integrations.Start();
    integrations.PollArrived(Reading(12.5));
    for (;;) {
      ::pause();
    }
  }
  MqttProbe probe(broker.port());
  const bool online =
      probe.WaitFor(kAvailability, [](const std::string& p) { return p == "online"; }).has_value();
  const bool published = probe.WaitFor(kState, HoldsTemp(12.5)).has_value();
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ASSERT_TRUE(online);
  ASSERT_TRUE(published);
  EXPECT_TRUE(probe.WaitFor(kAvailability, [](const std::string& p) { return p == "offline"; }))
      << "the broker tells the will";
  EXPECT_TRUE(MqttProbe(broker.port()).WaitFor(kAvailability, [](const std::string& p) {
    return p == "offline";
  })) << "retained for those who come later";
}

TEST(MqttBroker, ABrokerRestartLosesNoState) {
  test::TempFolder folder;
  MosquittoBroker broker(folder.path());
  LogLines log;
  StatusWatch status;
  TIntegrations integrations({}, Mqtt(broker.port()), log.Options());
  integrations.SetStatusListener(status.Listener());
  integrations.Start();
  integrations.PollArrived(Reading(10.25));
  {
    MqttProbe probe(broker.port());
    ASSERT_TRUE(probe.WaitFor(kState, HoldsTemp(10.25)));
  }

  broker.Stop();
  ASSERT_TRUE(status.WaitFor("was lost"));
  // Taken while the broker is away: it must reach the broker once it is back.
  integrations.PollArrived(Reading(11.75));
  broker.Start();
  ASSERT_TRUE(status.WaitFor("publishing to"));
  MqttProbe probe(broker.port());
  EXPECT_TRUE(probe.WaitFor(kState, HoldsTemp(11.75)));
  EXPECT_EQ(probe.WaitFor(kAvailability), "online");
  EXPECT_TRUE(probe.WaitFor("homeassistant/sensor/vesk_127512/tempext/config"))
      << "a broker without persistence forgot the configs";
  const std::string where = "127.0.0.1:" + std::to_string(broker.port());
  EXPECT_TRUE(
      log.Holds("MQTT: the connection to the broker at " + where + " was lost, trying again"));
  EXPECT_TRUE(log.Holds("MQTT: connected to " + where + ", publishing under vesk/127512"));
}

// The operator disconnects: the board's availability goes "offline" and stays so, also for
// a subscriber that comes later and across a new connection to the broker, until the next
// poll brings it back.
TEST(MqttBroker, AvailabilityFollowsTheBoardsLink) {
  test::TempFolder folder;
  MosquittoBroker broker(folder.path());
  MqttProbe probe(broker.port());
  LogLines log;
  StatusWatch status;
  TIntegrations integrations({}, Mqtt(broker.port()), log.Options());
  integrations.SetStatusListener(status.Listener());
  integrations.Start();
  const auto is = [](const char* text) {
    return [text](const std::string& payload) { return payload == text; };
  };
  integrations.PollArrived(Reading(10.25));
  ASSERT_TRUE(probe.WaitFor(kAvailability, is("online")));

  integrations.LinkClosed();
  EXPECT_TRUE(probe.WaitFor(kAvailability, is("offline")));
  {
    MqttProbe later(broker.port());
    EXPECT_EQ(later.WaitFor(kAvailability), "offline") << "retained";
  }
  broker.Stop();
  ASSERT_TRUE(status.WaitFor("was lost"));
  broker.Start();
  ASSERT_TRUE(status.WaitFor("publishing to"));
  {
    MqttProbe afterRestart(broker.port());
    ASSERT_TRUE(afterRestart.WaitFor(kState, HoldsTemp(10.25)));
    EXPECT_EQ(afterRestart.Latest()[kAvailability], "offline")
        << "everything sent again, the board still away";
  }

  MqttProbe reconnected(broker.port());
  integrations.PollArrived(Reading(11.75));
  EXPECT_TRUE(reconnected.WaitFor(kState, HoldsTemp(11.75)));
  EXPECT_TRUE(reconnected.WaitFor(kAvailability, is("online")));
}

// The publisher's thread held where it tells its status, just before it reaches for the
// broker: the polls still come and go, and the newest of them is what reaches the broker
// once the thread moves on.
TEST(MqttBroker, APollNeverWaitsOnThePublisher) {
  test::TempFolder folder;
  MosquittoBroker broker(folder.path());
  MqttProbe probe(broker.port());
  std::promise<void> release;
  const std::shared_future<void> released = release.get_future().share();
  std::promise<void> holding;
  bool held = false;  // the publisher's thread alone
  TIntegrations integrations({}, Mqtt(broker.port()));
  integrations.SetStatusListener([&](const std::string& text) {
    if (!held && text.find("MQTT: connecting to") != std::string::npos) {
      held = true;
      holding.set_value();
      released.wait();
    }
  });
  integrations.Start();
  test::PolledStation station;
  station.SetHandOver([&](const BoardReading& reading) { integrations.PollArrived(reading); });
  ASSERT_TRUE(station.Poll());
  ASSERT_EQ(holding.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);

  // A poll that waited on the held thread would never end: the guard gives up instead.
  station.SetBoardTime(test::kNight);
  auto polls = std::async(std::launch::async, [&] {
    station.Poll();
    return station.Poll();
  });
  const bool polled = polls.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
  release.set_value();
  ASSERT_TRUE(polled) << "a poll waited on the publisher";
  const auto newest = polls.get();
  ASSERT_TRUE(newest);
  EXPECT_TRUE(probe.WaitFor(kState, HoldsTemp(newest->data.infosRec.TempExt)));
}

TEST(MqttBroker, ARefusalIsReportedAndLogged) {
  test::TempFolder folder;
  MosquittoBroker broker(folder.path(), "allow_anonymous false\n");
  LogLines log;
  StatusWatch status;
  TIntegrations integrations({}, Mqtt(broker.port()), log.Options());
  integrations.SetStatusListener(status.Listener());
  integrations.Start();
  EXPECT_EQ(integrations.StatusText(), "Alpaca: off | MQTT: waiting for the board's first poll");
  integrations.PollArrived(Reading(12.5));
  const std::string refused = "the broker at 127.0.0.1:" + std::to_string(broker.port()) +
                              " refused the connection (Connection Refused: not authorised.)";
  ASSERT_TRUE(status.WaitFor(refused));
  EXPECT_FALSE(integrations.MqttConnected());
  EXPECT_TRUE(log.Holds("MQTT: " + refused + ", trying again"));

  // Settings that cannot work are said at once.
  TMqttSettings wildcard = Mqtt(broker.port());
  wildcard.Topic = "vesk/#";
  TIntegrations bad({}, wildcard, log.Options());
  bad.Start();
  EXPECT_EQ(bad.StatusText(),
            "Alpaca: off | MQTT: not started, \"vesk/#\" is not a topic to publish under");
}

}  // namespace
}  // namespace vesk
