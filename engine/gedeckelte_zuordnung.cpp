#include "engine/gedeckelte_zuordnung.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <future>
#include <numeric>
#include <optional>
#include <span>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "engine/abstandsausgleich.h"
#include "engine/preissuche.h"
#include "engine/vorbelegung.h"
#include "engine/zuordnungsdaten.h"
#include "engine/zuordnungsfluss.h"
#include "platform/paths.h"

namespace tilvendo {
namespace {

// Nearest photos each cell keeps from its ranking: the first of them start the flow, and
// all of them are what the exchanges for the minimum distance try first.
constexpr size_t kNaheFotos = 64;
// Pairs of each cell in the first flow, besides the one it holds in the first
// assignment; the others join when they could make it cheaper.
constexpr size_t kStartpaare = 4;
// Pairs of one cell joining per round at most, the most promising first; a cell that
// reached no photo but through the spare node takes this many times more.
constexpr size_t kNeueJeZelle = 8;
constexpr size_t kGestrandetFaktor = 4;
// Cells each photo that must be used is joined to in the first flow.
constexpr size_t kZellenJeFoto = 4;
// The flow stops adding pairs when they could lower its cost by at most this share: the
// assignment is then that close to the optimum over the pairs searched.
constexpr double kGenauigkeit = 0.0009;
// Pairs of cell and photo up to which every pair is searched in each round; beyond, a
// round would cost far more than the flow, and only each cell's near photos are.
constexpr int64_t kAllePaareHoechstens = int64_t{1} << 23;
// Cells or photos handled together between two looks at the cancel flag.
constexpr size_t kBlock = 1024;
// Where the first assignment could not keep every limit, a spare node joins every cell
// to every photo at a price above every distance, so that it carries only what the pairs
// cannot; an empty cell costs more than any pairing.
constexpr int32_t kErsatzKosten = kMaxHelligkeit + 1;
constexpr int32_t kLeerKosten = 2 * kErsatzKosten;
// A bound on the rounds of the flow, which end much sooner.
constexpr int kRundenHoechstens = 100;
// How often the user interface is looked after while a flow is solved.
constexpr auto kWarteTakt = std::chrono::milliseconds(50);

// The photos of the matching: one per file that still exists, whichever album numbers
// lead to it, since the cap counts the uses of a file.
struct Fotos {
  std::vector<int32_t> vonRang;  // per position in the brightness order: photo or kKeinBild
  std::vector<int32_t> rang;     // per photo: the position of its first number
};

Fotos FotosSammeln(Auftrag& auftrag, const Helligkeitsreihe& reihe) {
  Fotos fotos;
  fotos.vonRang.assign(static_cast<size_t>(reihe.Anzahl()), kKeinBild);
  std::unordered_map<std::string_view, int32_t> nachDatei;
  for (int32_t r = 0; r < reihe.Anzahl(); ++r) {
    const int32_t nummer = reihe.Nummer(r);
    if (nummer < 0 || static_cast<size_t>(nummer) >= auftrag.Dateiliste.size()) continue;
    const std::string& datei = auftrag.Dateiliste[static_cast<size_t>(nummer)];
    const auto [eintrag, neu] = nachDatei.try_emplace(datei, kKeinBild);
    if (neu) {
      // A picture that vanished since its signature was taken is passed over.
      if (FileExists(datei)) {
        eintrag->second = static_cast<int32_t>(fotos.rang.size());
        fotos.rang.push_back(r);
      } else {
        ++auftrag.FehlendeBilder;
      }
    }
    fotos.vonRang[static_cast<size_t>(r)] = eintrag->second;
  }
  return fotos;
}

// The costs the exchanges see: the signature distances and each cell's nearest photos.
class Tauschkosten : public Ausgleichskosten {
 public:
  explicit Tauschkosten(const Zuordnungsdaten& daten) : daten_(daten) {}
  int32_t Distanz(size_t zelle, int32_t foto) const override { return daten_.Distanz(zelle, foto); }
  std::span<const int32_t> Kandidaten(size_t zelle) const override {
    return daten_.naheFotos[zelle].partner;
  }

