// Page 6, "letzte Berechnung": the finished mosaic reduced to the screen, the slider
// that blends the template into it, saving, the way back to the overview and the end.
#pragma once

#include "ui/seite.h"
#include "wizard/ergebnis_seite.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

namespace tilvendo::ui {

class KuerzendeZeile;
class Malfeld;

class ErgebnisSeite : public Seite {
  Q_OBJECT

 public:
  explicit ErgebnisSeite(Assistent& assistent);

  // The group around the picture; its caption names the scale.
  QGroupBox* BildGruppe() const { return Gruppe(); }
  QSlider* Blenden() const { return blenden_; }
  QGroupBox* BlendGruppe() const { return unten_; }
  Malfeld* ErgebnisBild() const { return ergebnisBild_; }
  QPushButton* SpeichernKnopf() const { return speichern_; }
  QPushButton* ZurueckKnopf() const { return zurueck_; }
  // "gespeichert: …" while the mosaic shown is saved.
  KuerzendeZeile* Speicherhinweis() const { return gespeichert_; }
  const wizard::Ergebnisanzeige& Anzeige() const { return anzeige_; }

  // The handlers of the page's controls.
  void BlendenChange(int position);
  void SpeichernClick();

 protected:
  void FormShow() override;

 private:
  void GroesseSetzen();
  void SpeicherhinweisZeigen();

  wizard::Ergebnisanzeige anzeige_;
  Malfeld* ergebnisBild_ = nullptr;
  QGroupBox* unten_ = nullptr;
  QSlider* blenden_ = nullptr;
  QPushButton* hilfe_ = nullptr;
  QPushButton* speichern_ = nullptr;
  QPushButton* zurueck_ = nullptr;
  QPushButton* ende_ = nullptr;
  KuerzendeZeile* gespeichert_ = nullptr;
  uint16_t zurueckZiel_ = 0;
};

}  // namespace tilvendo::ui
