#include "albums/katalog.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>

#include "albums/alben_sperre.h"
#include "albums/katalog_intern.h"
#include "albums/ordner_scan.h"
#include "albums/signaturdatei.h"
#include "platform/atomic_file.h"
#include "platform/gross_klein.h"
#include "platform/paths.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr std::string_view kZeilenende = "\r\n";
constexpr std::string_view kDateinamePraefix = "Album ";

// Catalogue keys of an album section, in the order they are written.
constexpr std::string_view kSchluesselDateiname = "DN";
constexpr std::string_view kSchluesselVersion = "Ve";
constexpr std::string_view kSchluesselMediumName = "MN";
constexpr std::string_view kSchluesselSeriennummer = "SN";
constexpr std::string_view kSchluesselLaufwerk = "MB";
constexpr std::string_view kSchluesselGesamt = "AG";
constexpr std::string_view kSchluesselHochkant = "AH";
constexpr std::string_view kSchluesselQuerformat = "AQ";
constexpr std::string_view kSchluesselQuadratisch = "AS";
constexpr std::string_view kSchluesselWechselmedium = "WM";
constexpr std::string_view kSchluesselUnterverzeichnisse = "mUV";

// Defaults of keys missing from a section.
constexpr std::string_view kSeriennummerFehlt = "0-0";
constexpr std::string_view kLaufwerkFehlt = "z";
constexpr int32_t kZahlFehlt = 0;
constexpr int32_t kWahr = 1;
constexpr int32_t kFalsch = 0;
// Cache state of a cache that must be built anew.
constexpr int32_t kCacheNeu = 1;

std::string Ordnerdatei(const AlbenKontext& kontext, const TGalerieGlobal& album) {
  return kontext.Datei(album.Dateiname + std::string(kOrdnerdateiEndung));
}

std::string Dateiliste(const AlbenKontext& kontext, const TGalerieGlobal& album) {
  return kontext.Datei(album.Dateiname + std::string(kDateilisteEndung));
}

std::string_view Wahrheitswert(bool wert) {
  return wert ? "1" : "0";
}

// Whether `dateiname` is "<base> <level><variant>.nba" of the album with that base.
bool IstSignaturdateiVon(std::string_view dateiname, std::string_view basis) {
  const std::string praefix = std::string(basis) + " ";
  if (!dateiname.starts_with(praefix) || !dateiname.ends_with(kSignaturdateiEndung)) return false;
  const std::string_view stufe = dateiname.substr(
      praefix.size(), dateiname.size() - praefix.size() - kSignaturdateiEndung.size());
  return !StufeVonVariante(stufe).empty() && CachevarianteGueltig(VarianteVonStufe(stufe));
}

// Whether `dateiname` is a cache of that album still being written when the program
// ended: "." + cache name + "." + six characters (the temporary name of AtomicFile).
bool IstVerwaisterCacheVon(std::string_view dateiname, std::string_view basis) {
  constexpr size_t kZufallsteil = 6;
  if (!dateiname.starts_with('.') || dateiname.size() < 2 + kZufallsteil) return false;
  const std::string_view cache = dateiname.substr(1, dateiname.size() - 2 - kZufallsteil);
  return dateiname[dateiname.size() - 1 - kZufallsteil] == '.' && IstSignaturdateiVon(cache, basis);
}

void SignaturdateienLoeschen(const AlbenKontext& kontext, const std::string& basis) {
  std::unique_ptr<DIR, int (*)(DIR*)> ordner(::opendir(kontext.AlbenPfad.c_str()), &::closedir);
  if (!ordner) return;
  std::vector<std::string> treffer;
  while (const dirent* eintrag = ::readdir(ordner.get())) {
    if (IstSignaturdateiVon(eintrag->d_name, basis) ||
        IstVerwaisterCacheVon(eintrag->d_name, basis)) {
      treffer.emplace_back(eintrag->d_name);
    }
  }
  for (const std::string& name : treffer) DateiEntfernen(kontext.Datei(name));
}

