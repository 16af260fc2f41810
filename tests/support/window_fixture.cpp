#include "tests/support/window_fixture.h"

#include <QTabWidget>

#include "common/event_log.h"
#include "tests/support/log_capture.h"
#include "widgets/gui/message_box.h"

namespace vesk::test {

WindowFixture::WindowFixture(std::uint8_t type, std::uint8_t major, std::uint8_t minor) {
  sim::BoardSetup setup;
  setup.identity = {major, minor, type, 0, "127512"};
  board = std::make_unique<sim::InProcessBoard>(setup);
  board->linkAsPort(folder.path(), 3);
  InitLog(folder.path());
  SetDialogAnswers({[this](MessageKind, const QString& text) {
                      messages << text;
                      return true;
                    },
                    {},
                    {}});
}

WindowFixture::~WindowFixture() {
  window.reset();
  SetDialogAnswers({});
}

TMAINForm& WindowFixture::open() {
  window = std::make_unique<TMAINForm>(folder.path());
  return *window;
}

void WindowFixture::replaceBoard(std::uint8_t type) {
  sim::BoardSetup setup;
  setup.identity = {3, 5, type, 0, "127512"};
  board = std::make_unique<sim::InProcessBoard>(setup);
  board->linkAsPort(folder.path(), 3);
}

void WindowFixture::faults(const sim::BoardFaults& f) {
  board->withBoard([&](sim::Board& b) { b.setFaults(f); });
}

QStringList WindowFixture::log() const {
  QStringList texts;
  for (const std::string& text : LogFileTexts()) {
    texts << QString::fromStdString(text);
  }
  return texts;
}

bool TabVisible(const QObject& window, const char* page) {
  auto& pages = Find<QTabWidget>(window, "PageControl");
  return pages.isTabVisible(pages.indexOf(&Find<QWidget>(window, page)));
}

}  // namespace vesk::test
