#pragma once

#include <QColor>
#include <QWidget>

namespace vesk {

// A round indicator: silver until the first state, then red for on and lime for off.
class Lamp : public QWidget {
  Q_OBJECT

 public:
  explicit Lamp(QWidget* parent = nullptr);

  void setOn(bool on);
  QColor color() const { return color_; }
  QSize sizeHint() const override { return {18, 18}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor color_{192, 192, 192};
};

}  // namespace vesk
