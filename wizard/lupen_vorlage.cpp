#include "wizard/lupen_vorlage.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/grossformat.h"
#include "pictures/blending.h"

namespace tilvendo::wizard {
namespace {

// One direction of the window: the mosaic pixel under the centre of each window pixel
// that lies over the mosaic, and the first such window pixel. The shown part starts at
// `anfang` and spans `laenge` mosaic pixels over `fenster` window pixels.
std::vector<int32_t> Stellen(double anfang, double laenge, int32_t fenster, int32_t mosaik,
                             int32_t& erstes) {
  std::vector<int32_t> stellen;
  erstes = 0;
  if (fenster <= 0 || !(laenge > 0.0)) return stellen;
  const double schritt = laenge / fenster;
  for (int32_t i = 0; i < fenster; ++i) {
    const double mitte = std::floor(anfang + (i + 0.5) * schritt);
    if (mitte < 0.0) {
      erstes = i + 1;
      continue;
    }
    if (mitte >= mosaik) break;
    stellen.push_back(static_cast<int32_t>(mitte));
  }
  return stellen;
}

bool Gleich(const Ausschnitt& a, const Ausschnitt& b) {
  return a.links == b.links && a.oben == b.oben && a.breite == b.breite && a.hoehe == b.hoehe;
}

}  // namespace

Lupenvorlage::Lupenvorlage(const Bitmap& vorlage, Size mosaik)
    : vorlage_(&vorlage), mosaik_(mosaik) {}

void Lupenvorlage::Ueberblenden(const Ausschnitt& sichtbar, uint8_t blendwert, Bitmap& fenster) {
  if (vorlage_ == nullptr || blendwert == kNurMosaik || mosaik_.width <= 0 || mosaik_.height <= 0 ||
      fenster.empty() || fenster.format() != kPixelformat) {
    return;
  }
  const Size groesse{fenster.width(), fenster.height()};
  if (!gezeigt_ || !Gleich(*gezeigt_, sichtbar) || gezeigtIn_ != groesse) {
    if (!skaliert_) {
      skaliert_ = std::make_unique<const VorlageImMosaik>(
          *vorlage_, mosaik_.width, mosaik_.height, SkalierungFuer(mosaik_.width, mosaik_.height));
    }
    int32_t links = 0;
    int32_t oben = 0;
    const std::vector<int32_t> spalten =
        Stellen(sichtbar.links, sichtbar.breite, groesse.width, mosaik_.width, links);
    const std::vector<int32_t> zeilen =
        Stellen(sichtbar.oben, sichtbar.hoehe, groesse.height, mosaik_.height, oben);
    const auto breite = static_cast<int32_t>(spalten.size());
    const auto hoehe = static_cast<int32_t>(zeilen.size());
    bereich_ = Rect{links, oben, links + breite, oben + hoehe};
    unterFenster_ = Bitmap();
    if (!bereich_.empty()) {
      unterFenster_ = Bitmap::Uninitialized(breite, hoehe, kPixelformat);
      skaliert_->Abtasten(spalten, zeilen, unterFenster_);
    }
    gezeigt_ = sichtbar;
    gezeigtIn_ = groesse;
  }
  if (bereich_.empty()) return;
  const size_t bytes = kBytesJePixel * static_cast<size_t>(bereich_.width());
  for (int32_t y = 0; y < bereich_.height(); ++y) {
    BlendBytesInto(
        unterFenster_.row(y),
        fenster.row(bereich_.top + y) + kBytesJePixel * static_cast<size_t>(bereich_.left), bytes,
        blendwert);
  }
}

}  // namespace tilvendo::wizard
