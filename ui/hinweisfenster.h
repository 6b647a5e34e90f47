// The help popup: a borderless window with rounded corners in the tooltip colours that
// shows a page's help text and closes at the next click elsewhere. A text higher than the
// screen allows scrolls, with a scroll bar, the wheel and the arrow and page keys.
#pragma once

#include <QStringList>
#include <QWidget>
#include <string>
#include <vector>

class QFontMetrics;
class QScrollBar;

namespace tilvendo::ui {

class Hinweisfenster : public QWidget {
  Q_OBJECT

 public:
  Hinweisfenster();

  // Shows the wrapped lines in `rahmen` (screen coordinates) without blocking; lines that
  // do not fit its height scroll.
  void Zeigen(const QStringList& zeilen, const QString& titel, const QRect& rahmen, int nummer);
  const QStringList& Zeilen() const { return zeilen_; }
  // The height of one line in the popup's font.
  int ZeilenHoehe() const;
  int Nummer() const { return nummer_; }
  // The scroll bar, shown while the text is higher than the popup, and its width, which
  // the text leaves free then.
  QScrollBar* Rollbalken() const { return rollbalken_; }
  int RollbalkenBreite() const;

 signals:
  void geschlossen();

 protected:
  void paintEvent(QPaintEvent* ereignis) override;
  void hideEvent(QHideEvent* ereignis) override;
  void wheelEvent(QWheelEvent* ereignis) override;
  void keyPressEvent(QKeyEvent* ereignis) override;

 private:
  QScrollBar* rollbalken_ = nullptr;
  QStringList zeilen_;
  int nummer_ = 0;
};

// The help lines wrapped at word boundaries to `breite` pixels in the given font; an
// empty line stays an empty line, a word wider than the line stands alone.
QStringList HilfeUmbrechen(const std::vector<std::string>& zeilen, const QFontMetrics& metrik,
                           int breite);

}  // namespace tilvendo::ui
