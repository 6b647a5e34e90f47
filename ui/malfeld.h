// A fixed-size area the page paints itself, like the previews over the template.
#pragma once

#include <QWidget>
#include <functional>

namespace tilvendo::ui {

class Malfeld : public QWidget {
  Q_OBJECT

 public:
  using Maler = std::function<void(QPainter& maler, const QSize& groesse)>;

  explicit Malfeld(QWidget* parent = nullptr);

  // What to paint; called on every repaint with the area's current size.
  void MalerSetzen(Maler maler) { maler_ = std::move(maler); }

 protected:
  void paintEvent(QPaintEvent* ereignis) override;

 private:
  Maler maler_;
};

}  // namespace tilvendo::ui
