#include "pictures/exif_ausrichtung.h"

#include <algorithm>
#include <array>

namespace tilvendo {
namespace {

constexpr std::array<uint8_t, 6> kExifVorsatz = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint16_t kTiffKennung = 42;
constexpr uint16_t kTagAusrichtung = 0x0112;
constexpr uint16_t kTypShort = 3;
constexpr size_t kKopfBytes = 8;
constexpr size_t kEintragBytes = 12;

// Reads of either byte order that give nothing outside the block.
class Leser {
 public:
  Leser(std::span<const uint8_t> bytes, bool grossEndian)
      : bytes_(bytes), grossEndian_(grossEndian) {}

  std::optional<uint32_t> Wert(uint64_t stelle, int breite) const {
    if (stelle > bytes_.size() || static_cast<uint64_t>(breite) > bytes_.size() - stelle) {
      return std::nullopt;
    }
    uint32_t wert = 0;
    for (int i = 0; i < breite; ++i) {
      const uint32_t byte = bytes_[stelle + (grossEndian_ ? i : breite - 1 - i)];
      wert = (wert << 8) | byte;
    }
    return wert;
  }

 private:
  std::span<const uint8_t> bytes_;
  bool grossEndian_;
};

}  // namespace

std::optional<Ausrichtung> ExifAusrichtung(std::span<const uint8_t> exif) {
  if (exif.size() >= kExifVorsatz.size() &&
      std::equal(kExifVorsatz.begin(), kExifVorsatz.end(), exif.begin())) {
    exif = exif.subspan(kExifVorsatz.size());
  }
  if (exif.size() < kKopfBytes || exif[0] != exif[1] || (exif[0] != 'I' && exif[0] != 'M')) {
    return std::nullopt;
  }
  const Leser leser(exif, exif[0] == 'M');
  if (leser.Wert(2, 2) != kTiffKennung) return std::nullopt;
  const std::optional<uint32_t> verzeichnis = leser.Wert(4, 4);
  if (!verzeichnis) return std::nullopt;
  const std::optional<uint32_t> anzahl = leser.Wert(*verzeichnis, 2);
  if (!anzahl) return std::nullopt;
  for (uint32_t i = 0; i < *anzahl; ++i) {
    const uint64_t eintrag = *verzeichnis + 2 + static_cast<uint64_t>(i) * kEintragBytes;
    const std::optional<uint32_t> tag = leser.Wert(eintrag, 2);
    if (!tag) return std::nullopt;  // the directory runs past the block
    if (*tag != kTagAusrichtung) continue;
    if (leser.Wert(eintrag + 2, 2) != kTypShort || leser.Wert(eintrag + 4, 4) != 1u) {
      return std::nullopt;
    }
    // A single short lies in the first two bytes of the value field.
    const std::optional<uint32_t> wert = leser.Wert(eintrag + 8, 2);
    return wert ? AusrichtungVonWert(*wert) : std::nullopt;
  }
  return std::nullopt;
}

}  // namespace tilvendo
