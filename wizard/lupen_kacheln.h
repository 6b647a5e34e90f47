// The photos the magnifier shows, read from the last run's placements on worker
// threads at about the size they are shown at, so that a poster of any size can be
// looked into without ever being composed whole.
//
// The window asks for the cells it shows; the cells nearest its middle are read first,
// and wishes for cells it no longer shows are dropped before they begin. Read tiles are
// kept within a share of the memory, those shown longest ago given up first, but never
// those of the cells shown now. The photos are read as the run read them (upright, cut
// to shape), though always at the least size the tile needs, and moved toward their
// cells' colours as the run moved them.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/arbeiter_pool.h"
#include "engine/auftrag.h"
#include "engine/farbangleich.h"
#include "engine/kacheln_zeichnen.h"
#include "pictures/leseart.h"
#include "platform/bitmap.h"
#include "platform/memory_budget.h"
#include "wizard/lupe.h"

namespace tilvendo::wizard {

// Bytes the read tiles may take together. The cells a window shows need far less (a
// tile is read at most twice as large as it is shown, so a screen's worth takes about
// 30 MB), so the share never has to give up what is shown.
inline constexpr uint64_t kLupenSpeicher = uint64_t{128} << 20;

// What the tiles are read from: the run's grid, placements and way of reading. Copied
// from the job, so that the workers never touch it.
struct Lupenquelle {
  Mosaikraster raster;  // the run's tiles and their size in mosaic pixels
  // The picture number of each cell, column by column: cell (x, y) at
  // (x − 1) × kachelnY + (y − 1); kKeinBild for a cell the run left empty.
  std::vector<int32_t> bilder;
  std::vector<std::string> dateien;  // the file of each picture number
  Leseart art;
  std::string arbeitspfad;
  // The colour correction of the run, if it made one; its template must stay unchanged
  // while the tiles are read.
  std::optional<Angleich> angleich;
};

// The source for the last completed run's mosaic: its plan (`MosaikPlan`), whatever the
// settings or later runs that did not complete have done to the job since. Without a
// plan it has no cells.
Lupenquelle QuelleAusAuftrag(const Auftrag& auftrag);

class Lupenkacheln {
 public:
  // `angekommen` is called on a worker thread after each tile read (or found unreadable).
  // `threads` 0: one per core.
  Lupenkacheln(Lupenquelle quelle, std::function<void()> angekommen,
               uint64_t speicher = kLupenSpeicher, unsigned threads = 0);
  // Drops the wishes not begun and waits for those being read.
  ~Lupenkacheln();
  Lupenkacheln(const Lupenkacheln&) = delete;
  Lupenkacheln& operator=(const Lupenkacheln&) = delete;

  const Mosaikraster& Raster() const { return quelle_.raster; }

  // The file of the photo in cell `zelle`; empty for a cell without one or outside.
  std::string DateiIn(Zellort zelle) const;

  // The tile of `zelle` read at halving `stufe` (KachelAufStufe), or null while it is not
  // read yet, or when its photo could not be read.
  std::shared_ptr<const Bitmap> Kachel(Zellort zelle, int stufe);

  // The window shows the cells of `bereich` at halving `stufe`: reads those not read yet,
  // nearest to the middle first, and drops every earlier wish that has not begun.
  void Anfordern(const Zellbereich& bereich, int stufe);

  // Waits until every wish is read (for tests and measurements).
  void Abwarten();

  // Photos read so far, and the bytes the kept tiles take.
  int32_t Gelesen() const;
  uint64_t GehalteneBytes() const;

 private:
  // A tile is kept per picture, or per cell when its colours are moved toward the cell's.
  struct Schluessel {
    int64_t id = 0;
    int stufe = 0;
    friend auto operator<=>(const Schluessel&, const Schluessel&) = default;
  };
  struct Eintrag {
    std::shared_ptr<const Bitmap> kachel;  // null: unreadable
    uint64_t zuletzt = 0;                  // when it was last shown
  };
  struct Wunsch {
    Schluessel schluessel;
    Zellort zelle;
  };

  std::optional<Schluessel> SchluesselFuer(Zellort zelle, int stufe) const;
  int32_t BildIn(Zellort zelle) const;
  void Arbeiten();
  std::shared_ptr<const Bitmap> Lesen(const Wunsch& wunsch);
  // Gives up the tiles shown longest ago until the kept ones fit the share, but none
  // shown since the last wish; with the lock held.
  void Freigeben();

  const Lupenquelle quelle_;
  const std::function<void()> angekommen_;
  const uint64_t speicher_;
  MemoryBudget budget_{MemoryBudget::kMinBytes};

  mutable std::mutex mutex_;
  std::condition_variable fertig_;
  std::map<Schluessel, Eintrag> kacheln_;
  std::set<Schluessel> laufend_;
  std::deque<Wunsch> wuensche_;
  int32_t wartendeAufgaben_ = 0;
  uint64_t uhr_ = 0;            // counts every look at a tile
  uint64_t letzterWunsch_ = 0;  // the clock when the window last asked
  uint64_t gehalten_ = 0;
  int32_t gelesen_ = 0;

  ArbeiterPool pool_;  // last: stopped first, before what its tasks use
};

}  // namespace tilvendo::wizard
