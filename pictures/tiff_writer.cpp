#include "pictures/tiff_writer.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <exception>
#include <limits>
#include <memory>
#include <vector>

#include "pictures/farbreduktion.h"
#include "platform/atomic_file.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr const char* kTiffSchreibFehler = N_("Die TIFF-Datei konnte nicht geschrieben werden.");
constexpr uint16_t kBitsJeKanal = 8;
constexpr uint16_t kFarbKanaele = 3;
// Strips of about this many bytes: few enough calls, small enough for every reader.
constexpr uint64_t kStreifenBytes = uint64_t{256} << 10;
// Header, directory, resolution values and the like, well beyond what they need.
constexpr uint64_t kKopfZuschlag = 4096;
// A BigTIFF strip table holds 8 bytes of offset and 8 of length per strip.
constexpr uint64_t kStreifenTabelle = 16;

// Where libtiff's bytes go: written by position, since the library completes the
// header last. An exception of the sink must not cross the library's C frames: it is
// kept here and raised again once the library has returned.
struct Ziel {
  SeekableSink* sink = nullptr;
  uint64_t position = 0;
  uint64_t ende = 0;
  std::exception_ptr fehler;
};

tmsize_t Lesen(thandle_t, void*, tmsize_t) {
  return 0;  // nothing is read back while writing
}

tmsize_t Schreiben(thandle_t handle, void* daten, tmsize_t laenge) {
  auto* ziel = static_cast<Ziel*>(handle);
  try {
    ziel->sink->WriteAt(ziel->position, daten, static_cast<size_t>(laenge));
  } catch (...) {
    ziel->fehler = std::current_exception();
    return -1;
  }
  ziel->position += static_cast<uint64_t>(laenge);
  ziel->ende = std::max(ziel->ende, ziel->position);
  return laenge;
}

toff_t Suchen(thandle_t handle, toff_t stelle, int woher) {
  auto* ziel = static_cast<Ziel*>(handle);
  switch (woher) {
    case SEEK_SET:
      ziel->position = stelle;
      break;
    case SEEK_CUR:
      ziel->position += stelle;
      break;
    case SEEK_END:
      ziel->position = ziel->ende + stelle;
      break;
    default:
      return static_cast<toff_t>(-1);
  }
  return ziel->position;
}

int Schliessen(thandle_t) {
  return 0;
}

toff_t Groesse(thandle_t handle) {
  return static_cast<Ziel*>(handle)->ende;
}

int NichtAbbilden(thandle_t, void**, toff_t*) {
  return 0;
}

void NichtFreigeben(thandle_t, void*, toff_t) {}

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

int32_t StreifenZeilen(int32_t width) {
  const uint64_t zeile = static_cast<uint64_t>(width) * kFarbKanaele;
  return static_cast<int32_t>(std::clamp<uint64_t>(kStreifenBytes / std::max<uint64_t>(zeile, 1), 1,
                                                   std::numeric_limits<int32_t>::max()));
}

[[noreturn]] void Scheitern(const Ziel& ziel) {
  if (ziel.fehler) std::rethrow_exception(ziel.fehler);
  throw WriteError(_(kTiffSchreibFehler));
}

bool Felder(TIFF* tif, int32_t width, int32_t height, int32_t streifenZeilen, int32_t dpi) {
  bool gut = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width)) != 0;
  gut = gut && TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height)) != 0;
  gut = gut && TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, kBitsJeKanal) != 0;
  gut = gut && TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, kFarbKanaele) != 0;
  gut = gut && TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) != 0;
  gut = gut && TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) != 0;
  gut = gut && TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE) != 0;
  gut = gut && TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) != 0;
  gut = gut && TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(streifenZeilen)) != 0;
  const bool mitAufloesung = dpi > 0;
  const auto aufloesung = static_cast<float>(mitAufloesung ? dpi : 1);
  gut = gut && TIFFSetField(tif, TIFFTAG_XRESOLUTION, aufloesung) != 0;
  gut = gut && TIFFSetField(tif, TIFFTAG_YRESOLUTION, aufloesung) != 0;
  gut = gut &&
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, mitAufloesung ? RESUNIT_INCH : RESUNIT_NONE) != 0;
  return gut;
}

}  // namespace

