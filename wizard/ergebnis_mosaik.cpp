#include "wizard/ergebnis_mosaik.h"

#include "engine/grossformat.h"
#include "engine/grossformat_probe.h"
#include "engine/mosaik_baender.h"
#include "pictures/png_writer.h"

namespace tilvendo::wizard {

bool ErgebnisVorhanden(const Auftrag& auftrag) {
  if (auftrag.MosaikBild) return true;
  return auftrag.MosaikInBaendern && auftrag.ErgebnisFertig && !auftrag.AnzeigeBild.empty() &&
         auftrag.einstellungen.Raster != nullptr;
}

Size ErgebnisGroesse(const Auftrag& auftrag) {
  if (auftrag.MosaikBild) return Size{auftrag.MosaikBild->width(), auftrag.MosaikBild->height()};
  if (!ErgebnisVorhanden(auftrag)) return {};
  return Mosaikgroesse(auftrag.einstellungen);
}

Mosaikraster ErgebnisRaster(const Auftrag& auftrag) {
  const Zellenraster* raster = auftrag.einstellungen.Raster.get();
  if (raster == nullptr || raster->kachelnX() <= 0 || raster->kachelnY() <= 0) return {};
  const Size groesse = ErgebnisGroesse(auftrag);
  // The mosaic is a whole number of equal tiles.
  return Mosaikraster{Size{groesse.width / raster->kachelnX(), groesse.height / raster->kachelnY()},
                      raster->kachelnX(), raster->kachelnY()};
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
  const Verwendungsliste verwendung = VerwendungAusRaster(auftrag);
  // A PNG finds a photo placed again along a row: its sample spans as much of a row.
  const int32_t mindestBreite = optionen.Format == kFormatPng ? kPngRueckgriffPixel : 0;
  Grossformatprobe probe(auftrag, verwendung, blendwert, mindestBreite);
  ergebnis.bytes = MakeSavePreviewAusProbe(auftrag.VorlageBild, auftrag.AnzeigeBild,
                                           ErgebnisGroesse(auftrag), probe, blendwert, boxBreite,
                                           boxHoehe, optionen, auftrag.SpeicherVorschau, vorschau);
  ergebnis.geschaetzt =
      ergebnis.bytes >= 0 && (optionen.Format == kFormatJpeg || optionen.Format == kFormatPng);
  return ergebnis;
}

}  // namespace tilvendo::wizard
