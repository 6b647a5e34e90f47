#include "ui/album_editor_seite.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <functional>
#include <initializer_list>

#include "engine/auftrag.h"
#include "platform/gross_klein.h"
#include "platform/paths.h"
#include "platform/translate.h"
#include "ui/assistent.h"
#include "ui/bausteine.h"
#include "ui/medien_melder.h"
#include "ui/medium_name_dialog.h"
#include "ui/ordnerbaum_halt.h"
#include "ui/qt_benutzer.h"
#include "wizard/album_editor.h"

namespace tilvendo::ui {
namespace {

// The scan reports every picture; its labels are repainted at most this often, so that a
// scan of a hundred thousand pictures spends its time scanning, not painting.
constexpr qint64 kAnzeigeAbstandMs = 50;
// A medium that was just inserted may take a moment until it can be read: the tree tries
// again this often, this far apart, and then stays where it was.
constexpr int kLaufwerkVersuche = 20;
constexpr int kLaufwerkVersuchAbstandMs = 250;
// The colour of the reason a name cannot be taken: a dark red, readable on the page.
constexpr QRgb kHinweisRot = 0xB00000;
constexpr int kBreite = 720;
constexpr int kHoehe = 560;

// The album's folder list: takes folders dragged from the tree.
class OrdnerAblage : public QListWidget {
 public:
  OrdnerAblage(QWidget* quelle, std::function<bool()> erlaubt, std::function<void()> ablegen,
               QWidget* parent)
      : QListWidget(parent),
        quelle_(quelle),
        erlaubt_(std::move(erlaubt)),
        ablegen_(std::move(ablegen)) {
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
  }

 protected:
  void dragEnterEvent(QDragEnterEvent* ereignis) override { Pruefen(ereignis); }
  void dragMoveEvent(QDragMoveEvent* ereignis) override { Pruefen(ereignis); }
  void dropEvent(QDropEvent* ereignis) override {
    if (!Annehmbar(ereignis)) {
      ereignis->ignore();
      return;
    }
    ereignis->setDropAction(Qt::CopyAction);
    ereignis->accept();
    ablegen_();
  }

 private:
  bool Annehmbar(const QDropEvent* ereignis) const {
    return ereignis->source() == quelle_ && erlaubt_();
  }
  void Pruefen(QDragMoveEvent* ereignis) {
    if (Annehmbar(ereignis)) {
      ereignis->setDropAction(Qt::CopyAction);
      ereignis->accept();
    } else {
      ereignis->ignore();
    }
  }

