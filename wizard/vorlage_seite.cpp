#include "wizard/vorlage_seite.h"

#include <cstddef>
#include <string_view>

#include "engine/vorlagenzuschnitt.h"
#include "pictures/bild_einpassen.h"
#include "pictures/bildart.h"
#include "platform/fit_to_box.h"
#include "platform/paths.h"
#include "platform/translate.h"

namespace tilvendo::wizard {
namespace {

constexpr const char* kAlleBildtypen = N_("alle unterstützten Grafikdateien (");
constexpr std::string_view kAlleTrenner = ", ";
// Qt's dialog reads an entry's patterns from its last parentheses, separated by blanks,
// and separates the entries by ";;". The dialog hides that last part, so every entry
// shows exactly its name.
constexpr std::string_view kMusterTrenner = " ";
constexpr std::string_view kEintragTrenner = ";;";

// "*.bmp" + trenner + "*.jpg" + trenner + "*.jpeg".
std::string AlleMuster(std::string_view trenner) {
  std::string muster;
  for (size_t i = 0; i < kBildEndungen.size(); ++i) {
    if (i > 0) muster += trenner;
    muster += '*';
    muster += kBildEndungen[i].endung;
  }
  return muster;
}

}  // namespace

std::string VorlagenFilter() {
  std::string filter(_(kAlleBildtypen));
  filter += AlleMuster(kAlleTrenner);
  filter += ") (";
  filter += AlleMuster(kMusterTrenner);
  filter += ')';
  for (const Bildendung& endung : kBildEndungen) {
    filter += kEintragTrenner;
    filter += _(endung.typname.data());
    filter += " (*";
    filter += endung.endung;
    filter += ')';
  }
  return filter;
}

std::string DialogStartordner(const std::string& vorlagePfad, const std::string& bilderOrdner,
                              const std::string& heimOrdner) {
  for (const std::string* ordner : {&vorlagePfad, &bilderOrdner}) {
    if (!ordner->empty() && FolderExists(*ordner)) return *ordner;
  }
  return heimOrdner;
}

std::string PixelText(int32_t pixel) {
  return Format(_("{} Pixel"), pixel);
}

Size VorschauGroesse(int32_t breite, int32_t hoehe) {
  return FitToBox(breite, hoehe, kVorschauBreite, kVorschauHoehe);
}

void VorschauErstellen(const Bitmap& vorlage, Bitmap& vorschau) {
  const Size groesse = VorschauGroesse(vorlage.width(), vorlage.height());
  if (vorlage.empty() || groesse.width < 1 || groesse.height < 1) {
    vorschau = Bitmap();
    return;
  }
  // The resampler covers every pixel of the rectangle.
  vorschau = Bitmap::Uninitialized(groesse.width, groesse.height, kPixelformat);
  BildEinpassen(vorschau, Rect{0, 0, groesse.width, groesse.height}, vorlage);
}

Vorlagenausgang VorlageWaehlen(Auftrag& auftrag, const std::string& pfad) {
  const Vorlagenausgang ausgang = VorlageLaden(auftrag, pfad);
  if (ausgang == Vorlagenausgang::Geladen) {
    VorschauErstellen(GelesenesBild(auftrag), auftrag.VorschauBild);
  }
  return ausgang;
}

bool VorlageBereit(const Vorlage& vorlage) {
  const int64_t flaeche = static_cast<int64_t>(vorlage.VorlageBreite) * vorlage.VorlageHoehe;
  return flaeche > 0 && FileExists(vorlage.VorlagePfad + vorlage.VorlageDatei);
}

}  // namespace tilvendo::wizard
