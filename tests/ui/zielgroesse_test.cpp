// The size page as a user meets it: a poster on 70 × 100 cm chosen and left, the page
// opened again from the overview showing exactly what was chosen, in one window that
// keeps its size and place on the way; numbers typed keep every digit, beyond a bound
// they become the bound with a note, and a typed width is kept as typed. Large format
// through the real controls: switched off the page is the one it always was, switched on
// it takes poster sizes from its paper drop-down, turned as the paper stands, fills the
// paper with a cut of the template or keeps the whole template inside it.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "engine/sitzung.h"
#include "support/bild_dateien.h"
#include "ui/druckgroesse_gruppe.h"
#include "ui/seitenfenster.h"
#include "ui/uebersicht_seite.h"
#include "ui/zielgroesse_seite.h"
#include "ui_test_umgebung.h"
#include "wizard/vorlage_seite.h"

namespace tilvendo::testing {
namespace {

// What the size page shows and the job holds of it.
struct Groessenstand {
  std::vector<int> felder;  // zoom, size, paper and resolution boxes
  QString format;
  bool fuellen = false;
  Size ziel;
  Rect ausschnitt;
  Druckpapier papier;
  friend bool operator==(const Groessenstand&, const Groessenstand&) = default;
};

Groessenstand Stand(ui::ZielgroesseSeite* seite) {
  const Auftrag& auftrag = seite->auftrag();
  ui::DruckgroesseGruppe* druck = seite->Druckgroesse();
  Groessenstand stand;
  for (const char* name : {"ZoomX", "ZoomY", "SizeX", "SizeY"}) {
    stand.felder.push_back(Element<QSpinBox>(seite, name)->value());
  }
  for (QSpinBox* feld : {druck->Breite(), druck->Hoehe(), druck->Aufloesung()}) {
    stand.felder.push_back(feld->value());
  }
  stand.format = druck->Formate()->currentText();
  stand.fuellen = druck->Fuellen()->isChecked();
  stand.ziel = Size{auftrag.einstellungen.ZielBreite, auftrag.einstellungen.ZielHoehe};
  stand.ausschnitt = auftrag.vorlage.Ausschnitt;
  stand.papier = auftrag.einstellungen.Papier;
  return stand;
}

// What the page shows and hands to the job: all of it but the values of the hidden print
// size, which keeps the poster's for the next time large format is chosen.
struct Seitenstand {
  std::vector<int> werte;
  std::vector<int> grenzen;
  std::vector<bool> sichtbar;
  int32_t zielBreite = 0;
  int32_t zielHoehe = 0;
  friend bool operator==(const Seitenstand&, const Seitenstand&) = default;
};

Seitenstand Stand(QWidget* seite, const Auftrag& auftrag) {
  Seitenstand stand;
  for (QSpinBox* feld : seite->findChildren<QSpinBox*>()) {
    if (qobject_cast<ui::DruckgroesseGruppe*>(feld->parentWidget()) != nullptr) continue;
    stand.werte.push_back(feld->value());
    stand.grenzen.push_back(feld->maximum());
    stand.sichtbar.push_back(feld->isVisibleTo(seite));
  }
  for (QWidget* w : seite->findChildren<QWidget*>())
    stand.sichtbar.push_back(w->isVisibleTo(seite));
  stand.zielBreite = auftrag.einstellungen.ZielBreite;
  stand.zielHoehe = auftrag.einstellungen.ZielHoehe;
  return stand;
}

Size Ziel(const Auftrag& auftrag) {
  return Size{auftrag.einstellungen.ZielBreite, auftrag.einstellungen.ZielHoehe};
}

// A job with an 800 × 600 template, as after the template page.
struct Umgebung {
  UiTestUmgebung umgebung;
  Umgebung() {
    const std::string vorlage = umgebung.ordner / "vorlage.jpg";
    WriteTestJpeg(vorlage, Einfarbig(800, 600, Farbe{40, 120, 200}));
    if (VorlageLaden(umgebung.auftrag(), vorlage) != Vorlagenausgang::Geladen) {
      QFAIL("template not loaded");
    }
  }
};

}  // namespace

class ZielgroesseTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { UiTestsEinrichten(); }

