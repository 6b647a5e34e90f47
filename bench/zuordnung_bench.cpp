// The matching step alone on a synthetic tile list (bench/zuordnungsjob.h): its wall
// time, the peak of the resident memory while it runs, and for the matching under usage
// limits the flow's rounds, the total signature distance of the flow and after the
// exchanges for the minimum distance, and how often the photos are used.
//
//   zuordnung_bench SPALTENxZEILEN FOTOS [--max-verwendungen N] [--jedes-foto]
//                   [--methode 0..3] [--threads T]
//
// A plain program, not a timed benchmark: bench/zuordnung.sh runs it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "engine/abgleich.h"
#include "engine/arbeitsgruppe.h"
#include "engine/fortschritt.h"
#include "zuordnungsjob.h"

namespace {

using namespace tilvendo;

// Resident memory in MB from /proc/self/status: the current value or its peak.
double Speicher(const char* feld) {
  std::ifstream status("/proc/self/status");
  std::string zeile;
  const std::string name = std::string(feld) + ":";
  while (std::getline(status, zeile)) {
    if (zeile.rfind(name, 0) == 0) return std::atof(zeile.c_str() + name.size()) / 1024.0;
  }
  return 0.0;
}

// Lets the peak start again from the current value.
void SpitzeZuruecksetzen() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace

int main(int argc, char** argv) {
  int spalten = 0;
  int zeilen = 0;
  if (argc < 3 || std::sscanf(argv[1], "%dx%d", &spalten, &zeilen) != 2 || spalten < 1 ||
      zeilen < 1) {
    std::fprintf(stderr,
                 "Aufruf: %s SPALTENxZEILEN FOTOS [--max-verwendungen N] [--jedes-foto] "
                 "[--methode 0..3] [--threads T]\n",
                 argv[0]);
    return 2;
  }
  const int fotos = std::atoi(argv[2]);
  Verfahren verfahren;
  int methode = 0;
  unsigned threads = 0;
  for (int i = 3; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--jedes-foto") {
      verfahren.JedesFoto = true;
    } else if (option == "--max-verwendungen" && i + 1 < argc) {
      verfahren.MaxVerwendungen = std::atoi(argv[++i]);
    } else if (option == "--methode" && i + 1 < argc) {
      methode = std::atoi(argv[++i]);
    } else if (option == "--threads" && i + 1 < argc) {
      threads = static_cast<unsigned>(std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "Unbekannte Option %s\n", option.c_str());
      return 2;
    }
  }

  bench::Zuordnungsjob job(fotos, static_cast<uint8_t>(methode), static_cast<uint16_t>(spalten),
                           static_cast<uint16_t>(zeilen), verfahren);
  Arbeitsgruppe gruppe(threads);
  job.auftrag.zufall.seed(1);
  const double davor = Speicher("VmRSS");
  SpitzeZuruecksetzen();
  Fortschritt fortschritt(job.auftrag, job.benutzer);
  const auto start = std::chrono::steady_clock::now();
  const std::optional<Verwendungsliste> verwendung =
      KachelnZuordnen(job.auftrag, fortschritt, gruppe);
  const double sekunden =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double spitze = Speicher("VmHWM");
  if (!verwendung) return 1;

  std::map<int32_t, int32_t> nutzung;
  const Zellenraster& raster = *job.auftrag.einstellungen.Raster;
  int32_t leer = 0;
  for (int x = 1; x <= raster.kachelnX(); ++x) {
    for (int y = 1; y <= raster.kachelnY(); ++y) {
      const int32_t bild = raster.at(x, y).Bild;
      if (bild == kKeinBild) {
        ++leer;
      } else {
        ++nutzung[bild];
      }
    }
  }
  int32_t wenigste = 0;
  int32_t meiste = 0;
  for (const auto& [bild, anzahl] : nutzung) {
    wenigste = wenigste == 0 ? anzahl : std::min(wenigste, anzahl);
    meiste = std::max(meiste, anzahl);
  }
  const Zuordnungsbericht& z = job.auftrag.zuordnung;
  std::printf("Raster %dx%d, %d Fotos, %u Threads, Kandidaten %d\n", spalten, zeilen, fotos,
              gruppe.Threads(), job.auftrag.einstellungen.Kandidatenzahl);
  std::printf("Zeit: %.2f s\n", sekunden);
  std::printf("Speicher: %.0f MB davor, Spitze %.0f MB (+%.0f MB)\n", davor, spitze,
              spitze - davor);
  std::printf("verschiedene Fotos: %zu, je Foto %d bis %d Kacheln, leer: %d\n", nutzung.size(),
              wenigste, meiste, leer);
  if (z.gerechnet) {
    std::printf("Fluss: %d Runden, Summe %lld, nach %d Tauschen %lld (%+.3f %%), offen %d\n",
                z.runden, static_cast<long long>(z.summeFluss), z.tausche,
                static_cast<long long>(z.summe),
                z.summeFluss > 0 ? 100.0 * static_cast<double>(z.summe - z.summeFluss) /
                                       static_cast<double>(z.summeFluss)
                                 : 0.0,
                z.offen);
  }
  return 0;
}
