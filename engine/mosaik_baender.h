// Composing a mosaic from its plan, band by band: the one way a mosaic's pixels are made,
// whether it is held whole afterwards, reduced for the screen or written straight into a
// file as a poster of 20,000 × 15,000 pixels that would take 1.2 GB as one picture.
//
// A band is a run of whole tile rows, so no tile is ever cut between two bands. All
// threads draw the photos of one band together, each photo read once (Kachelspeicher),
// scaled to the tile and drawn into every cell of the band that shows it, moved toward the
// cells' colours where the plan says so; then the template is laid over the band. Handed
// out as strips (StreifenQuelle), the next band is composed while a writer encodes the
// one before. A tile needed in later bands is kept as long as the kept tiles fit their
// share of the memory; beyond it the tiles needed again last are given up and read again
// when their band comes (counted in Bandbilanz::erneutGelesen).
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
#include <string>
#include <vector>

#include "engine/arbeiter_pool.h"
#include "engine/arbeitsgruppe.h"
#include "engine/kacheln_zeichnen.h"
#include "engine/kachelspeicher.h"
#include "engine/mosaikplan.h"
#include "pictures/blending.h"
#include "pictures/streifen_quelle.h"
#include "pictures/vorlage_im_mosaik.h"
#include "platform/bitmap.h"
#include "platform/translate.h"

namespace tilvendo {

// The share of the memory the kept tiles may take: an eighth of the budget for pictures
// read in parallel, at most 256 MiB, so that a poster run stays within half a gigabyte.
uint64_t KachelspeicherFuerDieseMaschine();

// Bytes one band of the mosaic `breite` pixels wide with tiles `kachelHoehe` high takes
// at the least (one tile row), and the most the composer agrees to hold per band.
uint64_t KachelzeilenBytes(int32_t breite, int32_t kachelHoehe);
inline constexpr uint64_t kMaxKachelzeilenBytes = uint64_t{256} << 20;

// The kept tiles' share when a writer beside the composer holds `schreiberBytes` itself and
// the bands in flight take `baenderBytes`: the machine's share while the whole run stays
// within kLaufSpeicher, less by what it would pass it, but never below the least share.
uint64_t KachelspeicherNeben(uint64_t schreiberBytes, uint64_t baenderBytes);
inline constexpr uint64_t kLaufSpeicher = uint64_t{512} << 20;

// What a band takes in memory, aimed at: large enough that the per-band work is
// negligible, small enough that a few bands in flight stay far below the kept tiles.
inline constexpr uint64_t kBandBytes = uint64_t{16} << 20;

struct Bandoptionen {
  uint8_t blendwert = kNurMosaik;  // the template blended in (0..255), as when saving
  // A band holds as many tile rows as fit these bytes, but at least one, and at least a
  // writer's strip (kStreifenZeilen), so that no strip spans more than two bands.
  uint64_t bandBytes = kBandBytes;
  Vorlagenskalierung skalierung = Vorlagenskalierung::WieGanz;
  unsigned threads = 0;  // threads drawing a band together; 0: one per core
  // Compose the next band while one is handed out; a reader that takes a few bands far
  // apart would only waste the work.
  bool voraus = true;
  uint64_t kachelspeicher = KachelspeicherFuerDieseMaschine();
  // Polled before every band and between the photos of a band; when set, the composing
  // stops and Streifen raises SchreibenAbgebrochen.
  const std::atomic<bool>* abbruch = nullptr;
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

// What composing found: the placed photos that could not be read, the cells left black
// (those the matching left empty included), and the tiles read more than once. A cell
// whose photo could not be read shows the readable photo of the plan nearest to the cell
// instead (`ersetzungen`, in the order of the cells, row by row); only when none of them
// can be read it stays black, counted in `ohneErsatz` as well.
struct Bandbilanz {
  int32_t unlesbareBilder = 0;
  int32_t schwarzeKacheln = 0;
  int32_t erneutGelesen = 0;
  int32_t ohneErsatz = 0;
  std::vector<Ersetzung> ersetzungen;
  std::vector<std::string> unlesbareDateien;  // in the order of the plan's entries
};

class Mosaikbaender final : public StreifenQuelle {
 public:
  // The mosaic of `plan`: its placements, grid, tile size, way of reading and colour
  // adjustment, with `vorlage` (the job's template) blended in as `optionen` say and
  // standing for the colours' target while the plan holds none of its own. `vorlage`
  // must outlive this object and stay unchanged. Raises PictureTooLarge when one tile row
  // alone would exceed kMaxKachelzeilenBytes.
  Mosaikbaender(std::shared_ptr<const Mosaikplan> plan, const Bitmap& vorlage,
                std::string arbeitspfad, Bandoptionen optionen);
  ~Mosaikbaender() override;
  Mosaikbaender(const Mosaikbaender&) = delete;
  Mosaikbaender& operator=(const Mosaikbaender&) = delete;

