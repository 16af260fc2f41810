#pragma once

#include <QMainWindow>

namespace vesk {

// The main window: owns every long-lived object and wires the pages together.
class TMAINForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMAINForm(QWidget* parent = nullptr);
};

}  // namespace vesk
