#include "plots/gui/address_lookup.h"

#include <utility>

#include "plots/external_ip.h"

namespace vesk {
namespace {

// Read and written on the window's thread only; the look-up's thread merely carries it.
struct Request {
  QPointer<QObject> receiver;
  AddressLookup::Done done;
};

}  // namespace

AddressLookup::AddressLookup() : context_(std::make_unique<QObject>()) {}

AddressLookup::~AddressLookup() {
  // Each jthread asks its look-up to stop and waits for it; answers it queued meanwhile go
  // with the context.
  running_.clear();
}

void AddressLookup::Start(const std::string& url, QObject* receiver, Done done) {
  running_.remove_if([](const Running& r) { return r.ended->load(); });
  auto request = std::make_shared<const Request>(Request{receiver, std::move(done)});
  auto ended = std::make_shared<std::atomic<bool>>(false);
  QObject* context = context_.get();
  running_.push_back(
      {ended, std::jthread([url, request, ended, context](std::stop_token stop) mutable {
         const std::string address = GetExternalIP(url, stop);
         if (!stop.stop_requested()) {
           // The request goes along: it is let go on the window's thread.
           QMetaObject::invokeMethod(
               context,
               [request = std::move(request), address] {
                 if (request->receiver) {
                   request->done(address);
                 }
               },
               Qt::QueuedConnection);
         }
         ended->store(true);
       })});
}

}  // namespace vesk
