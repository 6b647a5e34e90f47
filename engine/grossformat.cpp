#include "engine/grossformat.h"

#include <algorithm>

#include "engine/vorbereitung.h"
#include "pictures/bmp_writer.h"
#include "pictures/zeilen_einpassen.h"
#include "platform/fit_to_box.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

constexpr uint8_t kBmp8Bit = kFarbtiefe8;
// An 8-bit BMP reads the picture twice: to choose its palette, then to write it.
constexpr int32_t kBmp8Durchgaenge = 2;

// The bands, unblended, reduced into the screen copy with the same stages and pixels as
// the whole mosaic would be.
void BildschirmkopieMachen(Auftrag& auftrag, Mosaikbaender& baender) {
  Size groesse = FitToBox(baender.width(), baender.height(), std::max(auftrag.AnzeigeMaxBreite, 1),
                          std::max(auftrag.AnzeigeMaxHoehe, 1));
  groesse.width = std::max(groesse.width, 1);
  groesse.height = std::max(groesse.height, 1);
  MemoryBudget budget{MemoryBudget::ForThisMachine()};
  ZeilenEinpassen einpassen(Rect{0, 0, groesse.width, groesse.height}, budget);
  Zeilenformat format;
  format.breite = baender.width();
  format.hoehe = baender.height();
  format.bytesJePixel = static_cast<int>(kBytesJePixel);
  if (!einpassen.Groesse(format)) throw PictureTooLarge(_(kMeldungKeinSpeicher));
  BaenderWeitergeben(baender, [&](int32_t erste, const Zeilen& zeilen) {
    for (int32_t i = 0; i < zeilen.count; ++i) {
      if (einpassen.BrauchtZeile(erste + i)) einpassen.Zeile(erste + i, zeilen.row(i));
    }
  });
  Bitmap anzeige(groesse.width, groesse.height);
  einpassen.Zeichnen(anzeige);
  auftrag.AnzeigeBild = std::move(anzeige);
}

Bandbilanz BilanzVon(const Mosaikbaender& baender) {
  return Bandbilanz{baender.UnlesbareBilder(), baender.SchwarzeKacheln(), baender.ErneutGelesen()};
}

}  // namespace

Vorlagenskalierung SkalierungFuer(int32_t breite, int32_t hoehe) {
  return breite <= kMaxZielgroesse && hoehe <= kMaxZielgroesse ? Vorlagenskalierung::WieGanz
                                                               : Vorlagenskalierung::Bilinear;
}

Size Mosaikgroesse(const Einstellungen& e) {
  const int64_t breite = int64_t{e.KachelnX} * std::max(KachelBreite(e), 0);
  const int64_t hoehe = int64_t{e.KachelnY} * std::max(KachelHoehe(e), 0);
  return Size{static_cast<int32_t>(std::min<int64_t>(breite, INT32_MAX)),
              static_cast<int32_t>(std::min<int64_t>(hoehe, INT32_MAX))};
}

std::optional<std::string> GrossformatWarnung(const Einstellungen& e) {
  const Size groesse = Mosaikgroesse(e);
  const uint64_t zeile = KachelzeilenBytes(groesse.width, KachelHoehe(e));
  if (zeile <= kMaxKachelzeilenBytes) return std::nullopt;
  return Format(_("Eine Kachelzeile dieses Mosaiks bräuchte {} Arbeitsspeicher, mehr als {}. Bitte "
                  "wählen Sie mehr Kacheln in der Höhe oder ein kleineres Ergebnis."),
                SizeText(zeile), SizeText(kMaxKachelzeilenBytes));
}

bool BaenderSpeichern(const Auftrag& auftrag, const Mosaikplan& plan, uint8_t blendwert,
                      const SpeicherOptionen& optionen, const Speicherbegleitung& begleitung,
                      Bandbilanz& bilanz) {
  if (optionen.Format >= kSpeicherFormate.size()) return false;
  SpeicherOptionen datei = optionen;
  if (datei.Aufloesung == 0) datei.Aufloesung = plan.Druckaufloesung();
  const Size groesse = plan.Mosaik();
  const bool bmp = datei.Format == kFormatBmp;
  if (bmp) BmpGroessePruefen(groesse.width, groesse.height, BmpPixelFormat(datei.Farbtiefe));
  CheckFreeSpace(datei.Pfad, DateiHoechstBytes(datei, groesse.width, groesse.height),
                 begleitung.platz);

  Bandoptionen bandoptionen;
  bandoptionen.blendwert = blendwert;
  bandoptionen.skalierung = SkalierungFuer(groesse.width, groesse.height);
  bandoptionen.threads = begleitung.threads;
  bandoptionen.abbruch = begleitung.abbruch;
  bandoptionen.fortschritt = begleitung.fortschritt;
  bandoptionen.freigabe = begleitung.freigabe;
  bandoptionen.durchgaenge = bmp && datei.Farbtiefe == kBmp8Bit ? kBmp8Durchgaenge : 1;
  bandoptionen.leerVerweigern = true;
  Mosaikbaender baender(auftrag, plan, std::move(bandoptionen));
  try {
    const bool geschrieben = BildSchreiben(baender, datei);
    bilanz = BilanzVon(baender);
    return geschrieben;
  } catch (...) {
    bilanz = BilanzVon(baender);
    throw;
  }
}

void MosaikInBaendernZusammenstellen(Auftrag& auftrag, Fortschritt& fortschritt,
                                     const Mosaikplan& plan, unsigned threads,
                                     const Bandziel& ziel) {
  auftrag.PhasenZeiten[7] = Jetzt();
  auftrag.PhasenZeiten[3] = Jetzt();
  const Size groesse = plan.Mosaik();
  const bool bmp8 =
      ziel.datei && ziel.datei->Format == kFormatBmp && ziel.datei->Farbtiefe == kBmp8Bit;
  fortschritt.PhaseAnzeigen(kPhaseZusammenstellen, groesse.height * (bmp8 ? kBmp8Durchgaenge : 1));
  Bandbilanz bilanz;
  const auto melden = [&](int32_t fertig, int32_t) { fortschritt.FortschrittAnzeigen(fertig); };
  if (!auftrag.Abbruch && groesse.width > 0 && groesse.height > 0) {
    try {
      if (ziel.datei) {
        Speicherbegleitung begleitung;
        begleitung.fortschritt = melden;
        begleitung.abbruch = &auftrag.Abbruch;
        begleitung.platz = ziel.platz;
        begleitung.threads = threads;
        auftrag.ErgebnisFertig =
            BaenderSpeichern(auftrag, plan, ziel.blendwert, *ziel.datei, begleitung, bilanz);
      } else {
        Bandoptionen optionen;
        optionen.threads = threads;
        optionen.abbruch = &auftrag.Abbruch;
        optionen.fortschritt = melden;
        Mosaikbaender baender(auftrag, plan, std::move(optionen));
        BildschirmkopieMachen(auftrag, baender);
        bilanz = BilanzVon(baender);
        auftrag.ErgebnisFertig = true;
      }
    } catch (const SchreibenAbgebrochen&) {
      // The cancel flag is set; the run ends as cancelled.
    } catch (const KeinBildLesbar&) {
      // The counts tell the run that no photo could be read.
    }
  }
  auftrag.UnlesbareBilder = bilanz.unlesbareBilder;
  auftrag.SchwarzeKacheln = bilanz.schwarzeKacheln;
  auftrag.ErneutGeleseneBilder = bilanz.erneutGelesen;
  auftrag.PhasenZeiten[8] = Jetzt();
}

}  // namespace tilvendo
