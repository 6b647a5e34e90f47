// Reading tile pictures and measuring their signatures ahead of the run, on worker
// threads, while the run takes the results strictly in the order the pictures were
// listed. The decoding of a big photo is by far the slowest step of the reading phase;
// everything that gives pictures their numbers stays with the caller, so the outcome is
// the same whatever the number of workers.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/arbeiter_pool.h"
#include "engine/einstellungen.h"
#include "engine/kachelsignatur.h"
#include "pictures/leseart.h"
#include "platform/memory_budget.h"

namespace tilvendo {

// What became of one picture.
struct BildMessung {
  enum class Ergebnis {
    Gemessen,  // read; `signatur` holds its measurement (without number)
    Unlesbar,  // the picture could not be read (or is the program's own temporary file)
    Fehler,    // an error was raised while reading; `fehler` holds its message
  };
  Ergebnis ergebnis = Ergebnis::Unlesbar;
  Kachelsignatur signatur;
  std::string fehler;
};

// How the job's way of measuring reads a tile photo; the composing reads the placed
// photos the same way, so that a tile looks as it was measured.
Leseart KachelLeseart(const Verfahren& verfahren);

// Reads one picture into a work picture of the level's size as `verfahren` says
// (upright, fast, cut) and measures it, in the perceptual colour space when it says so,
// with the memory for reading reserved from `budget` (a picture too large for it is
// Unlesbar). Never throws: raised errors come back as Fehler.
BildMessung BildMessen(const std::string& pfad, const Analyse& analyse,
                       const std::string& arbeitspfad, MemoryBudget& budget,
                       const Verfahren& verfahren = {});

class BildVermesser {
 public:
  // `arbeiter` workers (0: one per core) measure up to `fenster` pictures ahead of the
  // one the caller waits for. They share one MemoryBudget::ForThisMachine(), so that a
  // few huge pictures at once wait for each other instead of exhausting the memory. With `fenster`
  // 0 no worker is started and every picture is read on the caller's thread when it is asked for,
  // exactly one after the other.
  BildVermesser(const Analyse& analyse, const Verfahren& verfahren, std::string arbeitspfad,
                unsigned arbeiter, size_t fenster);
  ~BildVermesser();
  BildVermesser(const BildVermesser&) = delete;
  BildVermesser& operator=(const BildVermesser&) = delete;

  // Starts on a new list of pictures; pictures of an earlier list not yet taken are
  // dropped (workers still busy with one finish it unseen).
  void Beginnen(std::vector<std::string> pfade);

  size_t Anzahl() const { return pfade_.size(); }
  const std::string& Pfad(size_t k) const { return pfade_[k]; }

  // The measurement of picture k of the list; k must count up from 0 by one. While it
  // is not ready yet, `beimWarten` is called about every `kWarteTakt` so that the user
  // interface stays alive even while one huge picture is decoded.
  BildMessung Nehmen(size_t k, const std::function<void()>& beimWarten);

  static constexpr std::chrono::milliseconds kWarteTakt{50};

 private:
  struct Platz;
  struct Gemeinsam;

  void Nachlegen();

  Analyse analyse_;
  Verfahren verfahren_;
  std::string arbeitspfad_;
  size_t fenster_;
  std::vector<std::string> pfade_;
  size_t naechsterAuftrag_ = 0;  // next picture to hand to a worker
  std::shared_ptr<Gemeinsam> gemeinsam_;
  std::optional<ArbeiterPool> pool_;  // last member: its workers stop before the rest goes
};

}  // namespace tilvendo
