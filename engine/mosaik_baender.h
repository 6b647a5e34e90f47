// Composing a mosaic band by band, for mosaics too large to be held whole: a poster of
// 20,000 × 15,000 pixels would take 1.2 GB as one picture, and the blended copy as much
// again.
//
// A band is a run of whole tile rows, so no tile is ever cut between two bands. The
// bands are handed out as strips of rows (StreifenQuelle), so every picture writer takes
// them as it takes a whole picture, and are composed ahead on worker threads while the
// writer encodes the band before. Each placed photo is read once, scaled to the tile and
// kept at that size for every band that shows it, as long as the kept tiles fit their
// share of the memory; beyond it the tiles needed again last are given up and read
// again when their band comes (counted in ErneutGelesen).
//
// Within the usual size bound the bands give exactly the pixels of the whole-picture
// path: the same tiles, the same colour adjustment, the same blend, and with
// Vorlagenskalierung::WieGanz the same template scaling.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <vector>

#include "engine/arbeiter_pool.h"
#include "engine/auftrag.h"
#include "engine/farbangleich.h"
#include "engine/kacheln_zeichnen.h"
#include "engine/mosaikplan.h"
#include "engine/verwendungsliste.h"
#include "pictures/streifen_quelle.h"
#include "pictures/vorlage_im_mosaik.h"
#include "platform/bitmap.h"
#include "platform/memory_budget.h"
#include "platform/translate.h"

namespace tilvendo {

// The blend value that shows the mosaic alone.
inline constexpr uint8_t kNurMosaik = 255;

// The share of the memory the kept tiles may take: an eighth of the budget for pictures
// read in parallel, at most 256 MiB, so that a poster run stays within half a gigabyte.
uint64_t KachelspeicherFuerDieseMaschine();

// Bytes one band of the mosaic `breite` pixels wide with tiles `kachelHoehe` high takes
// at the least (one tile row), and the most the composer agrees to hold per band.
uint64_t KachelzeilenBytes(int32_t breite, int32_t kachelHoehe);
inline constexpr uint64_t kMaxKachelzeilenBytes = uint64_t{256} << 20;

// What a band takes in memory, aimed at: large enough that the per-band work is
// negligible, small enough that a few bands in flight stay far below the kept tiles.
inline constexpr uint64_t kBandBytes = uint64_t{16} << 20;

struct Bandoptionen {
  uint8_t blendwert = kNurMosaik;  // the template blended in (0..255), as when saving
  // A band holds as many tile rows as fit these bytes, but at least one, and at least a
  // writer's strip (kStreifenZeilen), so that no strip spans more than two bands.
  uint64_t bandBytes = kBandBytes;
  Vorlagenskalierung skalierung = Vorlagenskalierung::WieGanz;
  unsigned threads = 0;  // workers composing ahead; 0: one per core
  // Compose the next bands while one is handed out; a reader that takes a few bands far
  // apart would only waste the work.
  bool voraus = true;
  uint64_t kachelspeicher = KachelspeicherFuerDieseMaschine();
  // Polled before every band handed out; when set, Streifen raises SchreibenAbgebrochen.
  const std::atomic<bool>* abbruch = nullptr;
  // Called on the caller's thread for every strip handed out, with the rows handed out
  // so far and `durchgaenge` × the height; a writer that reads the picture twice (8-bit
  // BMP) says so.
  std::function<void(int32_t fertig, int32_t gesamt)> fortschritt;
  int32_t durchgaenge = 1;
  // Asked on the writer's thread once every row is written, before the file replaces the
  // old one; false stops the save as a cancel does.
  std::function<bool()> freigabe;
  // Raise KeinBildLesbar once every band is composed and no placed photo could be read:
  // a mosaic black all over must not replace a file.
  bool leerVerweigern = false;
};

// Raised by a source that refuses to hand out a mosaic without a single readable photo.
class KeinBildLesbar : public std::runtime_error {
 public:
  KeinBildLesbar()
      : std::runtime_error(
            _("Keines der Bilder, die das Mosaik zeigen sollte, konnte gelesen "
              "werden.")) {}
};

class Mosaikbaender final : public StreifenQuelle {
 public:
  // The mosaic of `plan`: its placements, grid, tile size, way of reading and colour
  // adjustment. Of the job only the template (blended in as it is now, and the colours'
  // target while the plan holds none of its own) and the working folder are read. Job and
  // plan must outlive this object and stay unchanged. Raises PictureTooLarge when one
  // tile row alone would exceed kMaxKachelzeilenBytes.
  Mosaikbaender(const Auftrag& auftrag, const Mosaikplan& plan, Bandoptionen optionen);
  ~Mosaikbaender() override;
  Mosaikbaender(const Mosaikbaender&) = delete;
  Mosaikbaender& operator=(const Mosaikbaender&) = delete;