// A picture count of the section; nothing when it is there but absurd (negative, or no
// number that fits 32 bits), as only a damaged or hand-edited catalogue has it.
std::optional<int32_t> BildzahlLesen(const ProfileFile& katalog, std::string_view sektion,
                                     std::string_view schluessel) {
  constexpr int32_t kUnlesbar = -1;
  if (!katalog.Read(sektion, schluessel)) return kZahlFehlt;
  const int32_t zahl = katalog.ReadInteger(sektion, schluessel, kUnlesbar);
  if (zahl < 0) return std::nullopt;
  return zahl;
}

// The first number from `ab` of which no file exists (not even a cache: the files of an
// album the catalogue lost are still the user's, to be taken back) and that no section
// of the catalogue names, listed or not.
int32_t FreieNummer(const std::set<std::string>& belegt, const ProfileFile& katalog,
                    int32_t ab = 1) {
  for (int32_t nummer = ab;; ++nummer) {
    const std::string basis = AlbumDateiname(nummer);
    if (!belegt.contains(basis) && !DateinameVergeben(katalog, basis)) return nummer;
  }
}

// With the album folder locked: a free Dateiname whose folder file is made at once, and
// only if it did not exist, so that no other program can choose the same name before this
// one has saved its album. The empty file stands for an album that is being made; tidying
// leaves it alone for a while. A folder that cannot be written reserves nothing: saving
// will report it.
std::string DateinameReservieren(const AlbenKontext& kontext, const ProfileFile& katalog) {
  constexpr mode_t kNeueDatei = 0666;
  const std::set<std::string> belegt = BasenMitDateien(kontext);
  for (int32_t ab = 1;;) {
    const int32_t nummer = FreieNummer(belegt, katalog, ab);
    const std::string basis = AlbumDateiname(nummer);
    const std::string pfad = kontext.Datei(basis + std::string(kOrdnerdateiEndung));
    const int fd = ::open(pfad.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNeueDatei);
    if (fd >= 0) {
      ::close(fd);
      return basis;
    }
    if (errno != EEXIST) return basis;
    ab = nummer + 1;
  }
}

void ListenSpeichern(const AlbenKontext& kontext, const TGalerieGlobal& album) {
  if (!DateinameGueltig(album.Dateiname)) {
    throw WriteError(CannotWriteMessage(Ordnerdatei(kontext, album)));
  }
  std::vector<std::string> zeilen;
  std::copy_if(album.Verzeichnisse.begin(), album.Verzeichnisse.end(), std::back_inserter(zeilen),
               AlsZeileSpeicherbar);
  zeilen.emplace_back(kOrdnerTrennzeile);
  std::copy_if(album.AlleVerzeichnisse.begin(), album.AlleVerzeichnisse.end(),
               std::back_inserter(zeilen), AlsZeileSpeicherbar);
  TextzeilenSchreiben(Ordnerdatei(kontext, album), zeilen);
  // A list that cannot be stored line by line is not stored at all, so the cache is
  // rebuilt rather than read against a shifted list.
  if (album.Dateien.empty() ||
      !std::all_of(album.Dateien.begin(), album.Dateien.end(), AlsZeileSpeicherbar)) {
    DateilisteLoeschen(kontext, album);
  } else {
    TextzeilenSchreiben(Dateiliste(kontext, album), album.Dateien);
  }
}

