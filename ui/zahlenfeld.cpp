#include "ui/zahlenfeld.h"

#include <algorithm>

namespace tilvendo::ui {
namespace {

// More digits than any bound of the wizard has, few enough for 64 bits.
constexpr int kStellen = 9;

}  // namespace

Zahlenfeld::Zahlenfeld(QWidget* eltern) : QSpinBox(eltern) {
  connect(this, &QAbstractSpinBox::editingFinished, this, [this] {
    if (!begrenzt_) return;
    const qlonglong getippt = *begrenzt_;
    begrenzt_.reset();
    emit Begrenzt(getippt);
  });
}

std::optional<qlonglong> Zahlenfeld::Getippt(const QString& text) const {
  QString zahl = text;
  if (!prefix().isEmpty() && zahl.startsWith(prefix())) zahl.remove(0, prefix().size());
  if (!suffix().isEmpty() && zahl.endsWith(suffix())) zahl.chop(suffix().size());
  zahl = zahl.trimmed();
  if (zahl.isEmpty() || zahl.size() > kStellen) return std::nullopt;
  if (!std::all_of(zahl.begin(), zahl.end(), [](QChar c) { return c.isDigit(); })) {
    return std::nullopt;
  }
  return zahl.toLongLong();
}

QValidator::State Zahlenfeld::validate(QString& text, int& pos) const {
  const std::optional<qlonglong> getippt = Getippt(text);
  if (!getippt) return QSpinBox::validate(text, pos);
  return *getippt >= minimum() && *getippt <= maximum() ? QValidator::Acceptable
                                                        : QValidator::Intermediate;
}

void Zahlenfeld::fixup(QString& text) const {
  const std::optional<qlonglong> getippt = Getippt(text);
  if (!getippt) {
    QSpinBox::fixup(text);
    return;
  }
  const qlonglong wert = std::clamp<qlonglong>(*getippt, minimum(), maximum());
  if (wert != *getippt) begrenzt_ = *getippt;
  text = prefix() + textFromValue(static_cast<int>(wert)) + suffix();
}

}  // namespace tilvendo::ui
