#include "engine/mosaik_baender.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "engine/bild_vermesser.h"
#include "pictures/farbreduktion.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr uint64_t kSpeicherTeiler = 8;
constexpr uint64_t kMinKachelspeicher = uint64_t{64} << 20;
constexpr uint64_t kMaxKachelspeicher = uint64_t{256} << 20;
// What a run holds besides tiles, bands and a writer: the template, the plan, the screen
// copy, the program itself.
constexpr uint64_t kGrundbedarf = uint64_t{64} << 20;
// Slots beyond the bands composed ahead: the band handed out now and the one before it,
// which a strip across the boundary still reads. With one slot more than the bands kept
// there is always one to compose the band asked for into.
constexpr size_t kPlaetzeExtra = 2;
// Rows of the template made and laid over the tiles at a time.
constexpr int32_t kMischZeilen = 16;
// Photos drawn together before a cancel is looked at and progress told; a few per
// thread keep the threads busy while the gauge still moves steadily.
constexpr size_t kFotosJeThread = 2;
constexpr uint64_t kNieWieder = std::numeric_limits<uint64_t>::max();

// The composer's tiles are whole photos at full tile size.
Kachelschluessel FotoSchluessel(int32_t foto) {
  Kachelschluessel schluessel;
  schluessel.foto = foto;
  return schluessel;
}

void Schwarz(Bitmap& ziel, int32_t links, int32_t oben, Size kachel) {
  for (int32_t y = 0; y < kachel.height; ++y) {
    std::memset(ziel.row(oben + y) + kBytesJePixel * static_cast<size_t>(links), 0,
                kBytesJePixel * static_cast<size_t>(kachel.width));
  }
}

}  // namespace

uint64_t KachelspeicherFuerDieseMaschine() {
  return std::clamp(MemoryBudget::ForThisMachine() / kSpeicherTeiler, kMinKachelspeicher,
                    kMaxKachelspeicher);
}

uint64_t KachelspeicherNeben(uint64_t schreiberBytes, uint64_t baenderBytes) {
  const uint64_t anteil = KachelspeicherFuerDieseMaschine();
  const uint64_t daneben = kGrundbedarf + schreiberBytes + baenderBytes;
  if (daneben + anteil <= kLaufSpeicher) return anteil;
  const uint64_t frei = daneben < kLaufSpeicher ? kLaufSpeicher - daneben : 0;
  return std::max(frei, kMinKachelspeicher);
}

uint64_t KachelzeilenBytes(int32_t breite, int32_t kachelHoehe) {
  return static_cast<uint64_t>(std::max(breite, 0)) * kBytesJePixel *
         static_cast<uint64_t>(std::max(kachelHoehe, 0));
}

