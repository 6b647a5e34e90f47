// The small window shown while a picture is saved: always on top, without title-bar
// buttons, modal in the middle of the wizard's window (of the screen without one), with
// one line of text below its caption.
#pragma once

#include <QDialog>

class QLabel;

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

 protected:
  // The window cannot be closed by the user while a save is running.
  void closeEvent(QCloseEvent* ereignis) override;
  void keyPressEvent(QKeyEvent* ereignis) override;

 private:
  QLabel* text_ = nullptr;
  bool schliessenErlaubt_ = false;
};

}  // namespace tilvendo::ui
