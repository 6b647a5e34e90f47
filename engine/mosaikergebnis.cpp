#include "engine/mosaikergebnis.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "engine/grossformat.h"
#include "engine/mosaikprobe.h"
#include "engine/webplatzierung.h"
#include "pictures/bild_einpassen.h"
#include "pictures/blending.h"
#include "pictures/jpeg_writer.h"
#include "pictures/kachelpyramide.h"
#include "pictures/seiten_speichern.h"
#include "pictures/zeilen_einpassen.h"
#include "platform/fit_to_box.h"
#include "platform/memory_budget.h"

namespace tilvendo {
namespace {

// The pixels a sample of a mosaic held whole aims at: its pixels cost nothing to read,
// so it is taken large, and a mosaic of up to this size whole.
constexpr int64_t kGanzProbenPixel = int64_t{1} << 20;

// How a save composes: stopped with the save, on `threads`, and refusing a mosaic black
// all over, which must not replace a file.
Quellbegleitung ZumSpeichern(const Speicherbegleitung& begleitung, unsigned threads) {
  Quellbegleitung quellbegleitung;
  quellbegleitung.abbruch = begleitung.abbruch;
  quellbegleitung.threads = threads;
  quellbegleitung.leerVerweigern = true;
  return quellbegleitung;
}

// Whether `schreiben` wrote from `quelle`; what composing found is handed to `bilanz`
// also when it failed or was stopped.
template <typename Schreiben>
bool MitBilanz(const Mosaikquelle& quelle, std::optional<Bandbilanz>& bilanz, Schreiben schreiben) {
  try {
    const bool geschrieben = schreiben();
    bilanz = quelle.Bilanz();
    return geschrieben;
  } catch (...) {
    bilanz = quelle.Bilanz();
    throw;
  }
}

// The pixels held whole, blended as they are handed out.
class GehalteneQuelle final : public Mosaikquelle {
 public:
  GehalteneQuelle(const Bitmap& mosaik, const Bitmap& vorlage, uint8_t blendwert)
      : streifen_(mosaik, vorlage, blendwert) {}
  int32_t Breite() const override { return streifen_.Breite(); }
  int32_t Hoehe() const override { return streifen_.Hoehe(); }
  Zeilen Streifen(int32_t erste, int32_t anzahl) override {
    return streifen_.Streifen(erste, anzahl);
  }
  std::optional<Bandbilanz> Bilanz() const override { return std::nullopt; }

 private:
  UeberblendeteStreifen streifen_;
};

// A picture made for the source, such as a reduced one.
class EigeneQuelle final : public Mosaikquelle {
 public:
  explicit EigeneQuelle(Bitmap bild) : bild_(std::move(bild)), streifen_(bild_) {}
  int32_t Breite() const override { return streifen_.Breite(); }
  int32_t Hoehe() const override { return streifen_.Hoehe(); }
  Zeilen Streifen(int32_t erste, int32_t anzahl) override {
    return streifen_.Streifen(erste, anzahl);
  }
  std::optional<Bandbilanz> Bilanz() const override { return std::nullopt; }

 private:
  Bitmap bild_;
  BitmapStreifen streifen_;
};

// Composed from the plan while it is read.
class KomponierteQuelle final : public Mosaikquelle {
 public:
  KomponierteQuelle(std::shared_ptr<const Mosaikplan> plan, const Bitmap& vorlage,
                    std::string arbeitspfad, Bandoptionen optionen)
      : baender_(std::move(plan), vorlage, std::move(arbeitspfad), std::move(optionen)) {}
  int32_t Breite() const override { return baender_.Breite(); }
  int32_t Hoehe() const override { return baender_.Hoehe(); }
  Zeilen Streifen(int32_t erste, int32_t anzahl) override {
    return baender_.Streifen(erste, anzahl);
  }
  std::optional<Bandbilanz> Bilanz() const override { return baender_.Bilanz(); }

