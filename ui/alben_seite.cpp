#include "ui/alben_seite.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>
#include <optional>

#include "albums/alben_operationen.h"
#include "engine/auftrag.h"
#include "platform/paths.h"
#include "platform/translate.h"
#include "ui/album_editor_seite.h"
#include "ui/assistent.h"
#include "ui/bausteine.h"
#include "ui/qt_benutzer.h"
#include "wizard/alben_seite.h"
#include "wizard/navigation.h"

namespace tilvendo::ui {
namespace {

constexpr int kBreite = 520;
constexpr int kHoehe = 480;

// The summary entries show no state picture, but keep its room: their captions line up
// with the albums' and their rows are as high.
QIcon KeinZustandsbild(const QWidget* liste) {
  const int seite = liste->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, liste);
  QPixmap leer(seite, seite);
  leer.fill(Qt::transparent);
  return QIcon(leer);
}

QIcon Zustandsbild(wizard::Zustandsbild bild, const QIcon& keines) {
  switch (bild) {
    case wizard::Zustandsbild::Haekchen:
      return GlyphIcon(Glyphe::Haekchen);
    case wizard::Zustandsbild::KeinHaekchen:
      return GlyphIcon(Glyphe::keinHaekchen);
    case wizard::Zustandsbild::Keines:
      break;
  }
  return keines;
}

}  // namespace

AlbenSeite::AlbenSeite(Assistent& assistent) : Seite(assistent, wizard::Seite::Alben) {
  auto* layout = new QVBoxLayout(Gruppe());
  auto* oben = new QHBoxLayout;
  alben_ = new QTreeWidget(Gruppe());
  alben_->setObjectName(QStringLiteral("Alben"));
  alben_->setColumnCount(1);
  alben_->setHeaderLabels({Text(_("Albenname"))});
  alben_->setHeaderHidden(true);
  alben_->setRootIsDecorated(false);
  alben_->setSelectionMode(QAbstractItemView::SingleSelection);
  alben_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  oben->addWidget(alben_, 1);

  auto* knoepfe = new QVBoxLayout;
  neu_ = new QPushButton(GlyphIcon(Glyphe::neu), Text(_("neu")), Gruppe());
  loeschen_ = new QPushButton(GlyphIcon(Glyphe::loeschen), Text(_("löschen")), Gruppe());
  bearbeiten_ =
      new QPushButton(GlyphIcon(Glyphe::bearbeiten), Text(_("bearbeiten")), Gruppe());
  // Kept from an earlier plan; they have no function.
  importieren_ = new QPushButton(Text(_("importieren")), Gruppe());
  exportieren_ = new QPushButton(Text(_("exportieren")), Gruppe());
  for (QPushButton* knopf : {neu_, loeschen_, bearbeiten_, importieren_, exportieren_}) {
    knopf->setAutoDefault(false);
    knoepfe->addWidget(knopf);
  }
  importieren_->hide();
  exportieren_->hide();
  knoepfe->addStretch(1);
  oben->addLayout(knoepfe);
  layout->addLayout(oben, 1);

  aktAlbum_ = FettesLabel(Text(_(wizard::kKeinAlbumGewaehlt)), Gruppe());
  aktAlbum_->setAlignment(Qt::AlignCenter);
  aktAlbum_->setTextFormat(Qt::PlainText);
  layout->addWidget(aktAlbum_);
  auto* zahlen = new QGridLayout;
  zahlen->addWidget(FettesLabel(Text(_("Anzahl Bilder gesamt:")), Gruppe()), 0, 0);
  bilderGesamt_ = FettesLabel(QStringLiteral("0"), Gruppe());
  zahlen->addWidget(bilderGesamt_, 0, 1);
  // Nothing counts the orientations; their labels stay hidden.
  int zeile = 1;
  for (auto [text, label] : {std::pair{N_("Anzahl querformatiger Bilder:"), &bilderQuer_},
                             std::pair{N_("Anzahl hochkanter Bilder:"), &bilderHoch_},
                             std::pair{N_("Anzahl quadratischer Bilder:"), &bilderQuadrat_}}) {
    auto* name = new QLabel(Text(_(text)), Gruppe());
    *label = new QLabel(QStringLiteral("0"), Gruppe());
    zahlen->addWidget(name, zeile, 0);
    zahlen->addWidget(*label, zeile, 1);
    name->hide();
    (*label)->hide();
    ++zeile;
  }
  zahlen->setColumnStretch(1, 1);
  layout->addLayout(zahlen);

  aktMediumHG_ = new QWidget(Gruppe());
  auto* medium = new QHBoxLayout(aktMediumHG_);
  medium->setContentsMargins(0, 0, 0, 0);
  medium->addWidget(new QLabel(Text(_("gespeichert auf dem Medium:")), aktMediumHG_));
  aktMedium_ = new QLabel(aktMediumHG_);
  aktMedium_->setTextFormat(Qt::PlainText);
  medium->addWidget(aktMedium_, 1);
  aktMediumHG_->hide();
  layout->addWidget(aktMediumHG_);

  StandardKnoepfeAnlegen();

  connect(alben_, &QTreeWidget::itemSelectionChanged, this, &AlbenSeite::AlbenChange);
  connect(alben_, &QTreeWidget::itemDoubleClicked, this, &AlbenSeite::AlbenDblClick);
  connect(neu_, &QPushButton::clicked, this, &AlbenSeite::neuClick);
  connect(loeschen_, &QPushButton::clicked, this, &AlbenSeite::loeschenClick);
  connect(bearbeiten_, &QPushButton::clicked, this, &AlbenSeite::bearbeitenClick);
  GroesseWuenschen(QSize(kBreite, kHoehe));
}

