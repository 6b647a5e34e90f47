// How close the save page's size estimate comes, and how long it takes: a run of an album
// (a poster, or with "ganz" a mosaic held whole), then for JPEG at several qualities and
// for PNG the estimate the save page shows (from a sample of whole tiles at full size),
// the figure the screen copy's bytes per pixel would give, and the length of the file the
// save writes.
//
//   schaetzung_bench ALBENPFAD ALBUM VORLAGE BREITExHOEHE KACHELNXxKACHELNY ORDNER [ganz]
//
// bench/poster_schaetzung.sh and bench/groessen_schaetzung.sh make the album of the
// generated collection first. Not a timed test: it prints the figures.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/berechnungslauf.h"
#include "engine/save_preview.h"
#include "engine/sitzung.h"
#include "pictures/blending.h"
#include "pictures/byte_sink.h"
#include "platform/benutzer.h"
#include "platform/medien.h"
#include "platform/paths.h"

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
  const Bitmap& kopie = auftrag.Ergebnis->AnzeigeBild();
  Bitmap anzeige(kopie.width(), kopie.height(), kPixelformat);
  BlendTemplateIntoMosaic(anzeige, kopie, auftrag.VorlageBild, a);
  MemorySink kodiert;
  const std::unique_ptr<Bildschreiber> schreiber = kDateiformate[optionen.Format].schreiber(
      kodiert, BeschreibungFuer(optionen, anzeige.width(), anzeige.height()));
  BitmapStreifen quelle(anzeige);
  StreifenweiseLesen(quelle, [&](int32_t, const Zeilen& zeilen) { schreiber->Schreiben(zeilen); });
  schreiber->Beenden();
  const Size mosaik = auftrag.Ergebnis->Groesse();
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
  wunsch.grossformat = argv[7] == nullptr || std::string(argv[7]) != "ganz";
  wunsch.dpi = 200;
  wunsch.groesse = groesse;
  Einrichten(auftrag, wunsch);
  Uhr::time_point anfang = Uhr::now();
  Berechnungslauf lauf(auftrag, benutzer);
  if (lauf.Starten() != Laufausgang::Fertig) {
    std::fprintf(stderr, "Der Lauf hat kein Mosaik ergeben.\n");
    return 1;
  }
  const Size mosaik = auftrag.Ergebnis->Groesse();
  std::printf("%s %d x %d, %d x %d Kacheln, %d Bilder: Lauf %.1f s\n",
              wunsch.grossformat ? "Poster" : "Mosaik", mosaik.width, mosaik.height,
              wunsch.kachelnX, wunsch.kachelnY, auftrag.BilderAnzahl.gesamt,
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
      const SavePreview schaetzung =
          MakeSavePreview(auftrag, a, kVorschauBreite, kVorschauHoehe, optionen, vorschau);
      const double dauer = Millisekunden(anfang);
      const double bildschirm = AusBildschirmkopie(auftrag, a, optionen);
      if (ErgebnisSpeichern(auftrag, a, optionen) != Speicherausgang::Gespeichert) {
        std::fprintf(stderr, "Das Mosaik ist nicht gespeichert worden.\n");
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
  if (argc != 7 && argc != 8) {
    std::fprintf(stderr,
                 "Aufruf: %s ALBENPFAD ALBUM VORLAGE BREITExHOEHE KACHELNXxKACHELNY ORDNER "
                 "[ganz]\n",
                 argv[0]);
    return 2;
  }
  return Ausfuehren(argv);
}
