// Keeps a folder tree steady while the folders it shows change on disk: the folder chosen
// stays chosen and the rows in view stay where they are. A temporary folder whose entries
// come and go many times a second made the album editor's tree jump, as rows were
// inserted and removed above what the user looked at.
#pragma once

#include <QObject>
#include <QString>

class QFileSystemModel;
class QTreeView;

namespace tilvendo::ui {

class OrdnerbaumHalt : public QObject {
  Q_OBJECT

 public:
  OrdnerbaumHalt(QTreeView* baum, QFileSystemModel* modell);

 private:
  // While the tree is steady: the chosen folder with its place if it is in view, else the
  // top row in view.
  void Festhalten();
  // The model begins a change: once the changes of this turn are done, the tree is put
  // back.
  void Aendert();
  void Wiederherstellen();

  QTreeView* baum_;
  QFileSystemModel* modell_;
  QString aktuell_;  // the folder chosen by the user or the page, not by a change on disk
  QString anker_;
  int ankerOben_ = 0;
  bool aendert_ = false;  // a change of the model waits to be put right
  int imModell_ = 0;      // inside the model's signals of a change
  bool zeigen_ = false;   // a folder chosen meanwhile is brought into view afterwards
};

}  // namespace tilvendo::ui
