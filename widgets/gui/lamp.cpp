#include "widgets/gui/lamp.h"

#include <QPainter>

namespace vesk {

Lamp::Lamp(QWidget* parent) : QWidget(parent) {
  setFixedSize(sizeHint());
}

void Lamp::setOn(bool on) {
  color_ = on ? QColor(255, 0, 0) : QColor(0, 255, 0);
  update();
}

void Lamp::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(64, 64, 64), 1));
  painter.setBrush(color_);
  painter.drawEllipse(rect().adjusted(1, 1, -1, -1));
}

}  // namespace vesk
