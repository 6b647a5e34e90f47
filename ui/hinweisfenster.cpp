#include "ui/hinweisfenster.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

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
  show();
  update();
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
  for (int i = 0; i < zeilen_.size(); ++i) {
    const int oben = wizard::kHilfeRandOben + i * zeilenHoehe;
    maler.drawText(
        QRect(wizard::kHilfeRandLinks, oben, wizard::HilfeTextBreite(width()), zeilenHoehe),
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
