// The print size of a poster on the size page, shown while large format is chosen: a
// drop-down of common paper sizes turned as the paper stands, the paper's width and
// height in millimetres, a button that turns the paper, the printer's resolution, the
// choice between filling the paper and keeping the whole template, what the poster takes
// of the paper, and what one tile measures on paper. The group only shows values and
// reports what the user changed; the size page keeps them in step with the result's
// pixels.
#pragma once

#include <QGroupBox>
#include <cstdint>
#include <string>

#include "engine/einstellungen.h"
#include "wizard/druckformat.h"

class QComboBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace tilvendo::ui {

class Zahlenfeld;

// What the group shows.
struct Druckanzeige {
  wizard::Papiermass papier;
  int32_t dpi = 0;
  wizard::Ausrichtung vorlage = wizard::Ausrichtung::Hochformat;  // as the picture stands
  wizard::Kachelmass kachel;
  Papiernutzung nutzung = Papiernutzung::GanzeVorlage;
  bool formHalten = true;  // the aspect ratio is held: filling or keeping whole counts
  std::string flaeche;     // what the poster takes of the paper, and what is cut away
};

class DruckgroesseGruppe : public QGroupBox {
  Q_OBJECT

 public:
  explicit DruckgroesseGruppe(QWidget* eltern);

  QComboBox* Formate() const { return formate_; }
  QSpinBox* Breite() const;
  QSpinBox* Hoehe() const;
  QSpinBox* Aufloesung() const;
  QToolButton* Drehen() const { return drehen_; }
  QRadioButton* Fuellen() const { return fuellen_; }
  QRadioButton* GanzeVorlage() const { return ganz_; }
  QLabel* Druckflaeche() const { return flaeche_; }
  QLabel* Kachelkante() const { return kachelkante_; }
  QLabel* Hinweis() const { return hinweis_; }

  // Shows the values without reporting them as changes, and clears the note. The paper
  // fields reach as far as the result may at that resolution.
  void Zeigen(const Druckanzeige& anzeige);
  // A note below the fields: why a value typed or chosen was held within its bounds.
  void HinweisZeigen(const std::string& text);

 signals:
  // The user chose a paper size in the drop-down, typed or turned one, chose a
  // resolution, or chose how the template meets the paper.
  void FormatGewaehlt(wizard::Papiermass papier);
  void PapierGeaendert(wizard::Papiermass papier);
  void AufloesungGeaendert(int32_t dpi);
  void NutzungGewaehlt(Papiernutzung nutzung);

 private:
  void FormatWahl(int index);
  void Begrenzt(Zahlenfeld* feld, qlonglong getippt);

  QComboBox* formate_ = nullptr;
  QLabel* ausrichtung_ = nullptr;
  QToolButton* drehen_ = nullptr;
  Zahlenfeld* breite_ = nullptr;
  Zahlenfeld* hoehe_ = nullptr;
  Zahlenfeld* dpi_ = nullptr;
  QRadioButton* fuellen_ = nullptr;
  QRadioButton* ganz_ = nullptr;
  QLabel* flaeche_ = nullptr;
  QLabel* kachelkante_ = nullptr;
  QLabel* hinweis_ = nullptr;
  // The orientation the presets are turned to: the paper's as it stands.
  wizard::Ausrichtung gezeigt_ = wizard::Ausrichtung::Hochformat;
};

}  // namespace tilvendo::ui
