// The tile list: every picture read in a run, ordered by ascending brightness, with a
// bucket index from brightness to the first node inserted with it. The matching step
// starts its search for a cell's brightness neighbourhood here.
//
// Nodes live in one vector and refer to each other by index, so the list is released
// all at once and stays cache-friendly for large collections.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/kachelsignatur.h"

namespace tilvendo {

// Index of no node.
inline constexpr int32_t kKeinKnoten = -1;

// `Luecke` of a node without darker neighbour.
inline constexpr uint16_t kKeineLuecke = 1000;

struct KachelKnoten {
  Kachelsignatur signatur;
  int32_t Hoeher = kKeinKnoten;    // next node with higher or equal brightness
  int32_t Tiefer = kKeinKnoten;    // previous node
  uint16_t Luecke = kKeineLuecke;  // |brightness − that of Tiefer|, 1000 without Tiefer
};

class Kachelliste {
 public:
  Kachelliste();

  // Releases every node and empties the brightness index.
  void Leeren();

  // Inserts a node for `signatur` (KachelEinfuegen); returns its index.
  int32_t KachelEinfuegen(const Kachelsignatur& signatur);

  // The darkest node, or kKeinKnoten for an empty list.
  int32_t Kopf() const { return kopf_; }

  // The first node inserted with brightness `helligkeit` (0..765), or kKeinKnoten.
  int32_t Helligkeitsindex(int helligkeit) const { return index_[helligkeit]; }

  const KachelKnoten& Knoten(int32_t index) const { return knoten_[index]; }
  size_t Anzahl() const { return knoten_.size(); }
  void Reservieren(size_t anzahl) { knoten_.reserve(anzahl); }

 private:
  std::vector<KachelKnoten> knoten_;
  int32_t kopf_ = kKeinKnoten;
  std::array<int32_t, kMaxHelligkeit + 1> index_;
};

}  // namespace tilvendo
