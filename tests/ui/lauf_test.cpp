// A mosaic through the wizard's windows, from the template to the saved file; runs
// cancelled with "abbrechen" or left unfinished keep what was there before.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "albums/alben_helfer.h"
#include "albums/alben_operationen.h"
#include "albums/album_bearbeitung.h"
#include "engine/berechnungslauf.h"
#include "engine/fortschritt.h"
#include "engine/sitzung.h"
#include "pictures/bilder_laden.h"
#include "pictures/blending.h"
#include "platform/paths.h"
#include "platform/pixel.h"
#include "support/bild_dateien.h"
#include "support/temp_folder.h"
#include "ui/bausteine.h"
#include "ui/ergebnis_seite.h"
#include "ui/lupen_ansicht.h"
#include "ui/malfeld.h"
#include "ui/seite.h"
#include "ui/seitenfenster.h"
#include "ui/speichern_optionen_seite.h"
#include "ui/uebersicht_seite.h"
#include "ui_test_umgebung.h"
#include "wizard/ergebnis_seite.h"
#include "wizard/fensterlage.h"
#include "wizard/uebersicht_seite.h"

namespace tilvendo::testing {
namespace {

// The job set up for `kachelnX` × `kachelnY` tiles, the wizard to start on the overview.
void AufDerUebersicht(Auftrag& auftrag, int32_t kachelnX, int32_t kachelnY) {
  Auftragswunsch wunsch;
  wunsch.kachelnX = kachelnX;
  wunsch.kachelnY = kachelnY;
  Einrichten(auftrag, wunsch);
  auftrag.AktSeite = kSeiteUebersicht;
}

// Where a page was seen: the window it was shown in, that window's place and size, and
// the size the page asks for.
struct Anblick {
  int seite = 0;
  QWidget* fenster = nullptr;
  WId kennung = 0;
  QPoint lage;
  QSize groesse;
  QSize rahmen;
  QSize wunsch;
  QSize mindest;  // what the page's controls need
};

Anblick Ansehen(ui::Seite* seite) {
  QWidget* fenster = seite->window();
  return Anblick{seite->Nummer(),
                 fenster,
                 fenster->winId(),
                 fenster->pos(),
                 fenster->size(),
                 fenster->frameGeometry().size(),
                 seite->Wunschgroesse().expandedTo(fenster->minimumSizeHint()),
                 fenster->minimumSizeHint()};
}

// Every page in one window that never changes its place nor its size, the largest page's;
// the result page alone may take more room, towards the screen's edges from where the
// window stands.
void EinFensterPruefen(const std::vector<Anblick>& anblicke) {
  QVERIFY(!anblicke.empty());
  const Anblick& erster = anblicke.front();
  QVERIFY(qobject_cast<ui::Seitenfenster*>(erster.fenster) != nullptr);
  const QRect frei = erster.fenster->screen()->availableGeometry();
  for (const Anblick& a : anblicke) {
    QCOMPARE(a.fenster, erster.fenster);
    QCOMPARE(a.kennung, erster.kennung);
    QCOMPARE(a.lage, erster.lage);
    QVERIFY(a.groesse.width() >= a.wunsch.width() || a.seite == 6);
    QVERIFY(a.groesse.height() >= a.wunsch.height() || a.seite == 6);
    if (a.seite == 6) {
      // More room, never less, and all of it on the screen.
      QVERIFY(a.groesse.width() >= erster.groesse.width());
      QVERIFY(a.groesse.height() >= erster.groesse.height());
      QVERIFY(frei.contains(QRect(a.lage, a.rahmen)));
    } else {
      QCOMPARE(a.groesse, erster.groesse);
    }
  }
}

// What the save dialog offered.
struct Angebot {
  QString ordner;
  QString datei;
};

// "Speichern" on the result page, JPEG, file `name` in `ordner` typed into the dialog
// (which asks before it replaces a file: `ersetzen` says there is one). A name the page
// refuses (`abgelehnt`) leaves it open, and it is cancelled.
Angebot SpeichernAls(ui::ErgebnisSeite* seite, const std::string& ordner, const std::string& name,
                     bool ersetzen = false, bool abgelehnt = false) {
  Angebot angebot;
  WennSeite<ui::SpeichernOptionenSeite>(10, [&](ui::SpeichernOptionenSeite* optionen) {
    AufDieMarke(optionen->JpegKnopf());
    DateiImDialog(ordner + name, [&](QFileDialog* dialog, QLineEdit* zeile) {
      angebot = Angebot{dialog->directory().absolutePath() + QLatin1Char('/'), zeile->text()};
      if (ersetzen) {
        WennFenster<QMessageBox>(
            [](QMessageBox*) { return true; },
            [](QMessageBox* frage) { frage->button(QMessageBox::Yes)->click(); });
      }
    });
    QTest::mouseClick(optionen->SpeichernKnopf(), Qt::LeftButton);
    if (abgelehnt) {
      QVERIFY(optionen->isVisible());
      QTest::mouseClick(optionen->AbbrechenKnopf(), Qt::LeftButton);
    }
  });
  QTest::mouseClick(seite->SpeichernKnopf(), Qt::LeftButton);
  return angebot;
}

// The overview after a run that did not complete: the earlier mosaic with its entry and
// durations as they were, still not saved.
void FruehereBerechnungPruefen(ui::UebersichtSeite* seite, const uint8_t* mosaik,
                               const std::array<double, kLaufzeitenAnzahl>& dauern) {
  const Auftrag& auftrag = seite->auftrag();
  QVERIFY(!seite->Laeuft());
  QVERIFY(!seite->HGFortschritt()->isVisible());
  QCOMPARE(seite->Uebersicht()->count(), 6);
  QVERIFY(auftrag.Ergebnis != nullptr);
  QCOMPARE(auftrag.Ergebnis->Stellvertreter().data(), mosaik);
  QVERIFY(!auftrag.Ergebnis->AnzeigeBild().empty());
  QVERIFY(auftrag.Laufzeiten == dauern);
  QCOMPARE(auftrag.analyse.ErgebnisGespeichert, uint8_t{0});
  seite->Uebersicht()->setCurrentRow(wizard::kEintragLetzteBerechnung);
  QCOMPARE(seite->InfoFeld()->item(4)->text(),
           QStringLiteral("Gesamtdauer: ") + QString::fromStdString(DauerText(dauern[4])));
}

}  // namespace

class LaufTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { UiTestsEinrichten(); }