  QWidget* quelle_;
  std::function<bool()> erlaubt_;
  std::function<void()> ablegen_;
};

}  // namespace

AlbumEditorSeite::AlbumEditorSeite(Assistent& assistent)
    : Seite(assistent, wizard::Seite::AlbumEditor) {
  // Left only through "Schließen": no close box, and it never ends the program.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  SchliessenOhneEnde(true);

  auto* layout = new QVBoxLayout(Gruppe());
  auto* namenszeile = new QGridLayout;
  namenszeile->addWidget(new QLabel(Text(_("Name des Albums:")), Gruppe()), 0, 0);
  albenname_ = new QLineEdit(Gruppe());
  albenname_->setObjectName(QStringLiteral("Albenname"));
  namenszeile->addWidget(albenname_, 0, 1);
  // Why "Schließen" is greyed out, right under the name that is the reason.
  namensHinweis_ = new QLabel(Gruppe());
  namensHinweis_->setObjectName(QStringLiteral("NamensHinweis"));
  namensHinweis_->setTextFormat(Qt::PlainText);
  QPalette rot = namensHinweis_->palette();
  rot.setColor(QPalette::WindowText, QColor(kHinweisRot));
  namensHinweis_->setPalette(rot);
  namensHinweis_->hide();
  namenszeile->addWidget(namensHinweis_, 1, 1);
  namenszeile->setColumnStretch(1, 1);
  layout->addLayout(namenszeile);

  auto* mitte = new QGridLayout;
  modell_ = new QFileSystemModel(this);
  modell_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
  modell_->setReadOnly(true);
  verzListe_ = new QTreeView(Gruppe());
  verzListe_->setObjectName(QStringLiteral("VerzListe"));
  verzListe_->setModel(modell_);
  verzListe_->setHeaderHidden(true);
  for (int spalte = 1; spalte < modell_->columnCount(); ++spalte) verzListe_->hideColumn(spalte);
  verzListe_->setDragEnabled(true);
  verzListe_->setDragDropMode(QAbstractItemView::DragOnly);
  verzListe_->setSelectionMode(QAbstractItemView::SingleSelection);
  // Folders that change on disk (a temporary one) must not move the tree under the user.
  new OrdnerbaumHalt(verzListe_, modell_);
  mitte->addWidget(verzListe_, 0, 0);
  laufwListe_ = new QComboBox(Gruppe());
  laufwListe_->setObjectName(QStringLiteral("LaufwListe"));
  mitte->addWidget(laufwListe_, 1, 0);

  auto* knoepfe = new QVBoxLayout;
  knoepfe->addStretch(1);
  hinzufuegen_ =
      new QPushButton(GlyphIcon(Glyphe::hinzufuegen), Text(_("hinzufügen")), Gruppe());
  entfernen_ = new QPushButton(GlyphIcon(Glyphe::entfernen), Text(_("entfernen")), Gruppe());
  for (QPushButton* knopf : {hinzufuegen_, entfernen_}) {
    knopf->setAutoDefault(false);
    knoepfe->addWidget(knopf);
  }
  knoepfe->addStretch(1);
  mitte->addLayout(knoepfe, 0, 1);

  aktListe_ = new OrdnerAblage(
      verzListe_,
      [this] { return editor_ != nullptr && wizard::AblegenMoeglich(Album(), ordner_); },
      [this] { HinzufuegenClick(); }, Gruppe());
  aktListe_->setObjectName(QStringLiteral("AktListe"));
  mitte->addWidget(aktListe_, 0, 2);
  unterverz_ = new QCheckBox(Text(_("Unterverzeichnisse miteinbeziehen")), Gruppe());
  unterverz_->setChecked(true);
  mitte->addWidget(unterverz_, 1, 2);
  mitte->setColumnStretch(0, 1);
  mitte->setColumnStretch(2, 1);
  layout->addLayout(mitte, 1);

  auto* zahlen = new QGridLayout;
  zahlen->addWidget(new QLabel(Text(_("Anzahl der Bilder:")), Gruppe()), 0, 0);
  bilderZahl_ = FettesLabel(QString(), Gruppe());
  bilderZahl_->setText(QStringLiteral("0"));
  zahlen->addWidget(bilderZahl_, 0, 1);
  zahlen->addWidget(new QLabel(Text(_("momentanes Verzeichnis:")), Gruppe()), 1, 0);
  aktVerz_ = new QLabel(QString::fromUtf8(wizard::kKeinOrdner), Gruppe());
  aktVerz_->setTextFormat(Qt::PlainText);
  // A long path must not widen the page.
  aktVerz_->setMinimumWidth(1);
  aktVerz_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  zahlen->addWidget(aktVerz_, 1, 1);
  zahlen->setColumnStretch(1, 1);
  layout->addLayout(zahlen);

  mediumNameHG_ = new QWidget(Gruppe());
  auto* medium = new QHBoxLayout(mediumNameHG_);
  medium->setContentsMargins(0, 0, 0, 0);
  medium->addWidget(new QLabel(Text(_("Name des Mediums:")), mediumNameHG_));
  mediumName_ = new QLineEdit(mediumNameHG_);
  mediumName_->setObjectName(QStringLiteral("MediumName"));
  medium->addWidget(mediumName_, 1);
  mediumNameHG_->hide();
  layout->addWidget(mediumNameHG_);

  hilfe_ = KnopfAnlegen(Text(_("Hilfe")), Glyphe::HilfeAn);
  KnopfLeiste()->addStretch(1);
  aktualisieren_ = KnopfAnlegen(Text(_("aktualisieren")), Glyphe::aktualisieren);
  schliessen_ = KnopfAnlegen(Text(_("Schließen")), Glyphe::schliessen);

  mediumNameDialog_ = new MediumNameDialog(this);

  connect(hinzufuegen_, &QPushButton::clicked, this, &AlbumEditorSeite::HinzufuegenClick);
  connect(entfernen_, &QPushButton::clicked, this, &AlbumEditorSeite::entfernenClick);
  connect(unterverz_, &QCheckBox::toggled, this, &AlbumEditorSeite::UnterverzClick);
  connect(aktualisieren_, &QPushButton::clicked, this, &AlbumEditorSeite::aktualisierenClick);
  connect(schliessen_, &QPushButton::clicked, this, &AlbumEditorSeite::SchliessenClick);
  connect(hilfe_, &QPushButton::clicked, this, [this] { HilfeZeigen(hilfe_); });
  connect(albenname_, &QLineEdit::textChanged, this, &AlbumEditorSeite::AlbennameChange);
  connect(laufwListe_, &QComboBox::activated, this, &AlbumEditorSeite::LaufwListeChange);
  connect(aktListe_, &QListWidget::itemClicked, this, [this](QListWidgetItem* eintrag) {
    aktVerz_->setText(eintrag->text());  // AktListeClick
  });
  connect(aktListe_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* eintrag) {
    OrdnerZeigen(eintrag->text().toStdString());  // AktListeDblClick
  });
  // VerzListeClick and VerzListeChange: the tree's current folder is the one shown.
  connect(verzListe_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& index) {
            if (!index.isValid()) return;
            ordner_ = modell_->filePath(index).toStdString();
            aktVerz_->setText(Text(ordner_));
            ChooserAufLaufwerk();
          });
  connect(verzListe_, &QTreeView::clicked, this, [this] { aktVerz_->setText(Text(ordner_)); });

  // The tree starts at the current folder, on its drive.
  heim_ = wizard::HeimLaufwerk(assistent.medien(), HomeFolder());
  const std::string start = QDir::currentPath().toStdString();
  LaufwerkeFuellen(laufwerk_);
  OrdnerZeigen(start);
  einhaengepunkte_ = assistent.medien().Einhaengepunkte();
  MedienBeobachterSetzen(std::make_unique<MounttabellenBeobachter>());
  GroesseWuenschen(QSize(kBreite, kHoehe));
}

