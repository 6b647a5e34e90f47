#include "wizard/album_editor.h"

#include <algorithm>

#include "albums/alben_zustand.h"
#include "albums/album_bearbeitung.h"
#include "albums/katalog.h"
#include "platform/gross_klein.h"
#include "platform/translate.h"

namespace tilvendo::wizard {
namespace {

bool Enthaelt(const std::vector<std::string>& liste, const std::string& wert) {
  return std::find(liste.begin(), liste.end(), wert) != liste.end();
}

bool HatSteuerzeichen(std::string_view text) {
  constexpr unsigned char kErstesDruckbares = 0x20;
  constexpr unsigned char kLoeschen = 0x7F;
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < kErstesDruckbares || byte == kLoeschen;
  });
}

bool IstLeerraum(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

bool SchliessenMoeglich(const AlbenKontext& kontext, std::string_view eigenerName,
                        std::string_view text) {
  return AlbumnameFrei(kontext, kAlleAlbenName, kGewaehlteAlbenName, text, eigenerName);
}

std::string NamensHinweis(const AlbenKontext& kontext, std::string_view eigenerName,
                          std::string_view text) {
  if (SchliessenMoeglich(kontext, eigenerName, text)) return {};
  // The reasons in the order the catalogue's rules test them.
  if (text.empty()) return _(kMeldungAlbumnameLeer);
  if (GleichOhneGrossKlein(text, kAlleAlbenName) ||
      GleichOhneGrossKlein(text, kGewaehlteAlbenName) ||
      GleichOhneGrossKlein(text, _(kAlleAlbenName)) ||
      GleichOhneGrossKlein(text, _(kGewaehlteAlbenName)) ||
      GleichOhneGrossKlein(text, kAlbenSektion)) {
    return _("Diesen Namen verwendet das Programm selbst.");
  }
  if (text.find('=') != std::string_view::npos) return _("Der Name darf kein „=“ enthalten.");
  if (text.find(']') != std::string_view::npos) return _("Der Name darf kein „]“ enthalten.");
  if (text.front() == '[') return _("Der Name darf nicht mit „[“ beginnen.");
  if (HatSteuerzeichen(text)) return _("Der Name darf keine Steuerzeichen enthalten.");
  if (IstLeerraum(text.front()) || IstLeerraum(text.back())) {
    return _("Der Name darf nicht mit einem Leerzeichen beginnen oder enden.");
  }
  return _("Ein anderes Album heißt schon so.");
}

std::string AktVerzText(std::string_view ordner) {
  return ordner.empty() ? std::string(kKeinOrdner) : std::string(ordner);
}

bool AblegenMoeglich(const TGalerieGlobal& album, std::string_view ordner) {
  return !ordner.empty() && !OrdnerGewaehlt(album.Verzeichnisse, ordner);
}

size_t AuswahlNachHinzufuegen(std::optional<size_t> vorher) {
  return vorher.value_or(0);
}

std::optional<size_t> AuswahlNachEntfernen(size_t entfernt, size_t verbleibend) {
  if (verbleibend == 0) return std::nullopt;
  return std::min(entfernt == 0 ? 0 : entfernt - 1, verbleibend - 1);
}

std::vector<Laufwerk> LaufwerkeAuflisten(const Medien& medien, const Volumenname& volumenname) {
  std::vector<Laufwerk> laufwerke;
  std::vector<std::string> gesehen;
  for (const std::string& punkt : medien.Einhaengepunkte()) {
    if (Enthaelt(gesehen, punkt)) continue;
    gesehen.push_back(punkt);
    if (medien.Laufwerksklasse(punkt) == kLaufwerksklasseUngeeignet) continue;
    const std::string name = volumenname ? volumenname(punkt) : std::string();
    laufwerke.push_back({punkt, name.empty() ? punkt : name + " (" + punkt + ")"});
  }
  return laufwerke;
}

bool LaufwerkLesbar(const Medien& medien, const std::string& einhaengepunkt) {
  return !medien.Datentraegerkennung(einhaengepunkt).empty();
}

std::string HeimLaufwerk(const Medien& medien, const std::string& heimordner) {
  std::string punkt = medien.Einhaengepunkt(heimordner);
  return punkt.empty() ? std::string("/") : punkt;
}

std::optional<std::string> LaufwerkNachAenderung(const Medien& medien,
                                                 const std::vector<std::string>& vorher,
                                                 const std::vector<std::string>& nachher,
                                                 const std::string& gewaehlt,
                                                 const std::string& heim) {
  // Only media that just arrived draw the tree to them: the mount table also changes
  // for things the user did not insert (system services, containers).
  for (const std::string& punkt : nachher) {
    if (Enthaelt(vorher, punkt)) continue;
    if (medien.Laufwerksklasse(punkt) == kLaufwerksklasseWechselmedium &&
        LaufwerkLesbar(medien, punkt)) {
      return punkt;
    }
  }
  if (!LaufwerkLesbar(medien, gewaehlt) && gewaehlt != heim) return heim;
  return std::nullopt;
}

}  // namespace tilvendo::wizard