  int32_t width() const override { return breite_; }
  int32_t height() const override { return hoehe_; }
  // Any rows in any order; bands are composed ahead in the direction of the requests.
  Zeilen Streifen(int32_t first, int32_t count) override;
  // A cancel, or a release refused, raises SchreibenAbgebrochen.
  void VorDemErsetzen() override;

  int32_t Baender() const { return baender_; }
  int32_t BandAnfang(int32_t band) const;  // first pixel row
  int32_t BandHoehe(int32_t band) const;

  // After composing: the files that could not be read, the cells left black (those the
  // matching left empty included), and the tiles read more than once.
  int32_t UnlesbareBilder() const;
  int32_t SchwarzeKacheln() const;
  int32_t ErneutGelesen() const;

 private:
  // A placed photo at tile size in 24 bits, with its parts' colours when they are moved.
  struct Kachel {
    Bitmap bild;
    Teilfarben farben;
  };
  enum class Zustand { Leer, Laeuft, Da, Unlesbar };
  struct Foto {
    const Verwendung* verwendung = nullptr;
    std::vector<int32_t> baender;  // the bands that show it, ascending
    Zustand zustand = Zustand::Leer;
    std::shared_ptr<const Kachel> kachel;
    int32_t gelesen = 0;
  };
  enum class Platzzustand { Frei, Laeuft, Fertig };
  struct Platz {
    int32_t band = -1;
    Platzzustand zustand = Platzzustand::Frei;
    Bitmap bild;
    std::exception_ptr fehler;
  };
  // The band composed into a slot, waiting for it; queues the bands after it.
  const Platz& Holen(int32_t band);
  // Queues `band` if a slot is free; with the lock held.
  bool Einreihen(int32_t band, std::unique_lock<std::mutex>& sperre);
  void Zusammensetzen(Platz& platz, int32_t band);
  std::shared_ptr<const Kachel> KachelHolen(size_t foto);
  std::shared_ptr<const Kachel> KachelMachen(const Foto& foto) const;
  // Gives up kept tiles, those needed again last first, until the kept ones fit their
  // share; with the lock held.
  void Freigeben();
  // How many bands ahead, in the direction of the requests, the photo is needed next.
  int32_t Abstand(const Foto& foto) const;
  int32_t BandVonZeile(int32_t zeile) const;
  void BandZeichnen(int32_t band, Bitmap& ziel);
  void KachelnZeichnen(int32_t band, Bitmap& mosaik);

  Bandoptionen optionen_;
  int32_t kachelBreite_ = 0;
  int32_t kachelHoehe_ = 0;
  int32_t kachelnX_ = 0;
  int32_t kachelnY_ = 0;
  int32_t breite_ = 0;
  int32_t hoehe_ = 0;
  int32_t zeilenJeBand_ = 1;  // tile rows per band
  int32_t baender_ = 0;
  int32_t vorlauf_ = 1;          // bands composed ahead
  std::vector<int32_t> zellen_;  // photo index of each cell, row by row; −1: none
  std::vector<Foto> fotos_;
  std::optional<Angleich> angleich_;
  std::optional<VorlageImMosaik> vorlage_;
  MemoryBudget budget_;
  std::optional<Lesen> lesen_;

  mutable std::mutex mutex_;
  std::condition_variable geaendert_;
  std::vector<Platz> plaetze_;
  uint64_t gehalten_ = 0;  // bytes of the kept tiles
  int32_t position_ = -1;  // the band handed out last
  int32_t richtung_ = 1;
  int32_t letzterAnfang_ = -1;            // the first row asked for last
  int32_t ausgegeben_ = 0;                // rows handed out
  std::vector<uint8_t> zusammengesetzt_;  // per band: composed at least once
  int32_t fertigeBaender_ = 0;
  Bitmap streifen_;  // rows of a strip that spans two bands

  ArbeiterPool pool_;  // last: stopped first, before what its tasks use
};

// Hands the whole mosaic to `empfaenger` from the top, a writer's strip at a time: the
// first row and the rows themselves (valid during the call). The way to make something
// other than a file of the bands, such as a reduced copy for the screen. Raises what
// Streifen raises (SchreibenAbgebrochen after a cancel).
void BaenderWeitergeben(Mosaikbaender& baender,
                        const std::function<void(int32_t erste, const Zeilen& zeilen)>& empfaenger);

// The placements of the job's last matching, rebuilt from its grid and file list: one
// entry per distinct file in the order of first placement, column by column. The grid
// and the list belong to the last run begun; the result of the last one completed is
// its plan (Auftrag::MosaikPlan).
Verwendungsliste VerwendungAusRaster(const Auftrag& auftrag);

}  // namespace tilvendo
