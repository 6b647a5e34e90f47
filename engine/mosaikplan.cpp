#include "engine/mosaikplan.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "engine/grossformat.h"

namespace tilvendo {

Mosaikplan::Mosaikplan(const Einstellungen& e, const Analyse& analyse, Verwendungsliste verwendung)
    : kachelnX_(e.KachelnX),
      kachelnY_(e.KachelnY),
      kachel_{std::max(KachelBreite(e), 0), std::max(KachelHoehe(e), 0)},
      mosaik_(Mosaikgroesse(e)),
      verwendung_(std::move(verwendung)),
      zellen_(static_cast<size_t>(kachelnX_) * static_cast<size_t>(kachelnY_), kKeinBild),
      verfahren_(e.verfahren),
      formanalyse_(analyse.Formanalyse),
      druckaufloesung_(
          e.Papier.Gewaehlt()
              ? DateiAufloesung(mosaik_, Size{e.ZielBreite, e.ZielHoehe}, e.Druckaufloesung)
              : Dateiaufloesung{static_cast<double>(e.Druckaufloesung),
                                static_cast<double>(e.Druckaufloesung)}),
      grossformat_(e.Grossformat) {
  for (size_t k = 0; k < verwendung_.Anzahl(); ++k) {
    for (const Zellort& z : verwendung_[k].zellen) {
      if (z.x < 1 || z.x > kachelnX_ || z.y < 1 || z.y > kachelnY_) continue;
      zellen_[static_cast<size_t>(z.y - 1) * static_cast<size_t>(kachelnX_) +
              static_cast<size_t>(z.x - 1)] = static_cast<int32_t>(k);
    }
  }
}

int32_t Mosaikplan::FotoIn(int32_t x, int32_t y) const {
  if (x < 1 || x > kachelnX_ || y < 1 || y > kachelnY_) return kKeinBild;
  return zellen_[static_cast<size_t>(y - 1) * static_cast<size_t>(kachelnX_) +
                 static_cast<size_t>(x - 1)];
}

const std::string* Mosaikplan::Foto(int32_t x, int32_t y) const {
  const int32_t k = FotoIn(x, y);
  return k == kKeinBild ? nullptr : &verwendung_[static_cast<size_t>(k)].datei;
}

Mosaikplan Mosaikplan::NurZellen(const std::function<bool(const Zellort&)>& behalten) const {
  Mosaikplan teil;
  teil.kachelnX_ = kachelnX_;
  teil.kachelnY_ = kachelnY_;
  teil.kachel_ = kachel_;
  teil.mosaik_ = mosaik_;
  teil.zellen_.assign(zellen_.size(), kKeinBild);
  teil.verfahren_ = verfahren_;
  teil.formanalyse_ = formanalyse_;
  teil.druckaufloesung_ = druckaufloesung_;
  teil.grossformat_ = grossformat_;
  if (vorlage_) teil.vorlage_ = vorlage_->Clone();
  if (HatSignaturen()) teil.zellFelder_ = zellFelder_;
  for (size_t k = 0; k < verwendung_.Anzahl(); ++k) {
    size_t eintrag = Verwendungsliste::kNichtGefunden;
    for (const Zellort& z : verwendung_[k].zellen) {
      if (z.x < 1 || z.x > kachelnX_ || z.y < 1 || z.y > kachelnY_ || !behalten(z)) continue;
      if (eintrag == Verwendungsliste::kNichtGefunden) {
        teil.verwendung_.Hinzufuegen(verwendung_[k].datei, z);
        eintrag = teil.verwendung_.Anzahl() - 1;
        if (HatSignaturen()) teil.fotoFelder_.push_back(fotoFelder_[k]);
      } else {
        teil.verwendung_.ZelleAnfuegen(eintrag, z);
      }
      teil.zellen_[static_cast<size_t>(z.y - 1) * static_cast<size_t>(kachelnX_) +
                   static_cast<size_t>(z.x - 1)] = static_cast<int32_t>(eintrag);
    }
  }
  return teil;
}

void Mosaikplan::SignaturenSetzen(std::vector<GepackteFelder> fotos,
                                  std::vector<GepackteFelder> zellen) {
  if (fotos.size() != verwendung_.Anzahl() || zellen.size() != zellen_.size()) {
    throw std::invalid_argument("Mosaikplan: Signaturen passen nicht zum Plan");
  }
  fotoFelder_ = std::move(fotos);
  zellFelder_ = std::move(zellen);
}

void Mosaikplan::ErsetzungenEintragen(const std::vector<Ersetzung>& ersetzungen) {
  for (const Ersetzung& e : ersetzungen) {
    const int32_t alt = FotoIn(e.zelle.x, e.zelle.y);
    if (alt == kKeinBild || e.eintrag < 0 ||
        static_cast<size_t>(e.eintrag) >= verwendung_.Anzahl()) {
      continue;
    }
    verwendung_.Umsetzen(static_cast<size_t>(alt), static_cast<size_t>(e.eintrag), e.zelle);
    zellen_[static_cast<size_t>(e.zelle.y - 1) * static_cast<size_t>(kachelnX_) +
            static_cast<size_t>(e.zelle.x - 1)] = e.eintrag;
  }
}

std::optional<Zellort> Mosaikplan::ZelleAn(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= mosaik_.width || y >= mosaik_.height) return std::nullopt;
  return Zellort{x / kachel_.width + 1, y / kachel_.height + 1};
}

}  // namespace tilvendo
