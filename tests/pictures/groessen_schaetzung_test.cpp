#include "pictures/groessen_schaetzung.h"

#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "pictures/jpeg_writer.h"

namespace tilvendo {
namespace {

TEST(GroessenSchaetzung, TheHeaderEndsWithTheStartOfTheScan) {
  // SOI, an APP0 segment of 16 bytes, a fill byte, SOS of 12 bytes, then coded data.
  std::vector<uint8_t> datei = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10};
  datei.resize(datei.size() + 14, 0x41);
  datei.insert(datei.end(), {0xFF, 0xFF, 0xDA, 0x00, 0x0C});
  datei.resize(datei.size() + 10, 0x01);
  const size_t kopf = datei.size();
  datei.insert(datei.end(), {0x12, 0x34, 0xFF, 0xD9});
  EXPECT_EQ(JpegKopfLaenge(datei), static_cast<int64_t>(kopf) + 2);

  // Cut before the scan starts, or not a JPEG at all.
  EXPECT_EQ(JpegKopfLaenge(std::span(datei).first(kopf - 1)), 0);
  EXPECT_EQ(JpegKopfLaenge(std::span(datei).subspan(2)), 0);
  datei[6] = 0x00;  // inside the APP0 segment: harmless
  EXPECT_EQ(JpegKopfLaenge(datei), static_cast<int64_t>(kopf) + 2);
  datei[20] = 0x00;  // where the next marker should start
  EXPECT_EQ(JpegKopfLaenge(datei), 0);

  // The writer's own file: header and coded data add up to the whole.
  const std::vector<uint8_t> kodiert = EncodeJpeg(Bitmap(64, 48, PixelFormat::k24), 90);
  const int64_t eigenerKopf = JpegKopfLaenge(kodiert);
  EXPECT_GT(eigenerKopf, 300);
  EXPECT_LT(eigenerKopf, 1000);
  const auto sos = static_cast<size_t>(eigenerKopf) - 2;
  EXPECT_EQ(kodiert.at(sos - 14), 0xFF);  // the SOS segment of three channels
  EXPECT_EQ(kodiert.at(sos - 13), 0xDA);
}

}  // namespace
}  // namespace tilvendo