Mosaikbaender::Mosaikbaender(std::shared_ptr<const Mosaikplan> plan, const Bitmap& vorlage,
                             std::string arbeitspfad, Bandoptionen optionen)
    : plan_(std::move(plan)),
      optionen_(std::move(optionen)),
      angleich_(AngleichFuer(*plan_, vorlage)),
      gruppe_(optionen_.threads) {
  kachelBreite_ = plan_->Kachel().width;
  kachelHoehe_ = plan_->Kachel().height;
  kachelnX_ = plan_->KachelnX();
  kachelnY_ = plan_->KachelnY();
  const Verwendungsliste& verwendung = plan_->Verwendung();
  const int64_t breite = int64_t{kachelnX_} * kachelBreite_;
  const int64_t hoehe = int64_t{kachelnY_} * kachelHoehe_;
  if (breite == 0 || hoehe == 0) return;  // nothing to compose
  if (breite > std::numeric_limits<int32_t>::max() || hoehe > std::numeric_limits<int32_t>::max() ||
      KachelzeilenBytes(static_cast<int32_t>(breite), kachelHoehe_) > kMaxKachelzeilenBytes) {
    throw PictureTooLarge(
        _("Eine Kachelzeile des Mosaiks ist zu groß, um sie im Speicher zu "
          "halten; bitte wählen Sie mehr Kacheln in der Höhe."));
  }
  breite_ = static_cast<int32_t>(breite);
  hoehe_ = static_cast<int32_t>(hoehe);
  const uint64_t mindestens = (kStreifenZeilen + kachelHoehe_ - 1) / kachelHoehe_;
  zeilenJeBand_ = static_cast<int32_t>(std::clamp<uint64_t>(
      std::max(optionen_.bandBytes / KachelzeilenBytes(breite_, kachelHoehe_), mindestens), 1,
      kachelnY_));
  baender_ = (kachelnY_ + zeilenJeBand_ - 1) / zeilenJeBand_;
  zusammengesetzt_.assign(static_cast<size_t>(baender_), 0);

  // The photos of each band in the order of the placements, from the plan's cell index.
  bandFotos_.resize(static_cast<size_t>(baender_));
  leereZellen_.resize(static_cast<size_t>(baender_));
  fotoBaender_.resize(verwendung.Anzahl());
  unlesbar_.assign(verwendung.Anzahl(), 0);
  ersatz_.assign(static_cast<size_t>(kachelnX_) * static_cast<size_t>(kachelnY_), kKeinBild);
  // Per photo the last band it was found in and its entry there.
  std::vector<std::pair<int32_t, int32_t>> zuletzt(verwendung.Anzahl(), {-1, -1});
  for (int32_t band = 0; band < baender_; ++band) {
    std::vector<Bandfoto>& fotos = bandFotos_[static_cast<size_t>(band)];
    const int32_t ende = std::min(kachelnY_, (band + 1) * zeilenJeBand_);
    for (int32_t y = band * zeilenJeBand_ + 1; y <= ende; ++y) {
      for (int32_t x = 1; x <= kachelnX_; ++x) {
        const int32_t foto = plan_->FotoIn(x, y);
        if (foto == kKeinBild) {
          leereZellen_[static_cast<size_t>(band)].push_back(Zellort{x, y});
          continue;
        }
        auto& [gefunden, eintrag] = zuletzt[static_cast<size_t>(foto)];
        if (gefunden != band) {
          gefunden = band;
          eintrag = static_cast<int32_t>(fotos.size());
          fotos.push_back(Bandfoto{foto, {}});
          fotoBaender_[static_cast<size_t>(foto)].push_back(band);
        }
        fotos[static_cast<size_t>(eintrag)].zellen.push_back(Zellort{x, y});
      }
    }
  }
  if (optionen_.blendwert != kNurMosaik) {
    vorlage_.emplace(vorlage, breite_, hoehe_, optionen_.skalierung);
  }
  Kachelspeicher::Optionen lesen;
  lesen.art = KachelLeseart(plan_->Zeichenweise());
  lesen.arbeitspfad = std::move(arbeitspfad);
  lesen.format = PixelFormat::k24;
  lesen.speicher = optionen_.kachelspeicher;
  if (angleich_) lesen.angleich.emplace(*angleich_);
  speicher_ = std::make_unique<Kachelspeicher>(
      plan_, std::move(lesen),
      [this](const Kachelschluessel& schluessel, uint64_t, uint64_t) { return Rang(schluessel); });
  vorlauf_ = optionen_.voraus ? 1 : 0;
  plaetze_.resize(static_cast<size_t>(vorlauf_) + kPlaetzeExtra);
}

Mosaikbaender::~Mosaikbaender() {
  // Bands not yet begun are dropped; the one running stops at its next few photos.
  aufhoeren_ = true;
  pool_.Verwerfen();
}

int32_t Mosaikbaender::BandAnfang(int32_t band) const {
  return band * zeilenJeBand_ * kachelHoehe_;
}

