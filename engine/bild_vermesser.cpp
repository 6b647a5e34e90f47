#include "engine/bild_vermesser.h"

#include <deque>
#include <exception>
#include <utility>

#include "engine/signatur.h"
#include "engine/wahrnehmung.h"
#include "pictures/bilder_laden.h"
#include "platform/bitmap.h"
#include "platform/rect.h"

namespace tilvendo {

struct BildVermesser::Platz {
  bool fertig = false;
  BildMessung messung;
};

struct BildVermesser::Gemeinsam {
  MemoryBudget budget{MemoryBudget::ForThisMachine()};
  std::mutex mutex;
  std::condition_variable fertig;
  std::deque<std::shared_ptr<Platz>> plaetze;  // pictures handed out and not yet taken
  size_t ersterPlatz = 0;                      // picture number of plaetze.front()
};

Leseart KachelLeseart(const Verfahren& verfahren) {
  return Leseart{.aufrichten = verfahren.Aufrichten,
                 .schnell = verfahren.SchnellLesen,
                 .zuschneiden = verfahren.Zuschneiden};
}

BildMessung BildMessen(const std::string& pfad, const Analyse& analyse,
                       const std::string& arbeitspfad, MemoryBudget& budget,
                       const Verfahren& verfahren) {
  BildMessung messung;
  try {
    const int kante = Arbeitskante(analyse);
    Bitmap arbeitsbild(kante, kante, kPixelformat);
    if (LoadTilePicture(arbeitsbild, Rect{0, 0, kante, kante}, pfad, arbeitspfad, budget,
                        KachelLeseart(verfahren))) {
      messung.signatur = SignaturBerechnen(arbeitsbild, analyse.Formanalyse, Teilkante(analyse));
      // The template's cells are converted the same way, so tiles and cells compare
      // in one colour space.
      if (verfahren.Wahrnehmung) InWahrnehmungsraum(messung.signatur, analyse.Formanalyse);
      messung.ergebnis = BildMessung::Ergebnis::Gemessen;
    }
  } catch (const std::exception& fehler) {
    messung.ergebnis = BildMessung::Ergebnis::Fehler;
    messung.fehler = fehler.what();
  } catch (...) {
    messung.ergebnis = BildMessung::Ergebnis::Fehler;
    messung.fehler = "unbekannter Fehler";
  }
  return messung;
}

BildVermesser::BildVermesser(const Analyse& analyse, const Verfahren& verfahren,
                             std::string arbeitspfad, unsigned arbeiter, size_t fenster)
    : analyse_(analyse),
      verfahren_(verfahren),
      arbeitspfad_(std::move(arbeitspfad)),
      fenster_(fenster),
      gemeinsam_(std::make_shared<Gemeinsam>()) {
  if (fenster_ > 0) pool_.emplace(arbeiter);
}

BildVermesser::~BildVermesser() {
  if (pool_) pool_->Verwerfen();
}

void BildVermesser::Beginnen(std::vector<std::string> pfade) {
  if (pool_) pool_->Verwerfen();
  {
    std::lock_guard<std::mutex> sperre(gemeinsam_->mutex);
    gemeinsam_->plaetze.clear();
    gemeinsam_->ersterPlatz = 0;
  }
  pfade_ = std::move(pfade);
  naechsterAuftrag_ = 0;
  Nachlegen();
}

void BildVermesser::Nachlegen() {
  if (!pool_) return;
  std::lock_guard<std::mutex> sperre(gemeinsam_->mutex);
  while (naechsterAuftrag_ < pfade_.size() && gemeinsam_->plaetze.size() < fenster_) {
    auto platz = std::make_shared<Platz>();
    gemeinsam_->plaetze.push_back(platz);
    pool_->Einreihen([platz, gemeinsam = gemeinsam_, pfad = pfade_[naechsterAuftrag_],
                      analyse = analyse_, verfahren = verfahren_, arbeitspfad = arbeitspfad_] {
      BildMessung messung = BildMessen(pfad, analyse, arbeitspfad, gemeinsam->budget, verfahren);
      {
        std::lock_guard<std::mutex> sperre(gemeinsam->mutex);
        platz->messung = std::move(messung);
        platz->fertig = true;
      }
      gemeinsam->fertig.notify_all();
    });
    ++naechsterAuftrag_;
  }
}

BildMessung BildVermesser::Nehmen(size_t k, const std::function<void()>& beimWarten) {
  if (!pool_) {
    return BildMessen(pfade_.at(k), analyse_, arbeitspfad_, gemeinsam_->budget, verfahren_);
  }

  Nachlegen();
  std::shared_ptr<Platz> platz;
  {
    std::unique_lock<std::mutex> sperre(gemeinsam_->mutex);
    if (gemeinsam_->plaetze.empty() || gemeinsam_->ersterPlatz != k) {
      throw std::logic_error("Bilder nur der Reihe nach abholen");
    }
    platz = gemeinsam_->plaetze.front();
    while (!gemeinsam_->fertig.wait_for(sperre, kWarteTakt, [&] { return platz->fertig; })) {
      sperre.unlock();
      if (beimWarten) beimWarten();
      sperre.lock();
    }
    gemeinsam_->plaetze.pop_front();
    ++gemeinsam_->ersterPlatz;
  }
  Nachlegen();
  return std::move(platz->messung);
}

}  // namespace tilvendo
