#include "ui/ergebnis_seite.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/auftrag.h"
#include "engine/platzierungsliste.h"
#include "pictures/blending.h"
#include "platform/translate.h"
#include "ui/assistent.h"
#include "ui/bausteine.h"
#include "ui/bild_anzeige.h"
#include "ui/lupen_ansicht.h"
#include "ui/qt_benutzer.h"
#include "ui/speichern_ablauf.h"
#include "wizard/lupen_kacheln.h"
#include "wizard/navigation.h"
#include "wizard/seiten_druck.h"

namespace tilvendo::ui {

ErgebnisSeite::ErgebnisSeite(Assistent& assistent) : Seite(assistent, wizard::Seite::Ergebnis) {
  Gruppe()->setTitle(Text(_("das fertige Fotomosaik")));
  auto* oben = new QVBoxLayout(Gruppe());
  ergebnisBild_ = new LupenAnsicht(Gruppe());
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
  blenden_->setToolTip(Text(_(wizard::kBlendHinweis)));
  regler->addWidget(new QLabel(QStringLiteral("0 %"), unten_));
  regler->addWidget(blenden_, 1);
  regler->addWidget(new QLabel(QStringLiteral("100 %"), unten_));
  untenLayout->addLayout(regler);
  auto* knoepfe = new QHBoxLayout;
  const auto knopf = [this](QHBoxLayout* reihe, const QString& text, Glyphe glyphe) {
    auto* neu = new QPushButton(GlyphIcon(glyphe), text, unten_);
    neu->setAutoDefault(false);
    reihe->addWidget(neu);
    return neu;
  };
  // The further ways the mosaic leaves the program go beside the slider, so that neither
  // row is wider than a small screen.
  liste_ = knopf(regler, Text(_(wizard::kListeKnopf)), Glyphe::Speichern2);
  liste_->setObjectName(QStringLiteral("Platzierungsliste"));
  seiten_ = knopf(regler, Text(_(wizard::kSeitenKnopf)), Glyphe::Speichern2);
  seiten_->setObjectName(QStringLiteral("Seiten"));
  webseite_ = knopf(regler, Text(_("Als Webseite speichern …")), Glyphe::Speichern2);
  webseite_->setObjectName(QStringLiteral("Webseite"));
  hilfe_ = knopf(knoepfe, Text(_("Hilfe")), Glyphe::HilfeAn);
  lupe_ = knopf(knoepfe, Text(_("Lupe")), Glyphe::Vorschau);
  lupe_->setObjectName(QStringLiteral("Lupe"));
  lupe_->setCheckable(true);
  lupe_->setToolTip(Text(_(wizard::kLupeHinweis)));
  knoepfe->addStretch(1);
  speichern_ = knopf(knoepfe, Text(_("Speichern")), Glyphe::Speichern2);
  zurueck_ = knopf(knoepfe, Text(_("zurück")), Glyphe::zurueck);
  ende_ = knopf(knoepfe, Text(_("Ende")), Glyphe::Ende);
  ende_->setObjectName(QStringLiteral("Ende"));
  untenLayout->addLayout(knoepfe);
  // The photo under the cursor, or where the placement list went; a long path is
  // shortened, so that the window keeps its size.
  status_ = new KuerzendeZeile(unten_);
  status_->setObjectName(QStringLiteral("Statuszeile"));
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  untenLayout->addWidget(status_);
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
  connect(seiten_, &QPushButton::clicked, this,
          [this] { SaveSheets(Seite::assistent(), this, AlsQImage(eigeneAnzeige_)); });
  connect(webseite_, &QPushButton::clicked, this,
          [this] { SaveWebPage(Seite::assistent(), this); });
  connect(zurueck_, &QPushButton::clicked, this, [this] { GeheZu(zurueckZiel_); });
  connect(lupe_, &QPushButton::toggled, this, [this](bool an) { ergebnisBild_->LupeSchalten(an); });
  connect(liste_, &QPushButton::clicked, this, &ErgebnisSeite::ListeClick);
  connect(ergebnisBild_, &LupenAnsicht::FotoBenannt, this, [this](const QString& datei) {
    status_->TextSetzen(datei.isEmpty() ? QString() : Text(_("Foto: ")) + datei);
  });
  connect(ergebnisBild_, &LupenAnsicht::ZoomGeaendert, this, [this] { SkalierungZeigen(); });
  connect(ergebnisBild_, &LupenAnsicht::FotoOeffnen, this, [this](const QString& datei) {
    // Without a program for photos the desktop says nothing; the status line does.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(datei))) {
      status_->TextSetzen(Text(_(wizard::kKeinFotoprogramm)) + datei);
    }
  });
  connect(ende_, &QPushButton::clicked, this, [this] { Beenden(); });
}

