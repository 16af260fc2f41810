#include "tests/integrations/polled_station.h"

namespace vesk::test {
namespace {

constexpr int kPort = 6;

sim::BoardSetup SetupOf(const sim::BoardIdentity& identity) {
  sim::BoardSetup setup;
  setup.identity = identity;
  return setup;
}

}  // namespace

PolledStation::PolledStation(sim::BoardIdentity identity, TDateTime boardTime)
    : boardTime_(std::make_shared<std::atomic<TDateTime>>(boardTime)),
      board_(SetupOf(identity), [time = boardTime_] { return time->load(); }),
      station_(folder_.path(), [](std::function<void()> call) { call(); }) {
#ifdef _WIN32
  // The board's pipe, opened by its name as a COM port is.
  station_.SetDevice(board_.devicePath());
#else
  board_.linkAsPort(folder_.path(), kPort);
#endif
  station_.Identify(kPort);
  station_.SetPollPresenter([this](const ThreadRequest& sender) {
    if (!sender.ErrorMes.empty()) {
      return;
    }
    const IdentityState& id = station_.Identity();
    last_ = BoardReading{sender.FDataOUT,  id.TypeCam,        id.Version,
                         id.DisplayRH_int, id.DisplayTempHot, id.SerialNumber};
    if (handOver_) {
      handOver_(*last_);
    }
  });
}

PolledStation::~PolledStation() {
  station_.Disconnect();
}

std::optional<BoardReading> PolledStation::Poll() {
  last_.reset();
  station_.PollDevice(true);
  return last_;
}

void PolledStation::Silence() {
  board_.withBoard([](sim::Board& board) { board.setFaults({.silent = true}); });
}

}  // namespace vesk::test
