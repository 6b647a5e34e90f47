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

tmsize_t DatenSchreiben(thandle_t handle, void* daten, tmsize_t laenge) {
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

bool Felder(TIFF* tif, int32_t width, int32_t height, int32_t streifenZeilen, double dpi,
            double dpiY) {
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
  gut = gut &&
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<float>(mitAufloesung ? dpi : 1)) != 0;
  gut = gut &&
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<float>(mitAufloesung ? dpiY : 1)) != 0;
  gut = gut &&
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, mitAufloesung ? RESUNIT_INCH : RESUNIT_NONE) != 0;
  return gut;
}

}  // namespace

uint64_t TiffMaximumBytes(int32_t width, int32_t height) {
  const uint64_t breite = static_cast<uint64_t>(std::max(width, 0));
  const uint64_t hoehe = static_cast<uint64_t>(std::max(height, 0));
  const uint64_t streifenZeilen = static_cast<uint64_t>(StreifenZeilen(width));
  const uint64_t streifen = (hoehe + streifenZeilen - 1) / streifenZeilen;
  return breite * kFarbKanaele * hoehe + streifen * kStreifenTabelle + kKopfZuschlag;
}

bool TiffNeedsBigTiff(int32_t width, int32_t height) {
  return TiffMaximumBytes(width, height) > std::numeric_limits<uint32_t>::max();
}

namespace {

class TiffWriter final : public Bildschreiber {
 public:
  TiffWriter(SeekableSink& sink, const Bildbeschreibung& d)
      : breite_(d.breite),
        streifenZeilen_(StreifenZeilen(d.breite)),
        zeilenBytes_(static_cast<size_t>(std::max(d.breite, 0)) * kFarbKanaele) {
    if (d.breite <= 0 || d.hoehe <= 0) throw WriteError(_(kTiffSchreibFehler));
    ziel_.sink = &sink;
    optionen_.reset(TIFFOpenOptionsAlloc());
    if (!optionen_) throw WriteError(_(kTiffSchreibFehler));
    TIFFOpenOptionsSetErrorHandlerExtR(optionen_.get(), &Schweigen, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(optionen_.get(), &Schweigen, nullptr);
    const char* modus = TiffNeedsBigTiff(d.breite, d.hoehe) ? "w8" : "w";
    tif_.reset(TIFFClientOpenExt("tilvendo", modus, &ziel_, &Lesen, &DatenSchreiben, &Suchen,
                                 &Schliessen, &Groesse, &NichtAbbilden, &NichtFreigeben,
                                 optionen_.get()));
    if (!tif_ || !Felder(tif_.get(), d.breite, d.hoehe, streifenZeilen_, d.dpi, DpiSenkrecht(d)))
      Scheitern(ziel_);
    streifen_.resize(zeilenBytes_ * static_cast<size_t>(streifenZeilen_));
  }

  void Schreiben(const Zeilen& zeilen) override {
    for (int32_t i = 0; i < zeilen.anzahl; ++i) {
      ZeileZuRgb(zeilen.Zeile(i), streifen_.data() + zeilenBytes_ * gefuellt_, breite_);
      if (++gefuellt_ == streifenZeilen_) Abgeben();
    }
  }

  void Beenden() override {
    if (gefuellt_ > 0) Abgeben();
    // Writes the directory and completes the header; a failure there is a failure too.
    if (TIFFWriteDirectory(tif_.get()) == 0) Scheitern(ziel_);
    tif_.reset();
    if (ziel_.fehler) std::rethrow_exception(ziel_.fehler);
  }

 private:
  void Abgeben() {
    if (TIFFWriteEncodedStrip(tif_.get(), nummer_++, streifen_.data(),
                              static_cast<tmsize_t>(zeilenBytes_ * gefuellt_)) < 0) {
      Scheitern(ziel_);
    }
    gefuellt_ = 0;
  }

  int32_t breite_;
  int32_t streifenZeilen_;
  size_t zeilenBytes_;
  Ziel ziel_;
  std::unique_ptr<TIFFOpenOptions, OptionenFreigeben> optionen_;
  std::unique_ptr<TIFF, TiffSchliessen> tif_;  // after ziel_: closed before it goes
  std::vector<uint8_t> streifen_;
  int32_t gefuellt_ = 0;
  uint32_t nummer_ = 0;
};

}  // namespace

std::unique_ptr<Bildschreiber> MakeTiffWriter(SeekableSink& sink,
                                              const Bildbeschreibung& description) {
  return std::make_unique<TiffWriter>(sink, description);
}

}  // namespace tilvendo
