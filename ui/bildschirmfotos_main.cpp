// nubo-tilvendo-bildschirmfotos ZIELORDNER: renders every page of the wizard, the help
// popup and the dialogs to PNG files, with a made-up template, albums and a finished
// run, so that anyone can look at the pages without a display (QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <functional>
#include <string>

#include "albums/alben_operationen.h"
#include "albums/album_bearbeitung.h"
#include "engine/sitzung.h"
#include "platform/medien.h"
#include "ui/alben_seite.h"
#include "ui/album_editor_seite.h"
#include "ui/anwendung.h"
#include "ui/assistent.h"
#include "ui/bildschirmfotos_daten.h"
#include "ui/bildschirmfotos_grossformat.h"
#include "ui/bildschirmfotos_seiten.h"
#include "ui/hinweisfenster.h"
#include "ui/medium_name_dialog.h"
#include "ui/qt_benutzer.h"
#include "ui/seite.h"
#include "ui/vorlage_seite.h"

namespace tilvendo::ui {
namespace {

constexpr int kFotosUrlaub = 90;
constexpr int kFotosFamilie = 300;
constexpr int kFotosStick = 40;
const char* const kStickKennung = "1234-ABCD";
const char* const kPlatteKennung = "0A1B-2C3D";

// Media made up for the pictures: the root file system and a USB stick in a folder.
class FotoMedien : public Medien {
 public:
  explicit FotoMedien(std::string stick) : stick_(std::move(stick)) {}

  std::string Einhaengepunkt(std::string_view pfad) const override {
    return pfad.starts_with(stick_) ? stick_ : std::string("/");
  }
  std::string Datentraegerkennung(std::string_view punkt) const override {
    if (punkt == stick_) return kStickKennung;
    return punkt == "/" ? kPlatteKennung : "";
  }
  int Laufwerksklasse(std::string_view pfad) const override {
    return pfad.starts_with(stick_) ? kLaufwerksklasseWechselmedium : kLaufwerksklasseFestplatte;
  }
  std::vector<std::string> Einhaengepunkte() const override { return {"/", stick_}; }

