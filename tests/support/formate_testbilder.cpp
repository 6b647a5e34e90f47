#include "support/formate_testbilder.h"

#include <jpeglib.h>
#include <libheif/heif_cxx.h>
#include <png.h>
#include <tiffio.h>
#include <webp/encode.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/pixel.h"
#include "support/temp_folder.h"

// The HEVC encoder, used here only to write test files, keeps a few small buffers until the
// process ends, and fontconfig the font set it built for cairo's text (the labels of printed
// sheets); the leak check of sanitized builds is told so, and nothing else. The programs the
// tests start read the same list from tests/lsan.supp.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libx265.so\nleak:libfontconfig.so\n";
}

namespace tilvendo::testing {
namespace {

struct DateiSchliessen {
  void operator()(std::FILE* datei) const { std::fclose(datei); }
};
using Datei = std::unique_ptr<std::FILE, DateiSchliessen>;

Datei Anlegen(const std::string& path) {
  Datei datei(std::fopen(path.c_str(), "wb"));
  if (!datei) throw std::runtime_error("cannot write " + path);
  return datei;
}

void Pruefen(bool gelungen, const std::string& was) {
  if (!gelungen) throw std::runtime_error(was + " failed");
}

void Anhaengen(std::string& ziel, uint32_t wert, int bytes, bool grossEndian) {
  for (int i = 0; i < bytes; ++i) {
    const int verschiebung = 8 * (grossEndian ? bytes - 1 - i : i);
    ziel.push_back(static_cast<char>((wert >> verschiebung) & 0xFF));
  }
}

// The picture's pixels as red, green, blue (and the opacity, when given), row after row.
std::vector<uint8_t> Rgb(const Bitmap& bild, std::optional<uint8_t> alpha) {
  std::vector<uint8_t> rgb;
  for (int32_t y = 0; y < bild.height(); ++y) {
    for (int32_t x = 0; x < bild.width(); ++x) {
      const Farbe farbe = ReadPixel(bild, x, y);
      rgb.insert(rgb.end(), {farbe.red, farbe.green, farbe.blue});
      if (alpha) rgb.push_back(*alpha);
    }
  }
  return rgb;
}

void JpegKodieren(std::FILE* datei, int32_t breite, int32_t hoehe, JpegFarben farben,
                  const std::string& exif, std::vector<uint8_t>& pixel) {
  // The library's own error handling ends the process: these files are always writable.
  jpeg_compress_struct info;
  jpeg_error_mgr fehler;
  info.err = jpeg_std_error(&fehler);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, datei);
  info.image_width = static_cast<JDIMENSION>(breite);
  info.image_height = static_cast<JDIMENSION>(hoehe);
  const bool cmyk = farben != JpegFarben::Farbe;
  info.input_components = cmyk ? 4 : 3;
  info.in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&info);
  if (farben == JpegFarben::Ycck) jpeg_set_colorspace(&info, JCS_YCCK);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  if (!exif.empty()) {
    jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.data()),
                      static_cast<unsigned int>(exif.size()));
  }
  const size_t zeilenBytes = static_cast<size_t>(breite) * info.input_components;
  while (info.next_scanline < info.image_height) {
    JSAMPROW zeile = pixel.data() + zeilenBytes * info.next_scanline;
    jpeg_write_scanlines(&info, &zeile, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
}

}  // namespace

std::string ExifBlock(uint16_t ausrichtung, bool grossEndian) {
  std::string block = grossEndian ? "MM" : "II";
  Anhaengen(block, 42, 2, grossEndian);
  Anhaengen(block, 8, 4, grossEndian);  // the first directory follows the header
  Anhaengen(block, 2, 2, grossEndian);  // two entries, the orientation second
  const uint32_t kAufloesung = 0x011A, kAusrichtung = 0x0112, kRational = 5, kShort = 3;
  Anhaengen(block, kAufloesung, 2, grossEndian);
  Anhaengen(block, kRational, 2, grossEndian);
  Anhaengen(block, 1, 4, grossEndian);
  Anhaengen(block, 38, 4, grossEndian);
  Anhaengen(block, kAusrichtung, 2, grossEndian);
  Anhaengen(block, kShort, 2, grossEndian);
  Anhaengen(block, 1, 4, grossEndian);
  Anhaengen(block, ausrichtung, 2, grossEndian);
  Anhaengen(block, 0, 2, grossEndian);
  Anhaengen(block, 0, 4, grossEndian);  // no next directory
  Anhaengen(block, 72, 4, grossEndian);
  Anhaengen(block, 1, 4, grossEndian);
  return block;
}

