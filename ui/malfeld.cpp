#include "ui/malfeld.h"

#include <QPainter>

namespace tilvendo::ui {

Malfeld::Malfeld(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void Malfeld::paintEvent(QPaintEvent*) {
  QPainter maler(this);
  if (maler_) {
    maler_(maler, size());
  } else {
    maler.fillRect(rect(), palette().window());
  }
}

}  // namespace tilvendo::ui
