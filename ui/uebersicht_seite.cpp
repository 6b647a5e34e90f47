#include "ui/uebersicht_seite.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

#include "engine/auftrag.h"
#include "engine/berechnungslauf.h"
#include "engine/sitzung.h"
#include "engine/vorlagenzuschnitt.h"
#include "platform/translate.h"
#include "ui/assistent.h"
#include "ui/bausteine.h"
#include "ui/bild_anzeige.h"
#include "ui/malfeld.h"
#include "ui/qt_benutzer.h"
#include "wizard/navigation.h"
#include "wizard/raster_zeichnung.h"
#include "wizard/uebersicht_seite.h"
#include "wizard/vorlage_seite.h"

namespace tilvendo::ui {
namespace {

// Before the reason of a run that failed (a picture too large, a full disk …).
constexpr const char* kLaufFehler = N_("Die Berechnung ist fehlgeschlagen: ");

constexpr int kListenBreite = 230;
constexpr int kInfoBreite = 430;
constexpr int kInfoHoehe = 300;
constexpr int kWechselKante = 20;  // the small button beside the selected entry

const QColor kRegelBlau(0, 0, 255);
const QColor kRegelRot(255, 0, 0);

// The tile grid over a preview: black lines at the left and top edge of every cell.
void ZellenFuellen(QPainter& maler, const QSize& groesse, int32_t kx, int32_t ky,
                   const std::vector<wizard::ZellIndex>& zellen, const QColor& farbe) {
  for (const wizard::ZellIndex& zelle : zellen) {
    const Rect r = wizard::ZellRechteck(groesse.width(), groesse.height(), kx, ky, zelle);
    maler.fillRect(QRect(r.left, r.top, r.width(), r.height()), farbe);
  }
}

}  // namespace

UebersichtSeite::UebersichtSeite(Assistent& assistent)
    : Seite(assistent, wizard::Seite::Uebersicht) {
  auto* layout = new QGridLayout(Gruppe());

  auto* links = new QVBoxLayout;
  links->addWidget(new QLabel(Text(_("Überblick:")), Gruppe()));
  auto* listeZeile = new QHBoxLayout;
  listeZeile->setSpacing(2);
  uebersicht_ = new QListWidget(Gruppe());
  uebersicht_->setObjectName(QStringLiteral("Uebersicht"));
  uebersicht_->setSelectionMode(QAbstractItemView::SingleSelection);
  uebersicht_->setFixedWidth(kListenBreite);
  listeZeile->addWidget(uebersicht_, 1);
  // A narrow strip beside the list in which the small button follows the selection.
  wechselLeiste_ = new QWidget(Gruppe());
  wechselLeiste_->setFixedWidth(kWechselKante);
  sbwechselnzu_ = new QToolButton(wechselLeiste_);
  sbwechselnzu_->setIcon(GlyphIcon(Glyphe::weiter));
  sbwechselnzu_->setFixedSize(kWechselKante, kWechselKante);
  sbwechselnzu_->hide();
  listeZeile->addWidget(wechselLeiste_);
  links->addLayout(listeZeile, 1);
  layout->addLayout(links, 0, 0);

  // The details and the progress panel share one place; the progress lies on top.
  auto* hgInfo = new QFrame(Gruppe());
  hgInfo_ = hgInfo;
  hgInfo->setFrameShape(QFrame::StyledPanel);
  hgInfo->setMinimumSize(kInfoBreite, kInfoHoehe);
  auto* info = new QVBoxLayout(hgInfo_);
  infoT_ = FettesLabel(QString(), hgInfo_);
  info->addWidget(infoT_);
  infoFeld_ = new QListWidget(hgInfo_);
  infoFeld_->setSelectionMode(QAbstractItemView::NoSelection);
  infoFeld_->setFocusPolicy(Qt::NoFocus);
  infoFeld_->setFrameShape(QFrame::NoFrame);
  // Long lines (a path, the ways of reading) wrap rather than hide behind a scroll bar.
  infoFeld_->setWordWrap(true);
  infoFeld_->setTextElideMode(Qt::ElideNone);
  infoFeld_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  infoFeld_->setResizeMode(QListView::Adjust);
  info->addWidget(infoFeld_, 1);
  auto* vorschauBox = new QWidget(hgInfo_);
  vorschauBox->setFixedSize(wizard::kVorschauBoxBreite, wizard::kVorschauBoxHoehe);
  auto* vorschauLayout = new QVBoxLayout(vorschauBox);
  vorschauLayout->setContentsMargins(0, 0, 0, 0);
  pbPreview_ = new Malfeld(vorschauBox);
  pbPreview_->MalerSetzen(
      [this](QPainter& maler, const QSize& groesse) { VorschauMalen(maler, groesse); });
  vorschauLayout->addWidget(pbPreview_, 0, Qt::AlignCenter);
  info->addWidget(vorschauBox, 0, Qt::AlignHCenter);
  layout->addWidget(hgInfo_, 0, 1);

  auto* hgFortschritt = new QFrame(Gruppe());
  hgFortschritt_ = hgFortschritt;
  hgFortschritt->setFrameShape(QFrame::StyledPanel);
  hgFortschritt->setAutoFillBackground(true);
  auto* fortschritt = new QVBoxLayout(hgFortschritt_);
  fortschritt->addWidget(FettesLabel(Text(_("Fortschritt:")), hgFortschritt_));
  ggFortschritt_ = new QProgressBar(hgFortschritt_);
  ggFortschritt_->setTextVisible(false);
  fortschritt->addWidget(ggFortschritt_);
  lbFortschritt_ = new QListWidget(hgFortschritt_);
  lbFortschritt_->setSelectionMode(QAbstractItemView::NoSelection);
  lbFortschritt_->setFocusPolicy(Qt::NoFocus);
  fortschritt->addWidget(lbFortschritt_, 1);
  layout->addWidget(hgFortschritt_, 0, 1);
  hgFortschritt_->hide();
  layout->setColumnStretch(1, 1);

  sbInfo_ = KnopfAnlegen(QStringLiteral("Info"), Glyphe::Info);
  sbHilfe_ = KnopfAnlegen(Text(_("Hilfe")), Glyphe::HilfeAn);
  KnopfLeiste()->addStretch(1);
  sbNeubeginn_ = KnopfAnlegen(Text(_("Neubeginn")), Glyphe::neu);
  sbNeubeginn_->setToolTip(Text(wizard::PageTitle(kSeiteVorlage)));
  sbweiter_ = KnopfAnlegen(Text(_("starten")), Glyphe::starten);
  sbEnde_ = KnopfAnlegen(Text(_("Ende")), Glyphe::Ende);
  sbEnde_->setObjectName(QStringLiteral("Ende"));

  connect(uebersicht_, &QListWidget::currentRowChanged, this, [this] { UebersichtClick(); });
  connect(uebersicht_, &QListWidget::itemDoubleClicked, this, [this] { UebersichtDblClick(); });
  connect(sbwechselnzu_, &QToolButton::clicked, this, [this] { UebersichtDblClick(); });
  connect(sbInfo_, &QPushButton::clicked, this, [this] { InfoZeigen(); });
  connect(sbHilfe_, &QPushButton::clicked, this, [this] { HilfeZeigen(sbHilfe_); });
  connect(sbNeubeginn_, &QPushButton::clicked, this, &UebersichtSeite::sbNeubeginnClick);
  connect(sbweiter_, &QPushButton::clicked, this, &UebersichtSeite::sbweiterClick);
  connect(sbEnde_, &QPushButton::clicked, this, [this] { Beenden(); });
}

void UebersichtSeite::FormShow() {
  assistent().navigation().ZurUebersicht = false;
  QtBenutzer& benutzer = assistent().benutzer();
  benutzer.fortschrittsZeilen = [this](const std::vector<std::string>& zeilen) {
    ZeilenZeigen(zeilen);
  };
  benutzer.fortschrittsBalken = [this](int32_t position, int32_t maximum) {
    BalkenZeigen(position, maximum);
  };
  if (UebersichtVorbereiten(auftrag())) {
    // Read again the other way up: the previews show it as it now stands.
    wizard::VorschauErstellen(GelesenesBild(auftrag()), auftrag().VorschauBild);
  }
  ListeFuellen(uebersicht_->currentRow());
  hgFortschritt_->hide();
  UebersichtClick();
}

void UebersichtSeite::FormClose() {
  QtBenutzer& benutzer = assistent().benutzer();
  benutzer.fortschrittsZeilen = nullptr;
  benutzer.fortschrittsBalken = nullptr;
}

void UebersichtSeite::done(int ergebnis) {
  // A run in progress keeps the page open, however the window is asked to close.
  if (Laeuft()) return;
  Seite::done(ergebnis);
}

void UebersichtSeite::ListeFuellen(int auswahl) {
  const std::vector<std::string> eintraege = wizard::UebersichtEintraege(auftrag());
  const QSignalBlocker ohneHandler(uebersicht_);
  uebersicht_->clear();
  for (const std::string& eintrag : eintraege) uebersicht_->addItem(Text(eintrag));
  uebersicht_->setCurrentRow(
      wizard::EintragWiederfinden(auswahl, static_cast<int>(eintraege.size())));
}

void UebersichtSeite::UebersichtClick() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const int eintrag = uebersicht_->currentRow();
  hgInfo_->show();
  WechselnZuPlatzieren(eintrag);

