#pragma once

#include <QString>
#include <QWidget>

#include <exception>

#include "widgets/gui/message_box.h"

namespace vesk {

// Runs an operator's handler as the program runs every one: a failure the handler leaves is
// shown in an error box with its message, and the program carries on. Nothing is thrown
// through Qt's event loop.
template <typename Handler>
void Guarded(QWidget* owner, Handler&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowError(owner, QString::fromStdString(e.what()));
  } catch (...) {
    ShowError(owner, QStringLiteral("Unknown error"));
  }
}

// A page's own handler in its guard, for connect:
//   connect(button, &QPushButton::clicked, this, GuardedSlot(this, &Page::ButtonClick));
template <typename Page>
auto GuardedSlot(Page* page, void (Page::*handler)()) {
  return [page, handler] { Guarded(page, [page, handler] { (page->*handler)(); }); };
}

}  // namespace vesk
