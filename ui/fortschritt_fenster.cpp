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

// The message stands in the window's body, where it is read whole; the title bar of a
// window this narrow would cut it.
constexpr const char* kSpeicherText = N_("Beginne mit Speicherung des Bildes ...");
constexpr const char* kSpeicherTitel = N_("Speichern");

constexpr int kBreite = 310;
constexpr int kTextLinks = 5;
constexpr int kTextOben = 12;
constexpr int kSchriftPixel = 13;
constexpr int kTextHoehe = 18;
// Beneath the message: the bar, then the share saved beside the button that stops.
constexpr int kAbstand = 6;
constexpr int kBalkenHoehe = 18;
constexpr int kKnopfBreite = 100;
constexpr int kKnopfHoehe = 26;
constexpr int kProzent = 100;

}  // namespace

FortschrittFenster::FortschrittFenster(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint) {
  // Over the wizard's window, which stays in view but takes no input meanwhile.
  setWindowModality(parent != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
  text_ = new QLabel(this);
  text_->setObjectName(QStringLiteral("Meldung"));
  QFont schrift = text_->font();
  schrift.setPixelSize(kSchriftPixel);
  text_->setFont(schrift);
  text_->setWordWrap(true);
  Anordnen();
}

void FortschrittFenster::Anordnen() {
  const int breite = kBreite - 2 * kTextLinks;
  // However long the message is in the user's language, it wraps and is read whole.
  const int textHoehe = std::max(kTextHoehe, text_->heightForWidth(breite));
  text_->setGeometry(kTextLinks, kTextOben, breite, textHoehe);
  int unten = kTextOben + textHoehe;
  if (balken_ != nullptr) {
    unten += kAbstand;
    balken_->setGeometry(kTextLinks, unten, breite, kBalkenHoehe);
    unten += kBalkenHoehe + kAbstand;
    anteil_->setGeometry(kTextLinks, unten, breite - kKnopfBreite - kAbstand, kKnopfHoehe);
    abbrechen_->setGeometry(kBreite - kTextLinks - kKnopfBreite, unten, kKnopfBreite, kKnopfHoehe);
    unten += kKnopfHoehe;
  }
  setFixedSize(kBreite, unten + kTextOben);
}

void FortschrittFenster::AbbruchAnbieten(std::function<void()> abbrechen) {
  balken_ = new QProgressBar(this);
  balken_->setRange(0, kProzent);
  balken_->setValue(0);
  balken_->setTextVisible(false);
  anteil_ = new QLabel(this);
  anteil_->setObjectName(QStringLiteral("Anteil"));
  anteil_->setFont(text_->font());
  abbrechen_ = new QPushButton(ui::Text(_("Abbrechen")), this);
  abbrechen_->setObjectName(QStringLiteral("Abbrechen"));
  connect(abbrechen_, &QPushButton::clicked, this, [this, abbrechen = std::move(abbrechen)] {
    abbrechen_->setEnabled(false);
    text_->setText(ui::Text(_("wird abgebrochen ...")));
    abbrechen();
  });
  Anordnen();
}

void FortschrittFenster::AbbruchSperren() {
  if (abbrechen_ != nullptr) abbrechen_->setEnabled(false);
}

void FortschrittFenster::FortschrittZeigen(int32_t fertig, int32_t gesamt) {
  if (gesamt <= 0) return;
  const int prozent =
      static_cast<int>(static_cast<int64_t>(std::clamp(fertig, 0, gesamt)) * kProzent / gesamt);
  // Bar and number from the one value, painted together: neither runs ahead.
  if (balken_ != nullptr) {
    balken_->setValue(prozent);
    anteil_->setText(ui::Text(_("%1 % gespeichert")).arg(prozent));
  }
  emit FortschrittGezeigt(fertig, gesamt);
}

void FortschrittFenster::ShowSaveProgress() {
  setWindowTitle(ui::Text(_(kSpeicherTitel)));
  text_->setText(ui::Text(_(kSpeicherText)));
  if (anteil_ != nullptr) anteil_->clear();
  Anordnen();
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
