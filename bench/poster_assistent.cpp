// A 20,000 × 15,000 poster through the wizard's own windows and steps, measuring what the
// user waits for and the process's peak memory after each step: the large-format run,
// showing the result page, one step of the blend slider, the magnifier's full-resolution
// view after a zoom step (the photos on disk read before, as after the run, but none
// kept by the magnifier), and saving the poster as JPEG in bands; for comparison the
// result page of a mosaic within the usual bound on the same screen.
//
//   poster_assistent FOTOORDNER VORLAGE ARBEITSORDNER
//
// Run it without a display (QT_QPA_PLATFORM=offscreen) through bench/poster_assistent.sh,
// which makes the benchmark collection first. Not a timed test: it prints the figures.
#include <QApplication>
#include <QSlider>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "albums/alben_operationen.h"
#include "albums/album_bearbeitung.h"
#include "engine/berechnungslauf.h"
#include "engine/grossformat.h"
#include "engine/sitzung.h"
#include "pictures/blending.h"
#include "platform/medien.h"
#include "ui/anwendung.h"
#include "ui/assistent.h"
#include "ui/ergebnis_seite.h"
#include "ui/lupen_ansicht.h"
#include "ui/qt_benutzer.h"

namespace {

using namespace tilvendo;
using Uhr = std::chrono::steady_clock;

constexpr Size kPoster{20000, 15000};
constexpr int32_t kKachelnX = 100;
constexpr int32_t kKachelnY = 75;
constexpr int32_t kDpi = 200;
constexpr Size kVergleich{2400, 1800};
constexpr int kQualitaet = 90;
// A screen whose result box is 1000 × 750: the picture of a 4:3 poster then fills a
// window of 1000 × 750 pixels, at least the 1000 × 700 the magnifier is measured on.
constexpr Size kBildschirm{1000 + kRahmenBreite + kBildschirmRandBreite,
                           750 + kRahmenHoehe + kBildschirmRandHoehe};
constexpr int kZoomProben = 5;
constexpr int kReglerSchritte = 20;

double Millisekunden(Uhr::time_point seit) {
  return std::chrono::duration<double, std::milli>(Uhr::now() - seit).count();
}

// The peak resident memory of the process so far, in MiB.
double SpitzeMiB() {
  std::ifstream status("/proc/self/status");
  std::string zeile;
  while (std::getline(status, zeile)) {
    if (zeile.rfind("VmHWM:", 0) == 0) return std::stod(zeile.substr(6)) / 1024.0;
  }
  return 0.0;
}

class StillerBenutzer : public ui::QtBenutzer {
 public:
  void Warnung(std::string_view text) override {
    std::fprintf(stderr, "Warnung: %.*s\n", static_cast<int>(text.size()), text.data());
  }
  void Information(std::string_view text) override {
    std::fprintf(stderr, "Information: %.*s\n", static_cast<int>(text.size()), text.data());
  }
  wizard::Antwort Frage(std::string_view, bool) override { return wizard::Antwort::Nein; }
  std::string MediumNameErfragen() override { return "Bench"; }
  Size Bildschirmgroesse() const override { return kBildschirm; }
};

int Ausfuehren(const std::string& fotos, const std::string& vorlage, const std::string& arbeit) {
  StillerBenutzer benutzer;
  SystemMedien medien;
  Startoptionen start;
  start.seed = 1;
  start.albenPfad = arbeit + "/alben/";
  ui::Assistent assistent(benutzer, medien, start);
  assistent.Vorbereiten();
  Auftrag& auftrag = assistent.auftrag();

  AlbenZustand& zustand = auftrag.alben;
  const AlbenKontext kontext = assistent.albenKontext();
  const Bearbeitungsumgebung umgebung{kontext, medien, benutzer, false};
  AlbumImEditor editor = NeuesAlbumBeginnen(zustand, kontext, benutzer);
  if (OrdnerHinzufuegen(umgebung, zustand.AktAlbum, editor.anzahl, fotos) !=
      Aufnahme::Aufgenommen) {
    std::fprintf(stderr, "Der Ordner %s ist nicht aufgenommen worden.\n", fotos.c_str());
    return 1;
  }
  editor.name = "Poster";
  AlbumBearbeitungAbschliessen(zustand, kontext, editor);
  if (AlbumAuswaehlen(zustand, kontext, medien, benutzer, "Poster") < 0) {
    std::fprintf(stderr, "Das Album ist nicht gewählt.\n");
    return 1;
  }
  BilderZaehlen(auftrag);
  if (VorlageLaden(auftrag, vorlage) != Vorlagenausgang::Geladen) {
    std::fprintf(stderr, "Die Vorlage %s ist nicht lesbar.\n", vorlage.c_str());
    return 1;
  }
  Auftragswunsch wunsch;
  wunsch.grossformat = true;
  wunsch.dpi = kDpi;
  wunsch.groesse = kPoster;
  wunsch.kachelnX = kKachelnX;
  wunsch.kachelnY = kKachelnY;
  Einrichten(auftrag, wunsch);
  std::printf("Bilder: %d, Mosaik %d x %d, %d x %d Kacheln\n", auftrag.BilderAnzahl.gesamt,
              auftrag.einstellungen.ZielBreite, auftrag.einstellungen.ZielHoehe, kKachelnX,
              kKachelnY);

  Uhr::time_point anfang = Uhr::now();
  Berechnungslauf lauf(auftrag, benutzer);
  if (lauf.Starten() != Laufausgang::Fertig) return 1;
  std::printf("Lauf: %.1f s, Spitze %.0f MiB\n", Millisekunden(anfang) / 1000.0, SpitzeMiB());

  auto* seite = static_cast<ui::ErgebnisSeite*>(assistent.SeiteHolen(kSeiteErgebnis));
  anfang = Uhr::now();
  seite->show();
  QApplication::processEvents();
  std::printf("Ergebnisseite zeigen: %.1f ms (Bild %d x %d), Spitze %.0f MiB\n",
              Millisekunden(anfang), seite->ErgebnisBild()->width(),
              seite->ErgebnisBild()->height(), SpitzeMiB());
  double regler = 0.0;
  for (int i = 0; i < kReglerSchritte; ++i) {
    anfang = Uhr::now();
    seite->Blenden()->setValue(kReglerStandard + (i % 2 == 0 ? 1 : 0));
    seite->ErgebnisBild()->repaint();
    regler += Millisekunden(anfang);
  }
  std::printf("Reglerschritt mit Neuzeichnen: %.2f ms\n", regler / kReglerSchritte);

  // Each sample: the page shown afresh (the magnifier keeps no photo), then in one go
  // from the whole mosaic to the full resolution, timed until every photo in view is
  // read and drawn. The steps between need photos only where they are shown at half
  // size and less, which are read at that size.
  ui::LupenAnsicht* bild = seite->ErgebnisBild();
  std::vector<double> zeiten;
  for (int probe = 0; probe < kZoomProben; ++probe) {
    seite->close();
    auftrag.ProgrammEnde = false;
    seite->show();
    QApplication::processEvents();
    bild = seite->ErgebnisBild();
    const QPoint punkt(bild->width() * (probe + 1) / (kZoomProben + 1),
                       bild->height() * (kZoomProben - probe) / (kZoomProben + 1));
    const int32_t vorher = bild->Kacheln()->Gelesen();
    anfang = Uhr::now();
    bild->Zoomen(bild->Geometrie().Stufen(), punkt);
    bild->repaint();
    bild->Kacheln()->Abwarten();
    bild->repaint();
    zeiten.push_back(Millisekunden(anfang));
    std::printf("Lupe volle Auflösung (%d x %d Fenster, %d Fotos gelesen): %.0f ms\n",
                bild->width(), bild->height(), bild->Kacheln()->Gelesen() - vorher, zeiten.back());
  }
  std::printf("Lupe, Spitze %.0f MiB, gehalten %.0f MiB\n", SpitzeMiB(),
              static_cast<double>(bild->Kacheln()->GehalteneBytes()) / (1 << 20));

  SpeicherOptionen optionen;
  optionen.Format = kFormatJpeg;
  optionen.Qualitaet = kQualitaet;
  optionen.Pfad = arbeit + "/";
  optionen.Datei = "poster.jpg";
  anfang = Uhr::now();
  const Speicherausgang ausgang = ErgebnisSpeichern(auftrag, assistent.Blendwert(), optionen);
  std::printf("Speichern als JPEG: %.1f s (%s), Spitze %.0f MiB\n", Millisekunden(anfang) / 1000.0,
              ausgang == Speicherausgang::Gespeichert ? "gespeichert" : "nicht gespeichert",
              SpitzeMiB());
  seite->close();
  auftrag.ProgrammEnde = false;
  if (ausgang != Speicherausgang::Gespeichert) return 1;

  // For comparison, the page as it always was: a mosaic within the usual bound, held
  // whole, on the same screen.
  wunsch.grossformat = false;
  wunsch.dpi = 0;
  wunsch.groesse = kVergleich;
  Einrichten(auftrag, wunsch);
  if (lauf.Starten() != Laufausgang::Fertig) return 1;
  anfang = Uhr::now();
  seite->show();
  QApplication::processEvents();
  std::printf("Zum Vergleich ohne Großformat (%d x %d): Ergebnisseite zeigen %.1f ms\n",
              auftrag.Ergebnis->Groesse().width, auftrag.Ergebnis->Groesse().height,
              Millisekunden(anfang));
  regler = 0.0;
  for (int i = 0; i < kReglerSchritte; ++i) {
    anfang = Uhr::now();
    seite->Blenden()->setValue(kReglerStandard + (i % 2 == 0 ? 1 : 0));
    seite->ErgebnisBild()->repaint();
    regler += Millisekunden(anfang);
  }
  std::printf("Zum Vergleich ohne Großformat: Reglerschritt mit Neuzeichnen %.2f ms\n",
              regler / kReglerSchritte);
  seite->close();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication anwendung(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "Aufruf: %s FOTOORDNER VORLAGE ARBEITSORDNER\n", argv[0]);
    return 2;
  }
  tilvendo::ui::AnwendungEinrichten();
  return Ausfuehren(argv[1], argv[2], argv[3]);
}
