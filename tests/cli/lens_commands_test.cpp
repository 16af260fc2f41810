// vesk-cli lens against a running vesk-board-sim: what it shows of the lens, and the exact
// iris and focus orders the board received (its record of the orders).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/board_cli.h"

namespace vesk {
namespace {

using test::CliResult;

// The standard table from f/2.8 to the first f/22.
const std::string kStandardList =
    "f/2.8 f/3.1 f/3.5 f/3.6 f/3.6 f/4.0 f/4.4 f/4.8 f/5.2 f/5.6 f/6.2 f/6.7 f/7.3 f/8 f/8.7 "
    "f/9.5 f/10.4 f/11.3 f/12.3 f/13.5 f/14.7 f/16 f/17.4 f/19 f/21 f/22";

const std::string kLensDetails =
    "Identifier:       0x4C22\n"
    "Name:             EF15mm f/2.8 Fisheye\n"
    "Focal length:     15 mm\n"
    "Distance d1:      0.20 m\n"
    "Distance d2:      10.00 m\n"
    "Iris max:         32.0\n";

class LensCli : public test::BoardCli {
 protected:
  // The iris and focus orders the board received since the last call, in order.
  std::vector<std::string> takeMotorOrders() {
    std::vector<std::string> orders;
    for (const std::string& order : takeOrders()) {
      if (order.starts_with("A4") || order.starts_with("A5")) {
        orders.push_back(order);
      }
    }
    return orders;
  }
};

TEST_F(LensCli, ShowsTheLensOfOnePoll) {
  const struct {
    const char* name;
    std::vector<std::string> board;
    std::string text;
  } cases[] = {
      {"newer lens firmware",
       {"--preset", "brisa-3m"},
       "Presence:         YES (checked each 30s -> #1)\n" + kLensDetails +
           "Iris min:         2.8\n"
           "Apertures:        " +
           kStandardList + " f/22 f/25 f/27 f/29 f/32\n"},
      {"f-numbers not in the tables",
       {"--preset", "brisa-3m", "--lens-codes", "0x09,0x58", "--lens-id", "0x1234"},
       "Presence:         YES (checked each 30s -> #1)\n"
       "Identifier:       0x1234\n"
       "Name:             EF15mm f/2.8 Fisheye\n"
       "Focal length:     15 mm\n"
       "Distance d1:      0.20 m\n"
       "Distance d2:      10.00 m\n"
       "Iris max:         32.0\n"
       "Iris min:         UNKNOWN\n"
       "Apertures:        none: Error while reading data from lens : Valeur (f/-1.0 / f/32.0) "
       "non trouvée dans la table des F/ des objectifs !!\n"},
      {"no lens",
       {"--preset", "brisa-3m", "--no-lens"},
       "Presence:         NO (checked each 30s), reply was 0x00 instead of 0xAA (check #1)\n"},
      {"older lens firmware",
       {"--preset", "brisa"},
       "Presence:         YES (checked each 30s)\n"
       "Lens information:  - 0x4C (76) - 0x22 (34) - 0x00 (0) - 0x0F (15) - 0x00 (0) - 0x0F "
       "(15) - 0x00 (0)\n"
       "Min Max aperture:  - 0x00 (0) - 0x20 (32) - 0x58 (88) - 0x00 (0)\n"
       "Apertures:        f2.8 f5.6 f8 f11 f16\n"},
  };
  int port = 31;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    board_.reset();
    ASSERT_NO_FATAL_FAILURE(startBoard(port++, c.board));
    const CliResult lens = run("lens");
    EXPECT_EQ(lens.exitCode, 0) << lens.err;
    EXPECT_EQ(lens.out, c.text);
    EXPECT_EQ(takeMotorOrders(), std::vector<std::string>{});
  }
}

TEST_F(LensCli, ShowsTheLensAsJson) {
  ASSERT_NO_FATAL_FAILURE(startBoard(35, {"--preset", "brisa-3m", "--lens-codes", "0x20,0x4F"}));
  const CliResult lens = run("lens", {"--json"});
  EXPECT_EQ(lens.exitCode, 0) << lens.err;
  std::string list;
  for (std::size_t at = 0, next = 0; next != std::string::npos; at = next + 1) {
    next = kStandardList.find(' ', at);
    list += (list.empty() ? "\"" : ",\"") + kStandardList.substr(at, next - at) + "\"";
  }
  EXPECT_EQ(lens.out, R"({"PresenceAF":true,"FirstByteAF":170,"LensCheckCount":1,"lensID":19490,)"
                      R"("LensName":"EF15mm f/2.8 Fisheye","Focale":15,"d1":0.2,"d2":10,)"
                      R"("FExtendedCANON":false,"LabelAFmax":"22.0","LabelAFmin":"2.8",)"
                      R"("FACanonDiaphInf":[)" +
                          list + "]}\n");
}

// Each order as the lens pages send it; the board's replies as they show them.
TEST_F(LensCli, OrdersReachTheBoardByteForByte) {
  ASSERT_NO_FATAL_FAILURE(startBoard(36, {"--preset", "brisa-3m", "--lens-codes", "0x20,0x4F"}));
  const struct {
    std::vector<std::string> args;
    std::string out;
    std::vector<std::string> sent;
  } orders[] = {
      {{"iris", "close", "31"}, "Feedback:         0x06 0x1F\n", {"A4 77 1F"}},
      {{"iris", "open", "--json"}, "{\"LabelRetIris\":\"0x06 0x00\"}\n", {"A4 FF 00"}},
      {{"aperture", "5.6"},
       "Aperture:         f/5.6 (code 0x30), 16 steps closed from f/2.8 (code 0x20)\n",
       {"A4 FF 00", "A4 77 10"}},
      {{"aperture", "f/22", "--json"},
       "{\"FrendlyName\":\"f/22\",\"HwCodeValue\":79,\"steps\":47}\n",
       {"A4 FF 00", "A4 77 2F"}},
      {{"focus", "-300"}, "Focus:            offset -300 sent\n", {"A5 14 FE D4"}},
      {{"focus", "+250", "--json"}, "{\"command\":20,\"offset\":250}\n", {"A5 14 00 FA"}},
      {{"focus", "max"}, "Focus:            Focus Max sent\n", {"A5 12 00 00"}},
      {{"focus", "min"}, "Focus:            Focus Min sent\n", {"A5 13 00 00"}},
  };
  for (const auto& order : orders) {
    SCOPED_TRACE(order.args.front() + " " + order.args[1]);
    const CliResult result = run("lens", order.args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, order.out);
    EXPECT_EQ(takeMotorOrders(), order.sent);
  }
}

TEST_F(LensCli, RefusalsSendNothing) {
  // From f/3.5 (code 0x25): the first "f/3.6" has code 0x24, below it.
  ASSERT_NO_FATAL_FAILURE(startBoard(37, {"--preset", "brisa-3m", "--lens-codes", "0x24,0x4F"}));
  const struct {
    std::vector<std::string> args;
    std::string error;
  } refused[] = {
      {{"aperture", "3.3"},
       "vesk-cli: 3.3 is not an aperture of this lens: f/3.5 f/3.6 f/3.6 f/4.0 f/4.4 f/4.8 f/5.2 "
       "f/5.6 f/6.2 f/6.7 f/7.3 f/8 f/8.7 f/9.5 f/10.4 f/11.3 f/12.3 f/13.5 f/14.7 f/16 f/17.4 "
       "f/19 f/21 f/22\n"},
      {{"aperture", "3.6"},
       "vesk-cli: Range check error: f/3.6 has a code below f/3.5's, the widest aperture of "
       "the list\n"},
      {{"aperture", "wide"},
       "vesk-cli: lens aperture needs an f-number such as 5.6, not \"wide\"\n"},
      {{"focus", "40000"},
       "vesk-cli: lens focus needs a whole number from -32768 to 32767, not \"40000\"\n"},
      {{"focus", "-32769"},
       "vesk-cli: lens focus needs a whole number from -32768 to 32767, not \"-32769\"\n"},
      {{"iris", "close", "256"},
       "vesk-cli: lens iris close needs a whole number from 0 to 255, not \"256\"\n"},
      {{"iris", "shut"}, "vesk-cli: lens iris needs close STEPS or open\n"},
      {{"focus", "max", "now"}, "vesk-cli: unexpected argument \"now\"\n"},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.args.front() + " " + r.args[1]);
    const CliResult result = run("lens", r.args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, r.error + "(vesk-cli --help shows the usage)\n");
  }
  EXPECT_EQ(takeMotorOrders(), std::vector<std::string>{});
}

