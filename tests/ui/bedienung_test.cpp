// Controls as a user meets them: tile counts typed into their boxes, the help popup's
// text inside its border, the template dialog's start folder and file types, and the
// button for close mosaics on the extended page.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

#include "engine/auftrag.h"
#include "ui/hinweisfenster.h"
#include "ui/seite.h"
#include "ui_test_umgebung.h"
#include "wizard/hilfe_fenster.h"

namespace tilvendo::testing {
namespace {

template <typename T>
T* Element(QWidget* seite, const char* name) {
  T* element = seite->findChild<T*>(QString::fromLatin1(name));
  if (element == nullptr) qFatal("%s fehlt", name);
  return element;
}

// Replaces the box's text by `text` as typed, without confirming it.
void Tippen(QSpinBox* feld, const QString& text) {
  feld->setFocus();
  feld->selectAll();
  QTest::keyClicks(feld, text);
}

}  // namespace

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
    Tippen(x, QStringLiteral("40"));
    QCOMPARE(x->value(), 25);
    QTest::keyClick(x, Qt::Key_Return);
    QCOMPARE(x->value(), 40);
    QCOMPARE(anzahl->text(), QStringLiteral("40 x 25 Kacheln, 1000 insgesamt"));
    // … or when the box is left.
    Tippen(y, QStringLiteral("30"));
    QTest::keyClick(y, Qt::Key_Tab);
    QCOMPARE(y->value(), 30);
    QCOMPARE(anzahl->text(), QStringLiteral("40 x 30 Kacheln, 1200 insgesamt"));

    // Digits beyond the bound are refused; 0 becomes 1, as an arrow below 1 would give.
    Tippen(x, QStringLiteral("999"));
    QTest::keyClick(x, Qt::Key_Return);
    QCOMPARE(x->value(), 99);
    Tippen(x, QStringLiteral("0"));
    QTest::keyClick(x, Qt::Key_Return);
    QCOMPARE(x->value(), 1);
    QCOMPARE(anzahl->text(), QStringLiteral("1 x 30 Kacheln, 30 insgesamt"));

    // A number typed and not yet confirmed reaches the job when the page is left.
    Tippen(x, QStringLiteral("64"));
    seite->WeiterKnopf()->click();
    QCOMPARE(auftrag.AktSeite, 4);
    QCOMPARE(auftrag.einstellungen.KachelnX, 64);
    QCOMPARE(auftrag.einstellungen.KachelnY, 30);
  }

  void HilfetextStehtGanzInnerhalbDesRahmens() {
    UiTestUmgebung umgebung;
    ui::Hinweisfenster* hilfe = umgebung.assistent().Hilfefenster();
    for (int nummer : {1, 2, 3, 4, 5}) {
      ui::Seite* seite = umgebung.assistent().SeiteHolen(static_cast<uint16_t>(nummer));
      seite->show();
      QVERIFY(QTest::qWaitForWindowExposed(seite));
      seite->HilfeKnopf()->click();
      QVERIFY(hilfe->isVisible());
      QCOMPARE(hilfe->Nummer(), nummer);

      // Every line is as high as the font needs, and all of them fit between the margins.
      const QFontMetrics metrik(hilfe->font());
      const int zeilenHoehe = hilfe->ZeilenHoehe();
      QVERIFY(zeilenHoehe >= metrik.lineSpacing());
      const auto zeilen = static_cast<int>(hilfe->Zeilen().size());
      QCOMPARE(hilfe->height(), wizard::HilfeFensterHoehe(zeilen, zeilenHoehe));
      QVERIFY(hilfe->height() >=
              wizard::kHilfeRandOben + zeilen * metrik.lineSpacing() + wizard::kHilfeRandUnten);
      // No line runs into the border or the rounded corners on either side.
      QVERIFY(wizard::kHilfeRandLinks >= wizard::kHilfeEckenRadius / 2);
      for (const QString& zeile : hilfe->Zeilen()) {
        QVERIFY2(metrik.horizontalAdvance(zeile) <= wizard::HilfeTextBreite(hilfe->width()),
                 qPrintable(zeile));
      }
      hilfe->close();
      seite->hide();
    }
  }

  void VorlagendialogOeffnetInEinemVorhandenenOrdnerUndZeigtDieTypenGanz() {
    UiTestUmgebung umgebung;
    ui::Seite* seite = umgebung.assistent().SeiteHolen(1);
    seite->show();
    QVERIFY(QTest::qWaitForWindowExposed(seite));
    bool geprueft = false;
    WennModal([&](QWidget* fenster) {
      auto* dialog = qobject_cast<QFileDialog*>(fenster);
      QVERIFY(dialog != nullptr);
      const QString bilder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
      const QString erwartet = QDir(bilder).exists() ? bilder : QDir::homePath();
      QCOMPARE(dialog->directory().absolutePath(), QDir(erwartet).absolutePath());
      auto* typen = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      QVERIFY(typen != nullptr);
      QVERIFY(typen->isVisible());
      // The box is as wide as its longest entry needs.
      QVERIFY(typen->sizeHint().width() >
              typen->fontMetrics().horizontalAdvance(typen->itemText(0)));
      QVERIFY(typen->width() >= typen->sizeHint().width());
      geprueft = true;
      dialog->reject();
    });
    QTest::mouseClick(Element<QPushButton>(seite, "laden"), Qt::LeftButton);
    QVERIFY(geprueft);
    seite->hide();
  }

  void EinKnopfStelltMoeglichstAehnlicheMosaikeEin() {
    UiTestUmgebung umgebung;
    Auftrag& auftrag = umgebung.auftrag();
    auftrag.einstellungen.KachelnX = 40;
    auftrag.einstellungen.KachelnY = 30;
    ui::Seite* seite = umgebung.assistent().SeiteHolen(5);
    seite->show();
    QVERIFY(QTest::qWaitForWindowExposed(seite));
    auto* wahrnehmung = Element<QCheckBox>(seite, "Wahrnehmung");
    auto* zuschneiden = Element<QCheckBox>(seite, "Zuschneiden");
    auto* angleich = Element<QSpinBox>(seite, "Farbangleich");
    auto* knopf = Element<QPushButton>(seite, "Aehnlich");
    // The page starts from the defaults.
    QVERIFY(!wahrnehmung->isChecked());
    QVERIFY(!zuschneiden->isChecked());
    QCOMPARE(angleich->value(), 0);
    QVERIFY(Element<QCheckBox>(seite, "Aufrichten")->isChecked());
    QVERIFY(knopf->toolTip().contains(QStringLiteral("Farbeindruck")));

    QTest::mouseClick(knopf, Qt::LeftButton);
    QVERIFY(wahrnehmung->isChecked());
    QVERIFY(zuschneiden->isChecked());
    QCOMPARE(angleich->value(), 50);
    const Verfahren& v = auftrag.einstellungen.verfahren;
    QVERIFY(v.Wahrnehmung);
    QVERIFY(v.Zuschneiden);
    QCOMPARE(v.Farbangleich, 50);
    QVERIFY(v.Aufrichten);
    QVERIFY(!v.SchnellLesen);

    // Each can be changed afterwards.
    zuschneiden->click();
    angleich->setValue(20);
    QVERIFY(!v.Zuschneiden);
    QCOMPARE(v.Farbangleich, 20);
    QVERIFY(v.Wahrnehmung);
    seite->WeiterKnopf()->click();
    QCOMPARE(auftrag.AktSeite, 7);
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::BedienungTest)
#include "bedienung_test.moc"
