#include "engine/mosaik_baender.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "engine/bild_vermesser.h"
#include "pictures/blending.h"
#include "pictures/farbreduktion.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr uint64_t kSpeicherTeiler = 8;
constexpr uint64_t kMinKachelspeicher = uint64_t{64} << 20;
constexpr uint64_t kMaxKachelspeicher = uint64_t{256} << 20;
// Slots beyond the bands composed ahead: the band handed out now and the one before it,
// which a strip across the boundary still reads. With one slot more than the bands kept
// there is always one to compose the band asked for into.
constexpr size_t kPlaetzeExtra = 2;
// Rows of the template made and laid over the tiles at a time.
constexpr int32_t kMischZeilen = 16;
// What the bands in flight may take together; a poster whose tile rows are very large
// composes fewer bands ahead rather than taking more.
constexpr uint64_t kBaenderSpeicher = uint64_t{160} << 20;
constexpr int32_t kWeitWeg = std::numeric_limits<int32_t>::max();

}  // namespace

uint64_t KachelspeicherFuerDieseMaschine() {
  return std::clamp(MemoryBudget::ForThisMachine() / kSpeicherTeiler, kMinKachelspeicher,
                    kMaxKachelspeicher);
}

uint64_t KachelzeilenBytes(int32_t breite, int32_t kachelHoehe) {
  return static_cast<uint64_t>(std::max(breite, 0)) * kBytesJePixel *
         static_cast<uint64_t>(std::max(kachelHoehe, 0));
}

Mosaikbaender::Mosaikbaender(const Auftrag& auftrag, const Mosaikplan& plan, Bandoptionen optionen)
    : optionen_(std::move(optionen)),
      angleich_(AngleichFuer(plan, auftrag.VorlageBild)),
      budget_(MemoryBudget::ForThisMachine()),
      pool_(optionen_.threads) {
  kachelBreite_ = plan.Kachel().width;
  kachelHoehe_ = plan.Kachel().height;
  kachelnX_ = plan.KachelnX();
  kachelnY_ = plan.KachelnY();
  const Verwendungsliste& verwendung = plan.Verwendung();
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

  zellen_.assign(static_cast<size_t>(kachelnX_) * kachelnY_, -1);
  fotos_.resize(verwendung.Anzahl());
  for (size_t k = 0; k < verwendung.Anzahl(); ++k) {
    Foto& foto = fotos_[k];
    foto.verwendung = &verwendung[k];
    for (const Zellort& z : verwendung[k].zellen) {
      if (z.x < 1 || z.x > kachelnX_ || z.y < 1 || z.y > kachelnY_) continue;
      zellen_[static_cast<size_t>(z.y - 1) * kachelnX_ + static_cast<size_t>(z.x - 1)] =
          static_cast<int32_t>(k);
      foto.baender.push_back((z.y - 1) / zeilenJeBand_);
    }
    std::sort(foto.baender.begin(), foto.baender.end());
    foto.baender.erase(std::unique(foto.baender.begin(), foto.baender.end()), foto.baender.end());
  }
  if (optionen_.blendwert != kNurMosaik) {
    vorlage_.emplace(auftrag.VorlageBild, breite_, hoehe_, optionen_.skalierung);
  }
  lesen_.emplace(Lesen{KachelLeseart(plan.Zeichenweise()), auftrag.Arbeitspfad, budget_});
  // One band ahead per worker, as far as the memory for bands allows, but at least one.
  const uint64_t bandBytes = KachelzeilenBytes(breite_, kachelHoehe_) * zeilenJeBand_;
  const uint64_t passen = kBaenderSpeicher / bandBytes;
  vorlauf_ = optionen_.voraus
                 ? static_cast<int32_t>(std::clamp<uint64_t>(
                       passen > kPlaetzeExtra ? passen - kPlaetzeExtra : 0, 1, pool_.Anzahl()))
                 : 0;
  plaetze_.resize(static_cast<size_t>(vorlauf_) + kPlaetzeExtra);
}

