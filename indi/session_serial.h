#pragma once

#include <libindi/connectionplugins/connectionserial.h>

#include <functional>
#include <string>

namespace vesk::indi {

// INDI's serial connection (the port's path typed or picked by the operator, the port list,
// the baud rate shown), except that the port is opened by the station session, which opens
// its devices exclusively and reopens them itself when the board comes back: the path is
// handed over instead of a descriptor.
class SessionSerial : public Connection::Serial {
 public:
  using Open = std::function<bool(const std::string& path)>;
  using Close = std::function<void()>;

  SessionSerial(INDI::DefaultDevice* device, Open open, Close close);

  bool Connect() override;
  bool Disconnect() override;

 private:
  Open open_;
  Close close_;
};

}  // namespace vesk::indi