AlbumEditorSeite::~AlbumEditorSeite() = default;

void AlbumEditorSeite::MedienBeobachterSetzen(std::unique_ptr<MedienBeobachter> beobachter) {
  delete melder_;
  melder_ = new MedienMelder(std::move(beobachter), this);
  connect(melder_, &MedienMelder::geaendert, this, &AlbumEditorSeite::GeraeteAenderung);
}

void AlbumEditorSeite::Bearbeiten(AlbumImEditor& editor) {
  editor_ = &editor;
  schliessenErlaubt_ = false;
  exec();
  editor_ = nullptr;
}

Bearbeitungsumgebung AlbumEditorSeite::Umgebung() {
  return Bearbeitungsumgebung{assistent().albenKontext(), assistent().medien(),
                              assistent().benutzer()};
}

TGalerieGlobal& AlbumEditorSeite::Album() {
  return auftrag().alben.AktAlbum;
}

std::string AlbumEditorSeite::AktuellerOrdner() const {
  return ordner_;
}

// --- showing the album ---------------------------------------------------------------

void AlbumEditorSeite::FormShow() {
  TGalerieGlobal& album = Album();
  {
    const QSignalBlocker ohneHandler(unterverz_);
    unterverz_->setChecked(album.mitUnterverzeichnissen);
  }
  std::sort(album.Verzeichnisse.begin(), album.Verzeichnisse.end(),
            [](const std::string& a, const std::string& b) { return VorOhneGrossKlein(a, b); });
  album.Verzeichnisse.erase(std::unique(album.Verzeichnisse.begin(), album.Verzeichnisse.end()),
                            album.Verzeichnisse.end());
  mediumName_->setText(Text(album.MediumName));
  mediumNameHG_->setVisible(album.Wechselmedium);
  ListeAnzeigen(std::nullopt);
  albenname_->setText(editor_ != nullptr ? Text(editor_->name) : Text(album.Name));
  AlbennameChange();
  BilderZahlAnzeigen();
  // The folder "hinzufügen" would add, from the start.
  aktVerz_->setText(Text(wizard::AktVerzText(ordner_)));

  // The scan's reports and the medium-name question come to this page while it shows.
  QtBenutzer& benutzer = assistent().benutzer();
  benutzer.scanOrdner = [this](std::string_view ordner) { ScanOrdnerZeigen(ordner); };
  benutzer.scanAnzahl = [this](int32_t anzahl) { ScanAnzahlZeigen(anzahl); };
  benutzer.mediumNameFrage = [this] { return mediumNameDialog_->Erfragen(); };
  // Media may have come and gone while the page was hidden; a tree on a medium taken out
  // meanwhile would show an empty folder.
  einhaengepunkte_ = assistent().medien().Einhaengepunkte();
  if (assistent().medien().Einhaengepunkt(laufwerk_) != laufwerk_) LaufwerkZeigen(heim_);
  LaufwerkeFuellen(laufwerk_);
}

