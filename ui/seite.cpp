#include "ui/seite.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/auftrag.h"
#include "platform/translate.h"
#include "ui/assistent.h"
#include "ui/bausteine.h"
#include "ui/seitenfenster.h"

namespace tilvendo::ui {

QString ProgrammTitel() {
  return QString::fromUtf8(kProgrammTitel) + QLatin1Char(' ') + QString::fromUtf8(kProgrammVersion);
}

Seite::Seite(Assistent& assistent, wizard::Seite seite, QWidget* parent)
    : QWidget(parent), assistent_(assistent), seite_(seite) {
  setWindowTitle(ProgrammTitel());
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
  hilfe_ = KnopfAnlegen(Text(_("Hilfe")), Glyphe::HilfeAn);
  knopfLeiste_->addStretch(1);
  weiter_ = KnopfAnlegen(Text(_("weiter")), Glyphe::weiter);
  ende_ = KnopfAnlegen(Text(_("Ende")), Glyphe::Ende);
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

void Seite::GroesseWuenschen(const QSize& groesse) {
  wunschgroesse_ = groesse;
  if (isWindow()) resize(Wunschgroesse());
}

void Seite::GroesseGeaendert() {
  // The page's own layout first, so that its size counts what is shown now; the
  // window's layout still holds the page's sizes from before.
  layout()->activate();
  updateGeometry();
  if (isWindow()) {
    resize(Wunschgroesse());
    return;
  }
  assistent_.Fenster().GroesseGeaendert(this);
}

QSize Seite::Wunschgroesse() const {
  if (wunschgroesse_.isValid()) return wunschgroesse_.expandedTo(minimumSizeHint());
  return sizeHint();
}

int Seite::exec() {
  // A page waits only once at a time; a second call would leave the first one hanging.
  if (offen_) return Rejected;
  ergebnis_ = Rejected;
  navigiert_ = false;
  offen_ = true;
  Seitenfenster& fenster = assistent_.Fenster();
  fenster.Einsetzen(this);
  // FormShow may have closed the page already.
  if (offen_) {
    QEventLoop schleife;
    schleife_ = &schleife;
    schleife.exec(QEventLoop::DialogExec);
    schleife_ = nullptr;
  }
  fenster.Beendet(this);
  return ergebnis_;
}

void Seite::showEvent(QShowEvent* ereignis) {
  QWidget::showEvent(ereignis);
  if (ereignis->spontaneous()) return;
  if (formShowAussetzen_) {
    formShowAussetzen_ = false;
    return;
  }
  navigiert_ = false;
  FormShow();
}

void Seite::keyPressEvent(QKeyEvent* ereignis) {
  // Escape would close the page without a target; the page buttons are the way out.
  if (ereignis->key() == Qt::Key_Escape) {
    if (schliessenOhneEnde_) reject();
    return;
  }
  QWidget::keyPressEvent(ereignis);
}

void Seite::closeEvent(QCloseEvent* ereignis) {
  if (!isVisible()) {
    ereignis->accept();
    return;
  }
  // The window's close box: the same as "Ende" (or "Abbrechen" on a page opened by
  // another). A page that refuses to close stays.
  const QPointer<Seite> bleibt(this);
  reject();
  // Inside the wizard's window the window decides what is shown after a page closed.
  if (bleibt && (!isWindow() || isVisible())) ereignis->ignore();
}

void Seite::done(int ergebnis) {
  if (!navigiert_ && !schliessenOhneEnde_) auftrag().ProgrammEnde = true;
  FormClose();
  ergebnis_ = ergebnis;
  if (offen_) {
    offen_ = false;
    if (schleife_ != nullptr) schleife_->exit();
  } else if (isWindow()) {
    // Shown on its own, outside the loop: it closes like a window.
    hide();
  }
}

}  // namespace tilvendo::ui
