// Time from process start to the first page of the wizard painted, as the user waits for
// it. Start it without a display (QT_QPA_PLATFORM=offscreen) or on a real one; it prints
// the milliseconds and ends. The process start is read from the kernel, so the loading
// of the program and its libraries counts too.
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/auftrag.h"
#include "platform/medien.h"
#include "ui/anwendung.h"
#include "ui/assistent.h"
#include "ui/qt_benutzer.h"
#include "ui/seite.h"

namespace {

constexpr int kStartzeitFeld = 22;  // field of /proc/self/stat: start time in clock ticks

// Seconds since boot at which this process started, and now.
double ProzessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string inhalt((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The command name may hold blanks; the fields after it are counted from its ")".
  std::istringstream felder(inhalt.substr(inhalt.rfind(')') + 2));
  std::string feld;
  for (int i = 3; i <= kStartzeitFeld; ++i) felder >> feld;
  return std::stod(feld) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double SeitStart() {
  std::ifstream uptime("/proc/uptime");
  double sekunden = 0.0;
  uptime >> sekunden;
  return sekunden - ProzessStart();
}

class ErsterAnstrich : public QObject {
 public:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override {
    if (ereignis->type() == QEvent::Paint && !gemessen_) {
      gemessen_ = true;
      // Printed after this paint has finished.
      QTimer::singleShot(0, [] {
        std::printf("Erste Seite gezeichnet nach %.0f ms\n", SeitStart() * 1000.0);
        QCoreApplication::quit();
      });
    }
    return QObject::eventFilter(objekt, ereignis);
  }

 private:
  bool gemessen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  using namespace tilvendo;
  QApplication anwendung(argc, argv);
  ui::AnwendungEinrichten();
  ui::QtBenutzer benutzer;
  SystemMedien medien;
  ui::Assistent assistent(benutzer, medien, Startoptionen{});
  assistent.Vorbereiten();
  ui::Seite* seite = assistent.SeiteHolen(assistent.auftrag().AktSeite);
  ErsterAnstrich messung;
  seite->installEventFilter(&messung);
  seite->show();
  return QApplication::exec();
}