uint64_t TiffHoechstBytes(int32_t width, int32_t height) {
  const uint64_t breite = static_cast<uint64_t>(std::max(width, 0));
  const uint64_t hoehe = static_cast<uint64_t>(std::max(height, 0));
  const uint64_t streifenZeilen = static_cast<uint64_t>(StreifenZeilen(width));
  const uint64_t streifen = (hoehe + streifenZeilen - 1) / streifenZeilen;
  return breite * kFarbKanaele * hoehe + streifen * kStreifenTabelle + kKopfZuschlag;
}

bool TiffBrauchtBigTiff(int32_t width, int32_t height) {
  return TiffHoechstBytes(width, height) > std::numeric_limits<uint32_t>::max();
}

void WriteTiff(SeekableSink& sink, StreifenQuelle& quelle, int32_t dpi) {
  const int32_t width = quelle.width();
  const int32_t height = quelle.height();
  if (width <= 0 || height <= 0) throw WriteError(_(kTiffSchreibFehler));
  Ziel ziel;
  ziel.sink = &sink;
  const std::unique_ptr<TIFFOpenOptions, OptionenFreigeben> optionen(TIFFOpenOptionsAlloc());
  if (!optionen) throw WriteError(_(kTiffSchreibFehler));
  TIFFOpenOptionsSetErrorHandlerExtR(optionen.get(), &Schweigen, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(optionen.get(), &Schweigen, nullptr);
  const char* modus = TiffBrauchtBigTiff(width, height) ? "w8" : "w";
  std::unique_ptr<TIFF, TiffSchliessen> tif(
      TIFFClientOpenExt("tilvendo", modus, &ziel, &Lesen, &Schreiben, &Suchen, &Schliessen,
                        &Groesse, &NichtAbbilden, &NichtFreigeben, optionen.get()));
  const int32_t streifenZeilen = StreifenZeilen(width);
  if (!tif || !Felder(tif.get(), width, height, streifenZeilen, dpi)) Scheitern(ziel);

  const size_t zeilenBytes = static_cast<size_t>(width) * kFarbKanaele;
  std::vector<uint8_t> streifen(zeilenBytes * static_cast<size_t>(streifenZeilen));
  int32_t gefuellt = 0;
  uint32_t nummer = 0;
  const auto abgeben = [&] {
    if (TIFFWriteEncodedStrip(tif.get(), nummer++, streifen.data(),
                              static_cast<tmsize_t>(zeilenBytes * gefuellt)) < 0) {
      Scheitern(ziel);
    }
    gefuellt = 0;
  };
  for (int32_t first = 0; first < height; first += kStreifenZeilen) {
    const Zeilen zeilen = quelle.Streifen(first, std::min(kStreifenZeilen, height - first));
    for (int32_t i = 0; i < zeilen.count; ++i) {
      ZeileZuRgb(zeilen.row(i), streifen.data() + zeilenBytes * gefuellt, width);
      if (++gefuellt == streifenZeilen) abgeben();
    }
  }
  if (gefuellt > 0) abgeben();
  // Writes the directory and completes the header; a failure there is a failure too.
  if (TIFFWriteDirectory(tif.get()) == 0) Scheitern(ziel);
  tif.reset();
  if (ziel.fehler) std::rethrow_exception(ziel.fehler);
}

void WriteTiffFile(StreifenQuelle& quelle, const std::string& fileName, int32_t dpi) {
  AtomicFile file(fileName);
  AtomicFileSink sink(file);
  WriteTiff(sink, quelle, dpi);
  quelle.VorDemErsetzen();
  file.Commit();
}

}  // namespace tilvendo
