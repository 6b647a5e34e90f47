#include "pictures/jpeg_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "pictures/farbreduktion.h"
#include "pictures/jpeg_io.h"
#include "pictures/jpeg_memory_reader.h"
#include "speicher_testbilder.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

using testing::MittlererFehler;
using testing::TempFolder;
using testing::Verlauf;

constexpr uint8_t kMarke = 0xFF;
constexpr uint8_t kSof0 = 0xC0;

// The number of components the frame header declares (0 when there is none).
int Komponenten(const std::vector<uint8_t>& jpeg) {
  for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == kMarke && jpeg[i + 1] == kSof0) return jpeg[i + 9];
  }
  return 0;
}

Bitmap Dekodiert(const std::vector<uint8_t>& jpeg) {
  Bitmap bild;
  EXPECT_TRUE(ReadJpegMemory(bild, jpeg.data(), jpeg.size(), true, 0));
  return bild;
}

class KaputteSenke : public ByteSink {
 public:
  void Write(const void*, size_t) override { throw WriteError("Platte voll"); }
};

TEST(JpegWriter, ColourPicturesRoundTripThroughBothReaders) {
  TempFolder ordner;
  const Bitmap arbeit = Verlauf(61, 37);
  const Bitmap bild = InFormatWandeln(arbeit, PixelFormat::k24);
  WriteJpegFile(bild, ordner / "bild.jpg", 95);

  Bitmap gelesen;
  ASSERT_TRUE(ReadJpegFile(gelesen, ordner / "bild.jpg", true, 0));
  ASSERT_EQ(gelesen.width(), 61);
  ASSERT_EQ(gelesen.height(), 37);
  EXPECT_LT(MittlererFehler(gelesen, arbeit), 2.0);

  // Rows in the working format give the same file as the 24-bit picture.
  MemorySink streifen;
  Bildbeschreibung beschreibung;
  beschreibung.breite = 61;
  beschreibung.hoehe = 37;
  beschreibung.qualitaet = 95;
  const std::unique_ptr<Bildschreiber> schreiber = MakeJpegWriter(streifen, beschreibung);
  BitmapStreifen quelle(arbeit);
  StreifenweiseLesen(quelle, [&](int32_t, const Zeilen& zeilen) { schreiber->Schreiben(zeilen); });
  schreiber->Beenden();
  EXPECT_EQ(streifen.bytes(), EncodeJpeg(bild, 95));
  EXPECT_EQ(Komponenten(streifen.bytes()), 3);
  EXPECT_LT(EncodeJpeg(bild, 10).size(), streifen.bytes().size());  // the quality is used
}

TEST(JpegWriter, EightBitPicturesAreWrittenThroughTheirPalette) {
  // Grey ramp: the file shows the grey levels, still as three-channel YCbCr.
  Bitmap grau(16, 8, PixelFormat::k8);
  for (int32_t y = 0; y < 8; ++y) {
    for (int32_t x = 0; x < 16; ++x) grau.row(y)[x] = static_cast<uint8_t>(x * 16);
  }
  const std::vector<uint8_t> grauJpeg = EncodeJpeg(grau, 100);
  EXPECT_EQ(Komponenten(grauJpeg), 3);
  EXPECT_LT(MittlererFehler(Dekodiert(grauJpeg), grau), 2.0);

  // A colour palette keeps its colours instead of turning the indices into grey.
  Bitmap bunt(16, 8, PixelFormat::k8);
  bunt.palette()[0] = PaletteEntry{0, 0, 255, 0};
  EXPECT_LT(MittlererFehler(Dekodiert(EncodeJpeg(bunt, 100)), bunt), 3.0);
}

// The message a failed write gives, or "" when it succeeded.
template <typename Fehler, typename Schreiben>
std::string Meldung(Schreiben schreiben) {
  try {
    schreiben();
  } catch (const Fehler& fehler) {
    return fehler.what();
  }
  return "";
}