  void VonDerVorlageBisZurGespeichertenDatei() {
    Fotosammlung sammlung;
    UiTestUmgebung& umgebung = *sammlung.umgebung;
    Auftrag& auftrag = umgebung.auftrag();
    const std::string datei = umgebung.ordner / "mosaik";
    umgebung.benutzer.antworten = {wizard::Antwort::Ja};  // "wirklich verlassen ?"
    std::vector<int> gezeigt;
    std::vector<Anblick> anblicke;
    const auto merken = [&](ui::Seite* seite) {
      gezeigt.push_back(seite->Nummer());
      anblicke.push_back(Ansehen(seite));
    };
    // The question is asked over the page the user left, still in view.
    umgebung.benutzer.beiFrage = [&](std::string_view) {
      const ui::Seitenfenster* fenster = ui::Seitenfenster::Sichtbares();
      QVERIFY(fenster != nullptr);
      QVERIFY(fenster->AktuelleSeite() != nullptr);
      QCOMPARE(fenster->AktuelleSeite()->Nummer(), 6);
      QVERIFY(fenster->AktuelleSeite()->isVisible());
    };

    WennSeite<ui::Seite>(1, [&](ui::Seite* seite) {
      merken(seite);
      WennSeite<ui::Seite>(2, [&](ui::Seite* seite) {
        merken(seite);
        WennSeite<ui::Seite>(3, [&](ui::Seite* seite) {
          merken(seite);
          seite->findChild<QSpinBox*>(QStringLiteral("KachelnXR"))->setValue(20);
          seite->findChild<QSpinBox*>(QStringLiteral("KachelnYR"))->setValue(15);
          WennSeite<ui::Seite>(4, [&](ui::Seite* seite) {
            merken(seite);
            WennSeite<ui::Seite>(5, [&](ui::Seite* seite) {
              merken(seite);
              WennSeite<ui::UebersichtSeite>(7, [&](ui::UebersichtSeite* seite) {
                merken(seite);
                UebersichtPruefenUndStarten(seite);
              });
              Weiter(seite);
            });
            Weiter(seite);
          });
          Weiter(seite);
        });
        Weiter(seite);
      });
      Weiter(seite);
    });
    WennSeite<ui::ErgebnisSeite>(6, [&](ui::ErgebnisSeite* seite) {
      merken(seite);
      ErgebnisBlendenUndSpeichern(seite, datei);
      NachDemSpeichern(seite, umgebung);
    });
    umgebung.assistent().Seitenlauf();

    QCOMPARE(gezeigt, (std::vector<int>{1, 2, 3, 4, 5, 7, 6}));
    EinFensterPruefen(anblicke);
    // The result page takes the size its picture gives, where the controls leave room.
    const QSize regel(std::max(auftrag.Ergebnis->AnzeigeBild().width() + kRahmenBreite,
                               wizard::kErgebnisMindestBreite),
                      auftrag.Ergebnis->AnzeigeBild().height() + kRahmenHoehe);
    QCOMPARE(anblicke.back().seite, 6);
    QCOMPARE(anblicke.back().groesse,
             anblicke.front().groesse.expandedTo(regel).expandedTo(anblicke.back().mindest));
    // The program ended: the window is gone, the pages are windows of their own again.
    QVERIFY(!anblicke.front().fenster->isVisible());
    QVERIFY(ui::Seitenfenster::Sichtbares() == nullptr);
    QCOMPARE(umgebung.benutzer.fragen,
             std::vector<std::string>{"Wollen Sie das Programm wirklich verlassen ?"});
    Bitmap gespeichert;
    QVERIFY(LoadWholePicture(gespeichert, datei + ".jpg"));
    QCOMPARE(gespeichert.width(),
             KachelBreite(auftrag.einstellungen) * auftrag.einstellungen.KachelnX);
    QCOMPARE(gespeichert.height(),
             KachelHoehe(auftrag.einstellungen) * auftrag.einstellungen.KachelnY);
  }