// A blank slot is kept for the next album only between two albums: those after the last
// album (all of them, when none is left) go, so that no "n=" line stays for nothing.
void LeereSlotsAmEndeEntfernen(ProfileFile& katalog) {
  int64_t letztes = 0;
  std::vector<std::pair<int64_t, std::string>> leer;
  for (const auto& [schluessel, wert] : katalog.Entries(kAlbenSektion)) {
    int64_t slot = 0;
    const auto [ende, fehler] =
        std::from_chars(schluessel.data(), schluessel.data() + schluessel.size(), slot);
    if (fehler != std::errc() || ende != schluessel.data() + schluessel.size()) continue;
    if (wert.empty()) {
      leer.emplace_back(slot, schluessel);
    } else {
      letztes = std::max(letztes, slot);
    }
  }
  for (const auto& [slot, schluessel] : leer) {
    if (slot > letztes) katalog.EraseKey(kAlbenSektion, schluessel);
  }
}

// Another album of a catalogue edited by hand names the same files: this one gets files
// of its own, starting from what it has just read, so that neither overwrites the
// other's folders and list. Its caches are rebuilt under the new name. When the album
// folder cannot be written, both go on sharing (deleting one keeps the files).
void EigeneDateienGeben(const AlbenKontext& kontext, TGalerieGlobal& album) {
  const std::string bisher = album.Dateiname;
  try {
    const AlbenSperre sperre(kontext);
    ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
    album.Dateiname = DateinameReservieren(kontext, katalog);
    // An album never scanned stays so: it has no folder file to copy.
    if (album.AlleVerzeichnisseVorhanden) ListenSpeichern(kontext, album);
    katalog.Write(album.Name, kSchluesselDateiname, album.Dateiname);
    for (const std::string& schluessel : katalog.Keys(album.Name)) {
      if (IstCacheZustandSchluessel(schluessel)) {
        katalog.WriteInteger(album.Name, schluessel, kCacheNeu);
      }
    }
    katalog.Save();
  } catch (const WriteError&) {
    album.Dateiname = bisher;
  }
}

// A name the program gives an entry of its own, in German or in the language it speaks:
// an album of that name could not be told from the entry.
bool NameDesProgramms(std::string_view kandidat, std::string_view name) {
  return GleichOhneGrossKlein(kandidat, name) ||
         GleichOhneGrossKlein(kandidat, _(std::string(name).c_str()));
}

}  // namespace

// ---- steps on a loaded catalogue -------------------------------------------------

int32_t SlotSuchen(const ProfileFile& katalog, std::string_view name) {
  // One pass over the section: a catalogue with very many slots stays fast.
  std::unordered_map<std::string, std::string> slots;
  for (auto& [schluessel, wert] : katalog.Entries(kAlbenSektion)) {
    slots.emplace(std::move(schluessel), std::move(wert));
  }
  int32_t ersteLuecke = 0;
  for (int32_t slot = 1;; ++slot) {
    const auto wert = slots.find(std::to_string(slot));
    if (wert == slots.end()) return ersteLuecke > 0 ? ersteLuecke : slot;
    if (wert->second.empty()) {
      if (ersteLuecke == 0) ersteLuecke = slot;
      continue;
    }
    if (wert->second == name) return slot;
  }
}

bool Gelistet(const ProfileFile& katalog, std::string_view name) {
  const int32_t slot = SlotSuchen(katalog, name);
  return katalog.Read(kAlbenSektion, std::to_string(slot)) == std::optional<std::string>(name);
}

std::vector<AlbumMitDateiname> AlbenDateinamen(const ProfileFile& katalog) {
  std::vector<AlbumMitDateiname> alben;
  for (auto& [schluessel, name] : katalog.Entries(kAlbenSektion)) {
    if (name.empty()) continue;
    std::string dateiname = katalog.ReadString(name, kSchluesselDateiname, "");
    alben.push_back({std::move(name), std::move(dateiname)});
  }
  return alben;
}

bool DateinameVergeben(const ProfileFile& katalog, std::string_view dateiname,
                       std::string_view ausser) {
  for (const auto& [sektion, wert] : katalog.ValuesInEverySection(kSchluesselDateiname)) {
    if (GleichOhneGrossKlein(sektion, kAlbenSektion) || GleichOhneGrossKlein(sektion, ausser)) {
      continue;
    }
    if (GleichOhneGrossKlein(wert, dateiname)) return true;
  }
  return false;
}

