#include "platform/translate.h"

#include <libintl.h>

#include <cstring>

namespace tilvendo {
namespace {

// gettext keeps a text with context as "context\4text" (the EOT byte between them).
constexpr char kContextSeparator = '\4';
constexpr size_t kDecimalBase = 10;

}  // namespace

const char* _(const char* text) {
  // An empty key would give the catalogue's header.
  if (*text == '\0') return text;
  return ::dgettext(kTextdomain, text);
}

const char* P_(const char* context, const char* text) {
  std::string key = std::string(context) + kContextSeparator + text;
  const char* translation = ::dgettext(kTextdomain, key.c_str());
  // Without a translation gettext hands back the key it was given, which dies with it.
  return translation == key.c_str() ? text : translation;
}

const char* NG_(const char* singular, const char* plural, uint64_t n) {
  return ::dngettext(kTextdomain, singular, plural, static_cast<unsigned long>(n));
}

std::string FormatArgs(std::string_view pattern, const std::string_view* args, size_t count) {
  std::string result;
  result.reserve(pattern.size());
  size_t next = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if ((c == '{' || c == '}') && i + 1 < pattern.size() && pattern[i + 1] == c) {
      result += c;
      ++i;
      continue;
    }
    if (c == '{') {
      const size_t close = pattern.find('}', i);
      const std::string_view inside =
          close == std::string_view::npos ? std::string_view() : pattern.substr(i + 1, close - i - 1);
      bool digits = close != std::string_view::npos;
      size_t index = 0;
      for (char d : inside) {
        digits = digits && d >= '0' && d <= '9';
        if (digits) index = index * kDecimalBase + static_cast<size_t>(d - '0');
      }
      if (digits && inside.empty()) index = next++;
      if (digits && index < count) {
        result += args[index];
        i = close;
        continue;
      }
    }
    result += c;
  }
  return result;
}

}  // namespace tilvendo
