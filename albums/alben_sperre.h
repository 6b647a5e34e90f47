// Taking turns with other programs on the album folder. Two programs (two command lines,
// or the wizard and a command line) that read the catalogue, change it and write it back
// at the same moment would each write their own version, and one album would be lost.
// Every such read-modify-write of the catalogue or the album files therefore holds the
// folder's lock from reading to writing. Each album operation takes it itself, for its
// own step only; none holds it while it calls another that takes it, unless it hands
// that one a context marked `sperreGehalten`.
#pragma once

#include <optional>
#include <string>

#include "albums/alben_kontext.h"
#include "platform/folder_lock.h"

namespace tilvendo {

class AlbenSperre {
 public:
  // Waits while another program holds the lock: tells kontext.benutzer once why and
  // keeps its window alive. After kontext.sperrFrist throws WriteError with
  // MeldungAlbenGesperrt, before anything was changed. Takes nothing when the caller
  // holds the lock already (kontext.sperreGehalten).
  explicit AlbenSperre(const AlbenKontext& kontext);

 private:
  std::optional<FolderLock> sperre_;
};

// "Ein anderes Programm ändert gerade die Alben in „<Pfad>“; bitte warten …"
std::string HinweisAlbenWarten(const std::string& albenPfad);
// The album folder stayed locked for the whole time allowed; nothing was changed.
std::string MeldungAlbenGesperrt(const std::string& albenPfad);

}  // namespace tilvendo
