// The pictures placed by the matching step, one entry per distinct file in the order of
// first placement, each with the cells that show it. The composing step loads every
// file once from here and copies it into its cells.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace tilvendo {

struct Zellort {
  int32_t x = 0;  // column, from 1
  int32_t y = 0;  // row, from 1
  friend bool operator==(const Zellort&, const Zellort&) = default;
};

struct Verwendung {
  std::string datei;
  std::vector<Zellort> zellen;
};

class Verwendungsliste {
 public:
  static constexpr size_t kNichtGefunden = static_cast<size_t>(-1);

  // The entry of `datei`, or kNichtGefunden. Names are compared byte for byte: on a
  // file system that tells letter cases apart, "a.jpg" and "A.jpg" are two pictures.
  size_t Finden(const std::string& datei) const;

  // Appends a new file with its first cell.
  void Hinzufuegen(const std::string& datei, Zellort zelle);
  // Adds a further cell to entry k.
  void ZelleAnfuegen(size_t k, Zellort zelle) { eintraege_[k].zellen.push_back(zelle); }

  // Moves `zelle` from entry `von` to entry `nach` (a photo that stands in for another);
  // an entry may be left without cells.
  void Umsetzen(size_t von, size_t nach, Zellort zelle);

  size_t Anzahl() const { return eintraege_.size(); }
  const Verwendung& operator[](size_t k) const { return eintraege_[k]; }

  // The list as its text lines: the file name, then its cells as "x|y|" pairs
  // ("3|7|3|9|" for the cells (3, 7) and (3, 9)).
  std::vector<std::string> Zeilen() const;

 private:
  std::vector<Verwendung> eintraege_;
  std::unordered_map<std::string, size_t> index_;
};

}  // namespace tilvendo