 private:
  const Zuordnungsdaten& daten_;
};

class Zuordnung {
 public:
  Zuordnung(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe,
            const Helligkeitsreihe& reihe, Fotos fotos)
      : auftrag_(auftrag),
        e_(auftrag.einstellungen),
        fortschritt_(fortschritt),
        gruppe_(gruppe),
        reihe_(reihe),
        vonRang_(std::move(fotos.vonRang)),
        daten_(*e_.Raster, reihe, std::move(fotos.rang), auftrag.analyse.Formanalyse),
        zellen_(daten_.Zellen()) {}

  bool Ausfuehren(Platzierer& platzierer);

 private:
  bool ZellenRangieren();
  void NaheFotos(size_t c, Partnerliste& nahe) const;
  bool NaheZellenSuchen(const std::vector<int32_t>& unten);
  void NaheZellen(int32_t foto, const std::vector<int32_t>& nachSumme, Partnerliste& nahe) const;
  Flussproblem ProblemAufstellen(const Verwendungsgrenzen& grenzen);
  bool FlussLoesenWartend(const Flussproblem& problem, Flussloesung& loesung);
  std::optional<size_t> PaareErgaenzen(const Flussloesung& loesung, Flussproblem& problem);
  // Like Preissuche::Bewerten, over the cell's near photos only.
  int64_t NaheBewerten(size_t c, int32_t zugeordnet, const Flussloesung& loesung, size_t hoechstens,
                       Partnerliste& neu) const;
  std::vector<int32_t> Belegen(const Flussproblem& problem, const Flussloesung& loesung) const;
  int64_t Summe(const std::vector<int32_t>& foto) const;

