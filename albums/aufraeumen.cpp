#include "albums/aufraeumen.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "albums/alben_sperre.h"
#include "albums/katalog.h"
#include "albums/katalog_intern.h"
#include "albums/signaturdatei.h"
#include "platform/atomic_file.h"
#include "platform/gross_klein.h"
#include "platform/profile_file.h"

namespace tilvendo {
namespace {

constexpr std::string_view kBasisPraefix = "Album ";

// A decimal number as we write it: digits only, no leading zero.
bool IstZahl(std::string_view text) {
  return !text.empty() && text.front() != '0' &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "Album <n>" when `name` is "Album <n>.nbd", "Album <n>.nbf" or
// "Album <n> <level><variant>.nba".
std::optional<std::string_view> EigeneBasis(std::string_view name) {
  std::string_view rest;
  if (name.ends_with(kOrdnerdateiEndung)) {
    rest = name.substr(0, name.size() - kOrdnerdateiEndung.size());
  } else if (name.ends_with(kDateilisteEndung)) {
    rest = name.substr(0, name.size() - kDateilisteEndung.size());
  } else if (name.ends_with(kSignaturdateiEndung)) {
    rest = name.substr(0, name.size() - kSignaturdateiEndung.size());
    const size_t leer = rest.rfind(' ');
    if (leer == std::string_view::npos) return std::nullopt;
    const std::string_view stufe = rest.substr(leer + 1);
    if (!IstZahl(StufeVonVariante(stufe)) || !CachevarianteGueltig(VarianteVonStufe(stufe))) {
      return std::nullopt;
    }
    rest = rest.substr(0, leer);
  } else {
    return std::nullopt;
  }
  if (!rest.starts_with(kBasisPraefix) || !IstZahl(rest.substr(kBasisPraefix.size()))) {
    return std::nullopt;
  }
  return rest;
}

bool AltGenug(const struct stat& info) {
  const auto geaendert = std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec);
  return std::chrono::system_clock::now() - geaendert >= kVerwaistNach;
}

// Nobody may save an album between the reading of the catalogue and the removal: the
// caller holds the album folder.
size_t VerwaisteAlbumdateienEntfernen(const AlbenKontext& kontext, const AlbenSperre&) {
  const ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  if (!katalog.HasSection(kAlbenSektion)) return 0;
  std::unique_ptr<DIR, int (*)(DIR*)> ordner(::opendir(kontext.AlbenPfad.c_str()), &::closedir);
  if (!ordner) return 0;
  const int ordnerFd = ::dirfd(ordner.get());
  std::vector<std::string> verwaist;
  while (const dirent* eintrag = ::readdir(ordner.get())) {
    const std::optional<std::string_view> basis = EigeneBasis(eintrag->d_name);
    // Files are an album's as long as any section names them, also one whose line in
    // "Alben" was lost: such an album can still be listed again.
    if (!basis || DateinameVergeben(katalog, *basis)) continue;
    struct stat info {};
    if (::fstatat(ordnerFd, eintrag->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || !AltGenug(info)) {
      continue;
    }
    verwaist.emplace_back(eintrag->d_name);
  }
  size_t entfernt = 0;
  for (const std::string& name : verwaist) {
    if (::unlinkat(ordnerFd, name.c_str(), 0) == 0) ++entfernt;
  }
  return entfernt;
}

}  // namespace

size_t AlbenordnerAufraeumen(const AlbenKontext& kontext) {
  const size_t temporaere = RemoveStaleTemporaries(kontext.AlbenPfad);
  try {
    const AlbenSperre sperre(kontext);
    return temporaere + VerwaisteAlbumdateienEntfernen(kontext, sperre);
  } catch (const WriteError&) {
    // Another program holds the album folder: it tidies another time.
    return temporaere;
  }
}

size_t AlbenordnerAufraeumen(const AlbenKontext& kontext, const AlbenSperre& sperre) {
  const size_t temporaere = RemoveStaleTemporaries(kontext.AlbenPfad);
  try {
    return temporaere + VerwaisteAlbumdateienEntfernen(kontext, sperre);
  } catch (const WriteError&) {
    return temporaere;
  }
}

}  // namespace tilvendo
