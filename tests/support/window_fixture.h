#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "app/main_window.h"
#include "common/byte_array.h"
#include "sim/in_process_board.h"
#include "tests/support/temp_folder.h"

namespace vesk::test {

// A program folder with a simulated board on COM3 (the port the monitor connects to at
// start), the log in the folder, and every message box answered yes and recorded.
class WindowFixture {
 public:
  explicit WindowFixture(std::uint8_t type = 23, std::uint8_t major = 3, std::uint8_t minor = 5);
  // A board set up in full: its lens, for one.
  explicit WindowFixture(const sim::BoardSetup& setup);
  ~WindowFixture();
  WindowFixture(const WindowFixture&) = delete;
  WindowFixture& operator=(const WindowFixture&) = delete;

  // Builds the window: the start sequence runs, the automatic connection included.
  TMAINForm& open();
  // A board of another model on the same port.
  void replaceBoard(std::uint8_t type);
  void faults(const sim::BoardFaults& f);
  // The payloads of the orders the board received since the last call (or since it was set
  // up), oldest first.
  std::vector<TArrayByte> takeOrders();
  // The texts of the log file, without their time stamps.
  QStringList log() const;

  TempFolder folder;
  std::unique_ptr<sim::InProcessBoard> board;
  std::unique_ptr<TMAINForm> window;
  QStringList messages;

 private:
  void recordOrders();

  std::vector<TArrayByte> received_;  // under the board's lock
};

// The control of that object name under root; throws when there is none, so a renamed
// control fails the test that looks for it.
template <class T>
T& Find(const QObject& root, const char* name) {
  T* found = root.findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) {
    throw std::runtime_error(std::string("no control named ") + name);
  }
  return *found;
}

// The text of the label of that object name under root.
QString Text(const QObject& root, const char* label);

// The index of the first line from `from` on that starts with the prefix; -1 when none does.
int IndexOf(const QStringList& lines, const QString& prefix, int from = 0);

// Whether the page of that name has its tab shown.
bool TabVisible(const QObject& window, const char* page);

// The message of the exception an operator's handler raised (what the default error handler
// would show); "(nothing raised)" when it raised none.
QString RaisedMessage(const std::function<void()>& handler);

// The first of the orders, none when there are none.
TArrayByte FirstOrder(const std::vector<TArrayByte>& orders);

// Whether the orders hold a poll (REQ_GET_VOLTAGE, which every poll sends).
bool HoldsPoll(const std::vector<TArrayByte>& orders);

}  // namespace vesk::test
