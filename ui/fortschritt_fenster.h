// The small window shown while a picture is saved: always on top, without title-bar
// buttons, modal in the middle of the wizard's window (of the screen without one), with
// one line of text below its caption; for a save that can be stopped also a bar and a
// button that stops it.
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

  // Shows the window with the caption "Beginne mit Speicherung des Bildes ..." without
  // blocking, and paints it at once.
  void ShowSaveProgress();
  // Empties caption and text and closes the window.
  void HideSaveProgress();

  QLabel* Text() const { return text_; }

  // For a save that can be stopped (a poster written in bands): a bar of the work done
  // and a button "Abbrechen" that calls `abbrechen`; the window grows to hold them.
  // Before ShowSaveProgress.
  void AbbruchAnbieten(std::function<void()> abbrechen);
  // `fertig` of `gesamt` done: the bar and the text "12 % gespeichert".
  void FortschrittZeigen(int32_t fertig, int32_t gesamt);
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
  QLabel* text_ = nullptr;
  QProgressBar* balken_ = nullptr;
  QPushButton* abbrechen_ = nullptr;
  bool schliessenErlaubt_ = false;
};

}  // namespace tilvendo::ui
