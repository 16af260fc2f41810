// vesk-cli identify and poll against a running vesk-board-sim.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <fstream>
#include <memory>
#include <utility>

#include "common/number_text.h"
#include "tests/cli/board_cli.h"
#include "tests/cli/cli_run.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using ::testing::AllOf;
using ::testing::AnyOf;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::Ge;
using ::testing::HasSubstr;
using ::testing::Le;
using ::testing::MatchesRegex;
using ::testing::StartsWith;

using test::CliResult;
using test::Lines;
using JsonFields = std::vector<std::pair<std::string, std::string>>;

// The fields of one flat JSON object as written: strings unescaped, other values raw.
JsonFields ParseFlatJson(const std::string& text) {
  JsonFields fields;
  std::size_t i = 0;
  const auto fail = [&] {
    ADD_FAILURE() << "not a flat JSON object at " << i << ": " << text;
    return fields;
  };
  const auto string = [&](std::string& value) {
    if (text[i++] != '"') {
      return false;
    }
    while (i < text.size() && text[i] != '"') {
      char c = text[i++];
      if (c == '\\') {
        c = text[i++];
        if (c == 'u') {
          c = static_cast<char>(std::stoi(text.substr(i, 4), nullptr, 16));
          i += 4;
        }
      }
      value += c;
    }
    return text[i++] == '"';
  };
  if (text.empty() || text[i++] != '{') {
    return fail();
  }
  while (i < text.size() && text[i] != '}') {
    std::string name;
    std::string value;
    if (!string(name) || text[i++] != ':') {
      return fail();
    }
    if (text[i] == '"') {
      if (!string(value)) {
        return fail();
      }
    } else {
      const std::size_t end = text.find_first_of(",}", i);
      value = text.substr(i, end - i);
      i = end;
    }
    fields.emplace_back(name, value);
    if (text[i] == ',') {
      ++i;
    }
  }
  return text.substr(i) == "}" ? fields : fail();
}

std::vector<std::string> Names(const JsonFields& fields) {
  std::vector<std::string> names;
  for (const auto& field : fields) {
    names.push_back(field.first);
  }
  return names;
}

std::string Field(const JsonFields& fields, const std::string& name) {
  for (const auto& field : fields) {
    if (field.first == name) {
      return field.second;
    }
  }
  return "(missing)";
}

double Number(const JsonFields& fields, const std::string& name) {
  double value = 0;
  EXPECT_TRUE(TextToFloat(Field(fields, name), value)) << name << " is not a number";
  return value;
}

// The name before the colon of each line.
std::vector<std::string> LineNames(const std::string& text) {
  std::vector<std::string> names;
  for (const std::string& line : Lines(text)) {
    names.push_back(line.substr(0, line.find(':')));
  }
  return names;
}

const std::vector<std::string> kPollFields = {
    "TempExt",          "RHExt",        "TempInt",   "RHInt",        "TempHot",
    "Pressure",         "Windir",       "WindSpeed", "ActiveHeater", "AutoTempRH_Heat",
    "PowerHeaterLevel", "StatusSensor", "ValueFan",  "StatusCooler", "PresenceAF",
    "FirstByteAF",      "lensID",       "LensName"};

using test::BoardCli;

struct ModelCase {
  const char* name;
  int port;
  std::vector<std::string> board;
  std::string identifyText;
  std::string identifyJson;
  std::vector<std::string> pollLines;
  bool weather;
  bool hotSide;
  bool lens;
};

const std::string kLensName = "EF \"8-15\" \\ \x01\xE9";

