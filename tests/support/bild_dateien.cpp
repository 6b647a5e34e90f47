#include "support/bild_dateien.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace tilvendo::testing {
namespace {

struct JpegFehler {
  jpeg_error_mgr manager;
  std::jmp_buf sprung;
  char meldung[JMSG_LENGTH_MAX];
};

void JpegFehlerAusgang(j_common_ptr info) {
  auto* fehler = reinterpret_cast<JpegFehler*>(info->err);
  info->err->format_message(info, fehler->meldung);
  std::longjmp(fehler->sprung, 1);
}

void JpegStumm(j_common_ptr, int) {}

struct DateiSchliessen {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Three channels a pixel, the most a row handed to the encoder takes.
constexpr int kRgbKanaele = 3;

// One row of `picture` in the layout the encoder is told about.
void ZeileVorbereiten(const Bitmap& picture, int32_t y, std::vector<uint8_t>& zeile) {
  switch (picture.format()) {
    case PixelFormat::k8:
      for (int32_t x = 0; x < picture.width(); ++x) {
        zeile[x] = picture.palette()[picture.row(y)[x]].green;
      }
      return;
    case PixelFormat::k16:
      for (int32_t x = 0; x < picture.width(); ++x) {
        const Farbe farbe = ReadPixel(picture, x, y);
        zeile[3 * x] = farbe.blue;
        zeile[3 * x + 1] = farbe.green;
        zeile[3 * x + 2] = farbe.red;
      }
      return;
    case PixelFormat::k24:
    case PixelFormat::k32:
      return;  // the rows are encoded as they stand
  }
}

// Runs the encoder; false with `meldung` filled when libjpeg reported an error. Kept free
// of objects with destructors, because a libjpeg error leaves it by longjmp.
bool Kodieren(std::FILE* file, const Bitmap& picture, const JpegArt& art,
              std::vector<uint8_t>& zeile, JpegFehler& fehler) {
  jpeg_compress_struct info;
  info.err = jpeg_std_error(&fehler.manager);
  fehler.manager.error_exit = JpegFehlerAusgang;
  fehler.manager.emit_message = JpegStumm;
  if (setjmp(fehler.sprung)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(picture.width());
  info.image_height = static_cast<JDIMENSION>(picture.height());
  switch (picture.format()) {
    case PixelFormat::k8:
      info.input_components = 1;
      info.in_color_space = JCS_GRAYSCALE;
      break;
    case PixelFormat::k16:
    case PixelFormat::k24:
      info.input_components = 3;
      info.in_color_space = JCS_EXT_BGR;
      break;
    case PixelFormat::k32:
      info.input_components = 4;
      info.in_color_space = JCS_EXT_BGRX;
      break;
  }
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, art.quality, TRUE);
  if (art.progressiv) jpeg_simple_progression(&info);
  info.arith_code = art.arithmetisch ? TRUE : FALSE;
  info.restart_in_rows = static_cast<int>(art.neustartZeilen);
  jpeg_start_compress(&info, TRUE);
  const bool direkt = picture.format() == PixelFormat::k24 || picture.format() == PixelFormat::k32;
  while (info.next_scanline < info.image_height) {
    const auto y = static_cast<int32_t>(info.next_scanline);
    JSAMPROW row;
    if (direkt) {
      row = const_cast<JSAMPROW>(picture.row(y));
    } else {
      ZeileVorbereiten(picture, y, zeile);
      row = zeile.data();
    }
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

void Anhaengen16(std::string& out, uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

void Anhaengen32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

}  // namespace

void WriteTestJpeg(const std::string& path, const Bitmap& picture, int quality) {
  WriteTestJpeg(path, picture, JpegArt{.quality = quality});
}

void WriteTestJpeg(const std::string& path, const Bitmap& picture, const JpegArt& art) {
  if (picture.empty()) throw std::runtime_error("WriteTestJpeg: empty picture");
  std::unique_ptr<std::FILE, DateiSchliessen> file(std::fopen(path.c_str(), "wb"));
  if (!file) throw std::runtime_error("cannot write " + path);
  std::vector<uint8_t> zeile(static_cast<size_t>(picture.width()) * kRgbKanaele);
  JpegFehler fehler{};
  if (!Kodieren(file.get(), picture, art, zeile, fehler)) {
    throw std::runtime_error("WriteTestJpeg " + path + ": " + fehler.meldung);
  }
  if (std::fflush(file.get()) != 0) throw std::runtime_error("cannot write " + path);
}

void WriteTestBmp(const std::string& path, const Bitmap& picture) {
  constexpr uint32_t kDateiKopf = 14;
  constexpr uint32_t kInfoKopf = 40;
  const uint32_t stride = (static_cast<uint32_t>(picture.width()) * 3 + 3) / 4 * 4;
  const uint32_t pixelBytes = stride * static_cast<uint32_t>(picture.height());
  std::string out;
  out.reserve(kDateiKopf + kInfoKopf + pixelBytes);
  out += "BM";
  Anhaengen32(out, kDateiKopf + kInfoKopf + pixelBytes);
  Anhaengen32(out, 0);
  Anhaengen32(out, kDateiKopf + kInfoKopf);
  Anhaengen32(out, kInfoKopf);
  Anhaengen32(out, static_cast<uint32_t>(picture.width()));
  Anhaengen32(out, static_cast<uint32_t>(picture.height()));
  Anhaengen16(out, 1);   // planes
  Anhaengen16(out, 24);  // bits per pixel
  Anhaengen32(out, 0);   // BI_RGB
  Anhaengen32(out, pixelBytes);
  Anhaengen32(out, 2835);  // 72 dpi
  Anhaengen32(out, 2835);
  Anhaengen32(out, 0);
  Anhaengen32(out, 0);
  for (int32_t y = picture.height() - 1; y >= 0; --y) {
    const size_t start = out.size();
    for (int32_t x = 0; x < picture.width(); ++x) {
      const Farbe farbe = ReadPixel(picture, x, y);
      out.push_back(static_cast<char>(farbe.blue));
      out.push_back(static_cast<char>(farbe.green));
      out.push_back(static_cast<char>(farbe.red));
    }
    out.resize(start + stride, '\0');
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  if (!file) throw std::runtime_error("cannot write " + path);
}

Bitmap Gemustert(int32_t width, int32_t height, int muster) {
  Bitmap picture(width, height, PixelFormat::k32);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      WritePixel(picture, x, y,
                 Farbe{static_cast<uint8_t>(40 * muster + 5 * x),
                       static_cast<uint8_t>(9 * y + 11 * muster),
                       static_cast<uint8_t>(x * y + 90 * muster)});
    }
  }
  return picture;
}

Bitmap Einfarbig(int32_t width, int32_t height, Farbe farbe) {
  Bitmap picture(width, height, PixelFormat::k32);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = picture.row(y);
    for (int32_t x = 0; x < width; ++x) {
      row[4 * x] = farbe.blue;
      row[4 * x + 1] = farbe.green;
      row[4 * x + 2] = farbe.red;
      row[4 * x + 3] = 0;
    }
  }
  return picture;
}

}  // namespace tilvendo::testing
