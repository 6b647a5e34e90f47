#include "lauf_testkacheln.h"

#include "support/bild_dateien.h"

namespace tilvendo::testing {

Kachelsignatur EinfarbigeSignatur(int32_t nummer, Farbe farbe, int formanalyse) {
  Kachelsignatur s;
  s.Nummer = nummer;
  for (int i = 0; i < formanalyse; ++i) {
    for (int j = 0; j < formanalyse; ++j) {
      s.Felder[i][j] = Feld{static_cast<uint16_t>(farbe.red + farbe.green + farbe.blue), farbe.red,
                            farbe.green, farbe.blue};
    }
  }
  s.Rot = farbe.red;
  s.Gruen = farbe.green;
  s.Blau = farbe.blue;
  s.Helligkeit = static_cast<uint16_t>(farbe.red + farbe.green + farbe.blue);
  return s;
}

std::string KachelHinzufuegen(Auftrag& auftrag, const TempFolder& ordner, Farbe farbe,
                              int32_t breite, int32_t hoehe) {
  const auto nummer = static_cast<int32_t>(auftrag.Dateiliste.size());
  const std::string datei = ordner / ("kachel" + std::to_string(nummer) + ".bmp");
  WriteTestBmp(datei, Einfarbig(breite, hoehe, farbe));
  auftrag.Dateiliste.push_back(datei);
  auftrag.kachelliste.KachelEinfuegen(
      EinfarbigeSignatur(nummer, farbe, auftrag.analyse.Formanalyse));
  return datei;
}

void RasterSetzen(Einstellungen& e, uint16_t kachelnX, uint16_t kachelnY, int32_t zellBreite,
                  int32_t zellHoehe, uint16_t zoomX, uint16_t zoomY) {
  e.KachelnX = kachelnX;
  e.KachelnY = kachelnY;
  e.ZellBreite = zellBreite;
  e.ZellHoehe = zellHoehe;
  e.ZoomX = zoomX;
  e.ZoomY = zoomY;
  e.ZielBreite = kachelnX * (zellBreite * zoomX / 100);
  e.ZielHoehe = kachelnY * (zellHoehe * zoomY / 100);
}

std::vector<int32_t> Bildnummern(const Zellenraster& raster) {
  std::vector<int32_t> bilder;
  for (int x = 1; x <= raster.kachelnX(); ++x) {
    for (int y = 1; y <= raster.kachelnY(); ++y) bilder.push_back(raster.at(x, y).Bild);
  }
  return bilder;
}

}  // namespace tilvendo::testing
