#include "ui/ergebnis_seite.h"

#include <QApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/auftrag.h"
#include "pictures/blending.h"
#include "ui/assistent.h"
#include "ui/bausteine.h"
#include "ui/bild_anzeige.h"
#include "ui/malfeld.h"
#include "wizard/navigation.h"

namespace tilvendo::ui {
namespace {}  // namespace

ErgebnisSeite::ErgebnisSeite(Assistent& assistent) : Seite(assistent, wizard::Seite::Ergebnis) {
  Gruppe()->setTitle(QStringLiteral("das fertige Fotomosaik"));
  auto* oben = new QVBoxLayout(Gruppe());
  ergebnisBild_ = new Malfeld(Gruppe());
  ergebnisBild_->MalerSetzen([this](QPainter& maler, const QSize& groesse) {
    BildZeichnen(maler, QRect(QPoint(0, 0), groesse), auftrag().AnzeigeBild);
  });
  oben->addWidget(ergebnisBild_, 1, Qt::AlignHCenter | Qt::AlignTop);

  unten_ = new QGroupBox(Gruppe());
  unten_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  auto* untenLayout = new QVBoxLayout(unten_);
  auto* regler = new QHBoxLayout;
  blenden_ = new QSlider(Qt::Horizontal, unten_);
  blenden_->setRange(kReglerMinimum, kReglerMaximum);
  blenden_->setValue(kReglerStandard);
  blenden_->setTickInterval(1);
  blenden_->setTickPosition(QSlider::TicksBelow);
  blenden_->setPageStep(1);
  blenden_->setToolTip(QString::fromUtf8(wizard::kBlendHinweis));
  regler->addWidget(new QLabel(QStringLiteral("0 %"), unten_));
  regler->addWidget(blenden_, 1);
  regler->addWidget(new QLabel(QStringLiteral("100 %"), unten_));
  untenLayout->addLayout(regler);
  auto* knoepfe = new QHBoxLayout;
  const auto knopf = [this, knoepfe](const QString& text, Glyphe glyphe) {
    auto* neu = new QPushButton(GlyphIcon(glyphe), text, unten_);
    neu->setAutoDefault(false);
    knoepfe->addWidget(neu);
    return neu;
  };
  hilfe_ = knopf(QStringLiteral("Hilfe"), Glyphe::HilfeAn);
  knoepfe->addStretch(1);
  speichern_ = knopf(QStringLiteral("Speichern"), Glyphe::Speichern2);
  zurueck_ = knopf(QStringLiteral("zurück"), Glyphe::zurueck);
  ende_ = knopf(QStringLiteral("Ende"), Glyphe::Ende);
  ende_->setObjectName(QStringLiteral("Ende"));
  untenLayout->addLayout(knoepfe);
  // Between the picture and the (empty) common button row.
  qobject_cast<QVBoxLayout*>(layout())->insertWidget(1, unten_);

  connect(blenden_, &QSlider::valueChanged, this, &ErgebnisSeite::BlendenChange);
  connect(hilfe_, &QPushButton::clicked, this, [this] { HilfeZeigen(hilfe_); });
  connect(speichern_, &QPushButton::clicked, this, &ErgebnisSeite::SpeichernClick);
  connect(zurueck_, &QPushButton::clicked, this, [this] { GeheZu(zurueckZiel_); });
  connect(ende_, &QPushButton::clicked, this, [this] { Beenden(); });
}

void ErgebnisSeite::FormShow() {
  const Sanduhr sanduhr;
  Auftrag& job = auftrag();
  const int32_t position = blenden_->value();
  assistent().BlendwertSetzen(BlendwertAusRegler(position));
  if (job.MosaikBild) {
    anzeige_.Vorbereiten(*job.MosaikBild, job.VorlageBild, position, job.AnzeigeBild);
    Gruppe()->setTitle(
        Text(wizard::Skalierungstext(job.AnzeigeBild.width(), job.MosaikBild->width(),
                                     job.einstellungen.ZielBreite, job.einstellungen.ZielHoehe)));
  }
  unten_->setTitle(Text(wizard::Blendtext(position)));
  GroesseSetzen();

  zurueckZiel_ = wizard::NextPage(assistent().navigation(), Nummer());
  zurueck_->setEnabled(zurueckZiel_ > 0);
  zurueck_->setToolTip(QString::fromStdString(wizard::PageTitle(zurueckZiel_)));
}

void ErgebnisSeite::GroesseSetzen() {
  const Auftrag& job = auftrag();
  ergebnisBild_->setFixedSize(job.AnzeigeBild.width(), job.AnzeigeBild.height());
  layout()->activate();
  const Size regel = wizard::ErgebnisFenster(
      Size{job.AnzeigeBild.width(), job.AnzeigeBild.height()}, job.RahmenBreite, job.RahmenHoehe);
  // The rule's size, unless the controls need more room than it leaves.
  const QSize noetig = minimumSizeHint();
  resize(std::max(regel.width, noetig.width()), std::max(regel.height, noetig.height()));
  if (const QScreen* bildschirm = QGuiApplication::primaryScreen()) {
    const QRect frei = bildschirm->availableGeometry();
    const wizard::Lage lage = wizard::FensterZentrieren(
        Size{frei.width(), frei.height()}, Size{frameGeometry().width(), frameGeometry().height()});
    move(frei.left() + lage.links, frei.top() + lage.oben);
  }
}

void ErgebnisSeite::BlendenChange(int position) {
  const Sanduhr sanduhr;
  if (!anzeige_.ReglerGeaendert(position, auftrag().AnzeigeBild)) return;
  assistent().BlendwertSetzen(BlendwertAusRegler(position));
  unten_->setTitle(Text(wizard::Blendtext(position)));
  ergebnisBild_->update();
}

void ErgebnisSeite::SpeichernClick() {
  Auftrag& job = auftrag();
  // A changed blend value must never be shown from an older preview.
  job.SpeicherVorschau = Bitmap();
  job.analyse.ErgebnisGespeichert = assistent().ErgebnisSpeichern() ? 1 : 0;
}

}  // namespace tilvendo::ui
