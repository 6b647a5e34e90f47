#include "platform/utf8.h"

#include <cstddef>
#include <cstdint>

namespace tilvendo {
namespace {

// Windows-1252 characters 0x80..0x9F as Unicode code points (0 = undefined there).
constexpr char32_t kWindows1252Bereich80[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
constexpr unsigned char kBereich80Anfang = 0x80;
constexpr unsigned char kBereich80Ende = 0x9F;
constexpr char32_t kErsatzzeichen = 0xFFFD;
constexpr char32_t kGroesstesZeichen = 0x10FFFF;
constexpr char32_t kSurrogatAnfang = 0xD800;
constexpr char32_t kSurrogatEnde = 0xDFFF;

void Utf8Anhaengen(std::string& ziel, char32_t zeichen) {
  if (zeichen < 0x80) {
    ziel += static_cast<char>(zeichen);
  } else if (zeichen < 0x800) {
    ziel += static_cast<char>(0xC0 | (zeichen >> 6));
    ziel += static_cast<char>(0x80 | (zeichen & 0x3F));
  } else {
    ziel += static_cast<char>(0xE0 | (zeichen >> 12));
    ziel += static_cast<char>(0x80 | ((zeichen >> 6) & 0x3F));
    ziel += static_cast<char>(0x80 | (zeichen & 0x3F));
  }
}

void Windows1252Anhaengen(std::string& ziel, unsigned char byte) {
  if (byte >= kBereich80Anfang && byte <= kBereich80Ende) {
    const char32_t zeichen = kWindows1252Bereich80[byte - kBereich80Anfang];
    Utf8Anhaengen(ziel, zeichen != 0 ? zeichen : kErsatzzeichen);
  } else {
    Utf8Anhaengen(ziel, byte);
  }
}

// The length of the valid UTF-8 sequence at `i`, or 0 when none begins there.
size_t Sequenzlaenge(std::string_view text, size_t i) {
  const auto byte = static_cast<unsigned char>(text[i]);
  if (byte < 0x80) return 1;
  size_t folgebytes = 0;
  char32_t zeichen = 0;
  char32_t kleinstes = 0;
  if ((byte & 0xE0) == 0xC0) {
    folgebytes = 1;
    zeichen = byte & 0x1F;
    kleinstes = 0x80;
  } else if ((byte & 0xF0) == 0xE0) {
    folgebytes = 2;
    zeichen = byte & 0x0F;
    kleinstes = 0x800;
  } else if ((byte & 0xF8) == 0xF0) {
    folgebytes = 3;
    zeichen = byte & 0x07;
    kleinstes = 0x10000;
  } else {
    return 0;
  }
  if (i + folgebytes >= text.size()) return 0;
  for (size_t k = 1; k <= folgebytes; ++k) {
    const auto folge = static_cast<unsigned char>(text[i + k]);
    if ((folge & 0xC0) != 0x80) return 0;
    zeichen = (zeichen << 6) | (folge & 0x3F);
  }
  if (zeichen < kleinstes || zeichen > kGroesstesZeichen ||
      (zeichen >= kSurrogatAnfang && zeichen <= kSurrogatEnde)) {
    return 0;
  }
  return folgebytes + 1;
}

}  // namespace

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t laenge = Sequenzlaenge(text, i);
    if (laenge == 0) return false;
    i += laenge;
  }
  return true;
}

std::string FromWindows1252(std::string_view text) {
  std::string ergebnis;
  ergebnis.reserve(text.size() * 2);
  for (const char c : text) Windows1252Anhaengen(ergebnis, static_cast<unsigned char>(c));
  return ergebnis;
}

std::string AsUtf8(std::string_view text) {
  std::string ergebnis;
  ergebnis.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t laenge = Sequenzlaenge(text, i);
    if (laenge == 0) {
      Windows1252Anhaengen(ergebnis, static_cast<unsigned char>(text[i]));
      ++i;
    } else {
      ergebnis.append(text.substr(i, laenge));
      i += laenge;
    }
  }
  return ergebnis;
}

}  // namespace tilvendo
