#include "wizard/ergebnis_seite.h"

#include <algorithm>
#include <cmath>

#include "pictures/bild_einpassen.h"
#include "pictures/blending.h"
#include "platform/translate.h"
#include "wizard/dezimalkomma.h"

namespace tilvendo::wizard {
namespace {

Bitmap AufGroesse(const Bitmap& bild, int32_t breite, int32_t hoehe) {
  // A picture of that size already (a large-format run's screen copy) is only copied:
  // a stretch copy to the same size changes no pixel.
  if (bild.width() == breite && bild.height() == hoehe && bild.format() == kPixelformat) {
    return bild.Clone();
  }
  Bitmap ergebnis(breite, hoehe);
  BildEinpassen(ergebnis, Rect{0, 0, breite, hoehe}, bild);
  return ergebnis;
}

}  // namespace

Size ErgebnisFenster(Size anzeige, int32_t rahmenBreite, int32_t rahmenHoehe) {
  return Size{std::max(anzeige.width + rahmenBreite, kErgebnisMindestBreite),
              anzeige.height + rahmenHoehe};
}

std::string Skalierungstext(int32_t anzeigeBreite, int32_t mosaikBreite, int32_t zielBreite,
                            int32_t zielHoehe) {
  return Format(_("Fotomosaik ist auf {}% der Originalgröße ({} x {} Pixel) skaliert"),
                MitDezimalkomma(Hundertstel(anzeigeBreite * int64_t{100}, mosaikBreite)),
                zielBreite, zielHoehe);
}

std::string Skalierungstext(const Lupe& lupe, int32_t anzeigeBreite) {
  const Size mosaik = lupe.Mosaik();
  if (!lupe.Vergroessert()) {
    return Skalierungstext(anzeigeBreite, mosaik.width, mosaik.width, mosaik.height);
  }
  constexpr double kHundertstelJeEins = 10000.0;
  return Format(_("Fotomosaik ist auf {}% der Originalgröße ({} x {} Pixel) skaliert"),
                MitDezimalkomma(std::llround(lupe.Massstab() * kHundertstelJeEins)), mosaik.width,
                mosaik.height);
}

std::string Speicherhinweis(uint8_t ergebnisGespeichert, const std::string& zuletztGespeichert,
                            int32_t schwarzeKacheln) {
  if (ergebnisGespeichert != 1 || zuletztGespeichert.empty()) return {};
  if (schwarzeKacheln > 0) {
    return Format(NG_("unvollständig gespeichert ({} Kachel schwarz, Fotos nicht lesbar): ",
                      "unvollständig gespeichert ({} Kacheln schwarz, Fotos nicht lesbar): ",
                      static_cast<uint64_t>(schwarzeKacheln)),
                  schwarzeKacheln) +
           zuletztGespeichert;
  }
  return _("gespeichert: ") + zuletztGespeichert;
}

std::string Blendtext(int32_t position) {
  return Format(_("die Vorlage ist zu {} % in das Fotomosaik eingeblendet"),
                VorlagenAnteil(position));
}

void Ergebnisanzeige::Vorbereiten(const Bitmap& mosaik, const Bitmap& vorlage, int32_t position,
                                  Bitmap& anzeige) {
  mosaik_ = AufGroesse(mosaik, anzeige.width(), anzeige.height());
  vorlage_ = AufGroesse(vorlage, anzeige.width(), anzeige.height());
  Blenden(position, anzeige);
}

bool Ergebnisanzeige::ReglerGeaendert(int32_t position, Bitmap& anzeige) {
  if (letztePosition_ == position) return false;
  Blenden(position, anzeige);
  return true;
}

void Ergebnisanzeige::Blenden(int32_t position, Bitmap& anzeige) {
  letztePosition_ = position;
  if (anzeige.empty() || mosaik_.width() != anzeige.width() ||
      mosaik_.height() != anzeige.height()) {
    return;
  }
  BlendBitmaps(vorlage_, mosaik_, anzeige, BlendwertAusRegler(position));
  ++blendungen_;
}

}  // namespace tilvendo::wizard
