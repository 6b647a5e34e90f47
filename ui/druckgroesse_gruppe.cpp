#include "ui/druckgroesse_gruppe.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>

#include "engine/vorbereitung.h"
#include "platform/translate.h"
#include "ui/bausteine.h"
#include "ui/zahlenfeld.h"
#include "wizard/spin_wert.h"
#include "wizard/zielgroesse_seite.h"

namespace tilvendo::ui {
namespace {

Zahlenfeld* Feld(QWidget* eltern, const char* name, int32_t hoechstens, const QString& einheit) {
  auto* feld = new Zahlenfeld(eltern);
  feld->setObjectName(QString::fromLatin1(name));
  feld->setRange(1, hoechstens);
  feld->setSuffix(einheit);
  // A typed number counts when it is complete, as in the size boxes above.
  feld->setKeyboardTracking(false);
  return feld;
}

// A label of `zeilen` lines at least, so that the group does not grow when it fills.
QLabel* Zeile(QWidget* eltern, const char* name, int zeilen) {
  auto* zeile = new QLabel(eltern);
  zeile->setObjectName(QString::fromLatin1(name));
  zeile->setWordWrap(true);
  zeile->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  zeile->setMinimumHeight(zeilen * zeile->fontMetrics().lineSpacing());
  return zeile;
}

// The printed size, and the cut in two lines.
constexpr int kFlaechenZeilen = 3;
constexpr int kHinweisZeilen = 2;

}  // namespace

DruckgroesseGruppe::DruckgroesseGruppe(QWidget* eltern) : QGroupBox(Text(_("Druckgröße")), eltern) {
  setObjectName(QStringLiteral("Druckgroesse"));
  auto* raster = new QGridLayout(this);
  formate_ = new QComboBox(this);
  formate_->setObjectName(QStringLiteral("Papierformate"));
  for (const wizard::Druckformat& format : wizard::kDruckformate) {
    formate_->addItem(Text(_(format.text)));
  }
  formate_->addItem(Text(_(wizard::kEigeneGroesse)));
  ausrichtung_ = new QLabel(this);
  ausrichtung_->setObjectName(QStringLiteral("Ausrichtung"));
  // As wide as its longest text from the start, so that the group keeps its size.
  ausrichtung_->setMinimumWidth(ausrichtung_->fontMetrics().horizontalAdvance(
      Text(wizard::AusrichtungsText(wizard::Papiermass{1, 2}, wizard::Ausrichtung::Querformat))));
  drehen_ = new QToolButton(this);
  drehen_->setObjectName(QStringLiteral("Drehen"));
  drehen_->setText(Text(_(wizard::kPapierDrehenText)));
  drehen_->setToolTip(Text(_(wizard::kPapierDrehenHinweis)));
  auto* papierZeile = new QHBoxLayout;
  papierZeile->addWidget(ausrichtung_);
  papierZeile->addWidget(drehen_);
  papierZeile->addStretch(1);
  raster->addWidget(new QLabel(Text(_("Papier:")), this), 0, 0);
  raster->addWidget(formate_, 0, 1, 1, 3);
  raster->addLayout(papierZeile, 0, 4);

  const QString mm = QStringLiteral(" mm");
  breite_ = Feld(this, "DruckBreite", tilvendo::kMaxPapierkante, mm);
  hoehe_ = Feld(this, "DruckHoehe", tilvendo::kMaxPapierkante, mm);
  raster->addWidget(breite_, 1, 1);
  raster->addWidget(new QLabel(QStringLiteral("×"), this), 1, 2, Qt::AlignCenter);
  raster->addWidget(hoehe_, 1, 3);

  dpi_ = Feld(this, "DruckDpi", wizard::kMaxDpi, QStringLiteral(" dpi"));
  raster->addWidget(new QLabel(Text(_("Auflösung:")), this), 2, 0);
  raster->addWidget(dpi_, 2, 1);

  // Filling the paper or keeping the whole template: only while the ratio is held.
  fuellen_ = new QRadioButton(Text(_(wizard::kPapierFuellenText)), this);
  fuellen_->setObjectName(QStringLiteral("PapierFuellen"));
  fuellen_->setToolTip(Text(_(wizard::kPapierFuellenHinweis)));
  ganz_ = new QRadioButton(Text(_(wizard::kGanzeVorlageText)), this);
  ganz_->setObjectName(QStringLiteral("GanzeVorlage"));
  ganz_->setToolTip(Text(_(wizard::kGanzeVorlageHinweis)));
  auto* wahl = new QButtonGroup(this);
  wahl->addButton(fuellen_);
  wahl->addButton(ganz_);
  auto* wahlZeile = new QHBoxLayout;
  wahlZeile->addWidget(fuellen_);
  wahlZeile->addWidget(ganz_);
  wahlZeile->addStretch(1);
  raster->addLayout(wahlZeile, 3, 0, 1, 5);

  flaeche_ = Zeile(this, "Druckflaeche", kFlaechenZeilen);
  raster->addWidget(flaeche_, 4, 0, 1, 5);
  kachelkante_ = Zeile(this, "Kachelkante", 1);
  kachelkante_->setToolTip(Text(_(wizard::kKachelkanteHinweis)));
  raster->addWidget(kachelkante_, 5, 0, 1, 5);
  hinweis_ = Zeile(this, "DruckHinweis", kHinweisZeilen);
  raster->addWidget(hinweis_, 6, 0, 1, 5);
  raster->setColumnStretch(4, 1);

  connect(formate_, &QComboBox::activated, this, &DruckgroesseGruppe::FormatWahl);
  for (Zahlenfeld* kante : {breite_, hoehe_}) {
    connect(kante, &QSpinBox::valueChanged, this, [this] {
      emit PapierGeaendert(wizard::Papiermass{breite_->value(), hoehe_->value()});
    });
  }
  connect(drehen_, &QToolButton::clicked, this, [this] {
    emit PapierGeaendert(wizard::Papiermass{hoehe_->value(), breite_->value()});
  });
  connect(dpi_, &QSpinBox::valueChanged, this,
          [this](int dpi) { emit AufloesungGeaendert(static_cast<int32_t>(dpi)); });
  connect(fuellen_, &QRadioButton::clicked, this,
          [this] { emit NutzungGewaehlt(Papiernutzung::Fuellen); });
  connect(ganz_, &QRadioButton::clicked, this,
          [this] { emit NutzungGewaehlt(Papiernutzung::GanzeVorlage); });
  for (Zahlenfeld* feld : {breite_, hoehe_, dpi_}) {
    connect(feld, &Zahlenfeld::Begrenzt, this,
            [this, feld](qlonglong getippt) { Begrenzt(feld, getippt); });
  }
}

QSpinBox* DruckgroesseGruppe::Breite() const {
  return breite_;
}

QSpinBox* DruckgroesseGruppe::Hoehe() const {
  return hoehe_;
}

QSpinBox* DruckgroesseGruppe::Aufloesung() const {
  return dpi_;
}

void DruckgroesseGruppe::FormatWahl(int index) {
  if (index < 0 || static_cast<size_t>(index) >= wizard::kDruckformate.size()) return;
  emit FormatGewaehlt(
      wizard::PapierFuer(wizard::kDruckformate[static_cast<size_t>(index)], gezeigt_));
}

void DruckgroesseGruppe::Begrenzt(Zahlenfeld* feld, qlonglong getippt) {
  if (feld == dpi_) {
    HinweisZeigen(wizard::DpiHinweis(getippt));
  } else {
    HinweisZeigen(wizard::PapierHinweis(getippt, feld->maximum(), dpi_->value()));
  }
}

void DruckgroesseGruppe::HinweisZeigen(const std::string& text) {
  hinweis_->setText(Text(text));
}

void DruckgroesseGruppe::Zeigen(const Druckanzeige& anzeige) {
  gezeigt_ = wizard::PapierAusrichtung(anzeige.papier, anzeige.vorlage);
  const QSignalBlocker ohneFormat(formate_);
  const QSignalBlocker ohneBreite(breite_);
  const QSignalBlocker ohneHoehe(hoehe_);
  const QSignalBlocker ohneDpi(dpi_);
  dpi_->setValue(anzeige.dpi);
  const int32_t kante = wizard::GroesstePapierkante(anzeige.dpi);
  breite_->setMaximum(kante);
  hoehe_->setMaximum(kante);
  breite_->setValue(anzeige.papier.breite);
  hoehe_->setValue(anzeige.papier.hoehe);
  const std::optional<size_t> format = wizard::DruckformatVon(anzeige.papier, gezeigt_);
  formate_->setCurrentIndex(format ? static_cast<int>(*format)
                                   : static_cast<int>(wizard::kDruckformate.size()));
  ausrichtung_->setText(Text(wizard::AusrichtungsText(anzeige.papier, anzeige.vorlage)));
  fuellen_->setChecked(anzeige.nutzung == Papiernutzung::Fuellen);
  ganz_->setChecked(anzeige.nutzung != Papiernutzung::Fuellen);
  fuellen_->setEnabled(anzeige.formHalten);
  ganz_->setEnabled(anzeige.formHalten);
  flaeche_->setText(Text(anzeige.flaeche));
  kachelkante_->setText(Text(wizard::KachelkantenText(anzeige.kachel)));
  hinweis_->clear();
}

}  // namespace tilvendo::ui
