// The print size of a poster on the size page, shown while large format is chosen: a
// drop-down of common paper sizes turned as the template stands, the paper's width and
// height in millimetres, the printer's resolution, and what one tile measures on paper.
// The group only shows values and reports what the user changed; the size page keeps
// them in step with the result's pixels.
#pragma once

#include <QGroupBox>
#include <cstdint>

#include "wizard/druckformat.h"

class QComboBox;
class QLabel;
class QSpinBox;

namespace tilvendo::ui {

class DruckgroesseGruppe : public QGroupBox {
  Q_OBJECT

 public:
  explicit DruckgroesseGruppe(QWidget* eltern);

  QComboBox* Formate() const { return formate_; }
  QSpinBox* Breite() const { return breite_; }
  QSpinBox* Hoehe() const { return hoehe_; }
  QSpinBox* Aufloesung() const { return dpi_; }
  QLabel* Kachelkante() const { return kachelkante_; }

  // Shows the paper, the resolution and the tile without reporting them as changes. The
  // paper fields reach as far as the result may at that resolution.
  void Zeigen(wizard::Papiermass papier, int32_t dpi, wizard::Ausrichtung ausrichtung,
              wizard::Kachelmass kachel);

 signals:
  // The user chose a paper size in the drop-down, typed one or chose a resolution.
  void FormatGewaehlt(wizard::Papiermass papier);
  void PapierGeaendert(wizard::Papiermass papier);
  void AufloesungGeaendert(int32_t dpi);

 private:
  void FormatWahl(int index);

  QComboBox* formate_ = nullptr;
  QLabel* ausrichtung_ = nullptr;
  QSpinBox* breite_ = nullptr;
  QSpinBox* hoehe_ = nullptr;
  QSpinBox* dpi_ = nullptr;
  QLabel* kachelkante_ = nullptr;
  wizard::Ausrichtung gezeigt_ = wizard::Ausrichtung::Hochformat;
};

}  // namespace tilvendo::ui
