#include "engine/platzierer.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/paths.h"

namespace tilvendo {
namespace {

// A cap of at least one use per cell can never be reached: no cap.
int32_t Deckel(const Einstellungen& e) {
  const int64_t zellen = int64_t{e.KachelnX} * e.KachelnY;
  const int32_t maximum = e.verfahren.MaxVerwendungen;
  return maximum > 0 && maximum < zellen ? maximum : 0;
}

}  // namespace

Platzierer::Platzierer(Auftrag& auftrag)
    : auftrag_(auftrag),
      raster_(*auftrag.einstellungen.Raster),
      bilder_(auftrag.Dateiliste.size()),
      maximum_(Deckel(auftrag.einstellungen)),
      platzierungen_(bilder_),
      fehlt_(bilder_, 0),
      voll_(maximum_ > 0 ? bilder_ : 0, 0) {}

bool Platzierer::DeckelErreicht(int32_t p, size_t verwendungen) {
  if (maximum_ <= 0 || verwendungen < static_cast<size_t>(maximum_)) return false;
  voll_[static_cast<size_t>(p)] = 1;
  return true;
}

bool Platzierer::Platzieren(int x, int y, int32_t r, int32_t p, Abstandsregel regel) {
  if (p < 0 || static_cast<size_t>(p) >= bilder_) return false;
  if (regel == Abstandsregel::Links && !platzierungen_.AbstandFrei(x, y, r, p)) return false;
  if (regel == Abstandsregel::Ringsum && !platzierungen_.RingsumFrei(x, y, r, p)) return false;
  if (maximum_ > 0 && voll_[static_cast<size_t>(p)] != 0) return false;
  const std::string& datei = auftrag_.Dateiliste[static_cast<size_t>(p)];
  size_t k = verwendung_.Finden(datei);
  if (k != Verwendungsliste::kNichtGefunden) {
    // The cap counts the uses of the file, whichever album number reached it.
    if (DeckelErreicht(p, verwendung_[k].zellen.size())) return false;
    verwendung_.ZelleAnfuegen(k, Zellort{x, y});
  } else {
    // A picture that vanished since its signature was taken is passed over.
    if (fehlt_[static_cast<size_t>(p)] != 0) return false;
    if (!FileExists(datei)) {
      fehlt_[static_cast<size_t>(p)] = 1;
      ++auftrag_.FehlendeBilder;
      return false;
    }
    verwendung_.Hinzufuegen(datei, Zellort{x, y});
    k = verwendung_.Anzahl() - 1;
  }
  DeckelErreicht(p, verwendung_[k].zellen.size());
  raster_.at(x, y).Bild = p;
  platzierungen_.Platzieren(x, y, p);
  return true;
}

bool Platzierer::Ausweichen(int x, int y, int32_t r, const std::vector<int32_t>& kandidaten) {
  // (distance of the nearest repetition, picture), farthest first, in rank order among
  // equals.
  std::vector<std::pair<int32_t, int32_t>> reihenfolge;
  reihenfolge.reserve(kandidaten.size());
  for (const int32_t p : kandidaten) {
    if (p < 0 || static_cast<size_t>(p) >= bilder_) continue;
    reihenfolge.emplace_back(platzierungen_.NaechsteWiederholung(x, y, r, p), p);
  }
  std::stable_sort(reihenfolge.begin(), reihenfolge.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& [abstand, p] : reihenfolge) {
    // Within one step less than its nearest repetition the rule lets p in.
    if (Platzieren(x, y, abstand - 1, p, Abstandsregel::Links)) return true;
  }
  return false;
}

}  // namespace tilvendo