  // 70 × 100 cm chosen for the 4:3 template, filled; then "weiter" through the pages to
  // the overview and back to the size page, touching nothing: it shows what was chosen,
  // and the window kept its size and place all the way.
  void AnOpenedAgainPageShowsWhatWasChosen() {
    Fotosammlung sammlung;
    UiTestUmgebung& umgebung = *sammlung.umgebung;
    Auftrag& auftrag = umgebung.auftrag();
    QCOMPARE(wizard::VorlageWaehlen(auftrag, sammlung.vorlage), Vorlagenausgang::Geladen);
    auftrag.AktSeite = 2;
    umgebung.benutzer.antworten = {wizard::Antwort::Ja};  // "wirklich verlassen ?"
    std::vector<int> gezeigt;
    std::vector<QRect> fenster;
    const auto merken = [&](ui::Seite* seite) {
      gezeigt.push_back(seite->Nummer());
      fenster.push_back(seite->window()->geometry());
    };
    Groessenstand gewaehlt;

    WennSeite<ui::ZielgroesseSeite>(2, [&](ui::ZielgroesseSeite* seite) {
      merken(seite);
      // Large format neither resizes nor moves the window: the page's size counts the
      // print size while it is hidden too, and shows it whole.
      seite->Grossformat()->click();
      QCOMPARE(seite->window()->geometry(), fenster.back());
      ui::DruckgroesseGruppe* druck = seite->Druckgroesse();
      QVERIFY(seite->window()->rect().contains(
          QRect(druck->mapTo(seite->window(), QPoint(0, 0)), druck->size())));
      druck->Formate()->setCurrentIndex(9);
      emit druck->Formate()->activated(9);
      druck->Fuellen()->click();
      gewaehlt = Stand(seite);
      // 320 × 240 cut to 320 × 224 for 100 × 70 cm at 200 dpi.
      QCOMPARE(gewaehlt.ziel, (Size{7874, 5511}));
      QCOMPARE(gewaehlt.ausschnitt, (Rect{0, 8, 320, 232}));
      QCOMPARE(gewaehlt.format, QStringLiteral("70 × 100 cm"));
      WennSeite<ui::Seite>(3, [&](ui::Seite* seite) {
        merken(seite);
        WennSeite<ui::Seite>(4, [&](ui::Seite* seite) {
          merken(seite);
          WennSeite<ui::Seite>(5, [&](ui::Seite* seite) {
            merken(seite);
            WennSeite<ui::UebersichtSeite>(7, [&](ui::UebersichtSeite* seite) {
              merken(seite);
              // The overview names the mosaic of whole tiles and its print size.
              seite->Uebersicht()->setCurrentRow(1);
              QCOMPARE(seite->InfoFeld()->item(0)->text(),
                       QStringLiteral("absolute Größe: 7850 x 5500 Pixel"));
              WennSeite<ui::ZielgroesseSeite>(2, [&](ui::ZielgroesseSeite* seite) {
                merken(seite);
                QCOMPARE(Stand(seite), gewaehlt);
                WennSeite<ui::UebersichtSeite>(7, [&](ui::UebersichtSeite* seite) {
                  merken(seite);
                  QTest::mouseClick(seite->findChild<QPushButton*>(QStringLiteral("Ende")),
                                    Qt::LeftButton);
                });
                Weiter(seite);
              });
              seite->WechselnZu()->click();
            });
            Weiter(seite);
          });
          Weiter(seite);
        });
        Weiter(seite);
      });
      Weiter(seite);
    });
    umgebung.assistent().Seitenlauf();

    QCOMPARE(gezeigt, (std::vector<int>{2, 3, 4, 5, 7, 2, 7}));
    for (const QRect& rahmen : fenster) QCOMPARE(rahmen, fenster.front());
    QCOMPARE((Size{auftrag.einstellungen.ZielBreite, auftrag.einstellungen.ZielHoehe}),
             gewaehlt.ziel);
  }

