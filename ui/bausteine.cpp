#include "ui/bausteine.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "wizard/spin_wert.h"

namespace tilvendo::ui {

Sanduhr::Sanduhr() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

Sanduhr::~Sanduhr() {
  QApplication::restoreOverrideCursor();
}

QLabel* FettesLabel(const QString& text, QWidget* eltern) {
  auto* label = new QLabel(text, eltern);
  QFont fett = label->font();
  fett.setBold(true);
  label->setFont(fett);
  return label;
}

void NurPfeile(QSpinBox* feld) {
  if (auto* zeile = feld->findChild<QLineEdit*>()) zeile->setReadOnly(true);
}

int32_t SpinWertLesen(QSpinBox* feld, bool allowBelow, int32_t low, int32_t replacement) {
  const int32_t wert = wizard::CheckSpinValue(feld->value(), allowBelow, low, replacement);
  feld->setValue(wert);
  return wert;
}

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Vorschau VorschauAnlegen(QWidget* eltern, int breite, int hoehe, Malfeld::Maler maler) {
  Vorschau vorschau;
  vorschau.box = new QWidget(eltern);
  vorschau.box->setFixedSize(breite, hoehe);
  auto* raster = new QGridLayout(vorschau.box);
  raster->setContentsMargins(0, 0, 0, 0);
  vorschau.bild = new Malfeld(vorschau.box);
  vorschau.bild->setObjectName(QStringLiteral("Bild"));
  vorschau.bild->MalerSetzen(std::move(maler));
  raster->addWidget(vorschau.bild, 0, 0, Qt::AlignRight | Qt::AlignTop);
  return vorschau;
}

KuerzendeZeile::KuerzendeZeile(QWidget* eltern) : QLabel(eltern) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void KuerzendeZeile::TextSetzen(const QString& text) {
  ganz_ = text;
  setToolTip(text);
  Kuerzen();
}

QSize KuerzendeZeile::minimumSizeHint() const {
  // Any width will do: the text is shortened to it.
  return QSize(0, QLabel::minimumSizeHint().height());
}

void KuerzendeZeile::resizeEvent(QResizeEvent* ereignis) {
  QLabel::resizeEvent(ereignis);
  Kuerzen();
}

void KuerzendeZeile::Kuerzen() {
  setText(fontMetrics().elidedText(ganz_, Qt::ElideMiddle, contentsRect().width()));
}

}  // namespace tilvendo::ui
