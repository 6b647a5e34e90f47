#include "albums/verwaiste_alben.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <limits>
#include <map>
#include <memory>
#include <set>

#include "albums/alben_sperre.h"
#include "albums/katalog_intern.h"
#include "albums/medium_bindung.h"
#include "albums/ordner_scan.h"
#include "platform/gross_klein.h"
#include "platform/paths.h"
#include "platform/profile_file.h"

namespace tilvendo {
namespace {

// The number of "Album <n>", for the order of the list.
int64_t Nummer(std::string_view basis) {
  const std::string_view ziffern = basis.substr(basis.rfind(' ') + 1);
  int64_t nummer = 0;
  std::from_chars(ziffern.data(), ziffern.data() + ziffern.size(), nummer);
  return nummer;
}

bool HatUnterordner(const std::string& ordner) {
  std::unique_ptr<DIR, int (*)(DIR*)> liste(::opendir(ordner.c_str()), &::closedir);
  if (!liste) return false;
  while (const dirent* eintrag = ::readdir(liste.get())) {
    const std::string_view name = eintrag->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    if (::lstat((ordner + std::string(name)).c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      return true;
    }
  }
  return false;
}

// The switch is not kept in the album files. A scan with subfolders lists more folders
// than were chosen unless the chosen ones had none; one without lists only those.
bool MitUnterordnernVermuten(const TGalerieGlobal& album) {
  const std::vector<std::string> gewaehlt = ArbeitslisteBilden(album.Verzeichnisse);
  const std::set<std::string> alle(album.AlleVerzeichnisse.begin(), album.AlleVerzeichnisse.end());
  if (alle != std::set<std::string>(gewaehlt.begin(), gewaehlt.end())) return true;
  return std::none_of(gewaehlt.begin(), gewaehlt.end(), HatUnterordner);
}

bool Verwaist(const ProfileFile& katalog, const std::set<std::string>& basen,
              std::string_view dateiname) {
  return basen.contains(std::string(dateiname)) && !DateinameVergeben(katalog, dateiname);
}

}  // namespace

std::vector<VerwaistesAlbum> VerwaisteAlben(const AlbenKontext& kontext) {
  const ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  std::vector<VerwaistesAlbum> alben;
  for (const std::string& basis : BasenMitDateien(kontext)) {
    if (DateinameVergeben(katalog, basis)) continue;
    TGalerieGlobal album;
    album.Dateiname = basis;
    VerwaistesAlbum verwaist{basis, OrdnerdateiPruefen(kontext, album)};
    const bool nurReserviert = verwaist.ordnerdatei == Ordnerdateizustand::Fehlt &&
                               FileExists(kontext.Datei(basis + std::string(kOrdnerdateiEndung))) &&
                               !DateilisteVorhanden(kontext, album);
    if (nurReserviert) {
      // Only its empty folder file, unless caches of it lie there too.
      bool caches = false;
      std::unique_ptr<DIR, int (*)(DIR*)> ordner(::opendir(kontext.AlbenPfad.c_str()), &::closedir);
      while (ordner && !caches) {
        const dirent* eintrag = ::readdir(ordner.get());
        if (eintrag == nullptr) break;
        const std::string_view name = eintrag->d_name;
        caches = name.ends_with(kSignaturdateiEndung) && AlbumBasisVon(name) == basis;
      }
      if (!caches) continue;
    }
    if (verwaist.ordnerdatei == Ordnerdateizustand::Vorhanden) {
      AlbumListenLaden(kontext, album);
      verwaist.ordner = album.Verzeichnisse.size();
    }
    // Those of its picture list, or before it has one those its folders hold now.
    verwaist.bilder =
        !album.Dateien.empty() || verwaist.ordnerdatei != Ordnerdateizustand::Vorhanden
            ? TextzeilenLesen(kontext.Datei(basis + std::string(kDateilisteEndung))).size()
            : static_cast<size_t>(BilderZaehlen(album.AlleVerzeichnisse));
    alben.push_back(std::move(verwaist));
  }
  std::sort(alben.begin(), alben.end(), [](const VerwaistesAlbum& a, const VerwaistesAlbum& b) {
    return Nummer(a.dateiname) < Nummer(b.dateiname);
  });
  return alben;
}

Wiederaufnahme VerwaistesAlbumAufnehmen(const Bearbeitungsumgebung& umgebung,
                                        std::string_view dateiname, std::string_view name,
                                        TGalerieGlobal& album) {
  const AlbenKontext& kontext = umgebung.kontext;
  if (!AlbumBasisVon(std::string(dateiname) + std::string(kOrdnerdateiEndung)) ||
      !Verwaist(ProfileFile::Load(kontext.Katalog()), BasenMitDateien(kontext), dateiname)) {
    return Wiederaufnahme::KeinVerwaistesAlbum;
  }
  album = TGalerieGlobal{};
  album.Name = std::string(name);
  album.Dateiname = std::string(dateiname);
  if (OrdnerdateiPruefen(kontext, album) != Ordnerdateizustand::Vorhanden) {
    return Wiederaufnahme::OrdnerlisteUnbrauchbar;
  }
  AlbumListenLaden(kontext, album);
  album.mitUnterverzeichnissen = MitUnterordnernVermuten(album);

  // The medium as the editor binds it, folder by folder: those not there now (on a medium
  // not inserted) cannot be looked at.
  bool erreichbar = false;
  for (const std::string& ordner : album.Verzeichnisse) {
    if (!FolderExists(ordner)) continue;
    erreichbar = true;
    if (!MediumBinden(album, ordner, umgebung.medien, umgebung.benutzer)) {
      return Wiederaufnahme::MediumAbgelehnt;
    }
  }
  if (!erreichbar) return Wiederaufnahme::KeinOrdnerErreichbar;
  album.Anzahl = Bildzahlen{};
  album.Anzahl.gesamt = album.Dateien.empty()
                            ? BilderZaehlen(album.AlleVerzeichnisse)
                            : static_cast<int32_t>(std::min<size_t>(
                                  album.Dateien.size(), std::numeric_limits<int32_t>::max()));

  // Checked again with the folder locked: another program may have taken the files or
  // the name back meanwhile.
  const AlbenSperre sperre(kontext);
  ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  if (!Verwaist(katalog, BasenMitDateien(kontext), dateiname)) {
    return Wiederaufnahme::KeinVerwaistesAlbum;
  }
  // A section of the name, listed or not, holds another album's keys.
  bool vergeben = katalog.HasSection(album.Name);
  for (const auto& [schluessel, wert] : katalog.Entries(kAlbenSektion)) {
    vergeben = vergeben || (!wert.empty() && GleichOhneGrossKlein(wert, album.Name));
  }
  if (vergeben) throw AlbumnameVergeben(MeldungAlbumnameVergeben(album.Name));
  KatalogEintragSchreiben(katalog, album);
  katalog.Save();
  return Wiederaufnahme::Aufgenommen;
}

}  // namespace tilvendo
