// The signature cache of an album for one shape-analysis level and one way of measuring:
// "<Dateiname> <level><variant>.nba", a sequence of 12-byte records that the engine reads
// and writes. The variant is a few lower-case letters naming how the pictures were
// measured (upright, fast, perceptual, cut); signatures measured one way are never read
// for another. The empty variant is the original way, whose names are those of earlier
// versions, so their caches stay valid. Its validity is the catalogue key
// "Ak<level><variant>" (0 = valid); beside it the keys "Lz<level><variant>" and
// "Lp<level><variant>" hold the number of lines and the checksum of the picture list the
// cache belongs to (albums/listenkennung.h), because all caches share one list and a
// record is worth only as much as the line it points to; "Sp<level><variant>" holds the
// checksum of the records as they were written, so that a cache emptied, cut or
// overwritten since is rebuilt instead of read. Older versions know only the keys and
// files without letters and never touch the others.
//
// A rebuilt cache is written to a temporary file that becomes the cache only when it
// is closed after a complete, error-free write; a crash or a full disk in between
// leaves the key saying "rebuild". Write failures do not end the run: they are
// remembered and reported by SignaturdateiSchliessen.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "albums/alben_kontext.h"
#include "albums/alben_sperre.h"
#include "albums/galerie.h"
#include "albums/listenkennung.h"

namespace tilvendo {

class AtomicFile;

inline constexpr size_t kSignaturDatensatzLaenge = 12;
using SignaturDatensatz = std::array<uint8_t, kSignaturDatensatzLaenge>;

// Results of SignaturdateiOeffnen.
inline constexpr uint8_t kCacheLesen = 0;
inline constexpr uint8_t kCacheNeuAufbauen = 1;

class Signaturdatei {
 public:
  enum class Modus { Geschlossen, Lesen, Schreiben };

  Signaturdatei();
  ~Signaturdatei();  // an unclosed rebuild is discarded
  Signaturdatei(const Signaturdatei&) = delete;
  Signaturdatei& operator=(const Signaturdatei&) = delete;

  Modus modus() const { return modus_; }
  const std::string& pfad() const { return pfad_; }

  // Reading: the next record; false at the end of the file. A trailing piece shorter
  // than a record, or a read error, ends the file and marks the cache damaged.
  bool Lesen(SignaturDatensatz& datensatz);

  // Writing: appends one record. Never throws; after a failure further records are
  // dropped and the close reports it.
  void Schreiben(const SignaturDatensatz& datensatz);

  // The engine found that the cache does not match the picture list (fewer records,
  // numbers out of range): the next run rebuilds it.
  void AlsBeschaedigtMarkieren() { beschaedigt_ = true; }
  bool Beschaedigt() const { return beschaedigt_; }

  // Closes the file without a word to the catalogue: a rebuild is thrown away, the cache
  // and its keys stay as they are (the album changed under the run, see AlbumStand).
  void Verwerfen() { Zuruecksetzen(); }

 private:
  friend uint8_t SignaturdateiOeffnen(Signaturdatei&, uint8_t, TGalerieGlobal&, const AlbenKontext&,
                                      std::string_view);
  friend std::optional<std::string> SignaturdateiSchliessen(Signaturdatei&, uint8_t,
                                                            const TGalerieGlobal&,
                                                            const AlbenKontext&, const AlbenSperre&,
                                                            std::string_view);
  void Puffern();  // moves the write buffer into the temporary file
  void Zuruecksetzen();

  Modus modus_ = Modus::Geschlossen;
  std::string pfad_;
  bool beschaedigt_ = false;
  bool schreibfehler_ = false;
  struct FileCloser {
    void operator()(std::FILE* file) const;
  };
  std::unique_ptr<std::FILE, FileCloser> lesen_;
  std::unique_ptr<AtomicFile> schreiben_;
  std::string puffer_;
  uint64_t pruefsumme_ = kPruefsummeAnfang;  // of the records written so far
};

// Whether `variante` may name a way of measuring: lower-case letters a-z only (also
// none), so that a level's digits always end where the letters begin ("Ak1" + "0" could
// be taken for "Ak10").
bool CachevarianteGueltig(std::string_view variante);

// The cache file name of an album for a level and variant:
// "<Dateiname> <level><variant>.nba". Throws std::invalid_argument for a variant that
// CachevarianteGueltig refuses.
std::string SignaturdateiName(const TGalerieGlobal& album, uint8_t formanalyse,
                              std::string_view variante = {});

// Opens the album's cache of level `formanalyse` and `variante`: for reading when
// "Ak<level><variant>" is 0, the picture list exists, album.Dateien is the list the
// cache was built against, and the cache file exists, has the size of one signature
// per line of album.Dateien and the checksum stored when it was written (returns 0);
// otherwise a new, empty cache for writing (returns 1; the old picture list is deleted
// at once, so an interrupted rebuild can never pair the new cache with the old list).
// A catalogue without the records' checksum (of an older version) has the cache rebuilt
// once. Sets album.NeuAufbau to the result. Closes a file the handle still held first.
uint8_t SignaturdateiOeffnen(Signaturdatei& datei, uint8_t formanalyse, TGalerieGlobal& album,
                             const AlbenKontext& kontext, std::string_view variante = {});

// Closes the handle (with the level and variant it was opened with). A complete rebuild
// replaces the cache; then "Ak<level><variant>" := 0 and the mark of album.Dateien is
// stored, with the checksum of the records written, and every other cache, of any
// level and variant, whose valid cache belongs to another list is marked for rebuilding
// (album.Dateien is the new list, which the caller saves next). After a failed write or
// with a damaged cache "Ak<level><variant>" := 1 instead, so the next run
// rebuilds it. An intact cache that was read changes nothing: its keys said so when it
// was opened, and another program may have marked it for rebuilding since. The result is the German
// message "nach <cache> kann nicht geschrieben werden" when a rebuilt cache could not be written,
// otherwise nothing. A catalogue that cannot be written raises WriteError.
std::optional<std::string> SignaturdateiSchliessen(Signaturdatei& datei, uint8_t formanalyse,
                                                   const TGalerieGlobal& album,
                                                   const AlbenKontext& kontext,
                                                   std::string_view variante = {});
// The same within the turn `sperre` the caller holds.
std::optional<std::string> SignaturdateiSchliessen(Signaturdatei& datei, uint8_t formanalyse,
                                                   const TGalerieGlobal& album,
                                                   const AlbenKontext& kontext,
                                                   const AlbenSperre& sperre,
                                                   std::string_view variante = {});

}  // namespace tilvendo
