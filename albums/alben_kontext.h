// Where the album files live. Every album file is this folder plus a file name;
// no album operation reads or writes anywhere else.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace tilvendo {

class Benutzer;

// The catalogue of all albums.
inline constexpr std::string_view kKatalogDateiname = "Alben.nbx";

// How long a change of the album files waits while another program changes them. Each
// such change takes a moment; a wait this long means the other program hangs.
inline constexpr std::chrono::milliseconds kAlbenSperrFrist{30'000};

struct AlbenKontext {
  std::string AlbenPfad;  // ends in "/"
  // Told when another program is changing the album files and this one waits for it;
  // nobody is told without one.
  Benutzer* benutzer = nullptr;
  std::chrono::milliseconds sperrFrist = kAlbenSperrFrist;

  std::string Datei(std::string_view dateiname) const { return AlbenPfad + std::string(dateiname); }
  std::string Katalog() const { return Datei(kKatalogDateiname); }
};

}  // namespace tilvendo
