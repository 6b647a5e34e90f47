// Where the album files live. Every album file is this folder plus a file name;
// no album operation reads or writes anywhere else.
#pragma once

#include <string>
#include <string_view>

namespace tilvendo {

// The catalogue of all albums.
inline constexpr std::string_view kKatalogDateiname = "Alben.nbx";

struct AlbenKontext {
  std::string AlbenPfad;  // ends in "/"

  std::string Datei(std::string_view dateiname) const { return AlbenPfad + std::string(dateiname); }
  std::string Katalog() const { return Datei(kKatalogDateiname); }
};

}  // namespace tilvendo
