#include "albums/signaturdatei.h"

#include <sys/stat.h>

#include <algorithm>
#include <stdexcept>

#include "albums/alben_sperre.h"
#include "albums/katalog.h"
#include "albums/katalog_intern.h"
#include "albums/listenkennung.h"
#include "platform/atomic_file.h"
#include "platform/gross_klein.h"
#include "platform/paths.h"
#include "platform/profile_file.h"

namespace tilvendo {
namespace {

// Records are collected and handed to the file in blocks of this size.
constexpr size_t kSchreibpuffer = 64 * 1024;
constexpr int32_t kCacheGueltig = 0;
constexpr int32_t kCacheNieGebaut = 1;
constexpr int32_t kKeineZeilen = -1;

// Keys beside "Ak<level>" that name the picture list the cache of that level was
// built against: its number of lines and its checksum. Older versions ignore them;
// they do not start with "Ak", so that marking all caches stale leaves them alone.
constexpr std::string_view kListenzeilenPraefix = "Lz";
constexpr std::string_view kListenpruefsummePraefix = "Lp";
// Beside them, the checksum of the cache's records as they were written: a cache emptied,
// cut or overwritten since (all zeros, a record copied over another) is rebuilt rather
// than read. A catalogue without it (of an older version) has its caches rebuilt once.
constexpr std::string_view kSatzpruefsummePraefix = "Sp";
// Bytes read at a time while the checksum of a cache is taken.
constexpr size_t kLesepuffer = 64 * 1024;

// The mark stored for the level written `stufe` (as in its "Ak" key); nothing when a
// key is missing or garbled (a catalogue of an older version, or edited by hand).
std::optional<Listenkennung> GespeicherteKennung(const ProfileFile& katalog,
                                                 const std::string& name, std::string_view stufe) {
  const int32_t zeilen = katalog.ReadInteger(
      name, std::string(kListenzeilenPraefix) + std::string(stufe), kKeineZeilen);
  const std::optional<uint64_t> summe = PruefsummeLesen(
      katalog.ReadString(name, std::string(kListenpruefsummePraefix) + std::string(stufe), ""));
  if (zeilen < 0 || !summe) return std::nullopt;
  return Listenkennung{zeilen, *summe};
}

// What follows "Ak", "Lz" and "Lp" in the keys of one cache: "<level><variant>".
std::string Stufenzeichen(uint8_t formanalyse, std::string_view variante) {
  return std::to_string(formanalyse) + std::string(variante);
}

// A rebuilt cache comes with a new picture list. Every other cache, of any level and
// variant, whose valid records were built against another list would count them in lines
// that have moved: it is marked for rebuilding, also for older versions, which know only
// "Ak". Caches built against the same list stay, so that levels and variants rebuilt one
// after the other do not keep marking each other.
void AndereStufenVeralten(ProfileFile& katalog, const TGalerieGlobal& album,
                          std::string_view eigeneStufe, const Listenkennung& neueListe) {
  const std::string eigener = std::string(kCacheZustandPraefix) + std::string(eigeneStufe);
  for (const std::string& schluessel : katalog.Keys(album.Name)) {
    if (!IstCacheZustandSchluessel(schluessel) || GleichOhneGrossKlein(schluessel, eigener) ||
        katalog.ReadInteger(album.Name, schluessel, kCacheNieGebaut) != kCacheGueltig) {
      continue;
    }
    const std::string_view stufe = std::string_view(schluessel).substr(kCacheZustandPraefix.size());
    if (GespeicherteKennung(katalog, album.Name, stufe) != neueListe) {
      katalog.WriteInteger(album.Name, schluessel, kCacheNieGebaut);
    }
  }
}

// "Ak<stufe>" := zustand; for a valid cache also the mark of album.Dateien, after a
// rebuild the checksum of its records and the marks of the other caches. One rewrite of
// the catalogue, with the album folder locked.
void CacheZustandSchreiben(const AlbenKontext& kontext, const AlbenSperre&,
                           const TGalerieGlobal& album, const std::string& stufe, int32_t zustand,
                           bool neuGebaut, uint64_t satzpruefsumme) {
  // A name read back from a section is always storable; anything else has no section.
  if (!ProfileFile::IsStorableSectionName(album.Name)) return;
  ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  katalog.WriteInteger(album.Name, std::string(kCacheZustandPraefix) + stufe, zustand);
  if (zustand == kCacheGueltig) {
    const Listenkennung kennung = ListenkennungBilden(album.Dateien);
    katalog.WriteInteger(album.Name, std::string(kListenzeilenPraefix) + stufe, kennung.zeilen);
    katalog.Write(album.Name, std::string(kListenpruefsummePraefix) + stufe,
                  PruefsummeAlsText(kennung.pruefsumme));
    if (neuGebaut) {
      katalog.Write(album.Name, std::string(kSatzpruefsummePraefix) + stufe,
                    PruefsummeAlsText(satzpruefsumme));
      AndereStufenVeralten(katalog, album, stufe, kennung);
    }
  }
  katalog.Save();
}

// Bytes of the cache of a list of `zeilen` pictures at level `formanalyse`: per picture
// a head record and one record per sub-cell.
uint64_t ErwarteteCachegroesse(size_t zeilen, uint8_t formanalyse) {
  const uint64_t saetze = 1 + uint64_t{formanalyse} * formanalyse;
  return uint64_t{zeilen} * saetze * kSignaturDatensatzLaenge;
}

// Whether the open cache `datei` holds exactly the records written for the list of
// `zeilen` pictures: the size that list needs at that level, and the checksum stored
// when it was written. Leaves the file at its start.
bool SaetzeUnveraendert(std::FILE* datei, size_t zeilen, uint8_t formanalyse,
                        std::optional<uint64_t> gespeichert) {
  if (!gespeichert) return false;
  struct stat info {};
  if (::fstat(::fileno(datei), &info) != 0 ||
      static_cast<uint64_t>(info.st_size) != ErwarteteCachegroesse(zeilen, formanalyse)) {
    return false;
  }
  std::string puffer(kLesepuffer, '\0');
  uint64_t summe = kPruefsummeAnfang;
  uint64_t gelesen = 0;
  while (const size_t stueck = std::fread(puffer.data(), 1, puffer.size(), datei)) {
    summe = PruefsummeFortsetzen(summe, std::string_view(puffer.data(), stueck));
    gelesen += stueck;
  }
  const bool fehler = std::ferror(datei) != 0;
  std::rewind(datei);
  return !fehler && gelesen == static_cast<uint64_t>(info.st_size) && summe == *gespeichert;
}

}  // namespace

void Signaturdatei::FileCloser::operator()(std::FILE* file) const {
  std::fclose(file);
}

Signaturdatei::Signaturdatei() = default;
Signaturdatei::~Signaturdatei() = default;

void Signaturdatei::Zuruecksetzen() {
  lesen_.reset();
  schreiben_.reset();  // removes an uncommitted temporary file
  puffer_.clear();
  puffer_.shrink_to_fit();
  pruefsumme_ = kPruefsummeAnfang;
  modus_ = Modus::Geschlossen;
  beschaedigt_ = false;
  schreibfehler_ = false;
  pfad_.clear();
}

bool Signaturdatei::Lesen(SignaturDatensatz& datensatz) {
  if (modus_ != Modus::Lesen || !lesen_) return false;
  const size_t gelesen = std::fread(datensatz.data(), 1, datensatz.size(), lesen_.get());
  if (gelesen == datensatz.size()) return true;
  if (gelesen != 0 || std::ferror(lesen_.get())) beschaedigt_ = true;
  return false;
}

void Signaturdatei::Schreiben(const SignaturDatensatz& datensatz) {
  if (modus_ != Modus::Schreiben || schreibfehler_) return;
  const std::string_view bytes(reinterpret_cast<const char*>(datensatz.data()), datensatz.size());
  pruefsumme_ = PruefsummeFortsetzen(pruefsumme_, bytes);
  puffer_.append(bytes);
  if (puffer_.size() >= kSchreibpuffer) Puffern();
}

void Signaturdatei::Puffern() {
  if (puffer_.empty() || schreibfehler_) return;
  try {
    schreiben_->Write(puffer_);
  } catch (const WriteError&) {
    schreibfehler_ = true;
    schreiben_.reset();
  }
  puffer_.clear();
}

bool CachevarianteGueltig(std::string_view variante) {
  return std::all_of(variante.begin(), variante.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::string SignaturdateiName(const TGalerieGlobal& album, uint8_t formanalyse,
                              std::string_view variante) {
  if (!CachevarianteGueltig(variante)) {
    throw std::invalid_argument("Cachevariante aus anderen Zeichen als a-z");
  }
  return album.Dateiname + " " + Stufenzeichen(formanalyse, variante) +
         std::string(kSignaturdateiEndung);
}

uint8_t SignaturdateiOeffnen(Signaturdatei& datei, uint8_t formanalyse, TGalerieGlobal& album,
                             const AlbenKontext& kontext, std::string_view variante) {
  datei.Zuruecksetzen();
  datei.pfad_ = kontext.Datei(SignaturdateiName(album, formanalyse, variante));
  const std::string stufe = Stufenzeichen(formanalyse, variante);
  const bool gueltigerName = DateinameGueltig(album.Dateiname);

  // Every value but 0 means "rebuild" (also 256 and the like, whose low byte is 0).
  const ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  bool lesen = katalog.ReadInteger(album.Name, std::string(kCacheZustandPraefix) + stufe,
                                   kCacheNieGebaut) == kCacheGueltig;
  lesen = lesen && gueltigerName && DateilisteVorhanden(kontext, album) && FileExists(datei.pfad_);
  // The records name lines of the list: read with any other list (another level
  // rewrote it, a line was edited by hand), every picture would get a stranger's
  // signature. A catalogue without the mark is rebuilt once.
  lesen = lesen &&
          GespeicherteKennung(katalog, album.Name, stufe) == ListenkennungBilden(album.Dateien);
  if (lesen) {
    datei.lesen_.reset(std::fopen(datei.pfad_.c_str(), "rb"));
    // Emptied, cut or overwritten since it was written: built anew in this run, before
    // a single record could give a picture a stranger's signature.
    lesen = datei.lesen_ != nullptr &&
            SaetzeUnveraendert(datei.lesen_.get(), album.Dateien.size(), formanalyse,
                               PruefsummeLesen(katalog.ReadString(
                                   album.Name, std::string(kSatzpruefsummePraefix) + stufe, "")));
  }
  if (lesen) {
    datei.modus_ = Signaturdatei::Modus::Lesen;
    album.NeuAufbau = kCacheLesen;
    return kCacheLesen;
  }

  datei.modus_ = Signaturdatei::Modus::Schreiben;
  album.NeuAufbau = kCacheNeuAufbauen;
  if (!gueltigerName) {
    datei.schreibfehler_ = true;
    return kCacheNeuAufbauen;
  }
  // The old picture list no longer matches: without it an interrupted rebuild can never
  // be mistaken for a valid cache.
  DateilisteLoeschen(kontext, album);
  // Caches of earlier runs that were killed while writing would stay for ever.
  RemoveStaleTemporaries(kontext.AlbenPfad);
  try {
    datei.schreiben_ = std::make_unique<AtomicFile>(datei.pfad_, LinkPolicy::Replace);
  } catch (const WriteError&) {
    datei.schreibfehler_ = true;
  }
  return kCacheNeuAufbauen;
}

std::optional<std::string> SignaturdateiSchliessen(Signaturdatei& datei, uint8_t formanalyse,
                                                   const TGalerieGlobal& album,
                                                   const AlbenKontext& kontext,
                                                   std::string_view variante) {
  const AlbenSperre sperre(kontext);
  return SignaturdateiSchliessen(datei, formanalyse, album, kontext, sperre, variante);
}

std::optional<std::string> SignaturdateiSchliessen(Signaturdatei& datei, uint8_t formanalyse,
                                                   const TGalerieGlobal& album,
                                                   const AlbenKontext& kontext,
                                                   const AlbenSperre& sperre,
                                                   std::string_view variante) {
  using Modus = Signaturdatei::Modus;
  if (datei.modus_ == Modus::Geschlossen) return std::nullopt;
  const bool schreibend = datei.modus_ == Modus::Schreiben;
  const uint64_t satzpruefsumme = datei.pruefsumme_;
  bool gueltig = !datei.beschaedigt_;
  std::optional<std::string> meldung;
  if (schreibend) {
    datei.Puffern();
    if (!datei.schreibfehler_ && gueltig) {
      try {
        datei.schreiben_->Commit();
      } catch (const WriteError&) {
        datei.schreibfehler_ = true;
      }
    }
    if (datei.schreibfehler_) {
      gueltig = false;
      meldung = CannotWriteMessage(datei.pfad_);
    }
  }
  datei.Zuruecksetzen();
  // Writing "valid" again would undo a mark that another program's rescan set meanwhile.
  if (!schreibend && gueltig) return meldung;
  CacheZustandSchreiben(kontext, sperre, album, Stufenzeichen(formanalyse, variante),
                        gueltig ? kCacheGueltig : kCacheNieGebaut, schreibend, satzpruefsumme);
  return meldung;
}

}  // namespace tilvendo
