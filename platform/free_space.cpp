#include "platform/free_space.h"

#include <sys/statvfs.h>

#include <array>
#include <cstdio>

#include "platform/atomic_file.h"
#include "platform/sprache.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr uint64_t kStufe = 1000;
// Below ten units one decimal is shown, so that 1.2 GB does not read as 1 GB.
constexpr uint64_t kMitNachkomma = 10;
constexpr uint64_t kZehntel = 10;
constexpr std::array<const char*, 4> kEinheiten = {"kB", "MB", "GB", "TB"};

}  // namespace

std::optional<uint64_t> FreeSpace(const std::string& folder) {
  struct statvfs info {};
  if (::statvfs(folder.empty() ? "." : folder.c_str(), &info) != 0) return std::nullopt;
  return static_cast<uint64_t>(info.f_bavail) * static_cast<uint64_t>(info.f_frsize);
}

void CheckFreeSpace(const std::string& folder, uint64_t neededBytes, const FreeSpaceQuery& query) {
  const std::optional<uint64_t> frei = query ? query(folder) : FreeSpace(folder);
  if (!frei || *frei >= neededBytes) return;
  throw WriteError(Format(_("Auf dem Datenträger von „{}“ sind nur noch {} frei; das Bild braucht "
                            "bis zu {}. Bitte schaffen Sie Platz oder wählen Sie einen anderen "
                            "Ort."),
                          folder.empty() ? std::string(".") : folder, SizeText(*frei),
                          SizeText(neededBytes)));
}

std::string SizeText(uint64_t bytes) {
  if (bytes < kStufe) return Format(_("{} Bytes"), bytes);
  // The largest unit that keeps the number at least 1; tenths for one decimal.
  size_t einheit = 0;
  uint64_t teiler = kStufe;
  while (einheit + 1 < kEinheiten.size() && bytes / teiler >= kStufe) {
    teiler *= kStufe;
    ++einheit;
  }
  const uint64_t zehntel = (bytes * kZehntel + teiler / 2) / teiler;
  std::string zahl;
  if (zehntel < kMitNachkomma * kZehntel) {
    zahl = Festkomma(static_cast<int64_t>(zehntel), 1);
  } else {
    zahl = std::to_string((zehntel + kZehntel / 2) / kZehntel);
  }
  return zahl + " " + kEinheiten[einheit];
}

}  // namespace tilvendo
