#include "albums/ordner_scan.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "albums/katalog.h"
#include "pictures/bildart.h"
#include "platform/gross_klein.h"
#include "platform/paths.h"

namespace tilvendo {
namespace {

// Every signature cache of a scanned album must be rebuilt.
constexpr int32_t kCacheNachScan = 2;

bool IstBildname(std::string_view name) {
  return BildartVonName(name).has_value();
}

class Scanner {
 public:
  Scanner(Benutzer& benutzer, bool rekursiv, bool mitFortschritt,
          std::vector<std::string>& gefunden)
      : benutzer_(benutzer),
        rekursiv_(rekursiv),
        mitFortschritt_(mitFortschritt),
        gefunden_(gefunden) {}

  void OrdnerBetreten(const std::string& ordner) {
    gefunden_.push_back(ordner);
    if (mitFortschritt_) {
      benutzer_.ScanOrdnerSetzen(ordner);
      benutzer_.EreignisseVerarbeiten();
    }
    Durchsuchen(ordner);
  }

  int32_t gesamt() const { return gesamt_; }

 private:
  void Durchsuchen(const std::string& ordner) {
    // Subfolders are entered after the folder is closed, so a deep tree holds only one
    // folder open at a time.
    std::vector<std::string> unterordner;
    {
      std::unique_ptr<DIR, int (*)(DIR*)> verzeichnis(::opendir(ordner.c_str()), &::closedir);
      if (!verzeichnis) return;
      const int ordnerFd = ::dirfd(verzeichnis.get());
      while (const dirent* eintrag = ::readdir(verzeichnis.get())) {
        const std::string_view name = eintrag->d_name;
        if (name == "." || name == ".." || !AlsZeileSpeicherbar(name)) continue;
        unsigned char typ = eintrag->d_type;
        if (typ == DT_UNKNOWN) {
          struct stat info {};
          if (::fstatat(ordnerFd, eintrag->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
          typ = S_ISDIR(info.st_mode)   ? DT_DIR
                : S_ISREG(info.st_mode) ? DT_REG
                : S_ISLNK(info.st_mode) ? DT_LNK
                                        : DT_UNKNOWN;
        }
        if (typ == DT_DIR && rekursiv_) {
          unterordner.emplace_back(name);
        } else if ((typ == DT_REG || typ == DT_LNK) && IstBildname(name)) {
          // A link counts when it leads to a regular file; a link to a folder is never
          // entered, so a link to a parent folder cannot make the scan run forever.
          struct stat info {};
          if (typ == DT_LNK &&
              (::fstatat(ordnerFd, eintrag->d_name, &info, 0) != 0 || !S_ISREG(info.st_mode))) {
            continue;
          }
          BildGezaehlt();
        }
      }
    }
    for (const std::string& name : unterordner) OrdnerBetreten(ordner + name + "/");
  }

  void BildGezaehlt() {
    ++gesamt_;
    if (mitFortschritt_) {
      benutzer_.ScanAnzahlSetzen(gesamt_);
      benutzer_.EreignisseVerarbeiten();
    }
  }

  Benutzer& benutzer_;
  bool rekursiv_;
  bool mitFortschritt_;
  std::vector<std::string>& gefunden_;
  int32_t gesamt_ = 0;
};

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
  Scanner scanner(benutzer, rekursiv, mitFortschritt, gefunden);
  for (const std::string& ordner : arbeitsliste) scanner.OrdnerBetreten(ordner);
  // Sorted as the user reads it; folders whose names differ only in letter case are
  // different folders here and both stay.
  std::sort(gefunden.begin(), gefunden.end(),
            [](const std::string& a, const std::string& b) { return VorOhneGrossKlein(a, b); });
  gefunden.erase(std::unique(gefunden.begin(), gefunden.end()), gefunden.end());
  ergebnis = std::move(gefunden);
  if (mitFortschritt) benutzer.ScanOrdnerLeeren();
  Bildzahlen zahlen;
  zahlen.gesamt = scanner.gesamt();
  return zahlen;
}

Bildzahlen AlbumScannen(const AlbenKontext& kontext, Benutzer& benutzer, std::string_view name,
                        const std::vector<std::string>& gewaehlt,
                        std::vector<std::string>& ergebnis, bool rekursiv, bool mitFortschritt) {
  const Bildzahlen zahlen = OrdnerScannen(benutzer, gewaehlt, ergebnis, rekursiv, mitFortschritt);
  SignaturenVeralten(kontext, name, kCacheNachScan);
  return zahlen;
}

}  // namespace tilvendo
