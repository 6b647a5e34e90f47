// What drawing a placed photo needs: reading it at tile size the way it was measured, and
// moving its colours toward the template cell it stands for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/mosaikplan.h"
#include "engine/verwendungsliste.h"
#include "pictures/leseart.h"
#include "platform/bitmap.h"
#include "platform/memory_budget.h"
#include "platform/rect.h"

namespace tilvendo {

// What moving the tiles' colours toward their cells needs of the job.
struct Angleich {
  const Bitmap& vorlage;
  int staerke = 0;      // per cent, 1..100
  int formanalyse = 1;  // parts per side of the shape analysis
  int kachelnX = 1;
  int kachelnY = 1;
};

// The colour adjustment of a plan, toward its template (Mosaikplan::Angleichvorlage of
// the job's template `vorlage`); none at 0 % (the tiles are then copied as they are,
// without measuring anything) or without a usable template.
std::optional<Angleich> AngleichFuer(const Mosaikplan& plan, const Bitmap& vorlage);

// The part of the template that cell z stands for: the template split evenly into the
// grid, as the template's cells were measured for the matching.
Rect Zellrechteck(const Angleich& angleich, Zellort z);

// How the placed files are read: the way they were measured.
struct Lesen {
  Leseart art;
  const std::string& arbeitspfad;
  MemoryBudget& budget;
};

// Reads one file into the tile `t` as `lesen` says, within the shared memory budget: the
// tile reader keeps only the rows the first reduction stage picks, so a photo that
// declares a huge size cannot take the memory whole, and its pixels are those of a whole
// read stretched with the same resampler.
bool KachelLesen(const std::string& datei, const Lesen& lesen, Bitmap& t);

}  // namespace tilvendo