TEST(JpegWriter, FailuresGiveGermanMessagesStaySilentAndWriteNothing) {
  TempFolder ordner;
  ::testing::internal::CaptureStderr();
  for (PixelFormat format : {PixelFormat::k16, PixelFormat::k32}) {
    const Bitmap bild(4, 4, format);
    EXPECT_EQ(Meldung<JpegFormatError>([&] { WriteJpegFile(bild, ordner / "bild.jpg", 90); }),
              "Ein Bild in diesem Pixelformat kann nicht als JPEG gespeichert werden.");
    MemorySink senke;
    EXPECT_THROW(WriteJpeg(senke, bild, 90), JpegFormatError);
  }
  EXPECT_TRUE(std::filesystem::is_empty(ordner.path()));
  // Wider than the format allows: the library refuses.
  MemorySink senke;
  EXPECT_EQ(Meldung<WriteError>([&] { WriteJpeg(senke, Bitmap(70000, 1, PixelFormat::k24), 90); }),
            "Die JPEG-Datei konnte nicht geschrieben werden.");
  // The bytes cannot be stored: the sink says why, in its own words.
  KaputteSenke kaputt;
  EXPECT_EQ(Meldung<WriteError>([&] { WriteJpeg(kaputt, Bitmap(8, 8, PixelFormat::k24), 90); }),
            "Platte voll");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(JpegMemoryReader, ReadsReducedAndRefusesWhatItCannotRead) {
  const std::vector<uint8_t> jpeg = EncodeJpeg(Bitmap(101, 51, PixelFormat::k24), 90);
  Bitmap halb;
  ASSERT_TRUE(ReadJpegMemory(halb, jpeg.data(), jpeg.size(), true, 1));
  EXPECT_EQ(halb.width(), 51);
  EXPECT_EQ(halb.height(), 26);
  EXPECT_EQ(halb.format(), PixelFormat::k24);

  // Without leave to change it, the bitmap's own format must be one a JPEG can fill.
  Bitmap arbeit(3, 3, kPixelformat);
  EXPECT_FALSE(ReadJpegMemory(arbeit, jpeg.data(), jpeg.size(), false, 0));
  EXPECT_EQ(arbeit.width(), 3);
  Bitmap grau(1, 1, PixelFormat::k8);
  ASSERT_TRUE(ReadJpegMemory(grau, jpeg.data(), jpeg.size(), false, 3));
  EXPECT_EQ(grau.format(), PixelFormat::k8);
  EXPECT_EQ(grau.width(), 13);

  // Broken data: false, the bitmap untouched, nothing printed. Cut-off data is refused
  // as by the file reader, rather than decoded into rows made up by the library; only the
  // missing end marker is forgiven.
  ::testing::internal::CaptureStderr();
  const std::vector<uint8_t> verlauf =
      EncodeJpeg(InFormatWandeln(Verlauf(96, 64), PixelFormat::k24), 90);
  const std::vector<uint8_t> halbeDaten(verlauf.begin(), verlauf.begin() + verlauf.size() / 2);
  const std::vector<uint8_t> ohneEnde(verlauf.begin(), verlauf.end() - 2);
  const uint8_t muell[] = {1, 2, 3, 4, 5};
  EXPECT_FALSE(ReadJpegMemory(halb, muell, sizeof muell, true, 0));
  for (int scale = 0; scale <= kJpegScaleMax; ++scale) {
    EXPECT_FALSE(ReadJpegMemory(halb, halbeDaten.data(), halbeDaten.size(), true, scale)) << scale;
  }
  EXPECT_FALSE(ReadJpegMemory(halb, jpeg.data(), jpeg.size(), true, 4));
  EXPECT_EQ(halb.width(), 51);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(ReadJpegMemory(halb, ohneEnde.data(), ohneEnde.size(), true, 0));
  EXPECT_EQ(halb.width(), 96);
}

}  // namespace
}  // namespace tilvendo
