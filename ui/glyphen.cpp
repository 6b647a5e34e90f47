#include "ui/glyphen.h"

namespace tilvendo::ui {
namespace {

constexpr const char* kGlyphenThema = "breeze";

}  // namespace

const char* Iconname(Glyphe glyphe) {
  switch (glyphe) {
    case Glyphe::Ende:
      return "application-exit";
    case Glyphe::weiter:
      return "go-next";
    case Glyphe::oeffnen:
      return "document-open";
    case Glyphe::schliessen:
      return "dialog-close";
    case Glyphe::neu:
      return "document-new";
    case Glyphe::hinzufuegen:
      return "list-add";
    case Glyphe::entfernen:
      return "list-remove";
    case Glyphe::starten:
      return "media-playback-start";
    case Glyphe::bearbeiten:
      return "document-edit";
    case Glyphe::HilfeDown:
      return "go-down";
    case Glyphe::HilfeUp:
      return "go-up";
    case Glyphe::HilfeAn:
      return "help-contents";
    case Glyphe::aktualisieren:
      return "view-refresh";
    case Glyphe::loeschen:
      return "edit-delete";
    case Glyphe::zurueck:
      return "go-previous";
    case Glyphe::Info:
      return "help-about";
    case Glyphe::OK:
      return "dialog-ok";
    case Glyphe::Haekchen:
      return "emblem-checked";
    case Glyphe::keinHaekchen:
      return "draw-rectangle";
    case Glyphe::Speichern2:
      return "document-save";
    case Glyphe::Abbrechen2:
      return "process-stop";
    case Glyphe::Vorschau:
      return "document-preview";
  }
  return "";
}

QIcon GlyphIcon(Glyphe glyphe) {
  return QIcon::fromTheme(QString::fromLatin1(Iconname(glyphe)));
}

void IconThemaEinrichten() {
  // Without a desktop (the offscreen platform) Qt looks for themes only in its resources.
  QStringList suchpfade = QIcon::themeSearchPaths();
  QString datenOrdner = qEnvironmentVariable("XDG_DATA_DIRS");
  if (datenOrdner.isEmpty()) datenOrdner = QStringLiteral("/usr/local/share:/usr/share");
  for (const QString& ordner : datenOrdner.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
    const QString icons = ordner + QStringLiteral("/icons");
    if (!suchpfade.contains(icons)) suchpfade.append(icons);
  }
  QIcon::setThemeSearchPaths(suchpfade);
  QIcon::setFallbackThemeName(QString::fromLatin1(kGlyphenThema));
  for (Glyphe glyphe : kAlleGlyphen) {
    if (!QIcon::hasThemeIcon(QString::fromLatin1(Iconname(glyphe)))) {
      QIcon::setThemeName(QString::fromLatin1(kGlyphenThema));
      return;
    }
  }
}

}  // namespace tilvendo::ui
