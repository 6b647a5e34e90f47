#include "ui/qt_benutzer.h"

#include <QApplication>
#include <QCursor>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>

#include "platform/translate.h"
#include "ui/bausteine.h"
#include "ui/seitenfenster.h"

namespace tilvendo::ui {
namespace {

constexpr const char* kWarnungTitel = N_("Warnung");
constexpr const char* kInformationTitel = N_("Information");
constexpr const char* kBestaetigungTitel = N_("Bestätigung");
const QString kScanOrdnerLeer = QStringLiteral("-");

}  // namespace

QWidget* QtBenutzer::Elternfenster() {
  // Over the dialog that is open, else over the wizard's window, so that a box never
  // opens apart from the window it speaks about.
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* fenster = Seitenfenster::Sichtbares()) return fenster;
  return QApplication::activeWindow();
}

void QtBenutzer::Warnung(std::string_view text) {
  QMessageBox::warning(Elternfenster(), Text(_(kWarnungTitel)), Text(text), QMessageBox::Ok);
}

void QtBenutzer::Information(std::string_view text) {
  QMessageBox::information(Elternfenster(), Text(_(kInformationTitel)), Text(text), QMessageBox::Ok);
}

void QtBenutzer::Hinweis(std::string_view text) {
  QToolTip::showText(QCursor::pos(), Text(text), Elternfenster());
}

bool QtBenutzer::Bestaetigung(std::string_view text) {
  return Frage(text, false) == wizard::Antwort::Ja;
}

wizard::Antwort QtBenutzer::Frage(std::string_view text, bool mitAbbrechen) {
  QMessageBox box(QMessageBox::Question, Text(_(kBestaetigungTitel)), Text(text), QMessageBox::NoButton,
                  Elternfenster());
  QPushButton* ja = box.addButton(Text(_("&Ja")), QMessageBox::YesRole);
  QPushButton* nein = box.addButton(Text(_("&Nein")), QMessageBox::NoRole);
  QPushButton* abbrechen =
      mitAbbrechen ? box.addButton(Text(_("&Abbrechen")), QMessageBox::RejectRole) : nullptr;
  box.setDefaultButton(ja);
  box.setEscapeButton(abbrechen != nullptr ? static_cast<QAbstractButton*>(abbrechen) : nein);
  box.exec();
  if (box.clickedButton() == ja) return wizard::Antwort::Ja;
  if (box.clickedButton() == nein) return wizard::Antwort::Nein;
  return mitAbbrechen ? wizard::Antwort::Abbrechen : wizard::Antwort::Nein;
}

std::string QtBenutzer::MediumNameErfragen() {
  if (mediumNameFrage) return mediumNameFrage();
  return QInputDialog::getText(Elternfenster(), Text(_("Namen für das eingelegte Medium")),
                               Text(_("Bitte geben Sie einen Namen für das momentan eingelegte "
                                      "Medium ein:")))
      .toStdString();
}

void QtBenutzer::EreignisseVerarbeiten() {
  QCoreApplication::processEvents();
}

void QtBenutzer::ScanOrdnerLeeren() {
  if (scanOrdner) scanOrdner(kScanOrdnerLeer.toStdString());
}

void QtBenutzer::ScanOrdnerSetzen(std::string_view ordner) {
  if (scanOrdner) scanOrdner(ordner);
}

void QtBenutzer::ScanAnzahlSetzen(int32_t anzahl) {
  if (scanAnzahl) scanAnzahl(anzahl);
}

void QtBenutzer::FortschrittsZeilen(const std::vector<std::string>& zeilen) {
  if (fortschrittsZeilen) fortschrittsZeilen(zeilen);
}

void QtBenutzer::Fortschrittsbalken(int32_t position, int32_t maximum) {
  if (fortschrittsBalken) fortschrittsBalken(position, maximum);
}

Size QtBenutzer::Bildschirmgroesse() const {
  // The result is shown in the wizard's window, which grows into the room it has from
  // where it stands rather than jump elsewhere.
  if (const Seitenfenster* fenster = Seitenfenster::Sichtbares()) {
    const QSize raum = fenster->Raum();
    return Size{raum.width(), raum.height()};
  }
  const QScreen* bildschirm = QGuiApplication::primaryScreen();
  if (bildschirm == nullptr) return Benutzer::Bildschirmgroesse();
  const QRect verfuegbar = bildschirm->availableGeometry();
  return Size{verfuegbar.width(), verfuegbar.height()};
}

int32_t QtBenutzer::Farbtiefe() const {
  const QScreen* bildschirm = QGuiApplication::primaryScreen();
  return bildschirm != nullptr ? bildschirm->depth() : Benutzer::Farbtiefe();
}

}  // namespace tilvendo::ui
