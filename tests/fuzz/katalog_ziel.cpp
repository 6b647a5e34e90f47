#include <string>
#include <string_view>
#include <vector>

#include "albums/katalog.h"
#include "arbeitsordner.h"
#include "platform/atomic_file.h"
#include "ziele.h"

namespace tilvendo::fuzz {

namespace {
// The input holds the catalogue, the folder file and the picture file of "Album 1", in
// this order, separated by this line (missing parts are missing files).
constexpr std::string_view kTeiler = "\n#----#\n";
constexpr std::string_view kDateinamen[] = {"Alben.nbx", "Album 1.nbd", "Album 1.nbf"};
// Albums read per input; more only repeat the same paths.
constexpr size_t kHoechstensAlben = 4;
}  // namespace

void KatalogLesen(Eingabe daten) {
  static const Arbeitsordner ordner;
  ordner.Leeren();
  std::string_view rest = AlsText(daten);
  for (const std::string_view name : kDateinamen) {
    if (rest.empty()) break;
    const size_t ende = rest.find(kTeiler);
    ordner.Schreiben(name, rest.substr(0, ende));
    rest = ende == std::string_view::npos ? std::string_view() : rest.substr(ende + kTeiler.size());
  }

  const AlbenKontext kontext{ordner.pfad()};
  std::vector<std::string> namen;
  AlbennamenLaden(kontext, namen);
  if (namen.size() > kHoechstensAlben) namen.resize(kHoechstensAlben);
  for (const std::string& name : namen) {
    TGalerieGlobal album;
    album.Name = name;
    AlbumLaden(kontext, album);
    SlotSuchen(kontext, name);
    AlbumnameFrei(kontext, "", "", name, "");
    try {
      // Rewrites the catalogue from what was read, as a changed album folder does.
      SignaturenVeralten(kontext, name, 1);
    } catch (const WriteError&) {
      // A full disk is reported to the user; nothing to find here.
    }
  }
}

}  // namespace tilvendo::fuzz
