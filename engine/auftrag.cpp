#include "engine/auftrag.h"

#include <cstdlib>
#include <utility>

#include "platform/paths.h"

namespace tilvendo {
namespace {

constexpr uint16_t kZoomStandard = 150;
constexpr int32_t kNochNichtAbgeleitet = -25;
constexpr uint16_t kMinAbstandStandard = 2;
constexpr int32_t kMusterabstandStart = 2;

}  // namespace

bool ProtokollSchalter(const std::vector<std::string>& argumente) {
  return !argumente.empty() && (argumente.front() == "L" || argumente.front() == "l");
}

std::string AlbenPfadErmitteln() {
  const char* override = std::getenv(kAlbenPfadVariable);
  if (override != nullptr && *override != '\0') return MitSchraegstrich(override);
  return DataHomeFolder() + "nubo-tilvendo/Alben/";
}

void Programmstart(Auftrag& auftrag, const Startoptionen& optionen) {
  auftrag.zufall.seed(optionen.seed.value_or(SeedFromClock()));
  auftrag.Protokoll = ProtokollSchalter(optionen.argumente);
  auftrag.Dateiliste.clear();

  auftrag.ProgrammPfad = ExecutableFolder();
  auftrag.AlbenPfad =
      optionen.albenPfad ? MitSchraegstrich(*optionen.albenPfad) : AlbenPfadErmitteln();
  CreateFolders(auftrag.AlbenPfad);  // album operations report their own errors later
  auftrag.Arbeitspfad = auftrag.ProgrammPfad;

  auftrag.VorschauBild = Bitmap();
  auftrag.VorlageBild = Bitmap();
  auftrag.SpeicherVorschau = Bitmap();
}

void VorlageBildErsetzen(Auftrag& auftrag, Bitmap vorlage) {
  if (auftrag.Ergebnis) auftrag.Ergebnis->VorlageUebernehmen(auftrag.VorlageBild);
  auftrag.VorlageBild = std::move(vorlage);
}

void StandardwerteSetzen(Auftrag& auftrag) {
  auftrag.analyse.Formanalyse = kFormanalyseStandard;
  auftrag.analyse.ErgebnisGespeichert = 1;
  auftrag.analyse.Abtastgroesse = kAbtastgroesseStandard;
  auftrag.BilderAnzahl = Bildzahlen{};

  Einstellungen& e = auftrag.einstellungen;
  e.ZielBreite = e.ZielHoehe = 0;
  e.ZellBreite = e.ZellHoehe = 0;
  e.KachelnX = e.KachelnY = 0;
  e.ZoomX = e.ZoomY = kZoomStandard;
  e.Helligkeitsfenster = e.Kandidatenzahl = kNochNichtAbgeleitet;
  e.Berechnungsart = e.Musterbildung = 0;
  e.minAbstand = kMinAbstandStandard;
  e.Musterabstand = kMusterabstandStart;
  auftrag.AktSeite = kSeiteVorlage;
}

}  // namespace tilvendo
