#include "pictures/speichern.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "pictures/blending.h"
#include "pictures/save_extension.h"
#include "pictures/streifen_quelle.h"
#include "speicher_testbilder.h"
#include "support/bild_dateien.h"
#include "support/speicher_optionen.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::ReadWholeFile;
using testing::SpeicherOptionenFuer;
using testing::TempFolder;
using testing::Verlauf;
using testing::WriteWholeFile;

std::string Erzwungen(uint8_t format, std::string name) {
  ForceSaveExtension(format, name);
  return name;
}

// The mosaic blended with its template strip by strip into the file, as a mosaic held
// whole is saved.
bool Speichern(const Bitmap& vorlage, const Bitmap& mosaik, uint8_t a,
               const SpeicherOptionen& optionen, const Speicherbegleitung& begleitung = {}) {
  UeberblendeteStreifen quelle(mosaik, vorlage, a);
  return BildSpeichern(quelle, optionen, begleitung);
}

TEST(Speichern, ForceSaveExtension) {
  EXPECT_EQ(Erzwungen(kFormatJpeg, "bild.bmp"), "bild.jpg");
  EXPECT_EQ(Erzwungen(kFormatJpeg, "bild.JPEG"), "bild.jpg");
  EXPECT_EQ(Erzwungen(kFormatJpeg, "bild"), "bild.jpg");
  EXPECT_EQ(Erzwungen(kFormatJpeg, "bild.JPG"), "bild.JPG");
  EXPECT_EQ(Erzwungen(kFormatBmp, "urlaub.2024.jpg"), "urlaub.2024.bmp");
  EXPECT_EQ(Erzwungen(kFormatBmp, "a.b/c"), "a.b/c.bmp");
  EXPECT_EQ(Erzwungen(kFormatBmp, "bild."), "bild.bmp");
  // A dot in the name starts no extension unless a picture's extension follows it.
  EXPECT_EQ(Erzwungen(kFormatJpeg, "Urlaub 2024.07"), "Urlaub 2024.07.jpg");
  EXPECT_EQ(Erzwungen(kFormatPng, "a.heif"), "a.png");
  EXPECT_EQ(Erzwungen(kFormatJpeg, "a.webp"), "a.jpg");
  // A TIFF keeps either of its extensions.
  EXPECT_EQ(Erzwungen(kFormatTiff, "plakat.TIFF"), "plakat.TIFF");
  EXPECT_EQ(Erzwungen(kFormatTiff, "plakat.tif"), "plakat.tif");
  EXPECT_EQ(Erzwungen(kFormatBmp, "plakat.tiff"), "plakat.bmp");
  EXPECT_EQ(Erzwungen(7, "bild.gif"), "bild.gif");

  SpeicherOptionen optionen;
  optionen.Format = kFormatJpeg;
  DateinameUebernehmen(optionen, "/home/anna/Bilder/mosaik.bmp");
  EXPECT_EQ(optionen.Pfad, "/home/anna/Bilder/");
  EXPECT_EQ(optionen.Datei, "mosaik.jpg");
}

TEST(Speichern, AFolderThatCannotBeWrittenIsReportedWithThePathAndAnUnknownFormatNotAtAll) {
  TempFolder ordner;
  WriteWholeFile(ordner / "datei", "kein Ordner");
  SpeicherOptionen optionen = SpeicherOptionenFuer(ordner, "m.bmp", kFormatBmp);
  optionen.Pfad = ordner / "datei/";
  try {
    Speichern(Verlauf(4, 4), Verlauf(6, 6), 100, optionen);
    ADD_FAILURE() << "kein Fehler";
  } catch (const WriteError& fehler) {
    EXPECT_EQ(std::string(fehler.what()),
              "nach " + ordner / "datei/m.bmp" + " kann nicht geschrieben werden");
  }
  EXPECT_EQ(ReadWholeFile(ordner / "datei"), "kein Ordner");
  const Bitmap mosaik = Verlauf(4, 4);
  EXPECT_FALSE(Speichern(mosaik, mosaik, 0, SpeicherOptionenFuer(ordner, "m.xyz", 9)));
  EXPECT_EQ(testing::FilesIn(ordner.path()), size_t{1});
}

// Lets the process write files of at most `bytes` bytes, as a nearly full disk would:
// writing beyond fails with EFBIG instead of the signal that would end the process.
class DateiGrenze {
 public:
  explicit DateiGrenze(rlim_t bytes) {
    alterHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &alt_);
    rlimit neu = alt_;
    neu.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &neu);
  }
  ~DateiGrenze() {
    ::setrlimit(RLIMIT_FSIZE, &alt_);
    std::signal(SIGXFSZ, alterHandler_);
  }

 private:
  rlimit alt_{};
  void (*alterHandler_)(int) = nullptr;
};

TEST(Speichern, AWriteThatFailsOnTheDiskLeavesTheOldFileByteForByte) {
  TempFolder ordner;
  const std::string alt(5000, '\x42');
  const Bitmap mosaik = Verlauf(100, 100);
  for (uint8_t format : {kFormatBmp, kFormatJpeg}) {
    const std::string datei = format == kFormatBmp ? "m.bmp" : "m.jpg";
    WriteWholeFile(ordner / datei, alt);
    {
      DateiGrenze grenze(1000);
      try {
        Speichern(mosaik, mosaik, 0, SpeicherOptionenFuer(ordner, datei, format));
        ADD_FAILURE() << datei << ": kein Fehler";
      } catch (const WriteError& fehler) {
        EXPECT_EQ(std::string(fehler.what()), "nach " + ordner / datei +
                                                  " kann nicht geschrieben werden: die Datei "
                                                  "wäre größer, als das System erlaubt");
      }
    }
    EXPECT_EQ(ReadWholeFile(ordner / datei), alt);
    EXPECT_EQ(testing::FilesIn(ordner.path()), format == kFormatBmp ? size_t{1} : size_t{2});
  }
}

