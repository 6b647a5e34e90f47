#include "pictures/ausrichtung.h"

#include <algorithm>

namespace tilvendo {

std::optional<Ausrichtung> AusrichtungVonWert(uint32_t wert) {
  constexpr uint32_t kErster = static_cast<uint32_t>(Ausrichtung::Normal);
  constexpr uint32_t kLetzter = static_cast<uint32_t>(Ausrichtung::LinksGedreht);
  if (wert < kErster || wert > kLetzter) return std::nullopt;
  return static_cast<Ausrichtung>(wert);
}

Abbildung AbbildungVon(Ausrichtung ausrichtung) {
  switch (ausrichtung) {
    case Ausrichtung::Normal:
      return {};
    case Ausrichtung::WaagrechtGespiegelt:
      return {.spiegelnU = true};
    case Ausrichtung::Umgedreht:
      return {.spiegelnU = true, .spiegelnV = true};
    case Ausrichtung::SenkrechtGespiegelt:
      return {.spiegelnV = true};
    case Ausrichtung::Transponiert:
      return {.vertauscht = true};
    case Ausrichtung::RechtsGedreht:
      // The first stored row becomes the right-hand column: u runs against y.
      return {.vertauscht = true, .spiegelnU = true};
    case Ausrichtung::QuerTransponiert:
      return {.vertauscht = true, .spiegelnU = true, .spiegelnV = true};
    case Ausrichtung::LinksGedreht:
      // The first stored column becomes the bottom row: v runs against x.
      return {.vertauscht = true, .spiegelnV = true};
  }
  return {};
}

Size AufrechteGroesse(Size gespeichert, Ausrichtung ausrichtung) {
  if (!AbbildungVon(ausrichtung).vertauscht) return gespeichert;
  return Size{gespeichert.height, gespeichert.width};
}

Rect MittigerZuschnitt(Size bild, Size ziel) {
  const Rect ganz{0, 0, bild.width, bild.height};
  if (bild.width <= 0 || bild.height <= 0 || ziel.width <= 0 || ziel.height <= 0) return ganz;
  // Compare the proportions exactly: bild.width / bild.height against ziel.width / ziel.height.
  const int64_t breitSeite = static_cast<int64_t>(bild.width) * ziel.height;
  const int64_t hochSeite = static_cast<int64_t>(ziel.width) * bild.height;
  if (breitSeite > hochSeite) {
    // Wider than the target: keep the full height, cut left and right.
    const int64_t breite = std::max<int64_t>(1, (2 * hochSeite + ziel.height) / (2 * ziel.height));
    const auto links = static_cast<int32_t>((bild.width - breite) / 2);
    return Rect{links, 0, links + static_cast<int32_t>(breite), bild.height};
  }
  if (breitSeite < hochSeite) {
    const int64_t hoehe = std::max<int64_t>(1, (2 * breitSeite + ziel.width) / (2 * ziel.width));
    const auto oben = static_cast<int32_t>((bild.height - hoehe) / 2);
    return Rect{0, oben, bild.width, oben + static_cast<int32_t>(hoehe)};
  }
  return ganz;
}

}  // namespace tilvendo
