// The wizard in English: its pages and buttons, its numbers, and Qt's own texts, which
// follow the same choice of language; then German again, with Qt's German texts.
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "ui/anwendung.h"
#include "ui/seite.h"
#include "ui_test_umgebung.h"

namespace tilvendo::testing {
namespace {

// The value of a box of the wizard's kind in `sprache` after `text` was typed into it.
int Eingetippt(const QLocale& sprache, const char* text) {
  QSpinBox feld;
  feld.setLocale(sprache);
  feld.setRange(1, 60000);
  feld.setKeyboardTracking(false);
  auto* zeile = feld.findChild<QLineEdit*>();
  zeile->selectAll();
  QTest::keyClicks(zeile, QString::fromUtf8(text));
  QTest::keyClick(zeile, Qt::Key_Enter);
  return feld.value();
}

}  // namespace

class EnglischTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // As a user whose desktop speaks English, however the tests are started.
    qputenv("LANGUAGE", "en_US");
    UiTestsEinrichten();
  }

  void PagesButtonsNumbersAndQtsOwnTextsInEnglish() {
    UiTestUmgebung umgebung;
    ui::Seite* vorlage = umgebung.assistent().SeiteHolen(1);
    QCOMPARE(vorlage->WeiterKnopf()->text(), QStringLiteral("Next"));
    QCOMPARE(vorlage->EndeKnopf()->text(), QStringLiteral("Quit"));
    QCOMPARE(vorlage->HilfeKnopf()->text(), QStringLiteral("Help"));
    QCOMPARE(vorlage->findChild<QGroupBox*>()->title(), QStringLiteral("Choose the template"));

    ui::Seite* kachelung = umgebung.assistent().SeiteHolen(3);
    kachelung->show();
    QVERIFY(QTest::qWaitForWindowExposed(kachelung));
    const QString anzahl = kachelung->findChild<QLabel*>(QStringLiteral("KachelAnzahl"))->text();
    QVERIFY2(anzahl.contains(QStringLiteral(" tiles, ")) && anzahl.endsWith(QStringLiteral(" in total")),
             qPrintable(anzahl));
    kachelung->hide();

    // Numbers as English writes them, and typed as English types them.
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral("."));
    ui::Seite* groesse = umgebung.assistent().SeiteHolen(2);
    auto* breite = groesse->findChild<QSpinBox*>(QStringLiteral("SizeX"));
    QCOMPARE(breite->locale().language(), QLocale::English);
    QCOMPARE(Eingetippt(breite->locale(), "1,500"), 1500);

    // Qt's buttons and dialogs speak English too: no German catalogue of Qt is loaded.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
  }

  void GermanAgainWithQtsGermanTexts() {
    qputenv("LANGUAGE", "de");
    ui::AnwendungEinrichten();
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    QCOMPARE(Eingetippt(QLocale(), "1.500"), 1500);
    UiTestUmgebung umgebung;
    QCOMPARE(umgebung.assistent().SeiteHolen(1)->WeiterKnopf()->text(), QStringLiteral("weiter"));
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::EnglischTest)
#include "englisch_test.moc"