void AlbumEditorSeite::FormClose() {
  Album().mitUnterverzeichnissen = unterverz_->isChecked();
  QtBenutzer& benutzer = assistent().benutzer();
  benutzer.scanOrdner = nullptr;
  benutzer.scanAnzahl = nullptr;
  benutzer.mediumNameFrage = nullptr;
}

void AlbumEditorSeite::ListeAnzeigen(std::optional<size_t> auswahl) {
  aktListe_->clear();
  for (const std::string& ordner : Album().Verzeichnisse) aktListe_->addItem(Text(ordner));
  if (auswahl && *auswahl < static_cast<size_t>(aktListe_->count())) {
    aktListe_->setCurrentRow(static_cast<int>(*auswahl));
  }
}

void AlbumEditorSeite::MediumAnzeigen() {
  const TGalerieGlobal& album = Album();
  // A name left in the hidden field would go back into an album freed from its medium
  // with the next change, and be saved with it.
  mediumName_->setText(album.Wechselmedium ? Text(album.MediumName) : QString());
  mediumNameHG_->setVisible(album.Wechselmedium);
}

void AlbumEditorSeite::BilderZahlAnzeigen() {
  const int32_t gesamt = editor_ != nullptr ? editor_->anzahl.gesamt : 0;
  bilderZahl_->setText(QString::number(gesamt));
}

// --- changing the album --------------------------------------------------------------

// While a scan runs, the scan's own event handling lets clicks through; a second change
// of the album in the middle of a scan would pull the folder list from under it. Every
// change therefore waits for none other to be at work, and an error (an album folder
// that cannot be written) is told to the user instead of ending the program.
void AlbumEditorSeite::Ausfuehren(bool deaktivieren, const std::function<void()>& schritt) {
  if (beschaeftigt_ || editor_ == nullptr) return;
  beschaeftigt_ = true;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const QPointer<QWidget> fokus = QApplication::focusWidget();
  if (deaktivieren) BedienungFreigeben(false);
  try {
    // A name typed into the medium field so far is kept when the medium is shown again.
    Album().MediumName = mediumName_->text().toStdString();
    schritt();
  } catch (const std::exception& fehler) {
    assistent().benutzer().Warnung(fehler.what());
  }
  if (deaktivieren) {
    BedienungFreigeben(true);
    if (fokus && isAncestorOf(fokus)) fokus->setFocus();
  }
  QApplication::restoreOverrideCursor();
  beschaeftigt_ = false;
}

// Only the controls: the scan's labels stay in full colour, for they are what the user
// watches meanwhile.
void AlbumEditorSeite::BedienungFreigeben(bool frei) {
  for (QWidget* element :
       std::initializer_list<QWidget*>{albenname_, verzListe_, laufwListe_, aktListe_, unterverz_,
                                       hinzufuegen_, entfernen_, mediumName_}) {
    element->setEnabled(frei);
  }
}

void AlbumEditorSeite::HinzufuegenClick() {
  if (ordner_.empty()) return;
  Ausfuehren(true, [&] {
    std::optional<size_t> vorher;
    if (aktListe_->currentRow() >= 0) vorher = static_cast<size_t>(aktListe_->currentRow());
    const Aufnahme aufnahme = OrdnerHinzufuegen(Umgebung(), Album(), editor_->anzahl, ordner_);
    if (aufnahme == Aufnahme::Abgelehnt) return;
    MediumAnzeigen();
    if (aufnahme == Aufnahme::Aufgenommen) {
      ListeAnzeigen(wizard::AuswahlNachHinzufuegen(vorher));
      BilderZahlAnzeigen();
    }
  });
}

