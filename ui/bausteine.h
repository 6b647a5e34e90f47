// Small pieces the windows share: the hourglass during long work, bold labels, texts
// from the core, and the fixed box of a picture preview.
#pragma once

#include <QCoreApplication>
#include <QLabel>
#include <QString>
#include <chrono>
#include <cstdint>
#include <future>
#include <string_view>

#include "ui/malfeld.h"

class QSpinBox;
class QWidget;

namespace tilvendo::ui {

// Shows the hourglass for as long as it lives.
class Sanduhr {
 public:
  Sanduhr();
  ~Sanduhr();
  Sanduhr(const Sanduhr&) = delete;
  Sanduhr& operator=(const Sanduhr&) = delete;
};

// How often the windows are painted while work runs beside them.
inline constexpr std::chrono::milliseconds kNebenherTakt{20};

// Runs `arbeit` on a thread of its own and keeps the windows painted meanwhile (before
// it starts, too, so what the page set to say it is busy shows at once). No input
// reaches the windows until it is done. Gives back its result or raises its exception.
// `arbeit` must not touch widgets nor what they paint.
template <typename Arbeit>
auto Nebenher(Arbeit&& arbeit) {
  auto ergebnis = std::async(std::launch::async, std::forward<Arbeit>(arbeit));
  do {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  } while (ergebnis.wait_for(kNebenherTakt) != std::future_status::ready);
  return ergebnis.get();
}

// A label in bold type.
QLabel* FettesLabel(const QString& text, QWidget* eltern);

// A spin box that is changed with its arrows only, never typed into.
void NurPfeile(QSpinBox* feld);

// Reads a spin box by the one rule of the wizard (`wizard::CheckSpinValue`) and writes
// the value it gives back into the box.
int32_t SpinWertLesen(QSpinBox* feld, bool allowBelow, int32_t low, int32_t replacement);

// A text of the core (UTF-8) for Qt.
QString Text(std::string_view text);

// A preview: a box of fixed size with a paint area in its top right corner, which the
// page sizes to the picture's proportions inside the box.
struct Vorschau {
  QWidget* box = nullptr;
  Malfeld* bild = nullptr;
};
Vorschau VorschauAnlegen(QWidget* eltern, int breite, int hoehe, Malfeld::Maler maler);

// One line of text, shortened in the middle where it is wider than the line ("/home/…/
// mosaik.jpg"), so that the start of a path and its file name stay readable; the whole
// text is its hint.
class KuerzendeZeile : public QLabel {
 public:
  explicit KuerzendeZeile(QWidget* eltern);
  void TextSetzen(const QString& text);
  const QString& GanzerText() const { return ganz_; }
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* ereignis) override;

 private:
  void Kuerzen();
  QString ganz_;
};

}  // namespace tilvendo::ui