AlbenSeite::~AlbenSeite() = default;

AlbumEditorSeite* AlbenSeite::Editor() {
  if (!editor_) editor_ = std::make_unique<AlbumEditorSeite>(assistent());
  return editor_.get();
}

std::optional<std::string> AlbenSeite::Auswahl() const {
  const QList<QTreeWidgetItem*> gewaehlt = alben_->selectedItems();
  if (gewaehlt.isEmpty()) return std::nullopt;
  return gewaehlt.front()->text(0).toStdString();
}

void AlbenSeite::Ausfuehren(bool mitSanduhr, const std::function<void()>& schritt) {
  // The scans inside let clicks through; the page takes one at a time.
  if (beschaeftigt_) return;
  beschaeftigt_ = true;
  try {
    std::optional<Sanduhr> sanduhr;
    if (mitSanduhr) sanduhr.emplace();
    schritt();
  } catch (const std::exception& fehler) {
    // An album file that cannot be written: the user is told, the page goes on.
    assistent().benutzer().Warnung(fehler.what());
    ListeFuellen();
  }
  beschaeftigt_ = false;
}

void AlbenSeite::ListeFuellen() {
  ListeFuellen(Auswahl());
}

void AlbenSeite::ListeFuellen(const std::optional<std::string>& auswahlName) {
  const std::vector<wizard::Listeneintrag> eintraege =
      wizard::ListeFuellen(auftrag().alben, assistent().albenKontext());
  {
    const QSignalBlocker ohneHandler(alben_);
    alben_->clear();
    const QIcon keines = KeinZustandsbild(alben_);
    for (const wizard::Listeneintrag& eintrag : eintraege) {
      auto* item = new QTreeWidgetItem(alben_, QStringList{Text(eintrag.name)});
      item->setIcon(0, Zustandsbild(eintrag.bild, keines));
      if (auswahlName && eintrag.name == *auswahlName) {
        item->setSelected(true);
        alben_->setCurrentItem(item);
      }
    }
  }
  if (QTreeWidgetItem* aktuell = alben_->currentItem();
      aktuell != nullptr && aktuell->isSelected()) {
    alben_->scrollToItem(aktuell);
  }
  AlbenChange();
}

