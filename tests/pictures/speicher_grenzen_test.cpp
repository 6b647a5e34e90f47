// Small files that declare huge pictures, and the budget that parallel readers share.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "pictures/bilder_laden.h"
#include "pictures/jpeg_io.h"
#include "pictures/jpeg_memory_reader.h"
#include "pictures/png_reader.h"
#include "pictures/tiff_reader.h"
#include "platform/memory_budget.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/bmp_bauer.h"
#include "support/formate_testbilder.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

constexpr int32_t kRiesig = 20000;  // 400 megapixels: just allowed by the size check
constexpr Farbe kRot{0, 0, 255};    // blue, green, red
constexpr Farbe kSchwarz{0, 0, 0};

// A bottom-up RLE8 bitmap of kRiesig × kRiesig in about 1.6 MB: every row 40 runs of 255
// red pixels, the rest of the row left out (palette index 0, black).
std::string RiesigesRle8() {
  constexpr int kLaeufe = 40;
  constexpr uint32_t kPixelStart = 14 + 40 + 256 * 4;
  std::string bytes(kPixelStart, '\0');
  bytes[0] = 'B';
  bytes[1] = 'M';
  testing::Setzen32(bytes, testing::kBmpPixelOffsetStelle, kPixelStart);
  testing::Setzen32(bytes, testing::kBmpKopfgroesseStelle, 40);
  testing::Setzen32(bytes, testing::kBmpBreiteStelle, kRiesig);
  testing::Setzen32(bytes, testing::kBmpHoeheStelle, kRiesig);
  testing::Setzen16(bytes, testing::kBmpEbenenStelle, 1);
  testing::Setzen16(bytes, testing::kBmpBitsStelle, 8);
  testing::Setzen32(bytes, testing::kBmpKompressionStelle, testing::kBmpRle8);
  bytes[14 + 40 + 4 + 2] = static_cast<char>(kRot.red);  // palette entry 1
  std::string zeile;
  for (int k = 0; k < kLaeufe; ++k) zeile += std::string{'\xFF', '\x01'};
  zeile += std::string(2, '\0');  // end of line
  bytes.reserve(bytes.size() + zeile.size() * kRiesig + 2);
  for (int32_t y = 0; y < kRiesig; ++y) bytes += zeile;
  return bytes + std::string{'\0', '\x01'};  // end of picture
}

// A small progressive JPEG whose frame header claims `breite` × `hoehe`.
std::string JpegMitGroesse(const std::string& pfad, uint16_t breite, uint16_t hoehe) {
  testing::JpegArt progressiv;
  progressiv.progressiv = true;
  testing::WriteTestJpeg(pfad, testing::Einfarbig(16, 16, kRot), progressiv);
  std::string bytes = testing::ReadWholeFile(pfad);
  const size_t sof = bytes.find("\xFF\xC2");
  EXPECT_NE(sof, std::string::npos);
  bytes[sof + 5] = static_cast<char>(hoehe >> 8);
  bytes[sof + 6] = static_cast<char>(hoehe & 0xFF);
  bytes[sof + 7] = static_cast<char>(breite >> 8);
  bytes[sof + 8] = static_cast<char>(breite & 0xFF);
  testing::WriteWholeFile(pfad, bytes);
  return bytes;
}

struct Messung {
  bool ergebnis = false;
  long zuwachsMb = -1;  // growth of the peak memory while the work ran
};

// Runs `arbeit` in a child process, so that no earlier peak hides what it needs.
Messung ImKind(const std::function<bool()>& arbeit) {
  constexpr int kFehlschlag = 255;
  constexpr long kKbJeMb = 1024;
  const pid_t kind = ::fork();
  if (kind == 0) {
    rusage vorher{};
    ::getrusage(RUSAGE_SELF, &vorher);
    const bool ergebnis = arbeit();
    rusage nachher{};
    ::getrusage(RUSAGE_SELF, &nachher);
    const long zuwachs = (nachher.ru_maxrss - vorher.ru_maxrss) / kKbJeMb;
    ::_exit(static_cast<int>(std::min(zuwachs, 126L)) * 2 + (ergebnis ? 1 : 0));
  }
  int status = 0;
  if (kind < 0 || ::waitpid(kind, &status, 0) != kind || !WIFEXITED(status) ||
      WEXITSTATUS(status) == kFehlschlag) {
    return {};
  }
  return {(WEXITSTATUS(status) & 1) != 0, WEXITSTATUS(status) / 2};
}

