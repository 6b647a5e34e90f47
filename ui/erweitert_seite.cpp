#include "ui/erweitert_seite.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <span>
#include <string_view>

#include "engine/auftrag.h"
#include "engine/methodenparameter.h"
#include "engine/vorbereitung.h"
#include "platform/translate.h"
#include "ui/assistent.h"
#include "ui/bausteine.h"
#include "ui/bild_anzeige.h"
#include "ui/malfeld.h"
#include "wizard/erweitert_seite.h"
#include "wizard/navigation.h"
#include "wizard/raster_zeichnung.h"

namespace tilvendo::ui {
namespace {

constexpr int32_t kStartAbstand = 2;
// The row of the reading and matching group that holds the button for close mosaics.
constexpr int kAehnlichZeile = 5;

// A radio group with one button per list text; the texts are set on every show.
QButtonGroup* Auswahlgruppe(QWidget* eltern, QObject* besitzer, const char* name,
                            const QString& titel, size_t anzahl, QLayout* ziel) {
  auto* rahmen = new QGroupBox(titel, eltern);
  rahmen->setObjectName(QString::fromLatin1(name));
  auto* knoepfe = new QVBoxLayout(rahmen);
  auto* gruppe = new QButtonGroup(besitzer);
  for (size_t i = 0; i < anzahl; ++i) {
    auto* knopf = new QRadioButton(rahmen);
    gruppe->addButton(knopf, static_cast<int>(i));
    knoepfe->addWidget(knopf);
  }
  gruppe->button(0)->setChecked(true);
  ziel->addWidget(rahmen);
  return gruppe;
}

void Beschriften(QButtonGroup* gruppe, std::span<const std::string_view> texte, uint8_t wert) {
  for (size_t i = 0; i < texte.size(); ++i) {
    gruppe->button(static_cast<int>(i))->setText(Text(_(texte[i].data())));
  }
  gruppe->button(wizard::ListenPosition(wert, static_cast<int>(texte.size())))->setChecked(true);
}

uint8_t Gewaehlt(const QButtonGroup* gruppe) {
  return static_cast<uint8_t>(std::max(gruppe->checkedId(), 0));
}

}  // namespace

ErweitertSeite::ErweitertSeite(Assistent& assistent) : Seite(assistent, wizard::Seite::Erweitert) {
  QWidget* g = Gruppe();
  auto* raster = new QGridLayout(g);

  auto* gruppen = new QHBoxLayout;
  berechnungsart_ = Auswahlgruppe(g, this, "Berechnungsart", Text(_("Art der Berechnung")),
                                  kBerechnungsarten.size(), gruppen);
  musterbildung_ = Auswahlgruppe(g, this, "Musterbildung", Text(_("Musterbildung")),
                                 kMusterbildungen.size(), gruppen);
  // Named from the start, so that the page's size is known before it is first shown.
  Beschriften(berechnungsart_, kBerechnungsarten, 0);
  Beschriften(musterbildung_, kMusterbildungen, 0);
  raster->addLayout(gruppen, 0, 0);

  auto* abstandText =
      FettesLabel(Text(_("minimaler Abstand zwischen identischen Kacheln:")), g);
  const QString abstandHinweis =
      Text(_("gibt an, wie groß der minimale Abstand zwischen zwei identischen Kacheln sein muß"));
  abstandText->setToolTip(abstandHinweis);
  raster->addWidget(abstandText, 1, 0);

  minAbstand_ = new QSpinBox(g);
  minAbstand_->setObjectName(QStringLiteral("minAbstand"));
  minAbstand_->setRange(0, kMaxMindestabstand);
  minAbstand_->setValue(kStartAbstand);
  minAbstand_->setToolTip(abstandHinweis);
  // Arrows only: the value cannot be typed.
  NurPfeile(minAbstand_);
  auto* abstand = new QHBoxLayout;
  abstand->addWidget(minAbstand_);
  abstand->addWidget(
      new QLabel(Text(_("Kacheln in horizontaler, vertikaler und diagonaler Richtung")), g));
  abstand->addStretch(1);
  raster->addLayout(abstand, 2, 0);

  auto* benoetigt = new QHBoxLayout;
  benoetigt->addWidget(
      new QLabel(Text(_("benötigte Bilder zum Erstellen des Mosaiks:")), g));
  benoetigteBilder_ = new QLabel(QStringLiteral("0"), g);
  benoetigteBilder_->setObjectName(QStringLiteral("benoetigteBilder"));
  benoetigt->addWidget(benoetigteBilder_);
  benoetigt->addStretch(1);
  raster->addLayout(benoetigt, 3, 0);

  // The preview keeps the result's proportions inside a fixed box at the frame's right.
  const Vorschau vorschau =
      VorschauAnlegen(g, wizard::kErweitertVorschauBreite, wizard::kErweitertVorschauHoehe,
                      [this](QPainter& maler, const QSize& groesse) { BildPaint(maler, groesse); });
  bild_ = vorschau.bild;
  raster->addWidget(vorschau.box, 0, 1, 4, 1, Qt::AlignRight | Qt::AlignTop);
  raster->setColumnStretch(1, 1);
  raster->setRowStretch(5, 1);
  raster->addWidget(VerfahrenAnlegen(g), 4, 0, 1, 2);

  StandardKnoepfeAnlegen();
  connect(berechnungsart_, &QButtonGroup::idClicked, this, &ErweitertSeite::Anwenden);
  connect(musterbildung_, &QButtonGroup::idClicked, this, &ErweitertSeite::Anwenden);
  connect(minAbstand_, &QSpinBox::valueChanged, this, &ErweitertSeite::Anwenden);
}

QGroupBox* ErweitertSeite::VerfahrenAnlegen(QWidget* g) {
  auto* rahmen = new QGroupBox(Text(_("Lesen und Vergleichen der Fotos")), g);
  rahmen->setObjectName(QStringLiteral("Verfahren"));
  auto* raster = new QGridLayout(rahmen);
  const auto kasten = [&](const char* name, const char* text, const char* hinweis, int zeile,
                          int spalte) {
    auto* k = new QCheckBox(Text(_(text)), rahmen);
    k->setObjectName(QString::fromLatin1(name));
    k->setToolTip(Text(_(hinweis)));
    raster->addWidget(k, zeile, spalte);
    connect(k, &QCheckBox::toggled, this, &ErweitertSeite::VerfahrenUebernehmen);
    return k;
  };
  aufrichten_ = kasten("Aufrichten", N_("Fotos aufrecht stellen"),
                       N_("dreht Fotos so, wie die Kamera sie beim Aufnehmen gehalten hat"), 0, 0);
  schnellLesen_ =
      kasten("SchnellLesen", N_("schnell einlesen"),
             N_("liest große JPEG-Fotos verkleinert; die Kacheln werden fast gleich"), 0, 1);
  wahrnehmung_ =
      kasten("Wahrnehmung", N_("Farben vergleichen wie das Auge"),
             N_("wählt Fotos nach dem Farbeindruck statt nach Rot-, Grün- und Blauwerten"), 1, 0);
  zuschneiden_ = kasten("Zuschneiden", N_("zuschneiden statt stauchen"),
                        N_("schneidet Fotos auf das Seitenverhältnis der Kacheln zu, statt sie zu "
                           "verzerren"),
                        1, 1);

  const auto zahl = [&](const char* name, const char* text, int hoechstens, int zeile) {
    auto* zeilenLayout = new QHBoxLayout;
    zeilenLayout->addWidget(new QLabel(Text(_(text)), rahmen));
    auto* feld = new QSpinBox(rahmen);
    feld->setObjectName(QString::fromLatin1(name));
    feld->setRange(0, hoechstens);
    zeilenLayout->addWidget(feld);
    zeilenLayout->addStretch(1);
    raster->addLayout(zeilenLayout, zeile, 0, 1, 2);
    connect(feld, &QSpinBox::valueChanged, this, &ErweitertSeite::VerfahrenUebernehmen);
    return feld;
  };
  farbangleich_ =
      zahl("Farbangleich", N_("Farben der Kacheln an die Vorlage angleichen:"), kMaxFarbangleich, 2);
  farbangleich_->setSuffix(QStringLiteral(" %"));
  maxVerwendungen_ =
      zahl("MaxVerwendungen", N_("jedes Foto höchstens so oft verwenden:"), kMaxVerwendungenGrenze, 3);
  maxVerwendungen_->setSpecialValueText(Text(_("unbegrenzt")));
  jedesFoto_ = kasten("JedesFoto", N_("Jedes Foto mindestens einmal"),
                      N_("verwendet jedes gewählte Foto mindestens einmal, etwa für ein Mosaik aus "
                         "den Fotos aller Gäste; dafür braucht das Mosaik mindestens so viele "
                         "Kacheln wie Fotos"),
                      4, 0);

  aehnlich_ = new QPushButton(Text(_(wizard::kAehnlichKnopf)), rahmen);
  aehnlich_->setObjectName(QStringLiteral("Aehnlich"));
  aehnlich_->setAutoDefault(false);
  aehnlich_->setToolTip(Text(_(wizard::kAehnlichHinweis)));
  raster->addWidget(aehnlich_, kAehnlichZeile, 0, 1, 2, Qt::AlignLeft);
  connect(aehnlich_, &QPushButton::clicked, this, &ErweitertSeite::AehnlichClick);
  return rahmen;
}

void ErweitertSeite::AehnlichClick() {
  Verfahren v = auftrag().einstellungen.verfahren;
  wizard::AehnlicheMosaikeEinstellen(v);
  // Through the boxes, which hand every change to the job as a click of the user's would.
  aufrichten_->setChecked(v.Aufrichten);
  schnellLesen_->setChecked(v.SchnellLesen);
  wahrnehmung_->setChecked(v.Wahrnehmung);
  zuschneiden_->setChecked(v.Zuschneiden);
  farbangleich_->setValue(v.Farbangleich);
  maxVerwendungen_->setValue(v.MaxVerwendungen);
}

void ErweitertSeite::VerfahrenUebernehmen() {
  Verfahren& v = auftrag().einstellungen.verfahren;
  v.Aufrichten = aufrichten_->isChecked();
  v.SchnellLesen = schnellLesen_->isChecked();
  v.Wahrnehmung = wahrnehmung_->isChecked();
  v.Zuschneiden = zuschneiden_->isChecked();
  v.Farbangleich = static_cast<uint8_t>(farbangleich_->value());
  v.MaxVerwendungen = maxVerwendungen_->value();
  v.JedesFoto = jedesFoto_->isChecked();
  // The cap and every photo at least once change how many pictures the job needs.
  Anwenden();
}

void ErweitertSeite::Anwenden() {
  Auftrag& auftrag = this->auftrag();
  const wizard::Abstandsanzeige anzeige = wizard::ErweitertAnwenden(
      auftrag.einstellungen, auftrag.BilderAnzahl, Gewaehlt(berechnungsart_),
      Gewaehlt(musterbildung_), minAbstand_->value());
  {
    // The box shows what the job now holds; that is no new change of the user's.
    const QSignalBlocker still(minAbstand_);
    minAbstand_->setMaximum(anzeige.obergrenze);
    minAbstand_->setValue(anzeige.minAbstand);
  }
  benoetigteBilder_->setText(QString::fromStdString(wizard::BenoetigteBilderText(anzeige)));
  bild_->update();
}

void ErweitertSeite::BildPaint(QPainter& maler, const QSize& groesse) {
  const QRect flaeche(QPoint(0, 0), groesse);
  maler.fillRect(flaeche, palette().window());
  VorlageZeichnen(maler, flaeche, auftrag());
  const Einstellungen& e = auftrag().einstellungen;
  const int32_t kx = e.KachelnX;
  const int32_t ky = e.KachelnY;
  if (kx < 1 || ky < 1) return;

  // The red tile in the corner, the blue cells where it may not recur, and the red cells
  // at the distance where it may appear next.
  const wizard::Abstandsregel regel = wizard::AbstandsregelZellen(kx, ky, e.minAbstand);
  const auto fuellen = [&](const std::vector<wizard::ZellIndex>& zellen, const QColor& farbe) {
    for (const wizard::ZellIndex& zelle : zellen) {
      const Rect r = wizard::ZellRechteck(groesse.width(), groesse.height(), kx, ky, zelle);
      maler.fillRect(QRect(r.left, r.top, r.width(), r.height()), farbe);
    }
  };
  fuellen(regel.blau, QColor(0, 0, 255));
  fuellen(regel.rot, QColor(255, 0, 0));

  RasterZeichnen(maler, groesse, kx, ky);
}

void ErweitertSeite::FormShow() {
  const Auftrag& auftrag = this->auftrag();
  const Size groesse = wizard::ErweitertVorschauGroesse(auftrag.einstellungen);
  bild_->setFixedSize(groesse.width, groesse.height);

  Beschriften(berechnungsart_, kBerechnungsarten, auftrag.einstellungen.Berechnungsart);
  Beschriften(musterbildung_, kMusterbildungen, auftrag.einstellungen.Musterbildung);
  {
    const QSignalBlocker still(minAbstand_);
    minAbstand_->setMaximum(kMaxMindestabstand);
    minAbstand_->setValue(auftrag.einstellungen.minAbstand);
  }
  {
    const Verfahren& v = auftrag.einstellungen.verfahren;
    const QSignalBlocker a(aufrichten_), b(schnellLesen_), c(wahrnehmung_), d(zuschneiden_),
        f(farbangleich_), m(maxVerwendungen_), j(jedesFoto_);
    aufrichten_->setChecked(v.Aufrichten);
    schnellLesen_->setChecked(v.SchnellLesen);
    wahrnehmung_->setChecked(v.Wahrnehmung);
    zuschneiden_->setChecked(v.Zuschneiden);
    farbangleich_->setValue(v.Farbangleich);
    maxVerwendungen_->setValue(v.MaxVerwendungen);
    jedesFoto_->setChecked(v.JedesFoto);
  }
  WeiterZielSetzen(wizard::NextPage(assistent().navigation(), Nummer()));
  // Both tables applied with the shown choices, the box held to its bound.
  Anwenden();
}

void ErweitertSeite::FormClose() {
  Einstellungen& e = auftrag().einstellungen;
  e.Berechnungsart = Gewaehlt(berechnungsart_);
  e.Musterbildung = Gewaehlt(musterbildung_);
}

}  // namespace tilvendo::ui
