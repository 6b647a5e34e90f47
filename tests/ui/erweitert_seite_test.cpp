// The extended settings page through its real controls: every control re-applies the
// job's tables and holds the distance box to its bound, the choices (also "every photo"
// and the button for close mosaics) reach the job, and the information page returns here.
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "ui/info_seite.h"
#include "ui/seite.h"
#include "ui_test_umgebung.h"

namespace tilvendo::testing {
namespace {

QAbstractButton* Wahl(QWidget* seite, const char* gruppe, int position) {
  const auto knoepfe =
      seite->findChild<QGroupBox*>(QString::fromLatin1(gruppe))->findChildren<QAbstractButton*>();
  return knoepfe.at(position);
}

}  // namespace

class ErweitertSeiteTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { UiTestsEinrichten(); }

  void ControlsFollowTheTablesAndTheBound() {
    UiTestUmgebung umgebung;
    Auftrag& auftrag = umgebung.auftrag();
    auftrag.einstellungen.KachelnX = 40;
    auftrag.einstellungen.KachelnY = 30;
    auftrag.BilderAnzahl.gesamt = 30;
    ui::Seite* seite = umgebung.assistent().SeiteHolen(5);
    auto* abstand = seite->findChild<QSpinBox*>(QStringLiteral("minAbstand"));
    auto* benoetigt = seite->findChild<QLabel*>(QStringLiteral("benoetigteBilder"));
    seite->show();
    QVERIFY(QTest::qWaitForWindowExposed(seite));

    // The start distance 2 drops to the bound 1 of 30 pictures under "Standard".
    QCOMPARE(abstand->maximum(), 1);
    QCOMPARE(abstand->value(), 1);
    QCOMPARE(benoetigt->text(), QStringLiteral("25"));
    QCOMPARE(Wahl(seite, "Berechnungsart", 3)->text(), QStringLiteral("Optimal"));

    // "Jedes Foto mindestens einmal" reaches the job and shows the most pictures.
    auto* jedes = Element<QCheckBox>(seite, "JedesFoto");
    QVERIFY(!jedes->isChecked());
    jedes->click();
    QVERIFY(auftrag.einstellungen.verfahren.JedesFoto);
    QCOMPARE(benoetigt->text(), QStringLiteral("25 bis 1200"));
    jedes->click();
    QVERIFY(!auftrag.einstellungen.verfahren.JedesFoto);
    QCOMPARE(benoetigt->text(), QStringLiteral("25"));

    // The button for close mosaics: its boxes and the job follow the page's rule, and
    // each can be changed afterwards.
    auto* zuschneiden = Element<QCheckBox>(seite, "Zuschneiden");
    auto* angleich = Element<QSpinBox>(seite, "Farbangleich");
    QVERIFY(!Element<QCheckBox>(seite, "Wahrnehmung")->isChecked());
    QTest::mouseClick(Element<QPushButton>(seite, "Aehnlich"), Qt::LeftButton);
    QVERIFY(Element<QCheckBox>(seite, "Wahrnehmung")->isChecked());
    QVERIFY(zuschneiden->isChecked());
    QCOMPARE(angleich->value(), 50);
    const Verfahren& v = auftrag.einstellungen.verfahren;
    QVERIFY(v.Wahrnehmung);
    zuschneiden->click();
    angleich->setValue(20);
    QVERIFY(!v.Zuschneiden);
    QCOMPARE(v.Farbangleich, 20);

    // "ignorieren" widens the bound; the distance can then be raised to it.
    Wahl(seite, "Musterbildung", 1)->click();
    QCOMPARE(abstand->maximum(), 4);
    QCOMPARE(benoetigt->text(), QStringLiteral("4"));
    abstand->setValue(4);
    QCOMPARE(auftrag.einstellungen.minAbstand, 4);
    QCOMPARE(benoetigt->text(), QStringLiteral("25"));

    // "unterdrücken" leaves no room: the box and the job drop to 0.
    Wahl(seite, "Musterbildung", 3)->click();
    QCOMPARE(abstand->value(), 0);
    QCOMPARE(auftrag.einstellungen.minAbstand, 0);
    QCOMPARE(benoetigt->text(), QStringLiteral("36"));
    Wahl(seite, "Berechnungsart", 2)->click();
    QCOMPARE(auftrag.einstellungen.Kandidatenzahl, 30);  // all there are

    // The information page remembers where it was opened and "Ok" leads back.
    QTest::mouseClick(seite->InfoKnopf(), Qt::LeftButton);
    QCOMPARE(auftrag.AktSeite, 9);
    QCOMPARE(auftrag.einstellungen.Berechnungsart, 2);
    QCOMPARE(auftrag.einstellungen.Musterbildung, 3);
    auto* info = static_cast<ui::InfoSeite*>(umgebung.assistent().SeiteHolen(9));
    info->show();
    QVERIFY(QTest::qWaitForWindowExposed(info));
    QTest::mouseClick(info->OkKnopf(), Qt::LeftButton);
    QCOMPARE(auftrag.AktSeite, 5);
    QVERIFY(!auftrag.ProgrammEnde);

    // Shown again, the page shows what the job holds.
    auftrag.einstellungen.verfahren.JedesFoto = true;
    seite->show();
    QVERIFY(jedes->isChecked());
    QVERIFY(Wahl(seite, "Musterbildung", 3)->isChecked());
    QVERIFY(Wahl(seite, "Berechnungsart", 2)->isChecked());
    QCOMPARE(abstand->value(), 0);
    QTest::mouseClick(seite->WeiterKnopf(), Qt::LeftButton);
    QCOMPARE(auftrag.AktSeite, 7);
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::ErweitertSeiteTest)
#include "erweitert_seite_test.moc"