  // Every digit typed counts; a typed width is kept as typed, the height follows.
  void TypedNumbersKeepTheirDigits() {
    UiTestUmgebung umgebung;
    Auftrag& auftrag = umgebung.auftrag();
    const std::string vorlage = umgebung.ordner / "vorlage.bmp";
    WriteTestBmp(vorlage, Einfarbig(2563, 1601, Farbe{40, 120, 200}));
    QCOMPARE(VorlageLaden(auftrag, vorlage), Vorlagenausgang::Geladen);
    auto* seite = static_cast<ui::ZielgroesseSeite*>(umgebung.assistent().SeiteHolen(2));
    seite->show();
    QVERIFY(QTest::qWaitForWindowExposed(seite));
    auto* sizeX = Element<QSpinBox>(seite, "SizeX");
    auto* zoomX = Element<QSpinBox>(seite, "ZoomX");
    QLabel* hinweis = seite->Grenzhinweis();

    // 2000 pixels are no whole percentage of 2563: they stay 2000.
    Tippen(sizeX, QStringLiteral("2000"));
    QCOMPARE(sizeX->value(), 2000);
    QCOMPARE(Element<QSpinBox>(seite, "SizeY")->value(), 1249);
    QCOMPARE(zoomX->value(), 78);
    QCOMPARE(auftrag.einstellungen.ZielBreite, 2000);
    QCOMPARE(hinweis->text(), QString());

    // Beyond a bound: the bound, and the note the page's rules word for it.
    Tippen(sizeX, QStringLiteral("2600"));
    QCOMPARE(sizeX->value(), 2500);
    QCOMPARE(auftrag.einstellungen.ZielHoehe, 1562);
    QCOMPARE(hinweis->text(),
             QStringLiteral("höchstens 2500 Pixel; mehr mit „Großformat für den Druck“"));
    Tippen(zoomX, QStringLiteral("1000"));
    QCOMPARE(zoomX->value(), 97);
    QVERIFY(hinweis->text().startsWith(QStringLiteral("höchstens 97 %")));
    Tippen(zoomX, QStringLiteral("50"));
    QCOMPARE(hinweis->text(), QString());
    QCOMPARE(auftrag.einstellungen.ZielBreite, 1281);
    Tippen(sizeX, QStringLiteral("0"));
    QCOMPARE(sizeX->value(), 1);
    seite->Grossformat()->click();
    Tippen(sizeX, QStringLiteral("99999"));
    QCOMPARE(sizeX->value(), 60000);
    QCOMPARE(hinweis->text(), QStringLiteral("höchstens 60000 Pixel"));
    seite->hide();
  }

  void SwitchedOffThePageIsTheSeedsOne() {
    // One page never switched, one switched on, used and off again.
    Umgebung nie;
    Umgebung hin;
    auto* vorher = static_cast<ui::ZielgroesseSeite*>(nie.umgebung.assistent().SeiteHolen(2));
    auto* seite = static_cast<ui::ZielgroesseSeite*>(hin.umgebung.assistent().SeiteHolen(2));
    vorher->show();
    seite->show();
    QVERIFY(QTest::qWaitForWindowExposed(seite));
    QCOMPARE(Stand(seite, hin.umgebung.auftrag()), Stand(vorher, nie.umgebung.auftrag()));
    QVERIFY(!seite->Grossformat()->isChecked());
    QVERIFY(!seite->Druckgroesse()->isVisible());
    QCOMPARE(Element<QSpinBox>(seite, "SizeX")->maximum(), 2500);
    QCOMPARE(Element<QSpinBox>(seite, "ZoomX")->maximum(), 312);

    seite->Grossformat()->click();
    QVERIFY(seite->Druckgroesse()->isVisible());
    Element<QSpinBox>(seite, "ZoomX")->setValue(2000);
    QCOMPARE(hin.umgebung.auftrag().einstellungen.ZielBreite, 16000);
    seite->Druckgroesse()->Aufloesung()->setValue(300);
    seite->Grossformat()->click();
    QVERIFY(!hin.umgebung.auftrag().einstellungen.Grossformat);
    QCOMPARE(hin.umgebung.auftrag().einstellungen.Druckaufloesung, 0);
    // Back within the usual bound, at the zoom's bound; the printer's 720 dpi again.
    QCOMPARE(Wert(seite, "ZoomX"), 312);
    QCOMPARE(hin.umgebung.auftrag().einstellungen.ZielBreite, 2496);
    QCOMPARE(Wert(seite, "dpiFrei"), 720);

    // The same steps on both pages leave them alike: 150 % are 1200 × 900 pixels and
    // 42 × 31 mm at 720 dpi.
    for (QWidget* s : {static_cast<QWidget*>(vorher), static_cast<QWidget*>(seite)}) {
      Element<QSpinBox>(s, "ZoomX")->setValue(150);
    }
    QCOMPARE(Stand(seite, hin.umgebung.auftrag()), Stand(vorher, nie.umgebung.auftrag()));
    QCOMPARE(Wert(seite, "SizeY"), 900);
    QCOMPARE(Wert(seite, "BreiteFrei"), 42);
    QCOMPARE(Wert(seite, "HoeheFrei"), 31);

    // Without large format the tiling page shows no tile edge.
    vorher->hide();
    ui::Seite* kachelung = nie.umgebung.assistent().SeiteHolen(3);
    kachelung->show();
    QVERIFY(QTest::qWaitForWindowExposed(kachelung));
    QVERIFY(!Element<QLabel>(kachelung, "Kachelkante")->isVisible());
    kachelung->hide();
  }

