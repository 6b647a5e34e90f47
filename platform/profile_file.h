// Profile (INI) files as the album catalogue keeps them.
//
// Sections and keys are matched without regard to letter case; keys keep their file
// order; a written key replaces the old value in place or is appended to its section;
// a missing section is appended at the end. Text is UTF-8; a line that is not valid
// UTF-8 is read as Windows-1252, so files written on other systems still open.
//
// Changes are made in memory and written with Save() as one atomic rewrite (temporary
// file beside the target, renamed over it): a crash or a full disk never leaves a
// half-written file behind. WriteProfileString() is the one-key form of load, change
// and save.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tilvendo {

// Longest value a read returns, in bytes (longer values are cut at a character
// boundary). Matches the read buffer of 2048 bytes that the catalogue was made for.
inline constexpr size_t kProfileValueMaxLength = 2047;

class ProfileFile {
 public:
  // An empty file that Save() writes to `path`.
  explicit ProfileFile(std::string path);

  // Reads `path`; a missing or unreadable file gives an empty profile, and lines
  // that make no sense (a file cut off in mid-write, garbage) are kept but ignored.
  static ProfileFile Load(std::string path);

  const std::string& path() const { return path_; }

  // The value of a key, or nothing when the section or the key is missing.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  // Decimal, or hexadecimal after "0x"/"0X", optionally signed; anything else (and
  // values outside 32 bits) gives `fallback`.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;

  bool HasSection(std::string_view section) const;
  // Key names of the section in file order (the first of duplicate keys only).
  std::vector<std::string> Keys(std::string_view section) const;
  // Keys with their values, in file order.
  std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;
  // The value of `key` in every section that has it, as (section, value) in file order;
  // also in a second section of a name used twice, which Read() never reaches.
  std::vector<std::pair<std::string, std::string>> ValuesInEverySection(std::string_view key) const;

  // Sets a value. Line breaks and other control characters in the value become
  // blanks, because a value is one line. Throws std::invalid_argument for a section
  // or key name that cannot be stored (see IsStorableName).
  void Write(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int64_t value);
  // Removes the section with all its keys; a missing section is no error.
  void EraseSection(std::string_view section);
  // Removes every line of the key from every section of that name; a missing key is no
  // error.
  void EraseKey(std::string_view section, std::string_view key);

  // Writes the whole file atomically, lines ending in CR LF. A symbolic link in the
  // file's place is replaced by the file, never written through. Throws WriteError with
  // "nach <path> kann nicht geschrieben werden"; the old file then stays intact.
  void Save() const;

  // Whether `name` can be a section name: not empty, no "]", no control characters,
  // not starting with "[" or blanks, not ending in blanks.
  static bool IsStorableSectionName(std::string_view name);
  // Whether `name` can be a key name: as above, and no "=".
  static bool IsStorableKeyName(std::string_view name);

 private:
  struct Line {
    std::string text;  // the line as it will be written (UTF-8)
    std::string key;   // empty for lines that are no "key=value"
    std::string value;
  };
  struct Section {
    std::string name;
    std::string header;  // the "[name]" line as read
    std::vector<Line> lines;
  };

  const Section* FindSection(std::string_view name) const;
  Section* FindSection(std::string_view name);

  std::string path_;
  std::vector<std::string> preamble_;  // lines before the first section
  std::vector<Section> sections_;
};

// Loads the file, sets one value and saves it again.
void WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace tilvendo
