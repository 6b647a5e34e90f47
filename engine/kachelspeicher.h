// The placed photos of a mosaic read at the size they are drawn, and kept within a share of
// the memory: the one place where a mosaic's photos are read, for the composer and for the
// magnifier.
//
// A photo is read at most once at a time: a second thread asking for it while it is read
// waits for that reading. Whether it could be read is told to whoever asks (Kachelstand),
// never hidden in a black tile. Kept tiles beyond the share are given up by a rank their
// user gives (how far ahead each is needed again), those needed now never.
#pragma once

#include <compare>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "engine/farbangleich.h"
#include "engine/kacheln_zeichnen.h"
#include "engine/mosaikplan.h"
#include "pictures/leseart.h"
#include "platform/bitmap.h"
#include "platform/memory_budget.h"
#include "platform/rect.h"

namespace tilvendo {

// The tile size at halving `stufe`: each side halved `stufe` times, rounded up, at least
// one pixel.
Size KachelAufStufe(Size kachel, int stufe);

// One placed photo as it is drawn.
struct Kachel {
  Bitmap bild;
  // Its parts' colours, when colours are moved toward the cells at drawing time.
  Teilfarben farben;
};

// Which tile: a placed photo (an entry of the plan's placements) at halving `stufe`, and
// for a tile already moved toward its cell's colours, that cell.
struct Kachelschluessel {
  int32_t foto = 0;
  int stufe = 0;
  std::optional<Zellort> zelle;
  friend bool operator<(const Kachelschluessel& a, const Kachelschluessel& b) {
    const auto ort = [](const Kachelschluessel& k) {
      return k.zelle ? std::pair{k.zelle->x, k.zelle->y} : std::pair{0, 0};
    };
    return std::tuple{a.foto, a.stufe, ort(a)} < std::tuple{b.foto, b.stufe, ort(b)};
  }
};

// What a reading gave.
struct Kachelstand {
  std::shared_ptr<const Kachel> kachel;  // null while not read, or when unreadable
  bool unlesbar = false;                 // the photo could not be read
};

class Kachelspeicher {
 public:
  struct Optionen {
    Leseart art;  // how the photos are read, as they were measured
    std::string arbeitspfad;
    PixelFormat format = PixelFormat::k24;  // the kept tiles' format (24 or the working 32)
    uint64_t speicher = 0;                  // bytes the kept tiles may take
    // Colours moved toward the cells: measured with each tile for the drawing, or
    // applied to a tile read for one cell (Kachelschluessel::zelle).
    std::optional<Angleich> angleich;
    // The memory the readers of all threads share.
    uint64_t lesespeicher = MemoryBudget::ForThisMachine();
  };
  // How far ahead a kept tile is needed again, the larger the sooner it is given up; no
  // value for one needed now, which stays however full the share is. Asked with the
  // tick the tile was last looked at and the tick now; called under the cache's lock, so
  // it must not call the cache.
  using Rang = std::function<std::optional<uint64_t>(const Kachelschluessel&, uint64_t zuletzt,
                                                     uint64_t jetzt)>;

  // The photos of `plan`, which the cache shares.
  Kachelspeicher(std::shared_ptr<const Mosaikplan> plan, Optionen optionen, Rang rang);
  Kachelspeicher(const Kachelspeicher&) = delete;
  Kachelspeicher& operator=(const Kachelspeicher&) = delete;

  const Mosaikplan& Plan() const { return *plan_; }

  // The tile: kept, or read now on this thread (waiting while another reads it). Raises
  // what reading raises other than an unreadable photo (memory running out, say).
  Kachelstand Holen(const Kachelschluessel& schluessel);
  // The tile if it is kept, without reading; counts as looked at now.
  Kachelstand Nachsehen(const Kachelschluessel& schluessel);
  // Whether it is kept or being read.
  bool Begonnen(const Kachelschluessel& schluessel) const;
  // Gives the tile up at once (it is not needed again).
  void Vergessen(const Kachelschluessel& schluessel);
  // The tick: counts every look at a tile.
  uint64_t Uhr() const;

  // Readings so far; those of a tile read before (given up in between); bytes kept.
  int32_t Gelesen() const;
  int32_t ErneutGelesen() const;
  uint64_t GehalteneBytes() const;

 private:
  enum class Zustand { Laeuft, Da, Unlesbar };
  struct Eintrag {
    Zustand zustand = Zustand::Laeuft;
    std::shared_ptr<const Kachel> kachel;
    uint64_t zuletzt = 0;
  };

  std::shared_ptr<const Kachel> Einlesen(const Kachelschluessel& schluessel);
  // Gives up tiles by their rank until the kept ones fit the share; with the lock held.
  void Freigeben();

  const std::shared_ptr<const Mosaikplan> plan_;
  const Optionen optionen_;
  const Rang rang_;
  MemoryBudget budget_;

  mutable std::mutex mutex_;
  std::condition_variable gelesen_;
  std::map<Kachelschluessel, Eintrag> eintraege_;
  std::map<Kachelschluessel, int32_t> lesungen_;
  uint64_t uhr_ = 0;
  uint64_t gehalten_ = 0;
  int32_t anzahlGelesen_ = 0;
  int32_t erneut_ = 0;
};

}  // namespace tilvendo
