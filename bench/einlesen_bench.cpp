// The reading phase on a generated photo collection: cold (every picture decoded and
// measured, the cache written) with 1 and 2 workers, warm (signatures from the cache),
// and as the limit a bare decode of the same files by libjpeg-turbo's djpeg, run as one
// process per file with 1 and 2 processes at a time. The cost of starting djpeg alone is
// measured on an 8 × 8 picture, so it can be taken off.
//
//   TILVENDO_BENCH_BILDER=2000 einlesen_bench --benchmark_repetitions=3
//
// The collection (every 20th picture 4000 × 3000, the others 1600 × 1200, photo-like
// content at quality 90) is generated once into ~/.cache/nubo-tilvendo/bench/einlesen-N/;
// its size N comes from TILVENDO_BENCH_BILDER (default 2000).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "albums/alben_zustand.h"
#include "albums/katalog.h"
#include "engine/auftrag.h"
#include "engine/bilder_einlesen.h"
#include "engine/bilder_suchen.h"
#include "engine/fortschritt.h"
#include "pictures/jpeg_writer.h"
#include "platform/benutzer.h"
#include "platform/bitmap.h"
#include "platform/paths.h"

extern char** environ;

namespace {

using namespace tilvendo;

constexpr int kStandardAnzahl = 2000;
constexpr int kGrossJedes = 20;  // every 20th picture is a 12-megapixel one
constexpr int32_t kBreite = 1600;
constexpr int32_t kHoehe = 1200;
constexpr int32_t kGrossBreite = 4000;
constexpr int32_t kGrossHoehe = 3000;
constexpr int kQualitaet = 90;
constexpr const char* kAlbumName = "Bench";
constexpr const char* kFertigMarke = "fertig";

int Bilderzahl() {
  const char* wert = std::getenv("TILVENDO_BENCH_BILDER");
  const int zahl = wert != nullptr ? std::atoi(wert) : kStandardAnzahl;
  return zahl > 0 ? zahl : kStandardAnzahl;
}

// Photo-like content: soft gradients that differ per picture, a few hard edges and
// sensor grain, so that files have the size and entropy of real photos. Row and column
// terms are tabulated, which keeps generating 2000 pictures in the range of a minute.
Bitmap Foto(int32_t breite, int32_t hoehe, uint32_t nummer) {
  Bitmap bild = Bitmap::Uninitialized(breite, hoehe, PixelFormat::k24);
  const double phase = 0.7 * nummer;
  std::vector<double> spalte(static_cast<size_t>(breite));
  std::vector<double> zeile(static_cast<size_t>(hoehe));
  for (int32_t x = 0; x < breite; ++x) spalte[x] = std::sin(9.0 * x / breite + phase);
  for (int32_t y = 0; y < hoehe; ++y) zeile[y] = std::cos(7.0 * y / hoehe + 2 * phase);
  const int32_t kante = breite * static_cast<int32_t>(3 + nummer % 5) / 10;
  uint32_t zufall = 2463534242u ^ (nummer * 2654435761u);
  for (int32_t y = 0; y < hoehe; ++y) {
    uint8_t* pixel = bild.row(y);
    const bool himmel = y < hoehe * 2 / 5;
    for (int32_t x = 0; x < breite; ++x, pixel += 3) {
      zufall ^= zufall << 13;
      zufall ^= zufall >> 17;
      zufall ^= zufall << 5;
      const int korn = static_cast<int>(zufall & 15) - 8;
      const double welle = spalte[x] * zeile[y];
      int blau = himmel ? 190 + static_cast<int>(40 * welle) : 70 + static_cast<int>(50 * welle);
      int gruen =
          himmel ? 150 + static_cast<int>(30 * spalte[x]) : 110 + static_cast<int>(60 * welle);
      int rot =
          himmel ? 100 + static_cast<int>(40 * zeile[y]) : 80 + static_cast<int>(40 * spalte[x]);
      if (!himmel && x > kante && x < kante + breite / 5) {
        rot = 170 + static_cast<int>(30 * zeile[y]);
        gruen = 90;
        blau = 70;
      }
      pixel[0] = static_cast<uint8_t>(std::clamp(blau + korn, 0, 255));
      pixel[1] = static_cast<uint8_t>(std::clamp(gruen + korn, 0, 255));
      pixel[2] = static_cast<uint8_t>(std::clamp(rot + korn, 0, 255));
    }
  }
  return bild;
}

// The photo collection, generated once and kept in the user's cache folder.
class Sammlung {
 public:
  static const Sammlung& Get() {
    static const Sammlung sammlung;
    return sammlung;
  }
  const std::string& ordner() const { return ordner_; }
  const std::vector<std::string>& dateien() const { return dateien_; }
  const std::string& winzig() const { return winzig_; }

