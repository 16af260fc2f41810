// The Alpaca server over real HTTP on 127.0.0.1, fed by a station polling the simulated board.
#include <gtest/gtest.h>

#include <algorithm>

#include "integrations/observing_sensors.h"
#include "plots/dew_point.h"
#include "tests/integrations/alpaca_rig.h"
#include "tests/integrations/loopback_client.h"

namespace vesk {
namespace {

using std::chrono::milliseconds;
using test::AlpacaRig;

constexpr char kObserving[] = "/api/v1/observingconditions/0/";
constexpr char kSafety[] = "/api/v1/safetymonitor/0/";

std::string Observing(const std::string& member) {
  return kObserving + member;
}

sim::BoardIdentity Model(std::uint8_t type, std::string serial = "127512") {
  return {3, 5, type, 0, std::move(serial)};
}

// The value of a GET that succeeded, or a failure naming what came instead.
nlohmann::json ValueOf(const AlpacaRig::Answer& answer) {
  EXPECT_EQ(answer.status, 200) << answer.body;
  EXPECT_EQ(answer.json.value("ErrorNumber", -1), 0) << answer.body;
  return answer.json.contains("Value") ? answer.json["Value"] : nlohmann::json();
}

int ErrorOf(const AlpacaRig::Answer& answer) {
  EXPECT_EQ(answer.status, 200) << answer.body;
  return answer.json.value("ErrorNumber", -1);
}

TEST(AlpacaHttp, ObservingConditionsAnswerThePoll) {
  AlpacaRig rig(Model(34));
  rig.ConnectDevices();
  const auto polled = rig.station().Poll();
  ASSERT_TRUE(polled);
  const TinfosRec& rec = polled->data.infosRec;
  ASSERT_GT(rec.WindSpeed, 0);

  EXPECT_EQ(ValueOf(rig.Get(Observing("temperature"))), rec.TempExt);
  EXPECT_EQ(ValueOf(rig.Get(Observing("humidity"))), rec.RHExt);
  EXPECT_EQ(ValueOf(rig.Get(Observing("dewpoint"))), DewPoint(rec.TempExt, rec.RHExt));
  // The record holds the pressure reduced to sea level (a factor of about 1.0659 at the
  // board's fixed 550 m); the standard asks for the pressure at the station.
  EXPECT_NEAR(ValueOf(rig.Get(Observing("pressure"))).get<double>(), rec.Pressure / 1.0659, 0.05);
  EXPECT_NEAR(ValueOf(rig.Get(Observing("windspeed"))).get<double>() * 3.6, rec.WindSpeed, 1e-9);
  EXPECT_EQ(ValueOf(rig.Get(Observing("winddirection"))), rec.Windir);
  EXPECT_EQ(ValueOf(rig.Get(Observing("averageperiod"))), 0.0);
  EXPECT_EQ(ValueOf(rig.Get(Observing("timesincelastupdate?SensorName="))), 0.0);
  rig.Advance(milliseconds(2500));
  EXPECT_EQ(ValueOf(rig.Get(Observing("timesincelastupdate?SensorName=Temperature"))), 2.5);
  EXPECT_NE(ValueOf(rig.Get(Observing("sensordescription?SensorName=WindSpeed"))), "");
  EXPECT_EQ(ValueOf(rig.Put(Observing("averageperiod"), "AveragePeriod=0")), nullptr);
  EXPECT_EQ(ValueOf(rig.Put(Observing("refresh"), "")), nullptr);
  EXPECT_EQ(ValueOf(rig.Get(std::string(kSafety) + "issafe")), true) << "a dry afternoon";

  for (const char* member : {"connected", "name", "description", "driverinfo", "driverversion"}) {
    EXPECT_FALSE(ValueOf(rig.Get(Observing(member))).is_null()) << member;
  }
  EXPECT_EQ(ValueOf(rig.Get(Observing("interfaceversion"))), 1);
  EXPECT_EQ(ValueOf(rig.Get(Observing("supportedactions"))), nlohmann::json::array());
}

TEST(AlpacaHttp, WhatTheBoardCannotTellIsAnErrorInTheBody) {
  const struct {
    const char* what;
    std::uint8_t model;
    bool connect, poll;
    std::string request;
    int error;
  } cases[] = {
      {"no weather module: pressure", 3, true, true, "pressure", 0x400},
      {"no weather module: wind speed", 3, true, true, "windspeed", 0x400},
      {"no weather module: wind direction", 3, true, true, "winddirection", 0x400},
      {"no weather module: about pressure", 3, true, true, "sensordescription?SensorName=Pressure",
       0x400},
      {"no weather module: age of the wind", 3, true, true,
       "timesincelastupdate?SensorName=WindSpeed", 0x400},
      {"no board has one", 34, true, true, "cloudcover", 0x400},
      {"no board has one", 34, true, true, "skyquality", 0x400},
      {"no board has one", 34, true, true, "sensordescription?SensorName=RainRate", 0x400},
      {"no such sensor", 34, true, true, "sensordescription?SensorName=Rain", 0x401},
      {"not connected", 34, false, true, "temperature", 0x407},
      {"no poll yet", 34, true, false, "temperature", 0x40B},
      {"no poll yet", 34, true, false, "timesincelastupdate?SensorName=", 0x40B},
  };
  for (const auto& c : cases) {
    AlpacaRig rig(Model(c.model));
    if (c.connect) {
      rig.ConnectDevices();
    }
    if (c.poll) {
      ASSERT_TRUE(rig.station().Poll());
    }
    const auto answer = rig.Get(Observing(c.request));
    EXPECT_EQ(ErrorOf(answer), c.error) << c.what << ": " << c.request;
    EXPECT_NE(answer.json.value("ErrorMessage", ""), "") << c.what;
    EXPECT_FALSE(answer.json.contains("Value")) << c.what;
  }

  AlpacaRig rig(Model(34));
  rig.ConnectDevices();
  ASSERT_TRUE(rig.station().Poll());
  EXPECT_EQ(ErrorOf(rig.Put(Observing("averageperiod"), "AveragePeriod=1")), 0x401)
      << "the readings are instantaneous";
  EXPECT_EQ(ErrorOf(rig.Put(Observing("action"), "Action=Open&Parameters=")), 0x40C);
  EXPECT_EQ(ErrorOf(rig.Put(Observing("commandblind"), "Command=X&Raw=true")), 0x400);
  rig.Put(Observing("connected"), "Connected=false");
  EXPECT_EQ(ValueOf(rig.Get(Observing("connected"))), false);
  EXPECT_EQ(ValueOf(rig.Get(std::string(kSafety) + "issafe")), true)
      << "each device has its own connection";
  rig.Put(std::string(kSafety) + "connected", "Connected=False");
  EXPECT_EQ(ValueOf(rig.Get(std::string(kSafety) + "issafe")), false)
      << "a client that is not connected is told unsafe";
}

TEST(AlpacaHttp, TransactionIdsAndParameterNames) {
  AlpacaRig rig;
  rig.ConnectDevices();
  ASSERT_TRUE(rig.station().Poll());

  const auto first = rig.Get(Observing("temperature?ClientID=9&ClientTransactionID=41"));
  const auto second = rig.Get(Observing("temperature?clientid=9&clienttransactionid=42"));
  const auto third = rig.Get(Observing("temperature"));
  EXPECT_EQ(first.json["ClientTransactionID"], 41);
  EXPECT_EQ(second.json["ClientTransactionID"], 42) << "names of any case on GET";
  EXPECT_EQ(third.json["ClientTransactionID"], 0) << "none sent";
  EXPECT_LT(first.json["ServerTransactionID"].get<std::uint32_t>(),
            second.json["ServerTransactionID"].get<std::uint32_t>());
  EXPECT_LT(second.json["ServerTransactionID"].get<std::uint32_t>(),
            third.json["ServerTransactionID"].get<std::uint32_t>());
  EXPECT_EQ(ValueOf(rig.Get(Observing("sensordescription?SENSORNAME=temperature"))),
            SensorDescription(ObservingSensor::Temperature));

  const auto put = rig.Put(Observing("connected"), "Connected=true&ClientTransactionID=4294967295");
  EXPECT_EQ(put.json["ClientTransactionID"], 4294967295u);
  EXPECT_GT(put.json["ServerTransactionID"].get<std::uint32_t>(),
            third.json["ServerTransactionID"].get<std::uint32_t>());
  EXPECT_FALSE(put.json.contains("Value")) << "a method has no value";
  EXPECT_EQ(rig.Put(Observing("connected"), "connected=true").status, 400) << "PUT names are exact";
}

TEST(AlpacaHttp, MalformedRequestsAreRefusedWith400) {
  AlpacaRig rig;
  rig.ConnectDevices();
  ASSERT_TRUE(rig.station().Poll());
  const struct {
    const char* what;
    bool put;
    std::string path;
    std::string form;
  } cases[] = {
      {"a missing device", false, "/api/v1/observingconditions/1/temperature", ""},
      {"a device number that is no number", false, "/api/v1/safetymonitor/x/issafe", ""},
      {"an unknown device type", false, "/api/v1/telescope/0/connected", ""},
      {"an unknown member", false, Observing("cloudiness"), ""},
      {"a member in capitals", false, Observing("Temperature"), ""},
      {"an unknown API version", false, "/api/v2/observingconditions/0/temperature", ""},
      {"a path too long", false, Observing("temperature/extra"), ""},
      {"an unknown management request", false, "/management/v1/devices", ""},
      {"a transaction id that is no number", false, Observing("temperature?ClientTransactionID=x"),
       ""},
      {"a transaction id past 32 bits", false,
       Observing("temperature?ClientTransactionID=4294967296"), ""},
      {"a negative client id", false, Observing("temperature?ClientID=-1"), ""},
      {"SensorName missing", false, Observing("sensordescription"), ""},
      {"a GET of a method", false, Observing("refresh"), ""},
      {"a PUT of a property", true, Observing("temperature"), "Temperature=3"},
      {"a PUT of the management API", true, "/management/apiversions", ""},
      {"Connected missing", true, Observing("connected"), ""},
      {"Connected neither true nor false", true, Observing("connected"), "Connected=1"},
      {"AveragePeriod no number", true, Observing("averageperiod"), "AveragePeriod=soon"},
      {"a broken escape", true, Observing("connected"), "Connected=%t"},
      {"a bad transaction id on PUT", true, Observing("refresh"), "ClientTransactionID=1e3"},
  };
  for (const auto& c : cases) {
    const auto answer = c.put ? rig.Put(c.path, c.form) : rig.Get(c.path);
    EXPECT_EQ(answer.status, 400) << c.what << ": " << answer.body;
    EXPECT_FALSE(answer.body.empty()) << c.what;
  }
  EXPECT_EQ(rig.Get("/setup").status, 404);
  const auto wrongType =
      rig.Put(Observing("connected"), "{\"Connected\":true}", "application/json");
  EXPECT_EQ(wrongType.status, 400) << "a PUT is form-encoded";
  EXPECT_EQ(ValueOf(rig.Get(Observing("connected"))), true) << "nothing changed the state";
}

// Bytes that are no HTTP at all, and requests past the limits, end their own connection only.
TEST(AlpacaHttp, GarbageLeavesTheServerAnswering) {
  AlpacaRig rig;
  const std::string garbage[] = {
      std::string("\0\xff\xfe garbage\r\n\r\n", 16),
      "GET /api/v1/observingconditions/0/name HTTP/1.1\r\nHost: x\r\nContent-Length: -5\r\n\r\n",
      "PUT " + Observing("connected") +
          " HTTP/1.1\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: "
          "100000\r\n\r\nConnected=true",
      "GET /" + std::string(20000, 'a') + " HTTP/1.1\r\n\r\n",
      "GET /" + std::string(8000, 'a') + " HTTP/1.1\r\n\r\n",
      "PUT /" + std::string(8000, '/') + " HTTP/1.1\r\nContent-Length: 0\r\n\r\n",
      "GET " + Observing("name?ClientTransactionID=%ff%fe%00") + " HTTP/1.1\r\n\r\n",
  };
  for (const std::string& bytes : garbage) {
    ASSERT_TRUE(test::SendRawBytes(rig.integrations().AlpacaPort(), bytes));
  }
  EXPECT_EQ(ValueOf(rig.Get(Observing("name"))), "Vesk weather");
  EXPECT_EQ(ValueOf(rig.Get(Observing("connected"))), false);
}

// One station at a time: each takes the event log to its own folder.
TEST(AlpacaHttp, IsSafeEndsWhenTheBoardGoesSilent) {
  const std::string issafe = std::string(kSafety) + "issafe";
  {
    AlpacaRig rig;
    rig.integrations().SetPollPeriod(milliseconds(10000));
    rig.ConnectDevices();
    EXPECT_EQ(ValueOf(rig.Get(issafe)), false) << "no poll yet";
    ASSERT_TRUE(rig.station().Poll());
    EXPECT_EQ(ValueOf(rig.Get(issafe)), true);

    rig.station().Silence();
    EXPECT_FALSE(rig.station().Poll());
    rig.Advance(milliseconds(30000));
    EXPECT_EQ(ValueOf(rig.Get(issafe)), true) << "the last reading is three periods old";
    rig.Advance(milliseconds(1));
    EXPECT_EQ(ValueOf(rig.Get(issafe)), false);
    EXPECT_EQ(ValueOf(rig.Get(Observing("timesincelastupdate?SensorName="))), 30.001);
  }
  // In fast mode three periods are three seconds.
  AlpacaRig fast;
  fast.integrations().SetPollPeriod(milliseconds(1000));
  fast.ConnectDevices();
  ASSERT_TRUE(fast.station().Poll());
  fast.Advance(milliseconds(3001));
  EXPECT_EQ(ValueOf(fast.Get(issafe)), false);
}

TEST(AlpacaHttp, IsSafeEndsWhenTheHumidityPassesTheLimit) {
  // The dew margin put out of the way: the humidity alone decides.
  AlpacaRig rig({}, AlpacaRig::On(60, -100));
  rig.ConnectDevices();
  const std::string issafe = std::string(kSafety) + "issafe";
  const auto afternoon = rig.station().Poll();
  ASSERT_TRUE(afternoon);
  ASSERT_LT(afternoon->data.infosRec.RHExt, 60);
  EXPECT_EQ(ValueOf(rig.Get(issafe)), true);

  rig.station().SetBoardTime(test::kNight);
  const auto night = rig.station().Poll();
  ASSERT_TRUE(night);
  ASSERT_GE(night->data.infosRec.RHExt, 60);
  EXPECT_EQ(ValueOf(rig.Get(issafe)), false);
}

TEST(AlpacaHttp, ManagementApi) {
  std::string uniqueIds[2];
  {
    AlpacaRig rig;
    EXPECT_EQ(ValueOf(rig.Get("/management/apiversions?ClientTransactionID=3")),
              nlohmann::json::array({1}));
    const auto description = ValueOf(rig.Get("/management/v1/description"));
    for (const char* field : {"ServerName", "Manufacturer", "ManufacturerVersion", "Location"}) {
      EXPECT_TRUE(description.contains(field)) << field;
    }
    // Before the first poll the board's serial number is not known, nor are the identities
    // made from it: no device is listed rather than one whose UniqueID would change.
    EXPECT_EQ(ValueOf(rig.Get("/management/v1/configureddevices")), nlohmann::json::array());
    ASSERT_TRUE(rig.station().Poll());
    const auto devices = ValueOf(rig.Get("/management/v1/configureddevices"));
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0]["DeviceType"], "ObservingConditions");
    EXPECT_EQ(devices[1]["DeviceType"], "SafetyMonitor");
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(devices[i]["DeviceNumber"], 0);
      EXPECT_FALSE(devices[i]["DeviceName"].get<std::string>().empty());
      uniqueIds[i] = devices[i]["UniqueID"];
    }
    EXPECT_NE(uniqueIds[0], uniqueIds[1]);
  }
  // Another run with the same board: the same identities. Another board: others.
  {
    AlpacaRig again;
    ASSERT_TRUE(again.station().Poll());
    const auto devices = ValueOf(again.Get("/management/v1/configureddevices"));
    EXPECT_EQ(devices[0]["UniqueID"], uniqueIds[0]);
    EXPECT_EQ(devices[1]["UniqueID"], uniqueIds[1]);
  }
  AlpacaRig other(Model(34, "654321"));
  ASSERT_TRUE(other.station().Poll());
  EXPECT_NE(ValueOf(other.Get("/management/v1/configureddevices"))[0]["UniqueID"], uniqueIds[0]);
}

