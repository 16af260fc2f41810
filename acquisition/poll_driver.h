#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "acquisition/thread_request.h"

namespace vesk {

// Starts polls and hands each ended worker to the main thread, one poll at a time. Every
// method runs on the main thread.
class PollDriver {
 public:
  // Runs a call on the main thread later (the window queues it on its event loop).
  using PostToMain = std::function<void(std::function<void()>)>;
  // ApplyPollResult, with the ended worker.
  using ApplyResult = std::function<void(ThreadRequest& sender)>;

  PollDriver(PostToMain post, ApplyResult apply);
  // Waits for a running worker; its result is not applied any more.
  ~PollDriver();
  PollDriver(const PollDriver&) = delete;
  PollDriver& operator=(const PollDriver&) = delete;

  // Starts a poll; with wait, blocks until the worker ended and its result is applied. Does
  // nothing, and answers false, while a poll is running. A correction factor text that is
  // not a number makes the poll run without correction (logged).
  bool PollDevice(bool wait, const TDataTinParams& in, bool correctWindSpeed,
                  const std::string& factorText);

  // Waits for the running poll, if any, and applies its result now, so the link can be
  // closed without a worker inside an exchange.
  void WaitForPoll();

  bool ThreadRun() const { return threadRun_; }
  void ResetCounters();

  std::uint32_t NbPools = 0;
  std::uint32_t NbPoolsFailed = 0;

 private:
  struct Run {
    std::unique_ptr<ThreadRequest> worker;
    std::jthread thread;
  };

  void Finish(std::shared_ptr<Run> run);

  PostToMain post_;
  ApplyResult apply_;
  bool threadRun_ = false;
  // The run of the poll in progress; empty between polls.
  std::shared_ptr<Run> ThreadGetData_;
  // Posted hand-overs check it, so none reaches a driver that is gone.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vesk
