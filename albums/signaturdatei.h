// The signature cache of an album for one shape-analysis level:
// "<Dateiname> <level>.nba", a sequence of 12-byte records that the engine reads and
// writes. Its validity is the catalogue key "Ak<level>" (0 = valid); beside it the keys
// "Lz<level>" and "Lp<level>" hold the number of lines and the checksum of the picture
// list the cache belongs to (albums/listenkennung.h), because all levels share one list
// and a record is worth only as much as the line it points to.
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

#include "albums/alben_kontext.h"
#include "albums/galerie.h"

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

 private:
  friend uint8_t SignaturdateiOeffnen(Signaturdatei&, uint8_t, TGalerieGlobal&,
                                      const AlbenKontext&);
  friend std::optional<std::string> SignaturdateiSchliessen(Signaturdatei&, uint8_t,
                                                            const TGalerieGlobal&,
                                                            const AlbenKontext&);
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
};

// The cache file name of an album for a level: "<Dateiname> <level>.nba".
std::string SignaturdateiName(const TGalerieGlobal& album, uint8_t formanalyse);

// Opens the album's cache of level `formanalyse`: for reading when "Ak<level>" is 0,
// the picture list exists, album.Dateien is the list the cache was built against, and
// the cache file exists (returns 0); otherwise a new, empty cache for writing (returns
// 1; the old picture list is deleted at once, so an interrupted rebuild can never pair
// the new cache with the old list). Sets album.NeuAufbau to the result. Closes a file
// the handle still held first.
uint8_t SignaturdateiOeffnen(Signaturdatei& datei, uint8_t formanalyse, TGalerieGlobal& album,
                             const AlbenKontext& kontext);

// Closes the handle. A complete rebuild replaces the cache; then, like after reading
// an intact cache, "Ak<level>" := 0 and the mark of album.Dateien is stored; after a
// rebuild every other level whose valid cache belongs to another list is marked for
// rebuilding (album.Dateien is the new list, which the caller saves next). After a
// failed write or with a damaged cache "Ak<level>" := 1 instead, so the next run
// rebuilds it. The result is the German message "nach <cache> kann nicht geschrieben
// werden" when a rebuilt cache could not be written, otherwise nothing. A catalogue
// that cannot be written raises WriteError.
std::optional<std::string> SignaturdateiSchliessen(Signaturdatei& datei, uint8_t formanalyse,
                                                   const TGalerieGlobal& album,
                                                   const AlbenKontext& kontext);

}  // namespace tilvendo
