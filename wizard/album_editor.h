// The album editor page without Qt: when "Schließen" may be pressed, which folder may
// be dropped, which list line is selected after a change, the drive chooser's list and
// where it goes when media arrive or leave.
//
// A "drive" is a mount point: the folder tree of the page shows one mounted file system
// from its mount point down.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "albums/alben_kontext.h"
#include "albums/galerie.h"
#include "platform/medien.h"

namespace tilvendo::wizard {

// The name field holds a name the album may take: not empty, not a summary entry's,
// not another album's (`eigenerName`: the album's name when the editor opened).
bool SchliessenMoeglich(const AlbenKontext& kontext, std::string_view eigenerName,
                        std::string_view text);

// Why the name field's text cannot be the album's name, in a short German sentence shown
// beside the field; empty exactly when SchliessenMoeglich holds.
std::string NamensHinweis(const AlbenKontext& kontext, std::string_view eigenerName,
                          std::string_view text);

// "momentanes Verzeichnis": the folder "hinzufügen" would add, "-" while there is none.
inline constexpr const char* kKeinOrdner = "-";
std::string AktVerzText(std::string_view ordner);

// A folder of the tree may be dropped on the album's list when it is not in it yet.
bool AblegenMoeglich(const TGalerieGlobal& album, std::string_view ordner);

// The line selected after a folder was added: the one selected before, else the first.
size_t AuswahlNachHinzufuegen(std::optional<size_t> vorher);
// The line selected after line `entfernt` was removed: the one above it, the first for
// the first line, none when the list is empty.
std::optional<size_t> AuswahlNachEntfernen(size_t entfernt, size_t verbleibend);

struct Laufwerk {
  std::string einhaengepunkt;
  std::string beschriftung;  // "URLAUB (/media/anna/URLAUB)", or the mount point alone
  friend bool operator==(const Laufwerk&, const Laufwerk&) = default;
};

// The volume label of the file system mounted at a mount point; empty when it has none.
using Volumenname = std::function<std::string(const std::string& einhaengepunkt)>;

// The drive chooser's list: every mount point that can hold album pictures (class not 0),
// once, in mount order.
std::vector<Laufwerk> LaufwerkeAuflisten(const Medien& medien, const Volumenname& volumenname);

// A drive can be chosen when a readable medium is mounted there.
bool LaufwerkLesbar(const Medien& medien, const std::string& einhaengepunkt);

// The drive the folder tree falls back to: the one that holds the home folder.
std::string HeimLaufwerk(const Medien& medien, const std::string& heimordner);

// Where the drive chooser goes after the mount table changed from `vorher` to `nachher`
// while `gewaehlt` was chosen: to the first removable medium with a readable
// identification among those just mounted; else, when the chosen one is no longer
// readable, to `heim`; else it stays (nothing).
std::optional<std::string> LaufwerkNachAenderung(const Medien& medien,
                                                 const std::vector<std::string>& vorher,
                                                 const std::vector<std::string>& nachher,
                                                 const std::string& gewaehlt,
                                                 const std::string& heim);

}  // namespace tilvendo::wizard
