#include "wizard/uebersicht_seite.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fortschritt.h"
#include "engine/methodenparameter.h"
#include "platform/fit_to_box.h"
#include "wizard/druckformat.h"
#include "wizard/seiten.h"

namespace tilvendo::wizard {
namespace {

// The ways beyond the original method that the job uses, in the page's order.
std::string VerfahrenText(const Verfahren& v) {
  std::vector<std::string> teile;
  if (v.Aufrichten) teile.emplace_back("aufrecht gestellt");
  if (v.SchnellLesen) teile.emplace_back("schnell eingelesen");
  if (v.Wahrnehmung) teile.emplace_back("Farben wie das Auge");
  if (v.Zuschneiden) teile.emplace_back("zugeschnitten");
  if (v.Farbangleich > 0) teile.push_back("Farbangleich " + std::to_string(v.Farbangleich) + " %");
  if (v.MaxVerwendungen > 0) {
    teile.push_back("höchstens " + std::to_string(v.MaxVerwendungen) + "-mal je Foto");
  }
  if (v.JedesFoto) teile.emplace_back("jedes Foto mindestens einmal");
  if (teile.empty()) return "wie ursprünglich";
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
    {1, "keine Formanalyse"},
    {3, "grobe Formanalyse"},
    {5, "normale Formanalyse"},
    {7, "feine Formanalyse"},
    {10, "detailierte Formanalyse"},
}};

std::string Zahl(int64_t n) {
  return std::to_string(n);
}

// A method or pattern value outside its list counts as the first entry.
std::string_view Listentext(const std::array<std::string_view, 4>& liste, uint8_t wert) {
  return wert < liste.size() ? liste[wert] : liste[0];
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
    case kVorlage:
      info.InfoT = "Vorlage:";
      z = {"Bilddatei:", v.VorlagePfad + v.VorlageDatei,
           "Vorlagengröße: " + Zahl(v.VorlageBreite) + " x " + Zahl(v.VorlageHoehe) + " Pixel"};
      break;
    case kZielgroesse:
      info.InfoT = "Zielbildgröße:";
      z = {"absolute Größe: " + Zahl(e.ZielBreite) + " x " + Zahl(e.ZielHoehe) + " Pixel",
           "das ist eine Skalierung auf etwa " + Zahl(e.ZoomX) + " % der Vorlagenbreite bzw. ",
           "auf " + Zahl(e.ZoomY) + " % der Vorlagenhöhe"};
      if (e.Grossformat && e.Druckaufloesung > 0) {
        z.push_back("Druckgröße: " +
                    DruckgroessenText(e.ZielBreite, e.ZielHoehe, e.Druckaufloesung));
      }
      break;
    case kKachelung: {
      info.InfoT = "Kachelung:";
      const int64_t gesamt = static_cast<int64_t>(e.KachelnX) * e.KachelnY;
      z = {
          "Breite der Kacheln: " + Zahl(KachelBreite(e)) + " Pixel",
          "Höhe der Kacheln: " + Zahl(KachelHoehe(e)) + " Pixel",
          Zahl(e.KachelnX) + " x " + Zahl(e.KachelnY) + " Kacheln, " + Zahl(gesamt) + " insgesamt"};
      for (const Formanalysestufe& stufe : kFormanalyseTexte) {
        if (stufe.stufe == auftrag.analyse.Formanalyse) z.emplace_back(stufe.text);
      }
      break;
    }
    case kQuellbilder: {
      info.InfoT = "Quellbilder:";
      // The bounds the start checks.
      const Bilderbedarf bedarf = BilderbedarfErmitteln(e);
      z = {"Anzahl an Bildern insgesamt: " + Zahl(auftrag.BilderAnzahl.gesamt),
           "für die Berechnung mindestens benötigte Bilder: " + Zahl(bedarf.mindestens)};
      if (bedarf.hoechstens != kKeineObergrenze) {
        z.push_back("höchstens verwendbare Bilder (jedes Foto mindestens einmal): " +
                    Zahl(bedarf.hoechstens));
      }
      break;
    }
    case kErweitert:
      info.InfoT = "erweiterte Einstellungen:";
      z = {
          "Berechnungsmethode " + InAnfuehrung(Listentext(kBerechnungsarten, e.Berechnungsart)),
          "Umgang mit Musterbildung " + InAnfuehrung(Listentext(kMusterbildungen, e.Musterbildung)),
          "Mindestabstand zwischen zwei identischen Bildern: " + Zahl(e.minAbstand) + " Kacheln",
          "Lesen und Vergleichen der Fotos: " + VerfahrenText(e.verfahren)};
      break;
    case kEintragLetzteBerechnung: {
      info.InfoT = "Informationen zur letzten Berechnung:";
      constexpr std::array<std::string_view, kLaufzeitenAnzahl> kDauern = {
          "Einlesen der Bilddateien: ", "Vorbereiten der Vorlage: ", "Berechnen des Mosaiks: ",
          "Zusammenstellen des Mosaiks: ", "Gesamtdauer: "};
      for (size_t i = 0; i < kDauern.size(); ++i) {
        z.push_back(std::string(kDauern[i]) + DauerText(auftrag.Laufzeiten[i]));
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
  const int32_t w = vorlage ? auftrag.vorlage.VorlageBreite : auftrag.einstellungen.ZielBreite;
  const int32_t h = vorlage ? auftrag.vorlage.VorlageHoehe : auftrag.einstellungen.ZielHoehe;
  // Without proportions (no template yet) there is nothing to fit.
  if (w <= 0 || h <= 0) return {};
  return FitToBox(w, h, kVorschauBoxBreite, kVorschauBoxHoehe);
}

}  // namespace tilvendo::wizard