  const wizard::Eintragsinfo info = wizard::EintragsInfo(auftrag(), eintrag);
  infoT_->setText(Text(info.InfoT));
  infoFeld_->clear();
  for (const std::string& zeile : info.InfoFeld) infoFeld_->addItem(Text(zeile));

  const Size groesse = wizard::VorschauGroesse(auftrag(), eintrag);
  if (groesse.width > 0 && groesse.height > 0) {
    pbPreview_->setFixedSize(groesse.width, groesse.height);
    pbPreview_->show();
    pbPreview_->update();
  } else {
    pbPreview_->hide();
  }
  QApplication::restoreOverrideCursor();
}

void UebersichtSeite::WechselnZuPlatzieren(int eintrag) {
  QListWidgetItem* item = eintrag >= 0 ? uebersicht_->item(eintrag) : nullptr;
  sbwechselnzu_->setVisible(item != nullptr);
  if (item == nullptr) return;
  const QRect zeile = uebersicht_->visualItemRect(item);
  // List and strip are siblings: through the frame they both lie in.
  const QPoint oben =
      wechselLeiste_->mapFrom(Gruppe(), uebersicht_->viewport()->mapTo(Gruppe(), zeile.topLeft()));
  sbwechselnzu_->move(0, oben.y() + (zeile.height() - kWechselKante) / 2);
  sbwechselnzu_->setToolTip(Text(wizard::PageTitle(wizard::EintragsSeite(eintrag))));
}

