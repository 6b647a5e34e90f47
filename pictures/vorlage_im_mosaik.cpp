#include "pictures/vorlage_im_mosaik.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

#include "pictures/bild_einpassen.h"
#include "platform/stretch_copy.h"

namespace tilvendo {
namespace {

// Interpolation weights in 256ths.
constexpr int64_t kGewichtStufen = 256;
constexpr int kGewichtBits = 8;
constexpr uint32_t kRunden = 128;

// One run of bytes between two rows: out = a + (b − a) × w, w in 256ths, rounded.
// a × (256 − w) + b × w + 128 ≤ 255 × 256 + 128, so every step fits 16 bits, which lets
// the compiler handle twice as many bytes per vector step.
void Mischen(const uint8_t* __restrict a, const uint8_t* __restrict b, uint8_t* __restrict out,
             size_t anzahl, uint32_t w) {
  const auto wb = static_cast<uint16_t>(w);
  const auto wa = static_cast<uint16_t>(kGewichtStufen - w);
  for (size_t i = 0; i < anzahl; ++i) {
    const auto summe = static_cast<uint16_t>(a[i] * wa + b[i] * wb + kRunden);
    out[i] = static_cast<uint8_t>(summe >> kGewichtBits);
  }
}

}  // namespace

Stuetzstellen BilinearStellen(int32_t quelle, int32_t ziel) {
  Stuetzstellen stellen;
  stellen.index.resize(static_cast<size_t>(std::max(ziel, 0)));
  stellen.gewicht.resize(stellen.index.size());
  const int64_t letzte = (static_cast<int64_t>(quelle) - 1) * kGewichtStufen;
  for (int32_t d = 0; d < ziel; ++d) {
    // (d + 0.5) × quelle / ziel − 0.5 in 256ths, held within the source.
    const int64_t s = (2 * static_cast<int64_t>(d) + 1) * quelle * kGewichtStufen /
                          (2 * static_cast<int64_t>(ziel)) -
                      kGewichtStufen / 2;
    const int64_t gehalten = std::clamp<int64_t>(s, 0, std::max<int64_t>(letzte, 0));
    stellen.index[static_cast<size_t>(d)] = static_cast<int32_t>(gehalten >> kGewichtBits);
    stellen.gewicht[static_cast<size_t>(d)] = static_cast<uint8_t>(gehalten & (kGewichtStufen - 1));
  }
  return stellen;
}

VorlageImMosaik::VorlageImMosaik(const Bitmap& vorlage, int32_t breite, int32_t hoehe,
                                 Vorlagenskalierung art)
    : vorlage_(vorlage), breite_(breite), hoehe_(hoehe), art_(art) {
  if (vorlage.empty() || breite <= 0 || hoehe <= 0) return;
  if (art == Vorlagenskalierung::WieGanz) {
    // Staged reduction has to see the whole template; its last stage is the mosaic's
    // size anyway, so this is the one full-size copy the exact way may hold.
    if (!EinpassStufen(vorlage.width(), vorlage.height(), breite, hoehe).empty()) {
      kopie_ = Bitmap::Uninitialized(breite, hoehe, kPixelformat);
      BildEinpassen(kopie_, Rect{0, 0, breite, hoehe}, vorlage);
      quelle_ = &kopie_;
    }
    return;
  }
  // Bilinear: never larger than the mosaic along either axis, so the interpolation only
  // ever enlarges; a larger template is reduced in stages first.
  const int32_t w = std::min(vorlage.width(), breite);
  const int32_t h = std::min(vorlage.height(), hoehe);
  if (w != vorlage.width() || h != vorlage.height() || vorlage.format() != kPixelformat) {
    kopie_ = Bitmap::Uninitialized(w, h, kPixelformat);
    BildEinpassen(kopie_, Rect{0, 0, w, h}, vorlage);
    quelle_ = &kopie_;
  } else {
    quelle_ = &vorlage;
  }
  Stuetzstellen spalten = BilinearStellen(w, breite);
  spalten_ = std::move(spalten.index);
  spaltenGewichte_ = std::move(spalten.gewicht);
  Stuetzstellen zeilen = BilinearStellen(h, hoehe);
  zeilen_ = std::move(zeilen.index);
  zeilenGewichte_ = std::move(zeilen.gewicht);
}

void VorlageImMosaik::Zeilen(int32_t first, Bitmap& ziel) const {
  if (ziel.width() != breite_ || ziel.format() != kPixelformat) {
    throw std::invalid_argument("VorlageImMosaik: Zeilen passen nicht zum Mosaik");
  }
  const int32_t anzahl = ziel.height();
  if (vorlage_.empty() || anzahl <= 0) {
    if (!ziel.empty()) std::memset(ziel.data(), 0, ziel.byteSize());
    return;
  }
  if (art_ == Vorlagenskalierung::Bilinear) {
    const auto von = static_cast<size_t>(first);
    const auto anzahlZeilen = static_cast<size_t>(anzahl);
    Bilinear(spalten_, spaltenGewichte_, std::span(zeilen_).subspan(von, anzahlZeilen),
             std::span(zeilenGewichte_).subspan(von, anzahlZeilen), ziel);
    return;
  }
  if (quelle_ != nullptr) {
    for (int32_t i = 0; i < anzahl; ++i) {
      std::memcpy(ziel.row(i), quelle_->row(first + i), ziel.stride());
    }
    return;
  }
  // The strip is the part of the whole stretched template that falls on these rows:
  // the rectangle starts `first` rows above the strip and is clipped to it.
  StretchCopy(vorlage_, ziel, Rect{0, -first, breite_, hoehe_ - first});
}

void VorlageImMosaik::Abtasten(std::span<const int32_t> spalten, std::span<const int32_t> zeilen,
                               Bitmap& ziel) const {
  const auto innen = [](std::span<const int32_t> stellen, int32_t grenze) {
    return std::all_of(stellen.begin(), stellen.end(),
                       [grenze](int32_t s) { return s >= 0 && s < grenze; });
  };
  if (ziel.width() != static_cast<int32_t>(spalten.size()) ||
      ziel.height() != static_cast<int32_t>(zeilen.size()) || ziel.format() != kPixelformat ||
      !innen(spalten, breite_) || !innen(zeilen, hoehe_)) {
    throw std::invalid_argument("VorlageImMosaik: Stellen liegen nicht im Mosaik");
  }
  if (ziel.empty()) return;
  if (vorlage_.empty()) {
    std::memset(ziel.data(), 0, ziel.byteSize());
    return;
  }
  if (art_ == Vorlagenskalierung::Bilinear) {
    std::vector<int32_t> links(spalten.size());
    std::vector<uint8_t> rechtsGewicht(spalten.size());
    for (size_t i = 0; i < spalten.size(); ++i) {
      links[i] = spalten_[static_cast<size_t>(spalten[i])];
      rechtsGewicht[i] = spaltenGewichte_[static_cast<size_t>(spalten[i])];
    }
    std::vector<int32_t> oben(zeilen.size());
    std::vector<uint8_t> untenGewicht(zeilen.size());
    for (size_t i = 0; i < zeilen.size(); ++i) {
      oben[i] = zeilen_[static_cast<size_t>(zeilen[i])];
      untenGewicht[i] = zeilenGewichte_[static_cast<size_t>(zeilen[i])];
    }
    Bilinear(links, rechtsGewicht, oben, untenGewicht, ziel);
    return;
  }
  // The exact way: whole rows as Zeilen makes them, each read once, then the columns.
  Bitmap zeile = Bitmap::Uninitialized(breite_, 1, kPixelformat);
  int32_t gelesen = -1;
  for (size_t i = 0; i < zeilen.size(); ++i) {
    if (zeilen[i] != gelesen) {
      Zeilen(zeilen[i], zeile);
      gelesen = zeilen[i];
    }
    uint8_t* nach = ziel.row(static_cast<int32_t>(i));
    for (size_t k = 0; k < spalten.size(); ++k) {
      std::memcpy(nach + kBytesJePixel * k,
                  zeile.row(0) + kBytesJePixel * static_cast<size_t>(spalten[k]), kBytesJePixel);
    }
  }
}

void VorlageImMosaik::Bilinear(std::span<const int32_t> spalten,
                               std::span<const uint8_t> spaltenGewichte,
                               std::span<const int32_t> zeilen,
                               std::span<const uint8_t> zeilenGewichte, Bitmap& ziel) const {
  const Bitmap& quelle = *quelle_;
  const int32_t unterste = quelle.height() - 1;
  const int32_t rechts = quelle.width() - 1;
  const size_t bytes = kBytesJePixel * spalten.size();
  // Two source rows enlarged across at a time, the pair the output row lies between;
  // with rows ascending each source row is enlarged once.
  struct Quer {
    int32_t zeile = -1;
    std::vector<uint8_t> bytes;
  };
  std::array<Quer, 2> quer;
  const auto holen = [&](int32_t y, int32_t behalten) -> const uint8_t* {
    for (const Quer& q : quer) {
      if (q.zeile == y) return q.bytes.data();
    }
    Quer& q = quer[0].zeile == behalten ? quer[1] : quer[0];
    q.zeile = y;
    q.bytes.resize(bytes);
    const uint8_t* von = quelle.row(y);
    for (size_t x = 0; x < spalten.size(); ++x) {
      const int32_t links = spalten[x];
      const uint8_t* a = von + kBytesJePixel * static_cast<size_t>(links);
      const uint8_t* b = von + kBytesJePixel * static_cast<size_t>(std::min(links + 1, rechts));
      const uint32_t w = spaltenGewichte[x];
      const uint32_t wa = kGewichtStufen - w;
      uint8_t* p = q.bytes.data() + kBytesJePixel * x;
      for (size_t k = 0; k < kBytesJePixel; ++k) {
        p[k] = static_cast<uint8_t>((a[k] * wa + b[k] * w + kRunden) >> kGewichtBits);
      }
    }
    return q.bytes.data();
  };
  for (size_t i = 0; i < zeilen.size(); ++i) {
    const int32_t oben = zeilen[i];
    const int32_t unten = std::min(oben + 1, unterste);
    const uint8_t* a = holen(oben, unten);
    const uint8_t* b = holen(unten, oben);
    Mischen(a, b, ziel.row(static_cast<int32_t>(i)), bytes, zeilenGewichte[i]);
  }
}

}  // namespace tilvendo
