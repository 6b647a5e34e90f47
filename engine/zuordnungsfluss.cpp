#include "engine/zuordnungsfluss.h"

#include <lemon/bits/default_map.h>
#include <lemon/static_graph.h>

namespace lemon {
// Cost scaling checks its result with a Bellman-Ford search whose maps of arcs per node
// LEMON 1.3 keeps in a map kind built on std::allocator::construct, which C++20 no
// longer has; the vector kind it uses for numbers holds arcs as well.
template <typename Digraph, typename Item>
struct DefaultMapSelector<Digraph, Item, StaticDigraphBase::Arc> {
  using Map = VectorMap<Digraph, Item, StaticDigraphBase::Arc>;
};
}  // namespace lemon

#include <lemon/cost_scaling.h>
#include <lemon/network_simplex.h>
#include <lemon/smart_graph.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <string>

namespace tilvendo {
namespace {

using Graph = lemon::SmartDigraph;
using Simplex = lemon::NetworkSimplex<Graph, int32_t, int64_t>;
using Skalierung = lemon::CostScaling<Graph, int32_t, int64_t>;

// Where the pairs could still save at least this share of the flow's cost, the cycles
// to find reach across much of the network: cost scaling, which works on all of it in
// a few passes, finds them several times faster than the simplex, which moves one
// cycle at a time. Where they could save little, the simplex is done long before cost
// scaling has passed the network once.
constexpr double kSkalierungAb = 0.03;

// Prices are kept relative to the sink's and within this bound. Prices that mean
// anything differ by at most a path of distances (cells and photos times the dearest
// pair); a node that no arc ties to the others may be priced anywhere, and any prices
// give the same cycles the same cost, so bounding them changes nothing but keeps the
// reduced costs, and the sums the solver forms of them, far from overflowing.
constexpr int64_t kPreisGrenze = int64_t{1} << 31;

struct Bogen {
  int32_t von = 0;
  int32_t nach = 0;
  int32_t unten = 0;
  int32_t oben = 0;
  int64_t kosten = 0;
};

// The network of a problem. Nodes: the cells, the photos, the spare node, the sink.
// Arcs: the pairs (arc i is pair i), then every cell's to the spare node, every photo's
// to the sink and from the spare node, and the spare node's to the sink when cells may
// stay empty.
class Netz {
 public:
  explicit Netz(const Flussproblem& problem)
      : zellen_(static_cast<size_t>(problem.zellen)),
        fotos_(problem.unten.size()),
        paare_(problem.paare.size()),
        mitErsatz_(problem.ersatzKosten >= 0),
        leer_(mitErsatz_ && problem.leerKosten >= problem.ersatzKosten) {}

  size_t Knoten() const { return zellen_ + fotos_ + 2; }
  int32_t Zelle(size_t c) const { return static_cast<int32_t>(c); }
  int32_t Foto(size_t p) const { return static_cast<int32_t>(zellen_ + p); }
  int32_t Ersatz() const { return static_cast<int32_t>(zellen_ + fotos_); }
  int32_t Senke() const { return static_cast<int32_t>(zellen_ + fotos_ + 1); }
  bool MitErsatz() const { return mitErsatz_; }
  bool Leer() const { return leer_; }

  // Indices of the fixed arcs after the pairs.
  size_t ZuErsatz(size_t c) const { return paare_ + c; }
  size_t ZurSenke(size_t p) const { return FotoBoegen() + (mitErsatz_ ? 2 * p : p); }
  size_t VomErsatz(size_t p) const { return ZurSenke(p) + 1; }
  size_t ErsatzZurSenke() const { return FotoBoegen() + (mitErsatz_ ? 2 : 1) * fotos_; }
  size_t Boegen() const { return ErsatzZurSenke() + (leer_ ? 1 : 0); }

