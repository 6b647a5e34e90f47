#include "engine/kachelliste.h"

#include <cstdlib>

namespace tilvendo {

Kachelliste::Kachelliste() {
  index_.fill(kKeinKnoten);
}

void Kachelliste::Leeren() {
  knoten_.clear();
  kopf_ = kKeinKnoten;
  index_.fill(kKeinKnoten);
}

int32_t Kachelliste::KachelEinfuegen(const Kachelsignatur& signatur) {
  const int h = signatur.Helligkeit;
  int32_t tiefer = kKeinKnoten;
  int32_t hoeher = kKeinKnoten;

  // The darker neighbour: from the nearest filled bucket at or below h, walk up while
  // the next node is still darker than h. A node of equal brightness thus lands right
  // after the first node of that brightness.
  int b = h;
  while (b >= 0 && index_[b] == kKeinKnoten) --b;
  if (b >= 0) {
    tiefer = index_[b];
    while (knoten_[tiefer].Hoeher != kKeinKnoten &&
           knoten_[knoten_[tiefer].Hoeher].signatur.Helligkeit < h) {
      tiefer = knoten_[tiefer].Hoeher;
    }
    hoeher = knoten_[tiefer].Hoeher;
  } else {
    int k = h;
    while (k <= kMaxHelligkeit && index_[k] == kKeinKnoten) ++k;
    if (k <= kMaxHelligkeit) hoeher = index_[k];
  }

  const auto neu = static_cast<int32_t>(knoten_.size());
  KachelKnoten knoten;
  knoten.signatur = signatur;
  knoten.Tiefer = tiefer;
  knoten.Hoeher = hoeher;
  knoten.Luecke = tiefer == kKeinKnoten
                      ? kKeineLuecke
                      : static_cast<uint16_t>(std::abs(knoten_[tiefer].signatur.Helligkeit - h));
  knoten_.push_back(knoten);
  if (tiefer != kKeinKnoten) knoten_[tiefer].Hoeher = neu;
  if (hoeher != kKeinKnoten) {
    knoten_[hoeher].Tiefer = neu;
    knoten_[hoeher].Luecke =
        static_cast<uint16_t>(std::abs(knoten_[hoeher].signatur.Helligkeit - h));
  }

  if (kopf_ == kKeinKnoten || knoten_[kopf_].signatur.Helligkeit > h) kopf_ = neu;
  if (index_[h] == kKeinKnoten) index_[h] = neu;
  return neu;
}

}  // namespace tilvendo