int32_t Mosaikbaender::BandHoehe(int32_t band) const {
  return std::min(zeilenJeBand_, kachelnY_ - band * zeilenJeBand_) * kachelHoehe_;
}

int32_t Mosaikbaender::BandVonZeile(int32_t zeile) const {
  return zeile / kachelHoehe_ / zeilenJeBand_;
}

int32_t Mosaikbaender::FotoZeichnungen() const {
  size_t anzahl = 0;
  for (const std::vector<Bandfoto>& fotos : bandFotos_) anzahl += fotos.size();
  return static_cast<int32_t>(anzahl);
}

bool Mosaikbaender::Angehalten() const {
  return aufhoeren_.load() || (optionen_.abbruch != nullptr && optionen_.abbruch->load());
}

std::optional<uint64_t> Mosaikbaender::Rang(const Kachelschluessel& schluessel) const {
  const std::vector<int32_t>& baender = fotoBaender_[static_cast<size_t>(schluessel.foto)];
  const int32_t jetzt = aktuell_.load();
  const auto naechstes = std::lower_bound(baender.begin(), baender.end(), jetzt);
  if (naechstes == baender.end()) return kNieWieder;
  // Needed by the band being composed or the one after it: stays.
  if (*naechstes <= jetzt + 1) return std::nullopt;
  return static_cast<uint64_t>(*naechstes - jetzt);
}

bool Mosaikbaender::InBild(Bitmap& ziel, const std::function<void(int32_t)>& gezeichnet) {
  try {
    for (int32_t band = 0; band < baender_; ++band) {
      BandZeichnen(band, ziel, BandAnfang(band), &gezeichnet);
    }
  } catch (const SchreibenAbgebrochen&) {
    return false;
  }
  return true;
}

void Mosaikbaender::BandZeichnen(int32_t band, Bitmap& ziel, int32_t oben,
                                 const std::function<void(int32_t)>* gezeichnet) {
  aktuell_ = band;
  const int32_t ersteZeile = band * zeilenJeBand_;
  // The template alone needs no photo at all.
  if (optionen_.blendwert != 0) {
    for (const Zellort& z : leereZellen_[static_cast<size_t>(band)]) {
      Schwarz(ziel, (z.x - 1) * kachelBreite_, oben + (z.y - 1 - ersteZeile) * kachelHoehe_,
              plan_->Kachel());
    }
    const std::vector<Bandfoto>& fotos = bandFotos_[static_cast<size_t>(band)];
    const size_t block = kFotosJeThread * gruppe_.Threads();
    for (size_t anfang = 0; anfang < fotos.size(); anfang += block) {
      if (Angehalten()) throw SchreibenAbgebrochen();
      const size_t anzahl = std::min(block, fotos.size() - anfang);
      gruppe_.FuerAlle(anzahl,
                       [&](size_t i) { FotoZeichnen(band, fotos[anfang + i], ziel, oben); });
      if (gezeichnet != nullptr && *gezeichnet) (*gezeichnet)(static_cast<int32_t>(anzahl));
    }
  }
  if (Angehalten()) throw SchreibenAbgebrochen();
  VorlageDarueber(band, ziel, oben);
}

void Mosaikbaender::FotoZeichnen(int32_t band, const Bandfoto& eintrag, Bitmap& ziel,
                                 int32_t oben) {
  const std::shared_ptr<const Kachel> kachel = KachelFuer(eintrag.foto);
  const int32_t ersteZeile = band * zeilenJeBand_;
  Bitmap kachel32;
  if (kachel && angleich_) {
    kachel32 = Bitmap::Uninitialized(kachelBreite_, kachelHoehe_, kPixelformat);
    for (int32_t y = 0; y < kachelHoehe_; ++y) {
      ZeileAus24(kachel->bild.row(y), kachel32.row(y), kachelBreite_);
    }
  }
  for (const Zellort& z : eintrag.zellen) {
    const int32_t links = (z.x - 1) * kachelBreite_;
    const int32_t zeile = oben + (z.y - 1 - ersteZeile) * kachelHoehe_;
    if (kachel) {
      KachelSetzen(*kachel, kachel32, z, ziel, links, zeile);
    } else if (!ErsatzSetzen(eintrag.foto, z, ziel, links, zeile)) {
      Schwarz(ziel, links, zeile, plan_->Kachel());
    }
  }
  // A tile no later band shows is not kept.
  const std::vector<int32_t>& baender = fotoBaender_[static_cast<size_t>(eintrag.foto)];
  if (std::upper_bound(baender.begin(), baender.end(), band) == baender.end()) {
    speicher_->Vergessen(FotoSchluessel(eintrag.foto));
  }
}

