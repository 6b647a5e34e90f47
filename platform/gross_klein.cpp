#include "platform/gross_klein.h"

#include <cstdint>

namespace tilvendo {
namespace {

// UTF-8 lead byte of the Latin-1 letters U+00C0..U+00FF.
constexpr unsigned char kLatin1Lead = 0xC3;
// Second bytes of À..Þ (upper case) and the distance to their lower-case forms.
constexpr unsigned char kGrossAnfang = 0x80;
constexpr unsigned char kGrossEnde = 0x9E;
constexpr unsigned char kMalZeichen = 0x97;  // "×" has no lower case
constexpr unsigned char kKleinAbstand = 0x20;

// Base letters of the lower-case Latin-1 letters à..ÿ (second byte 0xA0..0xBF),
// '\0' for the few that are no letters. "ß" is handled separately.
constexpr char kGrundbuchstaben[] = "aaaaaaaceeeeiiiidnooooo\0ouuuuyty";
constexpr unsigned char kKleinAnfang = 0xA0;
constexpr unsigned char kScharfesS = 0x9F;

// Primary sort key: lower case, accented letters as their base letter, "ß" as "ss".
std::string Sortierschluessel(std::string_view text) {
  const std::string klein = KleinGeschrieben(text);
  std::string schluessel;
  schluessel.reserve(klein.size());
  for (size_t i = 0; i < klein.size(); ++i) {
    const auto byte = static_cast<unsigned char>(klein[i]);
    if (byte == kLatin1Lead && i + 1 < klein.size()) {
      const auto zweites = static_cast<unsigned char>(klein[i + 1]);
      if (zweites == kScharfesS) {
        schluessel += "ss";
        ++i;
        continue;
      }
      if (zweites >= kKleinAnfang && zweites <= 0xBF) {
        const char grund = kGrundbuchstaben[zweites - kKleinAnfang];
        if (grund != '\0') {
          schluessel += grund;
          ++i;
          continue;
        }
      }
    }
    schluessel += klein[i];
  }
  return schluessel;
}

}  // namespace

std::string KleinGeschrieben(std::string_view text) {
  std::string result(text);
  for (size_t i = 0; i < result.size(); ++i) {
    const auto byte = static_cast<unsigned char>(result[i]);
    if (byte >= 'A' && byte <= 'Z') {
      result[i] = static_cast<char>(byte + kKleinAbstand);
    } else if (byte == kLatin1Lead && i + 1 < result.size()) {
      const auto zweites = static_cast<unsigned char>(result[i + 1]);
      if (zweites >= kGrossAnfang && zweites <= kGrossEnde && zweites != kMalZeichen) {
        result[i + 1] = static_cast<char>(zweites + kKleinAbstand);
      }
      ++i;
    }
  }
  return result;
}

bool GleichOhneGrossKlein(std::string_view a, std::string_view b) {
  return a.size() == b.size() && KleinGeschrieben(a) == KleinGeschrieben(b);
}

bool VorOhneGrossKlein(std::string_view a, std::string_view b) {
  const std::string schluesselA = Sortierschluessel(a);
  const std::string schluesselB = Sortierschluessel(b);
  if (schluesselA != schluesselB) return schluesselA < schluesselB;
  const std::string kleinA = KleinGeschrieben(a);
  const std::string kleinB = KleinGeschrieben(b);
  if (kleinA != kleinB) return kleinA < kleinB;
  return a < b;
}

}  // namespace tilvendo
