#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <thread>

namespace vesk {

// The public address asked of the echo page on a thread of its own, so the window never
// waits for it (up to 10 s without Internet); the answer is handed back on the window's
// thread. One look-up per snapshot or upload, whose images all show that one answer.
class AddressLookup {
 public:
  using Done = std::function<void(const std::string& address)>;

  AddressLookup();
  // Stops the look-ups in flight and waits for their threads (within a second); their
  // answers are dropped.
  ~AddressLookup();
  AddressLookup(const AddressLookup&) = delete;
  AddressLookup& operator=(const AddressLookup&) = delete;

  // Asks url; done gets the address (kNoInternet when the page could not be read) on this
  // object's thread, at a later turn of its event loop, unless receiver or this went first.
  void Start(const std::string& url, QObject* receiver, Done done);

 private:
  struct Running {
    std::shared_ptr<std::atomic<bool>> ended;
    std::jthread thread;
  };

  // What the answers are queued to: gone only once no thread can queue one any more.
  std::unique_ptr<QObject> context_;
  std::list<Running> running_;
};

}  // namespace vesk
