// Texts the user sees, in the user's language (GNU gettext). The German text in the
// source is the key of the catalogues in po/ and the text shown where no catalogue has a
// translation; every text marked with these helpers is collected by werkzeuge/katalog.sh.
// Which language the catalogues speak is chosen once at start (platform/sprache.h).
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace tilvendo {

// The text domain: the name of the catalogue files (nubo-tilvendo.mo).
inline constexpr const char* kTextdomain = "nubo-tilvendo";

// The translation of `text`, or `text` itself (also for an empty one).
const char* _(const char* text);

// The same for a short text that needs `context` to be translated right.
const char* P_(const char* context, const char* text);

// The singular or plural form for the count `n` ("{} Bild", "{} Bilder").
const char* NG_(const char* singular, const char* plural, uint64_t n);

// Marks a text kept in a table for the catalogue; its user translates it with _().
constexpr const char* N_(const char* text) {
  return text;
}

// `pattern` with its placeholders filled in: "{}" takes the next argument, "{0}", "{1}" …
// a given one, so that a translation can put them in another order; "{{" and "}}" stand
// for braces. A placeholder without an argument stays as it is.
std::string FormatArgs(std::string_view pattern, const std::string_view* args, size_t count);

namespace format_detail {
inline std::string AsText(std::string_view text) {
  return std::string(text);
}
inline std::string AsText(const char* text) {
  return text;
}
inline std::string AsText(const std::string& text) {
  return text;
}
template <std::integral T>
std::string AsText(T number) {
  return std::to_string(number);
}
}  // namespace format_detail

template <typename... Args>
std::string Format(std::string_view pattern, const Args&... args) {
  const std::array<std::string, sizeof...(Args)> texts{format_detail::AsText(args)...};
  std::array<std::string_view, sizeof...(Args)> views{};
  for (size_t i = 0; i < texts.size(); ++i) views[i] = texts[i];
  return FormatArgs(pattern, views.data(), views.size());
}

}  // namespace tilvendo
