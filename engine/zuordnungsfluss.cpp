#include "engine/zuordnungsfluss.h"

#include <lemon/network_simplex.h>
#include <lemon/smart_graph.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <string>

namespace tilvendo {
namespace {

using Graph = lemon::SmartDigraph;
using Loeser = lemon::NetworkSimplex<Graph, int32_t, int64_t>;

}  // namespace

Flussloesung FlussLoesen(const Flussproblem& problem) {
  const auto zellen = static_cast<size_t>(problem.zellen);
  const size_t fotos = problem.unten.size();
  if (problem.oben.size() != fotos) throw std::invalid_argument("Flussproblem: Grenzen ungleich");
  const int64_t untenSumme =
      std::accumulate(problem.unten.begin(), problem.unten.end(), int64_t{0});
  const int64_t obenSumme = std::accumulate(problem.oben.begin(), problem.oben.end(), int64_t{0});
  const bool mitErsatz = problem.ersatzKosten >= 0;
  const bool leer = mitErsatz && problem.leerKosten >= problem.ersatzKosten;
  if (untenSumme > problem.zellen || (!leer && obenSumme < problem.zellen)) {
    throw std::invalid_argument("Flussproblem ohne Lösung: " + std::to_string(problem.zellen) +
                                " Zellen, " + std::to_string(untenSumme) + " bis " +
                                std::to_string(obenSumme) + " Plätze");
  }

  // Nodes: the cells, the photos, the spare node, the sink. Arcs: the pairs (arc i is
  // pair i), every cell to the spare node, every photo to the sink, the spare node to
  // every photo and, when cells may stay empty, to the sink.
  Graph g;
  const size_t knoten = zellen + fotos + 2;
  const size_t boegen = problem.paare.size() + zellen + 2 * fotos + 1;
  g.reserveNode(static_cast<int>(knoten));
  g.reserveArc(static_cast<int>(boegen));
  for (size_t k = 0; k < knoten; ++k) g.addNode();
  const auto zelle = [&](size_t c) { return g.nodeFromId(static_cast<int>(c)); };
  const auto foto = [&](size_t p) { return g.nodeFromId(static_cast<int>(zellen + p)); };
  const Graph::Node ersatz = g.nodeFromId(static_cast<int>(zellen + fotos));
  const Graph::Node senke = g.nodeFromId(static_cast<int>(zellen + fotos + 1));

  Graph::ArcMap<int32_t> unten(g, 0);
  Graph::ArcMap<int32_t> oben(g, 0);
  Graph::ArcMap<int64_t> kosten(g, 0);
  const auto bogen = [&](Graph::Node von, Graph::Node nach, int32_t u, int32_t o, int64_t k) {
    const Graph::Arc a = g.addArc(von, nach);
    unten.set(a, u);
    oben.set(a, o);
    kosten.set(a, k);
    return a;
  };
  for (const Flusspaar& paar : problem.paare) {
    if (paar.zelle < 0 || static_cast<size_t>(paar.zelle) >= zellen || paar.foto < 0 ||
        static_cast<size_t>(paar.foto) >= fotos) {
      throw std::invalid_argument("Flussproblem: Paar außerhalb");
    }
    bogen(zelle(static_cast<size_t>(paar.zelle)), foto(static_cast<size_t>(paar.foto)), 0, 1,
          paar.kosten);
  }
  std::vector<Graph::Arc> zuErsatz;
  if (mitErsatz) {
    for (size_t c = 0; c < zellen; ++c) {
      zuErsatz.push_back(bogen(zelle(c), ersatz, 0, 1, problem.ersatzKosten));
    }
  }
  std::vector<Graph::Arc> vomErsatz;
  for (size_t p = 0; p < fotos; ++p) {
    bogen(foto(p), senke, problem.unten[p], problem.oben[p], 0);
    if (mitErsatz) vomErsatz.push_back(bogen(ersatz, foto(p), 0, problem.oben[p], 0));
  }
  if (leer) bogen(ersatz, senke, 0, problem.zellen, problem.leerKosten - problem.ersatzKosten);

  Graph::NodeMap<int32_t> angebot(g, 0);
  for (size_t c = 0; c < zellen; ++c) angebot.set(zelle(c), 1);
  angebot.set(senke, -problem.zellen);

  // The flow and the prices of the solved problem.
  const auto auslesen = [&](const Loeser& loeser) {
    Flussloesung loesung;
    loesung.kosten = loeser.totalCost();
    loesung.paar.assign(zellen, kErsatzPaarung);
    for (size_t i = 0; i < problem.paare.size(); ++i) {
      if (loeser.flow(g.arcFromId(static_cast<int>(i))) > 0) {
        loesung.paar[static_cast<size_t>(problem.paare[i].zelle)] = static_cast<int32_t>(i);
      }
    }
    for (size_t c = 0; c < zuErsatz.size(); ++c) {
      if (loeser.flow(zuErsatz[c]) > 0) loesung.paar[c] = kErsatzPaarung;
    }
    loesung.ersatz.assign(fotos, 0);
    for (size_t p = 0; p < vomErsatz.size(); ++p) loesung.ersatz[p] = loeser.flow(vomErsatz[p]);
    // Of all optimal dual solutions the one that makes the pairs not given look least
    // promising: every photo priced as low and every cell as high as the solution allows.
    // Adding pairs by their reduced costs then takes only those that can help.
    const int64_t piErsatz = loeser.potential(ersatz);
    const int64_t piSenke = loeser.potential(senke);
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
      pi = std::max(pi, loeser.potential(zelle(c)) + paar.kosten);
    }
    for (size_t p = 0; p < fotos; ++p) {
      const int64_t bisher = loeser.potential(foto(p));
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
  };
  Loeser loeser(g);
  loeser.lowerMap(unten).upperMap(oben).costMap(kosten).supplyMap(angebot);
  if (loeser.run() != Loeser::OPTIMAL) {
    throw std::invalid_argument("Flussproblem ohne Lösung über die gegebenen Paare");
  }
  return auslesen(loeser);
}

}  // namespace tilvendo
