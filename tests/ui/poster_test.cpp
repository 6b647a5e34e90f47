// A poster through the wizard's windows: a large-format run, the result page looked into
// with the magnifier down to single photos, the list of placed photos, and the poster
// saved as PNG and TIFF, once stopped half-way, which leaves the file saved before as
// it was.
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <cstdlib>
#include <filesystem>

#include "albums/alben_helfer.h"
#include "albums/alben_operationen.h"
#include "albums/album_bearbeitung.h"
#include "engine/berechnungslauf.h"
#include "engine/sitzung.h"
#include "pictures/bilder_laden.h"
#include "pictures/blending.h"
#include "platform/paths.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/test_benutzer.h"
#include "ui/bausteine.h"
#include "ui/ergebnis_seite.h"
#include "ui/seiten_dialog.h"
#include "ui/fortschritt_fenster.h"
#include "ui/lupen_ansicht.h"
#include "ui/seitenfenster.h"
#include "ui/speichern_optionen_seite.h"
#include "ui/uebersicht_seite.h"
#include "ui_test_umgebung.h"

namespace tilvendo::testing {
namespace {

constexpr Size kPoster{4000, 3000};
constexpr Size kKleinesMosaik{2400, 1800};
constexpr int kKachelnX = 40;
constexpr int kKachelnY = 30;

// Types `datei` into the save dialog and confirms it.
void DateiWaehlen(const std::string& datei) {
  DateiImDialog(datei, [](QFileDialog* dialog, QLineEdit*) {
    // Saving over a file asks nothing here: that question is Qt's.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
  });
}

// Catches the photos the result page asks the desktop to open.
class Bildanzeige : public QObject {
  Q_OBJECT
 public slots:
  void Oeffnen(const QUrl& url) { geoeffnet.push_back(url.toLocalFile()); }

 public:
  QStringList geoeffnet;
};

// The photo collection and a large-format run of 4000 × 3000 pixels in 40 × 30 tiles of
// 100 pixels.
struct Poster : Fotosammlung {
  explicit Poster(bool grossformat = true) {
    Auftrag& auftrag = umgebung->auftrag();
    Auftragswunsch wunsch;
    wunsch.grossformat = grossformat;
    wunsch.dpi = grossformat ? 200 : 0;
    wunsch.groesse = grossformat ? kPoster : kKleinesMosaik;
    wunsch.kachelnX = kKachelnX;
    wunsch.kachelnY = kKachelnY;
    Einrichten(auftrag, wunsch);
    Berechnungslauf lauf(auftrag, umgebung->benutzer);
    QCOMPARE(lauf.Starten(), Laufausgang::Fertig);
    QVERIFY(auftrag.Ergebnis != nullptr);
    QCOMPARE(auftrag.Ergebnis->Plan().Grossformat(), grossformat);
  }

  ui::ErgebnisSeite* Ergebnisseite() {
    return static_cast<ui::ErgebnisSeite*>(umgebung->assistent().SeiteHolen(6));
  }

  // Shows the result page in the wizard's window as the overview opens it, runs `aktion`
  // while it waits for the user, and leaves it with "Ende" (which the test takes back).
  void AufDerErgebnisseite(std::function<void(ui::ErgebnisSeite*)> aktion) {
    bool gesehen = false;
    WennFenster<ui::ErgebnisSeite>(
        [](ui::ErgebnisSeite* seite) { return seite->Nummer() == 6; },
        [&](ui::ErgebnisSeite* seite) {
          gesehen = true;
          QCOMPARE(seite->window(), static_cast<QWidget*>(ui::Seitenfenster::Sichtbares()));
          aktion(seite);
          QTest::mouseClick(seite->findChild<QPushButton*>(QStringLiteral("Ende")), Qt::LeftButton);
        });
    Ergebnisseite()->exec();
    QVERIFY(gesehen);
    umgebung->auftrag().ProgrammEnde = false;
  }
};

void Rad(QWidget* ziel, QPoint punkt, int raste) {
  QWheelEvent rad(QPointF(punkt), QPointF(ziel->mapToGlobal(punkt)), QPoint(),
                  QPoint(0, raste * wizard::kRadRaste), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
  QApplication::sendEvent(ziel, &rad);
}

// `mosaik` with `vorlage` laid over it, the mosaic weighing `a` of 255.
Farbe Gemischt(Farbe mosaik, Farbe vorlage, uint8_t a) {
  const auto kanal = [a](uint8_t m, uint8_t t) { return uint8_t((m * a + t * (255 - a)) / 255); };
  return Farbe{kanal(mosaik.blue, vorlage.blue), kanal(mosaik.green, vorlage.green),
               kanal(mosaik.red, vorlage.red)};
}

bool Nahe(QColor ist, Farbe soll, int abstand) {
  return std::abs(ist.red() - soll.red) <= abstand &&
         std::abs(ist.green() - soll.green) <= abstand &&
         std::abs(ist.blue() - soll.blue) <= abstand;
}

QStringList Dateien(const std::string& ordner) {
  return QDir(QString::fromStdString(ordner)).entryList(QDir::Files | QDir::Hidden);
}

}  // namespace

class PosterTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { UiTestsEinrichten(); }

