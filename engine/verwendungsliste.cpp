#include "engine/verwendungsliste.h"

#include <algorithm>

namespace tilvendo {

size_t Verwendungsliste::Finden(const std::string& datei) const {
  const auto it = index_.find(datei);
  return it == index_.end() ? kNichtGefunden : it->second;
}

void Verwendungsliste::Hinzufuegen(const std::string& datei, Zellort zelle) {
  index_.emplace(datei, eintraege_.size());
  eintraege_.push_back(Verwendung{datei, {zelle}});
}

void Verwendungsliste::Umsetzen(size_t von, size_t nach, Zellort zelle) {
  std::vector<Zellort>& alt = eintraege_[von].zellen;
  alt.erase(std::remove(alt.begin(), alt.end(), zelle), alt.end());
  eintraege_[nach].zellen.push_back(zelle);
}

std::vector<std::string> Verwendungsliste::Zeilen() const {
  std::vector<std::string> zeilen;
  zeilen.reserve(2 * eintraege_.size());
  for (const Verwendung& v : eintraege_) {
    zeilen.push_back(v.datei);
    std::string zellen;
    for (const Zellort& z : v.zellen) {
      zellen += std::to_string(z.x) + "|" + std::to_string(z.y) + "|";
    }
    zeilen.push_back(std::move(zellen));
  }
  return zeilen;
}

}  // namespace tilvendo
