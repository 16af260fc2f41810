// The vesk-board-sim program as the run command starts it: it links ports/COM<n>, answers
// the monitor's own link, and removes the link when told to stop.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "acquisition/sensor_conversions.h"
#include "common/reply_reader.h"
#include "link/com_obj_rs232.h"
#include "link/order_codes.h"
#include "tests/support/log_capture.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_folder.h"

namespace vesk::sim {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Ge;
using ::testing::Le;

constexpr int kPort = 13;

TEST(SimProgram, ServesTheMonitorsLinkUntilTerminated) {
  vesk::test::TempFolder folder;
  vesk::test::LogCapture log(folder.path());
  const auto alias = folder.path() / "ports" / ("COM" + std::to_string(kPort));
  vesk::test::SimProcess sim(VESK_BOARD_SIM,
                             {"--folder", folder.path().string(), "--port", std::to_string(kPort)});

  const std::string device = sim.firstLine();
  ASSERT_FALSE(device.empty()) << "no device path printed";
  EXPECT_EQ(std::filesystem::read_symlink(alias), device);

  TComObjRs232 link(folder.path());
  link.OpenCom(kPort);
  TArrayByte version;
  link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, version);
  EXPECT_THAT(version, ElementsAre(3, 5, 34, 0));

  TArrayByte readings;
  link.SendOrder_ReceiveFeedBack({REQ_GET_VOLTAGE}, readings);
  const ReplyReader r(readings);
  EXPECT_THAT(CountToCelsius(r.word(0)), AllOf(Ge(-30), Le(40)));
  EXPECT_THAT(CountToHumidity(r.word(2), {}), AllOf(Ge(0), Le(100)));
  link.CloseCom();

  EXPECT_EQ(sim.terminate(), 0);
  EXPECT_FALSE(std::filesystem::is_symlink(alias)) << "link left behind";
}

// A soak switches the fault mix while the board runs: paused, every exchange goes through.
TEST(SimProgram, FaultMixPausesAndGoesOnBySignals) {
  vesk::test::TempFolder folder;
  vesk::test::LogCapture log(folder.path());
  vesk::test::SimProcess sim(VESK_BOARD_SIM, {"--folder", folder.path().string(), "--port",
                                              std::to_string(kPort), "--fault-mix", "100"});
  ASSERT_FALSE(sim.firstLine().empty());
  TComObjRs232 link(folder.path());
  link.OpenCom(kPort);
  const auto exchanges = [&link](int count) {
    int failed = 0;
    for (int i = 0; i < count; ++i) {
      TArrayByte version;
      try {
        link.SendOrder_ReceiveFeedBack({REQ_ORDER_VERSION}, version);
      } catch (const std::exception&) {
        ++failed;
      }
    }
    return failed;
  };
  // Handled before the next request is read.
  ASSERT_EQ(kill(sim.pid(), SIGUSR1), 0);
  EXPECT_EQ(exchanges(5), 0);
  ASSERT_EQ(kill(sim.pid(), SIGUSR2), 0);
  EXPECT_GT(exchanges(3), 0);
  link.CloseCom();
  EXPECT_EQ(sim.terminate(), 0);
}

TEST(SimProgram, RefusesABadOption) {
  vesk::test::SimProcess sim(VESK_BOARD_SIM, {"--firmware", "three"});
  EXPECT_EQ(sim.exitStatus(), 2);
}

}  // namespace
}  // namespace vesk::sim