void AlbenSeite::AlbenChange() {
  const wizard::Albenanzeige anzeige =
      wizard::AlbenChange(auftrag().alben, assistent().albenKontext(), Auswahl());
  tag_ = anzeige.tag;
  aktAlbum_->setText(Text(anzeige.aktAlbum));
  aktMedium_->setText(Text(anzeige.aktMedium));
  aktMediumHG_->setVisible(anzeige.aktMediumSichtbar);
  bilderGesamt_->setText(QString::number(anzeige.anzahl.gesamt));
  bilderQuer_->setText(QString::number(anzeige.anzahl.querformat));
  bilderHoch_->setText(QString::number(anzeige.anzahl.hochkant));
  bilderQuadrat_->setText(QString::number(anzeige.anzahl.quadratisch));
  loeschen_->setEnabled(anzeige.loeschen);
  bearbeiten_->setEnabled(anzeige.bearbeiten);
  WeiterKnopf()->setEnabled(anzeige.weiter);
}

void AlbenSeite::AlbenDblClick() {
  const std::optional<std::string> name = Auswahl();
  if (!name) return;
  Ausfuehren(true, [&] {
    AlbumAuswahlUmschalten(auftrag().alben, assistent().albenKontext(), assistent().medien(),
                           assistent().benutzer(), *name);
    ListeFuellen();
  });
}

void AlbenSeite::neuClick() {
  Ausfuehren(false, [&] {
    Auftrag& auftrag = this->auftrag();
    AlbumImEditor editor =
        NeuesAlbumBeginnen(auftrag.alben, assistent().albenKontext(), assistent().benutzer());
    Editor()->Bearbeiten(editor);
    AlbumBearbeitungAbschliessen(auftrag.alben, assistent().albenKontext(), editor);
    // The new album is the selected one: its name and figures show at once.
    ListeFuellen(editor.name);
  });
}

void AlbenSeite::bearbeitenClick() {
  const std::optional<std::string> name = Auswahl();
  if (!name || !wizard::BearbeitenMoeglich(tag_)) return;
  Ausfuehren(false, [&] {
    Auftrag& auftrag = this->auftrag();
    std::optional<AlbumImEditor> editor =
        AlbumBearbeitenBeginnen(auftrag.alben, static_cast<size_t>(tag_));
    if (!editor) return;
    Editor()->Bearbeiten(*editor);
    AlbumBearbeitungAbschliessen(auftrag.alben, assistent().albenKontext(), *editor);
    // The selection follows the album to its new name.
    if (QTreeWidgetItem* item = alben_->currentItem()) item->setText(0, Text(editor->name));
    ListeFuellen();
  });
}

void AlbenSeite::loeschenClick() {
  const std::optional<std::string> name = Auswahl();
  if (!name || !wizard::LoeschenMoeglich(tag_)) return;
  Ausfuehren(true, [&] {
    AlbumLoeschenUndAbwaehlen(auftrag().alben, assistent().albenKontext(), *name);
    ListeFuellen();
  });
}

void AlbenSeite::FormShow() {
  CreateFolders(auftrag().AlbenPfad);
  ListeFuellen();
  const uint16_t ziel = wizard::NextPage(assistent().navigation(), Nummer());
  WeiterZielSetzen(ziel);
  WeiterKnopf()->setEnabled(wizard::WeiterMoeglich(ziel, auftrag().BilderAnzahl));
  bearbeiten_->setEnabled(wizard::BearbeitenMoeglich(tag_));
}

void AlbenSeite::FormClose() {
  // The following pages and the engine work with the totals of the chosen albums.
  auftrag().BilderAnzahl = auftrag().alben.GewaehlteBilderZaehlen();
}

}  // namespace tilvendo::ui
