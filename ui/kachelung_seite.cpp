#include "ui/kachelung_seite.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <optional>

#include "engine/auftrag.h"
#include "engine/vorbereitung.h"
#include "platform/translate.h"
#include "ui/assistent.h"
#include "ui/bausteine.h"
#include "ui/bild_anzeige.h"
#include "ui/malfeld.h"
#include "ui/zahlenfeld.h"
#include "wizard/druckformat.h"
#include "wizard/kachelung_seite.h"
#include "wizard/navigation.h"
#include "wizard/raster_zeichnung.h"
#include "wizard/vorlage_seite.h"
#include "wizard/zielgroesse_seite.h"

namespace tilvendo::ui {
namespace {

// The label before the first show.
constexpr int32_t kBeispielKacheln = 10;

// A tile count box. A typed number counts when it is complete (Enter or leaving the
// box), as in the size boxes; a number beyond the bounds (0 included) becomes the bound,
// and the note below the count says why.
Zahlenfeld* Kachelfeld(QWidget* eltern, const char* name) {
  auto* feld = new Zahlenfeld(eltern);
  feld->setObjectName(QString::fromLatin1(name));
  feld->setRange(1, kMaxKacheln);
  feld->setValue(wizard::kStartKacheln);
  feld->setKeyboardTracking(false);
  return feld;
}

// A box's value as the tile boxes are read: its absolute value, 0 taken as 1.
int32_t Lesen(QSpinBox* feld) {
  return SpinWertLesen(feld, true, 0, 1);
}

}  // namespace

KachelungSeite::KachelungSeite(Assistent& assistent) : Seite(assistent, wizard::Seite::Kachelung) {
  QWidget* g = Gruppe();
  auto* raster = new QGridLayout(g);
  kachelnXR_ = Kachelfeld(g, "KachelnXR");
  kachelnYR_ = Kachelfeld(g, "KachelnYR");
  raster->addWidget(new QLabel(Text(_("Kacheln in der Breite:")), g), 0, 0);
  raster->addWidget(kachelnXR_, 0, 1);
  raster->addWidget(new QLabel(Text(_("Kacheln in der Höhe:")), g), 1, 0);
  raster->addWidget(kachelnYR_, 1, 1);
  kachelAnzahl_ = new QLabel(
      QString::fromStdString(wizard::KachelAnzahlText(kBeispielKacheln, kBeispielKacheln)), g);
  kachelAnzahl_->setObjectName(QStringLiteral("KachelAnzahl"));
  auto* anzahlZeile = new QVBoxLayout;
  anzahlZeile->addWidget(kachelAnzahl_);
  kachelkante_ = new QLabel(g);
  kachelkante_->setObjectName(QStringLiteral("Kachelkante"));
  kachelkante_->setToolTip(Text(_(wizard::kKachelkanteHinweis)));
  kachelkante_->hide();
  anzahlZeile->addWidget(kachelkante_);
  grenzHinweis_ = new QLabel(g);
  grenzHinweis_->setObjectName(QStringLiteral("Grenzhinweis"));
  grenzHinweis_->setWordWrap(true);
  grenzHinweis_->setMinimumHeight(grenzHinweis_->fontMetrics().lineSpacing());
  anzahlZeile->addWidget(grenzHinweis_);
  raster->addLayout(anzahlZeile, 2, 0, 1, 2);

  auto* gruppe = new QGroupBox(Text(_("Formanalyse")), g);
  gruppe->setObjectName(QStringLiteral("Formanalyse"));
  auto* knoepfe = new QVBoxLayout(gruppe);
  formanalyse_ = new QButtonGroup(this);
  for (size_t i = 0; i < wizard::kFormanalyseWahl.size(); ++i) {
    auto* knopf = new QRadioButton(Text(_(wizard::kFormanalyseWahl[i])), gruppe);
    formanalyse_->addButton(knopf, static_cast<int>(i));
    knoepfe->addWidget(knopf);
  }
  formanalyse_->button(wizard::kStartFormanalyseWahl)->setChecked(true);
  raster->addWidget(gruppe, 3, 0, 1, 2);
  raster->setRowStretch(4, 1);

  const Vorschau vorschau =
      VorschauAnlegen(g, wizard::kVorschauBreite, wizard::kVorschauHoehe,
                      [this](QPainter& maler, const QSize& groesse) { BildPaint(maler, groesse); });
  bild_ = vorschau.bild;
  raster->addWidget(vorschau.box, 0, 2, 5, 1, Qt::AlignRight | Qt::AlignTop);
  raster->setColumnStretch(2, 1);

  StandardKnoepfeAnlegen();
  for (Zahlenfeld* feld : {kachelnXR_, kachelnYR_}) {
    connect(feld, &QSpinBox::valueChanged, this, &KachelungSeite::KachelnXRChange);
    connect(feld, &Zahlenfeld::Begrenzt, this,
            [this, feld](qlonglong getippt) { Begrenzt(feld, getippt); });
  }
}

void KachelungSeite::Begrenzt(Zahlenfeld* feld, qlonglong getippt) {
  grenzHinweis_->setText(Text(wizard::KachelHinweis(getippt, feld->maximum(), feld == kachelnXR_)));
}

void KachelungSeite::KachelnXRChange() {
  const int32_t x = Lesen(kachelnXR_);
  const int32_t y = Lesen(kachelnYR_);
  kachelAnzahl_->setText(QString::fromStdString(wizard::KachelAnzahlText(x, y)));
  grenzHinweis_->clear();
  KachelkanteZeigen();
  bild_->update();
}

void KachelungSeite::KachelkanteZeigen() {
  const Auftrag& job = auftrag();
  kachelkante_->setVisible(job.einstellungen.Grossformat);
  if (!job.einstellungen.Grossformat) return;
  kachelkante_->setText(Text(wizard::KachelkantenText(
      wizard::KachelImDruck(job.einstellungen, job.einstellungen.Druckaufloesung,
                            kachelnXR_->value(), kachelnYR_->value()))));
}

void KachelungSeite::BildPaint(QPainter& maler, const QSize& groesse) {
  const QRect flaeche(QPoint(0, 0), groesse);
  maler.fillRect(flaeche, palette().window());
  VorlageZeichnen(maler, flaeche, auftrag());
  RasterZeichnen(maler, groesse, kachelnXR_->value(), kachelnYR_->value());
}

void KachelungSeite::FormShow() {
  const Auftrag& auftrag = this->auftrag();
  const Size groesse = wizard::ZielVorschauGroesse(auftrag.einstellungen);
  bild_->setFixedSize(groesse.width, groesse.height);
  bild_->update();

  // A tile stays at least a few result pixels wide; a box above its bound drops to it.
  const Kachelgrenzen grenzen = KachelGrenzen(auftrag.einstellungen);
  grenzHinweis_->clear();
  for (auto [feld, grenze] :
       {std::pair{kachelnXR_, grenzen.maxX}, std::pair{kachelnYR_, grenzen.maxY}}) {
    if (feld->value() > grenze) {
      grenzHinweis_->setText(
          Text(wizard::KachelHinweis(feld->value(), grenze, feld == kachelnXR_)));
    }
    feld->setMaximum(grenze);
  }

  // Levels the group does not offer leave the selection as it is.
  if (const std::optional<int> wahl = wizard::FormanalyseWahl(auftrag.analyse.Formanalyse)) {
    formanalyse_->button(*wahl)->setChecked(true);
  }

  const uint16_t ziel = wizard::NextPage(assistent().navigation(), Nummer());
  WeiterZielSetzen(ziel);
  WeiterKnopf()->setEnabled(ziel > 0 &&
                            wizard::KachelungBereit(kachelnXR_->value(), kachelnYR_->value()));
  kachelAnzahl_->setText(
      QString::fromStdString(wizard::KachelAnzahlText(kachelnXR_->value(), kachelnYR_->value())));
  KachelkanteZeigen();
}

void KachelungSeite::FormClose() {
  // A number still being typed counts as well.
  kachelnXR_->interpretText();
  kachelnYR_->interpretText();
  Auftrag& auftrag = this->auftrag();
  const int gewaehlt = formanalyse_->checkedId();
  auftrag.analyse.Formanalyse = wizard::FormanalyseStufe(
      gewaehlt < 0 ? std::nullopt : std::optional<int>(gewaehlt), auftrag.analyse.Formanalyse);
  auftrag.einstellungen.KachelnX = static_cast<uint16_t>(kachelnXR_->value());
  auftrag.einstellungen.KachelnY = static_cast<uint16_t>(kachelnYR_->value());
}

}  // namespace tilvendo::ui
