// The album pages through real windows: an album made over a folder, counted, chosen and
// used; what the editor shows without being clicked first (the folder "hinzufügen" would
// add, why a name cannot be taken); media arriving and leaving while the editor is open.
#include <fcntl.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTreeWidget>
#include <array>

#include "albums/alben_helfer.h"
#include "platform/medien_beobachter.h"
#include "platform/paths.h"
#include "ui/alben_seite.h"
#include "ui/album_editor_seite.h"
#include "ui/medium_name_dialog.h"
#include "ui_test_umgebung.h"

namespace tilvendo::testing {
namespace {

// A mount table that changes when the test says so.
class RohrBeobachter : public MedienBeobachter {
 public:
  RohrBeobachter() { QVERIFY(::pipe2(enden_.data(), O_NONBLOCK | O_CLOEXEC) == 0); }
  ~RohrBeobachter() override {
    for (int ende : enden_) ::close(ende);
  }
  int Deskriptor() const override { return enden_[0]; }
  bool AenderungenAbholen() override {
    std::array<char, 16> puffer{};
    bool geaendert = false;
    while (::read(enden_[0], puffer.data(), puffer.size()) > 0) geaendert = true;
    return geaendert;
  }
  void Melden() { QVERIFY(::write(enden_[1], "x", 1) == 1); }

 private:
  std::array<int, 2> enden_{-1, -1};
};

QString Ausgewaehlt(QTreeWidget* liste) {
  const QList<QTreeWidgetItem*> gewaehlt = liste->selectedItems();
  return gewaehlt.isEmpty() ? QString() : gewaehlt.front()->text(0);
}

QTreeWidgetItem* Eintrag(QTreeWidget* liste, const QString& name) {
  const QList<QTreeWidgetItem*> gefunden = liste->findItems(name, Qt::MatchExactly);
  return gefunden.isEmpty() ? nullptr : gefunden.front();
}

void Doppelklick(QTreeWidget* liste, QTreeWidgetItem* eintrag) {
  const QPoint mitte = liste->visualItemRect(eintrag).center();
  QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, mitte);
  QTest::mouseDClick(liste->viewport(), Qt::LeftButton, {}, mitte);
}

}  // namespace

class AlbenTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { UiTestsEinrichten(); }

  void EinAlbumEntstehtUndWirdVerwendet() {
    FalscheMedien medien;
    UiTestUmgebung umgebung(&medien);
    medien.media["/"] = {"0000-0001", kLaufwerksklasseFestplatte};
    medien.media[OhneStrich(umgebung.ordner.path())] = {"1111-2222", kLaufwerksklasseFestplatte};
    const std::string fotos = umgebung.ordner / "fotos/";
    LeereBilder(fotos, 3);
    LeereBilder(fotos + "innen/", 2);
    umgebung.auftrag().AktSeite = 4;

    ui::AlbenSeite seite(umgebung.assistent());
    seite.show();
    QVERIFY(QTest::qWaitForWindowExposed(&seite));
    QCOMPARE(seite.Alben()->topLevelItemCount(), 2);
    QVERIFY(!seite.WeiterKnopf()->isEnabled());

    ui::AlbumEditorSeite* editor = seite.Editor();
    bool bearbeitet = false;
    WennModal([&](QWidget* fenster) {
      // Left with a name even when a check fails, so that the test ends.
      const auto schliessen = qScopeGuard([&] {
        if (!editor->Schliessen()->isEnabled()) editor->Albenname()->setText("Urlaub");
        editor->Schliessen()->click();
      });
      QCOMPARE(fenster, static_cast<QWidget*>(editor));
      QCOMPARE(editor->Albenname()->text(), QStringLiteral("neues Album 1"));
      QCOMPARE(editor->BilderZahl()->text(), QStringLiteral("0"));
      QVERIFY(editor->MediumNameHG()->isHidden());
      QVERIFY(editor->Schliessen()->isEnabled());
      QCOMPARE(editor->AktListe()->count(), 0);

      editor->OrdnerZeigen(fotos);
      QCOMPARE(editor->AktuellerOrdner(), OhneStrich(fotos));
      QTest::keyClick(editor->AktListe(), Qt::Key_Insert);
      QCOMPARE(editor->AktListe()->count(), 1);
      QCOMPARE(editor->AktListe()->item(0)->text(), QString::fromStdString(fotos));
      QCOMPARE(editor->BilderZahl()->text(), QStringLiteral("5"));
      QCOMPARE(editor->AktVerz()->text(), QString::fromStdString(OhneStrich(fotos)));
      editor->Unterverz()->click();
      QCOMPARE(editor->BilderZahl()->text(), QStringLiteral("3"));
      editor->Unterverz()->click();
      QCOMPARE(editor->BilderZahl()->text(), QStringLiteral("5"));

      // A name the catalogue cannot hold says why "Schließen" is greyed out (the words
      // are the album page's rules).
      QVERIFY(editor->NamensHinweis()->isHidden());
      editor->Albenname()->clear();
      QTest::keyClicks(editor->Albenname(), QStringLiteral("Urlaub=Sommer"));
      QVERIFY(!editor->Schliessen()->isEnabled());
      QCOMPARE(editor->NamensHinweis()->text(),
               QStringLiteral("Der Name darf kein „=“ enthalten."));
      QVERIFY(editor->NamensHinweis()->isVisible());

      // The editor is left only through "Schließen", and only with a free name.
      editor->Albenname()->clear();
      QVERIFY(!editor->Schliessen()->isEnabled());
      QTest::keyClick(editor, Qt::Key_Escape);
      editor->close();
      QVERIFY(editor->isVisible());
      QTest::keyClicks(editor->Albenname(), QStringLiteral("Urlaub"));
      QVERIFY(editor->Schliessen()->isEnabled());
      QVERIFY(editor->NamensHinweis()->isHidden());
      bearbeitet = true;
    });
    QTest::mouseClick(seite.Neu(), Qt::LeftButton);
    QVERIFY(bearbeitet);
    QVERIFY(!editor->isVisible());

    // The new album is listed and chosen at once.
    QTreeWidgetItem* urlaub = Eintrag(seite.Alben(), QStringLiteral("Urlaub"));
    QVERIFY(urlaub != nullptr);
    QCOMPARE(seite.Alben()->indexOfTopLevelItem(urlaub), 2);
    QCOMPARE(umgebung.auftrag().alben.AlbenAuswahl.back(), std::string("Urlaub"));
    // Selected, named and counted without a click on its row.
    QCOMPARE(seite.Alben()->selectedItems().value(0), urlaub);
    QCOMPARE(seite.AktAlbum()->text(), QStringLiteral("Urlaub"));
    QCOMPARE(seite.BilderGesamt()->text(), QStringLiteral("5"));
    QVERIFY(seite.BearbeitenKnopf()->isEnabled());
    QVERIFY(seite.Loeschen()->isEnabled());
    QVERIFY(seite.WeiterKnopf()->isEnabled());

    // Unchosen and chosen again by double clicks.
    Doppelklick(seite.Alben(), urlaub);
    QCOMPARE(umgebung.auftrag().alben.AlbenAuswahl.size(), size_t{2});
    QVERIFY(!seite.WeiterKnopf()->isEnabled());
    Doppelklick(seite.Alben(), Eintrag(seite.Alben(), QStringLiteral("Urlaub")));
    QCOMPARE(seite.Tag(), 2);
    QVERIFY(seite.WeiterKnopf()->isEnabled());

    QTest::mouseClick(seite.WeiterKnopf(), Qt::LeftButton);
    QVERIFY(!seite.isVisible());
    QCOMPARE(umgebung.auftrag().AktSeite, uint16_t{5});
    QCOMPARE(umgebung.auftrag().BilderAnzahl.gesamt, 5);
    QVERIFY(!umgebung.auftrag().ProgrammEnde);
  }

  // The editor shows the tree's folder, the one "hinzufügen" would add, also after the
  // scan of an added folder and when opened again; a second new album takes the
  // selection from the first, even without pictures.
  void DerEditorZeigtDenOrdnerDesBaums() {
    FalscheMedien medien;
    UiTestUmgebung umgebung(&medien);
    medien.media["/"] = {"0000-0001", kLaufwerksklasseFestplatte};
    const std::string fotos = umgebung.ordner / "fotos/";
    LeereBilder(fotos, 2);
    ui::AlbenSeite seite(umgebung.assistent());
    seite.show();
    ui::AlbumEditorSeite* editor = seite.Editor();
    for (const bool erstes : {true, false}) {
      WennModal([&](QWidget*) {
        const auto schliessen = qScopeGuard([&] {
          if (erstes) editor->Albenname()->setText(QStringLiteral("Urlaub"));
          editor->Schliessen()->click();
        });
        QVERIFY(!editor->AktuellerOrdner().empty());
        QCOMPARE(editor->AktVerz()->text(), QString::fromStdString(editor->AktuellerOrdner()));
        if (!erstes) return;
        editor->OrdnerZeigen(fotos);
        QCOMPARE(editor->AktVerz()->text(), QString::fromStdString(OhneStrich(fotos)));
        editor->Hinzufuegen()->click();
        QCOMPARE(editor->BilderZahl()->text(), QStringLiteral("2"));
        QCOMPARE(editor->AktVerz()->text(), QString::fromStdString(OhneStrich(fotos)));
      });
      QTest::mouseClick(seite.Neu(), Qt::LeftButton);
    }
    QCOMPARE(Ausgewaehlt(seite.Alben()), QStringLiteral("neues Album 1"));
    QCOMPARE(seite.AktAlbum()->text(), QStringLiteral("neues Album 1"));
    QCOMPARE(seite.BilderGesamt()->text(), QStringLiteral("0"));
    QCOMPARE(seite.Tag(), 3);
  }

  void MedienKommenUndGehenWaehrendDerEditorOffenIst() {
    FalscheMedien medien;
    UiTestUmgebung umgebung(&medien);
    medien.media["/"] = {"0000-0001", kLaufwerksklasseFestplatte};
    const std::string stick = OhneStrich(umgebung.ordner / "stick");
    CreateFolders(stick);

    ui::AlbenSeite seite(umgebung.assistent());
    ui::AlbumEditorSeite* editor = seite.Editor();
    auto beobachter = std::make_unique<RohrBeobachter>();
    RohrBeobachter* rohr = beobachter.get();
    editor->MedienBeobachterSetzen(std::move(beobachter));

    bool geprueft = false;
    WennModal([&](QWidget*) {
      const auto schliessen = qScopeGuard([&] { editor->Schliessen()->click(); });
      QCOMPARE(editor->AktuellesLaufwerk(), std::string("/"));
      medien.media[stick] = {"0012-ABCD", kLaufwerksklasseWechselmedium};
      rohr->Melden();
      QTRY_COMPARE(editor->AktuellesLaufwerk(), stick);
      QVERIFY(editor->LaufwListe()->findData(QString::fromStdString(stick)) >= 0);

      medien.media.erase(stick);
      rohr->Melden();
      QTRY_COMPARE(editor->AktuellesLaufwerk(), std::string("/"));
      QCOMPARE(editor->LaufwListe()->findData(QString::fromStdString(stick)), -1);
      geprueft = true;
    });
    AlbumImEditor album = NeuesAlbumBeginnen(
        umgebung.auftrag().alben, umgebung.assistent().albenKontext(), umgebung.benutzer);
    editor->Bearbeiten(album);
    QVERIFY(geprueft);

    // A medium taken out while the editor was closed: it opens on the home drive again.
    medien.media[stick] = {"0012-ABCD", kLaufwerksklasseWechselmedium};
    editor->OrdnerZeigen(stick);
    QCOMPARE(editor->AktuellesLaufwerk(), stick);
    medien.media.erase(stick);
    std::string geoeffnetAuf;
    WennModal([&](QWidget*) {
      geoeffnetAuf = editor->AktuellesLaufwerk();
      editor->Schliessen()->click();
    });
    editor->Bearbeiten(album);
    QCOMPARE(geoeffnetAuf, std::string("/"));

    // The system's own watcher can be set up without privileges.
    QVERIFY(MounttabellenBeobachter().Deskriptor() >= 0);
  }

  void DerMediennameBleibtFuerDasNaechsteMal() {
    ui::MediumNameDialog dialog;
    WennModal([&](QWidget*) {
      QTest::keyClicks(dialog.Name(), QStringLiteral("Urlaubs-CD"));
      dialog.OK()->click();
    });
    QCOMPARE(dialog.Erfragen(), std::string("Urlaubs-CD"));
    WennModal([&](QWidget*) { dialog.OK()->click(); });
    QCOMPARE(dialog.Erfragen(), std::string("Urlaubs-CD"));
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::AlbenTest)
#include "alben_test.moc"
