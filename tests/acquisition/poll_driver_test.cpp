#include "acquisition/poll_driver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>

#include "link/order_codes.h"
#include "tests/support/board_line.h"

namespace vesk {
namespace {

using ::testing::Contains;

// Stands in for the window's event loop: calls posted by workers wait here until the test,
// as the main thread, runs them.
class MainQueue {
 public:
  void post(std::function<void()> call) {
    {
      std::lock_guard lock(mutex_);
      calls_.push_back(std::move(call));
    }
    changed_.notify_all();
  }
  bool runOne(std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, timeout, [&] { return !calls_.empty(); })) {
      return false;
    }
    auto call = std::move(calls_.front());
    calls_.pop_front();
    lock.unlock();
    call();
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> calls_;
};

class PollDriverTest : public ::testing::Test {
 protected:
  PollDriverTest() {
    TArrayByte voltage(21, 0);
    voltage[8] = 40;
    board.answer(REQ_GET_VOLTAGE, voltage);
  }

  bool poll(bool wait, bool correct = false, const std::string& factor = "-0.1663") {
    return driver->PollDevice(wait, {&board.link, 3, false, false, false, {}}, correct, factor);
  }

  test::BoardLine board;
  MainQueue queue;
  std::vector<std::string> applied;  // ErrorMes of each applied poll
  std::vector<bool> corrected;
  std::function<void()> onApply;
  std::unique_ptr<PollDriver> driver = std::make_unique<PollDriver>(
      [this](std::function<void()> call) { queue.post(std::move(call)); },
      [this](ThreadRequest& sender) {
        applied.push_back(sender.ErrorMes);
        corrected.push_back(sender.CorrectWindSpeed);
        if (onApply) {
          onApply();
        }
      });
};

TEST_F(PollDriverTest, WaitingPollIsAppliedBeforeItReturns) {
  EXPECT_TRUE(poll(true));
  EXPECT_EQ(applied, std::vector<std::string>{""});
  EXPECT_FALSE(driver->ThreadRun());
  EXPECT_EQ(driver->NbPools, 1u);
}

TEST_F(PollDriverTest, FreeRunningPollIsHandedOverAfterTheWorkerEnded) {
  EXPECT_TRUE(poll(false));
  EXPECT_TRUE(driver->ThreadRun());
  // A tick while the poll runs changes nothing, not even the count.
  EXPECT_FALSE(poll(false));
  EXPECT_FALSE(poll(true));
  EXPECT_EQ(driver->NbPools, 1u);
  ASSERT_TRUE(queue.runOne());
  EXPECT_EQ(applied.size(), 1u);
  EXPECT_FALSE(driver->ThreadRun());
  EXPECT_TRUE(poll(false));
  EXPECT_EQ(driver->NbPools, 2u);
  ASSERT_TRUE(queue.runOne());
}

TEST_F(PollDriverTest, FactorThatIsNotANumberPollsWithoutCorrection) {
  EXPECT_TRUE(poll(true, true, "-0.16x"));
  EXPECT_FALSE(driver->ThreadRun());
  EXPECT_EQ(corrected, std::vector<bool>{false});
  EXPECT_THAT(board.log.texts(),
              Contains("Wind speed correction factor \"-0.16x\" is not a number: this poll runs "
                       "without correction"));
  EXPECT_TRUE(poll(true, true, "-0.1663"));
  EXPECT_EQ(corrected, (std::vector<bool>{false, true}));
}

TEST_F(PollDriverTest, WaitForPollAppliesTheRunningPollOnce) {
  EXPECT_TRUE(poll(false));
  driver->WaitForPoll();
  EXPECT_EQ(applied.size(), 1u);
  EXPECT_FALSE(driver->ThreadRun());
  // The hand-over the worker posted finds its poll applied already.
  ASSERT_TRUE(queue.runOne());
  EXPECT_EQ(applied.size(), 1u);
  board.link.CloseCom();
}

TEST_F(PollDriverTest, ThreadRunComesDownWhenApplyingFails) {
  onApply = [] { throw Exception("label gone"); };
  EXPECT_THROW(poll(true), Exception);
  EXPECT_FALSE(driver->ThreadRun());
}

TEST_F(PollDriverTest, DriverGoneBeforeTheHandOver) {
  EXPECT_TRUE(poll(false));
  driver.reset();  // waits for the worker
  ASSERT_TRUE(queue.runOne());
  EXPECT_TRUE(applied.empty());
}

TEST_F(PollDriverTest, FailedPollIsHandedOverWithItsText) {
  board.answer(REQ_GET_VOLTAGE, TArrayByte(5, 0));
  EXPECT_TRUE(poll(true));
  EXPECT_EQ(applied, std::vector<std::string>{"Thread get data call failed -> Range check error"});
}

}  // namespace
}  // namespace vesk