// Once every row is written, the file replaces the old one only if the save is released
// then: a release refused, or a cancel after the last row or at the second strip, still
// leaves the old file and no temporary. Every format asks once, after its last row, so a
// window can decide on a late click.
TEST(Speichern, EveryFormatAsksForTheReleaseAfterItsLastRowBeforeReplacingTheFile) {
  TempFolder ordner;
  const Bitmap mosaik = Verlauf(45, 3 * kStreifenZeilen + 7);
  struct Fall {
    uint8_t format;
    uint8_t farbtiefe;
    const char* datei;
  };
  for (const Fall fall : {Fall{kFormatBmp, kFarbtiefe8, "m.bmp"},
                          Fall{kFormatBmp, kFarbtiefe24, "m.bmp"}, Fall{kFormatJpeg, 0, "m.jpg"},
                          Fall{kFormatPng, 0, "m.png"}, Fall{kFormatTiff, 0, "m.tif"}}) {
    for (const bool freigegeben : {false, true}) {
      for (const int abbrechen : {0, 1, 2}) {  // never, after the last row, early
        const std::string wie = std::string(fall.datei) + " depth " +
                                std::to_string(fall.farbtiefe) + (freigegeben ? " released" : "") +
                                (abbrechen == 1   ? " cancelled late"
                                 : abbrechen == 2 ? " cancelled early"
                                                  : "");
        WriteWholeFile(ordner / fall.datei, "das alte Bild");
        std::atomic<bool> abbruch{false};
        int32_t zuletzt = 0;
        int32_t gesamt = -1;
        int32_t gefragt = 0;
        Speicherbegleitung begleitung;
        begleitung.abbruch = &abbruch;
        begleitung.fortschritt = [&](int32_t f, int32_t g) {
          zuletzt = f;
          gesamt = g;
          if ((abbrechen == 1 && f == g) || (abbrechen == 2 && f < g)) abbruch = true;
        };
        begleitung.freigabe = [&] {
          ++gefragt;
          EXPECT_EQ(zuletzt, gesamt) << wie;
          return freigegeben;
        };
        const SpeicherOptionen optionen =
            SpeicherOptionenFuer(ordner, fall.datei, fall.format, fall.farbtiefe);
        if (freigegeben && abbrechen == 0) {
          EXPECT_TRUE(Speichern(mosaik, mosaik, 191, optionen, begleitung)) << wie;
          EXPECT_NE(ReadWholeFile(ordner / fall.datei), "das alte Bild") << wie;
        } else {
          EXPECT_THROW(Speichern(mosaik, mosaik, 191, optionen, begleitung), SchreibenAbgebrochen)
              << wie;
          EXPECT_EQ(ReadWholeFile(ordner / fall.datei), "das alte Bild") << wie;
        }
        EXPECT_EQ(gesamt, mosaik.height()) << wie;
        EXPECT_EQ(gefragt, abbrechen == 0 ? 1 : 0) << wie;
        EXPECT_EQ(testing::FilesIn(ordner.path()), size_t{1}) << wie;
        std::filesystem::remove(ordner / fall.datei);
      }
    }
  }
}

// A disk short of what a file can take at the most is checked against the file's estimate
// with room for its error: a poster PNG of 901 MB uncompressed but estimated at 9 MB is
// saved where 14.5 MB are free (and the estimate is asked only then), not where a byte
// less is.
TEST(Speichern, TheFreeRoomIsCheckedAgainstTheEstimateWithItsMarginWhereShort) {
  TempFolder ordner;
  const SpeicherOptionen png = SpeicherOptionenFuer(ordner, "plakat.png", kFormatPng);
  uint64_t frei = 0;
  int geschaetzt = 0;
  Speicherbegleitung begleitung;
  begleitung.platz = [&](const std::string&) { return std::optional<uint64_t>(frei); };
  begleitung.schaetzung = [&] {
    ++geschaetzt;
    return int64_t{9'000'000};
  };
  const uint64_t bedarf = 9'000'000 + 4'500'000 + (uint64_t{1} << 20);
  frei = bedarf;
  EXPECT_TRUE(SpeichernPruefen(png, 20000, 15000, begleitung));
  EXPECT_EQ(geschaetzt, 1);
  frei = bedarf - 1;
  try {
    SpeichernPruefen(png, 20000, 15000, begleitung);
    ADD_FAILURE() << "saved without room";
  } catch (const WriteError& fehler) {
    EXPECT_NE(std::string(fehler.what()).find("bis zu 15 MB"), std::string::npos) << fehler.what();
  }
  // Room for the rows uncompressed: no estimate is made. Without one, a format that is
  // estimated is let through; one whose size is known is not.
  frei = 901'000'000;
  EXPECT_TRUE(SpeichernPruefen(png, 20000, 15000, begleitung));
  EXPECT_EQ(geschaetzt, 2);
  begleitung.schaetzung = {};
  frei = 1000;
  EXPECT_TRUE(SpeichernPruefen(png, 20000, 15000, begleitung));
  EXPECT_THROW(
      SpeichernPruefen(SpeicherOptionenFuer(ordner, "p.tif", kFormatTiff), 200, 150, begleitung),
      WriteError);
  EXPECT_FALSE(SpeichernPruefen(SpeicherOptionenFuer(ordner, "p.xyz", 9), 200, 150, begleitung));
}

}  // namespace
}  // namespace tilvendo