void UebersichtSeite::VorschauMalen(QPainter& maler, const QSize& groesse) const {
  const Auftrag& job = auftrag();
  const int eintrag = uebersicht_->currentRow();
  const wizard::Vorschauart art = wizard::VorschauArt(eintrag);
  const QRect flaeche(QPoint(0, 0), groesse);
  maler.fillRect(flaeche, palette().window());
  const bool ergebnis = art == wizard::Vorschauart::Ergebnis;
  if (ergebnis && job.Ergebnis) {
    BildZeichnen(maler, flaeche, job.Ergebnis->AnzeigeBild());
  } else if (ergebnis || eintrag == 0) {
    BildZeichnen(maler, flaeche, job.VorschauBild);  // the picture as read
  } else {
    VorlageZeichnen(maler, flaeche, job);
  }
  const Einstellungen& e = job.einstellungen;
  if (art == wizard::Vorschauart::Abstandsregel) {
    const wizard::Abstandsregel regel =
        wizard::AbstandsregelZellen(e.KachelnX, e.KachelnY, e.minAbstand);
    ZellenFuellen(maler, groesse, e.KachelnX, e.KachelnY, regel.blau, kRegelBlau);
    ZellenFuellen(maler, groesse, e.KachelnX, e.KachelnY, regel.rot, kRegelRot);
  }
  if (art == wizard::Vorschauart::Raster || art == wizard::Vorschauart::Abstandsregel) {
    RasterZeichnen(maler, groesse, e.KachelnX, e.KachelnY);
  }
}