  std::vector<Bogen> Aufstellen(const Flussproblem& problem) const {
    std::vector<Bogen> boegen;
    boegen.reserve(Boegen());
    for (const Flusspaar& paar : problem.paare) {
      if (paar.zelle < 0 || static_cast<size_t>(paar.zelle) >= zellen_ || paar.foto < 0 ||
          static_cast<size_t>(paar.foto) >= fotos_) {
        throw std::invalid_argument("Flussproblem: Paar außerhalb");
      }
      boegen.push_back(Bogen{Zelle(static_cast<size_t>(paar.zelle)),
                             Foto(static_cast<size_t>(paar.foto)), 0, 1, paar.kosten});
    }
    if (mitErsatz_) {
      for (size_t c = 0; c < zellen_; ++c) {
        boegen.push_back(Bogen{Zelle(c), Ersatz(), 0, 1, problem.ersatzKosten});
      }
    }
    for (size_t p = 0; p < fotos_; ++p) {
      boegen.push_back(Bogen{Foto(p), Senke(), problem.unten[p], problem.oben[p], 0});
      if (mitErsatz_) boegen.push_back(Bogen{Ersatz(), Foto(p), 0, problem.oben[p], 0});
    }
    if (leer_) {
      boegen.push_back(Bogen{Ersatz(), Senke(), 0, problem.zellen,
                             int64_t{problem.leerKosten} - problem.ersatzKosten});
    }
    return boegen;
  }

 private:
  size_t FotoBoegen() const { return paare_ + (mitErsatz_ ? zellen_ : 0); }

