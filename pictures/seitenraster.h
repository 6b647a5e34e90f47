// A poster printed at home: the picture split into the sheets a normal printer takes.
//
// Each sheet holds its part of the poster at the poster's own resolution inside the
// printer's unprintable margin. Neighbouring sheets share a strip (the overlap) along their
// common edge, so that glued on top of each other they leave no gap: a sheet's right strip
// is its right neighbour's left strip, its lower strip its lower neighbour's upper one.
// Sheets are named by their row letter and column number ("B3"), from the top left.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/rect.h"

namespace tilvendo {

// A paper size as sold, standing upright (width ≤ height), in millimetres.
struct Blattformat {
  const char* name;
  double breiteMm;
  double hoeheMm;
};

// ISO A5–A3 and the US sizes.
inline constexpr std::array<Blattformat, 6> kBlattformate{{
    {"A5", 148.0, 210.0},
    {"A4", 210.0, 297.0},
    {"A3", 297.0, 420.0},
    {"Letter", 215.9, 279.4},
    {"Legal", 215.9, 355.6},
    {"Tabloid", 279.4, 431.8},
}};

// The paper named `name` (letter case ignored); none for an unknown name.
std::optional<Blattformat> BlattformatVon(std::string_view name);

enum class Blattlage {
  Automatisch,  // the one needing fewer sheets; upright when both need as many
  Hoch,
  Quer,
};

inline constexpr double kStandardRandMm = 5.0;
inline constexpr double kStandardUeberlappungMm = 10.0;
// No printer takes a longer sheet; beyond it a number was surely mistyped.
inline constexpr double kGroessteBlattkanteMm = 2000.0;

// What the user chose for the sheets.
struct Seitenwahl {
  double blattBreiteMm = 210.0;  // the paper as named (A4), before it is turned
  double blattHoeheMm = 297.0;
  Blattlage lage = Blattlage::Automatisch;
  double ueberlappungMm = kStandardUeberlappungMm;
  double randMm = kStandardRandMm;
  bool uebersicht = true;  // an assembly sheet before the others
};

// The sheets of one poster.
struct Seitenraster {
  int32_t spalten = 0;
  int32_t zeilen = 0;
  bool quer = false;
  double blattBreiteMm = 0;  // as the sheets lie
  double blattHoeheMm = 0;
  double randMm = 0;
  double ueberlappungMm = 0;
  // The poster's pixels a sheet holds at the most, its overlap strips included, and the
  // overlap's width across and height down.
  int32_t feldBreite = 0;
  int32_t feldHoehe = 0;
  int32_t ueberlappungX = 0;
  int32_t ueberlappungY = 0;
  int32_t posterBreite = 0;
  int32_t posterHoehe = 0;
  double dpiX = 0;
  double dpiY = 0;

  int32_t Blaetter() const { return spalten * zeilen; }
  // From one sheet's left (top) edge to its right (lower) neighbour's.
  int32_t SchrittX() const { return feldBreite - ueberlappungX; }
  int32_t SchrittY() const { return feldHoehe - ueberlappungY; }
  // The poster's pixels on the sheet in `zeile`, `spalte` (from 0): the last ones of a row
  // or column end with the poster.
  Rect Ausschnitt(int32_t zeile, int32_t spalte) const;
};

// The sheets for a breite × hoehe poster printed at dpiX × dpiY. Raises WriteError (a German
// message with the figures) for a margin or overlap that is not above 0, a sheet without
// printable area, an overlap of half the printable area or more, a sheet side over 2 m, or
// a poster without size or resolution.
Seitenraster SeitenrasterBerechnen(int32_t breite, int32_t hoehe, double dpiX, double dpiY,
                                   const Seitenwahl& wahl);

// A length on paper in the language's way, to a tenth where it has one: "10", "12,5".
std::string MillimeterText(double mm);

// "A1" for the first sheet; rows beyond Z go on as AA, AB …
std::string Blattname(int32_t zeile, int32_t spalte);

}  // namespace tilvendo
