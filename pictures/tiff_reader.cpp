#include "pictures/tiff_reader.h"

#include <tiffio.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/bitmap.h"

namespace tilvendo {
namespace {

constexpr int kFarbKanaele = 3;
// Rows decoded per call at least, so that files of single-row strips are not read row by row
// through the whole conversion machinery.
constexpr uint32_t kMindestBand = 16;
// No single allocation of the library may exceed what the largest picture takes at four bytes a
// pixel; a file declaring more is refused by the library, not by the system.
constexpr tmsize_t kGroessteZuteilung = static_cast<tmsize_t>(kMaxPixelCount) * 4;
// Colour takes at most four samples of a pixel and alpha one; files may add a few more (spot
// colours, masks), which the reader passes over. A file claiming many more is broken, and the
// library would hold every sample of a strip.
constexpr uint32_t kHoechstensAbtastwerte = 64;
// Planes of a strip or tile the library decodes at once when the samples lie in separate planes:
// colour and alpha.
constexpr uint64_t kEbenenZugleich = 4;
// The size libtiff wants for the message buffer of its RGBA interface.
constexpr size_t kMeldungsLaenge = 1024;

// Errors and warnings of the library reach no terminal; the return values tell us.
int Schweigen(TIFF*, void*, const char*, const char*, va_list) {
  return 1;
}

struct OptionenFreigeben {
  void operator()(TIFFOpenOptions* optionen) const { TIFFOpenOptionsFree(optionen); }
};
struct TiffSchliessen {
  void operator()(TIFF* tif) const { TIFFClose(tif); }
};
struct RgbaBeenden {
  void operator()(TIFFRGBAImage* bild) const { TIFFRGBAImageEnd(bild); }
};

std::unique_ptr<TIFF, TiffSchliessen> Oeffnen(const std::string& fileName) {
  const std::unique_ptr<TIFFOpenOptions, OptionenFreigeben> optionen(TIFFOpenOptionsAlloc());
  if (!optionen) return nullptr;
  TIFFOpenOptionsSetErrorHandlerExtR(optionen.get(), &Schweigen, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(optionen.get(), &Schweigen, nullptr);
  TIFFOpenOptionsSetMaxSingleMemAlloc(optionen.get(), kGroessteZuteilung);
  return std::unique_ptr<TIFF, TiffSchliessen>(TIFFOpenExt(fileName.c_str(), "r", optionen.get()));
}

// Rows the library decodes in one go: whole strips or rows of tiles, so none is decoded twice.
uint32_t Bandhoehe(TIFF* tif, uint32_t hoehe) {
  uint32_t einheit = 0;
  if (TIFFIsTiled(tif) != 0) {
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &einheit);
  } else {
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &einheit);
  }
  einheit = std::clamp<uint32_t>(einheit, 1, std::max<uint32_t>(hoehe, 1));
  const uint32_t einheiten = (kMindestBand + einheit - 1) / einheit;
  return static_cast<uint32_t>(
      std::min<uint64_t>(static_cast<uint64_t>(einheit) * einheiten, hoehe));
}

bool BandGebraucht(const ZeilenEmpfaenger& empfaenger, uint32_t erste, uint32_t anzahl) {
  for (uint32_t i = 0; i < anzahl; ++i) {
    if (empfaenger.BrauchtZeile(static_cast<int32_t>(erste + i))) return true;
  }
  return false;
}

// What the library holds while it decodes a band of `band` rows: the decoded strips the band
// covers, or one tile, of each plane it reads at once.
uint64_t BibliotheksBytes(TIFF* tif, uint32_t band) {
  const uint64_t einheit = TIFFIsTiled(tif) != 0
                               ? TIFFTileSize64(tif)
                               : TIFFScanlineSize64(tif) * static_cast<uint64_t>(band);
  uint16_t anordnung = PLANARCONFIG_CONTIG;
  uint16_t abtastwerte = 1;
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &anordnung);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &abtastwerte);
  // Samples lying together are one plane, each strip or tile holding all of them.
  const uint64_t ebenen =
      anordnung == PLANARCONFIG_SEPARATE ? std::min<uint64_t>(abtastwerte, kEbenenZugleich) : 1;
  return ebenen * einheit;
}