Mosaikbaender::~Mosaikbaender() {
  // Bands not yet begun are dropped; the running ones end before the members they use.
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

void Mosaikbaender::VorDemErsetzen() {
  if (optionen_.abbruch != nullptr && optionen_.abbruch->load()) throw SchreibenAbgebrochen();
  if (optionen_.freigabe && !optionen_.freigabe()) throw SchreibenAbgebrochen();
}

Zeilen Mosaikbaender::Streifen(int32_t first, int32_t count) {
  const int32_t erstes = BandVonZeile(first);
  const int32_t letztes = BandVonZeile(first + count - 1);
  {
    const std::lock_guard<std::mutex> sperre(mutex_);
    if (letzterAnfang_ < 0) {
      // A writer that starts with the last rows goes on upwards (bitmaps).
      richtung_ = erstes > 0 && letztes == baender_ - 1 ? -1 : 1;
    } else if (first != letzterAnfang_) {
      richtung_ = first > letzterAnfang_ ? 1 : -1;
    }
    letzterAnfang_ = first;
  }
  // In the direction of reading, so that the band before stays while the next is fetched.
  const int32_t schritt = richtung_;
  const int32_t von = schritt > 0 ? erstes : letztes;
  const int32_t bis = schritt > 0 ? letztes : erstes;
  if (letztes - erstes > 1) {
    throw std::invalid_argument("Mosaikbaender: ein Streifen über mehr als zwei Bänder");
  }
  std::array<const Platz*, 2> plaetze{};
  size_t genommen = 0;
  for (int32_t band = von;; band += schritt) {
    const bool neu = band != position_;
    if (neu && optionen_.abbruch != nullptr && optionen_.abbruch->load()) {
      throw SchreibenAbgebrochen();
    }
    plaetze[genommen++] = &Holen(band);
    if (neu) {
      if (zusammengesetzt_[static_cast<size_t>(band)] == 0) {
        zusammengesetzt_[static_cast<size_t>(band)] = 1;
        ++fertigeBaender_;
        if (fertigeBaender_ == baender_ && optionen_.leerVerweigern && UnlesbareBilder() > 0 &&
            SchwarzeKacheln() == kachelnX_ * kachelnY_) {
          throw KeinBildLesbar();
        }
      }
    }
    if (band == bis) break;
  }
  ausgegeben_ += count;
  if (optionen_.fortschritt) optionen_.fortschritt(ausgegeben_, hoehe_ * optionen_.durchgaenge);
  if (erstes == letztes) {
    const Platz& platz = *plaetze[0];
    return Zeilen{platz.bild.row(first - BandAnfang(erstes)), platz.bild.stride(), count};
  }
  // A strip across two bands is put together from both.
  if (streifen_.width() != breite_ || streifen_.height() < count) {
    streifen_ = Bitmap::Uninitialized(breite_, count, kPixelformat);
  }
  for (const Platz* platz : plaetze) {
    if (platz == nullptr) continue;
    const int32_t anfang = std::max(first, BandAnfang(platz->band));
    const int32_t ende = std::min(first + count, BandAnfang(platz->band) + BandHoehe(platz->band));
    for (int32_t y = anfang; y < ende; ++y) {
      std::memcpy(streifen_.row(y - first), platz->bild.row(y - BandAnfang(platz->band)),
                  streifen_.stride());
    }
  }
  return Zeilen{streifen_.data(), streifen_.stride(), count};
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
  while (finden(band) == nullptr && !Einreihen(band, sperre)) geaendert_.wait(sperre);
  Platz& platz = *finden(band);
  for (int32_t k = 1; k <= vorlauf_; ++k) {
    const int32_t voraus = band + richtung_ * k;
    if (voraus < 0 || voraus >= baender_ || finden(voraus) != nullptr) continue;
    if (!Einreihen(voraus, sperre)) break;
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

bool Mosaikbaender::Einreihen(int32_t band, std::unique_lock<std::mutex>& sperre) {
  (void)sperre;
  // Bands from the one before the current to the last composed ahead stay; of the
  // others the one farthest behind is given up first.
  const auto abstand = [&](const Platz& platz) { return (platz.band - position_) * richtung_; };
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
    BandZeichnen(band, platz.bild);
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

void Mosaikbaender::BandZeichnen(int32_t band, Bitmap& ziel) {
  const uint8_t a = optionen_.blendwert;
  // The template alone needs no photo at all.
  if (a == 0) {
    vorlage_->Zeilen(BandAnfang(band), ziel);
    return;
  }
  KachelnZeichnen(band, ziel);
  if (a == kNurMosaik) return;
  // The template is laid over the tiles a few rows at a time, which stay in the cache
  // and are all a band needs beside itself.
  Bitmap vorlage;
  for (int32_t erste = 0; erste < ziel.height(); erste += kMischZeilen) {
    const int32_t anzahl = std::min(kMischZeilen, ziel.height() - erste);
    if (vorlage.height() != anzahl) vorlage = Bitmap::Uninitialized(breite_, anzahl, kPixelformat);
    vorlage_->Zeilen(BandAnfang(band) + erste, vorlage);
    // Working-format rows have no padding, so the rows are one run of bytes.
    BlendBytesInto(vorlage.data(), ziel.row(erste), vorlage.byteSize(), a);
  }
}

void Mosaikbaender::KachelnZeichnen(int32_t band, Bitmap& mosaik) {
  const int32_t ersteZeile = band * zeilenJeBand_;
  const int32_t zeilen = BandHoehe(band) / kachelHoehe_;
  Bitmap kachel32;
  if (angleich_) kachel32 = Bitmap::Uninitialized(kachelBreite_, kachelHoehe_, kPixelformat);
  for (int32_t ty = ersteZeile; ty < ersteZeile + zeilen; ++ty) {
    const int32_t oben = (ty - ersteZeile) * kachelHoehe_;
    for (int32_t tx = 0; tx < kachelnX_; ++tx) {
      const int32_t foto = zellen_[static_cast<size_t>(ty) * kachelnX_ + static_cast<size_t>(tx)];
      const std::shared_ptr<const Kachel> kachel =
          foto < 0 ? nullptr : KachelHolen(static_cast<size_t>(foto));
      const int32_t links = tx * kachelBreite_;
      if (!kachel) {
        // Cells without a picture stay black, as in the whole picture.
        for (int32_t y = 0; y < kachelHoehe_; ++y) {
          std::memset(mosaik.row(oben + y) + kBytesJePixel * links, 0,
                      kBytesJePixel * static_cast<size_t>(kachelBreite_));
        }
        continue;
      }
      if (!angleich_) {
        for (int32_t y = 0; y < kachelHoehe_; ++y) {
          ZeileAus24(kachel->bild.row(y), mosaik.row(oben + y) + kBytesJePixel * links,
                     kachelBreite_);
        }
        continue;
      }
      for (int32_t y = 0; y < kachelHoehe_; ++y) {
        ZeileAus24(kachel->bild.row(y), kachel32.row(y), kachelBreite_);
      }
      const Teilfarben zellFarben =
          TeilfarbenMessen(angleich_->vorlage, Zellrechteck(*angleich_, Zellort{tx + 1, ty + 1}),
                           kachel->farben.teile);
      AngeglichenEinsetzen(kachel32, kachel->farben, zellFarben, angleich_->staerke, mosaik, links,
                           oben);
    }
  }
}

std::shared_ptr<const Mosaikbaender::Kachel> Mosaikbaender::KachelHolen(size_t index) {
  std::unique_lock<std::mutex> sperre(mutex_);
  Foto& foto = fotos_[index];
  for (;;) {
    if (foto.zustand == Zustand::Da) return foto.kachel;
    if (foto.zustand == Zustand::Unlesbar) return nullptr;
    if (foto.zustand == Zustand::Leer) break;
    geaendert_.wait(sperre);  // another band reads it just now
  }
  foto.zustand = Zustand::Laeuft;
  sperre.unlock();
  std::shared_ptr<const Kachel> kachel;
  try {
    kachel = KachelMachen(foto);
  } catch (...) {
    sperre.lock();
    foto.zustand = Zustand::Leer;
    sperre.unlock();
    geaendert_.notify_all();
    throw;
  }
  sperre.lock();
  ++foto.gelesen;
  if (kachel) {
    foto.kachel = kachel;
    foto.zustand = Zustand::Da;
    gehalten_ += kachel->bild.byteSize();
    Freigeben();
  } else {
    foto.zustand = Zustand::Unlesbar;
  }
  sperre.unlock();
  geaendert_.notify_all();
  return kachel;
}

std::shared_ptr<const Mosaikbaender::Kachel> Mosaikbaender::KachelMachen(const Foto& foto) const {
  Bitmap t(kachelBreite_, kachelHoehe_);
  if (!KachelLesen(foto.verwendung->datei, *lesen_, t)) return nullptr;
  auto kachel = std::make_shared<Kachel>();
  if (angleich_) {
    kachel->farben =
        TeilfarbenMessen(t, Rect{0, 0, kachelBreite_, kachelHoehe_},
                         Angleichteile(angleich_->formanalyse, kachelBreite_, kachelHoehe_));
  }
  // Kept at three bytes a pixel: a quarter less memory for the kept tiles.
  kachel->bild = Bitmap::Uninitialized(kachelBreite_, kachelHoehe_, PixelFormat::k24);
  for (int32_t y = 0; y < kachelHoehe_; ++y)
    ZeileZu24(t.row(y), kachel->bild.row(y), kachelBreite_);
  return kachel;
}

int32_t Mosaikbaender::Abstand(const Foto& foto) const {
  // The band before the current one still counts as near: a strip may span both.
  const std::vector<int32_t>& b = foto.baender;
  if (richtung_ > 0) {
    const auto it = std::lower_bound(b.begin(), b.end(), position_ - 1);
    return it == b.end() ? kWeitWeg : *it - position_;
  }
  const auto it = std::upper_bound(b.begin(), b.end(), position_ + 1);
  return it == b.begin() ? kWeitWeg : position_ - *std::prev(it);
}

void Mosaikbaender::Freigeben() {
  while (gehalten_ > optionen_.kachelspeicher) {
    Foto* weitester = nullptr;
    int32_t weiteste = vorlauf_ + 1;
    for (Foto& foto : fotos_) {
      if (foto.zustand != Zustand::Da) continue;
      const int32_t abstand = Abstand(foto);
      if (abstand > weiteste || (abstand == weiteste && weitester == nullptr)) {
        weiteste = abstand;
        weitester = &foto;
      }
    }
    if (weitester == nullptr) return;  // all are needed within the bands in flight
    gehalten_ -= weitester->kachel->bild.byteSize();
    weitester->kachel.reset();
    weitester->zustand = Zustand::Leer;
  }
}

int32_t Mosaikbaender::UnlesbareBilder() const {
  const std::lock_guard<std::mutex> sperre(mutex_);
  return static_cast<int32_t>(std::count_if(fotos_.begin(), fotos_.end(), [](const Foto& foto) {
    return foto.zustand == Zustand::Unlesbar;
  }));
}

int32_t Mosaikbaender::SchwarzeKacheln() const {
  const std::lock_guard<std::mutex> sperre(mutex_);
  int32_t schwarz = 0;
  for (const int32_t foto : zellen_) {
    if (foto < 0 || fotos_[static_cast<size_t>(foto)].zustand == Zustand::Unlesbar) ++schwarz;
  }
  return schwarz;
}

int32_t Mosaikbaender::ErneutGelesen() const {
  const std::lock_guard<std::mutex> sperre(mutex_);
  int32_t erneut = 0;
  for (const Foto& foto : fotos_) erneut += std::max(foto.gelesen - 1, 0);
  return erneut;
}

void BaenderWeitergeben(
    Mosaikbaender& baender,
    const std::function<void(int32_t erste, const Zeilen& zeilen)>& empfaenger) {
  for (int32_t erste = 0; erste < baender.height(); erste += kStreifenZeilen) {
    empfaenger(erste, baender.Streifen(erste, std::min(kStreifenZeilen, baender.height() - erste)));
  }
}

Verwendungsliste VerwendungAusRaster(const Auftrag& auftrag) {
  Verwendungsliste verwendung;
  const Zellenraster* raster = auftrag.einstellungen.Raster.get();
  if (raster == nullptr) return verwendung;
  for (int x = 1; x <= raster->kachelnX(); ++x) {
    for (int y = 1; y <= raster->kachelnY(); ++y) {
      const int32_t bild = raster->at(x, y).Bild;
      if (bild < 0 || static_cast<size_t>(bild) >= auftrag.Dateiliste.size()) continue;
      const std::string& datei = auftrag.Dateiliste[static_cast<size_t>(bild)];
      const size_t k = verwendung.Finden(datei);
      if (k == Verwendungsliste::kNichtGefunden) {
        verwendung.Hinzufuegen(datei, Zellort{x, y});
      } else {
        verwendung.ZelleAnfuegen(k, Zellort{x, y});
      }
    }
  }
  return verwendung;
}

}  // namespace tilvendo
