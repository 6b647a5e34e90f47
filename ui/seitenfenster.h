// The one window in which the wizard shows its pages. The page loop and the pages that open
// other pages put their page into it; the window keeps its place on the screen and takes
// each page's size, so the user follows one window through the steps instead of a new
// window for every page. Message boxes, file dialogs, the help popup and the save
// progress open over it while it stays in view.
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

  // The page in view, or null.
  Seite* AktuelleSeite() const;
  // The page in view while it waits for the user (shown by exec and not closed), or null.
  Seite* OffeneSeite() const;

  // The wizard's window while it is visible, or null.
  static Seitenfenster* Sichtbares();

 protected:
  // The close box acts on the page in view; the window itself goes only with the program.
  void closeEvent(QCloseEvent* ereignis) override;

 private:
  void Herausnehmen(Seite* seite);
  // Takes the size of `seite`, keeping the window's place as far as the screen allows.
  void Anpassen(Seite* seite);

  QVBoxLayout* layout_ = nullptr;
  std::vector<QPointer<Seite>> stapel_;  // the pages in the window, the one in view last
  bool platziert_ = false;
};

// The window that waits for the user now: the active modal dialog if there is one, else
// the page in the wizard's window that waits (for tools and tests that answer windows).
QWidget* WartendesFenster();

}  // namespace tilvendo::ui
