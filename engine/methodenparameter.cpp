#include "engine/methodenparameter.h"

#include <algorithm>
#include <cstdint>

namespace tilvendo {
namespace {

struct Methode {
  int32_t basis;               // candidates collected at least
  int32_t helligkeitsfenster;  // brightness window of the preselection
  int32_t prozent;             // per cent of the available pictures added
};

constexpr std::array<Methode, 4> kMethoden = {{
    {250, 25, 1},     // Standard
    {100, 0, 0},      // Schnell
    {500, 100, 5},    // Gründlich
    {1500, 150, 10},  // Optimal
}};

constexpr std::array<int32_t, 4> kMusterabstaende = {3, 0, 1, 5};

// Values outside the tables behave like the first entry.
size_t Tabellenzeile(uint8_t wert) {
  return wert <= 3 ? wert : 0;
}

// The square formed in 64 bits, so absurd distances cannot overflow.
int64_t BenoetigteBilder64(const Einstellungen& einstellungen) {
  const int64_t n =
      static_cast<int64_t>(einstellungen.minAbstand) + einstellungen.Musterabstand + 1;
  return n * n;
}

}  // namespace

int32_t BenoetigteBilder(const Einstellungen& einstellungen) {
  // Held at the largest 32-bit count: more than any album collection holds.
  const int64_t bilder = BenoetigteBilder64(einstellungen);
  return bilder > INT32_MAX ? INT32_MAX : static_cast<int32_t>(bilder);
}

Bilderbedarf BilderbedarfErmitteln(const Einstellungen& einstellungen) {
  Bilderbedarf bedarf;
  bedarf.mindestens = std::max<int64_t>(BenoetigteBilder(einstellungen),
                                        BilderFuerVerwendungsgrenze(einstellungen));
  if (einstellungen.verfahren.JedesFoto) {
    bedarf.hoechstens = int64_t{einstellungen.KachelnX} * einstellungen.KachelnY;
  }
  return bedarf;
}

int32_t MaxAbstand(const Bildzahlen& anzahl, const Einstellungen& einstellungen) {
  Einstellungen kopie;
  kopie.Musterabstand = einstellungen.Musterabstand;
  kopie.minAbstand = 1;
  // A 16-bit counter, as the record holds it; it cannot pass 65535 before the square
  // outgrows any 32-bit picture count.
  while (BenoetigteBilder64(kopie) <= anzahl.gesamt && kopie.minAbstand < UINT16_MAX) {
    ++kopie.minAbstand;
  }
  return static_cast<int32_t>(kopie.minAbstand) - 1;
}

void SetzeBerechnungsart(Einstellungen& einstellungen, int32_t verfuegbar, uint8_t methode) {
  const Methode& zeile = kMethoden[Tabellenzeile(methode)];
  int32_t v =
      zeile.basis + static_cast<int32_t>(static_cast<int64_t>(zeile.prozent) * verfuegbar / 100);
  const int32_t benoetigt = BenoetigteBilder(einstellungen);
  if (v < benoetigt) v = benoetigt;
  einstellungen.Kandidatenzahl = verfuegbar < v ? verfuegbar : v;
  einstellungen.Helligkeitsfenster = zeile.helligkeitsfenster;
  einstellungen.Berechnungsart = methode;
}

void SetzeMusterbildung(Einstellungen& einstellungen, uint8_t modus) {
  einstellungen.Musterabstand = kMusterabstaende[Tabellenzeile(modus)];
  einstellungen.Musterbildung = modus;
}

int32_t ZoomAngleichen(bool vergroessert, int32_t a, int32_t b, int32_t maxA, int32_t maxB) {
  if (maxA < a) {
    a = maxA;
    b = maxA;
  }
  if (maxB < b) {
    a = maxB;
    b = maxB;
  }
  const int32_t gemeinsam = ((b < a) == vergroessert) ? a : b;
  // The common value stands for both zooms, so it must fit both limits; after growth the
  // larger value may otherwise be the one that passed only its own limit.
  return Min(gemeinsam, Min(maxA, maxB));
}

}  // namespace tilvendo
