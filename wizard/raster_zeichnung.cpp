#include "wizard/raster_zeichnung.h"

#include "platform/rounding.h"

namespace tilvendo::wizard {
namespace {

int32_t Teilung(int32_t laenge, int32_t index, int32_t anzahl) {
  return static_cast<int32_t>(
      DivideRoundHalfEven(static_cast<int64_t>(laenge) * index, static_cast<int64_t>(anzahl)));
}

}  // namespace

std::vector<int32_t> RasterLinien(int32_t laenge, int32_t anzahl) {
  std::vector<int32_t> linien;
  if (anzahl < 1) return linien;
  linien.reserve(static_cast<size_t>(anzahl));
  for (int32_t i = 0; i < anzahl; ++i) linien.push_back(Teilung(laenge, i, anzahl));
  return linien;
}

int32_t RasterDeckkraft(int32_t laenge, int32_t anzahl) {
  constexpr int32_t kVoll = 100;
  if (anzahl < 1) return kVoll;
  // Compared as laenge ÷ anzahl ≥ grenze, in integers.
  const int64_t l = laenge;
  if (l >= int64_t{kVolleRasterzelle} * anzahl) return kVoll;
  if (l >= int64_t{kKleinsteRasterzelle} * anzahl) return kBlasseRasterlinie;
  return 0;
}

Abstandsregel AbstandsregelZellen(int32_t kx, int32_t ky, int32_t d) {
  // Signed division truncating towards zero, as the rule is defined.
  const int32_t x0 = (kx - d) / 2 - 1;
  const int32_t y0 = (ky - d) / 2 - 1;
  const int32_t x1 = (kx + d) / 2 - 1;
  const int32_t y1 = (ky + d) / 2 - 1;
  Abstandsregel regel;
  for (int32_t i = x0; i <= x1; ++i) {
    for (int32_t j = y0; j <= y1; ++j) regel.blau.push_back({i, j});
  }
  for (int32_t j = y0; j <= y1 + 1; ++j) regel.rot.push_back({x1 + 1, j});
  for (int32_t i = x0; i <= x1 + 1; ++i) regel.rot.push_back({i, y1 + 1});
  regel.rot.push_back({x0, y0});
  return regel;
}

Rect ZellRechteck(int32_t breite, int32_t hoehe, int32_t kx, int32_t ky, ZellIndex zelle) {
  if (kx < 1 || ky < 1) return {};
  return Rect{Teilung(breite, zelle.i, kx), Teilung(hoehe, zelle.j, ky),
              Teilung(breite, zelle.i + 1, kx), Teilung(hoehe, zelle.j + 1, ky)};
}

}  // namespace tilvendo::wizard
