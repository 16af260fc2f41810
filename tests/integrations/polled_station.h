#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "integrations/board_reading.h"
#include "sim/in_process_board.h"
#include "station/station.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"

namespace vesk::test {

// 2026-01-18 at 15:00 and at 03:00: the warmest and driest hour of the simulated day, and
// the coldest and dampest.
inline constexpr TDateTime kAfternoon = 46040.625;
inline constexpr TDateTime kNight = 46041.125;

// A station identified on the in-process simulated board, whose clock the test sets; every
// successful poll goes to the owner's hand-over, as the window's poll presentation does it.
class PolledStation {
 public:
  using HandOver = std::function<void(const BoardReading&)>;

  explicit PolledStation(sim::BoardIdentity identity = {}, TDateTime boardTime = kAfternoon);
  ~PolledStation();

  void SetHandOver(HandOver handOver) { handOver_ = std::move(handOver); }
  // One waiting poll; the reading when it succeeded.
  std::optional<BoardReading> Poll();
  void SetBoardTime(TDateTime time) { *boardTime_ = time; }
  void Silence();

 private:
  TempFolder folder_;
  LogCapture log_{folder_.path()};
  std::shared_ptr<std::atomic<TDateTime>> boardTime_;
  sim::InProcessBoard board_;
  Station station_;
  HandOver handOver_;
  std::optional<BoardReading> last_;
};

}  // namespace vesk::test
