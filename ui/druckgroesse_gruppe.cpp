#include "ui/druckgroesse_gruppe.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

#include "engine/vorbereitung.h"
#include "platform/translate.h"
#include "ui/bausteine.h"
#include "wizard/zielgroesse_seite.h"

namespace tilvendo::ui {
namespace {

QSpinBox* Feld(QWidget* eltern, const char* name, int32_t hoechstens, const QString& einheit) {
  auto* feld = new QSpinBox(eltern);
  feld->setObjectName(QString::fromLatin1(name));
  feld->setRange(1, hoechstens);
  feld->setSuffix(einheit);
  // A typed number counts when it is complete, as in the size boxes above.
  feld->setKeyboardTracking(false);
  return feld;
}

QString Ausrichtungstext(wizard::Ausrichtung ausrichtung) {
  return ausrichtung == wizard::Ausrichtung::Querformat ? Text(_("quer, wie die Vorlage"))
                                                        : Text(_("hoch, wie die Vorlage"));
}

}  // namespace

DruckgroesseGruppe::DruckgroesseGruppe(QWidget* eltern)
    : QGroupBox(Text(_("Druckgröße")), eltern) {
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
  raster->addWidget(new QLabel(Text(_("Papier:")), this), 0, 0);
  raster->addWidget(formate_, 0, 1, 1, 3);
  raster->addWidget(ausrichtung_, 0, 4);

  const QString mm = QStringLiteral(" mm");
  breite_ = Feld(this, "DruckBreite", tilvendo::kMaxPapierkante, mm);
  hoehe_ = Feld(this, "DruckHoehe", tilvendo::kMaxPapierkante, mm);
  raster->addWidget(breite_, 1, 1);
  raster->addWidget(new QLabel(QStringLiteral("×"), this), 1, 2, Qt::AlignCenter);
  raster->addWidget(hoehe_, 1, 3);

  dpi_ = Feld(this, "DruckDpi", wizard::kMaxDpi, QStringLiteral(" dpi"));
  raster->addWidget(new QLabel(Text(_("Auflösung:")), this), 2, 0);
  raster->addWidget(dpi_, 2, 1);
  kachelkante_ = new QLabel(this);
  kachelkante_->setObjectName(QStringLiteral("Kachelkante"));
  kachelkante_->setToolTip(Text(_(wizard::kKachelkanteHinweis)));
  raster->addWidget(kachelkante_, 3, 0, 1, 5);
  raster->setColumnStretch(4, 1);

  connect(formate_, &QComboBox::activated, this, &DruckgroesseGruppe::FormatWahl);
  for (QSpinBox* kante : {breite_, hoehe_}) {
    connect(kante, &QSpinBox::valueChanged, this, [this] {
      emit PapierGeaendert(wizard::Papiermass{breite_->value(), hoehe_->value()});
    });
  }
  connect(dpi_, &QSpinBox::valueChanged, this,
          [this](int dpi) { emit AufloesungGeaendert(static_cast<int32_t>(dpi)); });
}

void DruckgroesseGruppe::FormatWahl(int index) {
  if (index < 0 || static_cast<size_t>(index) >= wizard::kDruckformate.size()) return;
  emit FormatGewaehlt(
      wizard::PapierFuer(wizard::kDruckformate[static_cast<size_t>(index)], gezeigt_));
}

void DruckgroesseGruppe::Zeigen(wizard::Papiermass papier, int32_t dpi,
                                wizard::Ausrichtung ausrichtung, wizard::Kachelmass kachel) {
  gezeigt_ = ausrichtung;
  const QSignalBlocker ohneFormat(formate_);
  const QSignalBlocker ohneBreite(breite_);
  const QSignalBlocker ohneHoehe(hoehe_);
  const QSignalBlocker ohneDpi(dpi_);
  dpi_->setValue(dpi);
  const int32_t kante = wizard::GroesstePapierkante(dpi);
  breite_->setMaximum(kante);
  hoehe_->setMaximum(kante);
  breite_->setValue(papier.breite);
  hoehe_->setValue(papier.hoehe);
  const std::optional<size_t> format = wizard::DruckformatVon(papier, ausrichtung);
  formate_->setCurrentIndex(format ? static_cast<int>(*format)
                                   : static_cast<int>(wizard::kDruckformate.size()));
  ausrichtung_->setText(Ausrichtungstext(ausrichtung));
  kachelkante_->setText(Text(wizard::KachelkantenText(kachel)));
}

}  // namespace tilvendo::ui
