#include "ui/fortschritt_fenster.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace tilvendo::ui {
namespace {

const QString kSpeicherTitel = QStringLiteral("Beginne mit Speicherung des Bildes ...");

constexpr int kBreite = 310;
constexpr int kHoehe = 40;
constexpr int kTextLinks = 5;
constexpr int kTextOben = 12;
constexpr int kSchriftPixel = 13;
constexpr int kTextHoehe = 18;

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

void FortschrittFenster::ShowSaveProgress() {
  setWindowTitle(kSpeicherTitel);
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
