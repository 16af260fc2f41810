// vesk-cli heating, heater, cooling, identity and bootloader against a running vesk-board-sim:
// the bytes the board received, what is printed, and the refusals that send nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/board_cli.h"

namespace vesk {
namespace {

using test::BoardCli;
using test::CliResult;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::StartsWith;

// The orders of an identification and of one poll of a model without weather module or lens.
const std::string kVersion = "9C";
const std::string kPoll = "9D";

TEST_F(BoardCli, HeatingIsSetReadBackAndShown) {
  ASSERT_NO_FATAL_FAILURE(startBoard(31, {"--preset", "astel5"}));
  const CliResult set = run("heating", {"set", "--temp", "25", "--rh", "80", "--power", "40"});
  EXPECT_EQ(set.exitCode, 0) << set.err;
  EXPECT_THAT(takeOrders(),
              ElementsAre(kVersion, "9F", kPoll, "9E 09 9A 2A 42 01 28", "9F", kPoll));
  EXPECT_THAT(set.out, MatchesRegex("Temperature:      25.0 °C \\(count 2458\\)\n"
                                    "Humidity:         80 % \\(count 10818\\)\n"
                                    "Power max:        40 %\n"
                                    "Automatic:        yes\n"
                                    "Heater:           (on|off)\n"));

  // Values not given keep the board's.
  const CliResult automatic = run("heating", {"set", "--auto", "off", "--json"});
  EXPECT_EQ(automatic.exitCode, 0) << automatic.err;
  EXPECT_THAT(takeOrders(),
              ElementsAre(kVersion, "9F", kPoll, "9E 09 9A 2A 42 00 28", "9F", kPoll));
  EXPECT_THAT(automatic.out,
              MatchesRegex(R"(\{"TempSeuil":25\.01[0-9]*,"gSeuil_Temp_asWord":2458,)"
                           R"("RHSeuil":79\.99[0-9]*,"gSeuil_RH_asWord":10818,)"
                           R"("gPowerHeaterLevel":40,"gAutoTempRH_Heat":false,"gHeaterON":)"
                           R"((true|false)\})"
                           "\n"));

  // Reading alone changes nothing.
  const CliResult read = run("heating");
  EXPECT_EQ(read.exitCode, 0) << read.err;
  EXPECT_THAT(takeOrders(), ElementsAre(kVersion, "9F", kPoll));
  EXPECT_THAT(read.out, HasSubstr("Automatic:        no\n"));

  // Below -50 °C the count's low 16 bits go out.
  EXPECT_EQ(run("heating", {"set", "--temp", "-100"}).exitCode, 0);
  EXPECT_EQ(takeOrders().at(3), "9E F9 9A 2A 42 00 28");
}

TEST_F(BoardCli, HeatingValuesOutOfRangeAreRefusedWithNothingSent) {
  ASSERT_NO_FATAL_FAILURE(startBoard(32, {"--preset", "astel5"}));
  const std::vector<std::vector<std::string>> refused = {
      {"set"},
      {"set", "--temp", "100.5"},
      {"set", "--temp", "1,5"},
      {"set", "--rh", "-1"},
      {"set", "--power", "0"},
      {"set", "--power", "12.5"},
      {"set", "--auto", "yes"},
      {"set", "--temp", "20", "--colour", "red"},
  };
  for (const auto& args : refused) {
    const CliResult result = run("heating", args);
    EXPECT_EQ(result.exitCode, 2) << args.back() << ": " << result.err;
    EXPECT_THAT(result.err, HasSubstr("vesk-cli --help")) << args.back();
  }
  EXPECT_TRUE(takeOrders().empty());
}

TEST_F(BoardCli, RefusingBoardFailsTheHeatingOrders) {
  ASSERT_NO_FATAL_FAILURE(startBoard(33, {"--preset", "astel5", "--refuse-settings"}));
  const CliResult set = run("heating", {"set", "--temp", "25"});
  EXPECT_EQ(set.exitCode, 1);
  EXPECT_EQ(set.err, "Error Message\n");
  EXPECT_EQ(set.out, "");
  // Nothing is read back after the refusal.
  const auto orders = takeOrders();
  ASSERT_FALSE(orders.empty());
  EXPECT_THAT(orders.back(), StartsWith("9E 09 9A "));

  const CliResult heater = run("heater", {"on", "--json"});
  EXPECT_EQ(heater.exitCode, 1);
  EXPECT_EQ(heater.out, "{\"ErrorMes\":\"Link error !!\"}\n");
  EXPECT_THAT(takeOrders(), ElementsAre(kVersion, "A0 01"));
}

TEST_F(BoardCli, HeaterIsForcedOnAndOff) {
  ASSERT_NO_FATAL_FAILURE(startBoard(34, {"--preset", "astel5"}));
  const CliResult on = run("heater", {"on"});
  EXPECT_EQ(on.exitCode, 0) << on.err;
  EXPECT_THAT(takeOrders(), ElementsAre(kVersion, "A0 01"));
  // The board starts in automatic heating, which the forced order does not override.
  EXPECT_EQ(on.out,
            "Forced heater:    on\n"
            "Automatic:        yes\n"
            "(automatic heating is on: the board heats by its thresholds, not by this order)\n");

  const CliResult off = run("heater", {"off", "--json"});
  EXPECT_EQ(off.exitCode, 0) << off.err;
  EXPECT_THAT(takeOrders(), ElementsAre(kVersion, "A0 00"));
  EXPECT_EQ(off.out, "{\"on\":0,\"AutoHeater\":1}\n");

  EXPECT_EQ(run("heater", {"maybe"}).exitCode, 2);
  EXPECT_EQ(run("heater").exitCode, 2);
  EXPECT_TRUE(takeOrders().empty());
}

TEST_F(BoardCli, CoolingModesAreSwitchedOnTheCooledSensorModelOnly) {
  ASSERT_NO_FATAL_FAILURE(startBoard(35, {"--preset", "tarn-cooled"}));
  const struct {
    std::vector<std::string> args;
    std::string order;
    std::string out;
  } cases[] = {
      {{"auto", "off"}, "A2 00", "Cooling mode:     None\nCooling:          Disabled\n"},
      {{"manual", "on"}, "A1 01", "Cooling mode:     Manual\nCooling:          Enabled\n"},
      {{"manual", "off", "--json"},
       "A1 00",
       R"({"StatusCooler":0,"StaticTextModeCooling":"None","StaticTextCoolingState":"Disabled"})"
       "\n"},
  };
  for (const auto& c : cases) {
    const CliResult result = run("cooling", c.args);
    EXPECT_EQ(result.exitCode, 0) << c.order << ": " << result.err;
    EXPECT_THAT(takeOrders(), ElementsAre(kVersion, c.order, kPoll));
    EXPECT_EQ(result.out, c.out);
  }
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"manual"}, {"both", "on"}, {"manual", "auto", "on"}}) {
    EXPECT_EQ(run("cooling", args).exitCode, 2);
  }
  EXPECT_TRUE(takeOrders().empty());

  board_.reset();
  ASSERT_NO_FATAL_FAILURE(startBoard(36, {"--preset", "tarn-uncool"}));
  const CliResult uncooled = run("cooling", {"auto", "on"});
  EXPECT_EQ(uncooled.exitCode, 1);
  EXPECT_EQ(uncooled.err, "The board (model 3) has no sensor cooling modes: nothing sent\n");
  EXPECT_THAT(takeOrders(), ElementsAre(kVersion));
}