 private:
  Sammlung() {
    const int anzahl = Bilderzahl();
    ordner_ = CacheHomeFolder() + "nubo-tilvendo/bench/einlesen-" + std::to_string(anzahl) + "/";
    if (!FileExists(ordner_ + kFertigMarke)) Erzeugen(anzahl);
    dateien_ = BilddateienSuchen(ordner_, ".jpg");
    winzig_ = ordner_ + "start/winzig.jpg";  // outside the album's one folder
  }

  void Erzeugen(int anzahl) {
    std::fprintf(stderr, "Erzeuge %d Fotos in %s ...\n", anzahl, ordner_.c_str());
    if (!CreateFolders(ordner_)) throw std::runtime_error("cannot create " + ordner_);
    std::atomic<int> naechstes{0};
    auto arbeiten = [&] {
      for (int k = naechstes++; k < anzahl; k = naechstes++) {
        const bool gross = k % kGrossJedes == kGrossJedes - 1;
        char name[32];
        std::snprintf(name, sizeof name, "foto%05d.jpg", k);
        WriteJpegFile(Foto(gross ? kGrossBreite : kBreite, gross ? kGrossHoehe : kHoehe,
                           static_cast<uint32_t>(k)),
                      ordner_ + name, kQualitaet);
      }
    };
    std::vector<std::thread> arbeiter;
    for (unsigned t = 0; t < std::max(1u, std::thread::hardware_concurrency()); ++t) {
      arbeiter.emplace_back(arbeiten);
    }
    for (std::thread& t : arbeiter) t.join();
    CreateFolders(ordner_ + "start/");
    WriteJpegFile(Foto(8, 8, 0), ordner_ + "start/winzig.jpg", kQualitaet);
    std::FILE* marke = std::fopen((ordner_ + kFertigMarke).c_str(), "w");
    if (marke != nullptr) std::fclose(marke);
  }

