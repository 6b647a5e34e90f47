#include "platform/json_text.h"

#include <cstdint>
#include <cstdio>

namespace tilvendo {
namespace {

constexpr char32_t kErsatzzeichen = 0xFFFD;
constexpr char32_t kZeilentrenner = 0x2028;
constexpr char32_t kAbsatztrenner = 0x2029;

// The length of the valid UTF-8 sequence at `i` and its code point; 0 for none.
size_t Sequenz(std::string_view s, size_t i, char32_t& zeichen) {
  const auto b = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  const uint8_t erstes = b(i);
  if (erstes < 0x80) {
    zeichen = erstes;
    return 1;
  }
  size_t laenge = 0;
  char32_t mindestens = 0;
  if ((erstes & 0xE0) == 0xC0) {
    laenge = 2, zeichen = erstes & 0x1F, mindestens = 0x80;
  } else if ((erstes & 0xF0) == 0xE0) {
    laenge = 3, zeichen = erstes & 0x0F, mindestens = 0x800;
  } else if ((erstes & 0xF8) == 0xF0) {
    laenge = 4, zeichen = erstes & 0x07, mindestens = 0x10000;
  } else {
    return 0;
  }
  if (i + laenge > s.size()) return 0;
  for (size_t k = 1; k < laenge; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    zeichen = (zeichen << 6) | (b(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and code points beyond Unicode are not text.
  if (zeichen < mindestens || (zeichen >= 0xD800 && zeichen <= 0xDFFF) || zeichen > 0x10FFFF) {
    return 0;
  }
  return laenge;
}

void Escape(std::string& aus, char32_t zeichen) {
  char text[8];
  std::snprintf(text, sizeof(text), "\\u%04X", static_cast<unsigned>(zeichen));
  aus += text;
}

}  // namespace

std::string JsonString(std::string_view bytes) {
  std::string aus = "\"";
  for (size_t i = 0; i < bytes.size();) {
    char32_t zeichen = 0;
    const size_t laenge = Sequenz(bytes, i, zeichen);
    if (laenge == 0) {
      Escape(aus, kErsatzzeichen);
      ++i;
      continue;
    }
    const bool heikel = zeichen < 0x20 || zeichen == '"' || zeichen == '\\' || zeichen == '<' ||
                        zeichen == '>' || zeichen == '&' || zeichen == '\'' ||
                        zeichen == kZeilentrenner || zeichen == kAbsatztrenner;
    if (heikel) {
      Escape(aus, zeichen);
    } else {
      aus.append(bytes.substr(i, laenge));
    }
    i += laenge;
  }
  aus += '"';
  return aus;
}

std::string PercentEncoded(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string aus;
  for (const char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    const bool frei = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                      b == '-' || b == '.' || b == '_' || b == '~' || b == '/';
    if (frei) {
      aus += c;
    } else {
      aus += '%';
      aus += kHex[b >> 4];
      aus += kHex[b & 0xF];
    }
  }
  return aus;
}

}  // namespace tilvendo