void AlbumEditorSeite::entfernenClick() {
  const int zeile = aktListe_->currentRow();
  if (zeile < 0) return;
  Ausfuehren(false, [&] {
    const size_t position = static_cast<size_t>(zeile);
    if (!OrdnerEntfernen(Umgebung(), Album(), editor_->anzahl, position)) return;
    ListeAnzeigen(wizard::AuswahlNachEntfernen(position, Album().Verzeichnisse.size()));
    BilderZahlAnzeigen();
    MediumAnzeigen();
  });
}

void AlbumEditorSeite::UnterverzClick(bool mit) {
  Ausfuehren(false, [&] {
    UnterverzeichnisseSetzen(Umgebung(), Album(), editor_->anzahl, mit);
    BilderZahlAnzeigen();
  });
  // Refused while another change was at work: the box keeps showing what the album does.
  if (editor_ != nullptr && Album().mitUnterverzeichnissen != unterverz_->isChecked()) {
    const QSignalBlocker ohneHandler(unterverz_);
    unterverz_->setChecked(Album().mitUnterverzeichnissen);
  }
}

void AlbumEditorSeite::aktualisierenClick() {
  Ausfuehren(false, [&] {
    AlbumNeuScannen(Umgebung(), Album(), editor_->anzahl);
    BilderZahlAnzeigen();
  });
}

void AlbumEditorSeite::SchliessenClick() {
  if (beschaeftigt_ || editor_ == nullptr || !schliessen_->isEnabled()) return;
  Album().MediumName = mediumName_->text().toStdString();
  editor_->name = albenname_->text().toStdString();
  schliessenErlaubt_ = true;
  accept();
}

void AlbumEditorSeite::AlbennameChange() {
  const std::string name = albenname_->text().toStdString();
  schliessen_->setEnabled(
      wizard::SchliessenMoeglich(assistent().albenKontext(), Album().Name, name));
  const std::string hinweis = wizard::NamensHinweis(assistent().albenKontext(), Album().Name, name);
  namensHinweis_->setText(Text(hinweis));
  namensHinweis_->setVisible(!hinweis.empty());
}

void AlbumEditorSeite::done(int ergebnis) {
  if (!schliessenErlaubt_) return;
  schliessenErlaubt_ = false;
  Seite::done(ergebnis);
}

void AlbumEditorSeite::closeEvent(QCloseEvent* ereignis) {
  if (!schliessenErlaubt_) {
    ereignis->ignore();
    return;
  }
  Seite::closeEvent(ereignis);
}

void AlbumEditorSeite::keyPressEvent(QKeyEvent* ereignis) {
  switch (ereignis->key()) {
    case Qt::Key_Insert:
      HinzufuegenClick();
      return;
    case Qt::Key_Delete:
      entfernenClick();
      return;
    case Qt::Key_Escape:
      return;
    default:
      Seite::keyPressEvent(ereignis);
  }
}

// --- the scan's progress -------------------------------------------------------------

bool AlbumEditorSeite::AnzeigeFaellig() {
  if (anzeigeTakt_.isValid() && anzeigeTakt_.elapsed() < kAnzeigeAbstandMs) return false;
  anzeigeTakt_.start();
  return true;
}

void AlbumEditorSeite::ScanOrdnerZeigen(std::string_view ordner) {
  // The start and the end of a scan are always shown; at its end the label shows the
  // tree's folder again.
  const bool ende = ordner == wizard::kKeinOrdner;
  if (!ende && !AnzeigeFaellig()) return;
  aktVerz_->setText(Text(ende ? wizard::AktVerzText(ordner_) : std::string(ordner)));
  if (ende) anzeigeTakt_.invalidate();
}

void AlbumEditorSeite::ScanAnzahlZeigen(int32_t anzahl) {
  if (!AnzeigeFaellig()) return;
  bilderZahl_->setText(QString::number(anzahl));
}

// --- drives and folders --------------------------------------------------------------

