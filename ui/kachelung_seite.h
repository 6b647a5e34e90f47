// Page 3: how many tiles across and down, and whether the shape analysis is on. The
// preview shows the grid over the template in the result's proportions.
#pragma once

#include "ui/seite.h"

class QButtonGroup;
class QLabel;
class QSpinBox;

namespace tilvendo::ui {

class Malfeld;
class Zahlenfeld;

class KachelungSeite : public Seite {
  Q_OBJECT

 public:
  explicit KachelungSeite(Assistent& assistent);

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  void KachelnXRChange();
  // In large format: the tile edge on paper for the counts in the boxes.
  void KachelkanteZeigen();
  void BildPaint(QPainter& maler, const QSize& groesse);
  // The note for a count typed into `feld` beyond its bounds.
  void Begrenzt(Zahlenfeld* feld, qlonglong getippt);

  Zahlenfeld* kachelnXR_ = nullptr;
  Zahlenfeld* kachelnYR_ = nullptr;
  QLabel* kachelAnzahl_ = nullptr;
  QLabel* grenzHinweis_ = nullptr;
  QLabel* kachelkante_ = nullptr;
  QButtonGroup* formanalyse_ = nullptr;
  Malfeld* bild_ = nullptr;
};

}  // namespace tilvendo::ui
