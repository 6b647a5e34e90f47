// Where a mosaic or a placement list may be written. A name the user types can lead,
// by a link, a hard link or plain mistake, to the template, to one of the photos the
// mosaic is made of, to the program's own album files, or to a device; writing there
// would destroy what the user owns or break the system. Both front ends ask this one
// rule before they write (the wizard's save dialogs, the command line before its long
// run), and the saves below them ask it once more.
#pragma once

#include <optional>
#include <string>

#include "engine/auftrag.h"
#include "pictures/speichern.h"

namespace tilvendo {

enum class Ausgabeart {
  Mosaik,             // a picture file: replaces any regular file that is not protected
  Platzierungsliste,  // replaces only an older placement list (or makes a new file)
};

// Why `ziel` must not be written as `art` for this job, or nothing when it may. Refused
// is a name that leads (links followed, hard links found by their file) to:
// - a folder, a device, a pipe or a socket;
// - the job's template;
// - a photo of one of the chosen albums (a file with a picture extension in one of their
//   folders);
// - anything in the album folder, where only the catalogue and the album files belong;
// - for a list, an existing file that is no placement list.
// The message, in the user's language, says what to do.
std::optional<std::string> AusgabezielPruefen(const Auftrag& auftrag, const std::string& ziel,
                                              Ausgabeart art);

// The same rule for the file a save of the mosaic is about to write (`optionen`' folder
// and name): WriteError with the reason when it is refused. Every way a mosaic reaches a
// file asks it right before writing, since after a long run the name may lead elsewhere
// than when the front end asked.
void MosaikzielSichern(const Auftrag& auftrag, const SpeicherOptionen& optionen);
// The same for a path: the web page's, whose folder lies beside it.
void MosaikzielSichern(const Auftrag& auftrag, const std::string& ziel);

}  // namespace tilvendo
