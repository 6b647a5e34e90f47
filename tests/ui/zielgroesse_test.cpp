// The size page as a user meets it: a poster on 70 × 100 cm chosen and left, the page
// opened again from the overview showing exactly what was chosen, in one window that
// keeps its size and place on the way; numbers typed keep every digit, beyond a bound
// they become the bound with a note, and a typed width is kept as typed.
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

template <typename T>
T* Element(QWidget* seite, const char* name) {
  T* element = seite->findChild<T*>(QString::fromLatin1(name));
  if (element == nullptr) qFatal("%s fehlt", name);
  return element;
}

// Replaces the box's text by `text` as typed, and confirms it.
void Tippen(QSpinBox* feld, const QString& text) {
  feld->setFocus();
  feld->selectAll();
  QTest::keyClicks(feld, text);
  QTest::keyClick(feld, Qt::Key_Return);
}

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

void Weiter(ui::Seite* seite) {
  QVERIFY(seite->WeiterKnopf()->isEnabled());
  QTest::mouseClick(seite->WeiterKnopf(), Qt::LeftButton);
}

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
      seite->Grossformat()->click();
      QCOMPARE(seite->window()->geometry(), fenster.back());
      ui::DruckgroesseGruppe* druck = seite->Druckgroesse();
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
    QCOMPARE(Size(auftrag.einstellungen.ZielBreite, auftrag.einstellungen.ZielHoehe),
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

    Tippen(sizeX, QStringLiteral("2600"));
    QCOMPARE(sizeX->value(), 2500);
    QCOMPARE(auftrag.einstellungen.ZielHoehe, 1562);
    QCOMPARE(hinweis->text(),
             QStringLiteral("höchstens 2500 Pixel; mehr mit „Großformat für den Druck“"));
    Tippen(zoomX, QStringLiteral("1000"));
    QCOMPARE(zoomX->value(), 97);
    QCOMPARE(hinweis->text(), QStringLiteral("höchstens 97 %, damit das Ergebnis höchstens 2500 "
                                             "Pixel breit und hoch wird"));
    Tippen(zoomX, QStringLiteral("50"));
    QCOMPARE(hinweis->text(), QString());
    QCOMPARE(auftrag.einstellungen.ZielBreite, 1281);
    Tippen(sizeX, QStringLiteral("0"));
    QCOMPARE(sizeX->value(), 1);
    QCOMPARE(hinweis->text(), QStringLiteral("mindestens 1 Pixel"));

    seite->Grossformat()->click();
    Tippen(sizeX, QStringLiteral("99999"));
    QCOMPARE(sizeX->value(), 60000);
    QCOMPARE(hinweis->text(), QStringLiteral("höchstens 60000 Pixel"));
    seite->hide();
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::ZielgroesseTest)
#include "zielgroesse_test.moc"
