#include "ui/ergebnis_seite.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
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
  // Where the last save went, so that the user finds the file.
  gespeichert_ = new KuerzendeZeile(unten_);
  gespeichert_->setObjectName(QStringLiteral("gespeichert"));
  // Its line is kept free, so the window does not grow when a save succeeds.
  QSizePolicy zeileHalten = gespeichert_->sizePolicy();
  zeileHalten.setRetainSizeWhenHidden(true);
  gespeichert_->setSizePolicy(zeileHalten);
  gespeichert_->hide();
  untenLayout->addWidget(gespeichert_);
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
    // The mosaic's own size: the settings may have changed since it was made.
    Gruppe()->setTitle(
        Text(wizard::Skalierungstext(job.AnzeigeBild.width(), job.MosaikBild->width(),
                                     job.MosaikBild->width(), job.MosaikBild->height())));
  }
  // Without a mosaic there is nothing to save.
  speichern_->setEnabled(job.MosaikBild.has_value());
  unten_->setTitle(Text(wizard::Blendtext(position)));
  SpeicherhinweisZeigen();
  GroesseSetzen();

  zurueckZiel_ = wizard::NextPage(assistent().navigation(), Nummer());
  zurueck_->setEnabled(zurueckZiel_ > 0);
  zurueck_->setToolTip(QString::fromStdString(wizard::PageTitle(zurueckZiel_)));
}

void ErgebnisSeite::GroesseSetzen() {
  const Auftrag& job = auftrag();
  ergebnisBild_->setFixedSize(job.AnzeigeBild.width(), job.AnzeigeBild.height());
  layout()->activate();
  // The rule's size; the window gives the controls more room where they need it.
  const Size regel = wizard::ErgebnisFenster(
      Size{job.AnzeigeBild.width(), job.AnzeigeBild.height()}, job.RahmenBreite, job.RahmenHoehe);
  GroesseWuenschen(QSize(regel.width, regel.height));
}

void ErgebnisSeite::SpeicherhinweisZeigen() {
  const std::string hinweis = wizard::Speicherhinweis(auftrag().analyse.ErgebnisGespeichert,
                                                      assistent().ZuletztGespeichert());
  gespeichert_->TextSetzen(Text(hinweis));
  gespeichert_->setVisible(!hinweis.empty());
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
  SpeicherhinweisZeigen();
}

}  // namespace tilvendo::ui
