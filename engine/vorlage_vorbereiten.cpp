#include "engine/vorlage_vorbereiten.h"

#include <stdexcept>
#include <string>

#include "engine/signatur.h"
#include "engine/wahrnehmung.h"
#include "pictures/bild_einpassen.h"
#include "platform/bitmap.h"

namespace tilvendo {

int32_t VorlagenTeilkante(int formanalyse, int kachelnY) {
  // A grid without rows has no cell to measure; any n will do.
  if (formanalyse <= 0 || kachelnY <= 0) return 1;
  return static_cast<int32_t>(static_cast<double>(kVorlageMindesthoehe) /
                              (static_cast<double>(formanalyse) * kachelnY)) +
         1;
}

void VorlageVorbereiten(Auftrag& auftrag, Fortschritt& fortschritt) {
  auftrag.PhasenZeiten[Phase::Vorbereiten].beginn = Jetzt();
  Zellenraster& raster = *auftrag.einstellungen.Raster;
  const int kachelnX = raster.kachelnX();
  const int kachelnY = raster.kachelnY();
  const int formanalyse = auftrag.analyse.Formanalyse;
  if (formanalyse < 1 || formanalyse > kMaxFormanalyse) {
    throw std::invalid_argument("Ungültige Formanalyse: " + std::to_string(formanalyse));
  }
  const int n = VorlagenTeilkante(formanalyse, kachelnY);
  const int s = formanalyse * n;
  // Tiles measured in the perceptual space must meet cells measured the same way.
  const bool wahrnehmung = auftrag.einstellungen.verfahren.Wahrnehmung;

  Bitmap p(s * kachelnX, s * kachelnY);
  BildEinpassen(p, Rect{0, 0, p.width(), p.height()}, auftrag.VorlageBild);

  int32_t zaehler = 0;
  for (int x = 1; x <= kachelnX; ++x) {
    for (int y = 1; y <= kachelnY; ++y) {
      if (auftrag.Abbruch) {
        auftrag.PhasenZeiten[Phase::Vorbereiten].ende = Jetzt();
        return;
      }
      fortschritt.FortschrittAnzeigen(++zaehler);
      Kachelsignatur& signatur = raster.at(x, y).signatur;
      SignaturMessen(p, s * (x - 1), s * (y - 1), formanalyse, n, signatur);
      if (wahrnehmung) InWahrnehmungsraum(signatur, formanalyse);
    }
  }
  auftrag.PhasenZeiten[Phase::Vorbereiten].ende = Jetzt();
}

}  // namespace tilvendo
