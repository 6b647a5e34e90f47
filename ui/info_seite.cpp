#include "ui/info_seite.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <functional>
#include <optional>

#include "platform/paths.h"
#include "platform/translate.h"
#include "ui/assistent.h"
#include "ui/bausteine.h"
#include "wizard/info_seite.h"
#include "wizard/navigation.h"

namespace tilvendo::ui {
namespace {

constexpr int kIconKante = 100;
// Room for the information texts without scrolling through every paragraph.
constexpr int kTextfeldBreite = 380;
constexpr int kTextfeldHoehe = 280;

}  // namespace

// A link: a pointing cursor, underlined while the mouse is over it, opened by a click.
class InfoVerweis : public QLabel {
 public:
  InfoVerweis(const wizard::LinkZiel& ziel, QWidget* eltern)
      : QLabel(QString::fromStdString(ziel.anzeige), eltern),
        url_(ziel.lokaleDatei ? QUrl::fromLocalFile(QString::fromStdString(ziel.adresse))
                              : QUrl(QString::fromStdString(ziel.adresse))) {
    setCursor(Qt::PointingHandCursor);
    QPalette farben = palette();
    farben.setColor(QPalette::WindowText, farben.color(QPalette::Link));
    setPalette(farben);
    setToolTip(ziel.lokaleDatei ? QString::fromStdString(ziel.adresse) : url_.toString());
  }

  void Unterstreichen(bool ja) {
    QFont schrift = font();
    schrift.setUnderline(ja);
    setFont(schrift);
  }

 protected:
  void enterEvent(QEnterEvent*) override { Unterstreichen(true); }
  void leaveEvent(QEvent*) override { Unterstreichen(false); }
  void mouseReleaseEvent(QMouseEvent* ereignis) override {
    if (ereignis->button() == Qt::LeftButton && rect().contains(ereignis->position().toPoint())) {
      QDesktopServices::openUrl(url_);
    }
  }

 private:
  QUrl url_;
};

InfoSeite::InfoSeite(Assistent& assistent) : Seite(assistent, wizard::Seite::Information) {
  QWidget* g = Gruppe();
  auto* raster = new QGridLayout(g);

  auto* links = new QVBoxLayout;
  links->addWidget(new QLabel(Text(_("Überblick:")), g));
  uebersicht_ = new QListWidget(g);
  uebersicht_->setObjectName(QStringLiteral("Uebersicht"));
  for (std::string_view eintrag : wizard::kInfoEintraege) {
    uebersicht_->addItem(Text(_(eintrag.data())));
  }
  // All entries in full without scrolling; the room below belongs to the icon or the
  // contact panel.
  uebersicht_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  uebersicht_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  uebersicht_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  uebersicht_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  links->addWidget(uebersicht_);

  bild_ = new QLabel(g);
  bild_->setObjectName(QStringLiteral("Bild"));
  bild_->setPixmap(QIcon(QStringLiteral(":/nubo-tilvendo.svg")).pixmap(kIconKante, kIconKante));
  bild_->setFixedSize(kIconKante, kIconKante);
  links->addWidget(bild_, 0, Qt::AlignHCenter);

  kontakt_ = new QFrame(g);
  kontakt_->setObjectName(QStringLiteral("aKontakt"));
  auto* kontaktRaster = new QGridLayout(kontakt_);
  kontaktRaster->setContentsMargins(0, 0, 0, 0);
  auto* ueberschrift = FettesLabel(Text(_("Kontakt:")), kontakt_);
  kontaktRaster->addWidget(ueberschrift, 0, 0, 1, 2);
  // Links without a target are left out.
  const std::string programmOrdner = ExecutableFolder();
  for (const wizard::Kontaktlink& link : wizard::Kontaktlinks()) {
    const std::optional<wizard::LinkZiel> ziel = wizard::LinkAufloesen(link, programmOrdner);
    if (!ziel) continue;
    const int zeile = kontaktRaster->rowCount();
    kontaktRaster->addWidget(new QLabel(Text(_(link.vorText.data())), kontakt_), zeile, 0);
    auto* verweis = new InfoVerweis(*ziel, kontakt_);
    kontaktRaster->addWidget(verweis, zeile, 1);
    links_.push_back(verweis);
  }
  if (links_.empty()) {
    kontaktRaster->addWidget(new QLabel(Text(_("noch keine Adressen")), kontakt_), 1, 0, 1,
                             2);
  }
  kontaktRaster->setColumnStretch(1, 1);
  links->addWidget(kontakt_);
  links->addStretch(1);
  raster->addLayout(links, 0, 0);

  infoFeld_ = new QPlainTextEdit(g);
  infoFeld_->setObjectName(QStringLiteral("InfoFeld"));
  infoFeld_->setReadOnly(true);
  infoFeld_->setMinimumSize(kTextfeldBreite, kTextfeldHoehe);
  raster->addWidget(infoFeld_, 0, 1);
  raster->setColumnStretch(1, 1);

  KnopfLeiste()->addStretch(1);
  ok_ = KnopfAnlegen(QStringLiteral("Ok"), Glyphe::OK);
  connect(ok_, &QPushButton::clicked, this,
          [this] { GeheZu(wizard::InfoVerlassen(this->assistent().navigation())); });
  connect(uebersicht_, &QListWidget::currentRowChanged, this, &InfoSeite::UebersichtClick);
  uebersicht_->setCurrentRow(0);
}

void InfoSeite::EintragWaehlen(int eintrag) {
  uebersicht_->setCurrentRow(eintrag);
}

void InfoSeite::UebersichtClick() {
  const int eintrag = uebersicht_->currentRow();
  const wizard::InfoSichtbarkeit panels = wizard::InfoPanels(eintrag);
  bild_->setVisible(panels.bild);
  kontakt_->setVisible(panels.kontakt);
  // Shown from its first line.
  infoFeld_->setPlainText(QString::fromStdString(wizard::InfoText(eintrag)));
}

void InfoSeite::FormShow() {
  for (InfoVerweis* verweis : links_) verweis->Unterstreichen(false);
  UebersichtClick();
}

}  // namespace tilvendo::ui
