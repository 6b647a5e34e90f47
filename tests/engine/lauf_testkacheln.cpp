#include "lauf_testkacheln.h"

#include <algorithm>
#include <limits>

#include "engine/abgleich.h"
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

Kachelsignatur Zufallssignatur(std::mt19937& gen, int formanalyse, int32_t nummer, int grenze) {
  std::uniform_int_distribution<int> wert(0, grenze - 1);
  Kachelsignatur s;
  s.Nummer = nummer;
  for (int i = 0; i < formanalyse; ++i) {
    for (int j = 0; j < formanalyse; ++j) {
      Feld& f = s.Felder[i][j];
      f.Rot = static_cast<uint8_t>(wert(gen));
      f.Gruen = static_cast<uint8_t>(wert(gen));
      f.Blau = static_cast<uint8_t>(wert(gen));
      f.Summe = static_cast<uint16_t>(f.Rot + f.Gruen + f.Blau);
    }
  }
  s.Rot = s.Felder[0][0].Rot;
  s.Gruen = s.Felder[0][0].Gruen;
  s.Blau = s.Felder[0][0].Blau;
  s.Helligkeit = static_cast<uint16_t>(s.Rot + s.Gruen + s.Blau);
  return s;
}

int64_t Durchprobiert(const std::vector<std::vector<int32_t>>& kosten,
                      const std::vector<int32_t>& unten, const std::vector<int32_t>& oben) {
  const size_t zellen = kosten.size();
  int64_t beste = std::numeric_limits<int64_t>::max();
  std::vector<size_t> wahl(zellen, 0);
  for (;;) {
    std::vector<int32_t> nutzung(unten.size(), 0);
    int64_t summe = 0;
    for (size_t c = 0; c < zellen; ++c) {
      ++nutzung[wahl[c]];
      summe += kosten[c][wahl[c]];
    }
    bool erlaubt = true;
    for (size_t p = 0; p < unten.size(); ++p) {
      erlaubt = erlaubt && nutzung[p] >= unten[p] && nutzung[p] <= oben[p];
    }
    if (erlaubt) beste = std::min(beste, summe);
    size_t stelle = 0;
    while (stelle < zellen && ++wahl[stelle] == unten.size()) wahl[stelle++] = 0;
    if (stelle == zellen) return beste;
  }
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

std::optional<Verwendungsliste> Zuordnungsjob::Zuordnen(unsigned threads) {
  Fortschritt fortschritt(auftrag, benutzer);
  Arbeitsgruppe gruppe(threads);
  return KachelnZuordnen(auftrag, fortschritt, gruppe);
}

}  // namespace tilvendo::testing
