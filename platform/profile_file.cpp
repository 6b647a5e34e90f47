#include "platform/profile_file.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <unordered_set>

#include "platform/atomic_file.h"
#include "platform/gross_klein.h"
#include "platform/utf8.h"

namespace tilvendo {
namespace {

constexpr std::string_view kZeilenende = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLeerraum = " \t";
constexpr std::string_view kHexPraefix = "0x";
constexpr int kHexBasis = 16;
constexpr int kDezimalBasis = 10;

std::string_view Trim(std::string_view text) {
  const size_t anfang = text.find_first_not_of(kLeerraum);
  if (anfang == std::string_view::npos) return {};
  const size_t ende = text.find_last_not_of(kLeerraum);
  return text.substr(anfang, ende - anfang + 1);
}

std::vector<std::string> ZeilenLesen(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string inhalt((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string_view rest(inhalt);
  // Every leading mark, not just one: Save() writes none, so a second mark left on the
  // first line would hide it now and let it count after the next save.
  while (rest.starts_with(kByteOrderMark)) rest.remove_prefix(kByteOrderMark.size());
  std::vector<std::string> zeilen;
  while (!rest.empty()) {
    const size_t ende = rest.find_first_of("\r\n");
    std::string_view zeile = rest.substr(0, ende);
    zeilen.emplace_back(IsUtf8(zeile) ? std::string(zeile) : FromWindows1252(zeile));
    if (ende == std::string_view::npos) break;
    const size_t weiter = rest.substr(ende).starts_with(kZeilenende) ? ende + 2 : ende + 1;
    rest.remove_prefix(weiter);
  }
  return zeilen;
}

// A value of at most kProfileValueMaxLength bytes, not cut inside a character.
std::string Gekuerzt(std::string_view value) {
  if (value.size() <= kProfileValueMaxLength) return std::string(value);
  size_t laenge = kProfileValueMaxLength;
  while (laenge > 0 && (static_cast<unsigned char>(value[laenge]) & 0xC0) == 0x80) --laenge;
  return std::string(value.substr(0, laenge));
}

bool HatSteuerzeichen(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return true;
  }
  return false;
}

std::string OhneSteuerzeichen(std::string_view value) {
  std::string result(value);
  for (char& c : result) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = ' ';
  }
  return result;
}

std::optional<int32_t> AlsZahl(std::string_view text) {
  text = Trim(text);
  bool negativ = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negativ = text.front() == '-';
    text.remove_prefix(1);
  }
  int basis = kDezimalBasis;
  if (text.size() > kHexPraefix.size() && (text.starts_with("0x") || text.starts_with("0X"))) {
    basis = kHexBasis;
    text.remove_prefix(kHexPraefix.size());
  }
  if (text.empty()) return std::nullopt;
  uint64_t betrag = 0;
  const auto [ende, fehler] =
      std::from_chars(text.data(), text.data() + text.size(), betrag, basis);
  if (fehler != std::errc() || ende != text.data() + text.size()) return std::nullopt;
  if (basis == kHexBasis) {
    // Hexadecimal values are 32-bit patterns: 0xFFFFFFFF is -1.
    if (betrag > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    const auto muster = static_cast<int32_t>(static_cast<uint32_t>(betrag));
    return negativ ? static_cast<int32_t>(0u - static_cast<uint32_t>(muster)) : muster;
  }
  const int64_t wert = negativ ? -static_cast<int64_t>(betrag) : static_cast<int64_t>(betrag);
  if (betrag > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) ||
      wert < std::numeric_limits<int32_t>::min() || wert > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(wert);
}

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

ProfileFile ProfileFile::Load(std::string path) {
  ProfileFile profile(std::move(path));
  for (std::string& text : ZeilenLesen(profile.path_)) {
    const std::string_view inhalt = Trim(text);
    if (inhalt.starts_with('[')) {
      const size_t schluss = inhalt.find(']');
      if (schluss != std::string_view::npos) {
        Section section;
        section.name = std::string(Trim(inhalt.substr(1, schluss - 1)));
        section.header = text;
        profile.sections_.push_back(std::move(section));
        continue;
      }
    }
    Line line;
    const size_t gleich = inhalt.find('=');
    if (gleich != std::string_view::npos) {
      line.key = std::string(Trim(inhalt.substr(0, gleich)));
      line.value = std::string(Trim(inhalt.substr(gleich + 1)));
    }
    line.text = std::move(text);
    if (profile.sections_.empty()) {
      profile.preamble_.push_back(std::move(line.text));
    } else {
      profile.sections_.back().lines.push_back(std::move(line));
    }
  }
  return profile;
}

const ProfileFile::Section* ProfileFile::FindSection(std::string_view name) const {
  for (const Section& section : sections_) {
    if (GleichOhneGrossKlein(section.name, name)) return &section;
  }
  return nullptr;
}

ProfileFile::Section* ProfileFile::FindSection(std::string_view name) {
  return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

std::optional<std::string> ProfileFile::Read(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (found == nullptr) return std::nullopt;
  for (const Line& line : found->lines) {
    if (!line.key.empty() && GleichOhneGrossKlein(line.key, key)) return Gekuerzt(line.value);
  }
  return std::nullopt;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
  std::optional<std::string> value = Read(section, key);
  return value ? std::move(*value) : std::string(fallback);
}

int32_t ProfileFile::ReadInteger(std::string_view section, std::string_view key,
                                 int32_t fallback) const {
  const std::optional<std::string> value = Read(section, key);
  if (!value) return fallback;
  return AlsZahl(*value).value_or(fallback);
}

bool ProfileFile::HasSection(std::string_view section) const {
  return FindSection(section) != nullptr;
}

std::vector<std::pair<std::string, std::string>> ProfileFile::Entries(
    std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> entries;
  const Section* found = FindSection(section);
  if (found == nullptr) return entries;
  std::unordered_set<std::string> gesehen;
  for (const Line& line : found->lines) {
    if (line.key.empty() || !gesehen.insert(KleinGeschrieben(line.key)).second) continue;
    entries.emplace_back(line.key, Gekuerzt(line.value));
  }
  return entries;
}

std::vector<std::pair<std::string, std::string>> ProfileFile::ValuesInEverySection(
    std::string_view key) const {
  std::vector<std::pair<std::string, std::string>> values;
  for (const Section& section : sections_) {
    for (const Line& line : section.lines) {
      if (!line.key.empty() && GleichOhneGrossKlein(line.key, key)) {
        values.emplace_back(section.name, Gekuerzt(line.value));
        break;
      }
    }
  }
  return values;
}

std::vector<std::string> ProfileFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  for (auto& entry : Entries(section)) keys.push_back(std::move(entry.first));
  return keys;
}

bool ProfileFile::IsStorableSectionName(std::string_view name) {
  return !name.empty() && !HatSteuerzeichen(name) && name.find(']') == std::string_view::npos &&
         name.front() != '[' && Trim(name).size() == name.size();
}

bool ProfileFile::IsStorableKeyName(std::string_view name) {
  return IsStorableSectionName(name) && name.find('=') == std::string_view::npos;
}

void ProfileFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  if (!IsStorableSectionName(section)) {
    throw std::invalid_argument("Ungültiger Abschnittsname: " + std::string(section));
  }
  if (!IsStorableKeyName(key)) {
    throw std::invalid_argument("Ungültiger Schlüssel: " + std::string(key));
  }
  Line neu;
  neu.key = std::string(key);
  neu.value = std::string(Trim(OhneSteuerzeichen(value)));
  neu.text = neu.key + "=" + neu.value;

