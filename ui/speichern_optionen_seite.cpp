#include "ui/speichern_optionen_seite.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <exception>
#include <string>

#include "engine/auftrag.h"
#include "engine/ausgabeziel.h"
#include "engine/save_preview.h"
#include "pictures/save_extension.h"
#include "platform/free_space.h"
#include "platform/paths.h"
#include "platform/translate.h"
#include "ui/assistent.h"
#include "ui/bausteine.h"
#include "ui/bild_anzeige.h"
#include "ui/malfeld.h"
#include "ui/qt_benutzer.h"

namespace tilvendo::ui {
namespace {

// The box the preview is fitted into.
constexpr int kVorschauBreite = 236;
constexpr int kVorschauHoehe = 170;

// Before the reason of a preview that failed (the encoder's own words).
constexpr const char* kVorschauFehler = N_("Die Vorschau konnte nicht erstellt werden: ");

}  // namespace

SpeichernOptionenSeite::SpeichernOptionenSeite(Assistent& assistent)
    : Seite(assistent, wizard::Seite::SpeichernOptionen) {
  SchliessenOhneEnde(true);
  auto* layout = new QVBoxLayout(Gruppe());

  auto* format = new QGroupBox(Text(_("Bildformat")), Gruppe());
  auto* formatLayout = new QGridLayout(format);
  auto* knoepfe = new QButtonGroup(this);
  for (size_t i = 0; i < formate_.size(); ++i) {
    formate_[i] = new QRadioButton(Text(_(wizard::kFormatTexte[i])), format);
    knoepfe->addButton(formate_[i], static_cast<int>(i));
  }
  formatLayout->addWidget(formate_[kFormatBmp], 0, 0);
  formatLayout->addWidget(formate_[kFormatJpeg], 0, 1);
  // The lossless formats below, where nothing else is to be chosen for them.
  formatLayout->addWidget(formate_[kFormatPng], 3, 0);
  formatLayout->addWidget(formate_[kFormatTiff], 3, 1);

  lbJPEGQuality_ = new QLabel(Text(_(wizard::kQualitaetAnfangstext)), format);
  qualitaet_ = new QSlider(Qt::Horizontal, format);
  qualitaet_->setRange(wizard::kQualitaetMinimum, wizard::kQualitaetMaximum);
  qualitaet_->setTickInterval(wizard::kQualitaetTickAbstand);
  qualitaet_->setTickPosition(QSlider::TicksBelow);
  qualitaet_->setValue(kStandardQualitaet);
  formatLayout->addWidget(lbJPEGQuality_, 1, 1);
  formatLayout->addWidget(qualitaet_, 2, 1);

  farbtiefeLabel_ = new QLabel(Text(_("Farbtiefe:")), format);
  cbFarbtiefe_ = new QComboBox(format);
  for (std::string_view text : wizard::kFarbtiefenTexte)
    cbFarbtiefe_->addItem(Text(_(text.data())));
  formatLayout->addWidget(farbtiefeLabel_, 1, 0);
  formatLayout->addWidget(cbFarbtiefe_, 2, 0, Qt::AlignTop);
  layout->addWidget(format);

  vorschauGruppe_ = new QGroupBox(Text(_("Vorschau")), Gruppe());
  auto* vorschauLayout = new QHBoxLayout(vorschauGruppe_);
  vorschaubild_ = new Malfeld(vorschauGruppe_);
  vorschaubild_->setFixedSize(kVorschauBreite, kVorschauHoehe);
  vorschaubild_->MalerSetzen([this](QPainter& maler, const QSize& groesse) {
    maler.fillRect(QRect(QPoint(0, 0), groesse), palette().window());
    // The preview is drawn centred in the view at its own size.
    const QRect ziel(QPoint((groesse.width() - vorschau_.width()) / 2,
                            (groesse.height() - vorschau_.height()) / 2),
                     QSize(vorschau_.width(), vorschau_.height()));
    BildZeichnen(maler, ziel, vorschau_);
  });
  vorschauLayout->addWidget(vorschaubild_, 0, Qt::AlignCenter);
  // The window keeps its size when a preview appears or goes.
  QSizePolicy platzHalten = vorschauGruppe_->sizePolicy();
  platzHalten.setRetainSizeWhenHidden(true);
  vorschauGruppe_->setSizePolicy(platzHalten);
  vorschauGruppe_->hide();
  layout->addWidget(vorschauGruppe_);

  lbFileSize_ = new QLabel(Text(_(wizard::kGroesseAnfangstext)), Gruppe());
  layout->addWidget(lbFileSize_);
  layout->addStretch(1);

  vorschauKnopf_ = KnopfAnlegen(Text(_("Vorschau")), Glyphe::Vorschau);
  hilfe_ = KnopfAnlegen(Text(_("&Hilfe")), Glyphe::HilfeAn);
  KnopfLeiste()->addStretch(1);
  speichern_ = KnopfAnlegen(Text(_("Speichern")), Glyphe::Speichern2);
  abbrechen_ = KnopfAnlegen(Text(_("Abbrechen")), Glyphe::Abbrechen2);

  connect(knoepfe, &QButtonGroup::idClicked, this, [this] { FormatClick(); });
  connect(qualitaet_, &QSlider::valueChanged, this, &SpeichernOptionenSeite::QualitaetChange);
  connect(cbFarbtiefe_, &QComboBox::currentIndexChanged, this,
          &SpeichernOptionenSeite::FarbtiefeChange);
  connect(vorschauKnopf_, &QPushButton::clicked, this, &SpeichernOptionenSeite::VorschauClick);
  connect(hilfe_, &QPushButton::clicked, this, [this] { HilfeZeigen(hilfe_); });
  connect(speichern_, &QPushButton::clicked, this, &SpeichernOptionenSeite::SpeichernClick);
  connect(abbrechen_, &QPushButton::clicked, this, &Seite::reject);
}

void SpeichernOptionenSeite::FormShow() {
  Anzeigen(wizard::OptionenAnzeigen(optionen_));
  VorschauLeeren();
}

void SpeichernOptionenSeite::Anzeigen(const wizard::Optionsanzeige& anzeige) {
  formate_.at(anzeige.format)->setChecked(true);
  qualitaet_->setEnabled(anzeige.qualitaetAktiv);
  lbJPEGQuality_->setEnabled(anzeige.qualitaetAktiv);
  cbFarbtiefe_->setEnabled(anzeige.farbtiefeAktiv);
  farbtiefeLabel_->setEnabled(anzeige.farbtiefeAktiv);
  if (anzeige.farbtiefeIndex) {
    // Showing a depth is not choosing it: the chosen depth changes only by the user.
    const QSignalBlocker ohneHandler(cbFarbtiefe_);
    cbFarbtiefe_->setCurrentIndex(*anzeige.farbtiefeIndex);
  }
  if (anzeige.qualitaet) qualitaet_->setValue(*anzeige.qualitaet);
}

void SpeichernOptionenSeite::VorschauLeeren() {
  lbFileSize_->clear();
  vorschauGruppe_->hide();
}

void SpeichernOptionenSeite::FormatClick() {
  uint8_t gewaehlt = kFormatBmp;
  for (size_t i = 0; i < formate_.size(); ++i) {
    if (formate_[i]->isChecked()) gewaehlt = static_cast<uint8_t>(i);
  }
  Anzeigen(wizard::FormatWaehlen(optionen_, gewaehlt));
  VorschauLeeren();
}

void SpeichernOptionenSeite::QualitaetChange(int position) {
  lbJPEGQuality_->setText(Text(wizard::QualitaetsText(position)));
  optionen_.Qualitaet = static_cast<uint8_t>(position);
  VorschauLeeren();
}

void SpeichernOptionenSeite::FarbtiefeChange(int index) {
  optionen_.Farbtiefe = wizard::FarbtiefeAusIndex(index);
  VorschauLeeren();
}

void SpeichernOptionenSeite::VorschauClick() {
  Auftrag& job = auftrag();
  if (!job.Ergebnis) return;
  // A poster's preview reads photos for a second or more: the page says it is busy and
  // stays painted while the preview is made beside it, into a picture of its own, as the
  // shown one may be painted meanwhile.
  vorschauKnopf_->setEnabled(false);
  lbFileSize_->setText(Text(_(wizard::kVorschauLaeuft)));
  SavePreview ergebnis;
  Bitmap neu;
  try {
    const Sanduhr sanduhr;
    const uint8_t blendwert = assistent().Blendwert();
    const SpeicherOptionen optionen = optionen_;
    // Memory that runs out is reported in the user's language like every other failure.
    ergebnis = Nebenher([&] {
      return AsPictureTooLarge([&] {
        return MakeSavePreview(job, blendwert, kVorschauBreite, kVorschauHoehe, optionen, neu);
      });
    });
  } catch (const std::exception& fehler) {
    // The preview could not be encoded or decoded; saving may still work.
    assistent().benutzer().Warnung(_(kVorschauFehler) + std::string(fehler.what()));
  }
  vorschauKnopf_->setEnabled(true);
  vorschau_ = std::move(neu);
  if (ergebnis.bytes < 0) {
    VorschauLeeren();
    return;
  }
  lbFileSize_->setText(Text(ergebnis.estimated ? wizard::SchaetzText(ergebnis.bytes)
                                               : wizard::GroessenText(ergebnis.bytes)));
  vorschauGruppe_->show();
  vorschaubild_->repaint();
}

void SpeichernOptionenSeite::SpeichernClick() {
  const Dateiformat& format = kDateiformate.at(optionen_.Format);
  QFileDialog dialog(this);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // Exactly one file type: the chosen format's.
  dialog.setNameFilter(Text(_(format.beschreibung)));
  dialog.setDefaultSuffix(QString::fromUtf8(format.endung).mid(1));
  // The file of the last save that succeeded, at first the user's pictures folder.
  const wizard::Dateivorschlag vorschlag = wizard::DateiVorschlagen(
      assistent().ZuletztGespeichert(), optionen_.Format,
      QStandardPaths::writableLocation(QStandardPaths::PicturesLocation).toStdString());
  dialog.setDirectory(QString::fromStdString(vorschlag.ordner));
  if (!vorschlag.datei.empty()) dialog.selectFile(QString::fromStdString(vorschlag.datei));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;

  const std::string gewaehlt = dialog.selectedFiles().front().toStdString();
  std::string geschrieben = gewaehlt;
  ForceSaveExtension(optionen_.Format, geschrieben);
  // The rule the save itself keeps (the template, a photo, an album file, a device),
  // told before the dialog closes, as the command line tells it before its run.
  if (const auto verweigert = AusgabezielPruefen(auftrag(), geschrieben, Ausgabeart::Mosaik)) {
    assistent().benutzer().Warnung(*verweigert);
    return;
  }
  // The dialog asked about the name as typed; the file written may be another one.
  if (wizard::ErsetzenErfragen(gewaehlt, geschrieben) &&
      !assistent().benutzer().Bestaetigung(wizard::ErsetzenFrage(geschrieben))) {
    return;
  }
  if (!GrossesBildPasst(geschrieben)) return;
  DateinameUebernehmen(optionen_, gewaehlt);
  optionen_.Farbtiefe = wizard::FarbtiefeAusIndex(cbFarbtiefe_->currentIndex());
  FormShow();
  accept();
}

bool SpeichernOptionenSeite::GrossesBildPasst(const std::string& datei) {
  const Auftrag& job = auftrag();
  if (!job.Ergebnis) return true;
  // Checked before the page closes: a poster would otherwise find the disk full after
  // minutes of composing.
  SpeicherOptionen ziel = optionen_;
  ziel.Pfad = FolderOf(datei);
  ziel.Farbtiefe = wizard::FarbtiefeAusIndex(cbFarbtiefe_->currentIndex());
  Speicherbegleitung begleitung;
  begleitung.platz = platz_;
  const uint8_t blendwert = assistent().Blendwert();
  begleitung.schaetzung = [&] {
    return job.Ergebnis->DateigroesseSchaetzen(job.VorlageBild, blendwert, ziel).bytes;
  };
  const Size groesse = job.Ergebnis->Groesse();
  try {
    const Sanduhr sanduhr;
    SpeichernPruefen(ziel, groesse.width, groesse.height, begleitung);
  } catch (const std::exception& fehler) {
    assistent().benutzer().Warnung(fehler.what());
    return false;
  }
  return true;
}

}  // namespace tilvendo::ui
