// Binding an album to the one medium its folders are on.
#pragma once

#include <string>

#include "albums/galerie.h"
#include "platform/benutzer.h"
#include "platform/medien.h"
#include "platform/translate.h"

namespace tilvendo {

inline constexpr const char* kWarnungNetzwerk =
    N_("Es können nur Bilder verwendete werden, die entweder auf Festplatte oder aber auf "
       "einem beliebigen Wechselmedium vorliegen. Zugriffe z.B. über ein Netzwerk werden "
       "nicht unterstützt.");
inline constexpr const char* kWarnungEinMedium =
    N_("Ein Album kann nur Verweise auf ein Medium gleichzeitig enthalten, also z.B. auf "
       "eine Festplatte oder auch auf eine CD. Legen Sie deshalb bitte für jedes Medium ein "
       "einzelnes Album an.");

// The medium of the album last selected: its mount point and identification, and the
// name the user gave it for the insert-medium warning. Empty for fixed disks.
struct AktuellesMedium {
  std::string Laufwerk;
  std::string Seriennummer;
  std::string MediumName;

  bool Leer() const { return Laufwerk.empty() && Seriennummer.empty(); }
  // The medium of an album: set for a removable one, empty otherwise.
  static AktuellesMedium Von(const TGalerieGlobal& album);
};

// Applies the medium rules before `ordner` is added to `album` (the editor's working
// copy): refuses folders on unusable file systems and folders of another medium
// (with a warning each, the album unchanged), binds the album to the folder's medium
// and asks for a name when that medium is removable. True when accepted.
bool MediumBinden(TGalerieGlobal& album, const std::string& ordner, const Medien& medien,
                  Benutzer& benutzer);

// The album's last folder is gone: it is bound to no medium any more.
void MediumFreigeben(TGalerieGlobal& album);

// Whether the medium is present (always for an empty one).
bool MediumEingelegt(const AktuellesMedium& medium, const Medien& medien);

// "Bitte legen Sie erst das ensprechende Medium "<name>" in Laufwerk "<mount>" ein."
std::string WarnungMediumEinlegen(const AktuellesMedium& medium);

}  // namespace tilvendo
