#include "acquisition/poll_driver.h"

#include "common/event_log.h"
#include "common/number_text.h"

namespace vesk {
namespace {

WindCorrection ParseWindCorrection(bool correctWindSpeed, const std::string& factorText) {
  WindCorrection wind{correctWindSpeed, 0};
  if (!TextToFloat(factorText, wind.FactCorrectionWindSpeed)) {
    wind.FactCorrectionWindSpeed = 0;
    if (correctWindSpeed) {
      wind.CorrectWindSpeed = false;
      WriteLog("Wind speed correction factor \"" + factorText +
               "\" is not a number: this poll runs without correction");
    }
  }
  return wind;
}

}  // namespace

PollDriver::PollDriver(PostToMain post, ApplyResult apply)
    : post_(std::move(post)), apply_(std::move(apply)) {}

PollDriver::~PollDriver() {
  alive_.reset();
  if (ThreadGetData_ && ThreadGetData_->thread.joinable()) {
    ThreadGetData_->thread.join();
  }
}

void PollDriver::ResetCounters() {
  NbPools = 0;
  NbPoolsFailed = 0;
}

bool PollDriver::PollDevice(bool wait, const TDataTinParams& in, bool correctWindSpeed,
                            const std::string& factorText) {
  if (threadRun_) {
    return false;
  }
  ++NbPools;
  threadRun_ = true;
  auto run = std::make_shared<Run>();
  try {
    run->worker =
        std::make_unique<ThreadRequest>(in, ParseWindCorrection(correctWindSpeed, factorText));
  } catch (...) {
    threadRun_ = false;
    throw;
  }
  ThreadGetData_ = run;
  ThreadRequest* worker = run->worker.get();
  if (wait) {
    run->thread = std::jthread([worker] { worker->Execute(); });
    run->thread.join();
    Finish(run);
    return true;
  }
  // The worker holds no owning reference to its run: the main thread owns and joins it.
  run->thread = std::jthread(
      [worker, weakRun = std::weak_ptr<Run>(run), weakAlive = std::weak_ptr<bool>(alive_), this] {
        worker->Execute();
        post_([weakRun, weakAlive, this] {
          const auto alive = weakAlive.lock();
          const auto ended = weakRun.lock();
          if (alive && ended) {
            Finish(ended);
          }
        });
      });
  return true;
}

void PollDriver::WaitForPoll() {
  if (ThreadGetData_) {
    Finish(ThreadGetData_);
  }
}

void PollDriver::Finish(std::shared_ptr<Run> run) {
  if (run != ThreadGetData_) {
    return;  // already applied, by WaitForPoll or the posted hand-over
  }
  if (run->thread.joinable()) {
    run->thread.join();
  }
  ThreadGetData_.reset();
  // ThreadRun comes down whatever the result's application does.
  struct Lower {
    bool& flag;
    ~Lower() { flag = false; }
  } lower{threadRun_};
  apply_(*run->worker);
}

}  // namespace vesk
