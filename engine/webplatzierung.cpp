#include "engine/webplatzierung.h"

#include "platform/json_text.h"
#include "platform/paths.h"

namespace tilvendo {
namespace {

// The last folder's name of a file's path: the album the photo was taken from.
std::string Album(const std::string& datei) {
  std::string ordner = FolderOf(datei);
  if (!ordner.empty() && ordner.back() == '/') ordner.pop_back();
  return FileNameOf(ordner);
}

}  // namespace

std::string WebPlatzierung(const Mosaikplan& plan) {
  const Verwendungsliste& verwendung = plan.Verwendung();
  std::string text =
      "window.tilvendoPlatzierung = {\"kachelnX\": " + std::to_string(plan.KachelnX()) +
      ", \"kachelnY\": " + std::to_string(plan.KachelnY()) +
      ", \"kachelBreite\": " + std::to_string(plan.Kachel().width) +
      ", \"kachelHoehe\": " + std::to_string(plan.Kachel().height) + ",\n\"fotos\": [";
  for (size_t k = 0; k < verwendung.Anzahl(); ++k) {
    const std::string& datei = verwendung[k].datei;
    if (k > 0) text += ",\n";
    text += "[" + JsonString(FileNameOf(datei)) + ", " + JsonString(Album(datei)) + ", " +
            JsonString("file://" + PercentEncoded(datei)) + "]";
  }
  text += "],\n\"zellen\": [";
  for (int32_t y = 1; y <= plan.KachelnY(); ++y) {
    for (int32_t x = 1; x <= plan.KachelnX(); ++x) {
      const int32_t foto = plan.FotoIn(x, y);
      if (x > 1 || y > 1) text += ',';
      text += std::to_string(foto == kKeinBild ? 0 : foto + 1);
    }
    text += '\n';
  }
  text += "]};\n";
  return text;
}

}  // namespace tilvendo
