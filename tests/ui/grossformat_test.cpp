// Large format on the size page through its real controls: switched off the page is the
// one it always was, switched on it takes poster sizes from its paper drop-down, turned
// as the template stands, and shows what a tile measures on paper; the tiling page shows
// the same for its counts.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QTest>

#include "engine/sitzung.h"
#include "support/bild_dateien.h"
#include "ui/druckgroesse_gruppe.h"
#include "ui/zielgroesse_seite.h"
#include "ui_test_umgebung.h"

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

  void PosterSizesTurnedAsTheTemplateStands() {
    Umgebung u;
    Auftrag& auftrag = u.umgebung.auftrag();
    auto* seite = static_cast<ui::ZielgroesseSeite*>(u.umgebung.assistent().SeiteHolen(2));
    seite->show();
    QVERIFY(QTest::qWaitForWindowExposed(seite));
    seite->Grossformat()->click();
    ui::DruckgroesseGruppe* druck = seite->Druckgroesse();
    QVERIFY(auftrag.einstellungen.Grossformat);
    QCOMPARE(auftrag.einstellungen.Druckaufloesung, 200);
    QCOMPARE(Element<QSpinBox>(seite, "SizeX")->maximum(), 60000);
    QCOMPARE(Element<QSpinBox>(seite, "ZoomX")->maximum(), 7500);
    // The 800 pixels of 100 % at 200 dpi are 101 mm; no preset is that size.
    QCOMPARE(druck->Breite()->value(), 101);
    QCOMPARE(druck->Formate()->currentText(), QStringLiteral("eigene Größe"));
    QCOMPARE(Element<QLabel>(druck, "Ausrichtung")->text(),
             QStringLiteral("quer, wie die Vorlage"));

    // 70 × 100 cm stands on its side, as the template does.
    druck->Formate()->setCurrentIndex(9);
    emit druck->Formate()->activated(9);
    QCOMPARE(druck->Breite()->value(), 1000);
    QCOMPARE(druck->Hoehe()->value(), 700);
    QCOMPARE(auftrag.einstellungen.ZielBreite, 7874);
    QCOMPARE(auftrag.einstellungen.ZielHoehe, 5511);
    QCOMPARE(Wert(seite, "SizeX"), 7874);
    QCOMPARE(druck->Formate()->currentIndex(), 9);
    // 25 tiles of 32 × 24 template pixels at zooms 984 and 918 %: 314 × 220 pixels.
    QCOMPARE(druck->Kachelkante()->text(), QStringLiteral("Kachelkante im Druck: 39,9 × 27,9 mm"));

    // Another resolution keeps the paper and changes the pixels.
    druck->Aufloesung()->setValue(300);
    QCOMPARE(auftrag.einstellungen.ZielBreite, 11811);
    QCOMPARE(auftrag.einstellungen.Druckaufloesung, 300);
    QCOMPARE(druck->Formate()->currentIndex(), 9);
    // At 1440 dpi A0's 1189 mm are more than the result may have: the paper is cut.
    druck->Aufloesung()->setValue(1440);
    QCOMPARE(druck->Breite()->maximum(), 1058);
    druck->Formate()->setCurrentIndex(4);
    emit druck->Formate()->activated(4);
    QCOMPARE(druck->Breite()->value(), 1058);
    QCOMPARE(druck->Hoehe()->value(), 841);
    QCOMPARE(auftrag.einstellungen.ZielBreite, 59981);
    QCOMPARE(druck->Formate()->currentText(), QStringLiteral("eigene Größe"));

    // A paper typed in is a size of its own; A4 again a preset.
    druck->Aufloesung()->setValue(200);
    druck->Breite()->setValue(500);
    QCOMPARE(druck->Formate()->currentText(), QStringLiteral("eigene Größe"));
    QCOMPARE(auftrag.einstellungen.ZielBreite, 3937);
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

  void InTheWizardsWindowThePageTakesItsSizeEitherWay() {
    // A page never switched, as the wizard's window shows it, and one switched on and
    // off again in that window.
    QSize seed;
    {
      Umgebung nie;
      auto* seite = static_cast<ui::ZielgroesseSeite*>(nie.umgebung.assistent().SeiteHolen(2));
      WennModal([&](QWidget*) {
        seed = seite->window()->size();
        seite->close();
      });
      seite->exec();
    }
    Umgebung hin;
    auto* seite = static_cast<ui::ZielgroesseSeite*>(hin.umgebung.assistent().SeiteHolen(2));
    bool geprueft = false;
    WennModal([&](QWidget*) {
      QWidget* fenster = seite->window();
      QVERIFY(fenster != seite);
      QCOMPARE(fenster->size(), seed);
      const QPoint lage = fenster->pos();
      seite->Grossformat()->click();
      // The print size below, whole, in a window grown to hold it, in its place.
      QVERIFY(fenster->height() > seed.height());
      QCOMPARE(fenster->size(), seite->Wunschgroesse().expandedTo(fenster->minimumSizeHint()));
      const QRect druck(seite->Druckgroesse()->mapTo(fenster, QPoint(0, 0)),
                        seite->Druckgroesse()->size());
      QVERIFY(fenster->rect().contains(druck));
      QCOMPARE(fenster->pos(), lage);
      seite->Grossformat()->click();
      QCOMPARE(fenster->size(), seed);
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
