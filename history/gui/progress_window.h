#pragma once

#include <QLabel>
#include <QWidget>

namespace vesk {

// TFormProgress: a borderless window with one panel whose caption shows the progress of a
// history load. It has no behaviour of its own.
class TFormProgress : public QWidget {
  Q_OBJECT

 public:
  explicit TFormProgress(QWidget* owner);

  // Writes the text into the panel and repaints it at once.
  void ShowProgress(const QString& text);

  QLabel* Panel;
};

}  // namespace vesk