TEST_F(LensCli, FailuresAreExitOne) {
  ASSERT_NO_FATAL_FAILURE(startBoard(38, {"--preset", "tarn-uncool"}));
  const CliResult noLens = run("lens", {"focus", "max"});
  EXPECT_EQ(noLens.exitCode, 1);
  EXPECT_EQ(noLens.err, "The board (model 3) drives no lens\n");

  board_.reset();
  ASSERT_NO_FATAL_FAILURE(startBoard(39, {"--preset", "brisa-3m", "--no-lens"}));
  const CliResult absent = run("lens", {"aperture", "8", "--json"});
  EXPECT_EQ(absent.exitCode, 1);
  EXPECT_EQ(absent.out,
            "{\"ErrorMes\":\"No lens: NO (checked each 30s), reply was 0x00 "
            "instead of 0xAA (check #1)\"}\n");
  EXPECT_EQ(takeMotorOrders(), std::vector<std::string>{});
}

// The older lens firmware has no list: the five fixed apertures of its page.
TEST_F(LensCli, OlderLensFirmwareSetsAFixedAperture) {
  ASSERT_NO_FATAL_FAILURE(startBoard(40, {"--preset", "brisa"}));
  const CliResult f8 = run("lens", {"aperture", "8"});
  EXPECT_EQ(f8.exitCode, 0) << f8.err;
  EXPECT_EQ(f8.out, "Aperture:         f8, 28 steps closed from fully open\n");
  EXPECT_EQ(takeMotorOrders(), (std::vector<std::string>{"A4 FF 00", "A4 77 1C"}));
  const CliResult f4 = run("lens", {"aperture", "4"});
  EXPECT_EQ(f4.exitCode, 2);
  EXPECT_EQ(takeMotorOrders(), std::vector<std::string>{});
}

}  // namespace
}  // namespace vesk