TEST_F(BoardCli, IdentityIsWrittenAndReadBackAfterReconnecting) {
  ASSERT_NO_FATAL_FAILURE(startBoard(37, {"--preset", "astel5", "--serial", "130000"}));
  const CliResult set = run("identity", {"set", "--serial", "127512", "--model", "32"});
  EXPECT_EQ(set.exitCode, 0) << set.err;
  EXPECT_THAT(takeOrders(), ElementsAre(kVersion, "A8 20 30 30 31 32 37 35 31 32", kVersion, "A9"));
  EXPECT_EQ(set.out,
            "Firmware:         3.5 (Version 3.5)\n"
            "Model type:       32 Astel 9\n"
            "Serial number:    127512\n"
            "Hot side:         yes\n"
            "Inside humidity:  yes\n"
            "Lens:             yes\n");
}

TEST_F(BoardCli, IdentityOutsideTheListIsRefusedWithNothingSent) {
  ASSERT_NO_FATAL_FAILURE(startBoard(38, {"--preset", "astel5"}));
  const std::vector<std::vector<std::string>> refused = {
      {"set", "--serial", "127000", "--model", "32"},
      {"set", "--serial", "135000", "--model", "32"},
      {"set", "--serial", "127xxx", "--model", "32"},
      {"set", "--serial", "127512", "--model", "17"},  // a model, but not one of the list
      {"set", "--serial", "127512", "--model", "0"},
      {"set", "--serial", "127512"},
      {"--serial", "127512", "--model", "32"},
  };
  for (const auto& args : refused) {
    const CliResult result = run("identity", args);
    EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(args) << ": " << result.err;
  }
  EXPECT_THAT(run("identity", refused[3]).err,
              StartsWith("vesk-cli: --model needs the code of a listed model"));
  EXPECT_TRUE(takeOrders().empty());

  // A board below firmware 3 stores no identity: refused after the identification.
  board_.reset();
  ASSERT_NO_FATAL_FAILURE(startBoard(39, {"--model", "23", "--firmware", "2.20"}));
  const CliResult older = run("identity", {"set", "--serial", "127512", "--model", "32"});
  EXPECT_EQ(older.exitCode, 1);
  EXPECT_EQ(older.err, "The board's firmware is below 3: it does not store its identity\n");
  EXPECT_THAT(takeOrders(), ElementsAre(kVersion));
}

