#include "ui/seitenfenster.h"

#include <QApplication>
#include <QCloseEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/seite.h"
#include "wizard/fensterlage.h"

namespace tilvendo::ui {
namespace {

Rect AlsRect(const QRect& r) {
  return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// The keyboard starts at the page's first control, as in a window of its own, unless the
// page put it somewhere itself.
void Fokussieren(Seite* seite) {
  const QWidget* bisher = QApplication::focusWidget();
  if (bisher != nullptr && seite->isAncestorOf(bisher) && bisher->isVisible()) return;
  for (QWidget* w = seite->nextInFocusChain(); w != seite; w = w->nextInFocusChain()) {
    if (seite->isAncestorOf(w) && w->isVisible() && w->isEnabled() &&
        (w->focusPolicy() & Qt::TabFocus) != 0) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
  }
  seite->setFocus(Qt::OtherFocusReason);
}

}  // namespace

Seitenfenster::Seitenfenster() {
  setWindowTitle(ProgrammTitel());
  layout_ = new QVBoxLayout(this);
  layout_->setContentsMargins(0, 0, 0, 0);
}

Seitenfenster::~Seitenfenster() {
  // The pages belong to the shell, not to the window they were shown in.
  while (!stapel_.empty()) {
    if (stapel_.back()) Herausnehmen(stapel_.back());
    stapel_.pop_back();
  }
}

void Seitenfenster::Einsetzen(Seite* seite) {
  // Pages deleted meanwhile (a test's own page) leave no gap.
  std::erase_if(stapel_, [](const QPointer<Seite>& s) { return s.isNull(); });
  if (!stapel_.empty() && stapel_.back() == seite) {
    // The same page again (after the end-of-program question was cancelled): shown anew.
    seite->hide();
    seite->show();
    Anpassen(seite);
    return;
  }
  if (seite->VonSeiteGeoeffnet()) {
    if (!stapel_.empty()) {
      Seite* darunter = stapel_.back();
      darunter->FormShowAussetzen();
      darunter->hide();
    }
  } else {
    // The loop shows one page at a time: what lies here has been closed.
    while (!stapel_.empty()) {
      Herausnehmen(stapel_.back());
      stapel_.pop_back();
    }
  }
  stapel_.emplace_back(seite);
  seite->setParent(this);
  layout_->addWidget(seite);
  seite->show();
  if (!isVisible()) {
    if (!platziert_) {
      // Before it appears, so that it never jumps: in the middle of the screen.
      layout_->activate();
      GroesseGeben(groesse_.expandedTo(seite->Wunschgroesse()).expandedTo(minimumSizeHint()));
      groesse_ = size();
      if (const QScreen* bildschirm = QGuiApplication::primaryScreen()) {
        const QRect frei = bildschirm->availableGeometry();
        const wizard::Lage lage =
            wizard::FensterZentrieren(Size{frei.width(), frei.height()}, Size{width(), height()});
        move(frei.left() + lage.links, frei.top() + lage.oben);
      }
      platziert_ = true;
    }
    show();  // the page's FormShow runs here
    raise();
    activateWindow();
  }
  Anpassen(seite);
  Fokussieren(seite);
}

void Seitenfenster::Beendet(Seite* seite) {
  if (!seite->VonSeiteGeoeffnet()) return;
  const auto it = std::find(stapel_.begin(), stapel_.end(), seite);
  if (it == stapel_.end()) return;
  stapel_.erase(it);
  Herausnehmen(seite);
  std::erase_if(stapel_, [](const QPointer<Seite>& s) { return s.isNull(); });
  if (stapel_.empty()) {
    hide();
    return;
  }
  Seite* darunter = stapel_.back();
  darunter->show();
  Anpassen(darunter);
  Fokussieren(darunter);
}

void Seitenfenster::GroesseGeaendert(Seite* seite) {
  if (isVisible() && AktuelleSeite() == seite) Anpassen(seite);
}

void Seitenfenster::Leeren() {
  while (!stapel_.empty()) {
    if (stapel_.back()) Herausnehmen(stapel_.back());
    stapel_.pop_back();
  }
  hide();
}

Seite* Seitenfenster::AktuelleSeite() const {
  return stapel_.empty() ? nullptr : stapel_.back().data();
}

Seite* Seitenfenster::OffeneSeite() const {
  Seite* seite = AktuelleSeite();
  return seite != nullptr && seite->Offen() ? seite : nullptr;
}

Seitenfenster* Seitenfenster::Sichtbares() {
  for (QWidget* fenster : QApplication::topLevelWidgets()) {
    auto* seitenfenster = qobject_cast<Seitenfenster*>(fenster);
    if (seitenfenster != nullptr && seitenfenster->isVisible()) return seitenfenster;
  }
  return nullptr;
}

void Seitenfenster::closeEvent(QCloseEvent* ereignis) {
  ereignis->ignore();
  if (Seite* seite = OffeneSeite()) seite->close();
}

void Seitenfenster::Herausnehmen(Seite* seite) {
  layout_->removeWidget(seite);
  seite->hide();
  // A page of its own again, as before it was shown here.
  seite->setParent(nullptr);
}

void Seitenfenster::GrundgroesseSetzen(const QSize& groesse) {
  if (!vomBenutzer_) groesse_ = groesse_.expandedTo(groesse);
}

QSize Seitenfenster::Raum() const {
  const QScreen* bildschirm = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (bildschirm == nullptr) return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  const QRect frei = bildschirm->availableGeometry();
  if (!isVisible()) return frei.size();
  const QSize rahmen = frameGeometry().size() - geometry().size();
  const Size raum = wizard::FensterRaum(AlsRect(frei), wizard::Lage{pos().x(), pos().y()});
  return QSize(raum.width, raum.height) - rahmen;
}

void Seitenfenster::GroesseGeben(const QSize& groesse) {
  gesetzt_ = groesse;
  resize(groesse);
}

void Seitenfenster::resizeEvent(QResizeEvent* ereignis) {
  QWidget::resizeEvent(ereignis);
  // Sizes the window gave itself come back here, at once or later from the desktop.
  if (!isVisible() || ereignis->size() == gesetzt_ || ereignis->size() == groesse_) return;
  if (ereignis->spontaneous()) {
    groesse_ = ereignis->size();
    vomBenutzer_ = true;
  }
}

void Seitenfenster::Anpassen(Seite* seite) {
  // Pending changes of the page's controls count for its size.
  seite->ensurePolished();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  layout_->activate();
  const QSize wunsch = seite->Wunschgroesse().expandedTo(minimumSizeHint());
  const QSize mindest = minimumSizeHint();
  const QSize raum = Raum();
  const Size neu = wizard::FensterGroesse(
      Size{groesse_.width(), groesse_.height()}, Size{wunsch.width(), wunsch.height()},
      Size{mindest.width(), mindest.height()}, Size{raum.width(), raum.height()}, vomBenutzer_);
  const QSize groesse(neu.width, neu.height);
  // A page that grew the window (the result) leaves it grown: it never shrinks on its own,
  // not for the save options over the result nor for the pages after it.
  if (!vomBenutzer_) groesse_ = groesse_.expandedTo(groesse);
  // The frame the desktop draws around the window counts for the screen's edges.
  const QSize rahmen = frameGeometry().size() - geometry().size();
  if (groesse != size()) GroesseGeben(groesse);
  const QScreen* bildschirm = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (bildschirm == nullptr) return;
  // Only a page that needs more than the room moves the window, as little as it must.
  const QPoint bisher = pos();
  const wizard::Lage lage = wizard::FensterHalten(
      AlsRect(bildschirm->availableGeometry()), wizard::Lage{bisher.x(), bisher.y()},
      Size{groesse.width() + rahmen.width(), groesse.height() + rahmen.height()});
  if (lage.links != bisher.x() || lage.oben != bisher.y()) move(lage.links, lage.oben);
}

QWidget* WartendesFenster() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal->isVisible()) return modal;
  const Seitenfenster* fenster = Seitenfenster::Sichtbares();
  return fenster != nullptr ? fenster->OffeneSeite() : nullptr;
}

}  // namespace tilvendo::ui