 private:
  std::string stick_;
};

// Says everything on the terminal instead of in boxes, so nothing waits for a click.
class StillerBenutzer : public QtBenutzer {
 public:
  void Warnung(std::string_view text) override {
    std::fprintf(stderr, "Warnung: %.*s\n", static_cast<int>(text.size()), text.data());
  }
  void Information(std::string_view text) override {
    std::fprintf(stderr, "Information: %.*s\n", static_cast<int>(text.size()), text.data());
  }
  wizard::Antwort Frage(std::string_view, bool) override { return wizard::Antwort::Nein; }
  std::string MediumNameErfragen() override { return "Urlaubsstick"; }
};

void AlbumAnlegen(Assistent& assistent, const std::string& name, const std::string& ordner) {
  AlbenZustand& zustand = assistent.auftrag().alben;
  const AlbenKontext kontext = assistent.albenKontext();
  const Bearbeitungsumgebung umgebung{kontext, assistent.medien(), assistent.benutzer(), false};
  AlbumImEditor editor = NeuesAlbumBeginnen(zustand, kontext, assistent.benutzer());
  OrdnerHinzufuegen(umgebung, zustand.AktAlbum, editor.anzahl, ordner);
  editor.name = name;
  AlbumBearbeitungAbschliessen(zustand, kontext, editor);
}

void AlbenSeiteAufnehmen(Fotograf& fotograf, Assistent& assistent, const std::string& familie) {
  AlbenSeite* seite = static_cast<AlbenSeite*>(assistent.SeiteHolen(4));
  seite->show();
  // The album on the stick is selected: its medium shows below the list.
  for (QTreeWidgetItem* eintrag :
       seite->Alben()->findItems(QStringLiteral("Fotos vom Stick"), Qt::MatchExactly)) {
    seite->Alben()->setCurrentItem(eintrag);
  }
  fotograf.Aufnehmen(seite, QStringLiteral("alben"));
  seite->hide();

  // The editor on the chosen album while it scans a big folder, and afterwards.
  AlbenZustand& zustand = assistent.auftrag().alben;
  std::optional<AlbumImEditor> editor =
      AlbumBearbeitenBeginnen(zustand, static_cast<size_t>(zustand.Position("Urlaub")));
  AlbumEditorSeite* editorSeite = seite->Editor();
  BeiModal([&](QWidget*) {
    editorSeite->OrdnerZeigen(familie);
    auto anzeige = assistent.benutzer().scanAnzahl;
    bool aufgenommen = false;
    assistent.benutzer().scanAnzahl = [&, anzeige](int32_t anzahl) {
      if (anzeige) anzeige(anzahl);
      if (!aufgenommen && anzahl >= kFotosFamilie / 2) {
        aufgenommen = true;
        fotograf.Aufnehmen(editorSeite, QStringLiteral("album-bearbeiten-waehrend-suche"));
      }
    };
    editorSeite->HinzufuegenClick();
    assistent.benutzer().scanAnzahl = anzeige;
    fotograf.Aufnehmen(editorSeite, QStringLiteral("album-bearbeiten"));
    editorSeite->MediumNameFrage()->show();
    fotograf.Aufnehmen(editorSeite->MediumNameFrage(), QStringLiteral("medium-name"));
    editorSeite->MediumNameFrage()->hide();
    editorSeite->SchliessenClick();
  });
  editorSeite->Bearbeiten(*editor);
  AlbumBearbeitungAbschliessen(zustand, assistent.albenKontext(), *editor);
  BilderZaehlen(assistent.auftrag());
}

// "neu" on the album page: the editor with a name it cannot take, then the page with the
// new album's figures. The album is deleted again, so the later pages stay as they were.
void NeuesAlbumAufnehmen(Fotograf& fotograf, Assistent& assistent, const std::string& ordner) {
  AlbenSeite* seite = static_cast<AlbenSeite*>(assistent.SeiteHolen(4));
  seite->show();
  AlbumEditorSeite* editor = seite->Editor();
  BeiModal([&](QWidget*) {
    editor->OrdnerZeigen(ordner);
    editor->HinzufuegenClick();
    editor->Albenname()->setText(QStringLiteral("Strand=Meer"));
    fotograf.Aufnehmen(editor, QStringLiteral("album-name-ungueltig"));
    editor->Albenname()->setText(QStringLiteral("Strand"));
    editor->SchliessenClick();
  });
  seite->neuClick();
  fotograf.Aufnehmen(seite, QStringLiteral("alben-nach-neu"));
  seite->loeschenClick();
  Schliessen(assistent, seite);
  BilderZaehlen(assistent.auftrag());
}

int Ausfuehren(const QString& ziel) {
  // Short folder names, so the folder lists of the album pages show them whole.
  QTemporaryDir arbeit(QDir::tempPath() + QStringLiteral("/tv-XXXXXX"));
  const std::string ordner = arbeit.path().toStdString() + "/";
  const std::string vorlage = ordner + "Sonnenuntergang.bmp";
  const std::string stick = ordner + "stick";
  VorlageErzeugen(vorlage);
  FotosErzeugen(ordner + "Bilder/Urlaub", kFotosUrlaub);
  FotosErzeugen(ordner + "Bilder/Familie", kFotosFamilie);
  FotosErzeugen(stick + "/DCIM", kFotosStick);

  StillerBenutzer benutzer;
  FotoMedien medien(stick);
  Startoptionen optionen;
  optionen.seed = 1;
  optionen.albenPfad = ordner + "Alben/";
  Assistent assistent(benutzer, medien, optionen);
  assistent.Vorbereiten();
  Fotograf fotograf(ziel);

  // Page 1, empty and with the template, and its help popup.
  auto* vorlageSeite = static_cast<VorlageSeite*>(assistent.SeiteHolen(1));
  vorlageSeite->show();
  fotograf.Aufnehmen(vorlageSeite, QStringLiteral("vorlage-leer"));
  BeiModal([&](QWidget* dialog) {
    fotograf.Aufnehmen(dialog, QStringLiteral("vorlage-oeffnen"));
    dialog->close();
  });
  vorlageSeite->findChild<QPushButton*>(QStringLiteral("laden"))->click();
  vorlageSeite->VorlageOeffnen(QString::fromStdString(vorlage));
  fotograf.Aufnehmen(vorlageSeite, QStringLiteral("vorlage"));
  vorlageSeite->HilfeKnopf()->click();
  fotograf.MitHilfeAufnehmen(vorlageSeite, assistent.Hilfefenster(),
                             QStringLiteral("vorlage-hilfe"));
  assistent.Hilfefenster()->close();
  Schliessen(assistent, vorlageSeite);

  fotograf.SeiteAufnehmen(assistent, 2, QStringLiteral("zielgroesse"));
  fotograf.SeiteAufnehmen(assistent, 3, QStringLiteral("kachelung"));

  AlbumAnlegen(assistent, "Urlaub", ordner + "Bilder/Urlaub");
  AlbumAnlegen(assistent, "Familie", ordner + "Bilder/Familie");
  AlbumAnlegen(assistent, "Fotos vom Stick", stick + "/DCIM");
  AlbenZustand& zustand = assistent.auftrag().alben;
  const AlbenKontext kontext = assistent.albenKontext();
  AlbumAuswahlUmschalten(zustand, kontext, medien, benutzer, "Familie");
  AlbumAuswahlUmschalten(zustand, kontext, medien, benutzer, "Fotos vom Stick");
  AlbenSeiteAufnehmen(fotograf, assistent, ordner + "Bilder/Familie/");
  NeuesAlbumAufnehmen(fotograf, assistent, ordner + "Bilder/Urlaub/");

  fotograf.SeiteAufnehmen(assistent, 5, QStringLiteral("erweitert"));
  Seite* erweitert = assistent.SeiteHolen(5);
  erweitert->show();
  erweitert->HilfeKnopf()->click();
  fotograf.MitHilfeAufnehmen(erweitert, assistent.Hilfefenster(),
                             QStringLiteral("erweitert-hilfe"));
  assistent.Hilfefenster()->close();
  Schliessen(assistent, erweitert);
  SpaetereSeitenAufnehmen(fotograf, assistent);
  InfoSeiteAufnehmen(fotograf, assistent);
  GrossformatAufnehmen(fotograf, assistent);
  std::printf("%d Bilder geschrieben.\n", fotograf.Anzahl());
  return 0;
}

}  // namespace
}  // namespace tilvendo::ui

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication anwendung(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "Aufruf: %s ZIELORDNER\n", argv[0]);
    return 2;
  }
  tilvendo::ui::AnwendungEinrichten();
  QDir().mkpath(QString::fromLocal8Bit(argv[1]));
  return tilvendo::ui::Ausfuehren(QString::fromLocal8Bit(argv[1]));
}