  void EinUnfertigerLaufLaesstDasFruehereMosaikStehen() {
    Fotosammlung sammlung;
    UiTestUmgebung& umgebung = *sammlung.umgebung;
    Auftrag& auftrag = umgebung.auftrag();
    AufDerUebersicht(auftrag, 20, 15);
    umgebung.benutzer.antworten = {wizard::Antwort::Nein};  // leave without saving
    const uint8_t* mosaik = nullptr;
    std::array<double, kLaufzeitenAnzahl> dauern{};
    bool geprueft = false;

    WennSeite<ui::UebersichtSeite>(7, [&](ui::UebersichtSeite* seite) {
      WennSeite<ui::ErgebnisSeite>(6, [&](ui::ErgebnisSeite* ergebnis) {
        // The first mosaic, not saved; back to the overview.
        QVERIFY(auftrag.Ergebnis != nullptr);
        mosaik = auftrag.Ergebnis->Stellvertreter().data();
        dauern = auftrag.Laufzeiten;
        WennSeite<ui::UebersichtSeite>(7, [&](ui::UebersichtSeite* seite) {
          QCOMPARE(seite->Uebersicht()->count(), 6);
          // A second run, cancelled while it reads.
          QTimer::singleShot(0, seite, [seite] { seite->StartKnopf()->click(); });
          QTest::mouseClick(seite->StartKnopf(), Qt::LeftButton);
          FruehereBerechnungPruefen(seite, mosaik, dauern);

          // Its entry still opens the first mosaic, ready to be saved.
          WennSeite<ui::ErgebnisSeite>(6, [&](ui::ErgebnisSeite* ergebnis) {
            QVERIFY(ergebnis->SpeichernKnopf()->isEnabled());
            QVERIFY(ergebnis->BildGruppe()->title().endsWith(
                QStringLiteral("(%1 x %2 Pixel) skaliert")
                    .arg(auftrag.Ergebnis->Groesse().width)
                    .arg(auftrag.Ergebnis->Groesse().height)));
            const Bitmap& anzeige = auftrag.Ergebnis->AnzeigeBild();
            QCOMPARE(ergebnis->ErgebnisBild()->size(), QSize(anzeige.width(), anzeige.height()));
            geprueft = true;
            QTest::mouseClick(ergebnis->findChild<QPushButton*>(QStringLiteral("Ende")),
                              Qt::LeftButton);
          });
          seite->Uebersicht()->setCurrentRow(wizard::kEintragLetzteBerechnung);
          QTest::mouseClick(seite->WechselnZu(), Qt::LeftButton);
        });
        QTest::mouseClick(ergebnis->ZurueckKnopf(), Qt::LeftButton);
      });
      // A first run, cancelled by the button: the first turn of the event pump inside the
      // run presses it again.
      QTimer::singleShot(0, seite, [seite] {
        QVERIFY(seite->Laeuft());
        QCOMPARE(seite->StartKnopf()->text(), QStringLiteral("abbrechen"));
        QVERIFY(!seite->NeubeginnKnopf()->isEnabled());
        QVERIFY(!seite->Uebersicht()->isEnabled());
        QVERIFY(seite->HGFortschritt()->isVisible());
        seite->close();  // a running page cannot be closed
        QVERIFY(seite->isVisible());
        seite->StartKnopf()->click();
      });
      QTest::mouseClick(seite->StartKnopf(), Qt::LeftButton);
      QVERIFY(!seite->Laeuft());
      QCOMPARE(seite->StartKnopf()->text(), QStringLiteral("starten"));
      QVERIFY(seite->NeubeginnKnopf()->isEnabled());
      QVERIFY(!seite->HGFortschritt()->isVisible());
      QVERIFY(seite->HGInfo()->isVisible());
      // No mosaic and no entry for one, nothing to save: there was none before.
      QVERIFY(auftrag.Ergebnis == nullptr);
      QCOMPARE(seite->Uebersicht()->count(), 5);
      QCOMPARE(auftrag.analyse.ErgebnisGespeichert, uint8_t{1});
      // The run that makes the first mosaic.
      QTest::mouseClick(seite->StartKnopf(), Qt::LeftButton);
    });
    umgebung.assistent().Seitenlauf();
    QVERIFY(geprueft);
    // "Ende" still offers to save the first mosaic.
    QCOMPARE(umgebung.benutzer.fragen,
             std::vector<std::string>{
                 "Wollen Sie das Ergebnis speichern, bevor Sie das Programm verlassen ?"});
  }

