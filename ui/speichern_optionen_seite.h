// Page 10, "Optionen beim Speichern": file format, JPEG quality or BMP colour depth, a
// preview with the estimated file size, and the file name. Opened by the save flow;
// the page's result ("Speichern" or not) tells the flow whether to write.
#pragma once

#include "pictures/speichern.h"
#include "platform/bitmap.h"
#include "ui/seite.h"
#include "wizard/speichern_optionen.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace tilvendo::ui {

class Malfeld;

class SpeichernOptionenSeite : public Seite {
  Q_OBJECT

 public:
  explicit SpeichernOptionenSeite(Assistent& assistent);

  // The choices; they outlive the page, so format and depth are offered again at the
  // next save.
  SpeicherOptionen& Optionen() { return optionen_; }

  QRadioButton* BmpKnopf() const { return bmp_; }
  QRadioButton* JpegKnopf() const { return jpeg_; }
  QSlider* Qualitaet() const { return qualitaet_; }
  QLabel* QualitaetText() const { return lbJPEGQuality_; }
  QComboBox* Farbtiefe() const { return cbFarbtiefe_; }
  QGroupBox* VorschauGruppe() const { return vorschauGruppe_; }
  QLabel* Dateigroesse() const { return lbFileSize_; }
  QPushButton* VorschauKnopf() const { return vorschauKnopf_; }
  QPushButton* SpeichernKnopf() const { return speichern_; }
  QPushButton* AbbrechenKnopf() const { return abbrechen_; }

  // The handlers of the page's controls.
  void FormatClick();
  void QualitaetChange(int position);
  void FarbtiefeChange(int index);
  void VorschauClick();
  void SpeichernClick();

 protected:
  void FormShow() override;

 private:
  void Anzeigen(const wizard::Optionsanzeige& anzeige);
  void VorschauLeeren();

  SpeicherOptionen optionen_;
  Bitmap vorschau_;
  QRadioButton* bmp_ = nullptr;
  QRadioButton* jpeg_ = nullptr;
  QSlider* qualitaet_ = nullptr;
  QLabel* lbJPEGQuality_ = nullptr;
  QLabel* farbtiefeLabel_ = nullptr;
  QComboBox* cbFarbtiefe_ = nullptr;
  QGroupBox* vorschauGruppe_ = nullptr;
  Malfeld* vorschaubild_ = nullptr;
  QLabel* lbFileSize_ = nullptr;
  QPushButton* vorschauKnopf_ = nullptr;
  QPushButton* hilfe_ = nullptr;
  QPushButton* speichern_ = nullptr;
  QPushButton* abbrechen_ = nullptr;
};

}  // namespace tilvendo::ui
