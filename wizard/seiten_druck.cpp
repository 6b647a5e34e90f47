#include "wizard/seiten_druck.h"

#include <cmath>

#include "platform/atomic_file.h"

namespace tilvendo::wizard {
namespace {

int32_t Skaliert(int32_t wert, int32_t von, int32_t auf) {
  return static_cast<int32_t>(std::lround(static_cast<double>(wert) * auf / std::max(von, 1)));
}

}  // namespace

std::vector<std::string> Blattlagen() {
  return {_("automatisch (weniger Blätter)"), _("hoch"), _("quer")};
}

Seitenangabe SeitenAngeben(Size mosaik, double dpiX, double dpiY, const Seitenwahl& wahl) {
  Seitenangabe angabe;
  try {
    angabe.raster = SeitenrasterBerechnen(mosaik.width, mosaik.height, dpiX, dpiY, wahl);
  } catch (const WriteError& fehler) {
    angabe.text = fehler.what();
    return angabe;
  }
  const Seitenraster& r = *angabe.raster;
  angabe.text =
      Format(NG_("{} Blatt ({} x {}), {} x {} mm, {}", "{} Blätter ({} x {}), je {} x {} mm, {}",
                 static_cast<uint64_t>(r.Blaetter())),
             r.Blaetter(), r.spalten, r.zeilen, MillimeterText(r.blattBreiteMm),
             MillimeterText(r.blattHoeheMm), r.quer ? _("quer") : _("hoch"));
  if (wahl.uebersicht) angabe.text += _(", dazu ein Blatt zum Zusammensetzen");
  return angabe;
}

std::vector<Rect> BlattUmrisse(const Seitenraster& raster, Size anzeige) {
  std::vector<Rect> umrisse;
  for (int32_t r = 0; r < raster.zeilen; ++r) {
    for (int32_t s = 0; s < raster.spalten; ++s) {
      const Rect teil = raster.Ausschnitt(r, s);
      umrisse.push_back(Rect{Skaliert(teil.left, raster.posterBreite, anzeige.width),
                             Skaliert(teil.top, raster.posterHoehe, anzeige.height),
                             Skaliert(teil.right, raster.posterBreite, anzeige.width),
                             Skaliert(teil.bottom, raster.posterHoehe, anzeige.height)});
    }
  }
  return umrisse;
}

}  // namespace tilvendo::wizard
