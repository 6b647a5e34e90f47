#include "ui/fortschritt_fenster.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "platform/translate.h"
#include "ui/bausteine.h"

namespace tilvendo::ui {
namespace {

constexpr const char* kSpeicherTitel = N_("Beginne mit Speicherung des Bildes ...");

constexpr int kBreite = 310;
constexpr int kHoehe = 40;
constexpr int kTextLinks = 5;
constexpr int kTextOben = 12;
constexpr int kSchriftPixel = 13;
constexpr int kTextHoehe = 18;
// Beneath the text: the bar and the button of a save that can be stopped.
constexpr int kBalkenOben = 34;
constexpr int kBalkenHoehe = 18;
constexpr int kKnopfOben = 58;
constexpr int kKnopfBreite = 100;
constexpr int kKnopfHoehe = 26;
constexpr int kHoeheMitAbbruch = 92;
constexpr int kProzent = 100;

}  // namespace

FortschrittFenster::FortschrittFenster(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint) {
  setFixedSize(kBreite, kHoehe);
  // Over the wizard's window, which stays in view but takes no input meanwhile.
  setWindowModality(parent != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
  text_ = new QLabel(this);
  QFont schrift = text_->font();
  schrift.setPixelSize(kSchriftPixel);
  text_->setFont(schrift);
  text_->setGeometry(kTextLinks, kTextOben, kBreite - 2 * kTextLinks, kTextHoehe);
}

void FortschrittFenster::AbbruchAnbieten(std::function<void()> abbrechen) {
  setFixedSize(kBreite, kHoeheMitAbbruch);
  balken_ = new QProgressBar(this);
  balken_->setRange(0, kProzent);
  balken_->setValue(0);
  balken_->setTextVisible(false);
  balken_->setGeometry(kTextLinks, kBalkenOben, kBreite - 2 * kTextLinks, kBalkenHoehe);
  abbrechen_ = new QPushButton(ui::Text(_("Abbrechen")), this);
  abbrechen_->setObjectName(QStringLiteral("Abbrechen"));
  abbrechen_->setGeometry((kBreite - kKnopfBreite) / 2, kKnopfOben, kKnopfBreite, kKnopfHoehe);
  connect(abbrechen_, &QPushButton::clicked, this, [this, abbrechen = std::move(abbrechen)] {
    abbrechen_->setEnabled(false);
    text_->setText(ui::Text(_("wird abgebrochen ...")));
    abbrechen();
  });
}

void FortschrittFenster::AbbruchSperren() {
  if (abbrechen_ != nullptr) abbrechen_->setEnabled(false);
}

void FortschrittFenster::FortschrittZeigen(int32_t fertig, int32_t gesamt) {
  if (gesamt <= 0) return;
  const int prozent =
      static_cast<int>(static_cast<int64_t>(std::clamp(fertig, 0, gesamt)) * kProzent / gesamt);
  if (balken_ != nullptr) balken_->setValue(prozent);
  if (abbrechen_ == nullptr || abbrechen_->isEnabled()) {
    text_->setText(ui::Text(_("%1 % gespeichert")).arg(prozent));
  }
  emit FortschrittGezeigt(fertig, gesamt);
}

void FortschrittFenster::ShowSaveProgress() {
  setWindowTitle(ui::Text(_(kSpeicherTitel)));
  text_->clear();
  text_->move(kTextLinks, kTextOben);
  // In the middle of the window it belongs to, else of the screen.
  const QWidget* eltern = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
  if (eltern != nullptr && eltern->isVisible()) {
    move(eltern->frameGeometry().center() - rect().center());
  } else if (const QScreen* bildschirm = QGuiApplication::primaryScreen()) {
    const QRect frei = bildschirm->availableGeometry();
    move(frei.center() - rect().center());
  }
  schliessenErlaubt_ = false;
  show();
  raise();
  repaint();
}

void FortschrittFenster::HideSaveProgress() {
  setWindowTitle(QString());
  text_->clear();
  text_->move(kTextLinks, kTextOben);
  schliessenErlaubt_ = true;
  close();
}

void FortschrittFenster::closeEvent(QCloseEvent* ereignis) {
  if (!schliessenErlaubt_) {
    ereignis->ignore();
    return;
  }
  QDialog::closeEvent(ereignis);
}

void FortschrittFenster::keyPressEvent(QKeyEvent* ereignis) {
  if (ereignis->key() == Qt::Key_Escape) {
    ereignis->ignore();
    return;
  }
  QDialog::keyPressEvent(ereignis);
}

}  // namespace tilvendo::ui