// Far below the 400 MB to 2.4 GB these pictures would take whole or as coefficients.
constexpr long kHoechstensMb = 100;

// A template within the pixel bound is read only when it fits the memory left for it
// with its working copy; else it is refused with its size and what it would take. At
// 1000 × 1000: 3 MB as read, 4 MB as worked with.
TEST(Speichergrenzen, ATemplateBeyondTheMemoryBudgetIsRefusedWithItsSize) {
  const testing::TempFolder ordner;
  testing::WriteTestPng(ordner / "vorlage.png", testing::Einfarbig(1000, 1000, kRot));
  constexpr uint64_t kMb = uint64_t{1} << 20;
  for (const uint64_t speicher : {4 * kMb, 6 * kMb}) {
    Bitmap bild;
    const Vorlagenbild vorlage = VorlagenbildLesen(bild, ordner / "vorlage.png", {}, speicher);
    EXPECT_EQ(vorlage.lesung, Vorlagenlesung::ZuGross) << speicher;
    EXPECT_EQ(vorlage.groesse.width, 1000);
    EXPECT_TRUE(bild.empty());
  }
  Bitmap bild;
  EXPECT_EQ(VorlagenbildLesen(bild, ordner / "vorlage.png", {}, 8 * kMb).lesung,
            Vorlagenlesung::Gelesen);
  EXPECT_EQ(bild.width(), 1000);
  EXPECT_EQ(MeldungVorlageZuGross(Size{1000, 1000}, 6 * kMb),
            "Das Bild ist mit 1000 × 1000 Pixeln zu groß für den Arbeitsspeicher dieses "
            "Rechners: Es bräuchte etwa 7 MB, höchstens 6 MB stehen einer Vorlage zur "
            "Verfügung.");
}