bool DateinameBenannt(const ProfileFile& katalog, std::string_view dateiname,
                      std::string_view ausser) {
  const std::vector<AlbumMitDateiname> alben = AlbenDateinamen(katalog);
  return std::any_of(alben.begin(), alben.end(), [&](const AlbumMitDateiname& album) {
    return !GleichOhneGrossKlein(album.name, ausser) &&
           GleichOhneGrossKlein(album.dateiname, dateiname);
  });
}

std::string_view StufeVonVariante(std::string_view zeichen) {
  const size_t ziffern = std::min(zeichen.find_first_not_of("0123456789"), zeichen.size());
  return zeichen.substr(0, ziffern);
}

std::string_view VarianteVonStufe(std::string_view zeichen) {
  return zeichen.substr(StufeVonVariante(zeichen).size());
}

bool IstCacheZustandSchluessel(std::string_view schluessel) {
  return schluessel.starts_with(kCacheZustandPraefix) && ProfileFile::IsStorableKeyName(schluessel);
}

void KatalogEintragLesen(const ProfileFile& katalog, TGalerieGlobal& album) {
  const std::string& s = album.Name;
  album.Dateiname = katalog.ReadString(s, kSchluesselDateiname, "");
  album.Version = katalog.ReadString(s, kSchluesselVersion, kAlbumVersionAlt);
  album.MediumName = katalog.ReadString(s, kSchluesselMediumName, "");
  album.Seriennummer = katalog.ReadString(s, kSchluesselSeriennummer, kSeriennummerFehlt);
  // The whole mount point: Linux media have no one-letter names.
  album.Laufwerk = katalog.ReadString(s, kSchluesselLaufwerk, kLaufwerkFehlt);
  album.Anzahl.gesamt = BildzahlLesen(katalog, s, kSchluesselGesamt).value_or(kZahlFehlt);
  album.Anzahl.hochkant = BildzahlLesen(katalog, s, kSchluesselHochkant).value_or(kZahlFehlt);
  album.Anzahl.querformat = BildzahlLesen(katalog, s, kSchluesselQuerformat).value_or(kZahlFehlt);
  album.Anzahl.quadratisch = BildzahlLesen(katalog, s, kSchluesselQuadratisch).value_or(kZahlFehlt);
  album.Wechselmedium = katalog.ReadInteger(s, kSchluesselWechselmedium, kFalsch) != 0;
  album.mitUnterverzeichnissen = katalog.ReadInteger(s, kSchluesselUnterverzeichnisse, kWahr) != 0;
}

void KatalogEintragSchreiben(ProfileFile& katalog, const TGalerieGlobal& album) {
  const std::string& s = album.Name;
  katalog.Write(kAlbenSektion, std::to_string(SlotSuchen(katalog, s)), s);
  katalog.Write(s, kSchluesselDateiname, album.Dateiname);
  katalog.Write(s, kSchluesselVersion, album.Version);
  katalog.Write(s, kSchluesselMediumName, album.MediumName);
  katalog.Write(s, kSchluesselSeriennummer, album.Seriennummer);
  katalog.Write(s, kSchluesselLaufwerk, album.Laufwerk);
  katalog.WriteInteger(s, kSchluesselGesamt, album.Anzahl.gesamt);
  katalog.WriteInteger(s, kSchluesselHochkant, album.Anzahl.hochkant);
  katalog.WriteInteger(s, kSchluesselQuerformat, album.Anzahl.querformat);
  katalog.WriteInteger(s, kSchluesselQuadratisch, album.Anzahl.quadratisch);
  katalog.Write(s, kSchluesselWechselmedium, Wahrheitswert(album.Wechselmedium));
  katalog.Write(s, kSchluesselUnterverzeichnisse, Wahrheitswert(album.mitUnterverzeichnissen));
}