 private:
  Mosaikbaender baender_;
};

Size Bildschirmgroesse(Size mosaik, Size bildschirm) {
  // A screen too small for the frame still gets a picture of at least one pixel.
  Size groesse = FitToBox(mosaik.width, mosaik.height, std::max(bildschirm.width, 1),
                          std::max(bildschirm.height, 1));
  return Size{std::max(groesse.width, 1), std::max(groesse.height, 1)};
}

}  // namespace

Mosaikergebnis::Mosaikergebnis(std::shared_ptr<Mosaikplan> plan, std::string arbeitspfad)
    : Mosaikergebnis(std::move(plan), std::move(arbeitspfad), std::nullopt, Bitmap()) {}

Mosaikergebnis::Mosaikergebnis(std::shared_ptr<Mosaikplan> plan, std::string arbeitspfad,
                               std::optional<Bitmap> pixel, Bitmap anzeige)
    : plan_(std::move(plan)),
      arbeitspfad_(std::move(arbeitspfad)),
      pixel_(std::move(pixel)),
      anzeige_(std::move(anzeige)) {}

std::unique_ptr<Mosaikergebnis> Mosaikergebnis::Zusammenstellen(
    std::shared_ptr<Mosaikplan> plan, const Bitmap& vorlage, const std::string& arbeitspfad,
    Size bildschirm, const Zusammenstellbegleitung& begleitung, Bandbilanz& bilanz) {
  const Size groesse = plan->Mosaik();
  if (groesse.width <= 0 || groesse.height <= 0) return nullptr;
  const Size anzeige = Bildschirmgroesse(groesse, bildschirm);
  Bandoptionen optionen;
  optionen.threads = begleitung.threads;
  optionen.abbruch = begleitung.abbruch;
  Mosaikbaender baender(plan, vorlage, arbeitspfad, std::move(optionen));
  const auto weiter = [&](int32_t schritte) {
    if (begleitung.weiter) begleitung.weiter(schritte);
  };
  if (!plan->Grossformat()) {
    // Held whole: every thread draws the photos of a band together.
    if (begleitung.beginnen) begleitung.beginnen(baender.FotoZeichnungen());
    Bitmap mosaik(groesse.width, groesse.height);
    const bool fertig = baender.InBild(mosaik, weiter);
    bilanz = baender.Bilanz();
    if (!fertig) return nullptr;
    Bitmap kopie(anzeige.width, anzeige.height);
    BildEinpassen(kopie, Rect{0, 0, anzeige.width, anzeige.height}, mosaik);
    return std::make_unique<Mosaikergebnis>(std::move(plan), arbeitspfad, std::move(mosaik),
                                            std::move(kopie));
  }
  // A poster is never held whole: its bands go by once, into the screen copy, with the
  // same stages and pixels as the whole mosaic reduced.
  if (begleitung.beginnen) begleitung.beginnen(groesse.height);
  MemoryBudget budget{MemoryBudget::ForThisMachine()};
  ZeilenEinpassen einpassen(Rect{0, 0, anzeige.width, anzeige.height}, budget);
  Zeilenformat format;
  format.breite = groesse.width;
  format.hoehe = groesse.height;
  format.bytesJePixel = static_cast<int>(kBytesJePixel);
  if (!einpassen.Groesse(format)) throw PictureTooLarge(kMeldungKeinSpeicher);
  try {
    StreifenweiseLesen(baender, [&](int32_t erste, const Zeilen& zeilen) {
      for (int32_t i = 0; i < zeilen.anzahl; ++i) {
        if (einpassen.BrauchtZeile(erste + i)) einpassen.Zeile(erste + i, zeilen.Zeile(i));
      }
      weiter(zeilen.anzahl);
    });
  } catch (const SchreibenAbgebrochen&) {
    bilanz = baender.Bilanz();
    return nullptr;
  }
  bilanz = baender.Bilanz();
  Bitmap kopie(anzeige.width, anzeige.height);
  einpassen.Zeichnen(kopie);
  return std::make_unique<Mosaikergebnis>(std::move(plan), arbeitspfad, std::nullopt,
                                          std::move(kopie));
}

bool Mosaikergebnis::NimmtVorlage() const {
  return !pixel_ && plan_->BrauchtVorlage() && !plan_->HatEigeneVorlage();
}

void Mosaikergebnis::VorlageUebernehmen(Bitmap& vorlage) {
  if (!NimmtVorlage()) return;
  plan_->VorlageBehalten(std::move(vorlage));
}

std::unique_ptr<Mosaikquelle> Mosaikergebnis::Quelle(const Bitmap& vorlage, uint8_t blendwert,
                                                     const Quellbegleitung& begleitung,
                                                     std::optional<Size> groesse) const {
  const Size voll = Groesse();
  if (groesse && (groesse->width != voll.width || groesse->height != voll.height)) {
    // Reduced from the largest picture held: the mosaic itself, or its screen copy.
    Bitmap bild(groesse->width, groesse->height);
    BlendTemplateIntoMosaic(bild, Stellvertreter(), vorlage, blendwert);
    return std::make_unique<EigeneQuelle>(std::move(bild));
  }
  if (pixel_) return std::make_unique<GehalteneQuelle>(*pixel_, vorlage, blendwert);
  Bandoptionen optionen;
  optionen.blendwert = blendwert;
  optionen.skalierung = SkalierungFuer(voll.width, voll.height);
  optionen.threads = begleitung.threads;
  optionen.abbruch = begleitung.abbruch;
  optionen.leerVerweigern = begleitung.leerVerweigern;
  if (begleitung.schreiberBytes > 0) {
    // The kept tiles make room for what such a writer holds.
    const uint64_t band =
        std::max(KachelzeilenBytes(voll.width, plan_->Kachel().height), optionen.bandBytes);
    optionen.kachelspeicher = KachelspeicherNeben(begleitung.schreiberBytes, band);
  }
  return std::make_unique<KomponierteQuelle>(plan_, vorlage, arbeitspfad_, std::move(optionen));
}

std::unique_ptr<StreifenQuelle> Mosaikergebnis::Probe(const Bitmap& vorlage, uint8_t blendwert,
                                                      int32_t mindestBreite,
                                                      unsigned threads) const {
  const Mosaikplan& plan = *plan_;
  const Size kachel = plan.Kachel();
  if (pixel_) {
    const int64_t flaeche = std::max<int64_t>(int64_t{kachel.width} * kachel.height, 1);
    Probenplan probe =
        ProbenplanFuer(plan.KachelnX(), plan.KachelnY(), kachel, mindestBreite,
                       std::max<int64_t>(kProbenKacheln, kGanzProbenPixel / flaeche));
    return std::make_unique<Mosaikprobe>(
        std::move(probe), kachel,
        std::make_unique<UeberblendeteStreifen>(*pixel_, vorlage, blendwert));
  }
  Probenplan probe = ProbenplanFuer(plan.KachelnX(), plan.KachelnY(), kachel, mindestBreite);
  // Only the photos of the sampled cells are read: the plan with those cells alone. The
  // first column of each tile row's run; −1 for rows without one.
  std::vector<int32_t> laufAnfang(static_cast<size_t>(std::max(plan.KachelnY(), 0)), -1);
  for (const Probenlauf& lauf : probe.laeufe) {
    laufAnfang[static_cast<size_t>(lauf.zeile)] = lauf.spalte;
  }
  const int32_t laenge = probe.laenge;
  auto teil = std::make_shared<const Mosaikplan>(plan.NurZellen([&](const Zellort& z) {
    const int32_t anfang = laufAnfang[static_cast<size_t>(z.y - 1)];
    return anfang >= 0 && z.x - 1 >= anfang && z.x - 1 < anfang + laenge;
  }));
  const Size voll = Groesse();
  Bandoptionen optionen;
  optionen.blendwert = blendwert;
  optionen.skalierung = SkalierungFuer(voll.width, voll.height);
  optionen.threads = threads;
  // As few tile rows a band as the writer's strips allow, and none composed ahead: the
  // rows between the runs would be composed for nothing.
  optionen.bandBytes = 1;
  optionen.voraus = false;
  return std::make_unique<Mosaikprobe>(
      std::move(probe), kachel,
      std::make_unique<Mosaikbaender>(std::move(teil), vorlage, arbeitspfad_, std::move(optionen)));
}

SpeicherOptionen Mosaikergebnis::MitAufloesung(const SpeicherOptionen& optionen) const {
  SpeicherOptionen datei = optionen;
  // The resolution the mosaic was made for, whatever the size page says by now.
  if (datei.Aufloesung == 0) {
    datei.Aufloesung = plan_->Druckaufloesung();
    datei.AufloesungY = plan_->DruckaufloesungY();
  }
  return datei;
}

Dateigroesse Mosaikergebnis::DateigroesseSchaetzen(const Bitmap& vorlage, uint8_t blendwert,
                                                   const SpeicherOptionen& optionen) const {
  const Dateiformat* format = FormatVon(optionen.Format);
  if (format == nullptr) return {};
  const Size groesse = Groesse();
  const Bildbeschreibung beschreibung =
      BeschreibungFuer(MitAufloesung(optionen), groesse.width, groesse.height);
  if (format->genaueBytes != nullptr)
    return Dateigroesse{DateiBytes(*format, beschreibung, nullptr)};
  const std::unique_ptr<StreifenQuelle> probe = Probe(vorlage, blendwert, format->probenBreite);
  const bool ganz =
      int64_t{probe->Breite()} * probe->Hoehe() == int64_t{groesse.width} * groesse.height;
  return Dateigroesse{DateiBytes(*format, beschreibung, probe.get()), !ganz};
}

bool Mosaikergebnis::Speichern(const Bitmap& vorlage, uint8_t blendwert,
                               const SpeicherOptionen& optionen,
                               const Speicherbegleitung& begleitung, unsigned threads,
                               std::optional<Bandbilanz>& bilanz) const {
  if (FormatVon(optionen.Format) == nullptr) return false;
  const SpeicherOptionen datei = MitAufloesung(optionen);
  Speicherbegleitung mitSchaetzung = begleitung;
  mitSchaetzung.schaetzung = [&] { return DateigroesseSchaetzen(vorlage, blendwert, datei).bytes; };
  const std::unique_ptr<Mosaikquelle> quelle =
      Quelle(vorlage, blendwert, ZumSpeichern(begleitung, threads));
  return MitBilanz(*quelle, bilanz, [&] { return BildSpeichern(*quelle, datei, mitSchaetzung); });
}

void Mosaikergebnis::WebseiteSpeichern(const Bitmap& vorlage, uint8_t blendwert,
                                       Webseitenoptionen optionen, bool mitNamen,
                                       const Speicherbegleitung& begleitung, unsigned threads,
                                       std::optional<Bandbilanz>& bilanz) const {
  Quellbegleitung quellbegleitung = ZumSpeichern(begleitung, threads);
  quellbegleitung.schreiberBytes = PyramidenSpeicher(Groesse().width);
  const std::unique_ptr<Mosaikquelle> quelle = Quelle(vorlage, blendwert, quellbegleitung);
  optionen.platzierung = nullptr;
  if (mitNamen) {
    // Asked once the mosaic is composed: a photo that could not be read shows another in
    // its cells, and the page names the one it shows.
    optionen.platzierung = [&] {
      const std::optional<Bandbilanz> gefunden = quelle->Bilanz();
      if (!gefunden || gefunden->ersetzungen.empty()) return WebPlatzierung(*plan_);
      Mosaikplan gezeigt = plan_->NurZellen([](const Zellort&) { return true; });
      gezeigt.ErsetzungenEintragen(gefunden->ersetzungen);
      return WebPlatzierung(gezeigt);
    };
  }
  // The tiles take about what a JPEG file of the mosaic at their quality takes.
  SpeicherOptionen kacheln;
  kacheln.Format = kFormatJpeg;
  kacheln.Qualitaet =
      static_cast<uint8_t>(std::clamp(optionen.qualitaet, kJpegQualitaetMin, kJpegQualitaetMax));
  Speicherbegleitung mitSchaetzung = begleitung;
  mitSchaetzung.schaetzung = [&] {
    return DateigroesseSchaetzen(vorlage, blendwert, kacheln).bytes;
  };
  MitBilanz(*quelle, bilanz, [&] {
    tilvendo::WebseiteSpeichern(*quelle, optionen, mitSchaetzung);
    return true;
  });
}

void Mosaikergebnis::SeitenSpeichern(const Bitmap& vorlage, uint8_t blendwert,
                                     const SpeicherOptionen& optionen, const Seitenwahl& wahl,
                                     const Speicherbegleitung& begleitung, unsigned threads,
                                     std::optional<Bandbilanz>& bilanz) const {
  SpeicherOptionen datei = MitAufloesung(optionen);
  datei.Format = kFormatJpeg;  // the sheets' pictures
  Speicherbegleitung mitSchaetzung = begleitung;
  mitSchaetzung.schaetzung = [&] { return DateigroesseSchaetzen(vorlage, blendwert, datei).bytes; };
  const std::unique_ptr<Mosaikquelle> quelle =
      Quelle(vorlage, blendwert, ZumSpeichern(begleitung, threads));
  MitBilanz(*quelle, bilanz, [&] {
    tilvendo::SeitenSpeichern(*quelle, datei, wahl, mitSchaetzung);
    return true;
  });
}

}  // namespace tilvendo
