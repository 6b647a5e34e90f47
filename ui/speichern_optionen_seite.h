// Page 10, "Optionen beim Speichern": file format, JPEG quality or BMP colour depth, a
// preview with the estimated file size, and the file name. Opened by the save flow;
// the page's result ("Speichern" or not) tells the flow whether to write.
#pragma once

#include <array>
#include <string>

#include "pictures/speichern.h"
#include "platform/bitmap.h"
#include "platform/free_space.h"
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

  QRadioButton* BmpKnopf() const { return formate_[kFormatBmp]; }
  QRadioButton* JpegKnopf() const { return formate_[kFormatJpeg]; }
  QRadioButton* PngKnopf() const { return formate_[kFormatPng]; }
  QRadioButton* TiffKnopf() const { return formate_[kFormatTiff]; }
  QSlider* Qualitaet() const { return qualitaet_; }
  QLabel* QualitaetText() const { return lbJPEGQuality_; }
  QComboBox* Farbtiefe() const { return cbFarbtiefe_; }
  QGroupBox* VorschauGruppe() const { return vorschauGruppe_; }
  QLabel* Dateigroesse() const { return lbFileSize_; }
  QPushButton* VorschauKnopf() const { return vorschauKnopf_; }
  QPushButton* SpeichernKnopf() const { return speichern_; }
  QPushButton* AbbrechenKnopf() const { return abbrechen_; }

  // Where the free room of the target's file system is asked (tests answer themselves).
  void PlatzAbfrageSetzen(FreeSpaceQuery abfrage) { platz_ = std::move(abfrage); }
  const FreeSpaceQuery& PlatzAbfrage() const { return platz_; }

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
  // Before the mosaic is written to `datei`: whether its file fits the free room and
  // the format; if not, the user is told why and the page stays open.
  bool GrossesBildPasst(const std::string& datei);

  SpeicherOptionen optionen_;
  FreeSpaceQuery platz_;
  Bitmap vorschau_;
  std::array<QRadioButton*, kDateiformate.size()> formate_{};
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