void Mosaikbaender::KachelSetzen(const Kachel& kachel, const Bitmap& kachel32, const Zellort& z,
                                 Bitmap& ziel, int32_t links, int32_t zeile) const {
  if (!angleich_) {
    for (int32_t y = 0; y < kachelHoehe_; ++y) {
      ZeileAus24(kachel.bild.row(y), ziel.row(zeile + y) + kBytesJePixel * links, kachelBreite_);
    }
    return;
  }
  const Teilfarben zellFarben =
      TeilfarbenMessen(angleich_->vorlage, Zellrechteck(*angleich_, z), kachel.farben.teile);
  AngeglichenEinsetzen(kachel32, kachel.farben, zellFarben, angleich_->staerke, ziel, links, zeile);
}

bool Mosaikbaender::ErsatzSetzen(int32_t foto, const Zellort& z, Bitmap& ziel, int32_t links,
                                 int32_t zeile) {
  if (!plan_->HatSignaturen()) return false;
  // Every photo of the plan ranked by its distance to the cell. The choice depends on the
  // files alone, never on which thread found a photo unreadable first, so the same inputs
  // give the same pixels.
  const int formanalyse = plan_->Formanalyse();
  const int bloecke = Bloecke(formanalyse);
  const GepackteFelder& zelle = plan_->ZellFelder(z);
  std::vector<std::pair<int32_t, int32_t>> rangfolge;
  rangfolge.reserve(unlesbar_.size());
  for (size_t k = 0; k < unlesbar_.size(); ++k) {
    const auto eintrag = static_cast<int32_t>(k);
    if (eintrag == foto) continue;
    rangfolge.emplace_back(Distanz(plan_->FotoFelder(eintrag), zelle, formanalyse, bloecke),
                           eintrag);
  }
  std::sort(rangfolge.begin(), rangfolge.end());
  for (const auto& [distanz, eintrag] : rangfolge) {
    {
      const std::lock_guard<std::mutex> sperre(mutex_);
      if (unlesbar_[static_cast<size_t>(eintrag)] != 0) continue;
    }
    const std::shared_ptr<const Kachel> kachel = KachelFuer(eintrag);
    if (!kachel) continue;
    Bitmap kachel32;
    if (angleich_) {
      kachel32 = Bitmap::Uninitialized(kachelBreite_, kachelHoehe_, kPixelformat);
      for (int32_t y = 0; y < kachelHoehe_; ++y) {
        ZeileAus24(kachel->bild.row(y), kachel32.row(y), kachelBreite_);
      }
    }
    KachelSetzen(*kachel, kachel32, z, ziel, links, zeile);
    const std::lock_guard<std::mutex> sperre(mutex_);
    ersatz_[static_cast<size_t>(z.y - 1) * static_cast<size_t>(kachelnX_) +
            static_cast<size_t>(z.x - 1)] = eintrag;
    return true;
  }
  return false;
}

std::shared_ptr<const Kachel> Mosaikbaender::KachelFuer(int32_t foto) {
  const Kachelstand stand = speicher_->Holen(FotoSchluessel(foto));
  if (stand.unlesbar) {
    const std::lock_guard<std::mutex> sperre(mutex_);
    unlesbar_[static_cast<size_t>(foto)] = 1;
  }
  return stand.kachel;
}

