#include "app/log_view.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace vesk {

LogView::LogView(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName(QStringLiteral("RichEdit"));
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setUndoRedoEnabled(false);
}

void LogView::AddLogLine(const QString& line) {
  if (document()->isEmpty()) {
    setPlainText(line);
  } else {
    if (document()->blockCount() > kMaxLines) {
      QTextCursor cursor(document()->firstBlock());
      cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
      cursor.removeSelectedText();
    }
    appendPlainText(line);
  }
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

}  // namespace vesk
