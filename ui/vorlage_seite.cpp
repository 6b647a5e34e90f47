#include "ui/vorlage_seite.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <algorithm>
#include <optional>

#include "engine/auftrag.h"
#include "engine/vorbereitung.h"
#include "platform/fit_to_box.h"
#include "platform/translate.h"
#include "ui/assistent.h"
#include "ui/bausteine.h"
#include "ui/bild_anzeige.h"
#include "ui/malfeld.h"
#include "ui/qt_benutzer.h"
#include "wizard/navigation.h"
#include "wizard/vorlage_seite.h"

namespace tilvendo::ui {
namespace {

// Edge of the square in which the open dialog previews the picture under the cursor.
constexpr int kDialogVorschau = 200;
// Where Qt's own file dialog keeps its file list in its grid: row 1, three columns wide.
constexpr int kDialogListenZeile = 1;
constexpr int kDialogNebenListe = 3;

// Shows the picture file `pfad` shrunk into the label, or nothing for anything else. The
// preview reads through Qt, which decodes a JPEG at a fraction of its size when asked for
// a small picture, so moving through a folder of large photos stays quick.
void DialogVorschauZeigen(QLabel* vorschau, const QString& pfad) {
  QImageReader leser(pfad);
  const QSize voll = leser.size();
  if (!voll.isValid() || voll.isEmpty()) {
    vorschau->clear();
    return;
  }
  const Size passend = FitToBox(voll.width(), voll.height(), kDialogVorschau, kDialogVorschau);
  leser.setScaledSize(QSize(std::max(passend.width, 1), std::max(passend.height, 1)));
  const QImage bild = leser.read();
  if (bild.isNull()) {
    vorschau->clear();
  } else {
    vorschau->setPixmap(QPixmap::fromImage(bild));
  }
}

// Qt's own dialog has no check box for opening read-only, so there is none to hide.
std::optional<QString> VorlageErfragen(QWidget* eltern, const QString& startordner) {
  QFileDialog dialog(eltern, Text(_(wizard::kOeffnenTitel)), startordner);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  // The entries carry their patterns at the end; hidden, each shows just its name.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilter(Text(wizard::VorlagenFilter()));
  dialog.setSizeGripEnabled(true);
  // The first entry names every type; the box shows it whole, and the dialog is made
  // wide enough for that.
  if (auto* typen = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
    typen->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  }

  auto* vorschau = new QLabel(&dialog);
  vorschau->setObjectName(QStringLiteral("Vorschau"));
  vorschau->setFixedSize(kDialogVorschau, kDialogVorschau);
  vorschau->setAlignment(Qt::AlignCenter);
  vorschau->setFrameShape(QFrame::StyledPanel);
  if (auto* raster = qobject_cast<QGridLayout*>(dialog.layout())) {
    raster->addWidget(vorschau, kDialogListenZeile, kDialogNebenListe);
  }
  QObject::connect(&dialog, &QFileDialog::currentChanged, vorschau,
                   [vorschau](const QString& pfad) { DialogVorschauZeigen(vorschau, pfad); });
  dialog.resize(dialog.sizeHint().expandedTo(dialog.size()));

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList gewaehlt = dialog.selectedFiles();
  if (gewaehlt.isEmpty()) return std::nullopt;
  return gewaehlt.front();
}

}  // namespace

VorlageSeite::VorlageSeite(Assistent& assistent) : Seite(assistent, wizard::Seite::Vorlage) {
  auto* raster = new QGridLayout(Gruppe());
  laden_ = new QPushButton(GlyphIcon(Glyphe::oeffnen), Text(_("Bild laden")), Gruppe());
  laden_->setObjectName(QStringLiteral("laden"));
  laden_->setAutoDefault(false);
  raster->addWidget(laden_, 0, 0, 1, 2, Qt::AlignLeft);

  const QString keinWert = QString::fromUtf8(wizard::kKeinWert);
  raster->addWidget(new QLabel(Text(_("Breite des Bildes:")), Gruppe()), 1, 0);
  bildBreite_ = new QLabel(keinWert, Gruppe());
  bildBreite_->setObjectName(QStringLiteral("BildBreite"));
  raster->addWidget(bildBreite_, 1, 1);
  raster->addWidget(new QLabel(Text(_("Höhe des Bildes:")), Gruppe()), 2, 0);
  bildHoehe_ = new QLabel(keinWert, Gruppe());
  bildHoehe_->setObjectName(QStringLiteral("BildHoehe"));
  raster->addWidget(bildHoehe_, 2, 1);
  raster->setRowStretch(3, 1);
  raster->setColumnStretch(1, 1);

  // The preview box: the fitted picture at its right edge, or the note in its middle.
  auto* box = new QWidget(Gruppe());
  box->setFixedSize(wizard::kVorschauBreite, wizard::kVorschauHoehe);
  auto* boxRaster = new QGridLayout(box);
  boxRaster->setContentsMargins(0, 0, 0, 0);
  noPic_ = new QLabel(Text(_(wizard::kKeineVorlage)), box);
  noPic_->setObjectName(QStringLiteral("noPic"));
  noPic_->setAlignment(Qt::AlignCenter);
  boxRaster->addWidget(noPic_, 0, 0, Qt::AlignCenter);
  bild_ = new Malfeld(box);
  bild_->setObjectName(QStringLiteral("Bild"));
  bild_->MalerSetzen([this](QPainter& maler, const QSize& groesse) {
    const QRect flaeche(QPoint(0, 0), groesse);
    maler.fillRect(flaeche, palette().window());
    BildZeichnen(maler, flaeche, auftrag().VorschauBild);
  });
  bild_->hide();
  boxRaster->addWidget(bild_, 0, 0, Qt::AlignRight | Qt::AlignTop);
  raster->addWidget(box, 0, 2, 4, 1, Qt::AlignRight | Qt::AlignTop);

  StandardKnoepfeAnlegen();
  connect(laden_, &QPushButton::clicked, this, &VorlageSeite::ladenClick);
}

void VorlageSeite::ladenClick() {
  // The dialog opens where the last template lay, the first time in the user's pictures
  // folder as the desktop names it (Qt reads the XDG user directories).
  const std::string startordner = wizard::DialogStartordner(
      auftrag().vorlage.VorlagePfad,
      QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
          .toStdString(),
      QFile::encodeName(QDir::homePath()).toStdString());
  const std::optional<QString> pfad = VorlageErfragen(this, QFile::decodeName(startordner.c_str()));
  if (pfad) {
    VorlageOeffnen(*pfad);
  } else {
    ZustandZeigen();
  }
}

void VorlageSeite::VorlageOeffnen(const QString& pfad) {
  Vorlagenausgang ausgang{};
  {
    const Sanduhr sanduhr;
    ausgang = wizard::VorlageWaehlen(auftrag(), QFile::encodeName(pfad).toStdString());
  }
  switch (ausgang) {
    case Vorlagenausgang::Geladen: {
      const Vorlage& vorlage = auftrag().vorlage;
      const Size bild = GanzesBild(vorlage);
      bildBreite_->setText(Text(wizard::PixelText(bild.width)));
      bildHoehe_->setText(Text(wizard::PixelText(bild.height)));
      const Bitmap& vorschau = auftrag().VorschauBild;
      bild_->setFixedSize(vorschau.width(), vorschau.height());
      bild_->show();
      bild_->update();
      break;
    }
    case Vorlagenausgang::Unlesbar:
      // The job keeps its template; the page goes on showing it.
      assistent().benutzer().Warnung(_(wizard::kUngueltigesBild));
      break;
    case Vorlagenausgang::ZuGross:
      assistent().benutzer().Warnung(MeldungVorlageZuGross(QFile::encodeName(pfad).toStdString()));
      break;
    case Vorlagenausgang::KeineDatei:
      assistent().benutzer().Warnung(
          MeldungVorlageKeineDatei(QFile::encodeName(pfad).toStdString()));
      break;
    case Vorlagenausgang::Fehlt:
      // A file that vanished after the dialog closed is passed over without a word.
      break;
  }
  ZustandZeigen();
}

void VorlageSeite::ZustandZeigen() {
  noPic_->setVisible(bild_->isHidden());
  const uint16_t ziel = wizard::NextPage(assistent().navigation(), Nummer());
  WeiterZielSetzen(ziel);
  WeiterKnopf()->setEnabled(ziel > 0 && wizard::VorlageBereit(auftrag().vorlage));
}

void VorlageSeite::FormShow() {
  ZustandZeigen();
}

}  // namespace tilvendo::ui
