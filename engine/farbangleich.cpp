#include "engine/farbangleich.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/rounding.h"

namespace tilvendo {
namespace {

constexpr int kVoll = 100;  // per cent
constexpr int kGroessterWert = 255;

struct Band {
  int32_t anfang = 0;
  int32_t ende = 0;  // exclusive
};

// Band k of `teile` over [anfang, anfang + laenge), laenge ≥ 1; at least one pixel.
Band Teilband(int k, int teile, int32_t anfang, int32_t laenge) {
  const auto a = static_cast<int32_t>(int64_t{k} * laenge / teile);
  const auto b = static_cast<int32_t>(int64_t{k + 1} * laenge / teile);
  return Band{anfang + a, anfang + std::max(b, a + 1)};
}

// [anfang, ende) held within [0, groesse), at least one pixel (groesse ≥ 1).
Band Beschraenkt(int32_t anfang, int32_t ende, int32_t groesse) {
  anfang = std::clamp(anfang, 0, groesse - 1);
  ende = std::clamp(ende, anfang + 1, groesse);
  return Band{anfang, ende};
}

size_t Teil(int i, int j, int teile) {
  return static_cast<size_t>(i) * static_cast<size_t>(teile) + static_cast<size_t>(j);
}

void TeilePruefen(int teile) {
  if (teile < 1 || teile > kMaxFormanalyse) {
    throw std::invalid_argument("Teile ausserhalb 1..10: " + std::to_string(teile));
  }
}

}  // namespace

Teilfarben TeilfarbenMessen(const Bitmap& bild, Rect rechteck, int teile) {
  TeilePruefen(teile);
  if (bild.empty() || bild.format() != PixelFormat::k32) {
    throw std::invalid_argument("Farbangleich braucht ein 32-Bit-Bild");
  }
  const Band spalten = Beschraenkt(rechteck.left, rechteck.right, bild.width());
  const Band zeilen = Beschraenkt(rechteck.top, rechteck.bottom, bild.height());
  Teilfarben farben;
  farben.teile = teile;
  for (int i = 0; i < teile; ++i) {
    const Band x = Teilband(i, teile, spalten.anfang, spalten.ende - spalten.anfang);
    for (int j = 0; j < teile; ++j) {
      const Band y = Teilband(j, teile, zeilen.anfang, zeilen.ende - zeilen.anfang);
      int64_t rot = 0;
      int64_t gruen = 0;
      int64_t blau = 0;
      for (int32_t zeile = y.anfang; zeile < y.ende; ++zeile) {
        const uint8_t* pixel = bild.row(zeile) + static_cast<size_t>(x.anfang) * kBytesJePixel;
        for (int32_t s = x.anfang; s < x.ende; ++s, pixel += kBytesJePixel) {
          rot += pixel[kRotByte];
          gruen += pixel[kGruenByte];
          blau += pixel[kBlauByte];
        }
      }
      const auto anzahl =
          static_cast<double>(int64_t{x.ende - x.anfang} * int64_t{y.ende - y.anfang});
      farben.mittel[Teil(i, j, teile)] = {static_cast<double>(rot) / anzahl,
                                          static_cast<double>(gruen) / anzahl,
                                          static_cast<double>(blau) / anzahl};
    }
  }
  return farben;
}

int Angleichteile(int formanalyse, int32_t breite, int32_t hoehe) {
  if (formanalyse <= 1 || breite < formanalyse || hoehe < formanalyse) return 1;
  return std::min(formanalyse, kMaxFormanalyse);
}

void AngeglichenEinsetzen(const Bitmap& kachel, const Teilfarben& kachelFarben,
                          const Teilfarben& zellFarben, int staerke, Bitmap& ziel, int32_t links,
                          int32_t oben) {
  const int teile = kachelFarben.teile;
  TeilePruefen(teile);
  if (zellFarben.teile != teile) throw std::invalid_argument("Teile passen nicht zusammen");
  if (kachel.empty()) return;
  const double anteil = static_cast<double>(std::clamp(staerke, 0, kVoll)) / kVoll;
  const int32_t breite = kachel.width();
  const int32_t hoehe = kachel.height();
  for (int i = 0; i < teile; ++i) {
    const Band x = Teilband(i, teile, 0, breite);
    for (int j = 0; j < teile; ++j) {
      const Band y = Teilband(j, teile, 0, hoehe);
      const auto& z = zellFarben.mittel[Teil(i, j, teile)];
      const auto& k = kachelFarben.mittel[Teil(i, j, teile)];
      // Indexed by the byte position inside a pixel; the byte nothing reads moves by 0.
      std::array<int, kBytesJePixel> verschiebung{};
      verschiebung[kRotByte] = static_cast<int>(RoundHalfEven(anteil * (z[0] - k[0])));
      verschiebung[kGruenByte] = static_cast<int>(RoundHalfEven(anteil * (z[1] - k[1])));
      verschiebung[kBlauByte] = static_cast<int>(RoundHalfEven(anteil * (z[2] - k[2])));
      const size_t bytes = static_cast<size_t>(x.ende - x.anfang) * kBytesJePixel;
      for (int32_t zeile = y.anfang; zeile < y.ende; ++zeile) {
        const uint8_t* quelle = kachel.row(zeile) + static_cast<size_t>(x.anfang) * kBytesJePixel;
        uint8_t* pixel =
            ziel.row(oben + zeile) + static_cast<size_t>(links + x.anfang) * kBytesJePixel;
        // One flat loop over the bytes, which the compiler turns into vector code.
        for (size_t b = 0; b < bytes; ++b) {
          pixel[b] = static_cast<uint8_t>(
              std::clamp(quelle[b] + verschiebung[b % kBytesJePixel], 0, kGroessterWert));
        }
      }
    }
  }
}

}  // namespace tilvendo
