#include "wizard/ergebnis_mosaik.h"

#include "engine/grossformat_probe.h"
#include "pictures/png_writer.h"

namespace tilvendo::wizard {

bool ErgebnisVorhanden(const Auftrag& auftrag) {
  if (auftrag.MosaikBild) return true;
  return auftrag.MosaikInBaendern() && auftrag.ErgebnisFertig && !auftrag.AnzeigeBild.empty();
}

Size ErgebnisGroesse(const Auftrag& auftrag) {
  if (auftrag.MosaikBild) return Size{auftrag.MosaikBild->width(), auftrag.MosaikBild->height()};
  if (!ErgebnisVorhanden(auftrag)) return {};
  return auftrag.MosaikPlan->Mosaik();
}

Mosaikraster ErgebnisRaster(const Auftrag& auftrag) {
  if (!auftrag.MosaikPlan) return {};
  const Mosaikplan& plan = *auftrag.MosaikPlan;
  if (plan.KachelnX() <= 0 || plan.KachelnY() <= 0) return {};
  return Mosaikraster{plan.Kachel(), plan.KachelnX(), plan.KachelnY()};
}

Speichervorschau SpeichervorschauMachen(Auftrag& auftrag, uint8_t blendwert, int32_t boxBreite,
                                        int32_t boxHoehe, const SpeicherOptionen& optionen,
                                        Bitmap& vorschau) {
  Speichervorschau ergebnis;
  if (auftrag.MosaikBild) {
    ergebnis.bytes = MakeSavePreview(auftrag.VorlageBild, *auftrag.MosaikBild, blendwert, boxBreite,
                                     boxHoehe, optionen, auftrag.SpeicherVorschau, vorschau);
    return ergebnis;
  }
  if (!ErgebnisVorhanden(auftrag)) {
    vorschau = Bitmap();
    return ergebnis;
  }
  // A PNG finds a photo placed again along a row: its sample spans as much of a row.
  const int32_t mindestBreite = optionen.Format == kFormatPng ? kPngRueckgriffPixel : 0;
  Grossformatprobe probe(auftrag, *auftrag.MosaikPlan, blendwert, mindestBreite);
  ergebnis.bytes = MakeSavePreviewAusProbe(auftrag.VorlageBild, auftrag.AnzeigeBild,
                                           ErgebnisGroesse(auftrag), probe, blendwert, boxBreite,
                                           boxHoehe, optionen, auftrag.SpeicherVorschau, vorschau);
  ergebnis.geschaetzt =
      ergebnis.bytes >= 0 && (optionen.Format == kFormatJpeg || optionen.Format == kFormatPng);
  return ergebnis;
}

}  // namespace tilvendo::wizard