  // Then another tiling is set up and its run cancelled: the magnifier still shows the
  // run's poster.
  void TheMagnifierLooksIntoThePosterDownToSinglePhotos() {
    Poster poster;
    Auftrag& auftrag = poster.umgebung->auftrag();
    const Bitmap bildschirmkopie = auftrag.Ergebnis->AnzeigeBild().Clone();
    ui::LupenAnsicht* bild = nullptr;
    poster.AufDerErgebnisseite([&](ui::ErgebnisSeite* seite) {
      QVERIFY(QTest::qWaitForWindowExposed(seite->window()));
      bild = seite->ErgebnisBild();
      QCOMPARE(bild->size(), QSize(bildschirmkopie.width(), bildschirmkopie.height()));
      QVERIFY(
          seite->BildGruppe()->title().endsWith(QStringLiteral("(4000 x 3000 Pixel) skaliert")));
      QVERIFY(!bild->Geometrie().Vergroessert());
      QVERIFY(seite->SpeichernKnopf()->isEnabled());

      // The slider blends the page's own picture; the run's screen copy stays unblended,
      // so the next showing blends the mosaic, not an earlier blend.
      const int32_t vorher = seite->Anzeige().Blendungen();
      seite->Blenden()->setValue(-10);
      QCOMPARE(seite->Anzeige().Blendungen(), vorher + 1);
      QCOMPARE(std::memcmp(auftrag.Ergebnis->AnzeigeBild().data(), bildschirmkopie.data(),
                           bildschirmkopie.byteSize()),
               0);
      seite->Blenden()->setValue(-15);

      // Shown whole, no photo is named.
      const QPoint mitte(bild->width() / 2, bild->height() / 2);
      QTest::mouseMove(bild, mitte);
      QCOMPARE(seite->Statuszeile()->GanzerText(), QString());
      // A notch of the wheel at the middle; once tiles are large enough to make out, their
      // photos are read and named.
      Rad(bild, mitte, 1);
      QVERIFY(bild->Geometrie().Vergroessert());
      QTest::mouseMove(bild, mitte + QPoint(1, 0));
      const bool zuerkennen = bild->Geometrie().Massstab() * 100 >= wizard::kMindestKachelImFenster;
      QCOMPARE(seite->Statuszeile()->GanzerText().isEmpty(), !zuerkennen);
      Rad(bild, mitte, 1);
      QCOMPARE(bild->Geometrie().Stufe(), 2);
      bild->repaint();
      bild->Kacheln()->Abwarten();
      QVERIFY(bild->Kacheln()->Gelesen() > 0);

      // Down to the full resolution: a tile of 100 pixels shows its photo, the template
      // laid over it at 25 %.
      Rad(bild, mitte, 10);
      QCOMPARE(bild->Geometrie().Massstab(), 1.0);
      // The header says the scale shown, not the one of the whole picture.
      QCOMPARE(seite->BildGruppe()->title(),
               QStringLiteral("Fotomosaik ist auf 100,00% der Originalgröße (4000 x 3000 Pixel) "
                              "skaliert"));
      bild->repaint();
      bild->Kacheln()->Abwarten();
      QApplication::processEvents();
      const wizard::Punkt imMosaik = bild->Geometrie().ImMosaik(wizard::Punkt{50, 50});
      const auto zelle = wizard::ZelleBei(imMosaik, bild->Kacheln()->Raster());
      QVERIFY(zelle.has_value());
      const wizard::Punkt ecke = bild->Geometrie().ImFenster(
          wizard::Punkt{(zelle->x - 1) * 100.0, (zelle->y - 1) * 100.0});
      const QPoint kachelMitte(int(ecke.x) + 50, int(ecke.y) + 50);
      const std::string datei = bild->Kacheln()->DateiIn(*zelle);
      QVERIFY(!datei.empty());
      Bitmap foto;
      QVERIFY(LoadWholePicture(foto, datei));
      const Farbe fotoFarbe = ReadPixel(foto, 8, 6);
      const wizard::Punkt vorlagenOrt = bild->Geometrie().ImMosaik(
          wizard::Punkt{double(kachelMitte.x()), double(kachelMitte.y())});
      const Farbe vorlagenFarbe = ReadPixel(auftrag.VorlageBild, int(vorlagenOrt.x * 320 / 4000),
                                            int(vorlagenOrt.y * 240 / 3000));
      const Farbe erwartet = Gemischt(fotoFarbe, vorlagenFarbe, BlendwertAusRegler(-15));
      const QColor gezeigt = bild->grab().toImage().pixelColor(kachelMitte);
      QVERIFY2(Nahe(gezeigt, erwartet, 12), qPrintable(gezeigt.name()));

      // Over the tile the status line names its photo; a double click opens it.
      QTest::mouseMove(bild, kachelMitte);
      QCOMPARE(seite->Statuszeile()->GanzerText(),
               QStringLiteral("Foto: ") + QString::fromStdString(datei));
      Bildanzeige anzeige;
      QDesktopServices::setUrlHandler(QStringLiteral("file"), &anzeige, "Oeffnen");
      QTest::mouseDClick(bild, Qt::LeftButton, Qt::NoModifier, kachelMitte);
      QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
      QCOMPARE(anzeige.geoeffnet, QStringList{QString::fromStdString(datei)});
      QCOMPARE(bild->Geometrie().Massstab(), 1.0);
      // Without a program for photos (as here, without a desktop) the status line says so.
      QTest::mouseDClick(bild, Qt::LeftButton, Qt::NoModifier, kachelMitte);
      QCOMPARE(seite->Statuszeile()->GanzerText(),
               QStringLiteral("Es wurde kein Programm zum Anzeigen von Fotos gefunden. Das Foto "
                              "liegt unter: ") +
                   QString::fromStdString(datei));

      // Dragging moves the part shown with the hand.
      const double links = bild->Geometrie().Sichtbar().links;
      QTest::mousePress(bild, Qt::LeftButton, Qt::NoModifier, mitte);
      QTest::mouseMove(bild, mitte + QPoint(-30, 0));
      QTest::mouseMove(bild, mitte + QPoint(-60, 0));
      QTest::mouseRelease(bild, Qt::LeftButton, Qt::NoModifier, mitte + QPoint(-60, 0));
      QCOMPARE(bild->Geometrie().Sichtbar().links, links + 60);
      QCOMPARE(bild->Geometrie().Massstab(), 1.0);  // a drag is no click

      // With the magnifier on, a click zooms in and a right click out; off, neither.
      Rad(bild, mitte, -100);
      QVERIFY(!bild->Geometrie().Vergroessert());
      QCOMPARE(seite->Statuszeile()->GanzerText(), QString());
      QTest::mouseClick(bild, Qt::LeftButton, Qt::NoModifier, mitte);
      QVERIFY(!bild->Geometrie().Vergroessert());
      QTest::mouseClick(seite->LupeKnopf(), Qt::LeftButton);
      QVERIFY(seite->LupeKnopf()->isChecked());
      QTest::mouseClick(bild, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
      QTest::mouseClick(bild, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
      QCOMPARE(bild->Geometrie().Stufe(), 2);
      QTest::mouseClick(bild, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
      QCOMPARE(bild->Geometrie().Stufe(), 1);
      QTest::mouseClick(seite->LupeKnopf(), Qt::LeftButton);
    });

    // Closing the page lets the workers go; showing it again starts whole, from the run's
    // screen copy as it was.
    QVERIFY(bild != nullptr);
    QVERIFY(bild->Kacheln() == nullptr);
    poster.AufDerErgebnisseite([&](ui::ErgebnisSeite* seite) {
      QVERIFY(!seite->ErgebnisBild()->Geometrie().Vergroessert());
      QCOMPARE(std::memcmp(auftrag.Ergebnis->AnzeigeBild().data(), bildschirmkopie.data(),
                           bildschirmkopie.byteSize()),
               0);
    });

    // The photo of every cell as the run placed it, column by column.
    std::vector<std::string> platziert;
    for (int x = 1; x <= kKachelnX; ++x) {
      for (int y = 1; y <= kKachelnY; ++y) {
        const int32_t bild = auftrag.einstellungen.Raster->at(x, y).Bild;
        platziert.push_back(bild < 0 ? std::string()
                                     : auftrag.Dateiliste[static_cast<size_t>(bild)]);
      }
    }

    // The user sets up another mosaic: another tiling and size, and a run of it that is
    // cancelled while it composes, when its grid and file list are its own.
    Auftragswunsch anders;
    anders.grossformat = true;
    anders.dpi = 300;
    anders.groesse = Size{3000, 2250};
    anders.kachelnX = 15;
    anders.kachelnY = 10;
    Einrichten(auftrag, anders);
    TestBenutzer benutzer;
    benutzer.beimEreignis = [&](int32_t) {
      if (auftrag.PhasenZeiten[Phase::Zusammenstellen].beginn > 0) auftrag.Abbruch = true;
    };
    Berechnungslauf lauf(auftrag, benutzer);
    QCOMPARE(lauf.Starten(), Laufausgang::Abgebrochen);
    QCOMPARE(auftrag.einstellungen.Raster->kachelnX(), 15);

    poster.AufDerErgebnisseite([&](ui::ErgebnisSeite* seite) {
      QVERIFY(
          seite->BildGruppe()->title().endsWith(QStringLiteral("(4000 x 3000 Pixel) skaliert")));
      ui::LupenAnsicht* bild = seite->ErgebnisBild();
      Rad(bild, QPoint(bild->width() / 2, bild->height() / 2), 100);
      QCOMPARE(bild->Geometrie().Massstab(), 1.0);
      const wizard::Mosaikraster& raster = bild->Kacheln()->Raster();
      QCOMPARE(raster.kachelnX, kKachelnX);
      QCOMPARE(raster.kachelnY, kKachelnY);
      QCOMPARE(raster.kachel, (Size{100, 100}));
      for (int x = 1; x <= kKachelnX; ++x) {
        for (int y = 1; y <= kKachelnY; ++y) {
          QCOMPARE(bild->Kacheln()->DateiIn(Zellort{x, y}),
                   platziert[static_cast<size_t>((x - 1) * kKachelnY + (y - 1))]);
        }
      }
      // Over a tile the status line names the run's photo there.
      const QPoint mitte(bild->width() / 2, bild->height() / 2);
      const auto zelle = wizard::ZelleBei(
          bild->Geometrie().ImMosaik(wizard::Punkt{double(mitte.x()), double(mitte.y())}), raster);
      QVERIFY(zelle.has_value());
      QTest::mouseMove(bild, mitte);
      QCOMPARE(
          seite->Statuszeile()->GanzerText(),
          QStringLiteral("Foto: ") +
              QString::fromStdString(
                  platziert[static_cast<size_t>((zelle->x - 1) * kKachelnY + (zelle->y - 1))]));
    });
    // That the poster saved now is the run's, byte for byte, the session's tests show.
    QVERIFY(poster.umgebung->benutzer.warnungen.empty());
  }

  void AMosaicHeldWholeIsMagnifiedFromItsOwnPixels() {
    Poster klein(false);
    Auftrag& auftrag = klein.umgebung->auftrag();
    // The size page changed after the run: the caption names the mosaic's own size.
    auftrag.einstellungen.ZielBreite = 1000;
    auftrag.einstellungen.ZielHoehe = 750;
    klein.AufDerErgebnisseite([&](ui::ErgebnisSeite* seite) {
      QVERIFY(QTest::qWaitForWindowExposed(seite->window()));
      QVERIFY2(
          seite->BildGruppe()->title().endsWith(QStringLiteral("(2400 x 1800 Pixel) skaliert")),
          qPrintable(seite->BildGruppe()->title()));
      ui::LupenAnsicht* bild = seite->ErgebnisBild();
      const QPoint punkt(bild->width() / 3, bild->height() / 3);
      Rad(bild, punkt, 100);
      QCOMPARE(bild->Geometrie().Massstab(), 1.0);
      bild->repaint();
      QApplication::processEvents();
      // Nothing is read: the mosaic's own pixels, with the template laid over them.
      QCOMPARE(bild->Kacheln()->Gelesen(), 0);
      const wizard::Punkt ort =
          bild->Geometrie().ImMosaik(wizard::Punkt{double(punkt.x()), double(punkt.y())});
      const Farbe mosaik = ReadPixel(auftrag.Ergebnis->Stellvertreter(), int(ort.x), int(ort.y));
      const Farbe vorlage =
          ReadPixel(auftrag.VorlageBild, int(ort.x * 320 / 2400), int(ort.y * 240 / 1800));
      const Farbe erwartet = Gemischt(mosaik, vorlage, BlendwertAusRegler(-15));
      const QColor gezeigt = bild->grab().toImage().pixelColor(punkt);
      QVERIFY2(Nahe(gezeigt, erwartet, 12), qPrintable(gezeigt.name()));
      // The photo is named as on a poster.
      QTest::mouseMove(bild, punkt);
      QVERIFY(seite->Statuszeile()->GanzerText().startsWith(QStringLiteral("Foto: ")));
    });
  }

  void WithoutAResultThereIsNothingToSaveOrList() {
    UiTestUmgebung umgebung;
    auto* seite = static_cast<ui::ErgebnisSeite*>(umgebung.assistent().SeiteHolen(6));
    bool gesehen = false;
    WennFenster<ui::ErgebnisSeite>([](ui::ErgebnisSeite*) { return true; },
                                   [&](ui::ErgebnisSeite* offen) {
                                     gesehen = true;
                                     QVERIFY(!offen->SpeichernKnopf()->isEnabled());
                                     QVERIFY(!offen->ListeKnopf()->isEnabled());
                                     QVERIFY(!offen->Speicherhinweis()->isVisible());
                                     offen->close();
                                   });
    seite->exec();
    QVERIFY(gesehen);
  }

  // "Als Webseite speichern …": the page and its folder, the photos' names left out when
  // the user says so, and the page offered to the browser.
  void SavedAsAWebPageWithoutNamesAndOpened() {
    Poster poster;
    poster.AufDerErgebnisseite([&](ui::ErgebnisSeite* seite) {
      QVERIFY(seite->WebseiteKnopf()->isEnabled());
      const std::string ziel = poster.umgebung->ordner / "seite.html";
      DateiWaehlen(poster.umgebung->ordner / "seite");
      WennFenster<QMessageBox>(
          [](QMessageBox* frage) { return frage->text().contains(QStringLiteral("Namen")); },
          [](QMessageBox* frage) { frage->button(QMessageBox::No)->click(); });
      WennFenster<QMessageBox>(
          [](QMessageBox* frage) { return frage->text().contains(QStringLiteral("Browser")); },
          [](QMessageBox* frage) { frage->button(QMessageBox::Yes)->click(); });
      Bildanzeige anzeige;
      QDesktopServices::setUrlHandler(QStringLiteral("file"), &anzeige, "Oeffnen");
      QTest::mouseClick(seite->WebseiteKnopf(), Qt::LeftButton);
      QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
      QCOMPARE(anzeige.geoeffnet, QStringList{QString::fromStdString(ziel)});
      QVERIFY(std::filesystem::exists(poster.umgebung->ordner / "seite_dateien/kacheln/0/0/0.jpg"));
      QVERIFY(!std::filesystem::exists(poster.umgebung->ordner / "seite_dateien/platzierung.js"));
      QVERIFY(poster.umgebung->benutzer.warnungen.empty());
    });
  }

  // One poster's result page: its placement list, its sheets, a disk too full for it, and
  // the poster saved as TIFF, once stopped half-way.
  void SavedAsListSheetsAndTiffAndStoppedHalfWay() {
    Poster poster;
    Auftrag& auftrag = poster.umgebung->auftrag();
    const std::string& ort = poster.umgebung->ordner.path();
    std::vector<std::string>& warnungen = poster.umgebung->benutzer.warnungen;
    poster.AufDerErgebnisseite([&](ui::ErgebnisSeite* seite) {
      QVERIFY(seite->ListeKnopf()->isEnabled());
      DateiWaehlen(ort + "liste");
      QTest::mouseClick(seite->ListeKnopf(), Qt::LeftButton);
      const std::string text = ReadWholeFile(ort + "liste.csv");
      QVERIFY(text.starts_with("\xEF\xBB\xBFSpalte;Zeile;Foto\n1;1;"));
      QCOMPARE(std::count(text.begin(), text.end(), '\n'), kKachelnX * kKachelnY + 1);
      QCOMPARE(seite->Statuszeile()->GanzerText(),
               QString::fromStdString("Platzierungsliste gespeichert: " + ort + "liste.csv"));
      // A folder that is not there: the user is told, nothing else happens.
      QVERIFY(!seite->ListeSpeichern(QString::fromStdString(ort + "fehlt/x.csv")));
      QCOMPARE(warnungen.size(), size_t{1});
      QVERIFY(warnungen[0].starts_with("Die Platzierungsliste konnte nicht gespeichert werden: "));
      warnungen.clear();

      // "Auf Seiten drucken …": the dialog says the sheets of the poster's paper.
      QVERIFY(seite->SeitenKnopf()->isEnabled());
      QString angabe;
      WennFenster<ui::SeitenDialog>([](ui::SeitenDialog* dialog) { return dialog->isVisible(); },
                                    [&](ui::SeitenDialog* dialog) {
                                      angabe = dialog->Angabe();
                                      dialog->accept();
                                    });
      DateiWaehlen(ort + "blaetter");
      QTest::mouseClick(seite->SeitenKnopf(), Qt::LeftButton);
      QVERIFY2(angabe.contains(QStringLiteral("Blätter")), qPrintable(angabe));
      QVERIFY(ReadWholeFile(ort + "blaetter.pdf").starts_with("%PDF-"));
      QVERIFY(warnungen.empty());
    });

    // A full disk is told before anything is composed; the options page stays open for
    // another place.
    const std::string voll = ort + "voll/";
    CreateFolders(voll);
    auto* optionenSeite =
        static_cast<ui::SpeichernOptionenSeite*>(poster.umgebung->assistent().SeiteHolen(10));
    optionenSeite->PlatzAbfrageSetzen([](const std::string&) { return uint64_t{1000000}; });
    poster.AufDerErgebnisseite([&](ui::ErgebnisSeite* seite) {
      // Shown again, the page starts without the earlier word.
      QCOMPARE(seite->Statuszeile()->GanzerText(), QString());
      WennSeite<ui::SpeichernOptionenSeite>(10, [&](ui::SpeichernOptionenSeite* optionen) {
        AufDieMarke(optionen->TiffKnopf());
        DateiWaehlen(voll + "poster");
        QTest::mouseClick(optionen->SpeichernKnopf(), Qt::LeftButton);
        QVERIFY(optionen->isVisible());
        QTest::mouseClick(optionen->AbbrechenKnopf(), Qt::LeftButton);
      });
      QTest::mouseClick(seite->SpeichernKnopf(), Qt::LeftButton);
      QCOMPARE(warnungen.size(), size_t{1});
      QVERIFY(warnungen[0].find("sind nur noch 1,0 MB frei") != std::string::npos);
      QVERIFY(Dateien(voll).isEmpty());
      QVERIFY(!seite->Speicherhinweis()->isVisible());
      warnungen.clear();
    });
    optionenSeite->PlatzAbfrageSetzen({});

    const std::string ordner = ort + "ausgabe/";
    CreateFolders(ordner);
    poster.AufDerErgebnisseite([&](ui::ErgebnisSeite* seite) {
      QVERIFY(!seite->Speicherhinweis()->isVisible());
      // TIFF: the exact size, no quality; then the file, whole.
      QString tiffGroesse;
      Speichern(
          seite,
          [&tiffGroesse](ui::SpeichernOptionenSeite* optionen) {
            AufDieMarke(optionen->TiffKnopf());
            QVERIFY(!optionen->Qualitaet()->isEnabled());
            QVERIFY(!optionen->Farbtiefe()->isEnabled());
            // While the preview is made the page is painted and says it is busy.
            QString beschaeftigt;
            bool knopfFrei = true;
            QTimer::singleShot(0, optionen, [&beschaeftigt, &knopfFrei, optionen] {
              beschaeftigt = optionen->Dateigroesse()->text();
              knopfFrei = optionen->VorschauKnopf()->isEnabled();
            });
            QTest::mouseClick(optionen->VorschauKnopf(), Qt::LeftButton);
            QCOMPARE(beschaeftigt, QStringLiteral("Die Vorschau wird berechnet …"));
            QVERIFY(!knopfFrei);
            QVERIFY(optionen->VorschauKnopf()->isEnabled());
            QVERIFY(optionen->VorschauGruppe()->isVisible());
            tiffGroesse = optionen->Dateigroesse()->text();
          },
          ordner + "poster");
      // The pixels and what a TIFF needs around them at most: a few bytes more than the
      // file.
      QVERIFY2(tiffGroesse.startsWith(QStringLiteral("voraussichtliche Dateigröße: 34,3")),
               qPrintable(tiffGroesse));
      QCOMPARE(ReadWholeFile(ordner + "poster.tif").size() / 10000, size_t{3600});
      QCOMPARE(auftrag.analyse.ErgebnisGespeichert, uint8_t{1});
      Bitmap gelesen;
      QVERIFY(LoadWholePicture(gelesen, ordner + "poster.tif"));
      QCOMPARE(gelesen.width(), kPoster.width);
      QCOMPARE(gelesen.height(), kPoster.height);
      // The page names the file.
      QVERIFY(seite->Speicherhinweis()->isVisible());
      QCOMPARE(seite->Speicherhinweis()->GanzerText(),
               QString::fromStdString("gespeichert: " + ordner + "poster.tif"));
      const std::string tiff = ReadWholeFile(ordner + "poster.tif");

      // Stopped half-way over the TIFF: the file stays as it was, nothing else is left,
      // and the page no longer calls the mosaic saved.
      auftrag.analyse.ErgebnisGespeichert = 0;
      bool abgebrochen = false;
      WennFenster<ui::FortschrittFenster>(
          // Until the file is released the button takes the click, however late.
          [](ui::FortschrittFenster* fenster) {
            return fenster->Balken() != nullptr && fenster->Balken()->value() > 0 &&
                   fenster->AbbrechenKnopf()->isEnabled();
          },
          [&abgebrochen, seite](ui::FortschrittFenster* fenster) {
            // Over the wizard's window, which shows the result page meanwhile.
            QVERIFY(fenster->isModal());
            const ui::Seitenfenster* assistent = ui::Seitenfenster::Sichtbares();
            QVERIFY(assistent != nullptr);
            QCOMPARE(fenster->parentWidget(), static_cast<const QWidget*>(assistent));
            QCOMPARE(assistent->AktuelleSeite(), static_cast<ui::Seite*>(seite));
            QVERIFY(seite->isVisible());
            abgebrochen = true;
            QTest::mouseClick(fenster->AbbrechenKnopf(), Qt::LeftButton);
          });
      seite->Blenden()->setValue(-5);  // another picture than the one saved
      Speichern(
          seite,
          [](ui::SpeichernOptionenSeite* optionen) {
            AufDieMarke(optionen->TiffKnopf());
          },
          ordner + "poster");
      QVERIFY(abgebrochen);
      QCOMPARE(auftrag.analyse.ErgebnisGespeichert, uint8_t{0});
      QVERIFY(!seite->Speicherhinweis()->isVisible());
      QVERIFY(ReadWholeFile(ordner + "poster.tif") == tiff);
      QCOMPARE(Dateien(ordner), QStringList{QStringLiteral("poster.tif")});
      // A stopped save is never offered: the file written before still is.
      QCOMPARE(poster.umgebung->assistent().ZuletztGespeichert(), ordner + "poster.tif");
      QVERIFY(poster.umgebung->benutzer.warnungen.empty());
    });
  }

 private:
  // Saves from the result page: `waehlen` sets the options, then the file is named.
  static void Speichern(ui::ErgebnisSeite* seite,
                        std::function<void(ui::SpeichernOptionenSeite*)> waehlen,
                        const std::string& datei) {
    WennSeite<ui::SpeichernOptionenSeite>(
        10, [waehlen, datei](ui::SpeichernOptionenSeite* optionen) {
          waehlen(optionen);
          DateiWaehlen(datei);
          QTest::mouseClick(optionen->SpeichernKnopf(), Qt::LeftButton);
        });
    QTest::mouseClick(seite->SpeichernKnopf(), Qt::LeftButton);
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::PosterTest)
#include "poster_test.moc"
