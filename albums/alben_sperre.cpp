#include "albums/alben_sperre.h"

#include "platform/atomic_file.h"
#include "platform/benutzer.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

void Sperren(const AlbenKontext& kontext, std::optional<FolderLock>& sperre) {
  bool gesagt = false;
  const auto warten = [&](std::chrono::milliseconds) {
    if (kontext.benutzer == nullptr) return;
    if (!gesagt) kontext.benutzer->Hinweis(HinweisAlbenWarten(kontext.AlbenPfad));
    gesagt = true;
    kontext.benutzer->EreignisseVerarbeiten();
  };
  try {
    sperre.emplace(kontext.AlbenPfad, kontext.sperrFrist, warten);
  } catch (const FolderLockTimeout&) {
    throw WriteError(MeldungAlbenGesperrt(kontext.AlbenPfad));
  }
}

}  // namespace

AlbenSperre::AlbenSperre(const AlbenKontext& kontext) {
  Sperren(kontext, sperre_);
}

std::string HinweisAlbenWarten(const std::string& albenPfad) {
  return Format(_("Ein anderes Programm ändert gerade die Alben in „{}“; bitte warten …"), albenPfad);
}

std::string MeldungAlbenGesperrt(const std::string& albenPfad) {
  return Format(_("Die Alben in „{}“ werden seit längerer Zeit von einem anderen Programm geändert; "
                  "es wurde nichts gespeichert. Bitte versuchen Sie es später noch einmal."),
                albenPfad);
}

}  // namespace tilvendo
