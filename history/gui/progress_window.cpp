#include "history/gui/progress_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace vesk {

TFormProgress::TFormProgress(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("FormProgress"));
  setFixedSize(339, 55);
  QFont font(QStringLiteral("Tahoma"));
  font.setPointSize(8);
  setFont(font);
  Panel = new QLabel(this);
  Panel->setObjectName(QStringLiteral("Panel"));
  Panel->setAlignment(Qt::AlignCenter);
  Panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel->setLineWidth(2);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Panel);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

void TFormProgress::ShowProgress(const QString& text) {
  if (!isVisible()) {
    show();
  }
  Panel->setText(text);
  Panel->repaint();
}

}  // namespace vesk
