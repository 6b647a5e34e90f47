// Controls as a user meets them: tile counts typed into their boxes, the help popup's
// text inside its border and its second click, the save progress readable and in step,
// and a screen of too few colours.
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>

#include "engine/auftrag.h"
#include "ui/fortschritt_fenster.h"
#include "ui/hinweisfenster.h"
#include "ui/seite.h"
#include "ui_test_umgebung.h"
#include "wizard/hilfe_fenster.h"

namespace tilvendo::testing {

class BedienungTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { UiTestsEinrichten(); }

  void KachelzahlenNehmenGetippteWerteInnerhalbDerGrenzen() {
    UiTestUmgebung umgebung;
    Auftrag& auftrag = umgebung.auftrag();
    auftrag.vorlage.VorlageBreite = 800;
    auftrag.vorlage.VorlageHoehe = 600;
    auftrag.einstellungen.ZoomX = 150;
    auftrag.einstellungen.ZielBreite = 1200;
    auftrag.einstellungen.ZielHoehe = 900;
    ui::Seite* seite = umgebung.assistent().SeiteHolen(3);
    seite->show();
    QVERIFY(QTest::qWaitForWindowActive(seite));
    auto* x = Element<QSpinBox>(seite, "KachelnXR");
    auto* y = Element<QSpinBox>(seite, "KachelnYR");
    auto* anzahl = Element<QLabel>(seite, "KachelAnzahl");
    QCOMPARE(x->maximum(), 300);

    // A number counts once it is complete: with Enter …
    Tippen(x, QStringLiteral("40"), Qt::Key_unknown);
    QCOMPARE(x->value(), 25);
    QTest::keyClick(x, Qt::Key_Return);
    QCOMPARE(x->value(), 40);
    QCOMPARE(anzahl->text(), QStringLiteral("40 x 25 Kacheln, 1000 insgesamt"));
    // … or when the box is left.
    Tippen(y, QStringLiteral("30"), Qt::Key_Tab);
    QCOMPARE(y->value(), 30);
    QCOMPARE(anzahl->text(), QStringLiteral("40 x 30 Kacheln, 1200 insgesamt"));

    // Every digit typed counts: beyond the bound the box takes the bound and the note
    // (its texts are the tiling page's rules) shows until a number within the bounds.
    auto* hinweis = Element<QLabel>(seite, "Grenzhinweis");
    Tippen(x, QStringLiteral("9999"));
    QCOMPARE(x->value(), 300);
    QVERIFY(hinweis->text().endsWith(QStringLiteral("breit bleibt")));
    Tippen(y, QStringLiteral("1000"), Qt::Key_Tab);
    QCOMPARE(y->value(), 225);
    QVERIFY(hinweis->text().endsWith(QStringLiteral("hoch bleibt")));
    Tippen(y, QStringLiteral("30"));
    QCOMPARE(hinweis->text(), QString());
    Tippen(x, QStringLiteral("0"));
    QCOMPARE(x->value(), 1);
    QCOMPARE(anzahl->text(), QStringLiteral("1 x 30 Kacheln, 30 insgesamt"));

    // A number typed and not yet confirmed reaches the job when the page is left.
    Tippen(x, QStringLiteral("64"), Qt::Key_unknown);
    seite->WeiterKnopf()->click();
    QCOMPARE(auftrag.AktSeite, 4);
    QCOMPARE(auftrag.einstellungen.KachelnX, 64);
    QCOMPARE(auftrag.einstellungen.KachelnY, 30);
  }

