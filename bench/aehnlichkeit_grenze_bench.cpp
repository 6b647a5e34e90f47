// How closely any mosaic of the given photos could reproduce a template when no photo
// may fill more than a number of cells: the assignment of photos to the cells of the
// tile grid with the least mean CIE76 colour difference of the cells' mean colours
// (bench/rastermittel.h, as bench/aehnlichkeit_bench.cpp measures a mosaic), found by
// the minimum-cost flow of the matching (engine/zuordnungsfluss.h) over every pair of
// cell and photo. A tile shows its photo squeezed to the tile, so its mean colour is
// the photo's. No assignment under the cap comes closer, whatever distance the matching
// minimises; the minimum distance between equal photos, mended afterwards by the
// matching's exchanges (engine/abstandsausgleich.h) at this colour difference, only
// adds to it.
//
//   aehnlichkeit_grenze_bench VORLAGE SPALTENxZEILEN DECKEL MINDESTABSTAND FOTOORDNER
//                             [LISTE.csv …]
//
// Prints the mean colour difference of the best assignment, and of it after the
// exchanges with each cell's radius MINDESTABSTAND plus a random 0 to 3 (the pattern
// handling "Standard"). For each tile list of a mosaic of those photos (tilvendo
// --liste) it prints the same measure of that mosaic's assignment, which shows how
// closely the photos' mean colours stand for their tiles. A plain program, not a timed
// benchmark.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <optional>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/abstandsausgleich.h"
#include "engine/zuordnungsfluss.h"
#include "pictures/bilder_laden.h"
#include "rastermittel.h"

namespace {

using namespace tilvendo;

// Colour differences in hundredths, the flow's whole-number costs.
constexpr double kSkala = 100.0;
// A cell's nearest photos in the first flow and joining per round.
constexpr size_t kStartpaare = 8;
constexpr size_t kNeueJeZelle = 16;
// The photos the exchanges try first in a cell.
constexpr size_t kKandidaten = 64;
// The random addition to the minimum distance of the pattern handling "Standard".
constexpr int kMusterabstand = 3;

struct Kosten : Ausgleichskosten {
  size_t fotos = 0;
  std::vector<int32_t> abstand;                // [cell · fotos + photo]
  std::vector<std::vector<int32_t>> naechste;  // per cell: its nearest photos

  int32_t Distanz(size_t zelle, int32_t foto) const override {
    return abstand[zelle * fotos + static_cast<size_t>(foto)];
  }
  std::span<const int32_t> Kandidaten(size_t zelle) const override { return naechste[zelle]; }
};

double Mittelwert(const Kosten& k, const std::vector<int32_t>& foto) {
  double summe = 0.0;
  for (size_t c = 0; c < foto.size(); ++c) summe += k.Distanz(c, foto[c]);
  return summe / kSkala / static_cast<double>(foto.size());
}

// The photo of every cell, column by column, from a tile list ("Spalte,Zeile,Foto", from
// 1), as numbers into `dateien`.
std::vector<int32_t> ListeLesen(const std::string& name, const std::vector<std::string>& dateien,
                                int zeilen) {
  std::ifstream liste(name);
  std::string zeile;
  std::getline(liste, zeile);
  std::vector<int32_t> foto;
  while (std::getline(liste, zeile)) {
    int x = 0;
    int y = 0;
    int gelesen = 0;
    if (std::sscanf(zeile.c_str(), "%d,%d,%n", &x, &y, &gelesen) < 2) continue;
    const std::string datei = zeile.substr(static_cast<size_t>(gelesen));
    const auto stelle = std::lower_bound(dateien.begin(), dateien.end(), datei);
    if (stelle == dateien.end() || *stelle != datei)
      throw std::runtime_error("fremdes Foto " + datei);
    const auto c = static_cast<size_t>((x - 1) * zeilen + (y - 1));
    if (foto.size() <= c) foto.resize(c + 1, 0);
    foto[c] = static_cast<int32_t>(stelle - dateien.begin());
  }
  return foto;
}

}  // namespace

