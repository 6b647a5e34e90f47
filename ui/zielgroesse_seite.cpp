#include "ui/zielgroesse_seite.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <cstdlib>

#include "engine/auftrag.h"
#include "engine/druckflaeche.h"
#include "engine/vorlagenzuschnitt.h"
#include "platform/translate.h"
#include "ui/assistent.h"
#include "ui/bausteine.h"
#include "ui/bild_anzeige.h"
#include "ui/druckgroesse_gruppe.h"
#include "ui/malfeld.h"
#include "ui/zahlenfeld.h"
#include "wizard/navigation.h"
#include "wizard/vorlage_seite.h"

namespace tilvendo::ui {
namespace {

constexpr int32_t kStartZoom = 100;
// The rows of the page's grid, and its width in columns.
constexpr int kHinweisZeile = 2;
constexpr int kFestesSVZeile = 3;
constexpr int kBreiteZeile = 4;
constexpr int kHoeheZeile = 5;
constexpr int kGrossformatZeile = 6;
constexpr int kDruckerZeile = 7;
constexpr int kPapierZeile = 8;
constexpr int kDruckgroesseZeile = 9;
constexpr int kSpalten = 6;
// What lies outside the cut is darkened to this opacity in the preview.
constexpr double kAbdunkeln = 0.55;

Zahlenfeld* Feld(QWidget* eltern, const char* name, int32_t hoechstens, int32_t start) {
  auto* feld = new Zahlenfeld(eltern);
  feld->setObjectName(QString::fromLatin1(name));
  feld->setRange(1, hoechstens);
  feld->setValue(start);
  // A typed number counts when it is complete (Enter or leaving the box), not after every
  // digit: the recomputation would otherwise rewrite the box while it is being typed.
  feld->setKeyboardTracking(false);
  return feld;
}

QLabel* Beschriftung(const QString& text, const char* hinweis, QWidget* eltern) {
  auto* label = new QLabel(text, eltern);
  label->setToolTip(Text(_(hinweis)));
  return label;
}

// A box's value as the page's boxes are read: its absolute value, written back.
int32_t Lesen(QSpinBox* feld) {
  return SpinWertLesen(feld, true, 0, 0);
}

}  // namespace

ZielgroesseSeite::ZielgroesseSeite(Assistent& assistent)
    : Seite(assistent, wizard::Seite::Zielgroesse) {
  BoxenAnlegen();
  DruckergruppeAnlegen();
  PapiergruppeAnlegen();
  GrossformatAnlegen();
  StandardKnoepfeAnlegen();
}

void ZielgroesseSeite::BoxenAnlegen() {
  auto* raster = new QGridLayout(Gruppe());
  QWidget* g = Gruppe();
  zoomX_ = Feld(g, "ZoomX", kMaxZoom, kStartZoom);
  zoomY_ = Feld(g, "ZoomY", kMaxZoom, kStartZoom);
  sizeX_ = Feld(g, "SizeX", kMaxZielgroesse, kMaxZielgroesse);
  sizeY_ = Feld(g, "SizeY", kMaxZielgroesse, kMaxZielgroesse);
  // As wide as large format's bounds need from the start, so that switching it on or off
  // leaves the page's size as it is.
  for (auto [feld, breitester] :
       {std::pair{zoomX_, kMaxZoom}, std::pair{zoomY_, kMaxZoom},
        std::pair{sizeX_, kMaxZielgroesseGross}, std::pair{sizeY_, kMaxZielgroesseGross}}) {
    const int bisher = feld->maximum();
    feld->setMaximum(breitester);
    feld->setMinimumWidth(feld->sizeHint().width());
    feld->setMaximum(bisher);
  }

  const QString prozent = QStringLiteral("%");
  const QString pixel = Text(_("Pixel"));
  raster->addWidget(Beschriftung(Text(_("Ergebnisbildbreite:")), wizard::kHinweisX, g), 0, 0);
  raster->addWidget(zoomX_, 0, 1);
  raster->addWidget(Beschriftung(prozent, wizard::kHinweisX, g), 0, 2);
  raster->addWidget(sizeX_, 0, 3);
  raster->addWidget(Beschriftung(pixel, wizard::kHinweisX, g), 0, 4);
  raster->addWidget(Beschriftung(Text(_("Ergebnisbildhöhe:")), wizard::kHinweisY, g), 1, 0);
  raster->addWidget(zoomY_, 1, 1);
  raster->addWidget(Beschriftung(prozent, wizard::kHinweisX, g), 1, 2);
  raster->addWidget(sizeY_, 1, 3);
  raster->addWidget(Beschriftung(pixel, wizard::kHinweisX, g), 1, 4);

  // Why a number typed went to a bound; a line of its own, so nothing moves when it shows.
  grenzHinweis_ = new QLabel(g);
  grenzHinweis_->setObjectName(QStringLiteral("Grenzhinweis"));
  grenzHinweis_->setWordWrap(true);
  grenzHinweis_->setMinimumHeight(grenzHinweis_->fontMetrics().lineSpacing());
  raster->addWidget(grenzHinweis_, kHinweisZeile, 0, 1, kSpalten - 1);

  festesSV_ = new QCheckBox(Text(_("Seitenverhältnis beibehalten")), g);
  festesSV_->setObjectName(QStringLiteral("festesSV"));
  festesSV_->setChecked(werte_.festesSV);
  raster->addWidget(festesSV_, kFestesSVZeile, 0, 1, kSpalten - 1);

  const QString keinWert = QString::fromUtf8(wizard::kKeinWert);
  raster->addWidget(new QLabel(Text(_("Breite der Vorlage:")), g), kBreiteZeile, 0);
  vorlBreite_ = new QLabel(keinWert, g);
  vorlBreite_->setObjectName(QStringLiteral("VorlBreite"));
  raster->addWidget(vorlBreite_, kBreiteZeile, 1, 1, 4);
  raster->addWidget(new QLabel(Text(_("Höhe der Vorlage:")), g), kHoeheZeile, 0);
  vorlHoehe_ = new QLabel(keinWert, g);
  vorlHoehe_->setObjectName(QStringLiteral("VorlHoehe"));
  raster->addWidget(vorlHoehe_, kHoeheZeile, 1, 1, 4);
  raster->setRowStretch(kGrossformatZeile, 1);

  // The preview box, the preview at its right edge with the result's proportions.
  const Vorschau vorschau = VorschauAnlegen(
      g, wizard::kVorschauBreite, wizard::kVorschauHoehe,
      [this](QPainter& maler, const QSize& groesse) { VorschauMalen(maler, groesse); });
  bild_ = vorschau.bild;
  raster->addWidget(vorschau.box, 0, 5, kGrossformatZeile + 1, 1, Qt::AlignRight | Qt::AlignTop);
  raster->setColumnStretch(5, 1);

  for (Zahlenfeld* zoom : {zoomX_, zoomY_}) {
    connect(zoom, &QSpinBox::valueChanged, this,
            [this] { ZielgroesseBerechnen(Zielaenderung::Zoom); });
  }
  for (Zahlenfeld* groesse : {sizeX_, sizeY_}) {
    connect(groesse, &QSpinBox::valueChanged, this,
            [this] { ZielgroesseBerechnen(Zielaenderung::Pixel); });
  }
  for (Zahlenfeld* feld : {zoomX_, zoomY_, sizeX_, sizeY_}) {
    connect(feld, &Zahlenfeld::Begrenzt, this,
            [this, feld](qlonglong getippt) { Begrenzt(feld, getippt); });
  }
  connect(festesSV_, &QCheckBox::toggled, this,
          [this] { ZielgroesseBerechnen(Zielaenderung::Seitenverhaeltnis); });
}

void ZielgroesseSeite::Begrenzt(Zahlenfeld* feld, qlonglong getippt) {
  const int32_t kante = GroessteZielkante(auftrag().einstellungen);
  const std::string hinweis =
      feld == zoomX_ || feld == zoomY_
          ? wizard::ZoomHinweis(getippt, feld->maximum(), kante)
          : wizard::PixelHinweis(getippt, kante, auftrag().einstellungen.Grossformat);
  grenzHinweis_->setText(Text(hinweis));
}

void ZielgroesseSeite::VorschauMalen(QPainter& maler, const QSize& groesse) {
  const Auftrag& job = auftrag();
  const QRect flaeche(QPoint(0, 0), groesse);
  maler.fillRect(flaeche, palette().window());
  const wizard::Zielvorschau vorschau = wizard::ZielVorschau(job.einstellungen, job.vorlage);
  const auto alsQRect = [](Rect r) { return QRect(r.left, r.top, r.width(), r.height()); };
  if (vorschau.papier) {
    // The paper, white with a thin edge, and the mosaic on it.
    maler.fillRect(flaeche, Qt::white);
    maler.setPen(palette().color(QPalette::Mid));
    maler.drawRect(flaeche.adjusted(0, 0, -1, -1));
  }
  BildZeichnen(maler, alsQRect(vorschau.bild), job.VorschauBild);
  if (!vorschau.papier && vorschau.mosaik != vorschau.bild) {
    // What the cut leaves out, darkened, and the edge of what stays.
    const QRect bleibt = alsQRect(vorschau.mosaik);
    QColor dunkel(Qt::black);
    dunkel.setAlphaF(kAbdunkeln);
    const QRegion weg = QRegion(alsQRect(vorschau.bild)).subtracted(QRegion(bleibt));
    for (const QRect& teil : weg) maler.fillRect(teil, dunkel);
    maler.setPen(QPen(Qt::white, 1, Qt::DashLine));
    maler.drawRect(bleibt.adjusted(0, 0, -1, -1));
  }
}

QGridLayout* ZielgroesseSeite::Gruppenraster() const {
  return qobject_cast<QGridLayout*>(Gruppe()->layout());
}

void ZielgroesseSeite::DruckergruppeAnlegen() {
  druckeraufloesung_ = new QGroupBox(Text(_("Druckerauflösung")), Gruppe());
  druckeraufloesung_->setObjectName(QStringLiteral("Druckeraufloesung"));
  auto* raster = new QGridLayout(druckeraufloesung_);
  int zeile = 0;
  for (int32_t dpi : wizard::kAufloesungen) {
    auto* knopf =
        new QRadioButton(QString::number(dpi) + QStringLiteral(" dpi"), druckeraufloesung_);
    knopf->setChecked(dpi == kDpiStandard);
    raster->addWidget(knopf, zeile++, 0, 1, 3);
    connect(knopf, &QRadioButton::clicked, this,
            [this, knopf, dpi] { AufloesungGewaehlt(knopf, dpi); });
  }
  dpianders_ = new QRadioButton(Text(_("frei:")), druckeraufloesung_);
  dpiFrei_ = Feld(druckeraufloesung_, "dpiFrei", wizard::kMaxDpi, kDpiStandard);
  NurPfeile(dpiFrei_);
  raster->addWidget(dpianders_, zeile, 0);
  raster->addWidget(dpiFrei_, zeile, 1);
  raster->addWidget(new QLabel(QStringLiteral("dpi"), druckeraufloesung_), zeile, 2);
  connect(dpianders_, &QRadioButton::clicked, this, &ZielgroesseSeite::FreieAufloesung);
  connect(dpiFrei_, &QSpinBox::valueChanged, this, [this] {
    dpianders_->setChecked(true);
    if (!zielAktualisierung_) FreieAufloesung();
  });
  druckeraufloesung_->hide();
  Gruppenraster()->addWidget(druckeraufloesung_, kDruckerZeile, 0, 1, kSpalten);
}

void ZielgroesseSeite::PapiergruppeAnlegen() {
  papierformat_ = new QGroupBox(Text(_("Papierformat")), Gruppe());
  papierformat_->setObjectName(QStringLiteral("Papierformat"));
  auto* raster = new QGridLayout(papierformat_);
  int zeile = 0;
  for (size_t i = 0; i < wizard::kPapierformate.size(); ++i) {
    const wizard::Papierformat format = wizard::kPapierformate[i];
    auto* knopf = new QRadioButton(Text(_(format.text)), papierformat_);
    knopf->setChecked(i == wizard::kStartPapierformat);
    raster->addWidget(knopf, zeile++, 0, 1, 5);
    connect(knopf, &QRadioButton::clicked, this,
            [this, knopf, format] { PapierGewaehlt(knopf, format.nummer); });
  }
  paperanders_ = new QRadioButton(Text(_("frei:")), papierformat_);
  breiteFrei_ = Feld(papierformat_, "BreiteFrei", wizard::kMaxPapierkante, kPapierBreiteStandard);
  hoeheFrei_ = Feld(papierformat_, "HoeheFrei", wizard::kMaxPapierkante, kPapierHoeheStandard);
  NurPfeile(breiteFrei_);
  NurPfeile(hoeheFrei_);
  raster->addWidget(paperanders_, zeile, 0);
  raster->addWidget(breiteFrei_, zeile, 1);
  raster->addWidget(new QLabel(QStringLiteral("x"), papierformat_), zeile, 2);
  raster->addWidget(hoeheFrei_, zeile, 3);
  raster->addWidget(new QLabel(QStringLiteral("mm"), papierformat_), zeile, 4);
  connect(paperanders_, &QRadioButton::clicked, this, &ZielgroesseSeite::FreiesPapier);
  for (QSpinBox* kante : {breiteFrei_, hoeheFrei_}) {
    connect(kante, &QSpinBox::valueChanged, this, [this] {
      paperanders_->setChecked(true);
      if (!zielAktualisierung_) FreiesPapier();
    });
  }
  papierformat_->hide();
  Gruppenraster()->addWidget(papierformat_, kPapierZeile, 0, 1, kSpalten);
}

void ZielgroesseSeite::GrossformatAnlegen() {
  grossformat_ = new QCheckBox(Text(_(wizard::kGrossformatText)), Gruppe());
  grossformat_->setObjectName(QStringLiteral("Grossformat"));
  grossformat_->setToolTip(Text(_(wizard::kGrossformatHinweis)));
  Gruppenraster()->addWidget(grossformat_, kGrossformatZeile, 0, 1, kSpalten - 1, Qt::AlignTop);
  druck_ = new DruckgroesseGruppe(Gruppe());
  // Its room is kept while it is hidden: switching large format on or off must not
  // change the size of the window.
  QSizePolicy bleibt = druck_->sizePolicy();
  bleibt.setRetainSizeWhenHidden(true);
  druck_->setSizePolicy(bleibt);
  druck_->hide();
  Gruppenraster()->addWidget(druck_, kDruckgroesseZeile, 0, 1, kSpalten);
  connect(grossformat_, &QCheckBox::toggled, this, &ZielgroesseSeite::GrossformatClick);
  connect(druck_, &DruckgroesseGruppe::FormatGewaehlt, this,
          &ZielgroesseSeite::DruckpapierGewaehlt);
  connect(druck_, &DruckgroesseGruppe::PapierGeaendert, this,
          &ZielgroesseSeite::DruckpapierGewaehlt);
  connect(druck_, &DruckgroesseGruppe::AufloesungGeaendert, this,
          &ZielgroesseSeite::DruckaufloesungGewaehlt);
  connect(druck_, &DruckgroesseGruppe::NutzungGewaehlt, this, &ZielgroesseSeite::NutzungGewaehlt);
}

void ZielgroesseSeite::GrossformatClick(bool an) {
  Einstellungen& e = auftrag().einstellungen;
  if (e.Grossformat == an) return;
  e.Grossformat = an;
  std::swap(werte_.dpi, dpiAnders_);
  // Without a poster's paper the template is the whole picture again.
  if (!an) VorlageZuschneiden(auftrag(), Rect{});
  GrenzenSetzen();
  druck_->setVisible(an);
  // The boxes now hold their values within the new bounds; the size follows the zoom,
  // the paper the size at the resolution now in force.
  ZielgroesseBerechnen(Zielaenderung::Zoom);
  // Switched off, the page is the size it always was again.
  GroesseGeaendert();
}

void ZielgroesseSeite::DruckpapierGewaehlt(wizard::Papiermass papier) {
  // A paper the result cannot fill at this resolution is cut to the longest edge.
  const int32_t kante = wizard::GroesstePapierkante(werte_.dpi);
  werte_.PapierBreite = std::clamp(papier.breite, 1, kante);
  werte_.PapierHoehe = std::clamp(papier.hoehe, 1, kante);
  ZielgroesseBerechnen(Zielaenderung::Papier);
  const std::string hinweis =
      wizard::PapierHinweis(std::max(papier.breite, papier.hoehe), kante, werte_.dpi);
  if (!hinweis.empty()) druck_->HinweisZeigen(hinweis);
}

void ZielgroesseSeite::DruckaufloesungGewaehlt(int32_t dpi) {
  werte_.dpi = std::max(dpi, 1);
  const int32_t kante = wizard::GroesstePapierkante(werte_.dpi);
  const bool gekuerzt = werte_.PapierBreite > kante || werte_.PapierHoehe > kante;
  werte_.PapierBreite = std::min<double>(werte_.PapierBreite, kante);
  werte_.PapierHoehe = std::min<double>(werte_.PapierHoehe, kante);
  ZielgroesseBerechnen(Zielaenderung::Aufloesung);
  if (gekuerzt) druck_->HinweisZeigen(wizard::PapierHinweis(kante + 1, kante, werte_.dpi));
}

void ZielgroesseSeite::NutzungGewaehlt(Papiernutzung nutzung) {
  werte_.nutzung = nutzung;
  ZielgroesseBerechnen(Zielaenderung::Papier);
}

void ZielgroesseSeite::DruckgroesseZeigen() {
  const Auftrag& job = auftrag();
  const Size bild = GanzesBild(job.vorlage);
  Druckanzeige anzeige;
  anzeige.papier = wizard::GanzePapiermasse(werte_.PapierBreite, werte_.PapierHoehe);
  anzeige.dpi = werte_.dpi;
  anzeige.vorlage = wizard::AusrichtungFuer(bild.width, bild.height);
  anzeige.kachel = wizard::KachelImDruck(job.einstellungen, werte_.dpi);
  anzeige.nutzung = werte_.nutzung;
  anzeige.formHalten = werte_.festesSV;
  anzeige.flaeche = DruckflaechenText(werte_.SizeX, werte_.SizeY, werte_.dpi, werte_.PapierBreite,
                                      werte_.PapierHoehe);
  const std::string zuschnitt = ZuschnittText(bild, job.vorlage.Ausschnitt);
  if (!zuschnitt.empty()) anzeige.flaeche += "\n" + zuschnitt;
  druck_->Zeigen(anzeige);
}

void ZielgroesseSeite::VorlagenkantenZeigen() {
  const Vorlage& v = auftrag().vorlage;
  const Size bild = GanzesBild(v);
  vorlBreite_->setText(Text(wizard::VorlagenkantenText(v.VorlageBreite, bild.width)));
  vorlHoehe_->setText(Text(wizard::VorlagenkantenText(v.VorlageHoehe, bild.height)));
}

void ZielgroesseSeite::GrenzenSetzen() {
  // A box above its new bound drops to it without a recomputation; the caller
  // recomputes from the zooms.
  const int32_t kante = GroessteZielkante(auftrag().einstellungen);
  const Zoomgrenzen grenzen = ZoomGrenzen(auftrag().vorlage, kante);
  for (QSpinBox* feld : {zoomX_, zoomY_, sizeX_, sizeY_}) {
    const QSignalBlocker ohne(feld);
    feld->setMaximum(feld == zoomX_ ? grenzen.maxX : feld == zoomY_ ? grenzen.maxY : kante);
  }
}

void ZielgroesseSeite::AufloesungGewaehlt(QRadioButton* knopf, int32_t dpi) {
  werte_.dpi = dpi;
  ZielgroesseBerechnen(Zielaenderung::Aufloesung);
  knopf->setChecked(true);
}

void ZielgroesseSeite::FreieAufloesung() {
  werte_.dpi = std::abs(dpiFrei_->value());
  ZielgroesseBerechnen(Zielaenderung::Aufloesung);
}

void ZielgroesseSeite::PapierGewaehlt(QRadioButton* knopf, int32_t nummer) {
  const wizard::Papiermass mass = wizard::PapierAusNummer(nummer);
  werte_.PapierBreite = mass.breite;
  werte_.PapierHoehe = mass.hoehe;
  ZielgroesseBerechnen(Zielaenderung::Papier);
  knopf->setChecked(true);
}

void ZielgroesseSeite::FreiesPapier() {
  werte_.PapierBreite = std::abs(breiteFrei_->value());
  werte_.PapierHoehe = std::abs(hoeheFrei_->value());
  ZielgroesseBerechnen(Zielaenderung::Papier);
}

void ZielgroesseSeite::ZielgroesseBerechnen(Zielaenderung aenderung) {
  if (zielAktualisierung_) return;
  zielAktualisierung_ = true;
  werte_.SizeX = Lesen(sizeX_);
  werte_.SizeY = Lesen(sizeY_);
  werte_.ZoomX = Lesen(zoomX_);
  werte_.ZoomY = Lesen(zoomY_);
  werte_.festesSV = festesSV_->isChecked();
  Auftrag& auftrag = this->auftrag();
  // In large format the size is a poster's: it follows its paper.
  werte_.druck = auftrag.einstellungen.Grossformat;
  tilvendo::ZielgroesseBerechnen(werte_, aenderung, auftrag.vorlage, auftrag.einstellungen);
  if (werte_.Ausschnitt != auftrag.vorlage.Ausschnitt) {
    const Sanduhr sanduhr;
    VorlageZuschneiden(auftrag, werte_.Ausschnitt);
  }
  berechnet_ = true;
  grenzHinweis_->clear();
  Anzeigen();
  zielAktualisierung_ = false;
  VorschauAnpassen();
}

void ZielgroesseSeite::Anzeigen() {
  const bool vorher = zielAktualisierung_;
  zielAktualisierung_ = true;
  Auftrag& auftrag = this->auftrag();
  // The boxes show the values within their ranges.
  sizeX_->setValue(werte_.SizeX);
  sizeY_->setValue(werte_.SizeY);
  zoomX_->setValue(werte_.ZoomX);
  zoomY_->setValue(werte_.ZoomY);
  dpiFrei_->setValue(werte_.dpi);
  breiteFrei_->setValue(static_cast<int>(werte_.PapierBreite));
  hoeheFrei_->setValue(static_cast<int>(werte_.PapierHoehe));
  VorlagenkantenZeigen();
  // The file is written with the poster's resolution; without large format as it always
  // was, with the formats' own defaults.
  auftrag.einstellungen.Druckaufloesung = auftrag.einstellungen.Grossformat ? werte_.dpi : 0;
  if (auftrag.einstellungen.Grossformat) DruckgroesseZeigen();
  zielAktualisierung_ = vorher;
}

void ZielgroesseSeite::VorschauAnpassen() {
  const Size groesse = wizard::ZielVorschau(auftrag().einstellungen, auftrag().vorlage).box;
  bild_->setFixedSize(groesse.width, groesse.height);
  bild_->update();
}

void ZielgroesseSeite::FormShow() {
  Auftrag& job = auftrag();
  {
    const QSignalBlocker ohne(grossformat_);
    grossformat_->setChecked(job.einstellungen.Grossformat);
  }
  druck_->setVisible(grossformat_->isChecked());
  GrenzenSetzen();
  if (!berechnet_) {
    // The first show takes the boxes' start values.
    if (!zielAktualisierung_) ZielgroesseBerechnen(Zielaenderung::Zoom);
  } else {
    // Shown again, the page shows what was chosen, as the job holds it: a template read
    // meanwhile got its size by the same choice (ZielgroesseErneuern).
    const Einstellungen& e = job.einstellungen;
    werte_.SizeX = e.ZielBreite;
    werte_.SizeY = e.ZielHoehe;
    werte_.ZoomX = e.ZoomX;
    werte_.ZoomY = e.ZoomY;
    if (e.Papier.Gewaehlt()) {
      werte_.PapierBreite = e.Papier.Breite;
      werte_.PapierHoehe = e.Papier.Hoehe;
      if (e.Papier.Nutzung != Papiernutzung::Strecken) werte_.nutzung = e.Papier.Nutzung;
    } else {
      werte_.PapierBreite = std::trunc(DruckMillimeter(e.ZielBreite, werte_.dpi));
      werte_.PapierHoehe = std::trunc(DruckMillimeter(e.ZielHoehe, werte_.dpi));
    }
    grenzHinweis_->clear();
    Anzeigen();
  }
  VorschauAnpassen();
  const uint16_t ziel = wizard::NextPage(assistent().navigation(), Nummer());
  WeiterZielSetzen(ziel);
  WeiterKnopf()->setEnabled(ziel > 0 && wizard::ZielgroesseBereit(job.einstellungen));
}

}  // namespace tilvendo::ui
