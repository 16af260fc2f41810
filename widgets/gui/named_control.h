#pragma once

#include <QLabel>
#include <QString>

#include <utility>

namespace vesk {

// Controls are found by name (tests, screenshots, the main window's wiring), so every control
// is created with its object name set to the name the system gives it.
template <class Control, class... Args>
Control* Named(const char* name, Args&&... args) {
  auto* control = new Control(std::forward<Args>(args)...);
  control->setObjectName(QString::fromLatin1(name));
  return control;
}

// A label in the bold face of its font: the values shown beside their captions.
inline QLabel* BoldLabel(const char* name, const QString& text) {
  auto* label = Named<QLabel>(name, text);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

}  // namespace vesk
