#include "engine/vorlage_vorbereiten.h"

#include <stdexcept>
#include <string>

#include "engine/distanz.h"
#include "pictures/bild_einpassen.h"
#include "platform/bitmap.h"

namespace tilvendo {
namespace {

// Byte offsets of the colour components in a working pixel (blue, green, red, unused).
constexpr int kBlau = 0;
constexpr int kGruen = 1;
constexpr int kRot = 2;
constexpr int kBytesProPixel = 4;

void ZelleMessen(const Bitmap& p, int x, int y, int formanalyse, int n, Kachelsignatur& ziel) {
  const int s = formanalyse * n;
  const int64_t pixelProFeld = static_cast<int64_t>(n) * n;
  int64_t rotSumme = 0;
  int64_t gruenSumme = 0;
  int64_t blauSumme = 0;
  for (int i = 0; i < formanalyse; ++i) {
    for (int j = 0; j < formanalyse; ++j) {
      int64_t rot = 0;
      int64_t gruen = 0;
      int64_t blau = 0;
      const int links = s * (x - 1) + n * i;
      const int oben = s * (y - 1) + n * j;
      for (int py = oben; py < oben + n; ++py) {
        const uint8_t* pixel = p.row(py) + static_cast<size_t>(links) * kBytesProPixel;
        for (int px = 0; px < n; ++px, pixel += kBytesProPixel) {
          rot += pixel[kRot];
          gruen += pixel[kGruen];
          blau += pixel[kBlau];
        }
      }
      Feld& feld = ziel.Felder[i][j];
      feld.Rot = static_cast<uint8_t>(GerundeterQuotient(rot, pixelProFeld));
      feld.Gruen = static_cast<uint8_t>(GerundeterQuotient(gruen, pixelProFeld));
      feld.Blau = static_cast<uint8_t>(GerundeterQuotient(blau, pixelProFeld));
      feld.Summe = static_cast<uint16_t>(feld.Rot + feld.Gruen + feld.Blau);
      rotSumme += feld.Rot;
      gruenSumme += feld.Gruen;
      blauSumme += feld.Blau;
    }
  }
  const int64_t felder = static_cast<int64_t>(formanalyse) * formanalyse;
  ziel.Rot = static_cast<uint8_t>(GerundeterQuotient(rotSumme, felder));
  ziel.Gruen = static_cast<uint8_t>(GerundeterQuotient(gruenSumme, felder));
  ziel.Blau = static_cast<uint8_t>(GerundeterQuotient(blauSumme, felder));
  ziel.Helligkeit = static_cast<uint16_t>(ziel.Rot + ziel.Gruen + ziel.Blau);
}

}  // namespace

int32_t VorlagenTeilkante(int formanalyse, int kachelnY) {
  // A grid without rows has no cell to measure; any n will do.
  if (formanalyse <= 0 || kachelnY <= 0) return 1;
  return static_cast<int32_t>(static_cast<double>(kVorlageMindesthoehe) /
                              (static_cast<double>(formanalyse) * kachelnY)) +
         1;
}

void VorlageVorbereiten(Auftrag& auftrag, Fortschritt& fortschritt) {
  auftrag.PhasenZeiten[1] = Jetzt();
  Zellenraster& raster = *auftrag.einstellungen.Raster;
  const int kachelnX = raster.kachelnX();
  const int kachelnY = raster.kachelnY();
  const int formanalyse = auftrag.analyse.Formanalyse;
  if (formanalyse < 1 || formanalyse > kMaxFormanalyse) {
    throw std::invalid_argument("Ungültige Formanalyse: " + std::to_string(formanalyse));
  }
  const int n = VorlagenTeilkante(formanalyse, kachelnY);
  const int s = formanalyse * n;

  Bitmap p(s * kachelnX, s * kachelnY);
  BildEinpassen(p, Rect{0, 0, p.width(), p.height()}, auftrag.VorlageBild);

  int32_t zaehler = 0;
  for (int x = 1; x <= kachelnX; ++x) {
    for (int y = 1; y <= kachelnY; ++y) {
      if (auftrag.Abbruch) {
        auftrag.PhasenZeiten[6] = Jetzt();
        return;
      }
      fortschritt.FortschrittAnzeigen(++zaehler);
      ZelleMessen(p, x, y, formanalyse, n, raster.at(x, y).signatur);
    }
  }
  auftrag.PhasenZeiten[6] = Jetzt();
}

}  // namespace tilvendo
