#include "ui/hinweisfenster.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

#include "wizard/hilfe_fenster.h"

namespace tilvendo::ui {
namespace {

constexpr int kRahmenStift = 2;

}  // namespace

QStringList HilfeUmbrechen(const std::vector<std::string>& zeilen, const QFontMetrics& metrik,
                           int breite) {
  QStringList ergebnis;
  for (const std::string& zeile : zeilen) {
    const QStringList woerter =
        QString::fromStdString(zeile).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (woerter.isEmpty()) {
      ergebnis.append(QString());
      continue;
    }
    QString laufend;
    for (const QString& wort : woerter) {
      const QString versuch = laufend.isEmpty() ? wort : laufend + QLatin1Char(' ') + wort;
      if (!laufend.isEmpty() && metrik.horizontalAdvance(versuch) > breite) {
        ergebnis.append(laufend);
        laufend = wort;
      } else {
        laufend = versuch;
      }
    }
    ergebnis.append(laufend);
  }
  return ergebnis;
}

Hinweisfenster::Hinweisfenster() : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_TranslucentBackground, false);
  QPalette farben = palette();
  farben.setColor(QPalette::WindowText, farben.color(QPalette::ToolTipText));
  farben.setColor(QPalette::Window, farben.color(QPalette::ToolTipBase));
  setPalette(farben);
  rollbalken_ = new QScrollBar(Qt::Vertical, this);
  rollbalken_->setObjectName(QStringLiteral("Rollbalken"));
  rollbalken_->hide();
  connect(rollbalken_, &QScrollBar::valueChanged, this, [this] { update(); });
}

int Hinweisfenster::RollbalkenBreite() const {
  return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, rollbalken_);
}

void Hinweisfenster::Zeigen(const QStringList& zeilen, const QString& titel, const QRect& rahmen,
                            int nummer) {
  zeilen_ = zeilen;
  nummer_ = nummer;
  setWindowTitle(titel);
  setGeometry(rahmen);
  // Only the rounded shape is part of the window.
  QPainterPath form;
  form.addRoundedRect(QRectF(0, 0, rahmen.width(), rahmen.height()),
                      wizard::kHilfeEckenRadius / 2.0, wizard::kHilfeEckenRadius / 2.0);
  setMask(QRegion(form.toFillPolygon().toPolygon()));
  // Higher than the popup may be: the text scrolls between the margins.
  const int inhalt = wizard::HilfeFensterHoehe(static_cast<int32_t>(zeilen.size()), ZeilenHoehe());
  const int sichtbar = rahmen.height() - wizard::kHilfeRandOben - wizard::kHilfeRandUnten;
  const bool rollen = inhalt > rahmen.height();
  rollbalken_->setVisible(rollen);
  rollbalken_->setRange(0, rollen ? inhalt - rahmen.height() : 0);
  rollbalken_->setPageStep(std::max(sichtbar, 1));
  rollbalken_->setSingleStep(ZeilenHoehe());
  rollbalken_->setValue(0);
  rollbalken_->setGeometry(rahmen.width() - wizard::kHilfeRandLinks / 2 - RollbalkenBreite(),
                           wizard::kHilfeRandOben, RollbalkenBreite(), std::max(sichtbar, 0));
  show();
  update();
}

void Hinweisfenster::wheelEvent(QWheelEvent* ereignis) {
  if (!rollbalken_->isVisible()) return;
  QApplication::sendEvent(rollbalken_, ereignis);
}

void Hinweisfenster::keyPressEvent(QKeyEvent* ereignis) {
  if (rollbalken_->isVisible()) {
    switch (ereignis->key()) {
      case Qt::Key_Up:
        rollbalken_->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return;
      case Qt::Key_Down:
        rollbalken_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return;
      case Qt::Key_PageUp:
        rollbalken_->triggerAction(QAbstractSlider::SliderPageStepSub);
        return;
      case Qt::Key_PageDown:
      case Qt::Key_Space:
        rollbalken_->triggerAction(QAbstractSlider::SliderPageStepAdd);
        return;
      case Qt::Key_Home:
        rollbalken_->triggerAction(QAbstractSlider::SliderToMinimum);
        return;
      case Qt::Key_End:
        rollbalken_->triggerAction(QAbstractSlider::SliderToMaximum);
        return;
      default:
        break;
    }
  }
  QWidget::keyPressEvent(ereignis);
}

void Hinweisfenster::paintEvent(QPaintEvent*) {
  QPainter maler(this);
  maler.setRenderHint(QPainter::Antialiasing);
  const qreal radius = wizard::kHilfeEckenRadius / 2.0;
  maler.setPen(QPen(Qt::black, kRahmenStift));
  maler.setBrush(palette().color(QPalette::ToolTipBase));
  maler.drawRoundedRect(QRectF(1, 1, width() - kRahmenStift, height() - kRahmenStift), radius,
                        radius);
  maler.setPen(palette().color(QPalette::ToolTipText));
  const int zeilenHoehe = ZeilenHoehe();
  const int textBreite =
      wizard::HilfeTextBreite(width()) - (rollbalken_->isVisible() ? RollbalkenBreite() : 0);
  // Scrolled lines stay between the margins, clear of the border.
  maler.setClipRect(QRect(0, wizard::kHilfeRandOben, width(),
                          height() - wizard::kHilfeRandOben - wizard::kHilfeRandUnten));
  const int versatz = rollbalken_->value();
  for (int i = 0; i < zeilen_.size(); ++i) {
    const int oben = wizard::kHilfeRandOben + i * zeilenHoehe - versatz;
    if (oben + zeilenHoehe < 0 || oben > height()) continue;
    maler.drawText(QRect(wizard::kHilfeRandLinks, oben, textBreite, zeilenHoehe),
                   Qt::AlignLeft | Qt::AlignVCenter, zeilen_[i]);
  }
}

int Hinweisfenster::ZeilenHoehe() const {
  return wizard::HilfeZeilenHoehe(QFontMetrics(font()).lineSpacing());
}

void Hinweisfenster::hideEvent(QHideEvent* ereignis) {
  QWidget::hideEvent(ereignis);
  emit geschlossen();
}

}  // namespace tilvendo::ui
