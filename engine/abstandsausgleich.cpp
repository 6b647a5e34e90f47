#include "engine/abstandsausgleich.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <queue>
#include <tuple>

namespace tilvendo {
namespace {

// Photos of a cell's candidates whose cells are tried for a swap; the swaps further down
// the list rarely beat a move to a photo with uses to spare.
constexpr size_t kTauschKandidaten = 32;
// Cells mended between two looks at the cancel flag.
constexpr int kAbbruchTakt = 256;

constexpr int64_t kKeinTausch = std::numeric_limits<int64_t>::max();
constexpr int64_t kKeinPartner = -1;

// One exchange for a cell: it takes `foto`; with a partner, the partner takes the
// cell's photo in return.
struct Tausch {
  int64_t kosten = kKeinTausch;
  int32_t foto = kKeinBild;
  int64_t partner = kKeinPartner;
};

class Ausgleicher {
 public:
  Ausgleicher(Belegung& b, const Ausgleichskosten& kosten) : b_(b), kosten_(kosten) {
    int32_t fotos = static_cast<int32_t>(b.unten.size());
    orte_.resize(static_cast<size_t>(fotos));
    for (size_t c = 0; c < b.foto.size(); ++c) {
      if (b.foto[c] != kKeinBild) orte_[static_cast<size_t>(b.foto[c])].push_back(c);
    }
    for (const int32_t r : b.radius) groessterRadius_ = std::max(groessterRadius_, r);
    groessterRadius_ = std::max(groessterRadius_, 0);
  }

  // Whether photo p may stand in cell c, not counting the cell `ausser` (which is about
  // to give it up) nor c itself.
  bool Frei(size_t c, int32_t p, int64_t ausser) const {
    const std::vector<size_t>& orte = orte_[static_cast<size_t>(p)];
    const int64_t kante = 2 * int64_t{groessterRadius_} + 1;
    if (static_cast<int64_t>(orte.size()) <= kante * kante) {
      for (const size_t e : orte) {
        if (e != c && static_cast<int64_t>(e) != ausser && ZuNah(b_, c, e)) return false;
      }
      return true;
    }
    // Many cells show p: look at the neighbourhood instead.
    const auto y = static_cast<int32_t>(c % static_cast<size_t>(b_.kachelnY));
    const auto x = static_cast<int32_t>(c / static_cast<size_t>(b_.kachelnY));
    const int32_t r = groessterRadius_;
    for (int32_t nx = std::max(x - r, 0); nx <= std::min(x + r, b_.kachelnX - 1); ++nx) {
      for (int32_t ny = std::max(y - r, 0); ny <= std::min(y + r, b_.kachelnY - 1); ++ny) {
        const auto e =
            static_cast<size_t>(nx) * static_cast<size_t>(b_.kachelnY) + static_cast<size_t>(ny);
        if (e != c && static_cast<int64_t>(e) != ausser && b_.foto[e] == p && ZuNah(b_, c, e)) {
          return false;
        }
      }
    }
    return true;
  }

  bool Konflikt(size_t c) const {
    return b_.foto[c] != kKeinBild && !Frei(c, b_.foto[c], kKeinPartner);
  }

  Tausch Bester(size_t c) const {
    const int32_t p = b_.foto[c];
    const int64_t bisher = kosten_.Distanz(c, p);
    const std::span<const int32_t> kandidaten = kosten_.Kandidaten(c);
    Tausch bester;
    // A move: the nearest photo with uses to spare that may stand here.
    if (Nutzung(p) > b_.unten[static_cast<size_t>(p)]) {
      for (const int32_t q : kandidaten) {
        if (q != p && Nutzung(q) < b_.oben[static_cast<size_t>(q)] && Frei(c, q, kKeinPartner)) {
          bester = Tausch{kosten_.Distanz(c, q) - bisher, q, kKeinPartner};
          break;
        }
      }
    }
    // A swap with a cell that shows one of the nearest photos.
    for (size_t i = 0; i < std::min(kTauschKandidaten, kandidaten.size()); ++i) {
      const int32_t q = kandidaten[i];
      if (q == p) continue;
      const int64_t hier = kosten_.Distanz(c, q) - bisher;
      for (const size_t e : orte_[static_cast<size_t>(q)]) {
        if (!Frei(c, q, static_cast<int64_t>(e)) || !Frei(e, p, static_cast<int64_t>(c))) continue;
        const int64_t k = hier + kosten_.Distanz(e, p) - kosten_.Distanz(e, q);
        if (k < bester.kosten) bester = Tausch{k, q, static_cast<int64_t>(e)};
      }
    }
    if (bester.kosten != kKeinTausch) return bester;
    // None among the candidates: any photo with uses to spare.
    if (Nutzung(p) > b_.unten[static_cast<size_t>(p)]) {
      for (int32_t q = 0; q < static_cast<int32_t>(orte_.size()); ++q) {
        if (q == p || Nutzung(q) >= b_.oben[static_cast<size_t>(q)] || !Frei(c, q, kKeinPartner)) {
          continue;
        }
        const int64_t k = kosten_.Distanz(c, q) - bisher;
        if (k < bester.kosten) bester = Tausch{k, q, kKeinPartner};
      }
    }
    return bester;
  }

