// The shell through real windows: too few colours, and the help popup's second click.
#include <QPushButton>
#include <QTest>

#include "ui/hinweisfenster.h"
#include "ui/seite.h"
#include "ui_test_umgebung.h"

namespace tilvendo::testing {

class ShellTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { UiTestsEinrichten(); }

  void ZuWenigFarbenWarntUndEndetOhneSeite() {
    UiTestUmgebung umgebung;
    umgebung.benutzer.farbtiefe = 8;
    QCOMPARE(umgebung.assistent().Ausfuehren(), 0);
    QCOMPARE(umgebung.benutzer.warnungen.size(), size_t{1});
    QVERIFY(umgebung.benutzer.warnungen[0].starts_with("Bitte starten Sie das Programm"));
    QVERIFY(umgebung.benutzer.fragen.empty());  // no page, so no exit question either
  }

  void HilfeSchliesstBeimZweitenKlickUndOeffnetSpaeterWieder() {
    UiTestUmgebung umgebung;
    ui::Seite* seite = umgebung.assistent().SeiteHolen(3);
    seite->show();
    QVERIFY(QTest::qWaitForWindowExposed(seite));
    ui::Hinweisfenster* hilfe = umgebung.assistent().Hilfefenster();

    QTest::mouseClick(seite->HilfeKnopf(), Qt::LeftButton);
    QVERIFY(hilfe->isVisible());
    QCOMPARE(hilfe->Nummer(), 3);
    QVERIFY(!hilfe->Zeilen().isEmpty());
    // The click that closes the popup reaches the button at once: it stays closed.
    hilfe->close();
    QTest::mouseClick(seite->HilfeKnopf(), Qt::LeftButton);
    QVERIFY(!hilfe->isVisible());
    // A later click opens it again.
    QTest::qWait(250);
    QTest::mouseClick(seite->HilfeKnopf(), Qt::LeftButton);
    QVERIFY(hilfe->isVisible());
    hilfe->close();
    seite->hide();
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::ShellTest)
#include "shell_test.moc"
