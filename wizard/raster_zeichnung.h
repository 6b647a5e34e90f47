// The drawings over the template previews: the tile grid, and the distance rule that
// shows where a tile may recur. Geometry only; the pages paint it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/rect.h"

namespace tilvendo::wizard {

// Positions of the grid lines across a box `laenge` pixels long with `anzahl` cells:
// laenge × i / anzahl for i = 0 .. anzahl − 1, rounded half to even. The first edge gets
// a line, the last does not. Empty for fewer than one cell.
std::vector<int32_t> RasterLinien(int32_t laenge, int32_t anzahl);

// How strongly the grid lines of `anzahl` cells across `laenge` pixels are drawn, in per
// cent: fully where a cell is at least kVolleRasterzelle pixels, faintly down to
// kKleinsteRasterzelle, and not at all below, where lines a pixel or two apart would
// turn the preview black.
inline constexpr int32_t kVolleRasterzelle = 6;
inline constexpr int32_t kKleinsteRasterzelle = 3;
inline constexpr int32_t kBlasseRasterlinie = 35;
int32_t RasterDeckkraft(int32_t laenge, int32_t anzahl);

struct ZellIndex {
  int32_t i = 0;  // column, from 0
  int32_t j = 0;  // row, from 0
  friend bool operator==(const ZellIndex&, const ZellIndex&) = default;
};

// The cells of the distance-rule drawing for kx × ky tiles and minimum distance d, in
// painting order: the blue square of d + 1 cells near the centre (column by column),
// then the red cells: the column right of the square and the row below it (each one
// cell longer) and the square's first cell. Indices may lie outside the grid for a
// distance larger than the grid; painting clips them.
struct Abstandsregel {
  std::vector<ZellIndex> blau;
  std::vector<ZellIndex> rot;
};
Abstandsregel AbstandsregelZellen(int32_t kx, int32_t ky, int32_t d);

// The rectangle of cell (i, j) in a box of breite × hoehe with kx × ky cells, each edge
// rounded half to even.
Rect ZellRechteck(int32_t breite, int32_t hoehe, int32_t kx, int32_t ky, ZellIndex zelle);

}  // namespace tilvendo::wizard
