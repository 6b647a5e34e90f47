// The shell through real windows: the exit question keeps the page on "Abbrechen", and
// the help popup's second click.
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

  void EndeMitAbbrechenBleibtAufDerSeite() {
    UiTestUmgebung umgebung;
    umgebung.auftrag().analyse.ErgebnisGespeichert = 0;  // an unsaved result
    umgebung.auftrag().AktSeite = 2;
    umgebung.benutzer.antworten = {wizard::Antwort::Abbrechen, wizard::Antwort::Nein};
    int gezeigt = 0;
    // Every time a page shows: the first time "Ende" (answered "Abbrechen"), the second
    // time "Ende" again (answered "Nein": the program ends without saving).
    std::function<void(QWidget*)> endeDruecken = [&](QWidget* fenster) {
      auto* seite = qobject_cast<ui::Seite*>(fenster);
      QVERIFY(seite != nullptr);
      QCOMPARE(seite->Nummer(), 2);
      ++gezeigt;
      if (gezeigt == 1) WennModal(endeDruecken);
      QTest::mouseClick(seite->EndeKnopf(), Qt::LeftButton);
    };
    WennModal(endeDruecken);
    umgebung.assistent().Seitenlauf();
    QCOMPARE(gezeigt, 2);
    QCOMPARE(umgebung.benutzer.fragen.size(), size_t{2});
    QCOMPARE(umgebung.benutzer.fragen[0],
             std::string("Wollen Sie das Ergebnis speichern, bevor Sie das Programm verlassen ?"));
  }

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