void Mosaikbaender::VorlageDarueber(int32_t band, Bitmap& ziel, int32_t oben) {
  const uint8_t a = optionen_.blendwert;
  if (a == kNurMosaik) return;
  // The template is laid over a few rows at a time, which stay in the cache and are all
  // a band needs beside itself.
  const int32_t hoehe = BandHoehe(band);
  const size_t stuecke = static_cast<size_t>((hoehe + kMischZeilen - 1) / kMischZeilen);
  gruppe_.FuerAlle(stuecke, [&](size_t i) {
    const int32_t erste = static_cast<int32_t>(i) * kMischZeilen;
    const int32_t anzahl = std::min(kMischZeilen, hoehe - erste);
    Bitmap vorlage = Bitmap::Uninitialized(breite_, anzahl, kPixelformat);
    vorlage_->Zeilen(BandAnfang(band) + erste, vorlage);
    // Working-format rows have no padding, so the rows are one run of bytes.
    if (a == 0) {
      std::memcpy(ziel.row(oben + erste), vorlage.data(), vorlage.byteSize());
    } else {
      BlendBytesInto(vorlage.data(), ziel.row(oben + erste), vorlage.byteSize(), a);
    }
  });
}

Bandbilanz Mosaikbaender::Bilanz() const {
  Bandbilanz bilanz;
  const std::lock_guard<std::mutex> sperre(mutex_);
  bilanz.unlesbareBilder =
      static_cast<int32_t>(std::count(unlesbar_.begin(), unlesbar_.end(), uint8_t{1}));
  for (int32_t y = 1; y <= kachelnY_; ++y) {
    for (int32_t x = 1; x <= kachelnX_; ++x) {
      const int32_t foto = plan_->FotoIn(x, y);
      if (foto == kKeinBild) {
        ++bilanz.schwarzeKacheln;
        continue;
      }
      if (unlesbar_[static_cast<size_t>(foto)] == 0) continue;
      const int32_t ersatz = ersatz_[static_cast<size_t>(y - 1) * static_cast<size_t>(kachelnX_) +
                                     static_cast<size_t>(x - 1)];
      if (ersatz != kKeinBild) {
        bilanz.ersetzungen.push_back(Ersetzung{Zellort{x, y}, ersatz});
      } else {
        ++bilanz.schwarzeKacheln;
        ++bilanz.ohneErsatz;
      }
    }
  }
  for (size_t k = 0; k < unlesbar_.size(); ++k) {
    if (unlesbar_[k] != 0) bilanz.unlesbareDateien.push_back(plan_->Verwendung()[k].datei);
  }
  bilanz.erneutGelesen = speicher_ ? speicher_->ErneutGelesen() : 0;
  return bilanz;
}

