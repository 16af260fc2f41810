#include "sim/sim_options.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/exceptions.h"
#include "sim/model_presets.h"

namespace vesk::sim {
namespace {

using ::testing::HasSubstr;

TEST(SimOptions, DefaultsAreTheWeatherAndLensModelOnCom3) {
  const SimOptions o = ParseSimOptions({});
  EXPECT_EQ(o.port, 3);
  EXPECT_TRUE(o.folder.empty());
  EXPECT_EQ(o.setup.identity.type, 34);
  EXPECT_EQ(o.setup.identity.major, 3);
  EXPECT_EQ(o.setup.identity.minor, 5);
  EXPECT_EQ(o.setup.identity.serial, "127512");
  EXPECT_TRUE(o.setup.lens.present);
  EXPECT_FALSE(o.setup.faults.silent);
  EXPECT_FALSE(o.help);
}

TEST(SimOptions, EveryOptionTakesItsValue) {
  const SimOptions o = ParseSimOptions({"--port",
                                        "7",
                                        "--folder=/tmp/x",
                                        "--model",
                                        "0x17",
                                        "--firmware",
                                        "2.20",
                                        "--feature",
                                        "5",
                                        "--serial",
                                        "130001",
                                        "--no-lens",
                                        "--lens-id",
                                        "0x81AE",
                                        "--lens-codes",
                                        "0xEC,0x6C",
                                        "--lens-name",
                                        "EF 50mm",
                                        "--lens-name-unknown",
                                        "--seed",
                                        "42",
                                        "--speed",
                                        "60",
                                        "--outside",
                                        "-3.5,96",
                                        "--silent",
                                        "--delay",
                                        "2500",
                                        "--bad-checksum-every",
                                        "3",
                                        "--bad-start",
                                        "--short-reply",
                                        "--long-length",
                                        "--refuse-settings",
                                        "--record",
                                        "/tmp/x/orders.txt",
                                        "--data-ext-length",
                                        "16",
                                        "--converter-faulted",
                                        "--fault-mix",
                                        "15",
                                        "--help"});
  EXPECT_EQ(o.port, 7);
  EXPECT_EQ(o.folder, "/tmp/x");
  const BoardIdentity& id = o.setup.identity;
  EXPECT_EQ(id.type, 23);
  EXPECT_EQ(id.major, 2);
  EXPECT_EQ(id.minor, 20);
  EXPECT_EQ(id.feature, 5);
  EXPECT_EQ(id.serial, "130001");
  const LensSetup& lens = o.setup.lens;
  EXPECT_FALSE(lens.present);
  EXPECT_EQ(lens.id, 0x81AE);
  EXPECT_EQ(lens.apertureCodeA, 0xEC);
  EXPECT_EQ(lens.apertureCodeB, 0x6C);
  EXPECT_EQ(lens.name, "EF 50mm");
  EXPECT_FALSE(lens.knowsNameOrder);
  EXPECT_EQ(o.setup.seed, 42u);
  EXPECT_EQ(o.speed, 60);
  ASSERT_TRUE(o.setup.outsideAir);
  EXPECT_EQ(o.setup.outsideAir->celsius, -3.5);
  EXPECT_EQ(o.setup.outsideAir->percent, 96);
  const BoardFaults& faults = o.setup.faults;
  EXPECT_TRUE(faults.silent);
  EXPECT_EQ(faults.delay, std::chrono::milliseconds(2500));
  EXPECT_EQ(faults.badChecksumEvery, 3u);
  EXPECT_TRUE(faults.badStart);
  EXPECT_TRUE(faults.shortReply);
  EXPECT_TRUE(faults.overLongLength);
  EXPECT_TRUE(faults.refuseSettings);
  EXPECT_EQ(o.record, "/tmp/x/orders.txt");
  EXPECT_EQ(faults.dataExtLength, 16u);
  EXPECT_TRUE(faults.converterFaulted);
  EXPECT_EQ(faults.mixPercent, 15u);
  EXPECT_TRUE(o.help);
}

TEST(SimOptions, FirmwareMinorIsTakenAsWritten) {
  EXPECT_EQ(ParseSimOptions({"--firmware", "2.2"}).setup.identity.minor, 2);
  EXPECT_EQ(ParseSimOptions({"--firmware", "2.20"}).setup.identity.minor, 20);
  EXPECT_EQ(ParseSimOptions({"--firmware", "1.5"}).setup.identity.major, 1);
}

TEST(SimOptions, PresetComesFirstWhateverTheOrder) {
  const SimOptions o = ParseSimOptions({"--firmware", "3.1", "--preset", "brisa"});
  EXPECT_EQ(o.setup.identity.type, 5);
  EXPECT_EQ(o.setup.identity.major, 3);
  EXPECT_EQ(o.setup.identity.minor, 1);
  for (const ModelPreset& p : ModelPresets()) {
    EXPECT_EQ(ParseSimOptions({"--preset", std::string(p.name)}).setup.identity.type, p.type);
  }
}

TEST(SimOptions, BadOptionsAreNamed) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--port", "0"}, "--port: '0' is not a number from 1 to 255"},
      {{"--port"}, "--port: needs a value"},
      {{"--model", "300"}, "--model: '300' is not a number from 0 to 255"},
      {{"--firmware", "3"}, "--firmware: '3' is not MAJOR.MINOR"},
      {{"--firmware", "3.x"}, "--firmware: 'x' is not a number from 0 to 255"},
      {{"--serial", "12751"}, "--serial: '12751' is not six digits"},
      {{"--serial", "12751a"}, "--serial: '12751a' is not six digits"},
      {{"--lens-codes", "32"}, "--lens-codes: '32' is not two codes A,B"},
      {{"--preset", "astel99"}, "--preset: no model is called 'astel99' (see --help)"},
      {{"--speed", "-2"}, "--speed: '-2' is not a factor above 0"},
      {{"--outside", "12"}, "--outside: '12' is not C,RH (-60 to 80 °C, 0 to 100 %)"},
      {{"--outside", "12,101"}, "--outside: '12,101' is not C,RH (-60 to 80 °C, 0 to 100 %)"},
      {{"--bad-checksum-every", "0"},
       "--bad-checksum-every: '0' is not a number from 1 to 1000000"},
      {{"--data-ext-length", "20"}, "--data-ext-length: '20' is not a number from 1 to 19"},
      {{"--fault-mix", "101"}, "--fault-mix: '101' is not a number from 0 to 100"},
      {{"--silent=yes"}, "--silent: takes no value"},
      {{"--colour"}, "--colour: unknown option (see --help)"},
      {{"COM3"}, "COM3: unknown option (see --help)"},
  };
  for (const auto& [args, message] : cases) {
    try {
      ParseSimOptions(args);
      ADD_FAILURE() << message << ": accepted";
    } catch (const Exception& e) {
      EXPECT_EQ(e.message(), message);
    }
  }
}

TEST(SimOptions, HelpNamesEveryOptionAndPreset) {
  const std::string usage = SimUsage();
  for (const char* option : {"--port",
                             "--folder",
                             "--preset",
                             "--model",
                             "--firmware",
                             "--feature",
                             "--serial",
                             "--seed",
                             "--speed",
                             "--no-lens",
                             "--lens-id",
                             "--lens-codes",
                             "--lens-name",
                             "--lens-name-unknown",
                             "--silent",
                             "--delay",
                             "--bad-checksum-every",
                             "--bad-start",
                             "--short-reply",
                             "--long-length",
                             "--refuse-settings",
                             "--record",
                             "--data-ext-length",
                             "--converter-faulted",
                             "--fault-mix",
                             "--help"}) {
    EXPECT_THAT(usage, HasSubstr(std::string("  ") + option + " ")) << option;
  }
  for (const ModelPreset& p : ModelPresets()) {
    EXPECT_THAT(usage, HasSubstr("  " + std::string(p.name) + " ")) << p.name;
  }
}

}  // namespace
}  // namespace vesk::sim
