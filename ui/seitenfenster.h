// The one window in which the wizard shows its pages. The page loop and the pages that open
// other pages put their page into it; the window keeps its place on the screen and its
// size, the largest page's or what the user resized it to, so the user follows one window
// through the steps and "weiter" stays under the mouse. A page that needs more room (the
// result of a large mosaic) grows it towards the screen's edges without moving it.
// Message boxes, file dialogs, the help popup and the save progress open over it while it
// stays in view.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

class QVBoxLayout;

namespace tilvendo::ui {

class Seite;

class Seitenfenster : public QWidget {
  Q_OBJECT

 public:
  Seitenfenster();
  ~Seitenfenster() override;

  // Shows `seite` (its FormShow runs). A page opened by another page lies over that page
  // until it closes; a page of the loop takes the place of the closed pages before it.
  // The first page opens in the middle of the screen; later ones keep the window's place.
  void Einsetzen(Seite* seite);

  // `seite` was closed. A page opened by another page gives the place back to the page
  // below it, as that one was; a page of the loop stays in view (under the end-of-program
  // question, say) until the next page takes its place.
  void Beendet(Seite* seite);

  // `seite` shows more or less than before (a group shown or hidden): the window takes
  // its new size if it is the page in view, keeping its place as far as the screen allows.
  void GroesseGeaendert(Seite* seite);

  // Takes all pages out and hides the window (the program ends).
  void Leeren();

  // The size the window starts from: the largest of the pages the loop shows, so that it
  // need not grow on the way through them.
  void GrundgroesseSetzen(const QSize& groesse);

  // The room the window may take from where it stands, inside its frame; the screen's
  // free area while it is not shown.
  QSize Raum() const;

  // The page in view, or null.
  Seite* AktuelleSeite() const;
  // The page in view while it waits for the user (shown by exec and not closed), or null.
  Seite* OffeneSeite() const;

  // The wizard's window while it is visible, or null.
  static Seitenfenster* Sichtbares();

 protected:
  // The close box acts on the page in view; the window itself goes only with the program.
  void closeEvent(QCloseEvent* ereignis) override;
  // A size the window did not give itself is the user's, and stays.
  void resizeEvent(QResizeEvent* ereignis) override;

 private:
  void Herausnehmen(Seite* seite);
  // Gives the window its size for `seite` (wizard::FensterGroesse), keeping its place as
  // far as the screen allows.
  void Anpassen(Seite* seite);
  void GroesseGeben(const QSize& groesse);

  QVBoxLayout* layout_ = nullptr;
  std::vector<QPointer<Seite>> stapel_;  // the pages in the window, the one in view last
  bool platziert_ = false;
  QSize groesse_;             // the window's size across the pages
  QSize gesetzt_;             // the size the window gave itself last
  bool vomBenutzer_ = false;  // the user resized the window
};

// The window that waits for the user now: the active modal dialog if there is one, else
// the page in the wizard's window that waits (for tools and tests that answer windows).
QWidget* WartendesFenster();

}  // namespace tilvendo::ui
