// How close the save page's size estimate comes for posters, and how long it takes: a
// large-format run of an album, then for JPEG at several qualities and for PNG the
// estimate the save page shows (from a sample of whole tiles at full size), the figure
// the screen copy's bytes per pixel would give, and the length of the file the save
// writes.
//
//   poster_schaetzung_bench ALBENPFAD ALBUM VORLAGE BREITExHOEHE KACHELNXxKACHELNY ORDNER
//
// bench/poster_schaetzung.sh makes the album of the generated collection first. Not a
// timed test: it prints the figures.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/berechnungslauf.h"
#include "engine/sitzung.h"
#include "pictures/blending.h"
#include "pictures/byte_sink.h"
#include "pictures/jpeg_writer.h"
#include "pictures/png_writer.h"
#include "platform/benutzer.h"
#include "platform/medien.h"
#include "platform/paths.h"
#include "wizard/ergebnis_mosaik.h"

namespace {

using namespace tilvendo;
using Uhr = std::chrono::steady_clock;

constexpr int32_t kVorschauBreite = 236;
constexpr int32_t kVorschauHoehe = 170;
constexpr int kQualitaeten[] = {50, 75, 90, 100};

double Millisekunden(Uhr::time_point seit) {
  return std::chrono::duration<double, std::milli>(Uhr::now() - seit).count();
}

bool PaarLesen(const char* text, int32_t& a, int32_t& b) {
  return std::sscanf(text, "%dx%d", &a, &b) == 2 && a > 0 && b > 0;
}

// The screen copy blended as the save blends, its encoded bytes per pixel carried over.
double AusBildschirmkopie(const Auftrag& auftrag, uint8_t a, const SpeicherOptionen& optionen) {
  Bitmap anzeige(auftrag.AnzeigeBild.width(), auftrag.AnzeigeBild.height(), kPixelformat);
  BlendTemplateIntoMosaic(anzeige, auftrag.AnzeigeBild, auftrag.VorlageBild, a);
  MemorySink kodiert;
  BitmapStreifen quelle(anzeige);
  if (optionen.Format == kFormatJpeg) {
    WriteJpeg(kodiert, quelle, optionen.Qualitaet);
  } else {
    WritePng(kodiert, quelle);
  }
  const Size mosaik = wizard::ErgebnisGroesse(auftrag);
  return static_cast<double>(kodiert.bytes().size()) /
         (static_cast<double>(anzeige.width()) * anzeige.height()) * mosaik.width * mosaik.height;
}

int Ausfuehren(char** argv) {
  Benutzer benutzer;
  SystemMedien medien;
  Auftrag auftrag;
  Programmstart(auftrag, Startoptionen{{}, 1, MitSchraegstrich(argv[1])});
  StandardwerteSetzen(auftrag);
  if (VorlageLaden(auftrag, argv[3]) != Vorlagenausgang::Geladen) {
    std::fprintf(stderr, "Die Vorlage %s ist nicht lesbar.\n", argv[3]);
    return 1;
  }
  if (AlbenWaehlen(auftrag, {argv[2]}, medien, benutzer).ausgang != Albenausgang::Gewaehlt) {
    std::fprintf(stderr, "Das Album %s ist nicht wählbar.\n", argv[2]);
    return 1;
  }
  Auftragswunsch wunsch;
  Size groesse;
  if (!PaarLesen(argv[4], groesse.width, groesse.height) ||
      !PaarLesen(argv[5], wunsch.kachelnX, wunsch.kachelnY)) {
    std::fprintf(stderr, "Größe und Kacheln als BREITExHOEHE.\n");
    return 2;
  }
  wunsch.grossformat = true;
  wunsch.dpi = 200;
  wunsch.groesse = groesse;
  Einrichten(auftrag, wunsch);
  Uhr::time_point anfang = Uhr::now();
  Berechnungslauf lauf(auftrag, benutzer);
  if (lauf.Starten() != Laufausgang::Fertig || !auftrag.MosaikInBaendern()) {
    std::fprintf(stderr, "Der Lauf hat kein Poster ergeben.\n");
    return 1;
  }
  const Size mosaik = wizard::ErgebnisGroesse(auftrag);
  std::printf("Poster %d x %d, %d x %d Kacheln, %d Bilder: Lauf %.1f s\n", mosaik.width,
              mosaik.height, wunsch.kachelnX, wunsch.kachelnY, auftrag.BilderAnzahl.gesamt,
              Millisekunden(anfang) / 1000.0);

  const uint8_t a = BlendwertAusRegler(kReglerStandard);
  std::printf("%-8s %12s %9s %9s %12s %10s %9s\n", "Format", "Schaetzung", "ms", "Abw. %",
              "Bildschirm", "Abw. %", "Datei");
  for (const uint8_t format : {kFormatJpeg, kFormatPng}) {
    for (const int qualitaet : kQualitaeten) {
      if (format == kFormatPng && qualitaet != kQualitaeten[0]) continue;
      SpeicherOptionen optionen;
      optionen.Format = format;
      optionen.Qualitaet = static_cast<uint8_t>(qualitaet);
      optionen.Pfad = std::string(argv[6]) + "/";
      optionen.Datei = format == kFormatJpeg ? "poster.jpg" : "poster.png";
      auftrag.SpeicherVorschau = Bitmap();
      Bitmap vorschau;
      anfang = Uhr::now();
      const wizard::Speichervorschau schaetzung = wizard::SpeichervorschauMachen(
          auftrag, a, kVorschauBreite, kVorschauHoehe, optionen, vorschau);
      const double dauer = Millisekunden(anfang);
      const double bildschirm = AusBildschirmkopie(auftrag, a, optionen);
      if (ErgebnisInBaendernSpeichern(auftrag, a, optionen, {}) != Speicherausgang::Gespeichert) {
        std::fprintf(stderr, "Das Poster ist nicht gespeichert worden.\n");
        return 1;
      }
      const auto datei =
          static_cast<double>(std::filesystem::file_size(optionen.Pfad + optionen.Datei));
      const std::string name =
          format == kFormatJpeg ? "JPEG " + std::to_string(qualitaet) : std::string("PNG");
      std::printf("%-8s %12lld %9.0f %+9.1f %12.0f %+10.1f %9.0f\n", name.c_str(),
                  static_cast<long long>(schaetzung.bytes), dauer,
                  100.0 * (static_cast<double>(schaetzung.bytes) / datei - 1.0), bildschirm,
                  100.0 * (bildschirm / datei - 1.0), datei);
      std::filesystem::remove(optionen.Pfad + optionen.Datei);
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr,
                 "Aufruf: %s ALBENPFAD ALBUM VORLAGE BREITExHOEHE KACHELNXxKACHELNY ORDNER\n",
                 argv[0]);
    return 2;
  }
  return Ausfuehren(argv);
}
