#include "ui/seiten_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "ui/bausteine.h"
#include "wizard/seiten_druck.h"

namespace tilvendo::ui {
namespace {

constexpr int kVorschauKante = 360;
constexpr double kGroessteUeberlappungMm = 500.0;
constexpr double kGroessterRandMm = 200.0;
constexpr int kGroessteDpi = 9999;
constexpr int kStandardBlatt = 1;  // A4

}  // namespace

SeitenDialog::SeitenDialog(QWidget* eltern, const QImage& bild, Size mosaik, double dpiX,
                           double dpiY)
    : QDialog(eltern),
      bild_(bild.scaled(kVorschauKante, kVorschauKante, Qt::KeepAspectRatio,
                        Qt::SmoothTransformation)),
      mosaik_(mosaik),
      dpiX_(dpiX),
      dpiY_(dpiY) {
  setObjectName(QStringLiteral("SeitenDialog"));
  setWindowTitle(Text(_(wizard::kSeitenTitel)));
  papier_ = new QComboBox(this);
  for (const Blattformat& format : kBlattformate) {
    papier_->addItem(QStringLiteral("%1 (%2 x %3 mm)")
                         .arg(QString::fromUtf8(format.name),
                              QString::fromStdString(MillimeterText(format.breiteMm)),
                              QString::fromStdString(MillimeterText(format.hoeheMm))));
  }
  papier_->setCurrentIndex(kStandardBlatt);
  lage_ = new QComboBox(this);
  for (const std::string& lage : wizard::Blattlagen()) lage_->addItem(Text(lage));
  const auto mm = [this](double wert, double hoechstens) {
    auto* feld = new QDoubleSpinBox(this);
    feld->setRange(0.0, hoechstens);
    feld->setDecimals(1);
    feld->setSuffix(QStringLiteral(" mm"));
    feld->setValue(wert);
    return feld;
  };
  ueberlappung_ = mm(kStandardUeberlappungMm, kGroessteUeberlappungMm);
  rand_ = mm(kStandardRandMm, kGroessterRandMm);
  dpi_ = new QSpinBox(this);
  dpi_->setRange(1, kGroessteDpi);
  dpi_->setSuffix(QStringLiteral(" dpi"));
  // A mosaic made for print keeps the resolution its pixels need; another asks for one.
  dpi_->setValue(dpiX > 0 ? static_cast<int>(std::lround(dpiX)) : wizard::kSeitenStandardDpi);
  dpi_->setEnabled(!(dpiX > 0));
  uebersicht_ = new QCheckBox(Text(_("vorweg ein Blatt zum Zusammensetzen")), this);
  uebersicht_->setChecked(true);
  vorschau_ = new QLabel(this);
  vorschau_->setAlignment(Qt::AlignCenter);
  angabe_ = new QLabel(this);
  angabe_->setWordWrap(true);
  angabe_->setObjectName(QStringLiteral("SeitenAngabe"));
  knoepfe_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  knoepfe_->button(QDialogButtonBox::Ok)->setText(Text(_("Speichern …")));
  knoepfe_->button(QDialogButtonBox::Cancel)->setText(Text(_("Abbrechen")));

  auto* formular = new QFormLayout;
  formular->addRow(Text(_("Papier:")), papier_);
  formular->addRow(Text(_("Ausrichtung:")), lage_);
  formular->addRow(Text(_("Überlappung:")), ueberlappung_);
  formular->addRow(Text(_("Rand des Druckers:")), rand_);
  formular->addRow(Text(_("Druckauflösung:")), dpi_);
  formular->addRow(QString(), uebersicht_);
  auto* spalte = new QVBoxLayout(this);
  spalte->addLayout(formular);
  spalte->addWidget(vorschau_);
  spalte->addWidget(angabe_);
  spalte->addWidget(knoepfe_);

  connect(papier_, &QComboBox::currentIndexChanged, this, [this] { Aktualisieren(); });
  connect(lage_, &QComboBox::currentIndexChanged, this, [this] { Aktualisieren(); });
  connect(ueberlappung_, &QDoubleSpinBox::valueChanged, this, [this] { Aktualisieren(); });
  connect(rand_, &QDoubleSpinBox::valueChanged, this, [this] { Aktualisieren(); });
  connect(dpi_, &QSpinBox::valueChanged, this, [this] { Aktualisieren(); });
  connect(uebersicht_, &QCheckBox::toggled, this, [this] { Aktualisieren(); });
  connect(knoepfe_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(knoepfe_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  Aktualisieren();
}

Seitenwahl SeitenDialog::Wahl() const {
  Seitenwahl wahl;
  const Blattformat& format = kBlattformate[static_cast<size_t>(papier_->currentIndex())];
  wahl.blattBreiteMm = format.breiteMm;
  wahl.blattHoeheMm = format.hoeheMm;
  wahl.lage = static_cast<Blattlage>(lage_->currentIndex());
  wahl.ueberlappungMm = ueberlappung_->value();
  wahl.randMm = rand_->value();
  wahl.uebersicht = uebersicht_->isChecked();
  return wahl;
}

double SeitenDialog::DpiX() const {
  return dpiX_ > 0 ? dpiX_ : dpi_->value();
}

double SeitenDialog::DpiY() const {
  return dpiX_ > 0 ? (dpiY_ > 0 ? dpiY_ : dpiX_) : dpi_->value();
}

QString SeitenDialog::Angabe() const {
  return angabe_->text();
}

bool SeitenDialog::Druckbar() const {
  return druckbar_;
}

void SeitenDialog::Aktualisieren() {
  const wizard::Seitenangabe angabe = wizard::SeitenAngeben(mosaik_, DpiX(), DpiY(), Wahl());
  druckbar_ = angabe.raster.has_value();
  angabe_->setText(Text(angabe.text));
  knoepfe_->button(QDialogButtonBox::Ok)->setEnabled(druckbar_);
  QImage gezeichnet = bild_.convertToFormat(QImage::Format_RGB32);
  if (angabe.raster) {
    QPainter maler(&gezeichnet);
    maler.setPen(QPen(Qt::white, 1));
    maler.setBrush(QColor(255, 255, 255, 40));
    for (const Rect& umriss :
         wizard::BlattUmrisse(*angabe.raster, Size{gezeichnet.width(), gezeichnet.height()})) {
      maler.drawRect(umriss.left, umriss.top, umriss.width() - 1, umriss.height() - 1);
    }
  }
  vorschau_->setPixmap(QPixmap::fromImage(gezeichnet));
}

}  // namespace tilvendo::ui
