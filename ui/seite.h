// What every wizard page has: the window caption, a frame titled with the page title
// around its controls, and a row of buttons below, with the common buttons "Info",
// "Hilfe", "weiter" and "Ende" that behave the same on every page.
//
// A page is shown modally (`exec`) in the wizard's one window (Seitenfenster), by the
// shell's page loop or by the page that opens it. It never opens the next page itself:
// its navigation buttons set the job's `AktSeite` and close it. Closing the window any
// other way counts as "Ende" (Escape is ignored), so a page can never be left without the
// loop knowing where to go.
#pragma once

#include <QWidget>
#include <cstdint>

#include "ui/glyphen.h"
#include "wizard/seiten.h"

class QAbstractButton;
class QEventLoop;
class QGroupBox;
class QHBoxLayout;
class QPushButton;

namespace tilvendo {
struct Auftrag;
}

namespace tilvendo::ui {

class Assistent;

class Seite : public QWidget {
  Q_OBJECT

 public:
  // How a page was closed: with "OK" (a navigation button, "Speichern") or not.
  enum Ergebnis { Rejected = 0, Accepted = 1 };

  Seite(Assistent& assistent, wizard::Seite seite, QWidget* parent = nullptr);

  int Nummer() const { return wizard::Nummer(seite_); }
  Assistent& assistent() const { return assistent_; }
  Auftrag& auftrag() const;

  // The common buttons (null on pages that do not have them).
  QPushButton* InfoKnopf() const { return info_; }
  QPushButton* HilfeKnopf() const { return hilfe_; }
  QPushButton* WeiterKnopf() const { return weiter_; }
  QPushButton* EndeKnopf() const { return ende_; }

  // The page "weiter" leads to; its hint shows that page's title.
  uint16_t WeiterZiel() const { return weiterZiel_; }

  // Shows the page in the wizard's window and waits until it is closed; returns how.
  int exec();
  // Whether the page is shown by `exec` and not closed yet.
  bool Offen() const { return offen_; }
  int result() const { return ergebnis_; }

  // Pages opened by another page (not by the loop) close without ending the program, and
  // lie over the page that opened them until they close.
  bool VonSeiteGeoeffnet() const { return schliessenOhneEnde_; }

  // The size the wizard's window takes for this page: the wished size (never smaller than
  // the controls need), else what the page's layout suggests.
  virtual QSize Wunschgroesse() const;

  // The next show of the page brings it back as it was, without running FormShow (the
  // window gives the place back to it after a page that lay over it).
  void FormShowAussetzen() { formShowAussetzen_ = true; }

 protected:
  // The frame, titled with the page title, that holds the page's own controls.
  QGroupBox* Gruppe() const { return gruppe_; }
  // The row of buttons below the frame.
  QHBoxLayout* KnopfLeiste() const { return knopfLeiste_; }

  // A button with a glyph, appended to the button row.
  QPushButton* KnopfAnlegen(const QString& text, Glyphe glyphe);
  // Info and Hilfe on the left, weiter and Ende on the right.
  void StandardKnoepfeAnlegen();

  void WeiterZielSetzen(uint16_t ziel);

  // Closes the page; the loop shows page `ziel` next.
  void GeheZu(uint16_t ziel);
  // Closes the page and asks the loop to end the program.
  void Beenden();
  void HilfeZeigen(QAbstractButton* knopf);
  void InfoZeigen();

  // The size of the page's window (see Wunschgroesse); a page shown on its own takes it
  // at once.
  void GroesseWuenschen(const QSize& groesse);
  // The page shows more or less than before: its window takes the page's size anew.
  void GroesseGeaendert();

  // Run every time the page is shown, and when it closes (however it is closed).
  virtual void FormShow() {}
  virtual void FormClose() {}

  // Pages opened by another page (not by the loop) close without ending the program.
  void SchliessenOhneEnde(bool ja) { schliessenOhneEnde_ = ja; }

  void showEvent(QShowEvent* ereignis) override;
  void keyPressEvent(QKeyEvent* ereignis) override;
  void closeEvent(QCloseEvent* ereignis) override;

 public slots:
  // Closes the page with result `ergebnis`.
  virtual void done(int ergebnis);
  void accept() { done(Accepted); }
  void reject() { done(Rejected); }

 private:
  Assistent& assistent_;
  wizard::Seite seite_;
  QGroupBox* gruppe_ = nullptr;
  QHBoxLayout* knopfLeiste_ = nullptr;
  QPushButton* info_ = nullptr;
  QPushButton* hilfe_ = nullptr;
  QPushButton* weiter_ = nullptr;
  QPushButton* ende_ = nullptr;
  uint16_t weiterZiel_ = 0;
  QSize wunschgroesse_;
  QEventLoop* schleife_ = nullptr;  // exec's, while it waits
  int ergebnis_ = Rejected;
  bool offen_ = false;
  bool formShowAussetzen_ = false;
  bool schliessenOhneEnde_ = false;
  bool navigiert_ = false;
};

// The window caption of every page: "Nubo Tilvendo 1.9".
QString ProgrammTitel();

}  // namespace tilvendo::ui