void WriteTestJpegMitExif(const std::string& path, const Bitmap& bild,
                          std::optional<uint16_t> ausrichtung, JpegFarben farben) {
  std::vector<uint8_t> pixel = Rgb(bild, std::nullopt);
  if (farben != JpegFarben::Farbe) {
    // Some black ink too, so that both parts of the conversion count: every channel of the
    // picture must then be at most 200.
    constexpr int kSchwarzRest = 200;  // 255 − the black ink, stored inverted
    std::vector<uint8_t> cmyk;
    for (const uint8_t wert : pixel) {
      cmyk.push_back(static_cast<uint8_t>(std::min(255, (wert * 255 + 100) / kSchwarzRest)));
      if (cmyk.size() % 4 == 3) cmyk.push_back(kSchwarzRest);
    }
    pixel = std::move(cmyk);
  }
  const std::string exif = ausrichtung ? std::string("Exif\0\0", 6) + ExifBlock(*ausrichtung) : "";
  const Datei datei = Anlegen(path);
  JpegKodieren(datei.get(), bild.width(), bild.height(), farben, exif, pixel);
}

void WriteTestPng(const std::string& path, const Bitmap& bild, const PngArt& art) {
  const bool mitAlpha = art.alpha >= 0;
  const std::vector<uint8_t> rgba = Rgb(bild, static_cast<uint8_t>(mitAlpha ? art.alpha : 255));
  std::vector<uint8_t> samples;
  std::vector<png_color> palette;
  std::vector<uint8_t> deckung;
  int farbtyp = art.farben == PngFarben::Grau ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB;
  if (mitAlpha) farbtyp |= PNG_COLOR_MASK_ALPHA;
  if (art.farben == PngFarben::Palette) farbtyp = PNG_COLOR_TYPE_PALETTE;
  std::map<uint32_t, uint8_t> indizes;
  for (size_t i = 0; i < rgba.size(); i += 4) {
    const uint8_t* p = &rgba[i];
    if (art.farben == PngFarben::Palette) {
      const uint32_t schluessel = (p[0] << 16) | (p[1] << 8) | p[2];
      if (indizes.emplace(schluessel, static_cast<uint8_t>(palette.size())).second) {
        palette.push_back(png_color{p[0], p[1], p[2]});
        if (mitAlpha) deckung.push_back(p[3]);
      }
      samples.push_back(indizes.at(schluessel));
      continue;
    }
    // Grey takes the green channel; 16 bits add the low byte, or repeat the high one.
    std::vector<uint8_t> werte = art.farben == PngFarben::Grau
                                     ? std::vector<uint8_t>{p[1]}
                                     : std::vector<uint8_t>{p[0], p[1], p[2]};
    if (mitAlpha) werte.push_back(p[3]);
    for (const uint8_t wert : werte) {
      samples.push_back(wert);
      if (art.sechzehnBit) samples.push_back(art.unteresByte.value_or(wert));
    }
  }
  const Datei datei = Anlegen(path);
  // The library's own error handling ends the process: these files are always writable.
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, datei.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(bild.width()),
               static_cast<png_uint_32>(bild.height()), art.sechzehnBit ? 16 : 8, farbtyp,
               art.verschraenkt ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!deckung.empty()) {
    png_set_tRNS(png, info, deckung.data(), static_cast<int>(deckung.size()), nullptr);
  }
  std::string exif =
      art.ausrichtung > 0 ? ExifBlock(static_cast<uint16_t>(art.ausrichtung), true) : "";
  if (!exif.empty()) {
    png_set_eXIf_1(png, info, static_cast<png_uint_32>(exif.size()),
                   reinterpret_cast<png_bytep>(exif.data()));
  }
  png_write_info(png, info);
  std::vector<png_bytep> zeilen;
  for (size_t y = 0; y < static_cast<size_t>(bild.height()); ++y) {
    zeilen.push_back(&samples[y * samples.size() / static_cast<size_t>(bild.height())]);
  }
  png_write_image(png, zeilen.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
}

