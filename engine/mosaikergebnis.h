// The finished mosaic of a run: its plan, its pixels when it is held whole, and one
// unblended copy at the screen's size. The result and save pages, the command line and
// the save ask it for what they need; only it knows whether the mosaic is held whole or
// composed again from its plan, band by band, whenever it is needed (a poster).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/mosaik_baender.h"
#include "engine/mosaikplan.h"
#include "pictures/seitenraster.h"
#include "pictures/speichern.h"
#include "pictures/streifen_quelle.h"
#include "pictures/webseite_speichern.h"
#include "platform/bitmap.h"
#include "platform/rect.h"

namespace tilvendo {

// How a mosaic is composed from its plan when it is asked for (ignored where its pixels
// are held).
struct Quellbegleitung {
  // Set (from any thread) to stop within a few photos; the source then raises
  // SchreibenAbgebrochen.
  const std::atomic<bool>* abbruch = nullptr;
  unsigned threads = 0;  // 0: one per core
  // Refuse a mosaic without a single readable photo (KeinBildLesbar).
  bool leerVerweigern = false;
  // What a writer fed by the source holds beside the bands: the kept tiles make room
  // for it.
  uint64_t schreiberBytes = 0;
};

// The mosaic's pixels, strip by strip, and what composing them found.
class Mosaikquelle : public StreifenQuelle {
 public:
  // What composing found so far; nothing where the pixels were held.
  virtual std::optional<Bandbilanz> Bilanz() const = 0;
};

// What composing a run's mosaic reports to the run.
// A file's size, and whether it is an estimate from a sample.
struct Dateigroesse {
  int64_t bytes = -1;  // −1 for an unknown format
  bool geschaetzt = false;
};

struct Zusammenstellbegleitung {
  // Once before composing: how many steps the gauge counts; then after each few steps the
  // steps done since the last report. Both on the calling thread.
  std::function<void(int32_t schritte)> beginnen;
  std::function<void(int32_t schritte)> weiter;
  const std::atomic<bool>* abbruch = nullptr;
  unsigned threads = 0;
};

class Mosaikergebnis {
 public:
  // Composes the mosaic of `plan` with its photos read from `arbeitspfad`: held whole
  // unless it was made for print beyond the usual bound (Mosaikplan::Grossformat), with
  // an unblended copy fitted into `bildschirm` (at least a pixel). The copy of a poster is
  // reduced from its bands as they are composed, never held whole. `vorlage` is the job's
  // template (the colours' target while the plan holds none of its own). Null when a
  // cancel stopped it; `bilanz` gets what composing found.
  static std::unique_ptr<Mosaikergebnis> Zusammenstellen(
      std::shared_ptr<Mosaikplan> plan, const Bitmap& vorlage, const std::string& arbeitspfad,
      Size bildschirm, const Zusammenstellbegleitung& begleitung, Bandbilanz& bilanz);

  // A mosaic of `plan` that holds nothing yet: composed whenever it is asked for (a mosaic
  // written straight into its file).
  Mosaikergebnis(std::shared_ptr<Mosaikplan> plan, std::string arbeitspfad);
  // The same with its pixels held whole (of the plan's size), or none, and its screen copy.
  Mosaikergebnis(std::shared_ptr<Mosaikplan> plan, std::string arbeitspfad,
                 std::optional<Bitmap> pixel, Bitmap anzeige);

  const Mosaikplan& Plan() const { return *plan_; }
  std::shared_ptr<const Mosaikplan> GeteilterPlan() const { return plan_; }
  Size Groesse() const { return plan_->Mosaik(); }

  // The mosaic fitted to the screen, unblended; empty for one that went straight into its
  // file.
  const Bitmap& AnzeigeBild() const { return anzeige_; }
  // The largest unblended picture of the mosaic that is held: the mosaic itself, or its
  // screen copy.
  const Bitmap& Stellvertreter() const { return pixel_ ? *pixel_ : anzeige_; }

  // The mosaic's colours were moved toward the job's template `vorlage`, which is about to
  // be replaced: a mosaic composed again later keeps it (moved out of `vorlage`), so that
  // it stays the picture its run made.
  void VorlageUebernehmen(Bitmap& vorlage);
  // Whether VorlageUebernehmen would take the template now.
  bool NimmtVorlage() const;

  // The mosaic blended with `vorlage` (the job's template as it is now) at `blendwert`,
  // strip by strip, at its full size, or, given `groesse`, reduced to that size. `vorlage`
  // must outlive the source. Raises PictureTooLarge as Mosaikbaender does.
  std::unique_ptr<Mosaikquelle> Quelle(const Bitmap& vorlage, uint8_t blendwert,
                                       const Quellbegleitung& begleitung = {},
                                       std::optional<Size> groesse = std::nullopt) const;

  // A sample of that blended mosaic at its full resolution (Mosaikprobe), whose runs of
  // tiles are at least `mindestBreite` pixels wide where the grid allows: for a mosaic held
  // whole a large one, cut from its pixels; for one composed from its plan about a hundred
  // tiles, whose photos alone are read.
  std::unique_ptr<StreifenQuelle> Probe(const Bitmap& vorlage, uint8_t blendwert,
                                        int32_t mindestBreite, unsigned threads = 0) const;

  // What the file `optionen` describe takes when the mosaic is saved blended at
  // `blendwert`: exact where its size tells it, else estimated from Probe (exact when the
  // sample is the whole mosaic).
  Dateigroesse DateigroesseSchaetzen(const Bitmap& vorlage, uint8_t blendwert,
                                     const SpeicherOptionen& optionen) const;

  // Saves the mosaic blended at `blendwert` through the save routine (BildSpeichern), with
  // the plan's print resolution unless `optionen` carry one; a disk short of what the
  // format can take is checked against the estimate. A mosaic without a single readable
  // photo replaces no file (KeinBildLesbar). `bilanz` gets what composing found (nothing
  // where the pixels are held), also when it raises. False for an unknown format; raises as
  // BildSpeichern does.
  bool Speichern(const Bitmap& vorlage, uint8_t blendwert, const SpeicherOptionen& optionen,
                 const Speicherbegleitung& begleitung, unsigned threads,
                 std::optional<Bandbilanz>& bilanz) const;

  // Saves the mosaic blended at `blendwert` as the sheets `wahl` describes, one PDF
  // (SeitenSpeichern) into the file of `optionen`, with the plan's print resolution unless
  // `optionen` carry one. Raises and reports `bilanz` as Speichern does.
  void SeitenSpeichern(const Bitmap& vorlage, uint8_t blendwert, const SpeicherOptionen& optionen,
                       const Seitenwahl& wahl, const Speicherbegleitung& begleitung,
                       unsigned threads, std::optional<Bandbilanz>& bilanz) const;
  // Saves the mosaic blended at `blendwert` as a zoomable web page (WebseiteSpeichern), the
  // pixels the same as Speichern writes into a file, with the photo of every cell named
  // unless `mitNamen` is false (file paths tell about their owner). Raises and reports
  // `bilanz` as Speichern does.
  void WebseiteSpeichern(const Bitmap& vorlage, uint8_t blendwert, Webseitenoptionen optionen,
                         bool mitNamen, const Speicherbegleitung& begleitung, unsigned threads,
                         std::optional<Bandbilanz>& bilanz) const;

 private:
  SpeicherOptionen MitAufloesung(const SpeicherOptionen& optionen) const;

  std::shared_ptr<Mosaikplan> plan_;
  std::string arbeitspfad_;
  std::optional<Bitmap> pixel_;
  Bitmap anzeige_;
};

}  // namespace tilvendo
