// What the tests of the wizard's windows share: a user that answers from a script
// instead of opening message boxes, a fresh album folder, and a shell with its job.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "albums/alben_helfer.h"
#include "platform/medien.h"
#include "support/temp_folder.h"
#include "ui/assistent.h"
#include "ui/qt_benutzer.h"
#include "ui/seite.h"
#include "ui/seitenfenster.h"

namespace tilvendo::testing {

class SkriptBenutzer : public ui::QtBenutzer {
 public:
  void Warnung(std::string_view text) override { warnungen.emplace_back(text); }
  void Information(std::string_view text) override { informationen.emplace_back(text); }
  wizard::Antwort Frage(std::string_view text, bool mitAbbrechen) override;
  std::string MediumNameErfragen() override;
  int32_t Farbtiefe() const override { return farbtiefe; }

  std::vector<std::string> warnungen;
  std::vector<std::string> informationen;
  std::vector<std::string> fragen;
  std::deque<wizard::Antwort> antworten;                // "Nein" when empty
  std::function<void(std::string_view text)> beiFrage;  // runs as a question is asked
  std::deque<std::string> mediennamen;
  int32_t farbtiefe = 32;  // bits per pixel of the screen
};

// A shell over a fresh album folder, with the job defaults set (as after start-up).
class UiTestUmgebung {
 public:
  explicit UiTestUmgebung(const Medien* medien = nullptr);

  TempFolder ordner;  // alben/ for the album files; the rest is the test's
  SkriptBenutzer benutzer;
  ui::Assistent& assistent() { return *assistent_; }
  Auftrag& auftrag() { return assistent_->auftrag(); }

 private:
  SystemMedien systemMedien_;
  std::unique_ptr<ui::Assistent> assistent_;
};

// Runs `aktion` as soon as a window waits for the user (the page or box that the code
// after this call opens with exec(); a page is passed itself, not the wizard's window
// it is shown in). Fails the test when none comes.
void WennModal(std::function<void(QWidget* fenster)> aktion);

constexpr int kFensterWarteMs = 30000;
constexpr int kFensterTaktMs = 5;

// Runs `aktion` once the window that waits for the user (a dialog, or the page in the
// wizard's window) is a visible `T` that `passt` accepts; other modal windows (the page a
// run keeps open meanwhile) are waited out. Fails the test when none comes.
template <typename T>
void WennFenster(std::function<bool(T*)> passt, std::function<void(T*)> aktion) {
  auto gewartet = std::make_shared<int>(0);
  auto* takt = new QTimer(qApp);
  const QString test = QString::fromLatin1(QTest::currentTestFunction());
  QObject::connect(takt, &QTimer::timeout, takt, [=] {
    // A test that failed before its window came must not act on the next test's windows.
    if (QString::fromLatin1(QTest::currentTestFunction()) != test) {
      takt->stop();
      takt->deleteLater();
      return;
    }
    auto* fenster = qobject_cast<T*>(ui::WartendesFenster());
    if (fenster != nullptr && fenster->isVisible() && passt(fenster)) {
      takt->stop();
      takt->deleteLater();
      aktion(fenster);
      // A failed check must not leave the test waiting in a modal loop for ever.
      if (QTest::currentTestFailed()) fenster->close();
      return;
    }
    *gewartet += kFensterTaktMs;
    if (*gewartet > kFensterWarteMs) {
      takt->stop();
      takt->deleteLater();
      QFAIL("the expected window did not appear");
    }
  });
  takt->start(kFensterTaktMs);
}

// The same for the page numbered `nummer`, shown as a `S`.
template <typename S>
void WennSeite(int nummer, std::function<void(S*)> aktion) {
  WennFenster<S>([nummer](S* seite) { return seite->Nummer() == nummer; }, std::move(aktion));
}

// Waits for the file dialog, runs `vorher` on it and its name field (to see what it
// offers), then types `datei`'s folder and name into it and confirms it.
void DateiImDialog(const std::string& datei,
                   std::function<void(QFileDialog* dialog, QLineEdit* name)> vorher = {});

// A template with four coloured quarters, and kSammlungFotos photos of different colours
// in an album that is chosen for the job; the template is loaded.
constexpr int kSammlungFotos = 40;
struct Fotosammlung {
  FalscheMedien medien;
  std::unique_ptr<UiTestUmgebung> umgebung;
  std::string vorlage;

  Fotosammlung();
};

// Clicks a radio button or check box on its mark, where it takes a click however wide
// the window lays it out.
void AufDieMarke(QAbstractButton* knopf);

// `pfad` without its trailing "/" (the root stays "/").
std::string OhneStrich(std::string pfad);

// `anzahl` empty ".jpg" files in `ordner`, which is made first.
void LeereBilder(const std::string& ordner, int anzahl);

// The page's control named `name`; a test that names one the page lacks stops here.
template <typename T>
T* Element(QWidget* seite, const char* name) {
  T* element = seite->findChild<T*>(QString::fromLatin1(name));
  if (element == nullptr) qFatal("%s fehlt", name);
  return element;
}
inline int Wert(QWidget* seite, const char* name) { return Element<QSpinBox>(seite, name)->value(); }
inline QString Text(QWidget* seite, const char* name) { return Element<QLabel>(seite, name)->text(); }

// "weiter", which must be enabled.
void Weiter(ui::Seite* seite);

// Replaces the box's text by `text` as typed; `bestaetigen` (Enter, Tab) follows unless
// it is Qt::Key_unknown.
void Tippen(QSpinBox* feld, const QString& text, Qt::Key bestaetigen = Qt::Key_Return);

// Sets up German, the glyph theme and Qt's own dialogs, as the program does.
void UiTestsEinrichten();

}  // namespace tilvendo::testing
