#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <stdexcept>

#include "app/main_window.h"
#include "sim/in_process_board.h"
#include "tests/support/temp_folder.h"

namespace vesk::test {

// A program folder with a simulated board on COM3 (the port the monitor connects to at
// start), the log in the folder, and every message box answered yes and recorded.
class WindowFixture {
 public:
  explicit WindowFixture(std::uint8_t type = 23, std::uint8_t major = 3, std::uint8_t minor = 5);
  ~WindowFixture();
  WindowFixture(const WindowFixture&) = delete;
  WindowFixture& operator=(const WindowFixture&) = delete;

  // Builds the window: the start sequence runs, the automatic connection included.
  TMAINForm& open();
  // A board of another model on the same port.
  void replaceBoard(std::uint8_t type);
  void faults(const sim::BoardFaults& f);
  // The texts of the log file, without their time stamps.
  QStringList log() const;

  TempFolder folder;
  std::unique_ptr<sim::InProcessBoard> board;
  std::unique_ptr<TMAINForm> window;
  QStringList messages;
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

// Whether the page of that name has its tab shown.
bool TabVisible(const QObject& window, const char* page);

}  // namespace vesk::test