void AlbumEditorSeite::LaufwerkeFuellen(const std::string& zeigen) {
  const QSignalBlocker ohneHandler(laufwListe_);
  laufwListe_->clear();
  const auto laufwerke =
      wizard::LaufwerkeAuflisten(assistent().medien(), [](const std::string& punkt) {
        return QStorageInfo(QString::fromStdString(punkt)).name().toStdString();
      });
  for (const wizard::Laufwerk& laufwerk : laufwerke) {
    laufwListe_->addItem(Text(laufwerk.beschriftung), Text(laufwerk.einhaengepunkt));
  }
  ChooserZeigen(zeigen);
}

void AlbumEditorSeite::ChooserAufLaufwerk() {
  ChooserZeigen(laufwerk_);
}

void AlbumEditorSeite::ChooserZeigen(const std::string& punkt) {
  const QSignalBlocker ohneHandler(laufwListe_);
  int index = laufwListe_->findData(Text(punkt));
  if (index < 0 && !punkt.empty()) {
    // A drive albums cannot use still shows when the tree is on it.
    laufwListe_->addItem(Text(punkt), Text(punkt));
    index = laufwListe_->count() - 1;
  }
  laufwListe_->setCurrentIndex(index);
}

void AlbumEditorSeite::LaufwerkZeigen(const std::string& punkt) {
  laufwerk_ = punkt;
  ordner_ = punkt;
  const QString pfad = Text(punkt);
  modell_->setRootPath(pfad);
  verzListe_->setRootIndex(modell_->index(pfad));
  verzListe_->clearSelection();
  aktVerz_->setText(pfad);
  ChooserAufLaufwerk();
}

void AlbumEditorSeite::OrdnerZeigen(const std::string& ordner) {
  std::string punkt = assistent().medien().Einhaengepunkt(ordner);
  if (punkt.empty()) punkt = heim_;
  if (punkt != laufwerk_) LaufwerkZeigen(punkt);
  QString pfad = Text(ordner);
  while (pfad.size() > 1 && pfad.endsWith(QLatin1Char('/'))) pfad.chop(1);
  const QModelIndex index = modell_->index(pfad);
  if (!index.isValid() || pfad == Text(punkt)) return;
  for (QModelIndex oben = index.parent(); oben.isValid(); oben = oben.parent()) {
    verzListe_->expand(oben);
  }
  verzListe_->setCurrentIndex(index);
  verzListe_->scrollTo(index);
}

void AlbumEditorSeite::LaufwListeChange() {
  const std::string punkt = laufwListe_->currentData().toString().toStdString();
  // A drive without a readable medium cannot be chosen.
  if (wizard::LaufwerkLesbar(assistent().medien(), punkt)) {
    LaufwerkZeigen(punkt);
  } else {
    ChooserAufLaufwerk();
  }
}

void AlbumEditorSeite::LaufwerkVersuchen(const std::string& punkt, int versuche) {
  if (wizard::LaufwerkLesbar(assistent().medien(), punkt) && QDir(Text(punkt)).isReadable()) {
    LaufwerkZeigen(punkt);
    return;
  }
  if (versuche <= 0) {
    ChooserAufLaufwerk();
    return;
  }
  // Not yet readable: try again a little later, without holding up the page.
  QTimer::singleShot(kLaufwerkVersuchAbstandMs, this, [this, punkt, versuche] {
    if (laufwListe_->currentData().toString().toStdString() == punkt) {
      LaufwerkVersuchen(punkt, versuche - 1);
    }
  });
}

void AlbumEditorSeite::GeraeteAenderung() {
  const Medien& medien = assistent().medien();
  std::vector<std::string> nachher = medien.Einhaengepunkte();
  if (!isVisible()) {
    einhaengepunkte_ = std::move(nachher);
    return;
  }
  const std::optional<std::string> ziel =
      wizard::LaufwerkNachAenderung(medien, einhaengepunkte_, nachher, laufwerk_, heim_);
  einhaengepunkte_ = std::move(nachher);
  LaufwerkeFuellen(ziel.value_or(laufwerk_));
  if (ziel) LaufwerkVersuchen(*ziel, kLaufwerkVersuche);
}

}  // namespace tilvendo::ui
