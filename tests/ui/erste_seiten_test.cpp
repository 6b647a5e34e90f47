// The first pages through real windows: a template chosen in the open dialog, the size
// and tiling set with their boxes, on to the extended settings, where "Ende" answered
// with "Abbrechen" keeps the page and everything set so far.
#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

#include "support/bild_dateien.h"
#include "ui/seite.h"
#include "ui/vorlage_seite.h"
#include "ui_test_umgebung.h"

namespace tilvendo::testing {
namespace {

ui::Seite* AlsSeite(QWidget* fenster, int nummer) {
  auto* seite = qobject_cast<ui::Seite*>(fenster);
  if (seite == nullptr || seite->Nummer() != nummer) return nullptr;
  return seite;
}

}  // namespace

class ErsteSeitenTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { UiTestsEinrichten(); }

  void VorlageGroesseUndKachelungBisZurErweitertenSeite() {
    UiTestUmgebung umgebung;
    Auftrag& auftrag = umgebung.auftrag();
    const std::string vorlage = umgebung.ordner / "vorlage.jpg";
    WriteTestJpeg(vorlage, Einfarbig(800, 600, Farbe{40, 120, 200}));
    WriteWholeFile(umgebung.ordner / "kaputt.jpg", "kein Bild");
    auftrag.analyse.ErgebnisGespeichert = 0;  // so that the exit question offers "Abbrechen"
    umgebung.benutzer.antworten = {wizard::Antwort::Abbrechen, wizard::Antwort::Nein};
    std::vector<int> gezeigt;

    // Each step runs once its page is shown and ends by leaving it.
    std::function<void(QWidget*)> erweitert = [&](QWidget* fenster) {
      ui::Seite* seite = AlsSeite(fenster, 5);
      QVERIFY(seite != nullptr);
      gezeigt.push_back(5);
      QCOMPARE(auftrag.einstellungen.KachelnX, 40);
      QCOMPARE(auftrag.einstellungen.KachelnY, 25);
      QCOMPARE(auftrag.analyse.Formanalyse, 1);
      QCOMPARE(auftrag.einstellungen.ZielBreite, 1200);
      // The first "Ende" is answered "Abbrechen" and shows this page again.
      if (gezeigt.size() == 5) WennModal(erweitert);
      QTest::mouseClick(seite->EndeKnopf(), Qt::LeftButton);
    };
    auto alben = [&](QWidget* fenster) {
      ui::Seite* seite = AlsSeite(fenster, 4);
      QVERIFY(seite != nullptr);
      gezeigt.push_back(4);
      // No albums are needed to walk on here.
      seite->WeiterKnopf()->setEnabled(true);
      WennModal(erweitert);
      QTest::mouseClick(seite->WeiterKnopf(), Qt::LeftButton);
    };
    auto kachelung = [&](QWidget* fenster) {
      ui::Seite* seite = AlsSeite(fenster, 3);
      QVERIFY(seite != nullptr);
      gezeigt.push_back(3);
      // Down the horizontal zoom counts too: 900 result pixels allow 225 tiles of 4.
      QCOMPARE(Element<QSpinBox>(seite, "KachelnYR")->maximum(), 225);
      QCOMPARE(Element<QWidget>(seite, "Bild")->size(), QSize(230, 172));
      Element<QSpinBox>(seite, "KachelnXR")->stepBy(15);
      seite->findChildren<QRadioButton*>().front()->click();  // "keine Formanalyse"
      WennModal(alben);
      QTest::mouseClick(seite->WeiterKnopf(), Qt::LeftButton);
    };
    auto groesse = [&](QWidget* fenster) {
      ui::Seite* seite = AlsSeite(fenster, 2);
      QVERIFY(seite != nullptr);
      gezeigt.push_back(2);
      QCOMPARE(Text(seite, "VorlBreite"), QStringLiteral("800 Pixel"));
      QCOMPARE(Wert(seite, "SizeX"), 800);
      // With the ratio held, the other zoom follows (the sizes reach the job, below).
      Element<QSpinBox>(seite, "ZoomX")->setValue(150);
      QCOMPARE(Wert(seite, "ZoomY"), 150);
      QCOMPARE(Element<QWidget>(seite, "Bild")->size(), QSize(230, 172));
      WennModal(kachelung);
      QTest::mouseClick(seite->WeiterKnopf(), Qt::LeftButton);
    };
    auto vorlageSeite = [&](QWidget* fenster) {
      auto* seite = qobject_cast<ui::VorlageSeite*>(AlsSeite(fenster, 1));
      QVERIFY(seite != nullptr);
      gezeigt.push_back(1);
      QVERIFY(!seite->WeiterKnopf()->isEnabled());
      seite->VorlageOeffnen(QString::fromStdString(umgebung.ordner / "kaputt.jpg"));
      QCOMPARE(umgebung.benutzer.warnungen,
               std::vector<std::string>{"Sie haben ein ungültiges Bild gewählt."});
      QVERIFY(Element<QLabel>(seite, "noPic")->isVisible());
      QVERIFY(!seite->WeiterKnopf()->isEnabled());

      WennModal([&](QWidget* dialogFenster) {
        auto* dialog = qobject_cast<QFileDialog*>(dialogFenster);
        QVERIFY(dialog != nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Öffnen einer Vorlage"));
        // It opens in a folder that is there; its types (the page's list) shown whole,
        // the patterns Qt filters by hidden behind the names.
        const QString bilder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        const QString erwartet = QDir(bilder).exists() ? bilder : QDir::homePath();
        QCOMPARE(dialog->directory().absolutePath(), QDir(erwartet).absolutePath());
        auto* typen = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(typen != nullptr);
        QCOMPARE(typen->count(), 10);
        QCOMPARE(typen->itemText(1), QStringLiteral("Windowsbilder (*.bmp)"));
        QVERIFY(typen->width() >= typen->sizeHint().width());
        QVERIFY(typen->sizeHint().width() >
                typen->fontMetrics().horizontalAdvance(typen->itemText(0)));
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name != nullptr);
        name->setText(QString::fromStdString(vorlage));
        auto* knoepfe = dialog->findChild<QDialogButtonBox*>();
        QVERIFY(knoepfe != nullptr);
        knoepfe->button(QDialogButtonBox::Open)->click();
      });
      QTest::mouseClick(Element<QPushButton>(seite, "laden"), Qt::LeftButton);
      QCOMPARE(Text(seite, "BildBreite"), QStringLiteral("800 Pixel"));
      QCOMPARE(Text(seite, "BildHoehe"), QStringLiteral("600 Pixel"));
      QVERIFY(!Element<QLabel>(seite, "noPic")->isVisible());
      QVERIFY(Element<QWidget>(seite, "Bild")->isVisible());
      QCOMPARE(Element<QWidget>(seite, "Bild")->size(), QSize(230, 172));
      QVERIFY(seite->WeiterKnopf()->isEnabled());
      QCOMPARE(umgebung.benutzer.warnungen.size(), size_t{1});
      WennModal(groesse);
      QTest::mouseClick(seite->WeiterKnopf(), Qt::LeftButton);
    };

    WennModal(vorlageSeite);
    umgebung.assistent().Seitenlauf();
    QCOMPARE(gezeigt, (std::vector<int>{1, 2, 3, 4, 5, 5}));
    QCOMPARE(umgebung.benutzer.fragen.size(), size_t{2});
    QCOMPARE(umgebung.benutzer.fragen[0],
             std::string("Wollen Sie das Ergebnis speichern, bevor Sie das Programm verlassen ?"));
    QCOMPARE(auftrag.vorlage.VorlageDatei, std::string("vorlage.jpg"));
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::ErsteSeitenTest)
#include "erste_seiten_test.moc"
