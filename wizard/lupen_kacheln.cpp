#include "wizard/lupen_kacheln.h"

#include <algorithm>
#include <cmath>

#include "engine/bild_vermesser.h"
#include "pictures/bilder_laden.h"

namespace tilvendo::wizard {
namespace {

bool Angleichen(const Lupenquelle& quelle) {
  return quelle.angleich.has_value();
}

}  // namespace

Lupenquelle QuelleAusAuftrag(const Auftrag& auftrag) {
  Lupenquelle quelle;
  if (!auftrag.MosaikPlan) return quelle;
  const Mosaikplan& plan = *auftrag.MosaikPlan;
  const int32_t kachelnX = std::max(plan.KachelnX(), 0);
  const int32_t kachelnY = std::max(plan.KachelnY(), 0);
  quelle.raster = Mosaikraster{plan.Kachel(), kachelnX, kachelnY};
  quelle.bilder.assign(static_cast<size_t>(kachelnX) * static_cast<size_t>(kachelnY), kKeinBild);
  const Verwendungsliste& verwendung = plan.Verwendung();
  for (size_t k = 0; k < verwendung.Anzahl(); ++k) {
    quelle.dateien.push_back(verwendung[k].datei);
    for (const Zellort& z : verwendung[k].zellen) {
      if (z.x < 1 || z.x > kachelnX || z.y < 1 || z.y > kachelnY) continue;
      quelle.bilder[static_cast<size_t>(z.x - 1) * static_cast<size_t>(kachelnY) +
                    static_cast<size_t>(z.y - 1)] = static_cast<int32_t>(k);
    }
  }
  quelle.art = KachelLeseart(plan.Zeichenweise());
  // Only as much of a photo is decoded as the tile shows: a window full of tiles is read
  // in a fraction of the time, and on the screen the pixels are the run's to the eye.
  quelle.art.schnell = true;
  quelle.arbeitspfad = auftrag.Arbeitspfad;
  if (const std::optional<Angleich> angleich = AngleichFuer(plan, auftrag.VorlageBild)) {
    quelle.angleich.emplace(*angleich);
  }
  return quelle;
}

Lupenkacheln::Lupenkacheln(Lupenquelle quelle, std::function<void()> angekommen, uint64_t speicher,
                           unsigned threads)
    : quelle_(std::move(quelle)),
      angekommen_(std::move(angekommen)),
      speicher_(speicher),
      pool_(threads) {}

Lupenkacheln::~Lupenkacheln() {
  const std::lock_guard<std::mutex> sperre(mutex_);
  wuensche_.clear();
}

int32_t Lupenkacheln::BildIn(Zellort zelle) const {
  const Mosaikraster& r = quelle_.raster;
  if (zelle.x < 1 || zelle.y < 1 || zelle.x > r.kachelnX || zelle.y > r.kachelnY) {
    return kKeinBild;
  }
  const size_t index = static_cast<size_t>(zelle.x - 1) * static_cast<size_t>(r.kachelnY) +
                       static_cast<size_t>(zelle.y - 1);
  if (index >= quelle_.bilder.size()) return kKeinBild;
  const int32_t bild = quelle_.bilder[index];
  if (bild < 0 || static_cast<size_t>(bild) >= quelle_.dateien.size()) return kKeinBild;
  return bild;
}

std::string Lupenkacheln::DateiIn(Zellort zelle) const {
  const int32_t bild = BildIn(zelle);
  return bild == kKeinBild ? std::string() : quelle_.dateien[static_cast<size_t>(bild)];
}

std::optional<Lupenkacheln::Schluessel> Lupenkacheln::SchluesselFuer(Zellort zelle,
                                                                     int stufe) const {
  const int32_t bild = BildIn(zelle);
  if (bild == kKeinBild) return std::nullopt;
  if (!Angleichen(quelle_)) return Schluessel{bild, stufe};
  // A corrected tile belongs to its cell; the ids of cells follow those of the pictures.
  const int64_t zellnummer = int64_t{zelle.x - 1} * quelle_.raster.kachelnY + (zelle.y - 1);
  return Schluessel{static_cast<int64_t>(quelle_.dateien.size()) + zellnummer, stufe};
}

std::shared_ptr<const Bitmap> Lupenkacheln::Kachel(Zellort zelle, int stufe) {
  const std::optional<Schluessel> schluessel = SchluesselFuer(zelle, stufe);
  if (!schluessel) return nullptr;
  const std::lock_guard<std::mutex> sperre(mutex_);
  const auto it = kacheln_.find(*schluessel);
  if (it == kacheln_.end()) return nullptr;
  it->second.zuletzt = ++uhr_;
  return it->second.kachel;
}

void Lupenkacheln::Anfordern(const Zellbereich& bereich, int stufe) {
  std::vector<Wunsch> neu;
  const double mitteX = (bereich.ersteSpalte + bereich.letzteSpalte) / 2.0;
  const double mitteY = (bereich.ersteZeile + bereich.letzteZeile) / 2.0;
  {
    const std::lock_guard<std::mutex> sperre(mutex_);
    letzterWunsch_ = ++uhr_;
    for (int32_t x = bereich.ersteSpalte; x <= bereich.letzteSpalte; ++x) {
      for (int32_t y = bereich.ersteZeile; y <= bereich.letzteZeile; ++y) {
        const std::optional<Schluessel> schluessel = SchluesselFuer(Zellort{x, y}, stufe);
        if (!schluessel) continue;
        const auto it = kacheln_.find(*schluessel);
        if (it != kacheln_.end()) {
          // Shown now: kept however long ago it was read.
          it->second.zuletzt = uhr_;
          continue;
        }
        if (laufend_.contains(*schluessel)) continue;
        neu.push_back(Wunsch{*schluessel, Zellort{x, y}});
      }
    }
    std::sort(neu.begin(), neu.end(), [&](const Wunsch& a, const Wunsch& b) {
      const auto abstand = [&](Zellort z) { return std::hypot(z.x - mitteX, z.y - mitteY); };
      return abstand(a.zelle) < abstand(b.zelle);
    });
    // A picture shown in several cells is read once.
    std::set<Schluessel> gesehen;
    wuensche_.clear();
    for (const Wunsch& w : neu) {
      if (gesehen.insert(w.schluessel).second) wuensche_.push_back(w);
    }
  }
  // Tasks queued before still take wishes from the new list; only the missing ones are
  // added, so that the pool's queue never grows with the window's repaints.
  int32_t fehlend = 0;
  {
    const std::lock_guard<std::mutex> sperre(mutex_);
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
    laufend_.insert(wunsch.schluessel);
  }
  std::shared_ptr<const Bitmap> kachel = Lesen(wunsch);
  {
    const std::lock_guard<std::mutex> sperre(mutex_);
    const uint64_t bytes = kachel ? kachel->byteSize() : 0;
    kacheln_[wunsch.schluessel] = Eintrag{std::move(kachel), ++uhr_};
    gehalten_ += bytes;
    ++gelesen_;
    Freigeben();
  }
  // Told before the wish counts as done, so whoever waits for all of them also sees
  // every announcement made.
  if (angekommen_) angekommen_();
  {
    const std::lock_guard<std::mutex> sperre(mutex_);
    laufend_.erase(wunsch.schluessel);
  }
  fertig_.notify_all();
}

std::shared_ptr<const Bitmap> Lupenkacheln::Lesen(const Wunsch& wunsch) {
  const Size groesse = KachelAufStufe(quelle_.raster.kachel, wunsch.schluessel.stufe);
  Bitmap kachel(groesse.width, groesse.height, kPixelformat);
  const Rect alles{0, 0, groesse.width, groesse.height};
  try {
    if (!LoadTilePicture(kachel, alles, DateiIn(wunsch.zelle), quelle_.arbeitspfad, budget_,
                         quelle_.art)) {
      return nullptr;
    }
    if (!Angleichen(quelle_)) return std::make_shared<const Bitmap>(std::move(kachel));
    const Angleich& angleich = *quelle_.angleich;
    const int teile = Angleichteile(angleich.formanalyse, groesse.width, groesse.height);
    const Teilfarben kachelFarben = TeilfarbenMessen(kachel, alles, teile);
    const Teilfarben zellFarben =
        TeilfarbenMessen(angleich.vorlage, Zellrechteck(angleich, wunsch.zelle), teile);
    auto angeglichen = std::make_shared<Bitmap>(groesse.width, groesse.height, kPixelformat);
    AngeglichenEinsetzen(kachel, kachelFarben, zellFarben, angleich.staerke, *angeglichen, 0, 0);
    return angeglichen;
  } catch (const std::exception&) {
    // A photo that cannot be read is shown as the run left it: the reduced picture stands
    // in for it.
    return nullptr;
  }
}

void Lupenkacheln::Freigeben() {
  if (gehalten_ <= speicher_) return;
  std::vector<std::pair<uint64_t, Schluessel>> alter;
  for (const auto& [schluessel, eintrag] : kacheln_) {
    if (eintrag.zuletzt < letzterWunsch_) alter.emplace_back(eintrag.zuletzt, schluessel);
  }
  std::sort(alter.begin(), alter.end());
  for (const auto& [zuletzt, schluessel] : alter) {
    if (gehalten_ <= speicher_) break;
    const auto it = kacheln_.find(schluessel);
    if (it->second.kachel) {
      gehalten_ -= it->second.kachel->byteSize();
    }
    kacheln_.erase(it);
  }
}

void Lupenkacheln::Abwarten() {
  std::unique_lock<std::mutex> sperre(mutex_);
  fertig_.wait(sperre, [this] { return wuensche_.empty() && laufend_.empty(); });
}

int32_t Lupenkacheln::Gelesen() const {
  const std::lock_guard<std::mutex> sperre(mutex_);
  return gelesen_;
}

uint64_t Lupenkacheln::GehalteneBytes() const {
  const std::lock_guard<std::mutex> sperre(mutex_);
  return gehalten_;
}

}  // namespace tilvendo::wizard