  Section* found = FindSection(section);
  if (found == nullptr) {
    Section angehaengt;
    angehaengt.name = std::string(section);
    angehaengt.header = "[" + angehaengt.name + "]";
    angehaengt.lines.push_back(std::move(neu));
    sections_.push_back(std::move(angehaengt));
    return;
  }
  for (Line& line : found->lines) {
    if (!line.key.empty() && GleichOhneGrossKlein(line.key, key)) {
      line = std::move(neu);
      return;
    }
  }
  // After the last line with content, so that blank lines between sections stay there.
  auto position = found->lines.end();
  while (position != found->lines.begin() && Trim(std::prev(position)->text).empty()) --position;
  found->lines.insert(position, std::move(neu));
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, int64_t value) {
  Write(section, key, std::to_string(value));
}

void ProfileFile::EraseSection(std::string_view section) {
  std::erase_if(sections_, [&](const Section& s) { return GleichOhneGrossKlein(s.name, section); });
}

void ProfileFile::EraseKey(std::string_view section, std::string_view key) {
  for (Section& s : sections_) {
    if (!GleichOhneGrossKlein(s.name, section)) continue;
    std::erase_if(s.lines, [&](const Line& line) {
      return !line.key.empty() && GleichOhneGrossKlein(line.key, key);
    });
  }
}

void ProfileFile::Save() const {
  std::string inhalt;
  for (const std::string& line : preamble_) {
    inhalt += line;
    inhalt += kZeilenende;
  }
  for (const Section& section : sections_) {
    inhalt += section.header;
    inhalt += kZeilenende;
    for (const Line& line : section.lines) {
      inhalt += line.text;
      inhalt += kZeilenende;
    }
  }
  // The program's own file: a link in its place is replaced, never written through.
  WriteFileAtomically(path_, inhalt, LinkPolicy::Replace);
}

void WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  ProfileFile profile = ProfileFile::Load(path);
  profile.Write(section, key, value);
  profile.Save();
}

}  // namespace tilvendo
