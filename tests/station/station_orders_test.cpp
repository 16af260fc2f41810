// The station's settings orders against the simulated board: what the board receives, what
// the station holds and logs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <optional>
#include <vector>

#include "common/exceptions.h"
#include "device/threshold_values.h"
#include "link/order_codes.h"
#include "sim/in_process_board.h"
#include "station/station.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

constexpr int kPort = 6;

// A station on a simulated board that records the orders it receives.
struct StationOnBoard {
  explicit StationOnBoard(const sim::BoardSetup& setup = {}) : board(setup) {
    board.linkAsPort(folder.path(), kPort);
    board.withBoard([this](sim::Board& b) {
      b.setOrderObserver([this](const TArrayByte& order) { received.push_back(order); });
    });
    station.SetThresholdsPresenter([this](const HeatingThresholdTexts& t) { shown.push_back(t); });
  }
  ~StationOnBoard() { station.Disconnect(); }

  // The orders received since the last call.
  std::vector<TArrayByte> orders() {
    return board.withBoard([this](sim::Board&) { return std::exchange(received, {}); });
  }
  sim::HeatingConfig heating() {
    return board.withBoard([](sim::Board& b) { return b.heating(); });
  }

  test::TempFolder folder;
  test::LogCapture log{folder.path()};
  std::vector<TArrayByte> received;  // under the board's lock
  sim::InProcessBoard board;
  std::vector<HeatingThresholdTexts> shown;
  Station station{folder.path(), [](std::function<void()> call) { call(); }};
};

// The board is given its moment after the port opens (link_timing.h: 100 ms) before it is
// asked for its version.
TEST(StationConnection, TheBoardIsGivenAPauseAfterItsPortOpens) {
  using Clock = std::chrono::steady_clock;
  std::optional<Clock::time_point> firstOrder;  // under the board's lock; outlives the board
  StationOnBoard s;
  s.board.withBoard([&firstOrder](sim::Board& b) {
    b.setOrderObserver([&firstOrder](const TArrayByte&) {
      if (!firstOrder) {
        firstOrder = Clock::now();
      }
    });
  });
  s.station.BeginConnection();
  s.station.OpenLink(kPort);
  const Clock::time_point opened = Clock::now();
  s.station.ReadVersion();
  const std::optional<Clock::time_point> asked =
      s.board.withBoard([&firstOrder](sim::Board&) { return firstOrder; });
  ASSERT_TRUE(asked);
  EXPECT_GE(*asked - opened, std::chrono::milliseconds(100));
}

TEST(StationHeating, AutomaticHeatingBeforeAnyReadBackWritesTheBoardsOwnThresholds) {
  StationOnBoard s;
  const sim::HeatingConfig stored = s.heating();
  s.station.BeginConnection();
  s.station.OpenLink(kPort);
  ASSERT_FALSE(s.station.ThresholdsReadBack());

  s.station.SetAutoHeating(false);
  const auto hi = [](std::uint16_t w) { return static_cast<std::uint8_t>(w >> 8); };
  const auto lo = [](std::uint16_t w) { return static_cast<std::uint8_t>(w & 0xFF); };
  EXPECT_THAT(s.orders(), ElementsAre(TArrayByte{REQ_GET_CONFIG},
                                      TArrayByte{REQ_SET_CONFIG, hi(stored.tempThreshold),
                                                 lo(stored.tempThreshold), hi(stored.rhThreshold),
                                                 lo(stored.rhThreshold), 0, 0}));
  EXPECT_TRUE(s.station.ThresholdsReadBack());
  EXPECT_EQ(s.heating().tempThreshold, stored.tempThreshold);
  EXPECT_FALSE(s.heating().automatic);
  ASSERT_EQ(s.shown.size(), 1u);

  // Read once per connection: the next click writes at once.
  s.station.SetAutoHeating(true);
  EXPECT_EQ(s.orders().size(), 1u);
  EXPECT_TRUE(s.heating().automatic);

  // A new connection reads them again.
  s.station.Disconnect();
  EXPECT_FALSE(s.station.ThresholdsReadBack());
  s.station.BeginConnection();
  s.station.OpenLink(kPort);
  s.station.SetAutoHeating(true);
  EXPECT_EQ(s.orders().front(), TArrayByte{REQ_GET_CONFIG});
}

TEST(StationHeating, UpdateWritesReadsBackShowsAndLogs) {
  StationOnBoard s;
  s.station.Identify(kPort);
  s.orders();
  const HeatingSetup setup{{TemperatureThresholdWord(25), HumidityThresholdWord(80, {})}, true, 40};
  s.station.UpdateSetup(setup);
  EXPECT_THAT(s.orders(), ElementsAre(TArrayByte{REQ_SET_CONFIG, 0x09, 0x9A, 0x2A, 0x42, 1, 40},
                                      TArrayByte{REQ_GET_CONFIG}));
  ASSERT_EQ(s.shown.size(), 1u);
  EXPECT_EQ(s.shown[0].Label_TempSeuil, "25.0 °C");
  EXPECT_EQ(s.shown[0].Label_RHSeuil, "80 %");
  EXPECT_THAT(s.log.texts(),
              Contains("SetConfig-> Temperature threshold : 2458 RH threshold : 10818 "
                       "AutoHeating : -1  Power Level : 40"));
  EXPECT_THAT(s.log.texts(), Contains(s.shown[0].logLine));
  EXPECT_EQ(s.station.Heating().gPowerHeaterLevel, 40);
}

TEST(StationHeating, RefusedSettingsKeepTheNewValuesHeldAndReadNothingBack) {
  sim::BoardSetup refusing;
  refusing.faults.refuseSettings = true;
  StationOnBoard s(refusing);
  s.station.Identify(kPort);
  s.orders();
  try {
    s.station.UpdateSetup({{2458, 10818}, true, 40});
    ADD_FAILURE() << "a refused REQ_SET_CONFIG was taken";
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), "Error Message");
  }
  EXPECT_EQ(s.orders().size(), 1u) << "no read-back after a refusal";
  EXPECT_TRUE(s.shown.empty());
  const HeatingState& held = s.station.Heating();
  EXPECT_EQ(held.gSeuil_Temp_asWord, 2458);
  EXPECT_EQ(held.gSeuil_RH_asWord, 10818);
  EXPECT_EQ(held.gPowerHeaterLevel, 40);

  try {
    s.station.EnableHeater(1);
    ADD_FAILURE() << "answer 2 taken";
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), "Link error !!");
  }
}

TEST(StationOrders, WithoutALinkNothingIsSent) {
  StationOnBoard s;
  EXPECT_THROW(s.station.SetAutoHeating(true), Exception);
  EXPECT_THROW(s.station.SetManualCooler(true), Exception);
  EXPECT_THROW(s.station.SetBootloaderMode(), Exception);
  EXPECT_TRUE(s.orders().empty());
}

}  // namespace
}  // namespace vesk