  // A 4:3 template on 100 × 70 cm: kept whole with margins, or cut to fill the paper,
  // never stretched while the ratio is held; the preview shows the paper or the cut.
  void APosterKeepsTheWholeTemplateOrFillsThePaper() {
    Umgebung u;
    Auftrag& auftrag = u.umgebung.auftrag();
    // As the template page loads it, with its preview.
    QCOMPARE(wizard::VorlageWaehlen(auftrag, u.umgebung.ordner / "vorlage.jpg"),
             Vorlagenausgang::Geladen);
    auto* seite = static_cast<ui::ZielgroesseSeite*>(u.umgebung.assistent().SeiteHolen(2));
    seite->show();
    QVERIFY(QTest::qWaitForWindowExposed(seite));
    seite->Grossformat()->click();
    ui::DruckgroesseGruppe* druck = seite->Druckgroesse();
    QVERIFY(auftrag.einstellungen.Grossformat);
    QCOMPARE(auftrag.einstellungen.Druckaufloesung, 200);
    QCOMPARE(Element<QSpinBox>(seite, "SizeX")->maximum(), 60000);
    QCOMPARE(Element<QSpinBox>(seite, "ZoomX")->maximum(), 7500);
    // The 800 pixels of 100 % at 200 dpi are 101,6 mm; no preset is that size.
    QCOMPARE(druck->Breite()->value(), 102);
    QCOMPARE(druck->Formate()->currentText(), QStringLiteral("eigene Größe"));
    QCOMPARE(Element<QLabel>(druck, "Ausrichtung")->text(),
             QStringLiteral("quer, wie die Vorlage"));
    QVERIFY(druck->GanzeVorlage()->isChecked());

    // 70 × 100 cm stands on its side, as the template does; the whole template fits in.
    druck->Formate()->setCurrentIndex(9);
    emit druck->Formate()->activated(9);
    QCOMPARE(druck->Breite()->value(), 1000);
    QCOMPARE(druck->Hoehe()->value(), 700);
    QCOMPARE(Ziel(auftrag), (Size{7348, 5511}));
    QCOMPARE(auftrag.VorlageBild.height(), 600);
    QCOMPARE(druck->Druckflaeche()->text(),
             QStringLiteral("Druckgröße 93,3 × 70 cm auf 100 × 70 cm: Rand links und rechts je "
                            "3,3 cm"));
    QCOMPARE(Element<QWidget>(seite, "Bild")->size(), QSize(230, 161));  // the paper
    // 25 tiles of 293 × 220 pixels.
    QCOMPARE(druck->Kachelkante()->text(), QStringLiteral("Kachelkante im Druck: 37,2 × 27,9 mm"));

    // Filling the paper cuts 20 rows off the top and the bottom.
    druck->Fuellen()->click();
    QCOMPARE(Ziel(auftrag), (Size{7874, 5511}));
    QCOMPARE(auftrag.vorlage.Ausschnitt, (Rect{0, 20, 800, 580}));
    QCOMPARE(auftrag.VorlageBild.height(), 560);
    QCOMPARE(Element<QLabel>(seite, "VorlHoehe")->text(), QStringLiteral("560 von 600 Pixel"));
    QCOMPARE(Element<QLabel>(seite, "VorlBreite")->text(), QStringLiteral("800 Pixel"));
    QCOMPARE(druck->Druckflaeche()->text(),
             QStringLiteral("Druckgröße 100 × 70 cm, das ganze Papier\nDie Vorlage wird auf die "
                            "Form des Papiers zugeschnitten: 800 × 560 von 800 × 600 Pixel, oben "
                            "und unten je 20 Pixel weg."));
    // The preview shows the whole template, what is cut away darkened.
    auto* bild = Element<QWidget>(seite, "Bild");
    QCOMPARE(bild->size(), QSize(230, 172));
    const QImage vorschau = bild->grab().toImage();
    QVERIFY(qGray(vorschau.pixel(115, 2)) < qGray(vorschau.pixel(115, 86)) - 20);

    // Without the ratio held the template is stretched to the paper, whole.
    Element<QCheckBox>(seite, "festesSV")->click();
    QVERIFY(!druck->Fuellen()->isEnabled());
    QCOMPARE(Ziel(auftrag), (Size{7874, 5511}));
    QVERIFY(auftrag.vorlage.Ausschnitt.empty());
    QCOMPARE(auftrag.VorlageBild.height(), 600);
    QCOMPARE(auftrag.einstellungen.Papier.Nutzung, Papiernutzung::Strecken);
    Element<QCheckBox>(seite, "festesSV")->click();
    QVERIFY(druck->Fuellen()->isChecked());
    QCOMPARE(auftrag.vorlage.Ausschnitt, (Rect{0, 20, 800, 580}));

    // Another resolution keeps the paper and changes the pixels.
    druck->Aufloesung()->setValue(300);
    QCOMPARE(Ziel(auftrag), (Size{11811, 8267}));
    QCOMPARE(auftrag.einstellungen.Druckaufloesung, 300);
    QCOMPARE(druck->Formate()->currentIndex(), 9);
    // At 1440 dpi the paper's bound follows the largest result (the page's rules).
    druck->Aufloesung()->setValue(1440);
    QCOMPARE(druck->Breite()->maximum(), 1058);

    // Width, height, orientation and its label follow the paper's rules: 300 mm across
    // 700 down is an upright paper; turned, it stands as the template does.
    druck->Aufloesung()->setValue(200);
    Tippen(druck->Breite(), QStringLiteral("300"));
    QCOMPARE(druck->Hoehe()->value(), 700);
    QCOMPARE(Element<QLabel>(druck, "Ausrichtung")->text(),
             QStringLiteral("hoch, anders als die Vorlage"));
    QCOMPARE(Ziel(auftrag), (Size{2362, 5511}));
    druck->Drehen()->click();
    QCOMPARE(druck->Breite()->value(), 700);
    QCOMPARE(Element<QLabel>(druck, "Ausrichtung")->text(),
             QStringLiteral("quer, wie die Vorlage"));

    // Shown again, the page takes the use of the paper from the job.
    seite->hide();
    QVERIFY(druck->Fuellen()->isChecked());
    auftrag.einstellungen.Papier.Nutzung = Papiernutzung::GanzeVorlage;
    seite->show();
    QVERIFY(druck->GanzeVorlage()->isChecked());

    // The tiling page shows the tile on paper for the counts in its boxes.
    seite->hide();
    ui::Seite* kachelung = u.umgebung.assistent().SeiteHolen(3);
    kachelung->show();
    auto* kante = Element<QLabel>(kachelung, "Kachelkante");
    QVERIFY(kante->isVisible());
    const QString vorher = kante->text();
    QVERIFY(vorher.startsWith(QStringLiteral("Kachelkante im Druck: ")));
    Element<QSpinBox>(kachelung, "KachelnXR")->setValue(50);
    QVERIFY(kante->text() != vorher);
    kachelung->hide();
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::ZielgroesseTest)
#include "zielgroesse_test.moc"
