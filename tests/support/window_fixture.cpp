#include "tests/support/window_fixture.h"

#include <QLabel>
#include <QTabWidget>

#include <algorithm>
#include <exception>
#include <utility>

#include "common/event_log.h"
#include "link/order_codes.h"
#include "tests/support/log_capture.h"
#include "widgets/gui/message_box.h"

namespace vesk::test {

namespace {

sim::BoardSetup SetupOf(std::uint8_t type, std::uint8_t major, std::uint8_t minor) {
  sim::BoardSetup setup;
  setup.identity = {major, minor, type, 0, "127512"};
  return setup;
}

}  // namespace

WindowFixture::WindowFixture(std::uint8_t type, std::uint8_t major, std::uint8_t minor)
    : WindowFixture(SetupOf(type, major, minor)) {}

WindowFixture::WindowFixture(const sim::BoardSetup& setup) {
  board = std::make_unique<sim::InProcessBoard>(setup);
  board->linkAsPort(folder.path(), 3);
  recordOrders();
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
  // Before the orders it records into go.
  board.reset();
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
  recordOrders();
}

void WindowFixture::recordOrders() {
  board->withBoard([this](sim::Board& b) {
    received_.clear();
    b.setOrderObserver([this](const TArrayByte& order) { received_.push_back(order); });
  });
}

std::vector<TArrayByte> WindowFixture::takeOrders() {
  return board->withBoard([this](sim::Board&) { return std::exchange(received_, {}); });
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

QString Text(const QObject& root, const char* label) {
  return Find<QLabel>(root, label).text();
}

int IndexOf(const QStringList& lines, const QString& prefix, int from) {
  for (int i = from; i < lines.size(); ++i) {
    if (lines[i].startsWith(prefix)) {
      return i;
    }
  }
  return -1;
}

bool TabVisible(const QObject& window, const char* page) {
  auto& pages = Find<QTabWidget>(window, "PageControl");
  return pages.isTabVisible(pages.indexOf(&Find<QWidget>(window, page)));
}

QString RaisedMessage(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    return QString::fromStdString(e.what());
  }
  return QStringLiteral("(nothing raised)");
}

TArrayByte FirstOrder(const std::vector<TArrayByte>& orders) {
  return orders.empty() ? TArrayByte{} : orders.front();
}

bool HoldsPoll(const std::vector<TArrayByte>& orders) {
  return std::find(orders.begin(), orders.end(), TArrayByte{REQ_GET_VOLTAGE}) != orders.end();
}

}  // namespace vesk::test
