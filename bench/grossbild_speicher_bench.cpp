// Peak memory of reading small files that declare a 20000 × 20000 picture: a flat grey
// progressive colour JPEG (about 2.3 MB) and an RLE8 bitmap (about 1.6 MB), each as a
// template and as a tile photo. Not a benchmark of time: run through bench/grossbild_speicher.sh,
// which reads the peak from /usr/bin/time.
//
//   grossbild_speicher_bench erzeugen ORDNER      writes riesig.jpg and riesig.bmp
//   grossbild_speicher_bench vorlage DATEI        reads DATEI as the template
//   grossbild_speicher_bench kachel DATEI         reads and measures DATEI as a tile
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "engine/bild_vermesser.h"
#include "engine/einstellungen.h"
#include "pictures/bilder_laden.h"
#include "platform/bitmap.h"
#include "platform/memory_budget.h"
#include "platform/paths.h"
#include "platform/stretch_copy.h"

namespace {

using namespace tilvendo;

constexpr uint32_t kKante = 20000;
constexpr int kQualitaet = 90;
constexpr uint8_t kGrau = 128;

// Written by libjpeg directly, row by row; the progressive coding makes the compressor
// itself hold the coefficients once (about 1.2 GB).
bool JpegSchreiben(const std::string& pfad) {
  std::FILE* datei = std::fopen(pfad.c_str(), "wb");
  if (datei == nullptr) return false;
  jpeg_compress_struct info{};
  jpeg_error_mgr fehler{};
  info.err = jpeg_std_error(&fehler);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, datei);
  info.image_width = kKante;
  info.image_height = kKante;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, kQualitaet, TRUE);
  jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> zeile(static_cast<size_t>(kKante) * 3, kGrau);
  JSAMPROW zeiger = zeile.data();
  while (info.next_scanline < info.image_height) jpeg_write_scanlines(&info, &zeiger, 1);
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(datei) == 0;
}

void Wert(std::string& bytes, uint32_t wert, int anzahl) {
  for (int i = 0; i < anzahl; ++i) bytes += static_cast<char>((wert >> (8 * i)) & 0xFF);
}

// Every row 40 runs of 255 pixels of palette index 1, the rest left out: just above the
// 1 byte per 256 pixels the reader demands of run-length data.
bool BmpSchreiben(const std::string& pfad) {
  constexpr uint32_t kKopf = 14 + 40 + 256 * 4;
  constexpr int kLaeufe = 40;
  std::string bytes = "BM";
  Wert(bytes, 0, 4);
  Wert(bytes, 0, 4);
  Wert(bytes, kKopf, 4);
  for (const uint32_t wert : {40u, kKante, kKante}) Wert(bytes, wert, 4);
  Wert(bytes, 1, 2);  // planes
  Wert(bytes, 8, 2);  // bits
  Wert(bytes, 1, 4);  // RLE8
  for (int i = 0; i < 5; ++i) Wert(bytes, 0, 4);
  for (uint32_t i = 0; i < 256; ++i) Wert(bytes, i * 0x010101u, 4);
  std::string zeile;
  for (int k = 0; k < kLaeufe; ++k) zeile += "\xFF\x01";
  zeile += std::string(2, '\0');
  for (uint32_t y = 0; y < kKante; ++y) bytes += zeile;
  bytes += std::string("\0\x01", 2);
  std::ofstream datei(pfad, std::ios::binary);
  datei.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(datei);
}

int AlsVorlage(const std::string& pfad) {
  Bitmap gelesen;
  const Vorlagenbild vorlage = VorlagenbildLesen(gelesen, pfad);
  if (vorlage.lesung == Vorlagenlesung::ZuGross) {
    std::cout << MeldungVorlageZuGross(vorlage.groesse) << '\n';
    return 0;
  }
  if (vorlage.lesung != Vorlagenlesung::Gelesen) {
    std::cout << "unlesbar\n";
    return 1;
  }
  // As the template is kept: in the working format.
  Bitmap arbeit = Bitmap::Uninitialized(gelesen.width(), gelesen.height(), kPixelformat);
  StretchCopy(gelesen, arbeit, Rect{0, 0, gelesen.width(), gelesen.height()});
  std::cout << "gelesen: " << arbeit.width() << " × " << arbeit.height() << '\n';
  return 0;
}

int AlsKachel(const std::string& pfad) {
  MemoryBudget budget(MemoryBudget::ForThisMachine());
  const BildMessung messung = BildMessen(pfad, Analyse{}, FolderOf(pfad) + "arbeit/", budget);
  const char* text = messung.ergebnis == BildMessung::Ergebnis::Gemessen   ? "gemessen"
                     : messung.ergebnis == BildMessung::Ergebnis::Unlesbar ? "unlesbar"
                                                                           : "Fehler";
  std::cout << text << " (Budget " << (budget.total() >> 20) << " MiB)\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> argumente(argv + 1, argv + argc);
  if (argumente.size() == 2 && argumente[0] == "erzeugen") {
    const std::string ordner = MitSchraegstrich(argumente[1]);
    return JpegSchreiben(ordner + "riesig.jpg") && BmpSchreiben(ordner + "riesig.bmp") ? 0 : 1;
  }
  if (argumente.size() == 2 && argumente[0] == "vorlage") return AlsVorlage(argumente[1]);
  if (argumente.size() == 2 && argumente[0] == "kachel") return AlsKachel(argumente[1]);
  std::cerr << "Aufruf: grossbild_speicher_bench erzeugen ORDNER | vorlage DATEI | kachel DATEI\n";
  return 2;
}