  void Ausfuehren(size_t c, const Tausch& t) {
    const int32_t p = b_.foto[c];
    Setzen(c, t.foto);
    if (t.partner != kKeinPartner) Setzen(static_cast<size_t>(t.partner), p);
  }

 private:
  int32_t Nutzung(int32_t p) const {
    return static_cast<int32_t>(orte_[static_cast<size_t>(p)].size());
  }

  void Setzen(size_t c, int32_t q) {
    const int32_t p = b_.foto[c];
    std::vector<size_t>& alt = orte_[static_cast<size_t>(p)];
    alt.erase(std::find(alt.begin(), alt.end(), c));
    orte_[static_cast<size_t>(q)].push_back(c);
    b_.foto[c] = q;
  }

  Belegung& b_;
  const Ausgleichskosten& kosten_;
  std::vector<std::vector<size_t>> orte_;  // the cells of each photo
  int32_t groessterRadius_ = 0;
};

}  // namespace

bool ZuNah(const Belegung& belegung, size_t a, size_t b) {
  const auto zeilen = static_cast<size_t>(belegung.kachelnY);
  const int64_t dx =
      std::llabs(static_cast<int64_t>(a / zeilen) - static_cast<int64_t>(b / zeilen));
  const int64_t dy =
      std::llabs(static_cast<int64_t>(a % zeilen) - static_cast<int64_t>(b % zeilen));
  const int64_t r = std::max(belegung.radius[a], belegung.radius[b]);
  return dx <= r && dy <= r;
}

std::optional<Ausgleich> AbstandAusgleichen(Belegung& belegung, const Ausgleichskosten& kosten,
                                            const std::atomic<bool>& abbruch) {
  Ausgleicher ausgleicher(belegung, kosten);
  // The cheapest exchange first; its cost is looked at again when its turn comes, since
  // the exchanges before may have changed it.
  using Eintrag = std::tuple<int64_t, size_t>;
  std::priority_queue<Eintrag, std::vector<Eintrag>, std::greater<>> warteschlange;
  std::vector<size_t> offen;
  for (size_t c = 0; c < belegung.foto.size(); ++c) {
    if (c % kAbbruchTakt == 0 && abbruch) return std::nullopt;
    if (ausgleicher.Konflikt(c)) offen.push_back(c);
  }
  Ausgleich ergebnis;
  int schritte = 0;
  // A cell without an exchange now may get one once others have changed; it waits until
  // the queue is empty and is tried again as long as that mends anything.
  for (bool weiter = true; weiter;) {
    for (const size_t c : offen) {
      if (ausgleicher.Konflikt(c)) warteschlange.emplace(ausgleicher.Bester(c).kosten, c);
    }
    offen.clear();
    const int32_t vorher = ergebnis.tausche;
    while (!warteschlange.empty()) {
      if (++schritte % kAbbruchTakt == 0 && abbruch) return std::nullopt;
      const auto [gemerkt, c] = warteschlange.top();
      warteschlange.pop();
      if (!ausgleicher.Konflikt(c)) continue;
      const Tausch t = ausgleicher.Bester(c);
      if (t.kosten == kKeinTausch) {
        offen.push_back(c);
        continue;
      }
      if (t.kosten > gemerkt && !warteschlange.empty() &&
          t.kosten > std::get<0>(warteschlange.top())) {
        warteschlange.emplace(t.kosten, c);
        continue;
      }
      ausgleicher.Ausfuehren(c, t);
      ++ergebnis.tausche;
    }
    weiter = ergebnis.tausche > vorher && !offen.empty();
  }
  for (const size_t c : offen) {
    if (ausgleicher.Konflikt(c)) ++ergebnis.offen;
  }
  return ergebnis;
}

}  // namespace tilvendo
