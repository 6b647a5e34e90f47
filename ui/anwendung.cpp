#include "ui/anwendung.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/glyphen.h"

// The resources live in a static library; the linker keeps them only when asked.
static void RessourcenLaden() {
  Q_INIT_RESOURCE(ressourcen);
}

namespace tilvendo::ui {

void AnwendungEinrichten() {
  RessourcenLaden();
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  // Qt's German texts for its own dialogs and buttons; without them Qt speaks English,
  // which is no reason not to start.
  auto* uebersetzung = new QTranslator(qApp);
  if (uebersetzung->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(uebersetzung);
  }
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  IconThemaEinrichten();
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/nubo-tilvendo.svg")));
  // Lets the desktop match the windows to the installed starter and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.NuboTilvendo"));
}

}  // namespace tilvendo::ui
