#include "posting/ftp_schedule.h"

#include <gtest/gtest.h>

#include "common/exceptions.h"

namespace vesk {
namespace {

TEST(PostingSchedule, RunsOnlyWhenScheduledAndNeverWithAZeroInterval) {
  struct ScheduleCase {
    bool scheduled;
    std::uint32_t minutes;
    bool enabled;
  };
  const ScheduleCase cases[] = {
      {true, 5, true},
      {false, 5, false},  // the default: only "Force FTP upload" uploads
      {true, 0, false},
      {false, 0, false},
  };
  for (const ScheduleCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.scheduled << " " << c.minutes);
    const TFtpSchedule schedule = FtpSchedule(c.scheduled, c.minutes);
    EXPECT_EQ(schedule.enabled, c.enabled);
    EXPECT_EQ(schedule.interval, std::chrono::milliseconds(c.minutes * 60000LL));
  }
  EXPECT_EQ(FtpSchedule(true, 100000).interval.count(), 6000000000) << "no 32-bit wrap";
}

TEST(PostingSchedule, IntervalFieldText) {
  EXPECT_EQ(PostingIntervalMinutes("5"), 5u);
  EXPECT_EQ(PostingIntervalMinutes("0"), 0u);
  EXPECT_EQ(PostingIntervalMinutes("71582788"), 71582788u) << "4294967280 seconds";

  for (const char* text : {"2.5", "", "abc", "3000000000"}) {
    SCOPED_TRACE(text);
    try {
      PostingIntervalMinutes(text);
      ADD_FAILURE() << "accepted";
    } catch (const ERangeCheck&) {
      ADD_FAILURE() << "range error";
    } catch (const Exception& e) {
      EXPECT_EQ(e.message(), std::string("'") + text + "' is not a valid integer value");
    }
  }
  EXPECT_THROW(PostingIntervalMinutes("-1"), ERangeCheck);
  EXPECT_THROW(PostingIntervalMinutes("71582789"), ERangeCheck) << "seconds beyond 32 bits";
}

// "intervall" read at start: minutes the posting interval cannot hold are refused with a
// message and the default kept, instead of ending the start.
TEST(PostingSchedule, IntervalAtStart) {
  EXPECT_EQ(StartPostingInterval(5).PostingInterval, 300u);
  EXPECT_EQ(StartPostingInterval(0).PostingInterval, 0u);
  EXPECT_EQ(StartPostingInterval(71582788).PostingInterval, 4294967280u);
  for (const auto& [minutes, refusal] :
       {std::pair{5, ""}, std::pair{0, ""},
        std::pair{-5, "FTP interval of -5 minutes refused -> Range check error, 5 minutes kept"},
        std::pair{71582789,
                  "FTP interval of 71582789 minutes refused -> Range check error, 5 "
                  "minutes kept"}}) {
    SCOPED_TRACE(minutes);
    const TStartPostingInterval start = StartPostingInterval(minutes);
    EXPECT_EQ(start.refusal, refusal);
    if (!start.refusal.empty()) {
      EXPECT_EQ(start.PostingInterval, kDefaultPostingInterval);
    }
  }
}

}  // namespace
}  // namespace vesk
