#include "ui/anwendung.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/sprache.h"
#include "ui/glyphen.h"

// The resources live in a static library; the linker keeps them only when asked.
static void RessourcenLaden() {
  Q_INIT_RESOURCE(ressourcen);
}

namespace tilvendo::ui {

void AnwendungEinrichten() {
  RessourcenLaden();
  // After QApplication, which has set the locale from the environment: the program's
  // texts, its numbers and Qt's own dialogs then all speak the same language.
  const QLocale sprache(QString::fromStdString(SpracheEinrichten()));
  QLocale::setDefault(sprache);
  // Qt's texts for its own dialogs and buttons in that language (Qt itself speaks English);
  // without them Qt speaks English, which is no reason not to start.
  if (sprache.language() != QLocale::English) {
    auto* uebersetzung = new QTranslator(qApp);
    if (uebersetzung->load(sprache, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QCoreApplication::installTranslator(uebersetzung);
    }
  }
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  IconThemaEinrichten();
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/nubo-tilvendo.svg")));
  // Lets the desktop match the windows to the installed starter and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.NuboTilvendo"));
}

}  // namespace tilvendo::ui