TEST(Speichergrenzen, HugeDeclaredPicturesAreNoTemplatesAndTilesStayWithinBounds) {
  const testing::TempFolder ordner;
  testing::WriteWholeFile(ordner / "riesig.bmp", RiesigesRle8());
  const std::string jpeg = JpegMitGroesse(ordner / "riesig.jpg", kRiesig, kRiesig);

  for (const std::string name : {"riesig.bmp", "riesig.jpg"}) {
    Bitmap bild = testing::Einfarbig(2, 2, kSchwarz);
    const Vorlagenbild vorlage = VorlagenbildLesen(bild, ordner / name);
    EXPECT_EQ(vorlage.lesung, Vorlagenlesung::ZuGross) << name;
    EXPECT_EQ(vorlage.groesse.width, kRiesig) << name;
    EXPECT_EQ(bild.width(), 2) << name;
  }
  EXPECT_EQ(MeldungVorlageZuGross(Size{kRiesig, kRiesig}),
            "Das Bild ist mit 20000 × 20000 Pixeln zu groß für eine Vorlage; höchstens 120 "
            "Millionen Pixel sind möglich.");
  // Beyond what any picture may have, a reader refuses to hold it; its size is still told.
  testing::WriteTestPngKopf(ordner / "riesig.png", 30000, 30000, /*datenBytes=*/16);
  testing::WriteTestTiffAbtastwerte(ordner / "riesig.tif", 30000, 30000, 3, 8, 16);
  for (const std::string name : {"riesig.png", "riesig.tif"}) {
    Bitmap bild;
    const Vorlagenbild vorlage = VorlagenbildLesen(bild, ordner / name);
    EXPECT_EQ(vorlage.lesung, Vorlagenlesung::ZuGross) << name;
    EXPECT_EQ(vorlage.groesse.width, 30000) << name;
    EXPECT_EQ(vorlage.groesse.height, 30000) << name;
    Bitmap kachel(8, 8);
    EXPECT_FALSE(LoadTilePicture(kachel, Rect{0, 0, 8, 8}, ordner / name, ordner.path())) << name;
  }

  // The bitmap is read row by row into the tile: red where the runs are, black beyond.
  constexpr int32_t kKante = 100;
  const Messung bitmap = ImKind([&] {
    MemoryBudget budget(uint64_t{64} << 20);
    Bitmap kachel(kKante, kKante);
    return LoadTilePicture(kachel, Rect{0, 0, kKante, kKante}, ordner / "riesig.bmp", ordner.path(),
                           budget) &&
           ReadPixel(kachel, 10, 50) == kRot && ReadPixel(kachel, 90, 50) == kSchwarz &&
           budget.inUse() == 0;
  });
  EXPECT_TRUE(bitmap.ergebnis);
  EXPECT_LT(bitmap.zuwachsMb, kHoechstensMb);
  EXPECT_GE(bitmap.zuwachsMb, 0);

  // The progressive JPEG would need 1.2 GB of coefficients: more than the budget, so the
  // tile is unreadable and the target untouched, before anything is allocated.
  const Messung progressiv = ImKind([&] {
    MemoryBudget budget(uint64_t{256} << 20);
    Bitmap kachel = testing::Einfarbig(kKante, kKante, kSchwarz);
    return !LoadTilePicture(kachel, Rect{0, 0, kKante, kKante}, ordner / "riesig.jpg",
                            ordner.path(), budget) &&
           ReadPixel(kachel, 50, 50) == kSchwarz;
  });
  EXPECT_TRUE(progressiv.ergebnis);
  EXPECT_LT(progressiv.zuwachsMb, kHoechstensMb);

  // In memory, beyond the size check: refused before the decoder sets up.
  const std::string zuGross = JpegMitGroesse(ordner / "zu_gross.jpg", 30000, 30000);
  const Messung speicher = ImKind([&] {
    Bitmap bild;
    return !ReadJpegMemory(bild, reinterpret_cast<const uint8_t*>(zuGross.data()), zuGross.size(),
                           true, 0) &&
           bild.empty();
  });
  EXPECT_TRUE(speicher.ergebnis);
  EXPECT_LT(speicher.zuwachsMb, kHoechstensMb);
}