const ModelCase kModels[] = {
    {"weather",
     21,
     {"--preset", "astel2-ext-v2"},
     "Firmware:         3.5 (Version 3.5)\n"
     "Model type:       19 Astel2 Ext v2\n"
     "Serial number:    127512\n"
     "Hot side:         yes\n"
     "Inside humidity:  yes\n"
     "Lens:             no\n",
     R"({"Version":3.5,"major":3,"minor":5,"TypeCam":19,"label":"Astel2 Ext v2",)"
     R"("DisplayTempHot":true,"DisplayRH_int":true,"DriveEFlens_intf":false,)"
     R"("SerialNumber":"127512"})",
     {"Poll 1", "Outside", "Inside", "Hot plate", "Pressure", "Wind", "Heater", "Sensors",
      "Cooling"},
     true,
     true,
     false},
    {"lens",
     22,
     {"--preset", "astel9", "--serial", "654321", "--lens-name", kLensName},
     "Firmware:         3.5 (Version 3.5)\n"
     "Model type:       32 Astel 9\n"
     "Serial number:    654321\n"
     "Hot side:         yes\n"
     "Inside humidity:  yes\n"
     "Lens:             yes\n",
     R"({"Version":3.5,"major":3,"minor":5,"TypeCam":32,"label":"Astel 9",)"
     R"("DisplayTempHot":true,"DisplayRH_int":true,"DriveEFlens_intf":true,)"
     R"("SerialNumber":"654321"})",
     {"Poll 1", "Outside", "Inside", "Hot plate", "Heater", "Sensors", "Cooling", "Lens"},
     false,
     true,
     true},
    // Firmware 2: no serial number; no hot side, inside humidity, weather module or lens.
    {"plain",
     23,
     {"--model", "3", "--firmware", "2.20"},
     "Firmware:         2.20 (Version 2.2)\n"
     "Model type:       3 Tarn uncool\n"
     "Hot side:         no\n"
     "Inside humidity:  no\n"
     "Lens:             no\n",
     R"({"Version":2.2,"major":2,"minor":20,"TypeCam":3,"label":"Tarn uncool",)"
     R"("DisplayTempHot":false,"DisplayRH_int":false,"DriveEFlens_intf":false})",
     {"Poll 1", "Outside", "Inside", "Heater"},
     false,
     false,
     false},
};

TEST_F(BoardCli, IdentifyAndPollEachKindOfModel) {
  for (const ModelCase& c : kModels) {
    SCOPED_TRACE(c.name);
    board_.reset();
    ASSERT_NO_FATAL_FAILURE(startBoard(c.port, c.board));

    const CliResult identify = run("identify");
    EXPECT_EQ(identify.exitCode, 0) << identify.err;
    EXPECT_EQ(identify.out, c.identifyText);
    const CliResult identifyJson = run("identify", {"--json"});
    EXPECT_EQ(identifyJson.exitCode, 0) << identifyJson.err;
    EXPECT_EQ(identifyJson.out, c.identifyJson + "\n");

    const CliResult poll = run("poll");
    EXPECT_EQ(poll.exitCode, 0) << poll.err;
    EXPECT_EQ(poll.err, "");
    EXPECT_THAT(LineNames(poll.out), ElementsAreArray(c.pollLines)) << poll.out;
    for (const std::string& line : Lines(poll.out)) {
      if (line.starts_with("Outside:")) {
        EXPECT_THAT(line, MatchesRegex(R"(Outside: +\+?-?[0-9]+\.[0-9] °C  [0-9]+\.[0-9] %  )"
                                       R"(dew point -?[0-9]+\.[0-9] °C)"));
      }
      if (line.starts_with("Pressure:")) {
        EXPECT_THAT(line, MatchesRegex(R"(Pressure: +[0-9]+\.[0-9]{2} hPa \(20°C\+sea level\))"));
      }
      if (line.starts_with("Lens:")) {
        EXPECT_EQ(line, R"(Lens:             present (first byte 0xAA), identifier 0x4C22, )"
                        R"(name "EF "8-15" \ \x01\xE9")");
      }
    }

    const CliResult pollJson = run("poll", {"--json"});
    EXPECT_EQ(pollJson.exitCode, 0) << pollJson.err;
    ASSERT_EQ(Lines(pollJson.out).size(), 1u) << pollJson.out;
    const JsonFields fields = ParseFlatJson(Lines(pollJson.out)[0]);
    EXPECT_THAT(Names(fields), ElementsAreArray(kPollFields));
    EXPECT_THAT(Number(fields, "TempExt"), AllOf(Ge(-30), Le(45)));
    EXPECT_THAT(Number(fields, "RHExt"), AllOf(Ge(0), Le(100)));
    EXPECT_THAT(Number(fields, "TempInt"), AllOf(Ge(-30), Le(60)));
    EXPECT_THAT(Field(fields, "AutoTempRH_Heat"), AnyOf("true", "false"));
    if (c.weather) {
      EXPECT_THAT(Number(fields, "Pressure"), AllOf(Ge(950), Le(1070)));
      EXPECT_THAT(Number(fields, "Windir"), AllOf(Ge(0), Le(360)));
      EXPECT_THAT(Number(fields, "WindSpeed"), Ge(0));
    } else {
      // What the model does not measure is 0.
      EXPECT_EQ(Field(fields, "Pressure"), "0");
      EXPECT_EQ(Field(fields, "WindSpeed"), "0");
    }
    if (c.hotSide) {
      EXPECT_THAT(Number(fields, "TempHot"), AllOf(Ge(-30), Le(80)));
      EXPECT_THAT(Number(fields, "RHInt"), AllOf(Ge(0), Le(100)));
    } else {
      EXPECT_EQ(Field(fields, "TempHot"), "0");
      EXPECT_EQ(Field(fields, "RHInt"), "0");
    }
    EXPECT_EQ(Field(fields, "PresenceAF"), c.lens ? "true" : "false");
    EXPECT_EQ(Field(fields, "FirstByteAF"), c.lens ? "170" : "0");
    EXPECT_EQ(Field(fields, "lensID"), c.lens ? "19490" : "0");
    EXPECT_EQ(Field(fields, "LensName"), c.lens ? kLensName : "");
  }
}

