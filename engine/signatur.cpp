#include "engine/signatur.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

#include "platform/rounding.h"

namespace tilvendo {
namespace {

// Positions inside a cache record.
constexpr size_t kNummerStelle = 0;
constexpr size_t kSummeStelle = 4;
constexpr size_t kRotStelle = 6;
constexpr size_t kGruenStelle = 7;
constexpr size_t kBlauStelle = 8;
constexpr size_t kNummerBytes = 4;
constexpr unsigned kBitsJeByte = 8;

uint8_t Mittel(int64_t summe, int64_t anzahl) {
  return static_cast<uint8_t>(DivideRoundHalfEven(summe, anzahl));
}

uint16_t Farbsumme(uint8_t rot, uint8_t gruen, uint8_t blau) {
  return static_cast<uint16_t>(rot + gruen + blau);
}

void SatzSchreiben(uint8_t* satz, int32_t nummer, uint16_t summe, uint8_t rot, uint8_t gruen,
                   uint8_t blau) {
  std::fill(satz, satz + kSatzGroesse, uint8_t{0});
  const auto n = static_cast<uint32_t>(nummer);
  for (size_t b = 0; b < kNummerBytes; ++b) {
    satz[kNummerStelle + b] = static_cast<uint8_t>(n >> (kBitsJeByte * b));
  }
  satz[kSummeStelle] = static_cast<uint8_t>(summe);
  satz[kSummeStelle + 1] = static_cast<uint8_t>(summe >> kBitsJeByte);
  satz[kRotStelle] = rot;
  satz[kGruenStelle] = gruen;
  satz[kBlauStelle] = blau;
}

int32_t NummerLesen(const uint8_t* satz) {
  uint32_t n = 0;
  for (size_t b = 0; b < kNummerBytes; ++b) {
    n |= static_cast<uint32_t>(satz[kNummerStelle + b]) << (kBitsJeByte * b);
  }
  return static_cast<int32_t>(n);
}

uint16_t SummeLesen(const uint8_t* satz) {
  return static_cast<uint16_t>(satz[kSummeStelle] | (satz[kSummeStelle + 1] << kBitsJeByte));
}

void LevelPruefen(int formanalyse) {
  if (formanalyse < 1 || formanalyse > kMaxFormanalyse) {
    throw std::invalid_argument("Formanalyse ausserhalb 1..10: " + std::to_string(formanalyse));
  }
}

}  // namespace

int Teilkante(const Analyse& analyse) {
  LevelPruefen(analyse.Formanalyse);
  return std::max(1, analyse.Abtastgroesse / analyse.Formanalyse);
}

int Arbeitskante(const Analyse& analyse) {
  return Teilkante(analyse) * analyse.Formanalyse;
}

Kachelsignatur SignaturBerechnen(const Bitmap& w, int formanalyse, int teilkante) {
  LevelPruefen(formanalyse);
  const int kante = formanalyse * teilkante;
  if (w.format() != PixelFormat::k32 || w.width() < kante || w.height() < kante) {
    throw std::invalid_argument("Arbeitsbild passt nicht zur Formanalyse");
  }
  Kachelsignatur signatur;
  SignaturMessen(w, 0, 0, formanalyse, teilkante, signatur);
  return signatur;
}

void SignaturMessen(const Bitmap& bild, int32_t links, int32_t oben, int formanalyse, int teilkante,
                    Kachelsignatur& ziel) {
  const int64_t pixelJeFeld = static_cast<int64_t>(teilkante) * teilkante;
  int64_t rotGesamt = 0;
  int64_t gruenGesamt = 0;
  int64_t blauGesamt = 0;
  for (int i = 0; i < formanalyse; ++i) {
    for (int j = 0; j < formanalyse; ++j) {
      int64_t rot = 0;
      int64_t gruen = 0;
      int64_t blau = 0;
      for (int y = oben + j * teilkante; y < oben + (j + 1) * teilkante; ++y) {
        const uint8_t* pixel =
            bild.row(y) + static_cast<size_t>(links + i * teilkante) * kBytesJePixel;
        for (int x = 0; x < teilkante; ++x, pixel += kBytesJePixel) {
          rot += pixel[kRotByte];
          gruen += pixel[kGruenByte];
          blau += pixel[kBlauByte];
        }
      }
      Feld& feld = ziel.Felder[static_cast<size_t>(i)][static_cast<size_t>(j)];
      feld.Rot = Mittel(rot, pixelJeFeld);
      feld.Gruen = Mittel(gruen, pixelJeFeld);
      feld.Blau = Mittel(blau, pixelJeFeld);
      feld.Summe = Farbsumme(feld.Rot, feld.Gruen, feld.Blau);
      rotGesamt += feld.Rot;
      gruenGesamt += feld.Gruen;
      blauGesamt += feld.Blau;
    }
  }
  // The whole picture's colour is the mean of the rounded sub-cell colours, not of the
  // pixels, so that it can be recomputed from a cached signature alone.
  const int64_t felder = static_cast<int64_t>(formanalyse) * formanalyse;
  ziel.Rot = Mittel(rotGesamt, felder);
  ziel.Gruen = Mittel(gruenGesamt, felder);
  ziel.Blau = Mittel(blauGesamt, felder);
  ziel.Helligkeit = Farbsumme(ziel.Rot, ziel.Gruen, ziel.Blau);
}

size_t SignaturGroesse(int formanalyse) {
  LevelPruefen(formanalyse);
  return kSatzGroesse * (1 + static_cast<size_t>(formanalyse) * static_cast<size_t>(formanalyse));
}

void SignaturKodieren(const Kachelsignatur& signatur, int formanalyse, std::span<uint8_t> ziel) {
  if (ziel.size() < SignaturGroesse(formanalyse)) {
    throw std::invalid_argument("Puffer zu klein fuer eine Signatur");
  }
  uint8_t* satz = ziel.data();
  SatzSchreiben(satz, signatur.Nummer, signatur.Helligkeit, signatur.Rot, signatur.Gruen,
                signatur.Blau);
  for (int i = 0; i < formanalyse; ++i) {
    for (int j = 0; j < formanalyse; ++j) {
      satz += kSatzGroesse;
      const Feld& feld = signatur.Felder[static_cast<size_t>(i)][static_cast<size_t>(j)];
      SatzSchreiben(satz, signatur.Nummer, feld.Summe, feld.Rot, feld.Gruen, feld.Blau);
    }
  }
}

Kachelsignatur SignaturDekodieren(std::span<const uint8_t> quelle, int formanalyse) {
  if (quelle.size() < SignaturGroesse(formanalyse)) {
    throw SignaturBeschaedigt("Signatur unvollständig");
  }
  const uint8_t* satz = quelle.data();
  Kachelsignatur signatur;
  signatur.Nummer = NummerLesen(satz);
  signatur.Helligkeit = SummeLesen(satz);
  signatur.Rot = satz[kRotStelle];
  signatur.Gruen = satz[kGruenStelle];
  signatur.Blau = satz[kBlauStelle];
  if (signatur.Helligkeit != Farbsumme(signatur.Rot, signatur.Gruen, signatur.Blau)) {
    throw SignaturBeschaedigt("Helligkeit passt nicht zur Farbe");
  }
  for (int i = 0; i < formanalyse; ++i) {
    for (int j = 0; j < formanalyse; ++j) {
      satz += kSatzGroesse;
      if (NummerLesen(satz) != signatur.Nummer) {
        throw SignaturBeschaedigt("Feld gehört zu einem anderen Bild");
      }
      Feld& feld = signatur.Felder[static_cast<size_t>(i)][static_cast<size_t>(j)];
      feld.Summe = SummeLesen(satz);
      feld.Rot = satz[kRotStelle];
      feld.Gruen = satz[kGruenStelle];
      feld.Blau = satz[kBlauStelle];
      if (feld.Summe != Farbsumme(feld.Rot, feld.Gruen, feld.Blau)) {
        throw SignaturBeschaedigt("Feldsumme passt nicht zur Farbe");
      }
    }
  }
  return signatur;
}

}  // namespace tilvendo