TEST(Speichergrenzen, HeadersClaimingHugePicturesTakeNoMemoryBeforeTheyAreRefused) {
  const testing::TempFolder ordner;
  constexpr size_t kDaten = 16 << 10;  // what such a file holds: 16 KB
  // Wider than any picture the size check allows, and just as many pixels as it allows but
  // in one row that the libraries would set up several times over.
  testing::WriteTestPngKopf(ordner / "breit.png", 2'147'483'647, 1, kDaten);
  testing::WriteTestPngKopf(ordner / "lang.png", 400'000'000, 1, kDaten);
  // 1200 × 16 pixels of 65535 samples: one strip of 1.2 GB.
  testing::WriteTestTiffAbtastwerte(ordner / "kanaele.tif", 1200, 16, 65535, 8, kDaten);

  for (const std::string name : {"breit.png", "lang.png", "kanaele.tif"}) {
    const Messung messung = ImKind([&] {
      Bitmap vorlage = testing::Einfarbig(2, 2, kSchwarz);
      Bitmap ganz;
      MemoryBudget budget(MemoryBudget::kMaxBytes);
      Bitmap kachel = testing::Einfarbig(8, 8, kRot);
      return VorlagenbildLesen(vorlage, ordner / name).lesung != Vorlagenlesung::Gelesen &&
             vorlage.width() == 2 && !LoadWholePicture(ganz, ordner / name, budget) &&
             !LoadTilePicture(kachel, Rect{0, 0, 8, 8}, ordner / name, ordner.path(), budget) &&
             ReadPixel(kachel, 4, 4) == kRot && budget.inUse() == 0;
    });
    EXPECT_TRUE(messung.ergebnis) << name;
    EXPECT_LT(messung.zuwachsMb, kHoechstensMb) << name;
    EXPECT_GE(messung.zuwachsMb, 0) << name;
  }
  // The size is still told for a template within the side limit, so the user learns why.
  Bitmap bild;
  EXPECT_EQ(VorlagenbildLesen(bild, ordner / "lang.png").lesung, Vorlagenlesung::ZuGross);
}

// Takes the format a reader announces, and stops it there.
class Ankuendigung final : public ZeilenEmpfaenger {
 public:
  bool Groesse(const Zeilenformat& format) override {
    leserBytes = format.leserBytes;
    return false;
  }
  bool BrauchtZeile(int32_t) const override { return false; }
  void Zeile(int32_t, const uint8_t*) override {}
  uint64_t leserBytes = 0;
};

TEST(Speichergrenzen, ReadersCountTheLibrariesBuffersInWhatTheyAnnounce) {
  const testing::TempFolder ordner;
  // libpng keeps two rows of up to eight bytes a pixel while it transforms them.
  testing::WriteTestPngKopf(ordner / "zeile.png", 100'000, 2, 64);
  Ankuendigung png;
  EXPECT_FALSE(ReadPngRows(ordner / "zeile.png", png));
  EXPECT_GE(png.leserBytes, 2u * 8 * 100'000);
  // libtiff decodes a strip with every sample of its pixels: 2000 × 16 pixels of 64
  // samples of 16 bits are 4 MB.
  testing::WriteTestTiffAbtastwerte(ordner / "viele.tif", 2000, 16, 64, 16, 64);
  Ankuendigung tiff;
  EXPECT_FALSE(ReadTiffRows(ordner / "viele.tif", tiff));
  EXPECT_GE(tiff.leserBytes, 2000u * 16 * 64 * 2);
}

// An interlaced PNG is complete only after its last pass, so its reader holds the whole
// picture besides what it hands on; a planar TIFF has each strip decoded per plane, so its
// reader holds as much as for the samples lying together. Each says so before it reads.
TEST(Speichergrenzen, AnInterlacedPngAndAPlanarTiffAnnounceWhatTheirReadersHold) {
  const testing::TempFolder ordner;
  constexpr int32_t kBreite = 600;
  constexpr int32_t kHoehe = 400;
  Bitmap bild(kBreite, kHoehe, PixelFormat::k24);
  for (int32_t y = 0; y < kHoehe; ++y) {
    for (int32_t x = 0; x < kBreite; ++x) {
      WritePixel(bild, x, y, Farbe{uint8_t(x), uint8_t(y), uint8_t(x + y)});
    }
  }
  testing::WriteTestPng(ordner / "zeilen.png", bild);
  testing::WriteTestPng(ordner / "verschraenkt.png", bild, {.verschraenkt = true});
  Ankuendigung zeilen;
  Ankuendigung verschraenkt;
  EXPECT_FALSE(ReadPngRows(ordner / "zeilen.png", zeilen));
  EXPECT_FALSE(ReadPngRows(ordner / "verschraenkt.png", verschraenkt));
  EXPECT_GE(verschraenkt.leserBytes, zeilen.leserBytes + uint64_t{kBreite} * kHoehe * 3);

  testing::WriteTestTiff(ordner / "zusammen.tif", bild);
  testing::WriteTestTiffEbenen(ordner / "ebenen.tif", bild);
  Ankuendigung zusammen;
  Ankuendigung ebenen;
  EXPECT_FALSE(ReadTiffRows(ordner / "zusammen.tif", zusammen));
  EXPECT_FALSE(ReadTiffRows(ordner / "ebenen.tif", ebenen));
  EXPECT_EQ(ebenen.leserBytes, zusammen.leserBytes);

  // Both read within what they announce, the same picture.
  for (const std::string name : {"verschraenkt.png", "ebenen.tif"}) {
    MemoryBudget budget(MemoryBudget::kMinBytes);
    Bitmap gelesen;
    ASSERT_TRUE(LoadWholePicture(gelesen, ordner / name, budget)) << name;
    EXPECT_EQ(ReadPixel(gelesen, 599, 399), ReadPixel(bild, 599, 399)) << name;
    EXPECT_EQ(ReadPixel(gelesen, 17, 250), ReadPixel(bild, 17, 250)) << name;
  }
}

TEST(Speichergrenzen, ReadersReserveWhatTheyHoldAndAreRefusedWhenItExceedsTheBudget) {
  const testing::TempFolder ordner;
  // 600 × 400 in every type: a whole read holds the 24-bit picture, 720,000 bytes.
  const Bitmap bild = testing::Einfarbig(600, 400, kRot);
  testing::WriteTestPng(ordner / "b.png", bild);
  testing::WriteTestTiff(ordner / "b.tif", bild);
  testing::WriteTestWebp(ordner / "b.webp", bild);
  testing::WriteTestJpeg(ordner / "b.jpg", bild);
  testing::WriteTestBmp(ordner / "b.bmp", bild);
  constexpr uint64_t kBildBytes = 600 * 3 * 400;
  for (const std::string name : {"b.png", "b.tif", "b.webp", "b.jpg", "b.bmp"}) {
    MemoryBudget knapp(kBildBytes - 1);
    Bitmap ganz;
    EXPECT_FALSE(LoadWholePicture(ganz, ordner / name, knapp)) << name;
    EXPECT_TRUE(ganz.empty()) << name;
    MemoryBudget reichlich(MemoryBudget::kMinBytes);
    EXPECT_TRUE(LoadWholePicture(ganz, ordner / name, reichlich)) << name;
    EXPECT_EQ(reichlich.inUse(), 0u) << name;
  }
  // A JPEG decoder holds a few megabytes of its own, so the picture must be larger to
  // tell whether it is counted: 3000 × 2000 take 18 MB, the decoder about 6 MB.
  testing::WriteTestJpeg(ordner / "gross.jpg", testing::Einfarbig(3000, 2000, kRot));
  Bitmap gross;
  MemoryBudget ohneBild(uint64_t{16} << 20);
  EXPECT_FALSE(ReadJpegFile(gross, ordner / "gross.jpg", true, 0, ohneBild));
  MemoryBudget mitBild(uint64_t{32} << 20);
  EXPECT_TRUE(ReadJpegFile(gross, ordner / "gross.jpg", true, 0, mitBild));
}

TEST(Speichergrenzen, BudgetRefusesMoreThanItHoldsAndLetsReadersWaitForEachOther) {
  MemoryBudget budget(100);
  EXPECT_FALSE(budget.Reserve(101).has_value());
  // All of it, exactly, is no more than it holds.
  EXPECT_TRUE(budget.Reserve(100).has_value());
  EXPECT_EQ(budget.inUse(), 0u);
  std::optional<MemoryBudget::Reservation> erste = budget.Reserve(60);
  ASSERT_TRUE(erste.has_value());
  std::atomic<bool> bekommen{false};
  std::thread zweiter([&] {
    const std::optional<MemoryBudget::Reservation> zweite = budget.Reserve(60);
    bekommen = zweite.has_value();
    EXPECT_EQ(budget.inUse(), 60u);
  });
  while (budget.waiting() == 0) std::this_thread::yield();
  EXPECT_FALSE(bekommen);  // 60 + 60 do not fit into 100: the second waits
  erste.reset();
  zweiter.join();
  EXPECT_TRUE(bekommen);
  EXPECT_EQ(budget.inUse(), 0u);
  EXPECT_GE(MemoryBudget::ForThisMachine(), MemoryBudget::kMinBytes);
  EXPECT_LE(MemoryBudget::ForThisMachine(), MemoryBudget::kMaxBytes);
}

}  // namespace
}  // namespace tilvendo
