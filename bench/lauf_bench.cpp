// Phases 3 and 4 of a run on a 100 × 75 grid.
//
// Matching: every method over a synthetic tile list of 2,000 and 10,000 signatures, on
// one thread and on all cores; the cells come from a generated photo-like template.
// Composing: 7,500 cells showing 200 distinct 1600 × 1200 JPEG photos (quality 90),
// generated once into ~/.cache/nubo-tilvendo/bench/lauf-200/, held whole, on one thread
// and on all.
// Distanz: the packed form against the plain definition.
//
//   lauf_bench --benchmark_filter=Zuordnen
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/abgleich.h"
#include "engine/arbeitsgruppe.h"
#include "engine/auftrag.h"
#include "engine/fortschritt.h"
#include "engine/mosaik_baender.h"
#include "pictures/jpeg_writer.h"
#include "platform/benutzer.h"
#include "platform/paths.h"
#include "zuordnungsjob.h"

namespace {

using namespace tilvendo;
using bench::Fotoartig;
using bench::kFormanalyse;
using bench::Zuordnungsjob;

constexpr uint16_t kKachelnX = 100;
constexpr uint16_t kKachelnY = 75;
constexpr int32_t kFotoBreite = 1600;
constexpr int32_t kFotoHoehe = 1200;
constexpr int kFotos = 200;
constexpr int kQualitaet = 90;

void BM_Zuordnen(benchmark::State& state) {
  const auto methode = static_cast<uint8_t>(state.range(0));
  Zuordnungsjob job(static_cast<int>(state.range(1)), methode, kKachelnX, kKachelnY);
  Arbeitsgruppe gruppe(static_cast<unsigned>(state.range(2)));
  for (auto _ : state) {
    job.auftrag.zufall.seed(1);
    for (int x = 1; x <= kKachelnX; ++x) {
      for (int y = 1; y <= kKachelnY; ++y) job.auftrag.einstellungen.Raster->at(x, y).Bild = -1;
    }
    Fortschritt fortschritt(job.auftrag, job.benutzer);
    benchmark::DoNotOptimize(KachelnZuordnen(job.auftrag, fortschritt, gruppe));
  }
  state.counters["K"] = job.auftrag.einstellungen.Kandidatenzahl;
  state.counters["threads"] = gruppe.Threads();
}
BENCHMARK(BM_Zuordnen)
    ->ArgsProduct({{0, 1, 2, 3}, {2000, 10000}, {1, 0}})
    ->ArgNames({"methode", "bilder", "threads"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

std::vector<std::string> Fotos() {
  const std::string ordner =
      CacheHomeFolder() + "nubo-tilvendo/bench/lauf-" + std::to_string(kFotos) + "/";
  CreateFolders(ordner);
  std::vector<std::string> dateien;
  for (int k = 0; k < kFotos; ++k) {
    const std::string datei = ordner + "foto" + std::to_string(k) + ".jpg";
    if (!FileExists(datei)) {
      WriteJpegFile(Fotoartig(kFotoBreite, kFotoHoehe, static_cast<uint32_t>(k), PixelFormat::k24),
                    datei, kQualitaet);
    }
    dateien.push_back(datei);
  }
  return dateien;
}

void BM_Zusammenstellen(benchmark::State& state) {
  const std::vector<std::string> fotos = Fotos();
  Auftrag auftrag;
  Einstellungen& e = auftrag.einstellungen;
  e.KachelnX = kKachelnX;
  e.KachelnY = kKachelnY;
  e.ZellBreite = 20;
  e.ZellHoehe = 15;
  e.ZoomX = e.ZoomY = 100;
  e.ZielBreite = 20 * kKachelnX;
  e.ZielHoehe = 15 * kKachelnY;
  Verwendungsliste verwendung;
  int k = 0;
  for (int x = 1; x <= kKachelnX; ++x) {
    for (int y = 1; y <= kKachelnY; ++y, ++k) {
      if (k < kFotos) {
        verwendung.Hinzufuegen(fotos[static_cast<size_t>(k)], Zellort{x, y});
      } else {
        verwendung.ZelleAnfuegen(static_cast<size_t>(k % kFotos), Zellort{x, y});
      }
    }
  }
  const auto plan = std::make_shared<const Mosaikplan>(e, auftrag.analyse, std::move(verwendung));
  Bandoptionen optionen;
  optionen.threads = static_cast<unsigned>(state.range(0));
  for (auto _ : state) {
    // Held whole: the bands drawn into one picture, every thread on each band.
    Mosaikbaender baender(plan, auftrag.VorlageBild, auftrag.Arbeitspfad, optionen);
    Bitmap mosaik(kKachelnX * 20, kKachelnY * 15);
    baender.InBild(mosaik, {});
  }
  state.counters["threads"] = optionen.threads == 0 ? StandardArbeiterzahl() : optionen.threads;
  state.counters["dateien"] = kFotos;
}
BENCHMARK(BM_Zusammenstellen)
    ->Arg(1)
    ->Arg(0)
    ->ArgName("threads")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_DistanzGepackt(benchmark::State& state) {
  std::mt19937 gen(3);
  std::vector<GepackteFelder> felder(1024);
  for (GepackteFelder& f : felder) {
    for (int i = 0; i < 3 * kFormanalyse * kFormanalyse; ++i) {
      f.bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(gen());
    }
  }
  const int bloecke = Bloecke(kFormanalyse);
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        Distanz(felder[i & 1023], felder[(i + 1) & 1023], kFormanalyse, bloecke));
    ++i;
  }
}
BENCHMARK(BM_DistanzGepackt);

void BM_DistanzDefinition(benchmark::State& state) {
  std::mt19937 gen(3);
  std::vector<Kachelsignatur> signaturen(1024);
  for (Kachelsignatur& s : signaturen) {
    for (int a = 0; a < kFormanalyse; ++a) {
      for (int b = 0; b < kFormanalyse; ++b) {
        s.Felder[a][b] = Feld{0, static_cast<uint8_t>(gen()), static_cast<uint8_t>(gen()),
                              static_cast<uint8_t>(gen())};
      }
    }
  }
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        Distanz(signaturen[i & 1023], signaturen[(i + 1) & 1023], kFormanalyse));
    ++i;
  }
}
BENCHMARK(BM_DistanzDefinition);

}  // namespace

BENCHMARK_MAIN();