void ErgebnisSeite::FormShow() {
  const Sanduhr sanduhr;
  Auftrag& job = auftrag();
  const int32_t position = blenden_->value();
  assistent().BlendwertSetzen(BlendwertAusRegler(position));
  status_->TextSetzen(QString());
  const bool vorhanden = job.Ergebnis != nullptr;
  if (vorhanden) {
    const Mosaikergebnis& ergebnis = *job.Ergebnis;
    const Size mosaik = ergebnis.Groesse();
    // The result's screen copy stays unblended; the page blends into a picture of its own.
    eigeneAnzeige_ = Bitmap(ergebnis.AnzeigeBild().width(), ergebnis.AnzeigeBild().height());
    anzeige_.Vorbereiten(ergebnis.AnzeigeBild(), job.VorlageBild, position, eigeneAnzeige_);
    ergebnisBild_->Zeigen(eigeneAnzeige_, ergebnis.Stellvertreter(), job.VorlageBild, mosaik,
                          wizard::QuelleAusAuftrag(job));
    ergebnisBild_->BlendwertSetzen(BlendwertAusRegler(position));
    SkalierungZeigen();
  }
  // Without a mosaic there is nothing to save.
  speichern_->setEnabled(vorhanden);
  seiten_->setEnabled(vorhanden);
  webseite_->setEnabled(vorhanden);
  liste_->setEnabled(vorhanden);
  unten_->setTitle(Text(wizard::Blendtext(position)));
  SpeicherhinweisZeigen();
  GroesseSetzen();

  zurueckZiel_ = wizard::NextPage(assistent().navigation(), Nummer());
  zurueck_->setEnabled(zurueckZiel_ > 0);
  zurueck_->setToolTip(QString::fromStdString(wizard::PageTitle(zurueckZiel_)));
}

void ErgebnisSeite::FormClose() {
  // The photos read for the magnifier and its workers go with the page.
  ergebnisBild_->Leeren();
}

void ErgebnisSeite::GroesseSetzen() {
  const Auftrag& job = auftrag();
  const Bitmap& bild = eigeneAnzeige_;
  ergebnisBild_->setFixedSize(bild.width(), bild.height());
  layout()->activate();
  // The rule's size; the window gives the controls more room where they need it.
  const Size regel =
      wizard::ErgebnisFenster(Size{bild.width(), bild.height()}, job.RahmenBreite, job.RahmenHoehe);
  GroesseWuenschen(QSize(regel.width, regel.height));
}

void ErgebnisSeite::SkalierungZeigen() {
  // The mosaic's own size (the settings may have changed since it was made), at the
  // scale the magnifier shows it.
  Gruppe()->setTitle(
      Text(wizard::Skalierungstext(ergebnisBild_->Geometrie(), eigeneAnzeige_.width())));
}

void ErgebnisSeite::SpeicherhinweisZeigen() {
  const std::string hinweis =
      wizard::Speicherhinweis(auftrag().analyse.ErgebnisGespeichert,
                              assistent().ZuletztGespeichert(), auftrag().OhneErsatzKacheln);
  gespeichert_->TextSetzen(Text(hinweis));
  gespeichert_->setVisible(!hinweis.empty());
}

void ErgebnisSeite::BlendenChange(int position) {
  const Sanduhr sanduhr;
  if (!anzeige_.ReglerGeaendert(position, eigeneAnzeige_)) return;
  assistent().BlendwertSetzen(BlendwertAusRegler(position));
  ergebnisBild_->BlendwertSetzen(BlendwertAusRegler(position));
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

void ErgebnisSeite::ListeClick() {
  QFileDialog dialog(this, Text(_(wizard::kListeTitel)));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(Text(_(wizard::kListeFilter)));
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  dialog.selectFile(Text(_(wizard::kListeName)));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  ListeSpeichern(dialog.selectedFiles().front());
}

bool ErgebnisSeite::ListeSpeichern(const QString& datei) {
  try {
    const Sanduhr sanduhr;
    PlatzierungslisteSchreiben(auftrag(), datei.toStdString());
  } catch (const std::exception& fehler) {
    assistent().benutzer().Warnung(_(wizard::kListeFehler) + std::string(fehler.what()));
    return false;
  }
  status_->TextSetzen(Text(_(wizard::kListeGespeichert)) + datei);
  return true;
}

}  // namespace tilvendo::ui
