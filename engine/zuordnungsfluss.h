// The transport problem behind matching under usage limits: every cell takes exactly one
// photo, photo p takes between unten[p] and oben[p] cells, and a pair of cell and photo
// costs its signature distance. A minimum-cost flow solves it exactly over the pairs it
// is given. A spare node joins every cell to every photo at one fixed price, so that
// pairs that strand a cell or leave a photo unreachable still give a solution, and the
// cells and photos that went through it show where more pairs are needed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tilvendo {

struct Flusspaar {
  int32_t zelle = 0;
  int32_t foto = 0;
  int32_t kosten = 0;
  bool operator==(const Flusspaar&) const = default;
};

struct Flussproblem {
  int32_t zellen = 0;
  std::vector<int32_t> unten;  // per photo: cells it must take at least
  std::vector<int32_t> oben;   // per photo: cells it may take at most (≥ unten)
  std::vector<Flusspaar> paare;
  // Price of a cell joined to a photo through the spare node; negative: no spare node,
  // the pairs alone must allow an assignment.
  int32_t ersatzKosten = -1;
  // Price of a cell left empty (above ersatzKosten, and only with the spare node);
  // negative: every cell must be filled. Only needed when the photos together cannot
  // take every cell.
  int32_t leerKosten = -1;
};

// A cell that went through the spare node: to one of its photos, or to none when cells
// may stay empty and the photos that went through it are fewer than such cells.
inline constexpr int32_t kErsatzPaarung = -1;

struct Flussloesung {
  // Per cell: the index of its pair in Flussproblem::paare, or kErsatzPaarung.
  std::vector<int32_t> paar;
  // Per photo: the cells it takes through the spare node.
  std::vector<int32_t> ersatz;
  int64_t kosten = 0;  // the spare node's and the empty cells' prices included
  // The dual solution: a pair (c, p, k) not given could lower the cost when
  // k + zellPotential[c] − fotoPotential[p] < 0.
  std::vector<int64_t> zellPotential;
  std::vector<int64_t> fotoPotential;
};

// The least-cost assignment over the given pairs and the spare node. Throws
// std::invalid_argument when none exists: the photos must take more cells than there
// are, or cannot take all of them while empty cells are not allowed, or (without the
// spare node) the pairs leave a cell or a photo's lower limit unserved.
Flussloesung FlussLoesen(const Flussproblem& problem);

// Solves one problem again and again as pairs join it. Solved afresh, a large problem
// takes many times longer than the little its new pairs change: so each solve after the
// first starts from the flow and the prices before, and only looks for the cycles
// through the new pairs that make it cheaper (a flow of zero supplies over the residual
// arcs, priced by their reduced costs). The result is the same optimum as a fresh solve,
// though possibly another of equal cost.
class Flussloeser {
 public:
  // The least-cost assignment over the pairs of `problem`, as FlussLoesen. Starts from
  // the solution before when `problem` is that problem with pairs appended (same cells,
  // limits and spare node, the earlier pairs unchanged in front).
  Flussloesung Loesen(const Flussproblem& problem);

 private:
  // The assignment, its cost and the prices for the pairs not given.
  Flussloesung Auslesen(const Flussproblem& problem, int64_t kosten) const;

  // Of the problem solved last: its pairs, limits and spare node, the flow on every arc
  // (the pairs first, then the fixed arcs) and every node's price.
  std::vector<Flusspaar> paare_;
  int32_t zellen_ = -1;
  std::vector<int32_t> unten_;
  std::vector<int32_t> oben_;
  int32_t ersatzKosten_ = -1;
  int32_t leerKosten_ = -1;
  std::vector<int32_t> fluss_;
  std::vector<int64_t> potential_;
  int64_t kosten_ = 0;
};

// How much a pair (c, p, k) would lower the cost of `loesung` per unit, negated: below 0
// it is worth adding to the problem.
inline int64_t ReduzierteKosten(const Flussloesung& loesung, int32_t zelle, int32_t foto,
                                int32_t kosten) {
  return kosten + loesung.zellPotential[static_cast<size_t>(zelle)] -
         loesung.fotoPotential[static_cast<size_t>(foto)];
}

}  // namespace tilvendo