std::vector<std::string> TextzeilenLesen(const std::string& pfad) {
  std::ifstream in(pfad, std::ios::binary);
  const std::string inhalt((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> zeilen;
  std::string_view rest(inhalt);
  while (!rest.empty()) {
    const size_t ende = rest.find_first_of("\r\n");
    zeilen.emplace_back(rest.substr(0, ende));
    if (ende == std::string_view::npos) break;
    rest.remove_prefix(rest.substr(ende).starts_with(kZeilenende) ? ende + 2 : ende + 1);
  }
  return zeilen;
}

void TextzeilenSchreiben(const std::string& pfad, const std::vector<std::string>& zeilen) {
  std::string inhalt;
  for (const std::string& zeile : zeilen) {
    inhalt += zeile;
    inhalt += kZeilenende;
  }
  // A link planted in the album folder is replaced, never written through.
  WriteFileAtomically(pfad, inhalt, LinkPolicy::Replace);
}

void DateiEntfernen(const std::string& pfad) {
  ::unlink(pfad.c_str());
}

std::optional<std::string_view> AlbumBasisVon(std::string_view name) {
  // A decimal number as we write it: digits only, no leading zero.
  const auto istZahl = [](std::string_view text) {
    return !text.empty() && text.front() != '0' &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  std::string_view rest;
  if (name.ends_with(kOrdnerdateiEndung)) {
    rest = name.substr(0, name.size() - kOrdnerdateiEndung.size());
  } else if (name.ends_with(kDateilisteEndung)) {
    rest = name.substr(0, name.size() - kDateilisteEndung.size());
  } else if (name.ends_with(kSignaturdateiEndung)) {
    rest = name.substr(0, name.size() - kSignaturdateiEndung.size());
    const size_t leer = rest.rfind(' ');
    if (leer == std::string_view::npos) return std::nullopt;
    const std::string_view stufe = rest.substr(leer + 1);
    if (!istZahl(StufeVonVariante(stufe)) || !CachevarianteGueltig(VarianteVonStufe(stufe))) {
      return std::nullopt;
    }
    rest = rest.substr(0, leer);
  } else {
    return std::nullopt;
  }
  if (!rest.starts_with(kDateinamePraefix) || !istZahl(rest.substr(kDateinamePraefix.size()))) {
    return std::nullopt;
  }
  return rest;
}

std::set<std::string> BasenMitDateien(const AlbenKontext& kontext) {
  std::set<std::string> basen;
  std::unique_ptr<DIR, int (*)(DIR*)> ordner(::opendir(kontext.AlbenPfad.c_str()), &::closedir);
  if (!ordner) return basen;
  while (const dirent* eintrag = ::readdir(ordner.get())) {
    if (const std::optional<std::string_view> basis = AlbumBasisVon(eintrag->d_name)) {
      basen.emplace(*basis);
    }
  }
  return basen;
}

// ---- the operations -----------------------------------------------------------------

bool AlsZeileSpeicherbar(std::string_view pfad) {
  return pfad.find_first_of("\r\n") == std::string_view::npos;
}

bool DateinameGueltig(std::string_view dateiname) {
  return !dateiname.empty() && dateiname != "." && dateiname != ".." &&
         dateiname.find('/') == std::string_view::npos &&
         dateiname.find('\0') == std::string_view::npos;
}

int32_t SlotSuchen(const AlbenKontext& kontext, std::string_view name) {
  return SlotSuchen(ProfileFile::Load(kontext.Katalog()), name);
}

void AlbennamenLaden(const AlbenKontext& kontext, std::vector<std::string>& ziel) {
  ziel.clear();
  for (auto& [schluessel, wert] : ProfileFile::Load(kontext.Katalog()).Entries(kAlbenSektion)) {
    // A hand-damaged list may name a section no catalogue can hold ("[x", a control
    // character): such an album could never be saved again, so it is not offered.
    if (!wert.empty() && ProfileFile::IsStorableSectionName(wert)) ziel.push_back(std::move(wert));
  }
  std::sort(ziel.begin(), ziel.end(),
            [](const std::string& a, const std::string& b) { return VorOhneGrossKlein(a, b); });
}

void AlbumKopfLaden(const AlbenKontext& kontext, TGalerieGlobal& album) {
  KatalogEintragLesen(ProfileFile::Load(kontext.Katalog()), album);
}

void AlbumLaden(const AlbenKontext& kontext, TGalerieGlobal& album) {
  const ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  KatalogEintragLesen(katalog, album);
  AlbumListenLaden(kontext, album);
  // An absurd total is not trusted: the pictures are counted again, those of the
  // album's picture list or, before it has one, the picture files of its folders. The
  // next save stores the count.
  if (!BildzahlLesen(katalog, album.Name, kSchluesselGesamt)) {
    album.Anzahl = Bildzahlen{};
    album.Anzahl.gesamt = album.Dateien.empty()
                              ? BilderZaehlen(album.AlleVerzeichnisse)
                              : static_cast<int32_t>(std::min<size_t>(
                                    album.Dateien.size(), std::numeric_limits<int32_t>::max()));
  }
  if (DateinameGueltig(album.Dateiname) && DateinameBenannt(katalog, album.Dateiname, album.Name)) {
    EigeneDateienGeben(kontext, album);
  }
}

std::string AlbumStand(const AlbenKontext& kontext, std::string_view name) {
  const ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  std::string stand = Gelistet(katalog, name) ? "gelistet\n" : "nicht gelistet\n";
  for (const std::string_view schluessel :
       {kSchluesselDateiname, kSchluesselVersion, kSchluesselMediumName, kSchluesselSeriennummer,
        kSchluesselLaufwerk, kSchluesselGesamt, kSchluesselHochkant, kSchluesselQuerformat,
        kSchluesselQuadratisch, kSchluesselWechselmedium, kSchluesselUnterverzeichnisse}) {
    const std::optional<std::string> wert = katalog.Read(name, schluessel);
    stand += schluessel;
    stand += wert ? "=" + *wert : std::string(" fehlt");
    stand += '\n';
  }
  TGalerieGlobal album;
  album.Dateiname = katalog.ReadString(name, kSchluesselDateiname, "");
  if (DateinameGueltig(album.Dateiname)) {
    std::ifstream in(Ordnerdatei(kontext, album), std::ios::binary);
    stand.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return stand;
}

void AlbumListenLaden(const AlbenKontext& kontext, TGalerieGlobal& album) {
  std::vector<std::string> zeilen;
  if (DateinameGueltig(album.Dateiname)) zeilen = TextzeilenLesen(Ordnerdatei(kontext, album));
  // An empty line names no folder; it only appears in files edited by hand.
  std::erase_if(zeilen, [](const std::string& zeile) { return zeile.empty(); });
  // A folder file always holds at least the separator: one without any line was only
  // reserved for an album being made (or cannot be read), and holds no folders.
  if (zeilen.empty()) {
    album.Dateien.clear();
    album.Verzeichnisse.clear();
    album.Anzahl = Bildzahlen{};
    return;
  }
  const auto trenner = std::find(zeilen.begin(), zeilen.end(), kOrdnerTrennzeile);
  album.Verzeichnisse.assign(zeilen.begin(), trenner);
  album.AlleVerzeichnisse.assign(trenner == zeilen.end() ? zeilen.end() : trenner + 1,
                                 zeilen.end());
  album.AlleVerzeichnisseVorhanden = true;
  album.Dateien = TextzeilenLesen(Dateiliste(kontext, album));
}

Ordnerdateizustand OrdnerdateiPruefen(const AlbenKontext& kontext, const TGalerieGlobal& album) {
  if (!DateinameGueltig(album.Dateiname)) return Ordnerdateizustand::Fehlt;
  const std::string pfad = Ordnerdatei(kontext, album);
  if (!FileExists(pfad)) return Ordnerdateizustand::Fehlt;
  std::ifstream in(pfad, std::ios::binary);
  if (!in) return Ordnerdateizustand::Beschaedigt;  // there, but cannot be read
  if (in.peek() == std::ifstream::traits_type::eof()) return Ordnerdateizustand::Fehlt;
  bool trenner = false;
  for (const std::string& zeile : TextzeilenLesen(pfad)) {
    if (zeile == kOrdnerTrennzeile) {
      trenner = true;
    } else if (!zeile.empty() && (zeile.front() != '/' || zeile.back() != '/' ||
                                  zeile.find('\0') != std::string::npos)) {
      return Ordnerdateizustand::Beschaedigt;
    }
  }
  return trenner ? Ordnerdateizustand::Vorhanden : Ordnerdateizustand::Beschaedigt;
}

void AlbumListenSpeichern(const AlbenKontext& kontext, const TGalerieGlobal& album) {
  const AlbenSperre sperre(kontext);
  ListenSpeichern(kontext, album);
}

void KatalogEintragSchreiben(const AlbenKontext& kontext, const TGalerieGlobal& album) {
  const AlbenSperre sperre(kontext);
  ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  KatalogEintragSchreiben(katalog, album);
  katalog.Save();
}

void AlbumSpeichern(const AlbenKontext& kontext, const TGalerieGlobal& album) {
  const AlbenSperre sperre(kontext);
  AlbumSpeichern(kontext, sperre, album);
}

void AlbumSpeichern(const AlbenKontext& kontext, const AlbenSperre&, const TGalerieGlobal& album) {
  ListenSpeichern(kontext, album);
  ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  KatalogEintragSchreiben(katalog, album);
  katalog.Save();
}

void NeuesAlbumSpeichern(const AlbenKontext& kontext, TGalerieGlobal& album) {
  const AlbenSperre sperre(kontext);
  ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  // Another program may have saved an album of this name since the name was checked.
  for (const auto& [schluessel, wert] : katalog.Entries(kAlbenSektion)) {
    if (!wert.empty() && GleichOhneGrossKlein(wert, album.Name)) {
      throw AlbumnameVergeben(MeldungAlbumnameVergeben(album.Name));
    }
  }
  // The name reserved when the album was begun may have been tidied away while the
  // editor was open, and taken by another album since.
  if (!DateinameGueltig(album.Dateiname) ||
      DateinameVergeben(katalog, album.Dateiname, album.Name)) {
    album.Dateiname = DateinameReservieren(kontext, katalog);
  }
  ListenSpeichern(kontext, album);
  KatalogEintragSchreiben(katalog, album);
  katalog.Save();
}

std::string MeldungAlbumnameVergeben(std::string_view name) {
  return Format(_("Der Albumname „{}“ ist schon vergeben oder nicht erlaubt. Bitte wählen Sie einen "
                  "anderen Namen."),
                name);
}

void AlbumLoeschen(const AlbenKontext& kontext, std::string_view name) {
  const AlbenSperre sperre(kontext);
  AlbumLoeschen(kontext, sperre, name);
}

void AlbumLoeschen(const AlbenKontext& kontext, const AlbenSperre&, std::string_view name) {
  ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  if (!Gelistet(katalog, name)) return;
  TGalerieGlobal album;
  album.Name = std::string(name);
  KatalogEintragLesen(katalog, album);
  // The catalogue first: should it fail, the album is still complete.
  katalog.Write(kAlbenSektion, std::to_string(SlotSuchen(katalog, name)), "");
  LeereSlotsAmEndeEntfernen(katalog);
  katalog.EraseSection(name);
  katalog.Save();
  // A catalogue edited by hand may give two albums the same files: they stay as long as
  // another section names them, listed or not.
  if (!DateinameGueltig(album.Dateiname) || DateinameVergeben(katalog, album.Dateiname)) return;
  DateiEntfernen(Ordnerdatei(kontext, album));
  DateiEntfernen(Dateiliste(kontext, album));
  SignaturdateienLoeschen(kontext, album.Dateiname);
}

void AlbumUmbenennen(const AlbenKontext& kontext, std::string_view alt, std::string_view neu) {
  // Saving an album under its own name must not rewrite the catalogue at all.
  if (alt == neu) return;
  const AlbenSperre sperre(kontext);
  ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  const auto eintraege = katalog.Entries(alt);
  // One write: the album keeps its place in the list under the new name and its keys
  // move with it, so that a crash at any moment leaves it listed under one of its names.
  if (Gelistet(katalog, alt)) {
    katalog.Write(kAlbenSektion, std::to_string(SlotSuchen(katalog, alt)), neu);
  }
  katalog.EraseSection(alt);
  for (const auto& [schluessel, wert] : eintraege) katalog.Write(neu, schluessel, wert);
  katalog.Save();
}

bool AlbumnameFrei(const AlbenKontext& kontext, std::string_view fest1, std::string_view fest2,
                   std::string_view kandidat, std::string_view eigenerName) {
  // The list of album names is a section itself; an album of that name would share it.
  // "=" is kept out as well, because profile readers elsewhere split lines at it.
  if (kandidat.empty() || NameDesProgramms(kandidat, fest1) || NameDesProgramms(kandidat, fest2) ||
      GleichOhneGrossKlein(kandidat, kAlbenSektion) ||
      !ProfileFile::IsStorableSectionName(kandidat) ||
      kandidat.find('=') != std::string_view::npos) {
    return false;
  }
  if (kandidat == eigenerName) return true;
  // Sections are found without regard to letter case, so "Urlaub" and "URLAUB" would
  // share one: only the album's own name may differ from the candidate in case.
  for (const auto& [schluessel, wert] :
       ProfileFile::Load(kontext.Katalog()).Entries(kAlbenSektion)) {
    if (!wert.empty() && wert != eigenerName && GleichOhneGrossKlein(wert, kandidat)) return false;
  }
  return true;
}

std::string AlbumDateiname(int32_t nummer) {
  return std::string(kDateinamePraefix) + std::to_string(nummer);
}

std::string FreierAlbumDateiname(const AlbenKontext& kontext) {
  const AlbenSperre sperre(kontext);
  return FreierAlbumDateiname(kontext, sperre);
}

std::string FreierAlbumDateiname(const AlbenKontext& kontext, const AlbenSperre&) {
  return DateinameReservieren(kontext, ProfileFile::Load(kontext.Katalog()));
}

int32_t FreieAlbumNummer(const AlbenKontext& kontext) {
  const std::set<std::string> belegt = BasenMitDateien(kontext);
  int32_t nummer = 1;
  while (belegt.contains(AlbumDateiname(nummer))) ++nummer;
  return nummer;
}

void SignaturenVeralten(const AlbenKontext& kontext, std::string_view name, int32_t wert) {
  if (name.empty()) return;
  const AlbenSperre sperre(kontext);
  ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  bool geaendert = false;
  for (const std::string& schluessel : katalog.Keys(name)) {
    if (IstCacheZustandSchluessel(schluessel)) {
      katalog.WriteInteger(name, schluessel, wert);
      geaendert = true;
    }
  }
  if (geaendert) katalog.Save();
}

void DateilisteLoeschen(const AlbenKontext& kontext, const TGalerieGlobal& album) {
  if (DateinameGueltig(album.Dateiname)) DateiEntfernen(Dateiliste(kontext, album));
}

bool DateilisteVorhanden(const AlbenKontext& kontext, const TGalerieGlobal& album) {
  return DateinameGueltig(album.Dateiname) && FileExists(Dateiliste(kontext, album));
}

}  // namespace tilvendo