void WriteTestPngKopf(const std::string& path, uint32_t breite, uint32_t hoehe, size_t datenBytes) {
  const Datei datei = Anlegen(path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_init_io(png, datei.get());
  png_set_IHDR(png, info, breite, hoehe, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  if (datenBytes > 0) {
    const std::vector<uint8_t> daten(datenBytes, 0);
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), daten.data(), daten.size());
  }
  png_destroy_write_struct(&png, &info);
}

void WriteTestTiff(const std::string& path, const Bitmap& bild, uint16_t ausrichtung, bool kacheln,
                   std::optional<uint8_t> alpha) {
  constexpr uint32_t kKachel = 16, kStreifen = 3;
  const std::unique_ptr<TIFF, void (*)(TIFF*)> tif(TIFFOpen(path.c_str(), "w"), &TIFFClose);
  Pruefen(tif != nullptr, "TIFF " + path);
  const uint16_t kanaele = alpha ? 4 : 3;
  TIFFSetField(tif.get(), TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(bild.width()));
  TIFFSetField(tif.get(), TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(bild.height()));
  TIFFSetField(tif.get(), TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif.get(), TIFFTAG_SAMPLESPERPIXEL, kanaele);
  TIFFSetField(tif.get(), TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif.get(), TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif.get(), TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
  TIFFSetField(tif.get(), TIFFTAG_ORIENTATION, ausrichtung);
  if (alpha) {
    const uint16_t art = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(tif.get(), TIFFTAG_EXTRASAMPLES, 1, &art);
  }
  std::vector<uint8_t> pixel = Rgb(bild, alpha);
  const size_t zeilenBytes = static_cast<size_t>(bild.width()) * kanaele;
  if (!kacheln) {
    TIFFSetField(tif.get(), TIFFTAG_ROWSPERSTRIP, kStreifen);
    for (int32_t y = 0; y < bild.height(); ++y) {
      Pruefen(TIFFWriteScanline(tif.get(), pixel.data() + y * zeilenBytes, y, 0) == 1, "row");
    }
    return;
  }
  TIFFSetField(tif.get(), TIFFTAG_TILEWIDTH, kKachel);
  TIFFSetField(tif.get(), TIFFTAG_TILELENGTH, kKachel);
  std::vector<uint8_t> kachel(kKachel * kKachel * kanaele);
  for (uint32_t ky = 0; ky < static_cast<uint32_t>(bild.height()); ky += kKachel) {
    for (uint32_t kx = 0; kx < static_cast<uint32_t>(bild.width()); kx += kKachel) {
      std::fill(kachel.begin(), kachel.end(), 0);
      for (uint32_t y = ky; y < std::min<uint32_t>(ky + kKachel, bild.height()); ++y) {
        const uint32_t breite = std::min<uint32_t>(kKachel, bild.width() - kx);
        std::memcpy(&kachel[(y - ky) * kKachel * kanaele], &pixel[y * zeilenBytes + kx * kanaele],
                    breite * kanaele);
      }
      Pruefen(TIFFWriteTile(tif.get(), kachel.data(), kx, ky, 0, 0) >= 0, "tile");
    }
  }
}

void WriteTestTiffEbenen(const std::string& path, const Bitmap& bild) {
  constexpr uint16_t kKanaele = 3;
  constexpr uint32_t kStreifen = 3;
  const std::unique_ptr<TIFF, void (*)(TIFF*)> tif(TIFFOpen(path.c_str(), "w"), &TIFFClose);
  Pruefen(tif != nullptr, "TIFF " + path);
  TIFFSetField(tif.get(), TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(bild.width()));
  TIFFSetField(tif.get(), TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(bild.height()));
  TIFFSetField(tif.get(), TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif.get(), TIFFTAG_SAMPLESPERPIXEL, kKanaele);
  TIFFSetField(tif.get(), TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif.get(), TIFFTAG_PLANARCONFIG, PLANARCONFIG_SEPARATE);
  TIFFSetField(tif.get(), TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
  TIFFSetField(tif.get(), TIFFTAG_ROWSPERSTRIP, kStreifen);
  const std::vector<uint8_t> pixel = Rgb(bild, std::nullopt);
  std::vector<uint8_t> ebene(static_cast<size_t>(bild.width()));
  for (uint16_t kanal = 0; kanal < kKanaele; ++kanal) {
    for (int32_t y = 0; y < bild.height(); ++y) {
      for (int32_t x = 0; x < bild.width(); ++x) {
        ebene[static_cast<size_t>(x)] =
            pixel[(static_cast<size_t>(y) * bild.width() + x) * kKanaele + kanal];
      }
      Pruefen(TIFFWriteScanline(tif.get(), ebene.data(), y, kanal) == 1, "row");
    }
  }
}

void WriteTestTiffKopf(const std::string& path, uint32_t breite, uint32_t hoehe) {
  const std::unique_ptr<TIFF, void (*)(TIFF*)> tif(TIFFOpen(path.c_str(), "w"), &TIFFClose);
  Pruefen(tif != nullptr, "TIFF " + path);
  TIFFSetField(tif.get(), TIFFTAG_IMAGEWIDTH, breite);
  TIFFSetField(tif.get(), TIFFTAG_IMAGELENGTH, hoehe);
  TIFFSetField(tif.get(), TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif.get(), TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tif.get(), TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif.get(), TIFFTAG_ROWSPERSTRIP, hoehe);
  TIFFWriteDirectory(tif.get());
}

void WriteTestTiffAbtastwerte(const std::string& path, uint32_t breite, uint32_t hoehe,
                              uint16_t abtastwerte, uint16_t bits, size_t datenBytes) {
  constexpr uint32_t kDatenStelle = 8;  // the strip follows the header
  constexpr uint16_t kShort = 3, kLong = 4;
  constexpr uint16_t kDeflate = 8, kRgb = 2, kZusammen = 1;
  const auto ifdStelle = static_cast<uint32_t>(kDatenStelle + datenBytes + datenBytes % 2);
  std::string datei = "II";
  Anhaengen(datei, 42, 2, false);
  Anhaengen(datei, ifdStelle, 4, false);
  datei.append(datenBytes + datenBytes % 2, '\0');
  const std::vector<std::array<uint32_t, 3>> eintraege = {
      {TIFFTAG_IMAGEWIDTH, kLong, breite},
      {TIFFTAG_IMAGELENGTH, kLong, hoehe},
      {TIFFTAG_BITSPERSAMPLE, kShort, bits},
      {TIFFTAG_COMPRESSION, kShort, kDeflate},
      {TIFFTAG_PHOTOMETRIC, kShort, kRgb},
      {TIFFTAG_STRIPOFFSETS, kLong, kDatenStelle},
      {TIFFTAG_SAMPLESPERPIXEL, kShort, abtastwerte},
      {TIFFTAG_ROWSPERSTRIP, kLong, hoehe},
      {TIFFTAG_STRIPBYTECOUNTS, kLong, static_cast<uint32_t>(datenBytes)},
      {TIFFTAG_PLANARCONFIG, kShort, kZusammen}};
  Anhaengen(datei, static_cast<uint32_t>(eintraege.size()), 2, false);
  for (const auto& [kennung, typ, wert] : eintraege) {
    Anhaengen(datei, kennung, 2, false);
    Anhaengen(datei, typ, 2, false);
    Anhaengen(datei, 1, 4, false);  // one value, held in the entry itself
    Anhaengen(datei, wert, 4, false);
  }
  Anhaengen(datei, 0, 4, false);  // no next directory
  WriteWholeFile(path, datei);
}

void WriteTestWebp(const std::string& path, const Bitmap& bild, std::optional<uint16_t> ausrichtung,
                   std::optional<int> qualitaet, std::optional<uint8_t> alpha) {
  // Opaque pictures are coded without alpha by the encoder itself.
  const std::vector<uint8_t> rgba = Rgb(bild, alpha.value_or(255));
  const int zeilenBytes = bild.width() * 4;
  uint8_t* ausgabe = nullptr;
  const size_t groesse =
      qualitaet
          ? WebPEncodeRGBA(rgba.data(), bild.width(), bild.height(), zeilenBytes,
                           static_cast<float>(*qualitaet), &ausgabe)
          : WebPEncodeLosslessRGBA(rgba.data(), bild.width(), bild.height(), zeilenBytes, &ausgabe);
  Pruefen(groesse > 0, "WebP " + path);
  std::string datei(reinterpret_cast<const char*>(ausgabe), groesse);
  WebPFree(ausgabe);
  if (ausrichtung) {
    // The extended container: a VP8X chunk announcing the EXIF chunk after the picture.
    constexpr size_t kKopf = 12;  // "RIFF", size, "WEBP"
    constexpr uint8_t kExifMerker = 0x08, kAlphaMerker = 0x10;
    std::string erweitert = datei.substr(kKopf);
    if (erweitert.compare(0, 4, "VP8X") == 0) {
      erweitert[8] = static_cast<char>(erweitert[8] | kExifMerker);
    } else {
      std::string vp8x = "VP8X";
      Anhaengen(vp8x, 10, 4, false);
      vp8x.push_back(static_cast<char>(kExifMerker | (alpha ? kAlphaMerker : 0)));
      Anhaengen(vp8x, 0, 3, false);
      Anhaengen(vp8x, static_cast<uint32_t>(bild.width() - 1), 3, false);
      Anhaengen(vp8x, static_cast<uint32_t>(bild.height() - 1), 3, false);
      erweitert = vp8x + erweitert;
    }
    const std::string exif = ExifBlock(*ausrichtung);
    erweitert += "EXIF";
    Anhaengen(erweitert, static_cast<uint32_t>(exif.size()), 4, false);
    erweitert += exif;
    if (exif.size() % 2 != 0) erweitert.push_back('\0');
    datei = "RIFF";
    Anhaengen(datei, static_cast<uint32_t>(erweitert.size() + 4), 4, false);
    datei += "WEBP" + erweitert;
  }
  WriteWholeFile(path, datei);
}

void WriteTestHeif(const std::string& path, const Bitmap& bild, uint16_t ausrichtung,
                   std::optional<int> vorschau) {
  heif::Image roh;
  roh.create(bild.width(), bild.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB);
  roh.add_plane(heif_channel_interleaved, bild.width(), bild.height(), 8);
  int zeilenBytes = 0;
  uint8_t* ebene = roh.get_plane(heif_channel_interleaved, &zeilenBytes);
  const std::vector<uint8_t> rgb = Rgb(bild, std::nullopt);
  for (int32_t y = 0; y < bild.height(); ++y) {
    std::memcpy(ebene + static_cast<size_t>(y) * zeilenBytes, &rgb[3 * y * bild.width()],
                3 * static_cast<size_t>(bild.width()));
  }
  heif::Context kontext;
  heif::Encoder kodierer(heif_compression_HEVC);
  kodierer.set_lossy_quality(95);
  heif::Context::EncodingOptions optionen;
  optionen.image_orientation = static_cast<heif_orientation>(ausrichtung);
  const heif::ImageHandle handle = kontext.encode_image(roh, kodierer, optionen);
  if (vorschau) kontext.encode_thumbnail(roh, handle, kodierer, optionen, *vorschau);
  kontext.write_to_file(path);
}

}  // namespace tilvendo::testing
