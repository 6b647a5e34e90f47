#include "ui/assistent.h"

#include <QAbstractButton>
#include <QApplication>
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

void Assistent::Seitenlauf() {
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
  const int umbruch =
      std::min(wizard::HilfeUmbruchBreite(seite->width()), wizard::HilfeTextBreite(breite));
  const QStringList zeilen = HilfeUmbrechen(wizard::HelpText(wizard::kHilfeArt, nummer),
                                            QFontMetrics(hilfe_->font()), umbruch);
  const int hoehe =
      wizard::HilfeFensterHoehe(static_cast<int32_t>(zeilen.size()), hilfe_->ZeilenHoehe());
  const QPoint oben = knopf->mapToGlobal(QPoint(0, 0));
  const wizard::HilfeFensterLage lage =
      wizard::HilfeFensterPlatzieren(oben.x(), oben.y(), knopf->height(), hoehe);
  knopf->setIcon(GlyphIcon(lage.unterhalb ? Glyphe::HilfeUp : Glyphe::HilfeDown));
  hilfe_->Zeigen(zeilen, seite->windowTitle(), QRect(lage.links, lage.oben, breite, hoehe), nummer);
}

void Assistent::HilfeGeschlossen() {
  if (hilfeKnopf_) hilfeKnopf_->setIcon(GlyphIcon(Glyphe::HilfeAn));
  seitHilfeSchluss_.start();
}

}  // namespace tilvendo::ui