 private:
  static void UebersichtPruefenUndStarten(ui::UebersichtSeite* seite) {
    // Without a run there are five entries; entry 3 has no preview. Their lines are the
    // overview's rules; here they follow the row chosen.
    QCOMPARE(seite->Uebersicht()->count(), 5);
    seite->Uebersicht()->setCurrentRow(3);
    QCOMPARE(seite->InfoT()->text(), QStringLiteral("Quellbilder:"));
    QVERIFY(!seite->Vorschau()->isVisible());
    seite->Uebersicht()->setCurrentRow(2);
    QCOMPARE(seite->InfoFeld()->item(2)->text(), QStringLiteral("20 x 15 Kacheln, 300 insgesamt"));
    QVERIFY(seite->Vorschau()->isVisible());
    QCOMPARE(seite->Vorschau()->size(), QSize(133, 100));
    QCOMPARE(seite->WechselnZu()->toolTip(), QStringLiteral("Kachelung bestimmen"));
    QTest::mouseClick(seite->StartKnopf(), Qt::LeftButton);
    // The run's lines stay in the panel: every phase finished.
    QVERIFY(seite->FortschrittsListe()->count() >= 4);
    QVERIFY(seite->FortschrittsListe()->item(0)->text().startsWith(
        QStringLiteral("Einlesen der Bilddateien ... fertig (")));
  }

