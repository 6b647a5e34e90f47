#include "wizard/lupe.h"

#include <algorithm>
#include <cmath>

namespace tilvendo::wizard {
namespace {

// Half a zoom step: a step closer than this to the full resolution is left out.
const double kHalberSchritt = std::sqrt(kZoomFaktor);
// More halvings than this would leave no pixel of any tile.
constexpr int kMaxDetailStufe = 16;

// Keeps one direction of the shown part within the mosaic.
double Begrenzt(double ursprung, double sichtbar, double mosaik) {
  if (sichtbar >= mosaik) return (mosaik - sichtbar) / 2.0;
  return std::clamp(ursprung, 0.0, mosaik - sichtbar);
}

// One direction of the cells a part touches, counted from 1, held within the grid.
void Spalten(double anfang, double laenge, int32_t kachel, int32_t kacheln, int32_t& erste,
             int32_t& letzte) {
  erste = static_cast<int32_t>(std::max(std::floor(anfang / kachel), 0.0)) + 1;
  const double ende = std::ceil((anfang + laenge) / kachel);
  letzte = static_cast<int32_t>(std::min(ende, static_cast<double>(kacheln)));
}

}  // namespace

std::vector<double> ZoomStufen(double einpassen) {
  std::vector<double> stufen{einpassen};
  if (!(einpassen > 0.0) || einpassen >= 1.0) return stufen;
  for (double s = einpassen * kZoomFaktor; s * kHalberSchritt < 1.0; s *= kZoomFaktor) {
    stufen.push_back(s);
  }
  stufen.push_back(1.0);
  return stufen;
}

Lupe::Lupe(Size mosaik, Size fenster) : mosaik_(mosaik), fenster_(fenster) {
  if (mosaik.width <= 0 || mosaik.height <= 0 || fenster.width <= 0 || fenster.height <= 0) {
    return;
  }
  // The window, whose sides have the mosaic's proportions up to rounding, is covered
  // whole at the first step.
  const double einpassen = std::max(static_cast<double>(fenster.width) / mosaik.width,
                                    static_cast<double>(fenster.height) / mosaik.height);
  stufen_ = ZoomStufen(einpassen);
  Begrenzen();
}

bool Lupe::Zoomen(int schritte, Punkt imFenster) {
  const auto ziel = static_cast<size_t>(std::clamp<int64_t>(
      static_cast<int64_t>(stufe_) + schritte, 0, static_cast<int64_t>(stufen_.size()) - 1));
  if (ziel == stufe_) return false;
  const Punkt fest = ImMosaik(imFenster);
  stufe_ = ziel;
  ursprung_ = Punkt{fest.x - imFenster.x / Massstab(), fest.y - imFenster.y / Massstab()};
  Begrenzen();
  return true;
}

void Lupe::Verschieben(Punkt weg) {
  ursprung_.x -= weg.x / Massstab();
  ursprung_.y -= weg.y / Massstab();
  Begrenzen();
}

void Lupe::Begrenzen() {
  const Ausschnitt a = Sichtbar();
  ursprung_.x = Begrenzt(ursprung_.x, a.breite, mosaik_.width);
  ursprung_.y = Begrenzt(ursprung_.y, a.hoehe, mosaik_.height);
}

Ausschnitt Lupe::Sichtbar() const {
  return Ausschnitt{ursprung_.x, ursprung_.y, fenster_.width / Massstab(),
                    fenster_.height / Massstab()};
}

Punkt Lupe::ImMosaik(Punkt imFenster) const {
  return Punkt{ursprung_.x + imFenster.x / Massstab(), ursprung_.y + imFenster.y / Massstab()};
}

Punkt Lupe::ImFenster(Punkt imMosaik) const {
  return Punkt{(imMosaik.x - ursprung_.x) * Massstab(), (imMosaik.y - ursprung_.y) * Massstab()};
}

Zellbereich SichtbareZellen(const Ausschnitt& sichtbar, const Mosaikraster& raster) {
  Zellbereich bereich;
  if (raster.kachel.width <= 0 || raster.kachel.height <= 0 || raster.kachelnX <= 0 ||
      raster.kachelnY <= 0 || sichtbar.breite <= 0.0 || sichtbar.hoehe <= 0.0) {
    return bereich;
  }
  Spalten(sichtbar.links, sichtbar.breite, raster.kachel.width, raster.kachelnX,
          bereich.ersteSpalte, bereich.letzteSpalte);
  Spalten(sichtbar.oben, sichtbar.hoehe, raster.kachel.height, raster.kachelnY, bereich.ersteZeile,
          bereich.letzteZeile);
  return bereich;
}

std::optional<Zellort> ZelleBei(Punkt imMosaik, const Mosaikraster& raster) {
  if (raster.kachel.width <= 0 || raster.kachel.height <= 0 || imMosaik.x < 0.0 ||
      imMosaik.y < 0.0) {
    return std::nullopt;
  }
  const auto spalte = static_cast<int64_t>(imMosaik.x / raster.kachel.width) + 1;
  const auto zeile = static_cast<int64_t>(imMosaik.y / raster.kachel.height) + 1;
  if (spalte > raster.kachelnX || zeile > raster.kachelnY) return std::nullopt;
  return Zellort{static_cast<int32_t>(spalte), static_cast<int32_t>(zeile)};
}

bool FotosZeigen(double massstab, double einpassen, Size kachel) {
  const double kleinsteKante = std::min(kachel.width, kachel.height) * massstab;
  return massstab > einpassen && kleinsteKante >= kMindestKachelImFenster;
}

int DetailStufe(double massstab) {
  if (!(massstab > 0.0) || massstab >= 1.0) return 0;
  const auto stufe = static_cast<int>(std::floor(std::log2(1.0 / massstab)));
  return std::clamp(stufe, 0, kMaxDetailStufe);
}

}  // namespace tilvendo::wizard
