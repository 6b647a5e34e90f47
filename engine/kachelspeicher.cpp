#include "engine/kachelspeicher.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "pictures/farbreduktion.h"

namespace tilvendo {

namespace {

// Halvings beyond any tile: 2^16 pixels.
constexpr int kMaxStufe = 16;

}  // namespace

Size KachelAufStufe(Size kachel, int stufe) {
  const int32_t teiler = int32_t{1} << std::clamp(stufe, 0, kMaxStufe);
  const auto halbiert = [teiler](int32_t kante) {
    return std::max<int32_t>((kante + teiler - 1) / teiler, 1);
  };
  return Size{halbiert(kachel.width), halbiert(kachel.height)};
}

Kachelspeicher::Kachelspeicher(std::shared_ptr<const Mosaikplan> plan, Optionen optionen, Rang rang)
    : plan_(std::move(plan)),
      optionen_(std::move(optionen)),
      rang_(std::move(rang)),
      budget_(optionen_.lesespeicher) {}

Kachelstand Kachelspeicher::Holen(const Kachelschluessel& schluessel) {
  std::unique_lock<std::mutex> sperre(mutex_);
  for (auto it = eintraege_.find(schluessel); it != eintraege_.end();
       it = eintraege_.find(schluessel)) {
    if (it->second.zustand == Zustand::Da) {
      it->second.zuletzt = ++uhr_;
      return Kachelstand{it->second.kachel, false};
    }
    if (it->second.zustand == Zustand::Unlesbar) return Kachelstand{nullptr, true};
    gelesen_.wait(sperre);  // another thread reads it just now
  }
  eintraege_[schluessel] = Eintrag{};
  sperre.unlock();
  std::shared_ptr<const Kachel> kachel;
  try {
    kachel = Einlesen(schluessel);
  } catch (...) {
    sperre.lock();
    eintraege_.erase(schluessel);
    sperre.unlock();
    gelesen_.notify_all();
    throw;
  }
  sperre.lock();
  ++anzahlGelesen_;
  if (++lesungen_[schluessel] > 1) ++erneut_;
  Eintrag& eintrag = eintraege_[schluessel];
  eintrag.zuletzt = ++uhr_;
  if (kachel) {
    eintrag.zustand = Zustand::Da;
    eintrag.kachel = kachel;
    gehalten_ += kachel->bild.byteSize();
    Freigeben();
  } else {
    eintrag.zustand = Zustand::Unlesbar;
  }
  sperre.unlock();
  gelesen_.notify_all();
  return Kachelstand{kachel, kachel == nullptr};
}

Kachelstand Kachelspeicher::Nachsehen(const Kachelschluessel& schluessel) {
  const std::lock_guard<std::mutex> sperre(mutex_);
  const auto it = eintraege_.find(schluessel);
  if (it == eintraege_.end() || it->second.zustand == Zustand::Laeuft) return {};
  it->second.zuletzt = ++uhr_;
  return Kachelstand{it->second.kachel, it->second.zustand == Zustand::Unlesbar};
}

bool Kachelspeicher::Begonnen(const Kachelschluessel& schluessel) const {
  const std::lock_guard<std::mutex> sperre(mutex_);
  return eintraege_.contains(schluessel);
}

void Kachelspeicher::Vergessen(const Kachelschluessel& schluessel) {
  const std::lock_guard<std::mutex> sperre(mutex_);
  const auto it = eintraege_.find(schluessel);
  if (it == eintraege_.end() || it->second.zustand != Zustand::Da) return;
  gehalten_ -= it->second.kachel->bild.byteSize();
  eintraege_.erase(it);
}

uint64_t Kachelspeicher::Uhr() const {
  const std::lock_guard<std::mutex> sperre(mutex_);
  return uhr_;
}

int32_t Kachelspeicher::Gelesen() const {
  const std::lock_guard<std::mutex> sperre(mutex_);
  return anzahlGelesen_;
}

int32_t Kachelspeicher::ErneutGelesen() const {
  const std::lock_guard<std::mutex> sperre(mutex_);
  return erneut_;
}

uint64_t Kachelspeicher::GehalteneBytes() const {
  const std::lock_guard<std::mutex> sperre(mutex_);
  return gehalten_;
}

std::shared_ptr<const Kachel> Kachelspeicher::Einlesen(const Kachelschluessel& schluessel) {
  const Verwendungsliste& verwendung = plan_->Verwendung();
  if (schluessel.foto < 0 || static_cast<size_t>(schluessel.foto) >= verwendung.Anzahl()) {
    return nullptr;
  }
  const Size groesse = KachelAufStufe(plan_->Kachel(), schluessel.stufe);
  const Rect ganz{0, 0, groesse.width, groesse.height};
  Bitmap bild(groesse.width, groesse.height);
  const Lesen lesen{optionen_.art, optionen_.arbeitspfad, budget_};
  if (!KachelLesen(verwendung[static_cast<size_t>(schluessel.foto)].datei, lesen, bild)) {
    return nullptr;
  }
  auto kachel = std::make_shared<Kachel>();
  if (optionen_.angleich) {
    const Angleich& angleich = *optionen_.angleich;
    const int teile = Angleichteile(angleich.formanalyse, groesse.width, groesse.height);
    kachel->farben = TeilfarbenMessen(bild, ganz, teile);
    if (schluessel.zelle) {
      const Teilfarben zellFarben =
          TeilfarbenMessen(angleich.vorlage, Zellrechteck(angleich, *schluessel.zelle), teile);
      Bitmap angeglichen(groesse.width, groesse.height);
      AngeglichenEinsetzen(bild, kachel->farben, zellFarben, angleich.staerke, angeglichen, 0, 0);
      bild = std::move(angeglichen);
    }
  }
  if (optionen_.format == PixelFormat::k24) {
    // Kept at three bytes a pixel: a quarter less memory for the kept tiles.
    kachel->bild = Bitmap::Uninitialized(groesse.width, groesse.height, PixelFormat::k24);
    for (int32_t y = 0; y < groesse.height; ++y) {
      ZeileZu24(bild.row(y), kachel->bild.row(y), groesse.width);
    }
  } else {
    kachel->bild = std::move(bild);
  }
  return kachel;
}

void Kachelspeicher::Freigeben() {
  if (gehalten_ <= optionen_.speicher) return;
  std::vector<std::pair<uint64_t, Kachelschluessel>> aufzugeben;
  for (const auto& [schluessel, eintrag] : eintraege_) {
    if (eintrag.zustand != Zustand::Da) continue;
    if (const std::optional<uint64_t> rang = rang_(schluessel, eintrag.zuletzt, uhr_)) {
      aufzugeben.emplace_back(*rang, schluessel);
    }
  }
  // The farthest first; among equals, in the order of the keys.
  std::stable_sort(aufzugeben.begin(), aufzugeben.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& [rang, schluessel] : aufzugeben) {
    if (gehalten_ <= optionen_.speicher) break;
    const auto it = eintraege_.find(schluessel);
    gehalten_ -= it->second.kachel->bild.byteSize();
    eintraege_.erase(it);
  }
}

}  // namespace tilvendo