void UebersichtSeite::UebersichtDblClick() {
  const int eintrag = uebersicht_->currentRow();
  if (eintrag < 0) return;
  assistent().navigation().ZurUebersicht = true;
  GeheZu(wizard::EintragsSeite(eintrag));
}

void UebersichtSeite::sbNeubeginnClick() {
  GeheZu(kSeiteVorlage);
}

void UebersichtSeite::KnoepfeSperren(bool sperren) {
  if (sperren == gesperrt_) return;
  gesperrt_ = sperren;
  sbweiter_->setText(sperren ? Text(_("abbrechen")) : Text(_("starten")));
  sbweiter_->setIcon(GlyphIcon(sperren ? Glyphe::Abbrechen2 : Glyphe::starten));
  for (QWidget* w : std::initializer_list<QWidget*>{sbNeubeginn_, sbInfo_, sbwechselnzu_, sbEnde_,
                                                    sbHilfe_, uebersicht_}) {
    w->setEnabled(!sperren);
  }
  if (sperren) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void UebersichtSeite::ZeilenZeigen(const std::vector<std::string>& zeilen) {
  // The first report of a run comes after its pre-checks: from here on it is running.
  if (Laeuft()) KnoepfeSperren(true);
  lbFortschritt_->clear();
  for (const std::string& zeile : zeilen) lbFortschritt_->addItem(Text(zeile));
  hgFortschritt_->show();
  hgFortschritt_->raise();
  hgFortschritt_->repaint();
}

void UebersichtSeite::BalkenZeigen(int32_t position, int32_t maximum) {
  ggFortschritt_->setMaximum(std::max(maximum, 0));
  ggFortschritt_->setValue(position);
}

void UebersichtSeite::sbweiterClick() {
  // A second press while a run is in progress (through the event pump) asks it to stop.
  if (lauf_ != nullptr) {
    lauf_->Abbrechen();
    return;
  }
  Berechnungslauf lauf(auftrag(), assistent().benutzer());
  lauf_ = &lauf;
  Laufausgang ausgang = Laufausgang::Abgelehnt;
  std::string fehler;
  try {
    ausgang = lauf.Starten();
  } catch (const std::exception& e) {
    fehler = _(kLaufFehler) + std::string(e.what());
  }
  lauf_ = nullptr;
  KnoepfeSperren(false);

  if (!fehler.empty()) {
    assistent().benutzer().Warnung(fehler);
    ErgebnisZeigen();
    return;
  }
  switch (ausgang) {
    case Laufausgang::Fertig:
      // The overview shows the durations of this run when it is shown next.
      hgInfo_->hide();
      ListeFuellen(wizard::kEintragLetzteBerechnung);
      GeheZu(kSeiteErgebnis);
      break;
    case Laufausgang::ZuKlein:
      // The user was told; the end-of-program question follows.
      ListeFuellen(uebersicht_->currentRow());
      Beenden();
      break;
    case Laufausgang::Abgebrochen:
    case Laufausgang::Unlesbar:  // the user was warned
      ErgebnisZeigen();
      break;
    case Laufausgang::Abgelehnt:
    case Laufausgang::AbbruchAngefordert:
      break;
  }
}

void UebersichtSeite::ErgebnisZeigen() {
  // The run left the earlier result as it was; the list follows what there is now.
  hgFortschritt_->hide();
  ListeFuellen(uebersicht_->currentRow());
  UebersichtClick();
}

}  // namespace tilvendo::ui
