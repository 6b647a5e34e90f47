#include "wizard/lupen_kacheln.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "engine/bild_vermesser.h"
#include "engine/kacheln_zeichnen.h"

namespace tilvendo::wizard {

Lupenquelle QuelleAusAuftrag(const Auftrag& auftrag) {
  Lupenquelle quelle;
  if (!auftrag.Ergebnis) return quelle;
  quelle.plan = auftrag.Ergebnis->GeteilterPlan();
  quelle.vorlage = &auftrag.VorlageBild;
  quelle.arbeitspfad = auftrag.Arbeitspfad;
  return quelle;
}

Lupenkacheln::Lupenkacheln(const Lupenquelle& quelle, std::function<void()> angekommen,
                           uint64_t speicher, unsigned threads)
    : angekommen_(std::move(angekommen)), pool_(threads) {
  if (!quelle.plan) return;
  const Mosaikplan& plan = *quelle.plan;
  raster_ = Mosaikraster{plan.Kachel(), std::max(plan.KachelnX(), 0), std::max(plan.KachelnY(), 0)};
  Kachelspeicher::Optionen optionen;
  optionen.art = KachelLeseart(plan.Zeichenweise());
  // Only as much of a photo is decoded as the tile shows: a window full of tiles is read
  // in a fraction of the time, and on the screen the pixels are the run's to the eye.
  optionen.art.schnell = true;
  optionen.arbeitspfad = quelle.arbeitspfad;
  optionen.format = kPixelformat;
  optionen.speicher = speicher;
  optionen.lesespeicher = MemoryBudget::kMinBytes;
  if (quelle.vorlage != nullptr) {
    if (const std::optional<Angleich> angleich = AngleichFuer(plan, *quelle.vorlage)) {
      optionen.angleich.emplace(*angleich);
      jeZelle_ = true;
    }
  }
  speicher_ = std::make_unique<Kachelspeicher>(
      quelle.plan, std::move(optionen),
      [this](const Kachelschluessel&, uint64_t zuletzt, uint64_t jetzt) -> std::optional<uint64_t> {
        // Shown now: kept however long ago it was read.
        if (zuletzt > letzterWunsch_.load()) return std::nullopt;
        return jetzt - zuletzt;
      });
}

Lupenkacheln::~Lupenkacheln() {
  const std::lock_guard<std::mutex> sperre(mutex_);
  wuensche_.clear();
}

std::string Lupenkacheln::DateiIn(Zellort zelle) const {
  if (!speicher_) return {};
  const std::string* datei = speicher_->Plan().Foto(zelle.x, zelle.y);
  return datei == nullptr ? std::string() : *datei;
}

std::optional<Kachelschluessel> Lupenkacheln::SchluesselFuer(Zellort zelle, int stufe) const {
  if (!speicher_) return std::nullopt;
  const int32_t foto = speicher_->Plan().FotoIn(zelle.x, zelle.y);
  if (foto == kKeinBild) return std::nullopt;
  Kachelschluessel schluessel;
  schluessel.foto = foto;
  schluessel.stufe = stufe;
  // A corrected tile belongs to its cell.
  if (jeZelle_) schluessel.zelle = zelle;
  return schluessel;
}

std::shared_ptr<const tilvendo::Kachel> Lupenkacheln::Kachel(Zellort zelle, int stufe) {
  const std::optional<Kachelschluessel> schluessel = SchluesselFuer(zelle, stufe);
  if (!schluessel) return nullptr;
  return speicher_->Nachsehen(*schluessel).kachel;
}

void Lupenkacheln::Anfordern(const Zellbereich& bereich, int stufe) {
  if (!speicher_) return;
  letzterWunsch_ = speicher_->Uhr();
  std::vector<Wunsch> neu;
  const double mitteX = (bereich.ersteSpalte + bereich.letzteSpalte) / 2.0;
  const double mitteY = (bereich.ersteZeile + bereich.letzteZeile) / 2.0;
  for (int32_t x = bereich.ersteSpalte; x <= bereich.letzteSpalte; ++x) {
    for (int32_t y = bereich.ersteZeile; y <= bereich.letzteZeile; ++y) {
      const std::optional<Kachelschluessel> schluessel = SchluesselFuer(Zellort{x, y}, stufe);
      if (!schluessel) continue;
      // Looked at: a kept tile counts as shown now.
      speicher_->Nachsehen(*schluessel);
      if (speicher_->Begonnen(*schluessel)) continue;
      neu.push_back(Wunsch{*schluessel, Zellort{x, y}});
    }
  }
  std::sort(neu.begin(), neu.end(), [&](const Wunsch& a, const Wunsch& b) {
    const auto abstand = [&](Zellort z) { return std::hypot(z.x - mitteX, z.y - mitteY); };
    return abstand(a.zelle) < abstand(b.zelle);
  });
  int32_t fehlend = 0;
  {
    const std::lock_guard<std::mutex> sperre(mutex_);
    // A picture shown in several cells is read once.
    std::set<Kachelschluessel> gesehen;
    wuensche_.clear();
    for (const Wunsch& w : neu) {
      if (gesehen.insert(w.schluessel).second) wuensche_.push_back(w);
    }
    // Tasks queued before still take wishes from the new list; only the missing ones are
    // added, so that the pool's queue never grows with the window's repaints.
    fehlend = static_cast<int32_t>(wuensche_.size()) - wartendeAufgaben_;
    if (fehlend > 0) wartendeAufgaben_ += fehlend;
  }
  for (int32_t i = 0; i < fehlend; ++i) pool_.Einreihen([this] { Arbeiten(); });
}

void Lupenkacheln::Arbeiten() {
  Wunsch wunsch;
  {
    const std::lock_guard<std::mutex> sperre(mutex_);
    --wartendeAufgaben_;
    if (wuensche_.empty()) {
      fertig_.notify_all();
      return;
    }
    wunsch = wuensche_.front();
    wuensche_.pop_front();
    ++laufend_;
  }
  try {
    speicher_->Holen(wunsch.schluessel);
  } catch (const std::exception&) {
    // A photo that cannot be read is shown as the run left it: the reduced picture stands
    // in for it.
  }
  // Told before the wish counts as done, so whoever waits for all of them also sees
  // every announcement made.
  if (angekommen_) angekommen_();
  {
    const std::lock_guard<std::mutex> sperre(mutex_);
    --laufend_;
  }
  fertig_.notify_all();
}

void Lupenkacheln::Abwarten() {
  std::unique_lock<std::mutex> sperre(mutex_);
  fertig_.wait(sperre, [this] { return wuensche_.empty() && laufend_ == 0; });
}

int32_t Lupenkacheln::Gelesen() const {
  return speicher_ ? speicher_->Gelesen() : 0;
}

uint64_t Lupenkacheln::GehalteneBytes() const {
  return speicher_ ? speicher_->GehalteneBytes() : 0;
}

}  // namespace tilvendo::wizard