  std::string ordner_;
  std::vector<std::string> dateien_;
  std::string winzig_;
};

// CPU seconds of the whole process (all threads) so far. On a machine shared with other
// work the wall time says little about scaling; the CPU time of the process does.
double ProzessCpu() {
  rusage nutzung{};
  ::getrusage(RUSAGE_SELF, &nutzung);
  return static_cast<double>(nutzung.ru_utime.tv_sec + nutzung.ru_stime.tv_sec) +
         1e-6 * static_cast<double>(nutzung.ru_utime.tv_usec + nutzung.ru_stime.tv_usec);
}

// CPU seconds of finished child processes (djpeg).
double KinderCpu() {
  rusage nutzung{};
  ::getrusage(RUSAGE_CHILDREN, &nutzung);
  return static_cast<double>(nutzung.ru_utime.tv_sec + nutzung.ru_stime.tv_sec) +
         1e-6 * static_cast<double>(nutzung.ru_utime.tv_usec + nutzung.ru_stime.tv_usec);
}

// An album of the collection in a private album folder.
class BenchAlbum {
 public:
  BenchAlbum() {
    std::string muster = TempFolder() + "tilvendo-einlesen-XXXXXX";
    if (::mkdtemp(muster.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    auftrag_.AlbenPfad = muster + "/";
    auftrag_.Arbeitspfad = auftrag_.AlbenPfad;
    albenliste_.resize(kErstesGewaehltesAlbum);
    TGalerieGlobal album;
    album.Name = kAlbumName;
    album.Dateiname = "Album 1";
    album.Verzeichnisse = {Sammlung::Get().ordner()};
    album.AlleVerzeichnisse = album.Verzeichnisse;
    album.AlleVerzeichnisseVorhanden = true;
    AlbumSpeichern(Kontext(), album);
    albenliste_.push_back(album);
    auftrag_.BilderAnzahl.gesamt = static_cast<int32_t>(Sammlung::Get().dateien().size());
  }
  ~BenchAlbum() {
    std::error_code fehler;
    std::filesystem::remove_all(auftrag_.AlbenPfad, fehler);
  }

  AlbenKontext Kontext() const { return AlbenKontext{auftrag_.AlbenPfad}; }
  void CacheVerwerfen() { SignaturenVeralten(Kontext(), kAlbumName, 2); }

  size_t Lesen(unsigned arbeiter) {
    Fortschritt fortschritt(auftrag_, benutzer_);
    fortschritt.PhaseAnzeigen(1);
    BilderEinlesen(auftrag_, albenliste_, fortschritt, benutzer_, EinleseOptionen{arbeiter});
    return auftrag_.Dateiliste.size();
  }

 private:
  Auftrag auftrag_;
  std::vector<TGalerieGlobal> albenliste_;
  Benutzer benutzer_;
};

void BM_EinlesenKalt(benchmark::State& state) {
  const auto arbeiter = static_cast<unsigned>(state.range(0));
  BenchAlbum album;
  size_t bilder = 0;
  double cpu = 0;
  for (auto _ : state) {
    state.PauseTiming();
    album.CacheVerwerfen();
    const double vorher = ProzessCpu();
    state.ResumeTiming();
    bilder = album.Lesen(arbeiter);
    cpu += ProzessCpu() - vorher;
  }
  state.counters["CPU-s"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
  if (bilder != Sammlung::Get().dateien().size()) state.SkipWithError("pictures missing");
  state.counters["Bilder/s"] = benchmark::Counter(static_cast<double>(bilder),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void BM_EinlesenWarm(benchmark::State& state) {
  BenchAlbum album;
  album.Lesen(0);  // builds the cache
  size_t bilder = 0;
  for (auto _ : state) bilder = album.Lesen(0);
  state.counters["Bilder/s"] = benchmark::Counter(static_cast<double>(bilder),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

// Runs djpeg on every file, `parallel` processes at a time, output thrown away.
void DjpegAlle(const std::vector<std::string>& dateien, int parallel) {
  std::vector<pid_t> laufend;
  auto warten = [&] {
    int status = 0;
    const pid_t fertig = ::wait(&status);
    if (fertig < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      throw std::runtime_error("djpeg failed");
    }
    laufend.erase(std::remove(laufend.begin(), laufend.end(), fertig), laufend.end());
  };
  for (const std::string& datei : dateien) {
    while (static_cast<int>(laufend.size()) >= parallel) warten();
    std::vector<std::string> argumente = {"djpeg", "-outfile", "/dev/null", datei};
    std::vector<char*> zeiger;
    for (std::string& a : argumente) zeiger.push_back(a.data());
    zeiger.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, "djpeg", nullptr, nullptr, zeiger.data(), environ) != 0) {
      throw std::runtime_error("djpeg cannot be started");
    }
    laufend.push_back(pid);
  }
  while (!laufend.empty()) warten();
}

void BM_Djpeg(benchmark::State& state) {
  const auto& dateien = Sammlung::Get().dateien();
  const double vorher = KinderCpu();
  for (auto _ : state) DjpegAlle(dateien, static_cast<int>(state.range(0)));
  state.counters["CPU-s"] =
      benchmark::Counter(KinderCpu() - vorher, benchmark::Counter::kAvgIterations);
  state.counters["Bilder/s"] = benchmark::Counter(static_cast<double>(dateien.size()),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

// Starting djpeg as often as there are files, on a picture that takes no time to decode.
void BM_DjpegStart(benchmark::State& state) {
  const std::vector<std::string> winzig(Sammlung::Get().dateien().size(), Sammlung::Get().winzig());
  const double vorher = KinderCpu();
  for (auto _ : state) DjpegAlle(winzig, static_cast<int>(state.range(0)));
  state.counters["CPU-s"] =
      benchmark::Counter(KinderCpu() - vorher, benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_EinlesenKalt)->Arg(1)->Arg(2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_EinlesenWarm)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Djpeg)->Arg(1)->Arg(2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_DjpegStart)->Arg(1)->Arg(2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