int main(int argc, char** argv) {
  int spalten = 0;
  int zeilen = 0;
  if (argc < 6 || std::sscanf(argv[2], "%dx%d", &spalten, &zeilen) != 2 || spalten < 1 ||
      zeilen < 1) {
    std::fprintf(stderr,
                 "Aufruf: %s VORLAGE SPALTENxZEILEN DECKEL MINDESTABSTAND FOTOORDNER "
                 "[LISTE.csv …]\n",
                 argv[0]);
    return 2;
  }
  const int32_t deckel = std::atoi(argv[3]);
  const int32_t mindestabstand = std::atoi(argv[4]);
  try {
    Bitmap vorlage;
    if (!LoadWholePicture(vorlage, argv[1])) {
      std::fprintf(stderr, "Vorlage nicht lesbar\n");
      return 1;
    }
    std::vector<LabFarbe> zellen;
    for (const bench::Mittel& m : bench::Rastermittel(vorlage, spalten, zeilen)) {
      zellen.push_back(bench::Lab(m));
    }
    std::vector<std::string> dateien;
    for (const auto& eintrag : std::filesystem::directory_iterator(argv[5])) {
      const std::string endung = eintrag.path().extension().string();
      if (endung == ".jpg" || endung == ".jpeg" || endung == ".bmp") {
        dateien.push_back(eintrag.path().string());
      }
    }
    std::sort(dateien.begin(), dateien.end());
    std::vector<LabFarbe> fotos;
    for (const std::string& datei : dateien) {
      Bitmap foto;
      if (!LoadWholePicture(foto, datei)) throw std::runtime_error("nicht lesbar: " + datei);
      fotos.push_back(bench::Lab(bench::Rastermittel(foto, 1, 1)[0]));
    }
    if (fotos.empty() ||
        static_cast<int64_t>(fotos.size()) * deckel < static_cast<int64_t>(zellen.size())) {
      std::fprintf(stderr, "Zu wenige Fotos: %zu für %zu Kacheln\n", fotos.size(), zellen.size());
      return 1;
    }

    Kosten k;
    k.fotos = fotos.size();
    k.abstand.resize(zellen.size() * fotos.size());
    k.naechste.resize(zellen.size());
    Flussproblem problem;
    problem.zellen = static_cast<int32_t>(zellen.size());
    problem.unten.assign(fotos.size(), 0);
    problem.oben.assign(fotos.size(), deckel);
    int32_t teuerste = 0;
    for (size_t c = 0; c < zellen.size(); ++c) {
      for (size_t p = 0; p < fotos.size(); ++p) {
        const auto d = static_cast<int32_t>(bench::Farbabstand(zellen[c], fotos[p]) * kSkala + 0.5);
        k.abstand[c * fotos.size() + p] = d;
        teuerste = std::max(teuerste, d);
      }
      std::vector<int32_t>& naechste = k.naechste[c];
      naechste.resize(fotos.size());
      std::iota(naechste.begin(), naechste.end(), 0);
      std::stable_sort(naechste.begin(), naechste.end(),
                       [&](int32_t a, int32_t b) { return k.Distanz(c, a) < k.Distanz(c, b); });
      naechste.resize(std::min(kKandidaten, fotos.size()));
      for (size_t i = 0; i < std::min(kStartpaare, naechste.size()); ++i) {
        problem.paare.push_back(
            Flusspaar{static_cast<int32_t>(c), naechste[i], k.Distanz(c, naechste[i])});
      }
    }
    // The spare node keeps the first flows solvable; it costs more than any pair.
    problem.ersatzKosten = teuerste + 1;

    // Every pair is priced in every round: the optimum over all of them.
    Flussloeser loeser;
    Flussloesung loesung;
    int runden = 0;
    for (;; ++runden) {
      loesung = loeser.Loesen(problem);
      size_t neu = 0;
      for (size_t c = 0; c < zellen.size(); ++c) {
        std::vector<std::pair<int64_t, int32_t>> gewinn;
        for (size_t p = 0; p < fotos.size(); ++p) {
          const auto foto = static_cast<int32_t>(p);
          const int64_t r =
              ReduzierteKosten(loesung, static_cast<int32_t>(c), foto, k.Distanz(c, foto));
          if (r < 0) gewinn.emplace_back(r, foto);
        }
        const size_t anzahl = std::min(gewinn.size(), kNeueJeZelle);
        std::partial_sort(gewinn.begin(), gewinn.begin() + static_cast<std::ptrdiff_t>(anzahl),
                          gewinn.end());
        for (size_t i = 0; i < anzahl; ++i) {
          problem.paare.push_back(
              Flusspaar{static_cast<int32_t>(c), gewinn[i].second, k.Distanz(c, gewinn[i].second)});
        }
        neu += anzahl;
      }
      if (neu == 0) break;
    }

    Belegung belegung;
    belegung.kachelnX = spalten;
    belegung.kachelnY = zeilen;
    belegung.unten = problem.unten;
    belegung.oben = problem.oben;
    for (size_t c = 0; c < zellen.size(); ++c) {
      const int32_t paar = loesung.paar[c];
      if (paar < 0) {
        std::fprintf(stderr, "Zelle %zu ohne Foto\n", c);
        return 1;
      }
      belegung.foto.push_back(problem.paare[static_cast<size_t>(paar)].foto);
    }
    std::mt19937 zufall(1);
    std::uniform_int_distribution<int32_t> extra(0, kMusterabstand);
    for (size_t c = 0; c < zellen.size(); ++c)
      belegung.radius.push_back(mindestabstand + extra(zufall));
    std::printf("%zu Kacheln, %zu Fotos, höchstens %d je Foto: %d Flussrunden\n", zellen.size(),
                fotos.size(), deckel, runden + 1);
    std::printf("kleinster mittlerer Farbabstand: %.2f\n", Mittelwert(k, belegung.foto));
    const std::atomic<bool> abbruch{false};
    const std::optional<Ausgleich> ausgleich = AbstandAusgleichen(belegung, k, abbruch);
    std::printf("nach %d Tauschen für Mindestabstand %d (+0..%d): %.2f (%d Kacheln offen)\n",
                ausgleich->tausche, mindestabstand, kMusterabstand, Mittelwert(k, belegung.foto),
                ausgleich->offen);
    for (int i = 6; i < argc; ++i) {
      std::printf("%s: %.2f\n", argv[i], Mittelwert(k, ListeLesen(argv[i], dateien, zeilen)));
    }
  } catch (const std::exception& fehler) {
    std::fprintf(stderr, "%s\n", fehler.what());
    return 1;
  }
  return 0;
}
