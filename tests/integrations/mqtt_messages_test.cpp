#include "integrations/mqtt_messages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

namespace vesk {
namespace {

BoardReading Board(std::string serial, std::uint8_t type = 34) {
  BoardReading reading;
  reading.SerialNumber = std::move(serial);
  reading.TypeCam = type;
  reading.Version = 3.5;
  return reading;
}

TEST(MqttMessages, TopicsFromTheSerialNumber) {
  const struct {
    std::string serial, setting;
    std::string node, base;
  } cases[] = {
      {"127512", "", "vesk_127512", "vesk/127512"},
      {"", "", "vesk_unknown", "vesk/unknown"},
      {"xxxxxx", "", "vesk_xxxxxx", "vesk/xxxxxx"},
      // A serial number never brings a wildcard or a level into a topic.
      {"12/#+ 5", "", "vesk_12____5", "vesk/12____5"},
      {"127512", "observatory/camera", "vesk_127512", "observatory/camera"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NodeId(Board(c.serial)), c.node) << c.serial;
    EXPECT_EQ(BaseTopic(c.setting, Board(c.serial)), c.base) << c.serial;
  }
  EXPECT_EQ(StateTopic("vesk/1"), "vesk/1/state");
  EXPECT_EQ(AvailabilityTopic("vesk/1"), "vesk/1/availability");
}

TEST(MqttMessages, StateIsJsonWhateverTheBoardSent) {
  TDataOUT data;
  data.infosRec.TempExt = NAN;
  data.LensName = "EF\xB5\"\n";  // one 8-bit character per byte from the lens
  const auto state = nlohmann::json::parse(StateJson(data));
  EXPECT_TRUE(state["TempExt"].is_null());
  EXPECT_EQ(state["LensName"], "EF\u00B5\"\n");
}

TEST(MqttMessages, ConfigsFollowTheModel) {
  BoardReading plain = Board("127512", 3);
  plain.DisplayRH_int = true;
  std::vector<std::string> measured;
  std::vector<std::string> removed;
  for (const MqttMessage& config : DiscoveryConfigs(plain, "vesk/127512")) {
    (config.payload.empty() ? removed : measured).push_back(config.topic);
  }
  const std::string node = "homeassistant/sensor/vesk_127512/";
  EXPECT_EQ(measured, (std::vector<std::string>{node + "tempext/config", node + "rhext/config",
                                                node + "tempint/config", node + "rhint/config"}));
  EXPECT_EQ(removed, (std::vector<std::string>{node + "temphot/config", node + "pressure/config",
                                               node + "windspeed/config", node + "windir/config"}));
  // A topic set by hand may hold any byte; the configs still come out.
  const auto configs = DiscoveryConfigs(plain, "obs\xFF");
  EXPECT_EQ(nlohmann::json::parse(configs[0].payload)["state_topic"], "obs\uFFFD/state");
}

}  // namespace
}  // namespace vesk
