// What the album editor shows without being clicked first: the folder "hinzufügen" would
// add, and why a name cannot be taken.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTreeWidget>

#include "albums/alben_helfer.h"
#include "platform/paths.h"
#include "ui/alben_seite.h"
#include "ui/album_editor_seite.h"
#include "ui_test_umgebung.h"

namespace tilvendo::testing {
namespace {

QString Ausgewaehlt(QTreeWidget* liste) {
  const QList<QTreeWidgetItem*> gewaehlt = liste->selectedItems();
  return gewaehlt.isEmpty() ? QString() : gewaehlt.front()->text(0);
}

}  // namespace

class AlbenAnzeigeTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { UiTestsEinrichten(); }

  void DerEditorZeigtDenOrdnerUndSagtWarumEinNameNichtGeht() {
    FalscheMedien medien;
    UiTestUmgebung umgebung(&medien);
    medien.media["/"] = {"0000-0001", kLaufwerksklasseFestplatte};
    medien.media[OhneStrich(umgebung.ordner.path())] = {"1111-2222", kLaufwerksklasseFestplatte};
    const std::string fotos = umgebung.ordner / "fotos/";
    LeereBilder(fotos, 2);

    ui::AlbenSeite seite(umgebung.assistent());
    seite.show();
    QVERIFY(QTest::qWaitForWindowExposed(&seite));
    ui::AlbumEditorSeite* editor = seite.Editor();
    bool geprueft = false;
    WennModal([&](QWidget*) {
      const auto schliessen = qScopeGuard([&] {
        editor->Albenname()->setText(QStringLiteral("Urlaub"));
        editor->Schliessen()->click();
      });
      // From the start, the tree's folder: the one "hinzufügen" would add.
      QVERIFY(!editor->AktuellerOrdner().empty());
      QCOMPARE(editor->AktVerz()->text(), QString::fromStdString(editor->AktuellerOrdner()));
      editor->OrdnerZeigen(fotos);
      QCOMPARE(editor->AktVerz()->text(), QString::fromStdString(OhneStrich(fotos)));
      // After the scan of the added folder, the tree's folder again.
      editor->Hinzufuegen()->click();
      QCOMPARE(editor->BilderZahl()->text(), QStringLiteral("2"));
      QCOMPARE(editor->AktVerz()->text(), QString::fromStdString(OhneStrich(fotos)));

      // A name the catalogue cannot hold says why "Schließen" is greyed out.
      QVERIFY(editor->NamensHinweis()->isHidden());
      editor->Albenname()->clear();
      QTest::keyClicks(editor->Albenname(), QStringLiteral("Urlaub=Sommer"));
      QVERIFY(!editor->Schliessen()->isEnabled());
      QVERIFY(editor->NamensHinweis()->isVisible());
      QCOMPARE(editor->NamensHinweis()->text(),
               QStringLiteral("Der Name darf kein „=“ enthalten."));
      editor->Albenname()->clear();
      QCOMPARE(editor->NamensHinweis()->text(),
               QStringLiteral("Bitte geben Sie dem Album einen Namen."));
      QTest::keyClicks(editor->Albenname(), QStringLiteral("Urlaub"));
      QVERIFY(editor->Schliessen()->isEnabled());
      QVERIFY(editor->NamensHinweis()->isHidden());
      geprueft = true;
    });
    QTest::mouseClick(seite.Neu(), Qt::LeftButton);
    QVERIFY(geprueft);

    // Opened again, it shows the tree's folder at once, not the end of the last scan.
    WennModal([&](QWidget*) {
      const auto schliessen = qScopeGuard([&] { editor->Schliessen()->click(); });
      QCOMPARE(editor->AktVerz()->text(), QString::fromStdString(editor->AktuellerOrdner()));
      QVERIFY(editor->NamensHinweis()->isHidden());
    });
    QTest::mouseClick(seite.Neu(), Qt::LeftButton);
    // The second new album takes the selection from the first, even without pictures.
    QCOMPARE(Ausgewaehlt(seite.Alben()), QStringLiteral("neues Album 1"));
    QCOMPARE(seite.AktAlbum()->text(), QStringLiteral("neues Album 1"));
    QCOMPARE(seite.BilderGesamt()->text(), QStringLiteral("0"));
    QCOMPARE(seite.Tag(), 3);
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::AlbenAnzeigeTest)
#include "alben_anzeige_test.moc"
