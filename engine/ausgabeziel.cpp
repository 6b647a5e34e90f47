#include "engine/ausgabeziel.h"

#include <dirent.h>
#include <sys/stat.h>

#include <map>
#include <memory>
#include <string_view>

#include "engine/platzierungsliste.h"
#include "engine/sitzung.h"
#include "pictures/bildart.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

// A file or folder as the file system knows it, whatever name leads there.
struct Kennung {
  dev_t geraet = 0;
  ino_t knoten = 0;
  friend auto operator<=>(const Kennung&, const Kennung&) = default;
};

std::optional<Kennung> KennungVon(const std::string& pfad) {
  struct stat info {};
  if (::stat(pfad.empty() ? "." : pfad.c_str(), &info) != 0) return std::nullopt;
  return Kennung{info.st_dev, info.st_ino};
}

bool IstBildname(std::string_view name) {
  return BildartVonName(name).has_value();
}

// The folders of the chosen albums, each with the album it belongs to.
std::map<Kennung, std::string> Albenordner(const Auftrag& auftrag) {
  std::map<Kennung, std::string> ordner;
  for (const TGalerieGlobal& album : auftrag.alben.GewaehlteAlben()) {
    for (const std::string& pfad : album.AlleVerzeichnisse) {
      if (const std::optional<Kennung> kennung = KennungVon(pfad))
        ordner.emplace(*kennung, album.Name);
    }
  }
  return ordner;
}

// Whether a file of `ordner` (with a picture name, when `nurBilder`) is the file `datei`:
// the other name of a hard link.
bool ImOrdner(const std::string& ordner, const Kennung& datei, bool nurBilder) {
  std::unique_ptr<DIR, int (*)(DIR*)> liste(::opendir(ordner.c_str()), &::closedir);
  if (!liste) return false;
  while (const dirent* eintrag = ::readdir(liste.get())) {
    const std::string_view name = eintrag->d_name;
    if (name == "." || name == ".." || (nurBilder && !IstBildname(name))) continue;
    if (KennungVon(MitSchraegstrich(ordner) + std::string(name)) == datei) return true;
  }
  return false;
}

std::string MeldungOrdner(const std::string& ziel) {
  return Format(_("„{}“ ist ein Ordner; bitte geben Sie einen Dateinamen an."), ziel);
}

std::string MeldungKeineDatei(const std::string& ziel, FileKind art) {
  switch (art) {
    case FileKind::Device:
      return Format(_("„{}“ ist keine Datei, sondern ein Gerät; dorthin wird nichts geschrieben. "
                      "Bitte wählen Sie einen Dateinamen."),
                    ziel);
    case FileKind::Pipe:
      return Format(_("„{}“ ist keine Datei, sondern eine Pipe; dorthin wird nichts geschrieben. "
                      "Bitte wählen Sie einen Dateinamen."),
                    ziel);
    default:
      return Format(_("„{}“ ist keine Datei; dorthin wird nichts geschrieben. Bitte wählen Sie "
                      "einen Dateinamen."),
                    ziel);
  }
}

std::string MeldungFoto(const std::string& ziel, const std::string& album) {
  return Format(_("„{}“ ist ein Foto des Albums „{}“; es wird nicht überschrieben. Bitte wählen "
                  "Sie einen anderen Dateinamen."),
                ziel, album);
}

std::string MeldungAlbenordner(const std::string& ziel, const std::string& albenPfad) {
  return Format(_("„{}“ liegt im Ordner der Alben („{}“), der nur die Albendateien des Programms "
                  "enthält. Bitte wählen Sie einen anderen Ordner."),
                ziel, albenPfad);
}

std::string MeldungKeineListe(const std::string& ziel) {
  return Format(_("„{}“ gibt es schon, und es ist keine Platzierungsliste; die Datei wird nicht "
                  "überschrieben. Bitte wählen Sie einen anderen Dateinamen."),
                ziel);
}

}  // namespace

std::optional<std::string> AusgabezielPruefen(const Auftrag& auftrag, const std::string& ziel,
                                              Ausgabeart art) {
  std::string echt;
  try {
    echt = ResolveLinks(ziel);
  } catch (const WriteError& fehler) {
    return fehler.what();
  }
  const FileKind ort = KindOf(echt);
  if (ort == FileKind::Folder) return MeldungOrdner(ziel);
  if (ort == FileKind::Device || ort == FileKind::Pipe || ort == FileKind::Socket) {
    return MeldungKeineDatei(ziel, ort);
  }
  if (IstVorlage(auftrag, ziel)) return MeldungZielIstVorlage(ziel);

  // The name as given and where its links end: a link in an album's folder is that
  // album's photo as much as the file it leads to.
  const std::optional<Kennung> albenordner = KennungVon(auftrag.AlbenPfad);
  const std::map<Kennung, std::string> fotoordner = Albenordner(auftrag);
  for (const std::string& pfad : {ziel, echt}) {
    const std::optional<Kennung> ordner = KennungVon(FolderOf(pfad));
    if (!ordner) continue;
    if (ordner == albenordner) return MeldungAlbenordner(ziel, auftrag.AlbenPfad);
    const auto album = fotoordner.find(*ordner);
    if (album != fotoordner.end() && KindOf(pfad) != FileKind::None &&
        IstBildname(FileNameOf(pfad))) {
      return MeldungFoto(ziel, album->second);
    }
  }

  struct stat info {};
  const bool vorhanden = ::stat(echt.c_str(), &info) == 0;
  // A file of several names may have one among the photos or the album files; only then
  // are the folders read.
  if (vorhanden && info.st_nlink > 1) {
    const Kennung datei{info.st_dev, info.st_ino};
    if (ImOrdner(auftrag.AlbenPfad, datei, /*nurBilder=*/false)) {
      return MeldungAlbenordner(ziel, auftrag.AlbenPfad);
    }
    for (const TGalerieGlobal& album : auftrag.alben.GewaehlteAlben()) {
      for (const std::string& ordner : album.AlleVerzeichnisse) {
        if (ImOrdner(ordner, datei, /*nurBilder=*/true)) return MeldungFoto(ziel, album.Name);
      }
    }
  }
  if (art == Ausgabeart::Platzierungsliste && vorhanden && !IstPlatzierungsliste(echt)) {
    return MeldungKeineListe(ziel);
  }
  return std::nullopt;
}

void MosaikzielSichern(const Auftrag& auftrag, const SpeicherOptionen& optionen) {
  MosaikzielSichern(auftrag, MitSchraegstrich(optionen.Pfad) + optionen.Datei);
}

void MosaikzielSichern(const Auftrag& auftrag, const std::string& ziel) {
  if (const auto verweigert = AusgabezielPruefen(auftrag, ziel, Ausgabeart::Mosaik)) {
    throw WriteError(*verweigert);
  }
}

}  // namespace tilvendo