// Refuses, before the library sets up anything for the pixels, what no picture can be: a size
// beyond the size check or absurdly many samples per pixel.
bool KopfPruefen(TIFF* tif, ZeilenEmpfaenger& empfaenger) {
  uint32_t breite = 0;
  uint32_t hoehe = 0;
  uint16_t abtastwerte = 0;
  if (TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &breite) == 0 ||
      TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &hoehe) == 0) {
    return false;
  }
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &abtastwerte);
  if (breite <= static_cast<uint32_t>(INT32_MAX) && hoehe <= static_cast<uint32_t>(INT32_MAX)) {
    empfaenger.Kopfgroesse(Size{static_cast<int32_t>(breite), static_cast<int32_t>(hoehe)});
  }
  CheckPictureSize(breite, hoehe);
  return abtastwerte >= 1 && abtastwerte <= kHoechstensAbtastwerte;
}

bool Weitergeben(TIFF* tif, ZeilenEmpfaenger& empfaenger) {
  if (!KopfPruefen(tif, empfaenger)) return false;
  std::array<char, kMeldungsLaenge> meldung{};
  if (TIFFRGBAImageOK(tif, meldung.data()) == 0) return false;
  TIFFRGBAImage rgba{};
  if (TIFFRGBAImageBegin(&rgba, tif, /*stoponerr=*/1, meldung.data()) == 0) return false;
  const std::unique_ptr<TIFFRGBAImage, RgbaBeenden> beenden(&rgba);
  // The rows as stored: the orientation is the receiver's to apply, so the library must not flip
  // anything.
  rgba.req_orientation = rgba.orientation;

  const uint32_t breite = rgba.width;
  const uint32_t hoehe = rgba.height;
  CheckPictureSize(breite, hoehe);
  const uint32_t band = Bandhoehe(tif, hoehe);
  const size_t bandPixel = static_cast<size_t>(breite) * band;
  const Zeilenformat format{
      .breite = static_cast<int32_t>(breite),
      .hoehe = static_cast<int32_t>(hoehe),
      .bytesJePixel = kFarbKanaele,
      // Our band and row, and the library's decoded strips or tile. The compressed data it reads
      // lies in the file, which the library maps.
      .leserBytes = bandPixel * sizeof(uint32_t) + static_cast<uint64_t>(breite) * kFarbKanaele +
                    BibliotheksBytes(tif, band),
      .ausrichtung = AusrichtungVonWert(rgba.orientation).value_or(Ausrichtung::Normal)};
  if (!empfaenger.Groesse(format)) return false;

  std::vector<uint32_t> raster(bandPixel);
  std::vector<uint8_t> bgr(static_cast<size_t>(breite) * kFarbKanaele);
  for (uint32_t erste = 0; erste < hoehe; erste += band) {
    const uint32_t anzahl = std::min(band, hoehe - erste);
    if (!BandGebraucht(empfaenger, erste, anzahl)) continue;
    rgba.row_offset = static_cast<int>(erste);
    rgba.col_offset = 0;
    if (TIFFRGBAImageGet(&rgba, raster.data(), breite, anzahl) == 0) return false;
    for (uint32_t i = 0; i < anzahl; ++i) {
      const auto y = static_cast<int32_t>(erste + i);
      if (!empfaenger.BrauchtZeile(y)) continue;
      // Alpha comes premultiplied (the library weighs unassociated alpha itself), so the colour is
      // already laid over black.
      const uint32_t* quelle = raster.data() + static_cast<size_t>(i) * breite;
      for (uint32_t x = 0; x < breite; ++x) {
        bgr[kFarbKanaele * x] = static_cast<uint8_t>(TIFFGetB(quelle[x]));
        bgr[kFarbKanaele * x + 1] = static_cast<uint8_t>(TIFFGetG(quelle[x]));
        bgr[kFarbKanaele * x + 2] = static_cast<uint8_t>(TIFFGetR(quelle[x]));
      }
      empfaenger.Zeile(y, bgr.data());
    }
  }
  return true;
}

}  // namespace

bool ReadTiffRows(const std::string& fileName, ZeilenEmpfaenger& empfaenger) {
  return FalseIfTooLarge([&] {
    const auto tif = Oeffnen(fileName);
    return tif && Weitergeben(tif.get(), empfaenger);
  });
}

}  // namespace tilvendo
