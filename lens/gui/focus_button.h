#pragma once

#include <QPushButton>

#include "widgets/gui/named_control.h"

namespace vesk {

// The focus buttons of both lens pages share one handler, which tells them apart by the
// "tag" property: 1 max, 2 min, 3 offset, 789 relative offset, 791 absolute position.
inline QPushButton* FocusButton(const char* name, const QString& text, int tag) {
  auto* button = Named<QPushButton>(name, text);
  button->setProperty("tag", tag);
  return button;
}

}  // namespace vesk
