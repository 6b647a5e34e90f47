// nubo-tilvendo: the wizard.
#include <QApplication>
#include <string>
#include <vector>

#include "engine/auftrag.h"
#include "platform/atomic_file.h"
#include "platform/medien.h"
#include "ui/anwendung.h"
#include "ui/assistent.h"
#include "ui/qt_benutzer.h"

int main(int argc, char** argv) {
  using namespace tilvendo;
  IgnoreFileSizeSignal();
  QApplication anwendung(argc, argv);
  ui::AnwendungEinrichten();
  Startoptionen optionen;
  optionen.argumente.assign(argv + 1, argv + argc);
  ui::QtBenutzer benutzer;
  SystemMedien medien;
  ui::Assistent assistent(benutzer, medien, optionen);
  return assistent.Ausfuehren();
}
