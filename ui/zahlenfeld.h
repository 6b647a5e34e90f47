// A spin box that keeps every digit typed: a number beyond its bounds becomes the bound
// when it is taken (Enter or leaving the box), and the box reports the number typed, so
// that the page can say why it changed. A plain spin box refuses the digit that would
// pass its bound, and 2600 typed into a box up to 2500 became 260.
#pragma once

#include <QSpinBox>
#include <optional>

namespace tilvendo::ui {

class Zahlenfeld : public QSpinBox {
  Q_OBJECT

 public:
  explicit Zahlenfeld(QWidget* eltern);

 signals:
  // The number typed was held within the bounds; the box shows the bound now.
  void Begrenzt(qlonglong getippt);

 protected:
  QValidator::State validate(QString& text, int& pos) const override;
  void fixup(QString& text) const override;

 private:
  // The digits between prefix and suffix, if that is all the text holds.
  std::optional<qlonglong> Getippt(const QString& text) const;

  // Set by fixup (which must be const), reported once the number is taken.
  mutable std::optional<qlonglong> begrenzt_;
};

}  // namespace tilvendo::ui
