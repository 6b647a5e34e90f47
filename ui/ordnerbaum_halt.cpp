#include "ui/ordnerbaum_halt.h"

#include <QFileSystemModel>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

namespace tilvendo::ui {

OrdnerbaumHalt::OrdnerbaumHalt(QTreeView* baum, QFileSystemModel* modell)
    : QObject(baum), baum_(baum), modell_(modell) {
  // Pixels, not rows, so that the place kept is kept exactly.
  baum_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  const auto beginnt = [this] {
    ++imModell_;
    Aendert();
  };
  const auto endet = [this] { imModell_ = std::max(imModell_ - 1, 0); };
  connect(modell_, &QAbstractItemModel::layoutAboutToBeChanged, this, beginnt);
  connect(modell_, &QAbstractItemModel::layoutChanged, this, endet);
  connect(modell_, &QAbstractItemModel::rowsAboutToBeInserted, this, beginnt);
  connect(modell_, &QAbstractItemModel::rowsInserted, this, endet);
  connect(modell_, &QAbstractItemModel::rowsAboutToBeRemoved, this, beginnt);
  connect(modell_, &QAbstractItemModel::rowsRemoved, this, endet);
  connect(modell_, &QAbstractItemModel::modelAboutToBeReset, this, beginnt);
  connect(modell_, &QAbstractItemModel::modelReset, this, endet);
  // What the user or the page does is the new steady state; the tree's own moves while
  // the model changes are not.
  connect(baum_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
    if (!aendert_) Festhalten();
  });
  connect(baum_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& aktuell) {
            if (imModell_ > 0) return;
            aktuell_ = aktuell.isValid() ? modell_->filePath(aktuell) : QString();
            if (aendert_) {
              zeigen_ = true;
            } else {
              Festhalten();
            }
          });
}

void OrdnerbaumHalt::Festhalten() {
  // The chosen folder while it is in view, else the top row: rows may also come and go
  // between the two, and a folder chosen while the first listing was still unsorted was
  // otherwise sorted out of view.
  QModelIndex anker = baum_->currentIndex();
  if (!anker.isValid() || !baum_->viewport()->rect().intersects(baum_->visualRect(anker))) {
    anker = baum_->indexAt(QPoint(0, 0));
  }
  anker_ = anker.isValid() ? modell_->filePath(anker) : QString();
  ankerOben_ = anker.isValid() ? baum_->visualRect(anker).top() : 0;
}

void OrdnerbaumHalt::Aendert() {
  if (aendert_) return;
  aendert_ = true;
  // After every change of this turn: the model sends them in bursts.
  QTimer::singleShot(0, this, &OrdnerbaumHalt::Wiederherstellen);
}

void OrdnerbaumHalt::Wiederherstellen() {
  if (!aktuell_.isEmpty()) {
    const QModelIndex aktuell = modell_->index(aktuell_);
    if (aktuell.isValid() && aktuell != baum_->currentIndex()) baum_->setCurrentIndex(aktuell);
  }
  const QModelIndex anker = anker_.isEmpty() ? QModelIndex() : modell_->index(anker_);
  if (anker.isValid()) {
    baum_->doItemsLayout();
    const QRect zeile = baum_->visualRect(anker);
    if (zeile.isValid()) {
      QScrollBar* rollbalken = baum_->verticalScrollBar();
      rollbalken->setValue(rollbalken->value() + zeile.top() - ankerOben_);
    }
  }
  if (zeigen_ && baum_->currentIndex().isValid()) baum_->scrollTo(baum_->currentIndex());
  zeigen_ = false;
  aendert_ = false;
  Festhalten();
}

}  // namespace tilvendo::ui
