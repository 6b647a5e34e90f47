// Counting the pictures of a large album: the folder scan against `find` on the same
// tree (100,000 files in 1,000 folders), both with a warm cache.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "albums/ordner_scan.h"
#include "platform/benutzer.h"
#include "platform/paths.h"

namespace {

constexpr int kObereOrdner = 10;
constexpr int kUnterordner = 100;  // per upper folder: 1,000 folders with files
constexpr int kDateienJeOrdner = 100;
constexpr const char* kEndungen[] = {".jpg", ".JPG", ".bmp", ".jpeg", ".txt"};

class Baum {
 public:
  Baum() {
    std::string muster = tilvendo::TempFolder() + "tilvendo-scan-bench-XXXXXX";
    if (::mkdtemp(muster.data()) == nullptr) throw std::runtime_error("mkdtemp");
    wurzel_ = muster + "/";
    for (int o = 0; o < kObereOrdner; ++o) {
      for (int u = 0; u < kUnterordner; ++u) {
        const std::string ordner =
            wurzel_ + "ordner" + std::to_string(o) + "/unter" + std::to_string(u) + "/";
        std::filesystem::create_directories(ordner);
        for (int d = 0; d < kDateienJeOrdner; ++d) {
          const std::string datei =
              ordner + "bild" + std::to_string(d) + kEndungen[d % std::size(kEndungen)];
          const int fd = ::open(datei.c_str(), O_CREAT | O_WRONLY, 0644);
          if (fd >= 0) ::close(fd);
        }
      }
    }
  }
  ~Baum() {
    std::error_code fehler;
    std::filesystem::remove_all(wurzel_, fehler);
  }
  const std::string& wurzel() const { return wurzel_; }

 private:
  std::string wurzel_;
};

const Baum& GemeinsamerBaum() {
  static const Baum baum;
  return baum;
}

void BM_OrdnerScannen(benchmark::State& state) {
  const Baum& baum = GemeinsamerBaum();
  tilvendo::Benutzer benutzer;
  int32_t bilder = 0;
  for (auto _ : state) {
    std::vector<std::string> ergebnis;
    bilder = tilvendo::OrdnerScannen(benutzer, {baum.wurzel()}, ergebnis, true, false).gesamt;
    benchmark::DoNotOptimize(ergebnis.data());
  }
  state.counters["Bilder"] = bilder;
}
BENCHMARK(BM_OrdnerScannen)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);

// The same scan as the album editor runs it, reporting every folder and picture.
void BM_OrdnerScannenMitFortschritt(benchmark::State& state) {
  const Baum& baum = GemeinsamerBaum();
  tilvendo::Benutzer benutzer;
  for (auto _ : state) {
    std::vector<std::string> ergebnis;
    benchmark::DoNotOptimize(
        tilvendo::OrdnerScannen(benutzer, {baum.wurzel()}, ergebnis, true, true).gesamt);
  }
}
BENCHMARK(BM_OrdnerScannenMitFortschritt)->Unit(benchmark::kMillisecond);

void BM_FindTypeF(benchmark::State& state) {
  const Baum& baum = GemeinsamerBaum();
  const std::string befehl = "find '" + baum.wurzel() + "' -type f | wc -l";
  long dateien = 0;
  for (auto _ : state) {
    std::FILE* ausgabe = ::popen(befehl.c_str(), "r");
    if (ausgabe == nullptr || std::fscanf(ausgabe, "%ld", &dateien) != 1) {
      state.SkipWithError("find failed");
    }
    if (ausgabe != nullptr) ::pclose(ausgabe);
  }
  state.counters["Dateien"] = static_cast<double>(dateien);
}
BENCHMARK(BM_FindTypeF)->Unit(benchmark::kMillisecond)->MinWarmUpTime(0.5);

}  // namespace

BENCHMARK_MAIN();
