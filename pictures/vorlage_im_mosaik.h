// The template stretched to the mosaic's size, handed out a band of rows at a time, so
// that a mosaic blended with its template never needs a full-size copy of either.
//
// Two ways of scaling: exactly the pixels the whole-picture blend gives (the staged
// resampler, whose enlargement repeats pixels), and a smooth bilinear enlargement for
// posters, where a template of 1600 pixels becomes 20,000 and repeated pixels would show
// as blocks of a dozen pixels across.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/bitmap.h"

namespace tilvendo {

enum class Vorlagenskalierung {
  WieGanz,   // the pixels of BlendTemplateIntoMosaic at the mosaic's size
  Bilinear,  // reduced with the staged resampler, enlarged by bilinear interpolation
};

class VorlageImMosaik {
 public:
  // `vorlage` must outlive this object. An empty template counts as black.
  VorlageImMosaik(const Bitmap& vorlage, int32_t breite, int32_t hoehe, Vorlagenskalierung art);

  int32_t breite() const { return breite_; }
  int32_t hoehe() const { return hoehe_; }

  // Rows first .. first + ziel.height() − 1 of the scaled template into `ziel`, a
  // working-format picture as wide as the mosaic. Several threads may ask at once.
  void Zeilen(int32_t first, Bitmap& ziel) const;

  // The pixels Zeilen hands out at the crossings of mosaic columns `spalten` and rows
  // `zeilen` into `ziel`, a working-format picture of spalten.size() × zeilen.size(): a
  // part of a poster's template looked at on the screen, at any scale, without scaling
  // the whole width. Each position must lie within the mosaic (std::invalid_argument
  // otherwise); ascending rows read every source row once. The exact way reads whole
  // mosaic rows, which it only ever has within the usual size bound.
  void Abtasten(std::span<const int32_t> spalten, std::span<const int32_t> zeilen,
                Bitmap& ziel) const;

 private:
  // The bilinear way at the given columns' and rows' source positions and weights.
  void Bilinear(std::span<const int32_t> spalten, std::span<const uint8_t> spaltenGewichte,
                std::span<const int32_t> zeilen, std::span<const uint8_t> zeilenGewichte,
                Bitmap& ziel) const;

  const Bitmap& vorlage_;
  int32_t breite_;
  int32_t hoehe_;
  Vorlagenskalierung art_;
  // The whole template at mosaic size (exact way, when the template must be reduced in
  // stages), or the template reduced to at most the mosaic's size (bilinear way).
  Bitmap kopie_;
  const Bitmap* quelle_ = nullptr;
  // Bilinear way: for each mosaic column the left source column and the weight of the
  // right one (0..255).
  std::vector<int32_t> spalten_;
  std::vector<uint8_t> spaltenGewichte_;
  // The same for each mosaic row.
  std::vector<int32_t> zeilen_;
  std::vector<uint8_t> zeilenGewichte_;
};

// The interpolation of one axis: for each of `ziel` positions the lower source index
// and the weight (0..255, in 256ths) of the next one. Position d samples the source at
// (d + 0.5) × quelle / ziel − 0.5, held within the source (exposed for tests).
struct Stuetzstellen {
  std::vector<int32_t> index;
  std::vector<uint8_t> gewicht;
};
Stuetzstellen BilinearStellen(int32_t quelle, int32_t ziel);

}  // namespace tilvendo
