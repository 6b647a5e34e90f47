// Page 6, "letzte Berechnung": the finished mosaic reduced to the screen, the slider
// that blends the template into it, saving, the way back to the overview and the end.
// The picture has a magnifier that looks into the mosaic up to its full resolution,
// names the photo under the cursor in the status line and opens it on a double click;
// the list of placed photos can be saved beside the picture.
#pragma once

#include "platform/bitmap.h"
#include "ui/seite.h"
#include "wizard/ergebnis_seite.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

namespace tilvendo::ui {

class KuerzendeZeile;
class LupenAnsicht;

class ErgebnisSeite : public Seite {
  Q_OBJECT

 public:
  explicit ErgebnisSeite(Assistent& assistent);

  // The group around the picture; its caption names the scale.
  QGroupBox* BildGruppe() const { return Gruppe(); }
  QSlider* Blenden() const { return blenden_; }
  QGroupBox* BlendGruppe() const { return unten_; }
  LupenAnsicht* ErgebnisBild() const { return ergebnisBild_; }
  QPushButton* LupeKnopf() const { return lupe_; }
  QPushButton* ListeKnopf() const { return liste_; }
  // The photo under the cursor, or where the placement list went.
  KuerzendeZeile* Statuszeile() const { return status_; }
  QPushButton* SpeichernKnopf() const { return speichern_; }
  QPushButton* SeitenKnopf() const { return seiten_; }
  QPushButton* WebseiteKnopf() const { return webseite_; }
  QPushButton* ZurueckKnopf() const { return zurueck_; }
  // "gespeichert: …" while the mosaic shown is saved.
  KuerzendeZeile* Speicherhinweis() const { return gespeichert_; }
  const wizard::Ergebnisanzeige& Anzeige() const { return anzeige_; }

  // The handlers of the page's controls.
  void BlendenChange(int position);
  void SpeichernClick();
  // Asks for a file and writes the list of placed photos to it.
  void ListeClick();
  // Writes the list to `datei`; a failure is told to the user. True when written.
  bool ListeSpeichern(const QString& datei);

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  void GroesseSetzen();
  void SpeicherhinweisZeigen();
  // The header: the mosaic's size and the scale it is shown at, also while zooming.
  void SkalierungZeigen();

  wizard::Ergebnisanzeige anzeige_;
  // The screen copy blended at the slider's position; the result's own stays unblended.
  Bitmap eigeneAnzeige_;
  LupenAnsicht* ergebnisBild_ = nullptr;
  QPushButton* lupe_ = nullptr;
  QPushButton* liste_ = nullptr;
  KuerzendeZeile* status_ = nullptr;
  QGroupBox* unten_ = nullptr;
  QSlider* blenden_ = nullptr;
  QPushButton* hilfe_ = nullptr;
  QPushButton* speichern_ = nullptr;
  QPushButton* seiten_ = nullptr;
  QPushButton* webseite_ = nullptr;
  QPushButton* zurueck_ = nullptr;
  QPushButton* ende_ = nullptr;
  KuerzendeZeile* gespeichert_ = nullptr;
  uint16_t zurueckZiel_ = 0;
};

}  // namespace tilvendo::ui
