#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <sstream>

#include "common/datetime.h"
#include "history/history_format.h"
#include "history/history_load.h"
#include "tests/cli/cli_run.h"
#include "tests/history/history_bytes.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

using test::CliResult;

// Runs the built vesk-cli with its log in the test's folder.
class VeskCli : public ::testing::Test {
 protected:
  void SetUp() override { std::setlocale(LC_ALL, "C"); }

  CliResult run(std::vector<std::string> args, bool withLogFolder = true) {
    if (withLogFolder) {
      args.insert(args.begin(), {"--log-folder", folder.path().string()});
    }
    return test::RunCli(folder.path(), std::move(args));
  }

  std::string path(const std::string& name) const { return (folder / name).string(); }

  test::TempFolder folder;
};

TEST_F(VeskCli, HelpShowsTheCommands) {
  const CliResult top = run({"--help"}, false);
  EXPECT_EQ(top.exitCode, 0);
  EXPECT_THAT(top.out, StartsWith("Usage: vesk-cli"));
  EXPECT_THAT(top.out, HasSubstr("history"));

  const CliResult history = run({"history", "--help"});
  EXPECT_EQ(history.exitCode, 0);
  EXPECT_THAT(history.out, HasSubstr("vesk-cli history generate --days N [--period S]"));

  for (const char* command : {"identify", "poll", "weather"}) {
    const CliResult device = run({command, "--help"});
    EXPECT_EQ(device.exitCode, 0);
    EXPECT_THAT(device.out, StartsWith(std::string("Usage: vesk-cli ") + command + " --port N"));
    EXPECT_THAT(top.out, HasSubstr(std::string("  ") + command + " "));
  }
}

TEST_F(VeskCli, BadUsageFailsWithExitTwoAndAPointerToHelp) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"nonsense"},
      {"history"},
      {"history", "list"},
      {"history", "info"},
      {"history", "info", "a.bin", "b.bin"},
      {"history", "info", "--fast", "a.bin"},
      {"history", "export", "a.bin"},
      {"history", "generate", "out.bin"},
      {"history", "generate", "--days", "abc", "out.bin"},
      {"history", "generate", "--days", "-1", "out.bin"},
      {"history", "generate", "--days", "1", "--period", "0", "out.bin"},
      {"history", "generate", "--days", "1"},
      {"history", "generate", "out.bin", "--days"},
      {"history", "generate", "--days", "1", "--seed", "x", "out.bin"},
      {"history", "generate", "--days", "1e-6", "out.bin"},
      {"identify"},
      {"identify", "--port", "0"},
      {"identify", "--port", "256"},
      {"identify", "--port", "COM3"},
      {"identify", "--port", "3", "extra"},
      {"identify", "--port", "3", "--jsn"},
      {"poll", "--port", "3", "--count", "0"},
      {"poll", "--port", "3", "--count", "1.5"},
      {"poll", "--port", "3", "--interval", "0"},
      {"poll", "--port", "3", "--interval", "-1"},
      {"weather"},
      {"weather", "--port", "3", "--count", "2"},
  };
  for (const auto& args : cases) {
    const CliResult result = run(args);
    EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(args);
    EXPECT_THAT(result.err, StartsWith("vesk-cli: ")) << ::testing::PrintToString(args);
    EXPECT_THAT(result.err, HasSubstr("--help")) << ::testing::PrintToString(args);
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "out.bin"));
}

TEST_F(VeskCli, GeneratedHistoryIsPlausibleAndDescribedByInfo) {
  const CliResult generated =
      run({"history", "generate", "--days=1", "--period", "60", path("gen.bin")});
  ASSERT_EQ(generated.exitCode, 0) << generated.err;
  EXPECT_THAT(generated.out, StartsWith("Generated 1440 records from "));

  TTinfosRec history;
  test::LogCapture log(folder.path());
  LoadHistory(folder / "gen.bin", kCurrentHistoryTag, history);
  ASSERT_EQ(history.size(), 1440u);
  EXPECT_NEAR(history.back().Date - history.front().Date, 1439.0 / 1440.0, 1e-9);
  EXPECT_LE(history.back().Date, Now());
  EXPECT_GT(history.back().Date, Now() - 1.0 / 1440.0 - 1e-6);
  for (const auto& rec : history) {
    ASSERT_GT(rec.TempExt, -40.0);
    ASSERT_LT(rec.TempExt, 50.0);
    ASSERT_GE(rec.RHExt, 0.0);
    ASSERT_LE(rec.RHExt, 100.0);
    ASSERT_GT(rec.Pressure, 950.0);
    ASSERT_LT(rec.Pressure, 1070.0);
    ASSERT_GE(rec.Windir, 0.0);
    ASSERT_LT(rec.Windir, 360.5);
  }

  const CliResult info = run({"history", "info", path("gen.bin")});
  ASSERT_EQ(info.exitCode, 0) << info.err;
  EXPECT_EQ(info.out, "File:    " + path("gen.bin") +
                          "\n"
                          "Tag:     0x1AE1A12F\n"
                          "Layout:  TinfosRec (80 bytes per record)\n"
                          "Records: 1440\n"
                          "First:   " +
                          DateTimeToText(history.front().Date) +
                          "\n"
                          "Last:    " +
                          DateTimeToText(history.back().Date) + "\n");
}

test::Bytes CorvoFile() {
  test::Bytes bytes;
  bytes.u32(kTinfosRecCorvoTag).u32(2);
  for (int i = 0; i < 2; ++i) {
    bytes.f64(45000.5 + i).f64(12.34).f64(20.06).f64(30.0).f64(-15.0).f64(63.6).f64(41.26);
    bytes.u8(static_cast<std::uint8_t>(1 - i)).fill(7);
  }
  return bytes;
}