  Auftrag& auftrag_;
  const Einstellungen& e_;
  Fortschritt& fortschritt_;
  Arbeitsgruppe& gruppe_;
  const Helligkeitsreihe& reihe_;
  const std::vector<int32_t> vonRang_;  // per position in the brightness order: the photo
  Zuordnungsdaten daten_;
  const size_t zellen_;
  int32_t zaehler_ = 0;  // cells reported to the progress display
  std::vector<int32_t> radius_;
  Flussloeser flussloeser_;  // each round starts from the flow before
};

void Zuordnung::NaheFotos(size_t c, Partnerliste& nahe) const {
  thread_local std::vector<int32_t> vorauswahl;
  thread_local Rangliste rangliste;
  const int formanalyse = daten_.Formanalyse();
  const int32_t k = std::max(e_.Kandidatenzahl, 1);
  VorauswahlBilden(reihe_, daten_.Signatur(c).Helligkeit, k, e_.Helligkeitsfenster, vorauswahl);
  rangliste.Bilden(reihe_.Felder(), vorauswahl, daten_.ZellFelder(c), formanalyse, k);
  nahe = Partnerliste{};
  for (size_t i = 0; i < rangliste.Anzahl() && nahe.partner.size() < kNaheFotos; ++i) {
    const int32_t foto = vonRang_[static_cast<size_t>(rangliste.Eintrag(i))];
    // A file in two albums is one photo; its nearer entry stays.
    if (foto == kKeinBild ||
        std::find(nahe.partner.begin(), nahe.partner.end(), foto) != nahe.partner.end()) {
      continue;
    }
    nahe.partner.push_back(foto);
    nahe.distanz.push_back(rangliste.EintragsDistanz(i));
  }
}

bool Zuordnung::ZellenRangieren() {
  radius_.resize(zellen_);
  daten_.naheFotos.resize(zellen_);
  const size_t block = Blockgroesse(reihe_, gruppe_);
  for (size_t anfang = 0; anfang < zellen_; anfang += block) {
    if (auftrag_.Abbruch) return false;
    const size_t anzahl = std::min(block, zellen_ - anfang);
    gruppe_.FuerAlle(anzahl, [&](size_t i) {
      const size_t c = anfang + i;
      daten_.ZelleVermessen(c);
      NaheFotos(c, daten_.naheFotos[c]);
    });
    for (size_t i = 0; i < anzahl; ++i) {
      if (auftrag_.Abbruch) return false;
      fortschritt_.FortschrittAnzeigen(++zaehler_);
      radius_[anfang + i] = AbstandZiehen(e_, auftrag_.zufall);
    }
  }
  return true;
}

void Zuordnung::NaheZellen(int32_t foto, const std::vector<int32_t>& nachSumme,
                           Partnerliste& nahe) const {
  // Among the cells nearest in colour sum, as many as the method's candidates, the best.
  const Farbsummen& summen = daten_.FotoSummen(foto);
  const size_t weite =
      static_cast<size_t>(std::clamp<int64_t>(e_.Kandidatenzahl, 1, static_cast<int64_t>(zellen_)));
  const auto summe = [&](size_t i) {
    return daten_.ZellSummen(static_cast<size_t>(nachSumme[i])).Summe();
  };
  size_t oben = static_cast<size_t>(
      std::partition_point(nachSumme.begin(), nachSumme.end(),
                           [&](int32_t c) {
                             return daten_.ZellSummen(static_cast<size_t>(c)).Summe() <
                                    summen.Summe();
                           }) -
      nachSumme.begin());
  size_t unten = oben;
  std::vector<std::pair<int32_t, int32_t>> gefunden;  // (distance, cell)
  while (gefunden.size() < weite && (unten > 0 || oben < zellen_)) {
    const bool nachOben = oben < zellen_ && (unten == 0 || summe(oben) - summen.Summe() <=
                                                               summen.Summe() - summe(unten - 1));
    const int32_t c = nachOben ? nachSumme[oben++] : nachSumme[--unten];
    gefunden.emplace_back(daten_.Distanz(static_cast<size_t>(c), foto), c);
  }
  const size_t anzahl = std::min(gefunden.size(), kZellenJeFoto);
  std::partial_sort(gefunden.begin(), gefunden.begin() + static_cast<std::ptrdiff_t>(anzahl),
                    gefunden.end());
  nahe = Partnerliste{};
  for (size_t k = 0; k < anzahl; ++k) {
    nahe.partner.push_back(gefunden[k].second);
    nahe.distanz.push_back(gefunden[k].first);
  }
}

bool Zuordnung::NaheZellenSuchen(const std::vector<int32_t>& unten) {
  std::vector<int32_t> nachSumme(zellen_);
  std::iota(nachSumme.begin(), nachSumme.end(), 0);
  std::stable_sort(nachSumme.begin(), nachSumme.end(), [&](int32_t a, int32_t b) {
    return daten_.ZellSummen(static_cast<size_t>(a)).Summe() <
           daten_.ZellSummen(static_cast<size_t>(b)).Summe();
  });
  const size_t fotos = daten_.Fotos();
  daten_.naheZellen.resize(fotos);
  for (size_t anfang = 0; anfang < fotos; anfang += kBlock) {
    if (auftrag_.Abbruch) return false;
    fortschritt_.FortschrittAnzeigen(zaehler_);
    const size_t anzahl = std::min(kBlock, fotos - anfang);
    gruppe_.FuerAlle(anzahl, [&](size_t i) {
      const size_t p = anfang + i;
      if (unten[p] > 0) NaheZellen(static_cast<int32_t>(p), nachSumme, daten_.naheZellen[p]);
    });
  }
  return true;
}

Flussproblem Zuordnung::ProblemAufstellen(const Verwendungsgrenzen& grenzen) {
  const size_t fotos = daten_.Fotos();
  Flussproblem problem;
  problem.zellen = static_cast<int32_t>(zellen_);
  problem.unten.assign(fotos, static_cast<int32_t>(grenzen.unten));
  problem.oben.assign(fotos, static_cast<int32_t>(grenzen.oben));
  return problem;
}

bool Zuordnung::FlussLoesenWartend(const Flussproblem& problem, Flussloesung& loesung) {
  // A cancel while the pairs were priced ends the matching before a solve that would
  // only be thrown away.
  if (auftrag_.Abbruch) return false;
  // The solver has no way to stop early; it runs beside this thread, which keeps the
  // user interface alive meanwhile, and a cancel ends the matching when it is done.
  std::future<Flussloesung> ergebnis =
      std::async(std::launch::async, [this, &problem] { return flussloeser_.Loesen(problem); });
  while (ergebnis.wait_for(kWarteTakt) != std::future_status::ready) {
    fortschritt_.FortschrittAnzeigen(zaehler_);
  }
  loesung = ergebnis.get();
  ++auftrag_.zuordnung.runden;
  return !auftrag_.Abbruch;
}

std::optional<size_t> Zuordnung::PaareErgaenzen(const Flussloesung& loesung,
                                                Flussproblem& problem) {
  // Pairs already given have no negative reduced cost, so none joins twice.
  const bool alle = auftrag_.zuordnung.alleFotos;
  std::optional<Preissuche> suche;
  if (alle) suche.emplace(daten_, loesung);
  std::vector<Partnerliste> neu(zellen_);
  std::vector<int64_t> gewinn(zellen_, 0);
  for (size_t anfang = 0; anfang < zellen_; anfang += kBlock) {
    if (auftrag_.Abbruch) return std::nullopt;
    fortschritt_.FortschrittAnzeigen(zaehler_);
    const size_t anzahl = std::min(kBlock, zellen_ - anfang);
    gruppe_.FuerAlle(anzahl, [&](size_t i) {
      const size_t c = anfang + i;
      const int32_t paar = loesung.paar[c];
      const int32_t zugeordnet =
          paar >= 0 ? problem.paare[static_cast<size_t>(paar)].foto : kKeinBild;
      const size_t hoechstens = paar >= 0 ? kNeueJeZelle : kNeueJeZelle * kGestrandetFaktor;
      gewinn[c] = alle ? suche->Bewerten(c, zugeordnet, hoechstens, neu[c])
                       : NaheBewerten(c, zugeordnet, loesung, hoechstens, neu[c]);
    });
  }
  // Each cell takes one unit, so its most negative reduced cost bounds what its pairs not
  // given could still save: the optimum over the pairs searched lies at most that much
  // below.
  int64_t ersparnis = 0;
  for (const int64_t g : gewinn) ersparnis -= g;
  auftrag_.zuordnung.untereSchranke = loesung.kosten - ersparnis;
  if (static_cast<double>(ersparnis) <= kGenauigkeit * static_cast<double>(loesung.kosten)) {
    return 0;
  }
  const size_t vorher = problem.paare.size();
  for (size_t c = 0; c < zellen_; ++c) {
    for (size_t k = 0; k < neu[c].partner.size(); ++k) {
      problem.paare.push_back(
          Flusspaar{static_cast<int32_t>(c), neu[c].partner[k], neu[c].distanz[k]});
    }
  }
  return problem.paare.size() - vorher;
}

int64_t Zuordnung::NaheBewerten(size_t c, int32_t zugeordnet, const Flussloesung& loesung,
                                size_t hoechstens, Partnerliste& neu) const {
  thread_local std::vector<std::tuple<int64_t, int32_t, int32_t>> gewinn;
  gewinn.clear();
  int64_t kleinste = 0;
  const Partnerliste& nahe = daten_.naheFotos[c];
  for (size_t k = 0; k < nahe.partner.size(); ++k) {
    if (nahe.partner[k] == zugeordnet) continue;
    const int64_t reduziert =
        ReduzierteKosten(loesung, static_cast<int32_t>(c), nahe.partner[k], nahe.distanz[k]);
    if (reduziert < 0) {
      gewinn.emplace_back(reduziert, nahe.partner[k], nahe.distanz[k]);
      kleinste = std::min(kleinste, reduziert);
    }
  }
  const size_t anzahl = std::min(gewinn.size(), hoechstens);
  std::partial_sort(gewinn.begin(), gewinn.begin() + static_cast<std::ptrdiff_t>(anzahl),
                    gewinn.end());
  neu = Partnerliste{};
  for (size_t k = 0; k < anzahl; ++k) {
    neu.partner.push_back(std::get<1>(gewinn[k]));
    neu.distanz.push_back(std::get<2>(gewinn[k]));
  }
  return kleinste;
}

std::vector<int32_t> Zuordnung::Belegen(const Flussproblem& problem,
                                        const Flussloesung& loesung) const {
  std::vector<int32_t> foto(zellen_, kKeinBild);
  std::vector<size_t> ersatzZellen;
  for (size_t c = 0; c < zellen_; ++c) {
    const int32_t paar = loesung.paar[c];
    if (paar >= 0) {
      foto[c] = problem.paare[static_cast<size_t>(paar)].foto;
    } else if (paar == kErsatzPaarung) {
      ersatzZellen.push_back(c);
    }
  }
  // Cells left with the spare node (only when the rounds ran out) take its photos, each
  // the nearest one still free.
  std::vector<int32_t> frei = loesung.ersatz;
  for (const size_t c : ersatzZellen) {
    int32_t bestes = kKeinBild;
    int32_t beste = 0;
    for (size_t p = 0; p < frei.size(); ++p) {
      if (frei[p] == 0) continue;
      const int32_t d = daten_.Distanz(c, static_cast<int32_t>(p));
      if (bestes == kKeinBild || d < beste) {
        bestes = static_cast<int32_t>(p);
        beste = d;
      }
    }
    if (bestes != kKeinBild) {
      --frei[static_cast<size_t>(bestes)];
      foto[c] = bestes;
    }
  }
  return foto;
}

int64_t Zuordnung::Summe(const std::vector<int32_t>& foto) const {
  int64_t summe = 0;
  for (size_t c = 0; c < zellen_; ++c) {
    if (foto[c] != kKeinBild) summe += daten_.Distanz(c, foto[c]);
  }
  return summe;
}

bool Zuordnung::Ausfuehren(Platzierer& platzierer) {
  auftrag_.zuordnung.gerechnet = true;
  if (!ZellenRangieren()) return false;
  const size_t fotos = daten_.Fotos();
  if (fotos == 0) return true;  // nothing to place: every cell stays empty
  Verwendungsgrenzen grenzen = VerwendungsgrenzenFuer(e_, static_cast<int64_t>(fotos));
  // More photos than cells cannot all appear (the start refuses such a job, but photos
  // may have been counted apart); then each appears at most once.
  if (grenzen.unten * static_cast<int64_t>(fotos) > static_cast<int64_t>(zellen_)) {
    grenzen.unten = 0;
  }
  Flussproblem problem = ProblemAufstellen(grenzen);
  if (grenzen.unten > 0 && !NaheZellenSuchen(problem.unten)) return false;

  // The first problem: each cell's nearest photos, each photo's that must be used
  // nearest cells, and the pairs of a first assignment.
  const std::vector<int32_t> vorbelegung = Vorbelegen(daten_, problem.unten, problem.oben);
  for (size_t c = 0; c < zellen_; ++c) {
    const Partnerliste& nahe = daten_.naheFotos[c];
    const size_t start = std::min(kStartpaare, nahe.partner.size());
    for (size_t k = 0; k < start; ++k) {
      problem.paare.push_back(Flusspaar{static_cast<int32_t>(c), nahe.partner[k], nahe.distanz[k]});
    }
    const int32_t p = vorbelegung[c];
    if (p != kKeinBild &&
        std::find(nahe.partner.begin(), nahe.partner.begin() + static_cast<std::ptrdiff_t>(start),
                  p) == nahe.partner.begin() + static_cast<std::ptrdiff_t>(start)) {
      problem.paare.push_back(Flusspaar{static_cast<int32_t>(c), p, daten_.Distanz(c, p)});
    }
  }
  // The spare node only where the first assignment left a cell empty or a photo that
  // must be used unused; cells stay empty only when the photos together may not fill
  // them all.
  std::vector<int32_t> nutzung(fotos, 0);
  bool vollstaendig = true;
  for (const int32_t p : vorbelegung) {
    if (p == kKeinBild) {
      vollstaendig = false;
    } else {
      ++nutzung[static_cast<size_t>(p)];
    }
  }
  for (size_t p = 0; p < fotos; ++p) vollstaendig = vollstaendig && nutzung[p] >= problem.unten[p];
  if (!vollstaendig) {
    problem.ersatzKosten = kErsatzKosten;
    if (static_cast<int64_t>(fotos) * grenzen.oben < static_cast<int64_t>(zellen_)) {
      problem.leerKosten = kLeerKosten;
    }
  }
  for (size_t p = 0; p < daten_.naheZellen.size(); ++p) {
    const Partnerliste& nahe = daten_.naheZellen[p];
    for (size_t k = 0; k < nahe.partner.size(); ++k) {
      problem.paare.push_back(Flusspaar{nahe.partner[k], static_cast<int32_t>(p), nahe.distanz[k]});
    }
  }

  // Every pair is searched while that stays cheap; the bound then holds for the optimum
  // over all pairs.
  auftrag_.zuordnung.alleFotos =
      static_cast<int64_t>(zellen_) * static_cast<int64_t>(fotos) <= kAllePaareHoechstens;
  Flussloesung loesung;
  for (int runde = 0; runde < kRundenHoechstens; ++runde) {
    if (!FlussLoesenWartend(problem, loesung)) return false;
    const std::optional<size_t> neu = PaareErgaenzen(loesung, problem);
    if (!neu) return false;
    if (*neu == 0) break;
  }

  Belegung belegung;
  belegung.kachelnX = daten_.KachelnX();
  belegung.kachelnY = daten_.KachelnY();
  belegung.foto = Belegen(problem, loesung);
  belegung.radius = radius_;
  belegung.unten = std::move(problem.unten);
  belegung.oben = std::move(problem.oben);
  problem = Flussproblem{};
  loesung = Flussloesung{};
  auftrag_.zuordnung.summeFluss = Summe(belegung.foto);
  const Tauschkosten kosten(daten_);
  std::optional<Ausgleich> ausgleich = AbstandAusgleichen(belegung, kosten, auftrag_.Abbruch);
  if (!ausgleich) return false;
  int32_t tausche = ausgleich->tausche;
  // Limits that leave no exchange (every photo used as often as it may, or must) would
  // leave photos side by side; the distance gives way instead, one tile at a time for
  // every cell, until it holds everywhere, and the run says so. With a radius of 0 it
  // always holds.
  int32_t gesenkt = 0;
  while (ausgleich->offen > 0 && std::any_of(belegung.radius.begin(), belegung.radius.end(),
                                             [](int32_t r) { return r > 0; })) {
    ++gesenkt;
    for (int32_t& r : belegung.radius) r = std::max(r - 1, 0);
    ausgleich = AbstandAusgleichen(belegung, kosten, auftrag_.Abbruch);
    if (!ausgleich) return false;
    tausche += ausgleich->tausche;
  }
  auftrag_.zuordnung.summe = Summe(belegung.foto);
  auftrag_.zuordnung.tausche = tausche;
  auftrag_.zuordnung.offen = ausgleich->offen;
  auftrag_.zuordnung.abstandGesenkt = gesenkt;

  const auto zeilen = static_cast<size_t>(daten_.KachelnY());
  for (size_t c = 0; c < zellen_; ++c) {
    const int32_t foto = belegung.foto[c];
    if (foto == kKeinBild) continue;
    platzierer.Platzieren(static_cast<int>(c / zeilen) + 1, static_cast<int>(c % zeilen) + 1,
                          belegung.radius[c], reihe_.Nummer(daten_.FotoRang(foto)),
                          Abstandsregel::Keine);
  }
  return true;
}

}  // namespace

bool GedeckeltZuordnen(Auftrag& auftrag, Fortschritt& fortschritt, Arbeitsgruppe& gruppe,
                       const Helligkeitsreihe& reihe, Platzierer& platzierer) {
  const Zellenraster& raster = *auftrag.einstellungen.Raster;
  if (raster.kachelnX() < 1 || raster.kachelnY() < 1) return true;
  Zuordnung zuordnung(auftrag, fortschritt, gruppe, reihe, FotosSammeln(auftrag, reihe));
  return zuordnung.Ausfuehren(platzierer);
}

}  // namespace tilvendo
