#include "albums/ordner_scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#include "albums/katalog.h"
#include "pictures/bildart.h"
#include "platform/gross_klein.h"
#include "platform/paths.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

// Every signature cache of a scanned album must be rebuilt.
constexpr int32_t kCacheNachScan = 2;

bool IstBildname(std::string_view name) {
  return BildartVonName(name).has_value();
}

// A folder as the file system knows it, whatever path leads there.
struct Ordnerkennung {
  dev_t geraet = 0;
  ino_t knoten = 0;
  friend auto operator<=>(const Ordnerkennung&, const Ordnerkennung&) = default;
};

Ordnerkennung KennungVon(const struct stat& info) {
  return Ordnerkennung{info.st_dev, info.st_ino};
}

class Scanner {
 public:
  // Without `benutzer` nothing is reported.
  Scanner(Benutzer* benutzer, bool rekursiv, std::vector<std::string>& gefunden)
      : benutzer_(benutzer), rekursiv_(rekursiv), gefunden_(gefunden) {}

  // A chosen folder: reached through whatever links its path holds, as the user chose it.
  void OrdnerBetreten(const std::string& ordner) { Betreten(ordner, std::nullopt); }

  int32_t gesamt() const { return gesamt_; }

  // What was left out for a line break in its name: folders, pictures, and one of them.
  struct Uebergangen {
    int32_t ordner = 0;
    int32_t bilder = 0;
    std::string beispiel;
  };
  const Uebergangen& uebergangen() const { return uebergangen_; }

 private:
  // `erwartet`: for a subfolder, the folder its parent listed.
  void Betreten(const std::string& ordner, std::optional<Ordnerkennung> erwartet) {
    gefunden_.push_back(ordner);
    if (benutzer_ != nullptr) {
      benutzer_->ScanOrdnerSetzen(ordner);
      benutzer_->EreignisseVerarbeiten();
    }
    Durchsuchen(ordner, erwartet);
  }

