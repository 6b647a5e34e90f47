// Large format on the size page through its real controls: switched off the page is the
// one it always was, switched on it takes poster sizes from its paper drop-down, turned
// as the paper stands, fills the paper with a cut of the template or keeps the whole
// template inside it, and shows what a tile measures on paper; the tiling page shows the
// same for its counts.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "engine/sitzung.h"
#include "support/bild_dateien.h"
#include "ui/druckgroesse_gruppe.h"
#include "ui/zielgroesse_seite.h"
#include "ui_test_umgebung.h"
#include "wizard/vorlage_seite.h"

namespace tilvendo::testing {
namespace {

template <typename T>
T* Element(QWidget* seite, const char* name) {
  return seite->findChild<T*>(QString::fromLatin1(name));
}

int Wert(QWidget* seite, const char* name) {
  return Element<QSpinBox>(seite, name)->value();
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

// Replaces the box's text by `text` as typed, and confirms it.
void Tippen(QSpinBox* feld, const QString& text) {
  feld->setFocus();
  feld->selectAll();
  QTest::keyClicks(feld, text);
  QTest::keyClick(feld, Qt::Key_Return);
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

class GrossformatTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { UiTestsEinrichten(); }

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
    // At 1440 dpi A0's 1189 mm are more than the result may have: the paper is cut, and
    // the note says why.
    druck->Aufloesung()->setValue(1440);
    QCOMPARE(druck->Breite()->maximum(), 1058);
    druck->Formate()->setCurrentIndex(4);
    emit druck->Formate()->activated(4);
    QCOMPARE(druck->Breite()->value(), 1058);
    QCOMPARE(druck->Hoehe()->value(), 841);
    QCOMPARE(auftrag.einstellungen.ZielBreite, 59981);
    QCOMPARE(druck->Formate()->currentText(), QStringLiteral("eigene Größe"));
    QCOMPARE(druck->Hinweis()->text(),
             QStringLiteral("höchstens 1058 mm bei 1440 dpi, damit das Ergebnis höchstens 60000 "
                            "Pixel breit und hoch wird"));

    // Width, height, orientation and its label follow one rule: 300 mm across 700 down
    // is an upright paper, and the presets then come upright.
    druck->Aufloesung()->setValue(200);
    druck->Formate()->setCurrentIndex(9);
    emit druck->Formate()->activated(9);
    Tippen(druck->Breite(), QStringLiteral("300"));
    QCOMPARE(druck->Hoehe()->value(), 700);
    QCOMPARE(Element<QLabel>(druck, "Ausrichtung")->text(),
             QStringLiteral("hoch, anders als die Vorlage"));
    QCOMPARE(druck->Formate()->currentText(), QStringLiteral("eigene Größe"));
    QCOMPARE(Ziel(auftrag), (Size{2362, 5511}));
    druck->Formate()->setCurrentIndex(9);
    emit druck->Formate()->activated(9);
    QCOMPARE(druck->Breite()->value(), 700);
    QCOMPARE(druck->Hoehe()->value(), 1000);
    QCOMPARE(druck->Formate()->currentIndex(), 9);
    druck->Drehen()->click();
    QCOMPARE(druck->Breite()->value(), 1000);
    QCOMPARE(Element<QLabel>(druck, "Ausrichtung")->text(),
             QStringLiteral("quer, wie die Vorlage"));
    QCOMPARE(druck->Formate()->currentIndex(), 9);
    // Every digit typed counts: 3000 mm are the 2 m the program takes at most.
    Tippen(druck->Breite(), QStringLiteral("3000"));
    QCOMPARE(druck->Breite()->value(), 2000);
    QCOMPARE(druck->Hinweis()->text(), QStringLiteral("höchstens 2000 mm"));
    // A4 again a preset.
    druck->Formate()->setCurrentIndex(0);
    emit druck->Formate()->activated(0);
    QCOMPARE(druck->Breite()->value(), 297);
    QCOMPARE(druck->Hoehe()->value(), 210);
    QCOMPARE(druck->Formate()->currentIndex(), 0);

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

  // Switching large format on or off neither resizes nor moves the wizard's window: the
  // page's size counts the print size while it is hidden too.
  void InTheWizardsWindowThePageKeepsItsSizeEitherWay() {
    Umgebung u;
    auto* seite = static_cast<ui::ZielgroesseSeite*>(u.umgebung.assistent().SeiteHolen(2));
    bool geprueft = false;
    WennModal([&](QWidget*) {
      QWidget* fenster = seite->window();
      QVERIFY(fenster != seite);
      const QSize groesse = fenster->size();
      const QPoint lage = fenster->pos();
      seite->Grossformat()->click();
      QCOMPARE(fenster->size(), groesse);
      QCOMPARE(fenster->pos(), lage);
      // The print size below, whole.
      const QRect druck(seite->Druckgroesse()->mapTo(fenster, QPoint(0, 0)),
                        seite->Druckgroesse()->size());
      QVERIFY(fenster->rect().contains(druck));
      seite->Grossformat()->click();
      QCOMPARE(fenster->size(), groesse);
      QCOMPARE(fenster->pos(), lage);
      geprueft = true;
      seite->close();
    });
    seite->exec();
    QVERIFY(geprueft);
  }

  void TheTilingPageShowsNoTileEdgeWithoutLargeFormat() {
    Umgebung u;
    ui::Seite* kachelung = u.umgebung.assistent().SeiteHolen(3);
    kachelung->show();
    QVERIFY(QTest::qWaitForWindowExposed(kachelung));
    QVERIFY(!Element<QLabel>(kachelung, "Kachelkante")->isVisible());
    kachelung->hide();
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::GrossformatTest)
#include "grossformat_test.moc"
