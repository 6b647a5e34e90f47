#include "platform/medien.h"

#include <blkid/blkid.h>
#include <dirent.h>
#include <libmount/libmount.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

namespace tilvendo {
namespace {

constexpr const char* kMountTabelle = "/proc/self/mountinfo";
constexpr const char* kUuidVerweise = "/dev/disk/by-uuid/";
constexpr const char* kSysfsBlockgeraete = "/sys/dev/block/";
constexpr size_t kKennungZiffern = 8;
constexpr size_t kKennungHaelfte = 4;
constexpr size_t kNtfsZiffern = 16;

// File systems that live in memory or only show kernel state, and the read-only images
// software packages are mounted from: no place for albums.
constexpr std::array<std::string_view, 28> kUngeeigneteDateisysteme = {
    "tmpfs",      "ramfs",     "devtmpfs",  "proc",    "sysfs",       "devpts",   "cgroup",
    "cgroup2",    "mqueue",    "debugfs",   "tracefs", "securityfs",  "pstore",   "bpf",
    "configfs",   "fusectl",   "hugetlbfs", "autofs",  "binfmt_misc", "efivarfs", "nsfs",
    "rpc_pipefs", "selinuxfs", "nfsd",      "rootfs",  "pipefs",      "sockfs",   "squashfs"};
// File systems of CDs and DVDs: always a removable medium.
constexpr std::array<std::string_view, 2> kOptischeDateisysteme = {"iso9660", "udf"};

struct TabelleFreigeben {
  void operator()(libmnt_table* tabelle) const { mnt_unref_table(tabelle); }
};
using Mounttabelle = std::unique_ptr<libmnt_table, TabelleFreigeben>;

Mounttabelle TabelleLesen() {
  return Mounttabelle(mnt_new_table_from_file(kMountTabelle));
}

template <size_t N>
bool Enthaelt(const std::array<std::string_view, N>& liste, const char* wert) {
  if (wert == nullptr) return false;
  for (std::string_view eintrag : liste) {
    if (eintrag == wert) return true;
  }
  return false;
}

// The path made absolute and, where it exists, free of links and "..".
std::string Absolut(std::string_view pfad) {
  std::error_code fehler;
  std::filesystem::path absolut = std::filesystem::absolute(std::filesystem::path(pfad), fehler);
  if (fehler) return std::string(pfad);
  std::filesystem::path kanonisch = std::filesystem::weakly_canonical(absolut, fehler);
  std::string result = (fehler ? absolut.lexically_normal() : kanonisch).string();
  while (result.size() > 1 && result.back() == '/') result.pop_back();
  return result;
}

libmnt_fs* DateisystemMitPfad(libmnt_table* tabelle, std::string_view pfad) {
  if (tabelle == nullptr || pfad.empty()) return nullptr;
  // The look-up needs an existing path; a missing one lies on its nearest parent's mount.
  std::filesystem::path vorhanden(Absolut(pfad));
  std::error_code fehler;
  while (!std::filesystem::exists(vorhanden, fehler) && vorhanden.has_relative_path()) {
    vorhanden = vorhanden.parent_path();
  }
  return mnt_table_find_mountpoint(tabelle, vorhanden.c_str(), MNT_ITER_BACKWARD);
}

libmnt_fs* DateisystemAn(libmnt_table* tabelle, std::string_view einhaengepunkt) {
  if (tabelle == nullptr || einhaengepunkt.empty()) return nullptr;
  const std::string genau(einhaengepunkt);
  libmnt_fs* fs = mnt_table_find_target(tabelle, genau.c_str(), MNT_ITER_BACKWARD);
  if (fs == nullptr) fs = mnt_table_find_target(tabelle, Absolut(genau).c_str(), MNT_ITER_BACKWARD);
  return fs;
}

bool IstBlockgeraet(dev_t geraet) {
  return major(geraet) != 0;
}

// The UUID from udev's links, which anyone may read.
std::string UuidAusVerweisen(dev_t geraet) {
  std::unique_ptr<DIR, int (*)(DIR*)> ordner(::opendir(kUuidVerweise), &::closedir);
  if (!ordner) return {};
  while (const dirent* eintrag = ::readdir(ordner.get())) {
    const std::string name = eintrag->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    if (::stat((kUuidVerweise + name).c_str(), &info) == 0 && S_ISBLK(info.st_mode) &&
        info.st_rdev == geraet) {
      return name;
    }
  }
  return {};
}

// The UUID from libblkid's cache (it cannot probe devices without privileges).
std::string UuidAusBlkid(dev_t geraet) {
  std::unique_ptr<char, void (*)(void*)> geraetename(blkid_devno_to_devname(geraet), &std::free);
  if (!geraetename) return {};
  blkid_cache cache = nullptr;
  if (blkid_get_cache(&cache, nullptr) != 0) return {};
  std::unique_ptr<char, void (*)(void*)> uuid(blkid_get_tag_value(cache, "UUID", geraetename.get()),
                                              &std::free);
  blkid_put_cache(cache);
  return uuid ? std::string(uuid.get()) : std::string();
}

std::string DateiInhalt(const std::string& pfad) {
  std::ifstream in(pfad);
  std::string inhalt;
  std::getline(in, inhalt);
  return inhalt;
}

bool IstWechselgeraet(dev_t geraet) {
  std::error_code fehler;
  const std::string verweis = std::string(kSysfsBlockgeraete) + std::to_string(major(geraet)) +
                              ":" + std::to_string(minor(geraet));
  const std::filesystem::path sysfs = std::filesystem::canonical(verweis, fehler);
  if (fehler) return false;
  if (sysfs.string().find("/usb") != std::string::npos) return true;
  // Partitions carry no "removable" of their own; their disk does.
  for (const std::filesystem::path& ordner : {sysfs, sysfs.parent_path()}) {
    const std::string wert = DateiInhalt((ordner / "removable").string());
    if (!wert.empty()) return wert == "1";
  }
  return false;
}

}  // namespace

std::string KennungAusSeriennummer(uint32_t seriennummer) {
  std::array<char, kKennungZiffern + 2> text{};
  std::snprintf(text.data(), text.size(), "%04X-%04X", seriennummer >> 16, seriennummer & 0xFFFF);
  return text.data();
}

std::string KennungAusUuid(std::string_view uuid, std::string_view dateisystem) {
  (void)dateisystem;
  std::string ziffern;
  for (const char c : uuid) {
    if (std::isxdigit(static_cast<unsigned char>(c))) {
      ziffern += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  if (ziffern.size() < kKennungZiffern) return {};
  // An NTFS serial is 64 bits without dashes; Windows shows its low half.
  const bool ntfs = ziffern.size() == kNtfsZiffern && uuid.find('-') == std::string_view::npos;
  std::string kennung =
      ntfs ? ziffern.substr(kNtfsZiffern - kKennungZiffern) : ziffern.substr(0, kKennungZiffern);
  kennung.insert(kKennungHaelfte, "-");
  return kennung;
}

std::string SystemMedien::Einhaengepunkt(std::string_view pfad) const {
  const Mounttabelle tabelle = TabelleLesen();
  libmnt_fs* fs = DateisystemMitPfad(tabelle.get(), pfad);
  const char* ziel = fs != nullptr ? mnt_fs_get_target(fs) : nullptr;
  return ziel != nullptr ? std::string(ziel) : std::string();
}

std::string SystemMedien::Datentraegerkennung(std::string_view einhaengepunkt) const {
  const Mounttabelle tabelle = TabelleLesen();
  libmnt_fs* fs = DateisystemAn(tabelle.get(), einhaengepunkt);
  if (fs == nullptr) return {};
  const dev_t geraet = mnt_fs_get_devno(fs);
  const char* typ = mnt_fs_get_fstype(fs);
  if (IstBlockgeraet(geraet)) {
    std::string uuid = UuidAusVerweisen(geraet);
    if (uuid.empty()) uuid = UuidAusBlkid(geraet);
    std::string kennung = KennungAusUuid(uuid, typ != nullptr ? typ : "");
    if (!kennung.empty()) return kennung;
  }
  // Containers and sandboxes know no UUIDs; the kernel's file-system id still tells
  // two file systems apart.
  struct statfs info {};
  const char* ziel = mnt_fs_get_target(fs);
  if (ziel == nullptr || ::statfs(ziel, &info) != 0) return {};
  uint32_t erste32Bit = 0;
  static_assert(sizeof(info.f_fsid) >= sizeof(erste32Bit));
  std::memcpy(&erste32Bit, &info.f_fsid, sizeof(erste32Bit));
  return KennungAusSeriennummer(erste32Bit);
}

int SystemMedien::Laufwerksklasse(std::string_view pfad) const {
  const Mounttabelle tabelle = TabelleLesen();
  libmnt_fs* fs = DateisystemMitPfad(tabelle.get(), pfad);
  if (fs == nullptr) return kLaufwerksklasseUngeeignet;
  const char* typ = mnt_fs_get_fstype(fs);
  if (Enthaelt(kUngeeigneteDateisysteme, typ)) return kLaufwerksklasseUngeeignet;
  if (Enthaelt(kOptischeDateisysteme, typ)) return kLaufwerksklasseWechselmedium;
  const dev_t geraet = mnt_fs_get_devno(fs);
  if (IstBlockgeraet(geraet) && IstWechselgeraet(geraet)) return kLaufwerksklasseWechselmedium;
  // Fixed disks, and network or overlay file systems mounted into the tree.
  return kLaufwerksklasseFestplatte;
}

std::vector<std::string> SystemMedien::Einhaengepunkte() const {
  std::vector<std::string> punkte;
  const Mounttabelle tabelle = TabelleLesen();
  if (!tabelle) return punkte;
  struct IteratorFreigeben {
    void operator()(libmnt_iter* iterator) const { mnt_free_iter(iterator); }
  };
  std::unique_ptr<libmnt_iter, IteratorFreigeben> iterator(mnt_new_iter(MNT_ITER_FORWARD));
  libmnt_fs* fs = nullptr;
  while (iterator && mnt_table_next_fs(tabelle.get(), iterator.get(), &fs) == 0) {
    if (const char* ziel = mnt_fs_get_target(fs)) punkte.emplace_back(ziel);
  }
  return punkte;
}

}  // namespace tilvendo
