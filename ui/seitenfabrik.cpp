#include "ui/seitenfabrik.h"

#include "ui/alben_seite.h"
#include "ui/ergebnis_seite.h"
#include "ui/erweitert_seite.h"
#include "ui/info_seite.h"
#include "ui/kachelung_seite.h"
#include "ui/seite.h"
#include "ui/speichern_optionen_seite.h"
#include "ui/uebersicht_seite.h"
#include "ui/vorlage_seite.h"
#include "ui/zielgroesse_seite.h"

namespace tilvendo::ui {

std::unique_ptr<Seite> SeiteErzeugen(Assistent& assistent, uint16_t nummer) {
  using wizard::Seite;
  switch (static_cast<Seite>(nummer)) {
    case Seite::Vorlage:
      return std::make_unique<VorlageSeite>(assistent);
    case Seite::Zielgroesse:
      return std::make_unique<ZielgroesseSeite>(assistent);
    case Seite::Kachelung:
      return std::make_unique<KachelungSeite>(assistent);
    case Seite::Alben:
      return std::make_unique<AlbenSeite>(assistent);
    case Seite::Erweitert:
      return std::make_unique<ErweitertSeite>(assistent);
    case Seite::Ergebnis:
      return std::make_unique<ErgebnisSeite>(assistent);
    case Seite::Uebersicht:
      return std::make_unique<UebersichtSeite>(assistent);
    case Seite::Information:
      return std::make_unique<InfoSeite>(assistent);
    case Seite::SpeichernOptionen:
      return std::make_unique<SpeichernOptionenSeite>(assistent);
    default:
      // The album editor belongs to the album page, which makes and keeps its own.
      return nullptr;
  }
}

}  // namespace tilvendo::ui
