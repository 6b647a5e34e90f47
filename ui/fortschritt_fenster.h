// The small window shown while a picture is saved: always on top, without title-bar
// buttons, modal in the middle of the wizard's window (of the screen without one), with
// the message in its body, wrapped to be read whole; for a save that can be stopped also
// a bar, the share saved and a button that stops it.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tilvendo::ui {

class FortschrittFenster : public QDialog {
  Q_OBJECT

 public:
  explicit FortschrittFenster(QWidget* parent = nullptr);

  // Shows the window with the message "Beginne mit Speicherung des Bildes ..." without
  // blocking, and paints it at once.
  void ShowSaveProgress();
  // Empties caption and message and closes the window.
  void HideSaveProgress();

  QLabel* Text() const { return text_; }
  // "12 % gespeichert" beside the button of a save that can be stopped.
  QLabel* Anteil() const { return anteil_; }

  // For a save that can be stopped (a poster written in bands): a bar of the work done
  // and a button "Abbrechen" that calls `abbrechen`; the window grows to hold them.
  // Before ShowSaveProgress.
  void AbbruchAnbieten(std::function<void()> abbrechen);
  // `fertig` of `gesamt` done: the bar and the share "12 % gespeichert", always both.
  void FortschrittZeigen(int32_t fertig, int32_t gesamt);
  // The save can no longer be stopped: the button takes no more clicks.
  void AbbruchSperren();
  QProgressBar* Balken() const { return balken_; }
  QPushButton* AbbrechenKnopf() const { return abbrechen_; }

 signals:
  // The bar moved (for whoever watches the save).
  void FortschrittGezeigt(int32_t fertig, int32_t gesamt);

 protected:
  // The window cannot be closed by the user while a save is running.
  void closeEvent(QCloseEvent* ereignis) override;
  void keyPressEvent(QKeyEvent* ereignis) override;

 private:
  // Places message, bar, share and button, and fits the window's height to them.
  void Anordnen();

  QLabel* text_ = nullptr;
  QLabel* anteil_ = nullptr;
  QProgressBar* balken_ = nullptr;
  QPushButton* abbrechen_ = nullptr;
  bool schliessenErlaubt_ = false;
};

}  // namespace tilvendo::ui