TEST(AlpacaHttp, DiscoveryAnswersOnLoopback) {
  AlpacaRig rig;
  ASSERT_NE(rig.integrations().DiscoveryPort(), 0);
  const auto answer = test::AskOverUdp(rig.integrations().DiscoveryPort(), "alpacadiscovery1");
  ASSERT_TRUE(answer) << "no answer";
  const auto json = nlohmann::json::parse(*answer);
  EXPECT_EQ(json, nlohmann::json({{"AlpacaPort", rig.integrations().AlpacaPort()}}));
}

TEST(AlpacaHttp, APortInUseIsReported) {
  AlpacaRig first;
  TAlpacaSettings same = AlpacaRig::On();
  same.Port = first.integrations().AlpacaPort();
  std::vector<std::string> log;
  IntegrationsOptions options;
  options.log = [&log](const std::string& line) { log.push_back(line); };
  options.discoveryPort = 0;
  TIntegrations second(same, {}, options);
  second.Start();
  EXPECT_FALSE(second.AlpacaRunning());
  const std::string reason = "port " + std::to_string(same.Port) + " on 127.0.0.1 is in use";
  EXPECT_EQ(second.StatusText(), "Alpaca: not running, " + reason + " | MQTT: off");
  EXPECT_EQ(log, std::vector<std::string>{"Alpaca server not started: " + reason});
  EXPECT_EQ(ValueOf(first.Get(Observing("name"))), "Vesk weather") << "the first one still runs";

  TAlpacaSettings named = AlpacaRig::On();
  named.Bind = "localhost";
  TIntegrations third(named, {}, options);
  third.Start();
  EXPECT_FALSE(third.AlpacaRunning()) << "listening never waits on a name server";
}

}  // namespace
}  // namespace vesk
