#include "albums/aufraeumen.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
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

bool AltGenug(const struct stat& info) {
  const auto geaendert = std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec);
  return std::chrono::system_clock::now() - geaendert >= kVerwaistNach;
}

// Nobody may save an album between the reading of the catalogue and the removal: the
// caller holds the album folder.
size_t LeereReservierungenEntfernen(const AlbenKontext& kontext, const AlbenSperre&) {
  const ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  if (!katalog.HasSection(kAlbenSektion)) return 0;
  std::unique_ptr<DIR, int (*)(DIR*)> ordner(::opendir(kontext.AlbenPfad.c_str()), &::closedir);
  if (!ordner) return 0;
  const int ordnerFd = ::dirfd(ordner.get());
  // How many files each base has: a reservation stands alone.
  std::map<std::string, int> dateien;
  std::vector<std::string> leer;
  while (const dirent* eintrag = ::readdir(ordner.get())) {
    const std::optional<std::string_view> basis = AlbumBasisVon(eintrag->d_name);
    if (!basis) continue;
    ++dateien[std::string(*basis)];
    const std::string_view name = eintrag->d_name;
    if (!name.ends_with(kOrdnerdateiEndung) || DateinameVergeben(katalog, *basis)) continue;
    struct stat info {};
    if (::fstatat(ordnerFd, eintrag->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || info.st_size != 0 || !AltGenug(info)) {
      continue;
    }
    leer.emplace_back(name);
  }
  size_t entfernt = 0;
  for (const std::string& name : leer) {
    if (dateien[std::string(*AlbumBasisVon(name))] == 1 &&
        ::unlinkat(ordnerFd, name.c_str(), 0) == 0) {
      ++entfernt;
    }
  }
  return entfernt;
}

}  // namespace

size_t AlbenordnerAufraeumen(const AlbenKontext& kontext) {
  const size_t temporaere = RemoveStaleTemporaries(kontext.AlbenPfad);
  try {
    const AlbenSperre sperre(kontext);
    return temporaere + LeereReservierungenEntfernen(kontext, sperre);
  } catch (const WriteError&) {
    // Another program holds the album folder: it tidies another time.
    return temporaere;
  }
}

size_t AlbenordnerAufraeumen(const AlbenKontext& kontext, const AlbenSperre& sperre) {
  const size_t temporaere = RemoveStaleTemporaries(kontext.AlbenPfad);
  try {
    return temporaere + LeereReservierungenEntfernen(kontext, sperre);
  } catch (const WriteError&) {
    return temporaere;
  }
}

}  // namespace tilvendo