TEST_F(BoardCli, PollRepeatsAtTheInterval) {
  ASSERT_NO_FATAL_FAILURE(startBoard(24, {"--preset", "astel5"}));
  const auto start = std::chrono::steady_clock::now();
  const CliResult poll = run("poll", {"--count", "2", "--interval", "0.2", "--json"});
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(poll.exitCode, 0) << poll.err;
  const auto lines = Lines(poll.out);
  ASSERT_EQ(lines.size(), 2u) << poll.out;
  for (const std::string& line : lines) {
    EXPECT_THAT(Names(ParseFlatJson(line)), ElementsAreArray(kPollFields));
  }
  EXPECT_GE(elapsed, std::chrono::milliseconds(200));
}

TEST_F(BoardCli, PollFailsOnlyWhenEveryPollFailed) {
  // Every second reply is spoilt: the version reply of each run passes, the first poll's
  // reply does not, the second poll's does.
  ASSERT_NO_FATAL_FAILURE(
      startBoard(25, {"--model", "3", "--firmware", "3.5", "--bad-checksum-every", "2"}));
  const std::string failure =
      R"(Thread get data call failed -> Error -> "checksum" reply order is invalid ->)"
      "ordre : REQ_GET_VOLTAGE !";

  const CliResult one = run("poll", {"--json"});
  EXPECT_EQ(one.exitCode, 1);
  EXPECT_THAT(Lines(one.out), ElementsAre(R"({"ErrorMes":"Thread get data call failed -> )"
                                          R"(Error -> \"checksum\" reply order is invalid ->)"
                                          R"(ordre : REQ_GET_VOLTAGE !"})"));
  EXPECT_EQ(ParseFlatJson(Lines(one.out).at(0)), (JsonFields{{"ErrorMes", failure}}));

  const CliResult two = run("poll", {"--count", "2", "--interval", "0.05"});
  EXPECT_EQ(two.exitCode, 0);
  EXPECT_EQ(two.err, "Poll 1: " + failure + "\n");
  EXPECT_THAT(two.out, StartsWith("Poll 2:\nOutside: "));
}

TEST_F(BoardCli, SilentBoardFailsTheIdentification) {
  ASSERT_NO_FATAL_FAILURE(startBoard(26, {"--silent"}));
  const CliResult identify = run("identify");
  EXPECT_EQ(identify.exitCode, 1);
  EXPECT_EQ(identify.out, "");
  EXPECT_EQ(identify.err,
            "Issue with data link (FATAL ERROR) : Read Buffer, ERROR -> read=0 byte(s), "
            "expected=2 byte(s) ->ordre : REQ_ORDER_VERSION !\n(port 26 is " +
                portAlias() + ")\n");
}

TEST_F(BoardCli, PortThatCannotBeOpenedFailsBothCommands) {
  // Not a terminal: the port cannot be opened, and no fallback device is tried.
  port_ = 27;
  std::filesystem::create_directories(folder / "ports");
  std::ofstream(folder / "notatty") << "x";
  std::filesystem::create_symlink(folder / "notatty", portAlias());
  const std::string failure =
      "Issue with data link (FATAL ERROR) : Error -> Cannot open COM port27";

  const CliResult identify = run("identify");
  EXPECT_EQ(identify.exitCode, 1);
  EXPECT_EQ(identify.err, failure + "\n(port 27 is " + portAlias() + ")\n");

  const CliResult poll = run("poll", {"--json", "--count", "3"});
  EXPECT_EQ(poll.exitCode, 1);
  EXPECT_EQ(poll.out, R"({"ErrorMes":")" + failure + "\"}\n");
  EXPECT_EQ(poll.err, "");
}

}  // namespace
}  // namespace vesk