Zeilen Mosaikbaender::Streifen(int32_t erste, int32_t anzahl) {
  const int32_t erstes = BandVonZeile(erste);
  const int32_t letztes = BandVonZeile(erste + anzahl - 1);
  if (letztes - erstes > 1) {
    throw std::invalid_argument("Mosaikbaender: ein Streifen über mehr als zwei Bänder");
  }
  std::array<const Platz*, 2> plaetze{};
  size_t genommen = 0;
  for (int32_t band = erstes; band <= letztes; ++band) {
    const bool neu = band != position_;
    if (neu && Angehalten()) throw SchreibenAbgebrochen();
    plaetze[genommen++] = &Holen(band);
    if (neu && zusammengesetzt_[static_cast<size_t>(band)] == 0) {
      zusammengesetzt_[static_cast<size_t>(band)] = 1;
      if (++fertigeBaender_ == baender_ && optionen_.leerVerweigern) {
        const Bandbilanz bilanz = Bilanz();
        if (bilanz.unlesbareBilder > 0 && bilanz.schwarzeKacheln == kachelnX_ * kachelnY_) {
          throw KeinBildLesbar();
        }
      }
    }
  }
  if (erstes == letztes) {
    const Platz& platz = *plaetze[0];
    return Zeilen{platz.bild.row(erste - BandAnfang(erstes)), platz.bild.stride(), anzahl};
  }
  // A strip across two bands is put together from both.
  if (streifen_.width() != breite_ || streifen_.height() < anzahl) {
    streifen_ = Bitmap::Uninitialized(breite_, anzahl, kPixelformat);
  }
  for (const Platz* platz : plaetze) {
    const int32_t anfang = std::max(erste, BandAnfang(platz->band));
    const int32_t ende = std::min(erste + anzahl, BandAnfang(platz->band) + BandHoehe(platz->band));
    for (int32_t y = anfang; y < ende; ++y) {
      std::memcpy(streifen_.row(y - erste), platz->bild.row(y - BandAnfang(platz->band)),
                  streifen_.stride());
    }
  }
  return Zeilen{streifen_.data(), streifen_.stride(), anzahl};
}

const Mosaikbaender::Platz& Mosaikbaender::Holen(int32_t band) {
  std::unique_lock<std::mutex> sperre(mutex_);
  position_ = band;
  const auto finden = [&](int32_t b) -> Platz* {
    for (Platz& platz : plaetze_) {
      if (platz.band == b && platz.zustand != Platzzustand::Frei) return &platz;
    }
    return nullptr;
  };
  while (finden(band) == nullptr && !Einreihen(band)) geaendert_.wait(sperre);
  Platz& platz = *finden(band);
  for (int32_t k = 1; k <= vorlauf_; ++k) {
    const int32_t voraus = band + k;
    if (voraus >= baender_ || finden(voraus) != nullptr) continue;
    if (!Einreihen(voraus)) break;
  }
  geaendert_.wait(sperre, [&] { return platz.zustand == Platzzustand::Fertig; });
  if (platz.fehler) {
    const std::exception_ptr fehler = platz.fehler;
    platz.fehler = nullptr;
    platz.zustand = Platzzustand::Frei;
    std::rethrow_exception(fehler);
  }
  return platz;
}

bool Mosaikbaender::Einreihen(int32_t band) {
  // Bands from the one before the current to the last composed ahead stay; of the
  // others the one farthest behind is given up first.
  const auto abstand = [&](const Platz& platz) { return platz.band - position_; };
  Platz* frei = nullptr;
  for (Platz& platz : plaetze_) {
    if (platz.zustand == Platzzustand::Laeuft) continue;
    if (platz.zustand == Platzzustand::Frei) {
      frei = &platz;
      break;
    }
    const int32_t a = abstand(platz);
    if (a >= -1 && a <= vorlauf_) continue;
    if (frei == nullptr || a < abstand(*frei)) frei = &platz;
  }
  if (frei == nullptr) return false;
  frei->band = band;
  frei->zustand = Platzzustand::Laeuft;
  frei->fehler = nullptr;
  Platz* platz = frei;
  pool_.Einreihen([this, platz, band] { Zusammensetzen(*platz, band); });
  return true;
}

void Mosaikbaender::Zusammensetzen(Platz& platz, int32_t band) {
  std::exception_ptr fehler;
  try {
    const int32_t hoehe = BandHoehe(band);
    if (platz.bild.height() != hoehe || platz.bild.width() != breite_) {
      platz.bild = Bitmap::Uninitialized(breite_, hoehe, kPixelformat);
    }
    BandZeichnen(band, platz.bild, 0, nullptr);
  } catch (...) {
    fehler = std::current_exception();
  }
  {
    const std::lock_guard<std::mutex> sperre(mutex_);
    platz.fehler = fehler;
    platz.zustand = Platzzustand::Fertig;
  }
  geaendert_.notify_all();
}

}  // namespace tilvendo
