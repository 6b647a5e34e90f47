#include <stdexcept>
#include <string>

#include "arbeitsordner.h"
#include "platform/profile_file.h"
#include "ziele.h"

namespace tilvendo::fuzz {

namespace {
// The catalogue's list of sections: the usual way from one section to the others.
constexpr std::string_view kVerzeichnis = "Alben";
constexpr std::string_view kSchluessel = "Ak3";
constexpr std::string_view kWert = "-17";
constexpr int32_t kZahlWert = -17;

// Thrown, so that the fuzzer reports it as a crash and the replaying test as a failure.
void Pruefen(bool bedingung, const char* was) {
  if (!bedingung) throw std::logic_error(was);
}

// Reads every key of `sektion` as text and as number.
void SektionLesen(const ProfileFile& profil, std::string_view sektion) {
  for (const auto& [schluessel, wert] : profil.Entries(sektion)) {
    Pruefen(wert.size() <= kProfileValueMaxLength, "Wert zu lang");
    Pruefen(profil.Read(sektion, schluessel) == wert, "Read weicht von Entries ab");
    profil.ReadInteger(sektion, schluessel, 0);
  }
}
}  // namespace

void ProfilLesen(Eingabe daten) {
  static const Arbeitsordner ordner;
  const std::string pfad = ordner.Schreiben("profil.ini", AlsText(daten));
  ProfileFile profil = ProfileFile::Load(pfad);
  SektionLesen(profil, kVerzeichnis);

  std::string ziel;
  for (const auto& [schluessel, sektion] : profil.Entries(kVerzeichnis)) {
    if (!profil.HasSection(sektion)) continue;
    SektionLesen(profil, sektion);
    if (ziel.empty() && ProfileFile::IsStorableSectionName(sektion)) ziel = sektion;
  }
  if (ziel.empty()) return;

  // A value written into what was read must come back unchanged after a save, and the
  // rest of the file with it.
  profil.Write(ziel, kSchluessel, kWert);
  profil.Save();
  const ProfileFile wieder = ProfileFile::Load(pfad);
  Pruefen(wieder.ReadInteger(ziel, kSchluessel, 0) == kZahlWert, "Wert nach Save verloren");
  Pruefen(wieder.Entries(ziel) == profil.Entries(ziel), "Sektion nach Save anders");
}

}  // namespace tilvendo::fuzz
