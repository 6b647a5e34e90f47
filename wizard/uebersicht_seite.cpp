#include "wizard/uebersicht_seite.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fortschritt.h"
#include "engine/methodenparameter.h"
#include "engine/vorbereitung.h"
#include "platform/fit_to_box.h"
#include "platform/translate.h"
#include "wizard/druckformat.h"
#include "wizard/seiten.h"

namespace tilvendo::wizard {
namespace {

// The ways beyond the original method that the job uses, in the page's order.
std::string VerfahrenText(const Verfahren& v) {
  std::vector<std::string> teile;
  if (v.Aufrichten) teile.emplace_back(_("aufrecht gestellt"));
  if (v.SchnellLesen) teile.emplace_back(_("schnell eingelesen"));
  if (v.Wahrnehmung) teile.emplace_back(_("Farben wie das Auge"));
  if (v.Zuschneiden) teile.emplace_back(_("zugeschnitten"));
  if (v.Farbangleich > 0) teile.push_back(Format(_("Farbangleich {} %"), v.Farbangleich));
  if (v.MaxVerwendungen > 0) {
    teile.push_back(Format(_("höchstens {}-mal je Foto"), v.MaxVerwendungen));
  }
  if (v.JedesFoto) teile.emplace_back(_("jedes Foto mindestens einmal"));
  if (teile.empty()) return _("wie ursprünglich");
  std::string text = teile.front();
  for (size_t i = 1; i < teile.size(); ++i) text += ", " + teile[i];
  return text;
}

enum Eintrag : int {
  kVorlage = 0,
  kZielgroesse = 1,
  kKachelung = 2,
  kQuellbilder = 3,
  kErweitert = 4,
};

struct Formanalysestufe {
  uint8_t stufe;
  std::string_view text;
};
constexpr std::array<Formanalysestufe, 5> kFormanalyseTexte{{
    {1, N_("keine Formanalyse")},
    {3, N_("grobe Formanalyse")},
    {5, N_("normale Formanalyse")},
    {7, N_("feine Formanalyse")},
    {10, N_("detailierte Formanalyse")},
}};

// A method or pattern value outside its list counts as the first entry.
std::string_view Listentext(const std::array<std::string_view, 4>& liste, uint8_t wert) {
  return _((wert < liste.size() ? liste[wert] : liste[0]).data());
}

std::string InAnfuehrung(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

}  // namespace

std::vector<std::string> UebersichtEintraege(const Auftrag& auftrag) {
  std::vector<std::string> eintraege;
  const int anzahl = auftrag.Ergebnis ? kEintragLetzteBerechnung + 1 : kEintragLetzteBerechnung;
  for (int i = 0; i < anzahl; ++i) eintraege.push_back(PageTitle(EintragsSeite(i)));
  return eintraege;
}

int EintragWiederfinden(int gemerkt, int anzahl) {
  return gemerkt >= 0 && gemerkt < anzahl ? gemerkt : 0;
}

uint16_t EintragsSeite(int eintrag) {
  return static_cast<uint16_t>(eintrag + 1);
}

Eintragsinfo EintragsInfo(const Auftrag& auftrag, int eintrag) {
  const Einstellungen& e = auftrag.einstellungen;
  const Vorlage& v = auftrag.vorlage;
  Eintragsinfo info;
  std::vector<std::string>& z = info.InfoFeld;
  switch (eintrag) {
    case kVorlage: {
      info.InfoT = _("Vorlage:");
      const Size bild = GanzesBild(v);
      z = {_("Bilddatei:"), v.VorlagePfad + v.VorlageDatei,
           Format(_("Vorlagengröße: {} x {} Pixel"), bild.width, bild.height)};
      if (!v.Ausschnitt.empty()) {
        z.push_back(Format(_("auf die Form des Papiers zugeschnitten: {} x {} Pixel"),
                           v.VorlageBreite, v.VorlageHoehe));
      }
      break;
    }
    case kZielgroesse: {
      info.InfoT = _("Zielbildgröße:");
      const Size mosaik{KachelBreite(e) * e.KachelnX, KachelHoehe(e) * e.KachelnY};
      // The mosaic made of whole tiles of the chosen size, as the run will compose it.
      z = {Format(_("absolute Größe: {} x {} Pixel"), mosaik.width, mosaik.height),
           Format(_("das ist eine Skalierung auf etwa {} % der Vorlagenbreite bzw. "), e.ZoomX),
           Format(_("auf {} % der Vorlagenhöhe"), e.ZoomY)};
      if (e.Grossformat && e.Druckaufloesung > 0) {
        // On a paper the file's resolution makes the whole tiles print at the size chosen,
        // as the size page says.
        const Size druck = e.Papier.Gewaehlt() ? Size{e.ZielBreite, e.ZielHoehe} : mosaik;
        z.push_back(_("Druckgröße: ") +
                    DruckgroessenText(druck.width, druck.height, e.Druckaufloesung));
      }
      break;
    }
    case kKachelung: {
      info.InfoT = _("Kachelung:");
      const int64_t gesamt = static_cast<int64_t>(e.KachelnX) * e.KachelnY;
      z = {Format(_("Breite der Kacheln: {} Pixel"), KachelBreite(e)),
           Format(_("Höhe der Kacheln: {} Pixel"), KachelHoehe(e)),
           Format(_("{} x {} Kacheln, {} insgesamt"), e.KachelnX, e.KachelnY, gesamt)};
      for (const Formanalysestufe& stufe : kFormanalyseTexte) {
        if (stufe.stufe == auftrag.analyse.Formanalyse) z.emplace_back(_(stufe.text.data()));
      }
      break;
    }
    case kQuellbilder: {
      info.InfoT = _("Quellbilder:");
      // The bounds the start checks.
      const Bilderbedarf bedarf = BilderbedarfErmitteln(e);
      z = {Format(_("Anzahl an Bildern insgesamt: {}"), auftrag.BilderAnzahl.gesamt),
           Format(_("für die Berechnung mindestens benötigte Bilder: {}"), bedarf.mindestens)};
      if (bedarf.hoechstens != kKeineObergrenze) {
        z.push_back(Format(_("höchstens verwendbare Bilder (jedes Foto mindestens einmal): {}"),
                           bedarf.hoechstens));
      }
      break;
    }
    case kErweitert:
      info.InfoT = _("erweiterte Einstellungen:");
      z = {Format(_("Berechnungsmethode {}"),
                  InAnfuehrung(Listentext(kBerechnungsarten, e.Berechnungsart))),
           Format(_("Umgang mit Musterbildung {}"),
                  InAnfuehrung(Listentext(kMusterbildungen, e.Musterbildung))),
           Format(_("Mindestabstand zwischen zwei identischen Bildern: {} Kacheln"), e.minAbstand),
           _("Lesen und Vergleichen der Fotos: ") + VerfahrenText(e.verfahren)};
      break;
    case kEintragLetzteBerechnung: {
      info.InfoT = _("Informationen zur letzten Berechnung:");
      constexpr std::array<std::string_view, kLaufzeitenAnzahl> kDauern = {
          N_("Einlesen der Bilddateien: "), N_("Vorbereiten der Vorlage: "),
          N_("Berechnen des Mosaiks: "), N_("Zusammenstellen des Mosaiks: "), N_("Gesamtdauer: ")};
      for (size_t i = 0; i < kDauern.size(); ++i) {
        z.push_back(_(kDauern[i].data()) + DauerText(auftrag.Laufzeiten[i]));
      }
      break;
    }
    default:
      break;
  }
  return info;
}

Vorschauart VorschauArt(int eintrag) {
  switch (eintrag) {
    case kVorlage:
    case kZielgroesse:
      return Vorschauart::Vorlage;
    case kKachelung:
      return Vorschauart::Raster;
    case kErweitert:
      return Vorschauart::Abstandsregel;
    case kEintragLetzteBerechnung:
      return Vorschauart::Ergebnis;
    default:
      return Vorschauart::Keine;
  }
}

Size VorschauGroesse(const Auftrag& auftrag, int eintrag) {
  if (VorschauArt(eintrag) == Vorschauart::Keine) return {};
  const bool vorlage = eintrag == kVorlage;
  const Size bild = GanzesBild(auftrag.vorlage);
  const int32_t w = vorlage ? bild.width : auftrag.einstellungen.ZielBreite;
  const int32_t h = vorlage ? bild.height : auftrag.einstellungen.ZielHoehe;
  // Without proportions (no template yet) there is nothing to fit.
  if (w <= 0 || h <= 0) return {};
  return FitToBox(w, h, kVorschauBoxBreite, kVorschauBoxHoehe);
}

}  // namespace tilvendo::wizard
