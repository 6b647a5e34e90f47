#include "ui/assistent.h"

#include <QAbstractButton>
#include <QApplication>
#include <QScreen>
#include <algorithm>
#include <limits>

#include "engine/berechnungslauf.h"
#include "pictures/blending.h"
#include "platform/translate.h"
#include "ui/bausteine.h"
#include "ui/glyphen.h"
#include "ui/hinweisfenster.h"
#include "ui/qt_benutzer.h"
#include "ui/seite.h"
#include "ui/seitenfabrik.h"
#include "ui/seitenfenster.h"
#include "ui/speichern_ablauf.h"
#include "wizard/hilfe_fenster.h"
#include "wizard/hilfetexte.h"

namespace tilvendo::ui {
namespace {

// The open mark of a help button, kept on the button itself.
constexpr const char* kHilfeOffen = "hilfeOffen";

}  // namespace

Assistent::Assistent(QtBenutzer& benutzer, const Medien& medien, const Startoptionen& optionen)
    : benutzer_(benutzer),
      medien_(medien),
      auftrag_(std::make_unique<Auftrag>()),
      fenster_(std::make_unique<Seitenfenster>()),
      hilfe_(std::make_unique<Hinweisfenster>()),
      blendwert_(BlendwertAusRegler(kReglerStandard)) {
  Programmstart(*auftrag_, optionen);
  connect(hilfe_.get(), &Hinweisfenster::geschlossen, this, &Assistent::HilfeGeschlossen);
}

Assistent::~Assistent() = default;

AlbenKontext Assistent::albenKontext() const {
  return AlbenKontext{auftrag_->AlbenPfad, &benutzer_, auftrag_->AlbenSperrFrist};
}

void Assistent::Vorbereiten() {
  StandardwerteSetzen(*auftrag_);
  auftrag_->alben = AlbenZustand();
  navigation_ = wizard::Navigation{};
}

int Assistent::Ausfuehren() {
  if (benutzer_.Farbtiefe() < kMindestFarbtiefe) {
    benutzer_.Warnung(_(kFarbtiefeWarnung.data()));
    return 0;
  }
  Vorbereiten();
  Seitenlauf();
  return 0;
}

QSize Assistent::GroessteSeitengroesse() {
  QSize groesste;
  for (const wizard::Seite seite :
       {wizard::Seite::Vorlage, wizard::Seite::Zielgroesse, wizard::Seite::Kachelung,
        wizard::Seite::Alben, wizard::Seite::Erweitert, wizard::Seite::Uebersicht}) {
    if (Seite* s = SeiteHolen(wizard::Nummer(seite))) {
      s->ensurePolished();
      groesste = groesste.expandedTo(s->Wunschgroesse());
    }
  }
  return groesste;
}

void Assistent::Seitenlauf() {
  fenster_->GrundgroesseSetzen(GroessteSeitengroesse());
  for (;;) {
    while (!auftrag_->ProgrammEnde) {
      // A number no page answers to would loop for ever; it ends like "Ende".
      if (!SeiteZeigen(auftrag_->AktSeite)) auftrag_->ProgrammEnde = true;
    }
    // The page stays in view while the question is asked.
    if (AusstiegFragen()) break;
  }
  fenster_->Leeren();
}

Seite* Assistent::SeiteHolen(uint16_t nummer) {
  auto it = seiten_.find(nummer);
  if (it == seiten_.end()) {
    std::unique_ptr<Seite> seite = SeiteErzeugen(*this, nummer);
    if (!seite) return nullptr;
    it = seiten_.emplace(nummer, std::move(seite)).first;
  }
  return it->second.get();
}

bool Assistent::SeiteZeigen(uint16_t nummer) {
  if (!wizard::VomSeitenlaufGezeigt(nummer)) return false;
  Seite* seite = SeiteHolen(nummer);
  if (seite == nullptr) return false;
  seite->exec();
  return true;
}

bool Assistent::AusstiegFragen() {
  const wizard::Ausstiegsfrage frage =
      wizard::AusstiegsfrageWaehlen(auftrag_->analyse.ErgebnisGespeichert);
  const wizard::Antwort antwort =
      benutzer_.Frage(wizard::Fragetext(frage), frage == wizard::Ausstiegsfrage::ErgebnisSpeichern);
  switch (wizard::AusstiegEntscheiden(frage, antwort)) {
    case wizard::Ausstieg::Beenden:
      return true;
    case wizard::Ausstieg::Bleiben:
      auftrag_->ProgrammEnde = false;
      return false;
    case wizard::Ausstieg::SpeichernDannEnden:
      if (ErgebnisSpeichern()) {
        auftrag_->analyse.ErgebnisGespeichert = 1;
        return true;
      }
      auftrag_->ProgrammEnde = false;
      return false;
  }
  return false;
}

bool Assistent::ErgebnisSpeichern() {
  const Sanduhr sanduhr;
  return SaveMosaic(*this);
}

void Assistent::HilfeZeigen(QAbstractButton* knopf, QWidget* seite, int32_t nummer) {
  const bool offen = knopf->property(kHilfeOffen).toBool();
  const double msSeitSchluss = seitHilfeSchluss_.isValid()
                                   ? static_cast<double>(seitHilfeSchluss_.elapsed())
                                   : std::numeric_limits<double>::infinity();
  if (wizard::HilfeKlickPruefen(offen, msSeitSchluss, nummer) == wizard::HilfeKlick::Schliessen) {
    knopf->setProperty(kHilfeOffen, false);
    return;
  }
  knopf->setProperty(kHilfeOffen, true);
  hilfeKnopf_ = knopf;

  const QWidget* eltern = knopf->parentWidget() != nullptr ? knopf->parentWidget() : seite;
  const int breite = wizard::HilfeFensterBreite(eltern->width());
  // Wrapped a little narrower than the popup, so no line runs into its border.
  int umbruch =
      std::min(wizard::HilfeUmbruchBreite(seite->width()), wizard::HilfeTextBreite(breite));
  const std::vector<std::string> text = wizard::HelpText(wizard::kHilfeArt, nummer);
  const QFontMetrics metrik(hilfe_->font());
  QStringList zeilen = HilfeUmbrechen(text, metrik, umbruch);
  // On the screen the button is on, whole, or scrolling where the text is higher.
  const QScreen* bildschirm =
      knopf->screen() != nullptr ? knopf->screen() : QGuiApplication::primaryScreen();
  const QRect frei = bildschirm != nullptr ? bildschirm->availableGeometry() : QRect();
  const QRect knopfRahmen(knopf->mapToGlobal(QPoint(0, 0)), knopf->size());
  const auto platzieren = [&] {
    const int hoehe =
        wizard::HilfeFensterHoehe(static_cast<int32_t>(zeilen.size()), hilfe_->ZeilenHoehe());
    return wizard::HilfeFensterPlatzieren(
        Rect{frei.left(), frei.top(), frei.left() + frei.width(), frei.top() + frei.height()},
        Rect{knopfRahmen.left(), knopfRahmen.top(), knopfRahmen.left() + knopfRahmen.width(),
             knopfRahmen.top() + knopfRahmen.height()},
        breite, hoehe);
  };
  wizard::HilfeFensterLage lage = platzieren();
  if (lage.hoehe <
      wizard::HilfeFensterHoehe(static_cast<int32_t>(zeilen.size()), hilfe_->ZeilenHoehe())) {
    // The scroll bar takes its width from the lines.
    umbruch -= hilfe_->RollbalkenBreite();
    zeilen = HilfeUmbrechen(text, metrik, umbruch);
    lage = platzieren();
  }
  knopf->setIcon(GlyphIcon(lage.unterhalb ? Glyphe::HilfeUp : Glyphe::HilfeDown));
  hilfe_->Zeigen(zeilen, seite->windowTitle(), QRect(lage.links, lage.oben, breite, lage.hoehe),
                 nummer);
}

void Assistent::HilfeGeschlossen() {
  if (hilfeKnopf_) hilfeKnopf_->setIcon(GlyphIcon(Glyphe::HilfeAn));
  seitHilfeSchluss_.start();
}

}  // namespace tilvendo::ui
