// The photos the magnifier shows, read from the last run's placements on worker threads
// at about the size they are shown at, so that a poster of any size can be looked into
// without ever being composed whole.
//
// The window asks for the cells it shows; the cells nearest its middle are read first,
// and wishes for cells it no longer shows are dropped before they begin. Read tiles are
// kept (engine/kachelspeicher.h) within a share of the memory, those shown longest ago
// given up first, but never those of the cells shown now. The photos are read as the run
// read them (upright, cut to shape), though always at the least size the tile needs, and
// moved toward their cells' colours as the run moved them.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "engine/arbeiter_pool.h"
#include "engine/auftrag.h"
#include "engine/kachelspeicher.h"
#include "engine/mosaikplan.h"
#include "platform/bitmap.h"
#include "wizard/lupe.h"

namespace tilvendo::wizard {

// Bytes the read tiles may take together. The cells a window shows need far less (a
// tile is read at most twice as large as it is shown, so a screen's worth takes about
// 30 MB), so the share never has to give up what is shown.
inline constexpr uint64_t kLupenSpeicher = uint64_t{128} << 20;

// What the tiles are read from: the plan of the run's mosaic, shared, so that the workers
// never touch the job.
struct Lupenquelle {
  std::shared_ptr<const Mosaikplan> plan;  // none: no cells
  // The job's template, the colours' target while the plan holds none of its own; it must
  // stay unchanged while the tiles are read.
  const Bitmap* vorlage = nullptr;
  std::string arbeitspfad;
};

// The source for the last completed run's mosaic (`Ergebnis`), whatever the settings or
// later runs that did not complete have done to the job since.
Lupenquelle QuelleAusAuftrag(const Auftrag& auftrag);

class Lupenkacheln {
 public:
  // `angekommen` is called on a worker thread after each tile read (or found unreadable).
  // `threads` 0: one per core.
  Lupenkacheln(const Lupenquelle& quelle, std::function<void()> angekommen,
               uint64_t speicher = kLupenSpeicher, unsigned threads = 0);
  // Drops the wishes not begun and waits for those being read.
  ~Lupenkacheln();
  Lupenkacheln(const Lupenkacheln&) = delete;
  Lupenkacheln& operator=(const Lupenkacheln&) = delete;

  // The run's tiles and their size in mosaic pixels.
  const Mosaikraster& Raster() const { return raster_; }

  // The file of the photo in cell `zelle`; empty for a cell without one or outside.
  std::string DateiIn(Zellort zelle) const;

  // The tile of `zelle` read at halving `stufe` (KachelAufStufe), or null while it is not
  // read yet, or when its photo could not be read.
  std::shared_ptr<const tilvendo::Kachel> Kachel(Zellort zelle, int stufe);

  // The window shows the cells of `bereich` at halving `stufe`: reads those not read yet,
  // nearest to the middle first, and drops every earlier wish that has not begun.
  void Anfordern(const Zellbereich& bereich, int stufe);

  // Waits until every wish is read (for tests and measurements).
  void Abwarten();

  // Photos read so far, and the bytes the kept tiles take.
  int32_t Gelesen() const;
  uint64_t GehalteneBytes() const;

 private:
  struct Wunsch {
    Kachelschluessel schluessel;
    Zellort zelle;
  };

  std::optional<Kachelschluessel> SchluesselFuer(Zellort zelle, int stufe) const;
  void Arbeiten();

  Mosaikraster raster_;
  bool jeZelle_ = false;  // tiles moved toward their cells' colours belong to their cell
  const std::function<void()> angekommen_;
  std::unique_ptr<Kachelspeicher> speicher_;
  // The tick of the window's last wish: tiles looked at since are shown now.
  std::atomic<uint64_t> letzterWunsch_{0};

  mutable std::mutex mutex_;
  std::condition_variable fertig_;
  std::deque<Wunsch> wuensche_;
  int32_t wartendeAufgaben_ = 0;
  int32_t laufend_ = 0;

  ArbeiterPool pool_;  // last: stopped first, before what its tasks use
};

}  // namespace tilvendo::wizard