  void Durchsuchen(const std::string& ordner, std::optional<Ordnerkennung> erwartet) {
    // Subfolders are entered after the folder is closed, so a deep tree holds only one
    // folder open at a time.
    std::vector<std::pair<std::string, Ordnerkennung>> unterordner;
    {
      // A subfolder is opened only as the very folder its parent listed: one replaced by
      // a link meanwhile (or a path through a replaced parent) is not followed, so the
      // scan never wanders out of the chosen folders.
      const int fd =
          ::open(ordner.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (erwartet ? O_NOFOLLOW : 0));
      if (fd < 0) return;
      std::unique_ptr<DIR, int (*)(DIR*)> verzeichnis(::fdopendir(fd), &::closedir);
      if (!verzeichnis) {
        ::close(fd);
        return;
      }
      struct stat selbst {};
      if (::fstat(fd, &selbst) != 0) return;
      if (erwartet && KennungVon(selbst) != *erwartet) return;
      // A folder met again (a bind mount of a parent folder, a chosen folder reached by
      // another path) is scanned only once, so no mount can make the scan run forever.
      if (!besucht_.insert(KennungVon(selbst)).second) return;
      while (const dirent* eintrag = ::readdir(verzeichnis.get())) {
        const std::string_view name = eintrag->d_name;
        if (name == "." || name == "..") continue;
        // No album file can hold such a path; the user learns what was left out.
        const bool zeilenumbruch = !AlsZeileSpeicherbar(name);
        unsigned char typ = eintrag->d_type;
        struct stat info {};
        if (typ == DT_UNKNOWN || (typ == DT_DIR && rekursiv_)) {
          if (::fstatat(fd, eintrag->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
          typ = S_ISDIR(info.st_mode)   ? DT_DIR
                : S_ISREG(info.st_mode) ? DT_REG
                : S_ISLNK(info.st_mode) ? DT_LNK
                                        : DT_UNKNOWN;
        }
        if (zeilenumbruch) {
          const bool bild = (typ == DT_REG || typ == DT_LNK) && IstBildname(name);
          if ((typ == DT_DIR && rekursiv_) || bild) Uebergehen(ordner + std::string(name), bild);
          continue;
        }
        if (typ == DT_DIR && rekursiv_) {
          // A folder whose path is too long to open is no folder anybody could use.
          if (ordner.size() + name.size() + 1 < PATH_MAX) {
            unterordner.emplace_back(std::string(name), KennungVon(info));
          }
        } else if ((typ == DT_REG || typ == DT_LNK) && IstBildname(name)) {
          // A link counts when it leads to a regular file; a link to a folder is never
          // entered, so a link to a parent folder cannot make the scan run forever.
          if (typ == DT_LNK &&
              (::fstatat(fd, eintrag->d_name, &info, 0) != 0 || !S_ISREG(info.st_mode))) {
            continue;
          }
          BildGezaehlt();
        }
      }
    }
    for (const auto& [name, kennung] : unterordner) Betreten(ordner + name + "/", kennung);
  }

  void Uebergehen(std::string pfad, bool bild) {
    ++(bild ? uebergangen_.bilder : uebergangen_.ordner);
    if (uebergangen_.beispiel.empty()) uebergangen_.beispiel = std::move(pfad);
  }

  void BildGezaehlt() {
    ++gesamt_;
    if (benutzer_ != nullptr) {
      benutzer_->ScanAnzahlSetzen(gesamt_);
      benutzer_->EreignisseVerarbeiten();
    }
  }

  Benutzer* benutzer_;
  bool rekursiv_;
  std::vector<std::string>& gefunden_;
  std::set<Ordnerkennung> besucht_;
  int32_t gesamt_ = 0;
  Uebergangen uebergangen_;
};

// "2 Ordner und 1 Bild wurden …", the line breaks of the example shown as "⏎".
std::string UebergangenHinweis(const Scanner::Uebergangen& u) {
  std::string beispiel;
  for (const char c : u.beispiel) {
    beispiel += (c == '\n' || c == '\r') ? std::string("⏎") : std::string(1, c);
  }
  const auto ordner = static_cast<uint64_t>(u.ordner);
  const auto bilder = static_cast<uint64_t>(u.bilder);
  std::string was;
  if (u.ordner > 0 && u.bilder > 0) {
    was = Format(_("{} und {}"), Format(NG_("{} Ordner", "{} Ordner", ordner), u.ordner),
                 Format(NG_("{} Bild", "{} Bilder", bilder), u.bilder));
  } else if (u.ordner > 0) {
    was = Format(NG_("{} Ordner", "{} Ordner", ordner), u.ordner);
  } else {
    was = Format(NG_("{} Bild", "{} Bilder", bilder), u.bilder);
  }
  return Format(NG_("{} wurde nicht aufgenommen, weil ein Zeilenumbruch im Namen steht, den die "
                    "Albumdateien nicht speichern können (zum Beispiel „{}“). Bitte benennen Sie "
                    "solche Namen um und aktualisieren Sie das Album.",
                    "{} wurden nicht aufgenommen, weil ein Zeilenumbruch im Namen steht, den die "
                    "Albumdateien nicht speichern können (zum Beispiel „{}“). Bitte benennen Sie "
                    "solche Namen um und aktualisieren Sie das Album.",
                    ordner + bilder),
                was, beispiel);
}

}  // namespace

std::vector<std::string> ArbeitslisteBilden(const std::vector<std::string>& gewaehlt) {
  std::vector<std::string> ordner;
  ordner.reserve(gewaehlt.size());
  for (const std::string& eintrag : gewaehlt) ordner.push_back(MitSchraegstrich(eintrag));
  std::vector<std::string> arbeitsliste;
  for (size_t i = 0; i < ordner.size(); ++i) {
    bool enthalten = false;
    for (size_t j = 0; j < ordner.size() && !enthalten; ++j) {
      if (j == i || !ordner[i].starts_with(ordner[j])) continue;
      // A folder chosen twice is kept once, at its first place.
      enthalten = ordner[i].size() != ordner[j].size() || j < i;
    }
    if (!enthalten && !ordner[i].empty()) arbeitsliste.push_back(ordner[i]);
  }
  return arbeitsliste;
}

Bildzahlen OrdnerScannen(Benutzer& benutzer, const std::vector<std::string>& gewaehlt,
                         std::vector<std::string>& ergebnis, bool rekursiv, bool mitFortschritt) {
  if (mitFortschritt) benutzer.ScanOrdnerLeeren();
  const std::vector<std::string> arbeitsliste = ArbeitslisteBilden(gewaehlt);
  std::vector<std::string> gefunden;
  Scanner scanner(mitFortschritt ? &benutzer : nullptr, rekursiv, gefunden);
  for (const std::string& ordner : arbeitsliste) scanner.OrdnerBetreten(ordner);
  // Sorted as the user reads it; folders whose names differ only in letter case are
  // different folders here and both stay.
  std::sort(gefunden.begin(), gefunden.end(),
            [](const std::string& a, const std::string& b) { return VorOhneGrossKlein(a, b); });
  gefunden.erase(std::unique(gefunden.begin(), gefunden.end()), gefunden.end());
  ergebnis = std::move(gefunden);
  if (mitFortschritt) benutzer.ScanOrdnerLeeren();
  if (scanner.uebergangen().ordner + scanner.uebergangen().bilder > 0) {
    benutzer.Hinweis(UebergangenHinweis(scanner.uebergangen()));
  }
  Bildzahlen zahlen;
  zahlen.gesamt = scanner.gesamt();
  return zahlen;
}

int32_t BilderZaehlen(const std::vector<std::string>& ordner) {
  std::vector<std::string> gefunden;
  Scanner scanner(nullptr, /*rekursiv=*/false, gefunden);
  for (const std::string& eintrag : ordner) scanner.OrdnerBetreten(MitSchraegstrich(eintrag));
  return scanner.gesamt();
}

Bildzahlen AlbumScannen(const AlbenKontext& kontext, Benutzer& benutzer, std::string_view name,
                        const std::vector<std::string>& gewaehlt,
                        std::vector<std::string>& ergebnis, bool rekursiv, bool mitFortschritt) {
  const Bildzahlen zahlen = OrdnerScannen(benutzer, gewaehlt, ergebnis, rekursiv, mitFortschritt);
  SignaturenVeralten(kontext, name, kCacheNachScan);
  return zahlen;
}

}  // namespace tilvendo
