#include "ui_test_umgebung.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>

#include "albums/alben_operationen.h"
#include "albums/album_bearbeitung.h"
#include "engine/sitzung.h"
#include "platform/paths.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "ui/anwendung.h"

namespace tilvendo::testing {
namespace {

constexpr int kDialogRuheMs = 300;

}  // namespace

wizard::Antwort SkriptBenutzer::Frage(std::string_view text, bool mitAbbrechen) {
  (void)mitAbbrechen;
  fragen.emplace_back(text);
  if (beiFrage) beiFrage(text);
  if (antworten.empty()) return wizard::Antwort::Nein;
  const wizard::Antwort antwort = antworten.front();
  antworten.pop_front();
  return antwort;
}

std::string SkriptBenutzer::MediumNameErfragen() {
  if (mediennamen.empty()) return {};
  std::string name = mediennamen.front();
  mediennamen.pop_front();
  return name;
}

UiTestUmgebung::UiTestUmgebung(const Medien* medien) {
  Startoptionen optionen;
  optionen.seed = 1;
  optionen.albenPfad = ordner / "alben/";
  assistent_ = std::make_unique<ui::Assistent>(
      benutzer, medien != nullptr ? *medien : systemMedien_, optionen);
  assistent_->Vorbereiten();
}

void DateiImDialog(const std::string& datei,
                   std::function<void(QFileDialog* dialog, QLineEdit* name)> vorher) {
  WennFenster<QFileDialog>(
      [](QFileDialog*) { return true; },
      [datei, vorher = std::move(vorher)](QFileDialog* dialog) {
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name != nullptr);
        if (vorher) vorher(dialog, name);
        dialog->setDirectory(QString::fromStdString(FolderOf(datei)));
        // The dialog reads its folders on a thread of its own and then selects the
        // offered file, which would overwrite a name typed before.
        QTest::qWait(kDialogRuheMs);
        name->clear();
        QTest::keyClicks(name, QString::fromStdString(FileNameOf(datei)));
        QCOMPARE(name->text(), QString::fromStdString(FileNameOf(datei)));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
      });
}

Fotosammlung::Fotosammlung() {
  medien.media["/"] = {"0000-0001", kLaufwerksklasseFestplatte};
  umgebung = std::make_unique<UiTestUmgebung>(&medien);
  vorlage = umgebung->ordner / "vorlage.jpg";
  Bitmap bild = Einfarbig(320, 240, Farbe{200, 40, 40});
  for (int32_t y = 0; y < 240; ++y) {
    for (int32_t x = 0; x < 320; ++x) {
      if (x < 160 || y < 120) WritePixel(bild, x, y, Farbe{40, uint8_t(x / 2), uint8_t(y)});
    }
  }
  WriteTestJpeg(vorlage, bild);

  const std::string fotos = umgebung->ordner / "fotos/";
  CreateFolders(fotos);
  for (int i = 0; i < kSammlungFotos; ++i) {
    const auto stufe = static_cast<uint8_t>(i * 6);
    WriteTestJpeg(fotos + std::to_string(i) + ".jpg",
                  Einfarbig(16, 12, Farbe{stufe, uint8_t(255 - stufe), uint8_t(i % 4 * 60)}));
  }
  Auftrag& auftrag = umgebung->auftrag();
  const AlbenKontext kontext = umgebung->assistent().albenKontext();
  const Bearbeitungsumgebung bearbeitung{kontext, medien, umgebung->benutzer, false};
  AlbumImEditor album = NeuesAlbumBeginnen(auftrag.alben, kontext, umgebung->benutzer);
  QCOMPARE(OrdnerAufnehmen(bearbeitung, auftrag.alben.AktAlbum, fotos), Aufnahme::Aufgenommen);
  AlbumNeuScannen(bearbeitung, auftrag.alben.AktAlbum, album.anzahl);
  album.name = "Fotos";
  AlbumBearbeitungAbschliessen(auftrag.alben, kontext, album);
  BilderZaehlen(auftrag);
  QCOMPARE(auftrag.BilderAnzahl.gesamt, kSammlungFotos);
  QCOMPARE(VorlageLaden(auftrag, vorlage), Vorlagenausgang::Geladen);
}

void Weiter(ui::Seite* seite) {
  QVERIFY(seite->WeiterKnopf()->isEnabled());
  QTest::mouseClick(seite->WeiterKnopf(), Qt::LeftButton);
}

void Tippen(QSpinBox* feld, const QString& text, Qt::Key bestaetigen) {
  feld->setFocus();
  feld->selectAll();
  QTest::keyClicks(feld, text);
  if (bestaetigen != Qt::Key_unknown) QTest::keyClick(feld, bestaetigen);
}

void AufDieMarke(QAbstractButton* knopf) {
  constexpr int kMarke = 8;  // within the mark of every style's radio buttons and check boxes
  QTest::mouseClick(knopf, Qt::LeftButton, Qt::NoModifier, QPoint(kMarke, knopf->height() / 2));
}

std::string OhneStrich(std::string pfad) {
  if (pfad.size() > 1 && pfad.back() == '/') pfad.pop_back();
  return pfad;
}

void LeereBilder(const std::string& ordner, int anzahl) {
  CreateFolders(ordner);
  for (int i = 0; i < anzahl; ++i) WriteWholeFile(ordner + std::to_string(i) + ".jpg", "");
}

void WennModal(std::function<void(QWidget* fenster)> aktion) {
  WennFenster<QWidget>([](QWidget*) { return true; }, std::move(aktion));
}

void UiTestsEinrichten() {
  ui::AnwendungEinrichten();
}

}  // namespace tilvendo::testing
