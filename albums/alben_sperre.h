// Taking turns with other programs on the album folder. Two programs (two command lines,
// or the wizard and a command line) that read the catalogue, change it and write it back
// at the same moment would each write their own version, and one album would be lost.
// Every such read-modify-write of the catalogue or the album files therefore holds the
// folder's lock from reading to writing. An AlbenSperre is that turn: a step that must
// run within a turn its caller holds (so that no other program's change slips in between
// several steps) takes the caller's AlbenSperre as an argument and takes no lock itself;
// one handed none takes its own, for its own step only. A lock is never asked for while
// one is held, which would wait for itself.
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
  // MeldungAlbenGesperrt, before anything was changed.
  explicit AlbenSperre(const AlbenKontext& kontext);
  AlbenSperre(const AlbenSperre&) = delete;
  AlbenSperre& operator=(const AlbenSperre&) = delete;

 private:
  std::optional<FolderLock> sperre_;
};

// "Ein anderes Programm ändert gerade die Alben in „<Pfad>“; bitte warten …"
std::string HinweisAlbenWarten(const std::string& albenPfad);
// The album folder stayed locked for the whole time allowed; nothing was changed.
std::string MeldungAlbenGesperrt(const std::string& albenPfad);

}  // namespace tilvendo
