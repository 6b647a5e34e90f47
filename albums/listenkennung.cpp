#include "albums/listenkennung.h"

#include <charconv>

namespace tilvendo {
namespace {

constexpr uint64_t kFnvFaktor = 1099511628211ULL;
constexpr int kHexBasis = 16;
constexpr size_t kHexStellen = 16;
// Ends every line, so that "ab","c" and "a","bc" differ. No line can hold it.
constexpr char kZeilenende = '\n';

uint64_t Einmischen(uint64_t summe, char zeichen) {
  return (summe ^ static_cast<unsigned char>(zeichen)) * kFnvFaktor;
}

}  // namespace

Listenkennung ListenkennungBilden(const std::vector<std::string>& zeilen) {
  Listenkennung kennung;
  kennung.zeilen = static_cast<int64_t>(zeilen.size());
  kennung.pruefsumme = kPruefsummeAnfang;
  for (const std::string& zeile : zeilen) {
    for (const char zeichen : zeile) kennung.pruefsumme = Einmischen(kennung.pruefsumme, zeichen);
    kennung.pruefsumme = Einmischen(kennung.pruefsumme, kZeilenende);
  }
  return kennung;
}

uint64_t PruefsummeFortsetzen(uint64_t bisher, std::string_view bytes) {
  for (const char zeichen : bytes) bisher = Einmischen(bisher, zeichen);
  return bisher;
}

std::string PruefsummeAlsText(uint64_t pruefsumme) {
  std::string text(kHexStellen, '0');
  static constexpr char kZiffern[] = "0123456789ABCDEF";
  for (size_t stelle = kHexStellen; stelle-- > 0; pruefsumme /= kHexBasis) {
    text[stelle] = kZiffern[pruefsumme % kHexBasis];
  }
  return text;
}

std::optional<uint64_t> PruefsummeLesen(std::string_view text) {
  if (text.size() != kHexStellen) return std::nullopt;
  uint64_t wert = 0;
  const auto [ende, fehler] =
      std::from_chars(text.data(), text.data() + text.size(), wert, kHexBasis);
  if (fehler != std::errc{} || ende != text.data() + text.size()) return std::nullopt;
  return wert;
}

}  // namespace tilvendo