TEST_F(BoardCli, BootloaderOnlyWithYes) {
  ASSERT_NO_FATAL_FAILURE(startBoard(40, {"--preset", "astel5"}));
  const CliResult refused = run("bootloader");
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_THAT(refused.err, HasSubstr("--yes"));
  EXPECT_TRUE(takeOrders().empty());

  const CliResult sent = run("bootloader", {"--yes"});
  EXPECT_EQ(sent.exitCode, 0) << sent.err;
  // The board answers nothing, so the command ends without waiting for the board to read the
  // order; the record has it once the board has.
  std::vector<std::string> orders = takeOrders();
  for (int tries = 0; orders.size() < 2 && tries < 1000; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const std::vector<std::string> more = takeOrders();
    orders.insert(orders.end(), more.begin(), more.end());
  }
  EXPECT_THAT(orders, ElementsAre(kVersion, "1C"));
  EXPECT_EQ(sent.out,
            "Bootloader mode order sent: the board answers nothing more until its firmware is "
            "updated.\n");
}

TEST_F(BoardCli, EachSettingsCommandHasItsHelp) {
  const struct {
    const char* command;
    const char* usage;
  } commands[] = {
      {"heating", "Usage: vesk-cli heating --port N"},
      {"heater", "Usage: vesk-cli heater on|off --port N"},
      {"cooling", "Usage: vesk-cli cooling manual on|off --port N"},
      {"identity", "Usage: vesk-cli identity set --serial NNNNNN --model CODE --port N"},
      {"bootloader", "Usage: vesk-cli bootloader --yes --port N"},
  };
  const CliResult top = test::RunCli(folder.path(), {"--help"});
  for (const auto& c : commands) {
    const CliResult help = test::RunCli(folder.path(), {c.command, "--help"});
    EXPECT_EQ(help.exitCode, 0) << c.command;
    EXPECT_THAT(help.out, StartsWith(c.usage));
    EXPECT_THAT(top.out, HasSubstr(std::string("  ") + c.command + " "));
  }
  EXPECT_THAT(test::RunCli(folder.path(), {"identity", "--help"}).out,
              HasSubstr("                  32  Camera Astel 9\n"));
}

}  // namespace
}  // namespace vesk