TEST_F(VeskCli, InfoNamesEachLayout) {
  struct Case {
    std::uint32_t tag;
    std::size_t size;
    const char* layout;
  };
  for (const Case& c : {Case{kTinfosRecTag, 80, "TinfosRec (80 bytes per record)"},
                        Case{kTinfosRecRozEzaTag, 88, "TinfosRecRozEza (88 bytes per record)"},
                        Case{kTinfosRecCorvoTag, 64, "TinfosRecCorvo (64 bytes per record)"}}) {
    test::Bytes().u32(c.tag).u32(1).f64(45000.5).fill(c.size - 8).writeTo(folder / "h.bin");
    const CliResult info = run({"history", "info", path("h.bin")});
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_THAT(info.out, HasSubstr(std::string("Layout:  ") + c.layout + "\nRecords: 1\n"));
  }
}

TEST_F(VeskCli, ExportConvertsAnOlderLayoutAsTheButtonDoes) {
  CorvoFile().writeTo(folder / "corvo.bin");
  const CliResult result = run({"history", "export", path("corvo.bin"), path("out.txt")});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "Exported 2 records to " + path("out.csv") + "\n");
  EXPECT_EQ(test::ReadFile(folder / "out.csv"),
            "Date;Date as string;Ext. temp \xB0"
            "C;Int. temp \xB0"
            "C;Hot temp \xB0"
            "C;RH int %;RH ext %;Active heater;Press mb;Windspeed km/h;Wind dir \xB0\r\n"
            "45000.50000;03/15/23 12:00:00;12.3;20.1;30.0;41.3;64;Y;0.0;0.0;0;\r\n"
            "45001.50000;03/16/23 12:00:00;12.3;20.1;30.0;41.3;64;N;0.0;0.0;0;\r\n");

  // The same log lines as the monitor's conversion.
  std::vector<std::string> logged;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    if (entry.path().filename().string().starts_with("Log_")) {
      std::istringstream lines(test::ReadFile(entry.path()));
      for (std::string line; std::getline(lines, line);) {
        logged.push_back(test::LogText(line.substr(0, line.size() - 1)));
      }
    }
  }
  EXPECT_THAT(logged, ElementsAre("Data loaded : DatasVesk.bin,  points number : 2",
                                  "Data sorted, number of points : 2"));
}

// Nothing asks on the command line: a second export to the same name would leave every
// record twice, so an existing CSV file is written only with --append or --force.
TEST_F(VeskCli, ExportRefusesAnExistingCsvUnlessAppendOrForce) {
  CorvoFile().writeTo(folder / "corvo.bin");
  const std::string csv = path("out.csv");
  ASSERT_EQ(run({"history", "export", path("corvo.bin"), path("out.txt")}).exitCode, 0);
  const std::string once = test::ReadFile(csv);
  const std::string rows = once.substr(once.find("\r\n") + 2);

  const CliResult refused = run({"history", "export", path("corvo.bin"), path("out.txt")});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_THAT(refused.err,
              StartsWith("vesk-cli: " + csv +
                         " exists: give --append to add the records to it or --force to "
                         "replace it\n"));
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(test::ReadFile(csv), once);

  const CliResult appended =
      run({"history", "export", "--append", path("corvo.bin"), path("out.txt")});
  EXPECT_EQ(appended.exitCode, 0) << appended.err;
  EXPECT_EQ(test::ReadFile(csv), once + rows) << "the window's rule: the rows after the old ones";

  const CliResult replaced =
      run({"history", "export", path("corvo.bin"), path("out.txt"), "--force"});
  EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
  EXPECT_EQ(replaced.out, "Exported 2 records to " + csv + "\n");
  EXPECT_EQ(test::ReadFile(csv), once);

  const CliResult both =
      run({"history", "export", "--append", "--force", path("corvo.bin"), path("out.txt")});
  EXPECT_EQ(both.exitCode, 2);
  EXPECT_THAT(both.err, HasSubstr("--append or --force, not both"));
  EXPECT_EQ(test::ReadFile(csv), once);

  const CliResult help = run({"history", "export", "--help"});
  EXPECT_THAT(help.out, HasSubstr("vesk-cli history export [--append | --force] FILE.bin OUT"));
  EXPECT_THAT(help.out, HasSubstr("An existing CSV file is refused (exit 2)"));
}

TEST_F(VeskCli, ExportFailuresGiveTheLoadMessagesAndWriteNoCsv) {
  test::Bytes().u32(0x12345678).u32(0).writeTo(folder / "wrong.bin");
  test::Bytes().u32(kTinfosRecTag).u32(5).fill(80).writeTo(folder / "short.bin");
  test::Bytes().u32(kTinfosRecTag).u32(0).writeTo(folder / "empty.bin");
  struct Case {
    std::string file;
    std::string message;
  };
  for (const Case& c :
       {Case{path("wrong.bin"), path("wrong.bin") + " does not have the correct format !\n"},
        Case{path("short.bin"), "Error while reading file : "},
        Case{path("missing.bin"), "Cannot open file \"" + path("missing.bin") + "\""},
        Case{path("empty.bin"), path("empty.bin") + " holds no record: nothing exported\n"}}) {
    const CliResult result = run({"history", "export", c.file, path("out")});
    EXPECT_EQ(result.exitCode, 1) << c.file;
    EXPECT_THAT(result.err, StartsWith(c.message)) << c.file;
    EXPECT_FALSE(std::filesystem::exists(folder / "out.csv")) << c.file;
  }

  CorvoFile().writeTo(folder / "corvo.bin");
  const CliResult result =
      run({"history", "export", path("corvo.bin"), path("no-folder") + "/out"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_THAT(result.err, StartsWith("Erreur pd la sauvegarde -> Cannot create file"));
}

}  // namespace
}  // namespace vesk
