#pragma once

#include <QPlainTextEdit>

namespace vesk {

// The log view "RichEdit": the newest lines of the event log, at most 1001.
class LogView : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int kMaxLines = 1000;

  explicit LogView(QWidget* parent = nullptr);

  // Main thread only: a line over 1000 first removes the oldest one.
  void AddLogLine(const QString& line);
};

}  // namespace vesk
