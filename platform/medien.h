// Where a folder lives: the mount point of its file system, the volume identification
// of that file system and whether it is removable.
//
// Linux has no drive letters. The "drive" of a folder is the mount point of the file
// system that holds it ("/media/anna/URLAUB", "/"); its identification is the volume
// serial or UUID in the form "0012-ABCD"; its class says whether albums may use it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tilvendo {

// Drive classes: not usable for albums, removable medium, fixed disk.
inline constexpr int kLaufwerksklasseUngeeignet = 0;
inline constexpr int kLaufwerksklasseWechselmedium = 1;
inline constexpr int kLaufwerksklasseFestplatte = 2;

class Medien {
 public:
  virtual ~Medien() = default;

  // The mount point of the file system that holds `pfad` (without trailing "/",
  // except "/" itself); empty when no mount holds it.
  virtual std::string Einhaengepunkt(std::string_view pfad) const = 0;

  // The identification of the file system mounted exactly at `einhaengepunkt`:
  // 8 upper-case hexadecimal digits with "-" after the fourth. Empty when nothing
  // readable is mounted there.
  virtual std::string Datentraegerkennung(std::string_view einhaengepunkt) const = 0;

  // 0 when no mount holds `pfad` or it is a RAM or pseudo file system; 1 for a
  // removable medium (removable or USB block device, optical file system); 2 for a
  // fixed disk or a network file system mounted into the tree.
  virtual int Laufwerksklasse(std::string_view pfad) const = 0;

  // Every mount point, in mount order (for finding a medium just inserted).
  virtual std::vector<std::string> Einhaengepunkte() const { return {}; }
};

// The media of this machine, read from the mount table on every call (media come and
// go), without privileges.
class SystemMedien final : public Medien {
 public:
  std::string Einhaengepunkt(std::string_view pfad) const override;
  std::string Datentraegerkennung(std::string_view einhaengepunkt) const override;
  int Laufwerksklasse(std::string_view pfad) const override;
  std::vector<std::string> Einhaengepunkte() const override;
};

// "0012-ABCD" for 0x0012ABCD.
std::string KennungAusSeriennummer(uint32_t seriennummer);

// The identification from a file system's UUID text as the system reports it: FAT
// and exFAT serials ("ABCD-1234") as they are, NTFS serials (16 hex digits) by their
// low 32 bits like Windows shows them, longer UUIDs by their first 32 bits. Empty
// when the text holds fewer than 8 hexadecimal digits.
std::string KennungAusUuid(std::string_view uuid, std::string_view dateisystem);

}  // namespace tilvendo