  size_t zellen_;
  size_t fotos_;
  size_t paare_;
  bool mitErsatz_;
  bool leer_;
};

struct Ergebnis {
  std::vector<int32_t> fluss;      // per arc
  std::vector<int64_t> potential;  // per node
};

// The least-cost flow over `boegen` with the nodes' supplies, by `Verfahren`.
template <typename Verfahren>
Ergebnis FlussRechnen(size_t knoten, const std::vector<Bogen>& boegen,
                      const std::vector<int32_t>& angebot) {
  Graph g;
  g.reserveNode(static_cast<int>(knoten));
  g.reserveArc(static_cast<int>(boegen.size()));
  for (size_t k = 0; k < knoten; ++k) g.addNode();
  Graph::ArcMap<int32_t> unten(g);
  Graph::ArcMap<int32_t> oben(g);
  Graph::ArcMap<int64_t> kosten(g);
  for (const Bogen& b : boegen) {
    const Graph::Arc a = g.addArc(g.nodeFromId(b.von), g.nodeFromId(b.nach));
    unten.set(a, b.unten);
    oben.set(a, b.oben);
    kosten.set(a, b.kosten);
  }
  Graph::NodeMap<int32_t> angebotKarte(g);
  for (size_t k = 0; k < knoten; ++k) {
    angebotKarte.set(g.nodeFromId(static_cast<int>(k)), angebot[k]);
  }
  Verfahren loeser(g);
  loeser.lowerMap(unten).upperMap(oben).costMap(kosten).supplyMap(angebotKarte);
  if (loeser.run() != Verfahren::OPTIMAL) {
    throw std::invalid_argument("Flussproblem ohne Lösung über die gegebenen Paare");
  }
  Ergebnis ergebnis;
  ergebnis.fluss.resize(boegen.size());
  for (size_t i = 0; i < boegen.size(); ++i) {
    ergebnis.fluss[i] = loeser.flow(g.arcFromId(static_cast<int>(i)));
  }
  ergebnis.potential.resize(knoten);
  for (size_t k = 0; k < knoten; ++k) {
    ergebnis.potential[k] = loeser.potential(g.nodeFromId(static_cast<int>(k)));
  }
  return ergebnis;
}

// pi − bezug within the bound. The solver's prices may lie near either end of the range
// (its artificial arcs cost half of it), so the difference is taken without a sign.
int64_t Begrenzt(int64_t pi, int64_t bezug) {
  const auto grenze = static_cast<uint64_t>(kPreisGrenze);
  if (pi >= bezug) {
    const uint64_t d = static_cast<uint64_t>(pi) - static_cast<uint64_t>(bezug);
    return static_cast<int64_t>(std::min(d, grenze));
  }
  const uint64_t d = static_cast<uint64_t>(bezug) - static_cast<uint64_t>(pi);
  return -static_cast<int64_t>(std::min(d, grenze));
}

void PreiseBegrenzen(std::vector<int64_t>& potential, int32_t senke) {
  const int64_t bezug = potential[static_cast<size_t>(senke)];
  for (int64_t& pi : potential) pi = Begrenzt(pi, bezug);
}

}  // namespace

Flussloesung FlussLoesen(const Flussproblem& problem) {
  Flussloeser loeser;
  return loeser.Loesen(problem);
}

Flussloesung Flussloeser::Loesen(const Flussproblem& problem) {
  const size_t fotos = problem.unten.size();
  if (problem.oben.size() != fotos) throw std::invalid_argument("Flussproblem: Grenzen ungleich");
  const int64_t untenSumme =
      std::accumulate(problem.unten.begin(), problem.unten.end(), int64_t{0});
  const int64_t obenSumme = std::accumulate(problem.oben.begin(), problem.oben.end(), int64_t{0});
  const Netz netz(problem);
  if (untenSumme > problem.zellen || (!netz.Leer() && obenSumme < problem.zellen)) {
    throw std::invalid_argument("Flussproblem ohne Lösung: " + std::to_string(problem.zellen) +
                                " Zellen, " + std::to_string(untenSumme) + " bis " +
                                std::to_string(obenSumme) + " Plätze");
  }
  const std::vector<Bogen> boegen = netz.Aufstellen(problem);

  const bool weiter = !fluss_.empty() && problem.zellen == zellen_ && problem.unten == unten_ &&
                      problem.oben == oben_ && problem.ersatzKosten == ersatzKosten_ &&
                      problem.leerKosten == leerKosten_ && problem.paare.size() >= paare_.size() &&
                      std::equal(paare_.begin(), paare_.end(), problem.paare.begin());
  if (weiter) {
    // The flow before on the arcs of now: the pairs keep their places, the new ones
    // carry nothing, the fixed arcs move behind them.
    std::vector<int32_t> fluss(boegen.size(), 0);
    const auto vorher = static_cast<std::ptrdiff_t>(paare_.size());
    std::copy(fluss_.begin(), fluss_.begin() + vorher, fluss.begin());
    std::copy(fluss_.begin() + vorher, fluss_.end(),
              fluss.begin() + static_cast<std::ptrdiff_t>(problem.paare.size()));
    // Each arc that can carry more or less than it does becomes a residual arc at its
    // reduced cost: negative only for new pairs, so the cycles through them are all
    // there is to find.
    std::vector<Bogen> rest;
    std::vector<int64_t> herkunft;  // per residual arc: +(i + 1) forwards, −(i + 1) back
    // Per node its most negative residual arc: each cell sends one unit, so their sum
    // bounds what the new pairs can save.
    std::vector<int64_t> guenstigste(netz.Knoten(), 0);
    rest.reserve(boegen.size() + static_cast<size_t>(problem.zellen));
    herkunft.reserve(rest.capacity());
    for (size_t i = 0; i < boegen.size(); ++i) {
      const Bogen& b = boegen[i];
      const int64_t reduziert = b.kosten + potential_[static_cast<size_t>(b.von)] -
                                potential_[static_cast<size_t>(b.nach)];
      const auto nummer = static_cast<int64_t>(i) + 1;
      if (fluss[i] < b.oben) {
        rest.push_back(Bogen{b.von, b.nach, 0, b.oben - fluss[i], reduziert});
        herkunft.push_back(nummer);
        int64_t& g = guenstigste[static_cast<size_t>(b.von)];
        g = std::min(g, reduziert);
      }
      if (fluss[i] > b.unten) {
        rest.push_back(Bogen{b.nach, b.von, 0, fluss[i] - b.unten, -reduziert});
        herkunft.push_back(-nummer);
      }
    }
    const int64_t ersparnis = std::accumulate(guenstigste.begin(), guenstigste.end(), int64_t{0});
    const std::vector<int32_t> ohneAngebot(netz.Knoten(), 0);
    const Ergebnis zyklen =
        static_cast<double>(-ersparnis) >= kSkalierungAb * static_cast<double>(kosten_)
            ? FlussRechnen<Skalierung>(netz.Knoten(), rest, ohneAngebot)
            : FlussRechnen<Simplex>(netz.Knoten(), rest, ohneAngebot);
    for (size_t j = 0; j < rest.size(); ++j) {
      const int64_t h = herkunft[j];
      fluss[static_cast<size_t>(std::llabs(h) - 1)] += h > 0 ? zyklen.fluss[j] : -zyklen.fluss[j];
    }
    for (size_t k = 0; k < potential_.size(); ++k) potential_[k] += zyklen.potential[k];
    fluss_ = std::move(fluss);
  } else {
    std::vector<int32_t> angebot(netz.Knoten(), 0);
    for (size_t c = 0; c < static_cast<size_t>(problem.zellen); ++c) angebot[c] = 1;
    angebot[static_cast<size_t>(netz.Senke())] = -problem.zellen;
    Ergebnis ergebnis = FlussRechnen<Simplex>(netz.Knoten(), boegen, angebot);
    fluss_ = std::move(ergebnis.fluss);
    potential_ = std::move(ergebnis.potential);
  }
  PreiseBegrenzen(potential_, netz.Senke());
  paare_ = problem.paare;
  zellen_ = problem.zellen;
  unten_ = problem.unten;
  oben_ = problem.oben;
  ersatzKosten_ = problem.ersatzKosten;
  leerKosten_ = problem.leerKosten;
  kosten_ = 0;
  for (size_t i = 0; i < boegen.size(); ++i) kosten_ += fluss_[i] * boegen[i].kosten;
  return Auslesen(problem, kosten_);
}

Flussloesung Flussloeser::Auslesen(const Flussproblem& problem, int64_t kosten) const {
  const Netz netz(problem);
  const auto zellen = static_cast<size_t>(problem.zellen);
  const size_t fotos = problem.unten.size();
  Flussloesung loesung;
  loesung.kosten = kosten;
  loesung.paar.assign(zellen, kErsatzPaarung);
  for (size_t i = 0; i < problem.paare.size(); ++i) {
    if (fluss_[i] > 0) {
      loesung.paar[static_cast<size_t>(problem.paare[i].zelle)] = static_cast<int32_t>(i);
    }
  }
  loesung.ersatz.assign(fotos, 0);
  if (netz.MitErsatz()) {
    for (size_t p = 0; p < fotos; ++p) loesung.ersatz[p] = fluss_[netz.VomErsatz(p)];
  }
  const auto preis = [&](int32_t knoten) { return potential_[static_cast<size_t>(knoten)]; };
  // Of all optimal dual solutions the one that makes the pairs not given look least
  // promising: every photo priced as low and every cell as high as the solution allows.
  // Adding pairs by their reduced costs then takes only those that can help.
  const int64_t piErsatz = preis(netz.Ersatz());
  const int64_t piSenke = preis(netz.Senke());
  constexpr int64_t kOhneGrenze = std::numeric_limits<int64_t>::min();
  std::vector<int32_t> belegt(fotos, 0);
  for (size_t c = 0; c < zellen; ++c) {
    const int32_t i = loesung.paar[c];
    if (i >= 0) ++belegt[static_cast<size_t>(problem.paare[static_cast<size_t>(i)].foto)];
  }
  loesung.fotoPotential.assign(fotos, kOhneGrenze);
  for (size_t p = 0; p < fotos; ++p) {
    int64_t& pi = loesung.fotoPotential[p];
    // A photo that may take more is priced at least like the sink, one that takes cells
    // through the spare node at least like it.
    if (belegt[p] + loesung.ersatz[p] < problem.oben[p]) pi = piSenke;
    if (loesung.ersatz[p] > 0) pi = std::max(pi, piErsatz);
  }
  for (size_t c = 0; c < zellen; ++c) {
    const int32_t i = loesung.paar[c];
    if (i < 0) continue;
    const Flusspaar& paar = problem.paare[static_cast<size_t>(i)];
    int64_t& pi = loesung.fotoPotential[static_cast<size_t>(paar.foto)];
    pi = std::max(pi, preis(netz.Zelle(c)) + paar.kosten);
  }
  for (size_t p = 0; p < fotos; ++p) {
    const int64_t bisher = preis(netz.Foto(p));
    int64_t& pi = loesung.fotoPotential[p];
    pi = pi == kOhneGrenze ? bisher : std::min(pi, bisher);
  }
  loesung.zellPotential.resize(zellen);
  for (size_t c = 0; c < zellen; ++c) {
    const int32_t i = loesung.paar[c];
    if (i >= 0) {
      const Flusspaar& paar = problem.paare[static_cast<size_t>(i)];
      loesung.zellPotential[c] =
          loesung.fotoPotential[static_cast<size_t>(paar.foto)] - paar.kosten;
    } else {
      loesung.zellPotential[c] = piErsatz - problem.ersatzKosten;
    }
  }
  return loesung;
}

}  // namespace tilvendo
