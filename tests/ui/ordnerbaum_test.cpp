// The album editor's folder tree over a folder whose entries come and go: the folder
// chosen stays chosen and stays where it is on the screen.
#include <QDir>
#include <QFileSystemModel>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include "support/temp_folder.h"
#include "ui/ordnerbaum_halt.h"
#include "ui_test_umgebung.h"

namespace tilvendo::testing {
namespace {

constexpr int kOrdner = 60;
constexpr int kNeue = 12;

QString Name(const char* vorn, int i) {
  return QString::fromLatin1(vorn) + QString::number(i).rightJustified(2, QLatin1Char('0'));
}

}  // namespace

class OrdnerbaumTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { UiTestsEinrichten(); }

  void FoldersComingAndGoingAboveMoveNothing() {
    TempFolder ordner;
    const QString wurzel = QString::fromStdString(ordner.path());
    QDir dir(wurzel);
    for (int i = 0; i < kOrdner; ++i) QVERIFY(dir.mkdir(Name("b", i)));

    QFileSystemModel modell;
    modell.setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    QTreeView baum;
    baum.setModel(&modell);
    new ui::OrdnerbaumHalt(&baum, &modell);
    baum.resize(300, 200);
    modell.setRootPath(wurzel);
    baum.setRootIndex(modell.index(wurzel));
    baum.show();
    QVERIFY(QTest::qWaitForWindowExposed(&baum));
    QTRY_COMPARE(modell.rowCount(modell.index(wurzel)), kOrdner);

    const QString gewaehlt = dir.filePath(Name("b", 40));
    baum.setCurrentIndex(modell.index(gewaehlt));
    baum.scrollTo(modell.index(gewaehlt), QAbstractItemView::PositionAtCenter);
    QTest::qWait(50);
    // The first listing may still be sorted meanwhile: the folder stays in view. The
    // tree is put right one turn of the event loop after a change, which on a busy
    // machine may come after the wait: hence the checks that wait for it.
    QTRY_VERIFY(baum.viewport()->rect().contains(baum.visualRect(modell.index(gewaehlt))));
    const int oben = baum.visualRect(modell.index(gewaehlt)).top();
    QVERIFY(baum.verticalScrollBar()->value() > 0);

    // New folders sorted above the chosen one, then gone again.
    for (int i = 0; i < kNeue; ++i) QVERIFY(dir.mkdir(Name("a", i)));
    QTRY_COMPARE(modell.rowCount(modell.index(wurzel)), kOrdner + kNeue);
    QTest::qWait(50);
    QCOMPARE(modell.filePath(baum.currentIndex()), gewaehlt);
    QTRY_COMPARE(baum.visualRect(modell.index(gewaehlt)).top(), oben);
    for (int i = 0; i < kNeue; ++i) QVERIFY(dir.rmdir(Name("a", i)));
    QTRY_COMPARE(modell.rowCount(modell.index(wurzel)), kOrdner);
    QTest::qWait(50);
    QCOMPARE(modell.filePath(baum.currentIndex()), gewaehlt);
    QTRY_COMPARE(baum.visualRect(modell.index(gewaehlt)).top(), oben);

    // Scrolled away from the chosen folder, the top row stays where it is.
    baum.verticalScrollBar()->setValue(baum.verticalScrollBar()->value() / 2);
    QTest::qWait(50);
    const QString zuOberst = modell.filePath(baum.indexAt(QPoint(0, 0)));
    for (int i = 0; i < kNeue; ++i) QVERIFY(dir.mkdir(Name("c", i)));
    QTRY_COMPARE(modell.rowCount(modell.index(wurzel)), kOrdner + kNeue);
    QTest::qWait(50);
    QTRY_COMPARE(modell.filePath(baum.indexAt(QPoint(0, 0))), zuOberst);
    QCOMPARE(modell.filePath(baum.currentIndex()), gewaehlt);
  }
};

}  // namespace tilvendo::testing

QTEST_MAIN(tilvendo::testing::OrdnerbaumTest)
#include "ordnerbaum_test.moc"