  // Every help popup stands whole on the screen its button is on; a text higher than the
  // screen allows scrolls, down to its last line.
  void HilfetextStehtGanzInnerhalbDesRahmensUndDesBildschirms() {
    UiTestUmgebung umgebung;
    ui::Hinweisfenster* hilfe = umgebung.assistent().Hilfefenster();
    bool gerollt = false;
    for (int nummer : {1, 2, 3, 4, 5}) {
      ui::Seite* seite = umgebung.assistent().SeiteHolen(static_cast<uint16_t>(nummer));
      seite->show();
      QVERIFY(QTest::qWaitForWindowExposed(seite));
      seite->HilfeKnopf()->click();
      QVERIFY(hilfe->isVisible());
      QCOMPARE(hilfe->Nummer(), nummer);
      const QRect frei = seite->HilfeKnopf()->screen()->availableGeometry();
      QVERIFY2(frei.contains(hilfe->geometry()), qPrintable(QString::number(nummer)));

      // Every line is as high as the font needs, and all of them fit between the margins.
      const QFontMetrics metrik(hilfe->font());
      const int zeilenHoehe = hilfe->ZeilenHoehe();
      QVERIFY(zeilenHoehe >= metrik.lineSpacing());
      const auto zeilen = static_cast<int>(hilfe->Zeilen().size());
      const int inhalt = wizard::HilfeFensterHoehe(zeilen, zeilenHoehe);
      QScrollBar* rollbalken = hilfe->Rollbalken();
      QCOMPARE(rollbalken->isVisible(), inhalt > hilfe->height());
      if (rollbalken->isVisible()) {
        // The wheel and the keys reach the last line.
        QCOMPARE(rollbalken->maximum(), inhalt - hilfe->height());
        QWheelEvent rad(QPointF(10, 10), hilfe->mapToGlobal(QPointF(10, 10)), QPoint(),
                        QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(hilfe, &rad);
        QVERIFY(rollbalken->value() > 0);
        QTest::keyClick(hilfe, Qt::Key_End);
        QCOMPARE(rollbalken->value(), rollbalken->maximum());
        gerollt = true;
      } else {
        QCOMPARE(hilfe->height(), inhalt);
      }
      // No line runs into the border, the rounded corners or the scroll bar.
      QVERIFY(wizard::kHilfeRandLinks >= wizard::kHilfeEckenRadius / 2);
      const int platz = wizard::HilfeTextBreite(hilfe->width()) -
                        (rollbalken->isVisible() ? hilfe->RollbalkenBreite() : 0);
      for (const QString& zeile : hilfe->Zeilen()) {
        QVERIFY2(metrik.horizontalAdvance(zeile) <= platz, qPrintable(zeile));
      }
      hilfe->close();
      seite->hide();
    }
    // The text of "weitere Einstellungen" is higher than this screen of 800 pixels.
    QVERIFY(gerollt);

    // The click that closes the popup reaches the button at once: it stays closed; a
    // later click opens it again.
    ui::Seite* seite = umgebung.assistent().SeiteHolen(3);
    seite->show();
    QVERIFY(QTest::qWaitForWindowExposed(seite));
    QTest::qWait(250);  // long after the loop's last closing
    QTest::mouseClick(seite->HilfeKnopf(), Qt::LeftButton);
    QVERIFY(hilfe->isVisible());
    hilfe->close();
    QTest::mouseClick(seite->HilfeKnopf(), Qt::LeftButton);
    QVERIFY(!hilfe->isVisible());
    QTest::qWait(250);
    QTest::mouseClick(seite->HilfeKnopf(), Qt::LeftButton);
    QVERIFY(hilfe->isVisible());
    hilfe->close();
    seite->hide();
  }

  void ZuWenigFarbenWarntUndEndetOhneSeite() {
    UiTestUmgebung umgebung;
    umgebung.benutzer.farbtiefe = 8;
    QCOMPARE(umgebung.assistent().Ausfuehren(), 0);
    QCOMPARE(umgebung.benutzer.warnungen.size(), size_t{1});
    QVERIFY(umgebung.benutzer.warnungen[0].starts_with("Bitte starten Sie das Programm"));
    QVERIFY(umgebung.benutzer.fragen.empty());  // no page, so no exit question either
  }

  void SpeicherfortschrittZeigtDieMeldungGanzUndBalkenUndZahlImGleichschritt() {
    // A mosaic held whole shows the message alone, a poster also bar, share and button.
    for (const bool poster : {false, true}) {
      ui::FortschrittFenster fenster;
      if (poster) fenster.AbbruchAnbieten([] {});
      fenster.ShowSaveProgress();
      QVERIFY(QTest::qWaitForWindowExposed(&fenster));
      const QLabel* text = fenster.Text();
      QCOMPARE(text->text(), QStringLiteral("Beginne mit Speicherung des Bildes ..."));
      QVERIFY(!fenster.windowTitle().contains(text->text()));
      // Every wrapped line within the label, the label within the window.
      const QRect gebraucht =
          QFontMetrics(text->font())
              .boundingRect(QRect(0, 0, text->width(), 10000), Qt::TextWordWrap, text->text());
      QVERIFY(gebraucht.width() <= text->width() && gebraucht.height() <= text->height());
      QVERIFY(fenster.rect().contains(text->geometry()));
      if (!poster) {
        fenster.HideSaveProgress();
        continue;
      }
      QVERIFY(fenster.Balken()->geometry().top() >= text->geometry().bottom());
      QVERIFY(fenster.rect().contains(fenster.AbbrechenKnopf()->geometry()));
      QVERIFY(fenster.rect().contains(fenster.Anteil()->geometry()));
      fenster.FortschrittZeigen(3, 8);
      QCOMPARE(fenster.Balken()->value(), 37);
      QCOMPARE(fenster.Anteil()->text(), QStringLiteral("37 % gespeichert"));
      // Once the file is being released the save cannot be stopped, but both still move.
      fenster.AbbruchSperren();
      fenster.FortschrittZeigen(8, 8);
      QCOMPARE(fenster.Balken()->value(), 100);
      QCOMPARE(fenster.Anteil()->text(), QStringLiteral("100 % gespeichert"));
      fenster.HideSaveProgress();
    }
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::BedienungTest)
#include "bedienung_test.moc"
