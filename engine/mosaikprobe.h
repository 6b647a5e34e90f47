// A sample of a mosaic at its full resolution, for telling the size of its file before it
// is written.
//
// A compressed file's size depends on the detail at the size it is written: a photo
// enlarged to a tile of 200 pixels is smooth, the same mosaic reduced to the screen packs
// a dozen tiles' edges into a hundred pixels and would overrate a JPEG or PNG several
// times. So the sample is made of whole tiles at full size, composed and blended exactly
// as the save composes them: runs of neighbouring tiles (their seams cost what they cost
// in the file) from tile rows spread over the mosaic (every part of the template is
// represented).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "pictures/streifen_quelle.h"
#include "platform/bitmap.h"
#include "platform/rect.h"

namespace tilvendo {

// The tiles a sample aims at, and the pixels it may take (a tile is always whole; with
// very large tiles the sample has fewer, down to a single one).
inline constexpr int32_t kProbenKacheln = 128;
inline constexpr int64_t kProbenPixel = int64_t{8} << 20;

// A run of neighbouring tiles: tile row `zeile` from its column `spalte` on (from 0).
struct Probenlauf {
  int32_t zeile = 0;
  int32_t spalte = 0;
  friend bool operator==(const Probenlauf&, const Probenlauf&) = default;
};

// Which tiles the sample takes: runs of `laenge` tiles, one per stretch of tile rows,
// from top to bottom.
struct Probenplan {
  int32_t laenge = 0;
  std::vector<Probenlauf> laeufe;
};

// The plan for a grid of kachelnX × kachelnY tiles of size `kachel`, aiming at
// `zielKacheln` tiles: about as many runs as tiles per run, each run's row at its own
// place within its stretch of rows and its first column spread over the width, neither
// in step with the other. Runs are at least `mindestBreite` pixels wide where the grid
// allows (for a format that finds repeats along a row), then fewer. A grid of no more
// tiles than aimed at is taken whole, row by row. Empty for an empty grid.
Probenplan ProbenplanFuer(int32_t kachelnX, int32_t kachelnY, Size kachel,
                          int32_t mindestBreite = 0, int64_t zielKacheln = kProbenKacheln);

// The runs of `plan` cut from `mosaik`, which hands out the whole mosaic of tiles of size
// `kachel` at full size, one run below the other, each `laenge` tiles wide. The rows of
// `mosaik` are asked for from the top down.
class Mosaikprobe final : public StreifenQuelle {
 public:
  Mosaikprobe(Probenplan plan, Size kachel, std::unique_ptr<StreifenQuelle> mosaik);
  int32_t Breite() const override { return plan_.laenge * kachel_.width; }
  int32_t Hoehe() const override {
    return static_cast<int32_t>(plan_.laeufe.size()) * kachel_.height;
  }
  Zeilen Streifen(int32_t erste, int32_t anzahl) override;

  const Probenplan& Plan() const { return plan_; }

 private:
  Probenplan plan_;
  Size kachel_;
  std::unique_ptr<StreifenQuelle> mosaik_;
  Bitmap puffer_;
};

}  // namespace tilvendo
