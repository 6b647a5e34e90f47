// A sample of a large-format mosaic at its full resolution, for telling the size of its
// file before minutes of composing.
//
// A compressed file's size depends on the detail at the size it is written: a photo
// enlarged to a tile of 200 pixels is smooth, the same mosaic reduced to the screen packs
// a dozen tiles' edges into a hundred pixels and would overrate a JPEG or PNG several
// times. So the sample is made of whole tiles at full size, composed and blended exactly
// as the save composes them: runs of neighbouring tiles (their seams cost what they cost
// in the file) from tile rows spread over the mosaic (every part of the template is
// represented). Only the photos of the sampled tiles are read, a few dozen, not
// thousands.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/auftrag.h"
#include "engine/mosaik_baender.h"
#include "engine/mosaikplan.h"
#include "engine/verwendungsliste.h"
#include "pictures/streifen_quelle.h"
#include "platform/rect.h"

namespace tilvendo {

// The tiles the sample aims at, and the pixels it may take (a tile is always whole; with
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

// The plan for a grid of kachelnX × kachelnY tiles of size `kachel`: about as many runs
// as tiles per run, each run's row at its own place within its stretch of rows and its
// first column spread over the width, neither in step with the other. Runs are at least
// `mindestBreite` pixels wide where the grid allows (for a format that finds repeats
// along a row), then fewer. Empty for an empty grid.
Probenplan ProbenplanFuer(int32_t kachelnX, int32_t kachelnY, Size kachel,
                          int32_t mindestBreite = 0);

// The sample of the mosaic of `plan` (its grid, tile size, way of reading and colour
// adjustment, with the job's template) blended at `blendwert`: the runs of the plan of
// the sample (with `mindestBreite`) one below the other, each `laenge` tiles wide. The
// job and `plan` must outlive it and stay unchanged. The photos are read when the rows
// are first asked for. Raises PictureTooLarge as Mosaikbaender does.
class Grossformatprobe final : public StreifenQuelle {
 public:
  Grossformatprobe(const Auftrag& auftrag, const Mosaikplan& plan, uint8_t blendwert,
                   int32_t mindestBreite = 0, unsigned threads = 0);
  ~Grossformatprobe() override;
  Grossformatprobe(const Grossformatprobe&) = delete;
  Grossformatprobe& operator=(const Grossformatprobe&) = delete;

  int32_t width() const override { return plan_.laenge * kachel_.width; }
  int32_t height() const override {
    return static_cast<int32_t>(plan_.laeufe.size()) * kachel_.height;
  }
  Zeilen Streifen(int32_t first, int32_t count) override;

  const Probenplan& Plan() const { return plan_; }
  // The size of the whole mosaic the sample stands for.
  Size Mosaik() const { return mosaik_; }
  // The placements composed for the sample: those of the sampled cells, whose photos
  // alone are read.
  const Verwendungsliste& Auswahl() const { return teil_->Verwendung(); }

 private:
  Size kachel_;
  Size mosaik_;
  Probenplan plan_;
  std::optional<Mosaikplan> teil_;  // the mosaic's plan with the sampled cells only
  std::unique_ptr<Mosaikbaender> baender_;
  Bitmap puffer_;
};

}  // namespace tilvendo
