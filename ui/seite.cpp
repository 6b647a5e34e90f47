#include "ui/seite.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/auftrag.h"
#include "ui/assistent.h"

namespace tilvendo::ui {

QString ProgrammTitel() {
  return QString::fromUtf8(kProgrammTitel) + QLatin1Char(' ') + QString::fromUtf8(kProgrammVersion);
}

Seite::Seite(Assistent& assistent, wizard::Seite seite, QWidget* parent)
    : QDialog(parent), assistent_(assistent), seite_(seite) {
  setWindowTitle(ProgrammTitel());
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  gruppe_ = new QGroupBox(QString::fromStdString(wizard::PageTitle(Nummer())), this);
  layout->addWidget(gruppe_, 1);
  knopfLeiste_ = new QHBoxLayout;
  layout->addLayout(knopfLeiste_);
}

Auftrag& Seite::auftrag() const {
  return assistent_.auftrag();
}

QPushButton* Seite::KnopfAnlegen(const QString& text, Glyphe glyphe) {
  auto* knopf = new QPushButton(GlyphIcon(glyphe), text, this);
  knopf->setAutoDefault(false);
  knopfLeiste_->addWidget(knopf);
  return knopf;
}

void Seite::StandardKnoepfeAnlegen() {
  info_ = KnopfAnlegen(QStringLiteral("Info"), Glyphe::Info);
  hilfe_ = KnopfAnlegen(QStringLiteral("Hilfe"), Glyphe::HilfeAn);
  knopfLeiste_->addStretch(1);
  weiter_ = KnopfAnlegen(QStringLiteral("weiter"), Glyphe::weiter);
  ende_ = KnopfAnlegen(QStringLiteral("Ende"), Glyphe::Ende);
  connect(info_, &QPushButton::clicked, this, &Seite::InfoZeigen);
  connect(hilfe_, &QPushButton::clicked, this, [this] { HilfeZeigen(hilfe_); });
  connect(weiter_, &QPushButton::clicked, this, [this] { GeheZu(weiterZiel_); });
  connect(ende_, &QPushButton::clicked, this, &Seite::Beenden);
}

void Seite::WeiterZielSetzen(uint16_t ziel) {
  weiterZiel_ = ziel;
  // The hint of a "weiter" button names the page it leads to.
  if (weiter_ != nullptr) weiter_->setToolTip(QString::fromStdString(wizard::PageTitle(ziel)));
}

void Seite::GeheZu(uint16_t ziel) {
  auftrag().AktSeite = ziel;
  navigiert_ = true;
  accept();
}

void Seite::Beenden() {
  auftrag().ProgrammEnde = true;
  navigiert_ = true;
  accept();
}

void Seite::HilfeZeigen(QAbstractButton* knopf) {
  assistent_.HilfeZeigen(knopf, this, Nummer());
}

void Seite::InfoZeigen() {
  GeheZu(wizard::InfoOeffnen(assistent_.navigation(), Nummer()));
}

void Seite::showEvent(QShowEvent* ereignis) {
  QDialog::showEvent(ereignis);
  if (!ereignis->spontaneous()) {
    navigiert_ = false;
    FormShow();
  }
}

void Seite::keyPressEvent(QKeyEvent* ereignis) {
  // Escape would close the page without a target; the page buttons are the way out.
  if (ereignis->key() == Qt::Key_Escape && !schliessenOhneEnde_) {
    ereignis->ignore();
    return;
  }
  QDialog::keyPressEvent(ereignis);
}

void Seite::done(int ergebnis) {
  // The window's close box: the same as "Ende".
  if (!navigiert_ && !schliessenOhneEnde_) auftrag().ProgrammEnde = true;
  FormClose();
  QDialog::done(ergebnis);
}

}  // namespace tilvendo::ui