  static void ErgebnisBlendenUndSpeichern(ui::ErgebnisSeite* seite, const std::string& datei) {
    QVERIFY(!seite->Speicherhinweis()->isVisible());
    QVERIFY(seite->BildGruppe()->title().startsWith(QStringLiteral("Fotomosaik ist auf ")));
    QCOMPARE(seite->BlendGruppe()->title(),
             QStringLiteral("die Vorlage ist zu 25 % in das Fotomosaik eingeblendet"));
    const int32_t vorher = seite->Anzeige().Blendungen();
    seite->Blenden()->setValue(-10);
    QCOMPARE(seite->Anzeige().Blendungen(), vorher + 1);
    QCOMPARE(seite->BlendGruppe()->title(),
             QStringLiteral("die Vorlage ist zu 50 % in das Fotomosaik eingeblendet"));

    const QRect ergebnisFenster = seite->window()->geometry();
    WennSeite<ui::SpeichernOptionenSeite>(10, [datei, ergebnisFenster](
                                                  ui::SpeichernOptionenSeite* optionen) {
      // The save options over the result keep the window as the result left it.
      QCOMPARE(optionen->window()->geometry(), ergebnisFenster);
      QVERIFY(optionen->BmpKnopf()->isChecked());
      AufDieMarke(optionen->JpegKnopf());
      QVERIFY(optionen->Qualitaet()->isEnabled());
      QVERIFY(!optionen->Farbtiefe()->isEnabled());
      optionen->Qualitaet()->setValue(80);
      QTest::mouseClick(optionen->VorschauKnopf(), Qt::LeftButton);
      QVERIFY(optionen->VorschauGruppe()->isVisible());
      QVERIFY(optionen->Dateigroesse()->text().startsWith(
          QStringLiteral("voraussichtliche Dateigröße: ")));

      DateiImDialog(datei, [](QFileDialog* dialog, QLineEdit* name) {
        QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("JPEG Bilder (*.jpg)")});
        QCOMPARE(name->text(), QString());  // nothing saved yet
      });
      QTest::mouseClick(optionen->SpeichernKnopf(), Qt::LeftButton);
    });
    QTest::mouseClick(seite->SpeichernKnopf(), Qt::LeftButton);
    QCOMPARE(seite->auftrag().analyse.ErgebnisGespeichert, uint8_t{1});
    QCOMPARE(seite->assistent().Blendwert(), BlendwertAusRegler(-10));
    QCOMPARE(seite->Anzeige().Blendungen(), vorher + 1);
  }

  // Back on the result page after "mosaik.jpg" was saved, as it was: it names the file. A
  // save refused (onto the template) names nothing and is not offered again; the dialog
  // offers the folder and the file saved last.
  static void NachDemSpeichern(ui::ErgebnisSeite* seite, UiTestUmgebung& umgebung) {
    const std::string ordner = umgebung.ordner.path();
    QVERIFY(seite->isVisible());
    QCOMPARE(seite->window(), static_cast<QWidget*>(ui::Seitenfenster::Sichtbares()));
    QVERIFY(seite->Speicherhinweis()->isVisible());
    QCOMPARE(seite->Speicherhinweis()->GanzerText(),
             QString::fromStdString("gespeichert: " + ordner + "mosaik.jpg"));

    Angebot angebot = SpeichernAls(seite, ordner, "vorlage", true, true);
    QCOMPARE(angebot.ordner, QString::fromStdString(ordner));
    QCOMPARE(angebot.datei, QStringLiteral("mosaik.jpg"));
    QCOMPARE(umgebung.benutzer.warnungen.size(), size_t{1});
    QVERIFY(umgebung.benutzer.warnungen[0].find("die Vorlage selbst") != std::string::npos);
    QVERIFY(!seite->Speicherhinweis()->isVisible());
    angebot = SpeichernAls(seite, ordner, "zweites");
    QCOMPARE(angebot.datei, QStringLiteral("mosaik.jpg"));
    QCOMPARE(seite->Speicherhinweis()->GanzerText(),
             QString::fromStdString("gespeichert: " + ordner + "zweites.jpg"));
    QVERIFY(FileExists(ordner + "zweites.jpg"));
    QTest::mouseClick(seite->findChild<QPushButton*>(QStringLiteral("Ende")), Qt::LeftButton);
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::LaufTest)
#include "lauf_test.moc"
