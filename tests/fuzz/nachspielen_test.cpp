// Replays the seed inputs and every input that once made a reader fail through the
// same entries the fuzzer uses, so the ordinary (and the sanitizer) build keeps them
// fixed without clang.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "ziele.h"

namespace tilvendo::fuzz {
namespace {

namespace fs = std::filesystem;

struct Ziel {
  std::string_view name;
  void (*lesen)(Eingabe);
};

constexpr std::array<Ziel, 6> kZiele{{{"bmp", &BmpLesen},
                                      {"jpeg", &JpegLesen},
                                      {"fremdbild", &FremdbildLesen},
                                      {"profil", &ProfilLesen},
                                      {"katalog", &KatalogLesen},
                                      {"signaturen", &SignaturenLesen}}};

// Feeds every file of `ordner` (a missing folder has none) and returns how many.
size_t Nachspielen(const Ziel& ziel, const fs::path& ordner) {
  if (!fs::is_directory(ordner)) return 0;
  size_t anzahl = 0;
  for (const fs::directory_entry& eintrag : fs::directory_iterator(ordner)) {
    if (!eintrag.is_regular_file()) continue;
    std::ifstream datei(eintrag.path(), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(datei)),
                                     std::istreambuf_iterator<char>());
    SCOPED_TRACE(eintrag.path().string());
    EXPECT_NO_THROW(ziel.lesen(bytes));
    ++anzahl;
  }
  return anzahl;
}

TEST(FuzzEingaben, JederLeserUebersteht_KorpusUndFruehereFunde) {
  const fs::path wurzel = TILVENDO_FUZZ_ORDNER;
  for (const Ziel& ziel : kZiele) {
    SCOPED_TRACE(std::string(ziel.name));
    EXPECT_GT(Nachspielen(ziel, wurzel / "korpus" / ziel.name), 0u);
    Nachspielen(ziel, wurzel / "regression" / ziel.name);
  }
}

}  // namespace
}  // namespace tilvendo::fuzz
