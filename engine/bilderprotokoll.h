// The optional log of the reading phase: every picture's path, written before the
// picture is read, so that after a crash the file ends with the picture that caused
// it; errors raised while reading follow their picture's line.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tilvendo {

// File name of the log in the user's home folder.
inline constexpr const char* kProtokollDateiname = "tilvendo file list.txt";

class Bilderprotokoll {
 public:
  // Starts an empty log at `pfad`, replacing an older one (a link there is replaced, not
  // followed; a device or pipe there makes the log fall silent).
  explicit Bilderprotokoll(std::string pfad);

  // Appends one line and pushes it to the disk at once. The log only helps to find a
  // troublesome picture, so it never stops the run: when it cannot be written it falls
  // silent and Fehler() tells why.
  void Zeile(std::string_view text);

  const std::optional<std::string>& Fehler() const { return fehler_; }
  const std::string& Pfad() const { return pfad_; }

 private:
  struct Schliesser {
    void operator()(std::FILE* datei) const;
  };
  void Scheitern();

  std::string pfad_;
  std::unique_ptr<std::FILE, Schliesser> datei_;
  std::optional<std::string> fehler_;
};

}  // namespace tilvendo
