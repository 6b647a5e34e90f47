// The picture types the program reads, told apart by the extension of the file name.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "platform/translate.h"

namespace tilvendo {

enum class Bildart { Bmp, Jpeg, Png, Webp, Tiff, Heif };

struct Bildendung {
  std::string_view endung;  // with its dot, in lower case
  Bildart art;
  std::string_view typname;  // how an open dialog names the files of this extension
};

// Every extension the program reads, one line each. The order matters: the album scan
// and the tile reading walk the extensions in this order, and the pictures' numbers,
// hence the mosaics, depend on it: a new type goes at the end.
inline constexpr std::array<Bildendung, 9> kBildEndungen = {{
    {".bmp", Bildart::Bmp, N_("Windowsbilder (*.bmp)")},
    {".jpg", Bildart::Jpeg, N_("JPEG Bilder (*.jpg)")},
    {".jpeg", Bildart::Jpeg, N_("JPEG Bilder (*.jpeg)")},
    {".png", Bildart::Png, N_("PNG Bilder (*.png)")},
    {".webp", Bildart::Webp, N_("WebP Bilder (*.webp)")},
    {".tif", Bildart::Tiff, N_("TIFF Bilder (*.tif)")},
    {".tiff", Bildart::Tiff, N_("TIFF Bilder (*.tiff)")},
    {".heic", Bildart::Heif, N_("HEIF Bilder (*.heic)")},
    {".heif", Bildart::Heif, N_("HEIF Bilder (*.heif)")},
}};

// The entry of kBildEndungen that the name's extension (from its last dot on, in any
// letter case) matches; null for every other name. A dot before the last "/" starts
// no extension.
const Bildendung* BildendungVonName(std::string_view name);

// The picture type of a file name by its extension, as above; none for other names.
std::optional<Bildart> BildartVonName(std::string_view name);

}  // namespace tilvendo