  int32_t Breite() const override { return breite_; }
  int32_t Hoehe() const override { return hoehe_; }
  // Any rows; bands are composed ahead from the top down.
  Zeilen Streifen(int32_t erste, int32_t anzahl) override;

  // The whole mosaic composed into `ziel`, a working-format picture of its size, band by
  // band; `gezeichnet(n)` is told on this thread after every few photos drawn (n of them,
  // of FotoZeichnungen() in all). False when the cancel flag stopped it.
  bool InBild(Bitmap& ziel, const std::function<void(int32_t)>& gezeichnet);
  // How many photos composing the whole mosaic draws: each photo once per band it shows in.
  int32_t FotoZeichnungen() const;

  int32_t Baender() const { return baender_; }
  int32_t BandAnfang(int32_t band) const;  // first pixel row
  int32_t BandHoehe(int32_t band) const;

  Bandbilanz Bilanz() const;

 private:
  // A photo and its cells within one band.
  struct Bandfoto {
    int32_t foto = 0;
    std::vector<Zellort> zellen;
  };
  enum class Platzzustand { Frei, Laeuft, Fertig };
  struct Platz {
    int32_t band = -1;
    Platzzustand zustand = Platzzustand::Frei;
    Bitmap bild;
    std::exception_ptr fehler;
  };

  // Draws band `band` into `ziel` from its row `oben` on; raises SchreibenAbgebrochen
  // when stopped.
  void BandZeichnen(int32_t band, Bitmap& ziel, int32_t oben,
                    const std::function<void(int32_t)>* gezeichnet);
  void FotoZeichnen(int32_t band, const Bandfoto& eintrag, Bitmap& ziel, int32_t oben);
  // Draws `kachel` into cell `z` at (links, zeile) of `ziel`; `kachel32` is its
  // working-format copy where the colours are moved toward the cell's.
  void KachelSetzen(const Kachel& kachel, const Bitmap& kachel32, const Zellort& z, Bitmap& ziel,
                    int32_t links, int32_t zeile) const;
  // Draws the readable photo of the plan whose stored signature lies nearest to cell `z`
  // (ties to the earlier entry) in place of the unreadable `foto`; false when the plan
  // holds no signatures or none of its photos can be read.
  bool ErsatzSetzen(int32_t foto, const Zellort& z, Bitmap& ziel, int32_t links, int32_t zeile);
  void VorlageDarueber(int32_t band, Bitmap& ziel, int32_t oben);
  // The tile of a placed photo, or null when it cannot be read, which is noted: another
  // photo then stands in for it (ErsatzSetzen).
  std::shared_ptr<const Kachel> KachelFuer(int32_t foto);
  bool Angehalten() const;
  std::optional<uint64_t> Rang(const Kachelschluessel& schluessel) const;

  // The band composed into a slot, waiting for it; queues the band after it.
  const Platz& Holen(int32_t band);
  // Queues `band` if a slot is free; with the lock held.
  bool Einreihen(int32_t band);
  void Zusammensetzen(Platz& platz, int32_t band);
  int32_t BandVonZeile(int32_t zeile) const;

  std::shared_ptr<const Mosaikplan> plan_;
  Bandoptionen optionen_;
  int32_t kachelBreite_ = 0;
  int32_t kachelHoehe_ = 0;
  int32_t kachelnX_ = 0;
  int32_t kachelnY_ = 0;
  int32_t breite_ = 0;
  int32_t hoehe_ = 0;
  int32_t zeilenJeBand_ = 1;  // tile rows per band
  int32_t baender_ = 0;
  int32_t vorlauf_ = 1;  // bands composed ahead
  std::vector<std::vector<Bandfoto>> bandFotos_;
  std::vector<std::vector<Zellort>> leereZellen_;  // per band: cells without a photo
  std::vector<std::vector<int32_t>> fotoBaender_;  // per photo: its bands, ascending
  std::optional<Angleich> angleich_;
  std::optional<VorlageImMosaik> vorlage_;
  std::unique_ptr<Kachelspeicher> speicher_;
  std::atomic<int32_t> aktuell_{0};  // the band being composed
  std::atomic<bool> aufhoeren_{false};
  Arbeitsgruppe gruppe_;

  mutable std::mutex mutex_;
  std::condition_variable geaendert_;
  std::vector<uint8_t> unlesbar_;  // per photo: could not be read
  std::vector<int32_t> ersatz_;    // per cell, row by row: the entry put instead, or kKeinBild
  std::vector<Platz> plaetze_;
  int32_t position_ = -1;                 // the band handed out last
  std::vector<uint8_t> zusammengesetzt_;  // per band: composed at least once
  int32_t fertigeBaender_ = 0;
  Bitmap streifen_;  // rows of a strip that spans two bands

  ArbeiterPool pool_{1};  // last: stopped first, before what its task uses
};

}  // namespace tilvendo
