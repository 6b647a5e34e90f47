#include "engine/bilder_einlesen.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "albums/alben_kontext.h"
#include "albums/alben_sperre.h"
#include "albums/alben_zustand.h"
#include "albums/katalog.h"
#include "albums/signaturdatei.h"
#include "engine/bild_vermesser.h"
#include "engine/bilder_suchen.h"
#include "engine/bilderprotokoll.h"
#include "engine/signatur.h"
#include "engine/signatur_cache.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

// Pictures handed to the workers ahead of the one the run waits for, per worker: enough
// to keep every core busy while the run files results, few enough that only paths wait.
constexpr size_t kFensterJeArbeiter = 4;

std::string MeldungAlbumGeaendert(const std::string& name) {
  return Format(_("Das Album „{}“ wurde während des Einlesens von einem anderen Programm geändert. "
                  "Diese Änderung bleibt erhalten; was dieser Lauf für das Album gelesen hat, wird "
                  "nicht gespeichert."),
                name);
}

unsigned Arbeiterzahl(const EinleseOptionen& optionen) {
  return optionen.arbeiter > 0 ? optionen.arbeiter : StandardArbeiterzahl();
}

// Sets the phase's end time however the phase ends.
class Endzeit {
 public:
  explicit Endzeit(Auftrag& auftrag) : auftrag_(auftrag) {}
  ~Endzeit() { auftrag_.PhasenZeiten[Phase::Einlesen].ende = Jetzt(); }
  Endzeit(const Endzeit&) = delete;
  Endzeit& operator=(const Endzeit&) = delete;

 private:
  Auftrag& auftrag_;
};

class Einleser {
 public:
  Einleser(Auftrag& auftrag, Fortschritt& fortschritt, Benutzer& benutzer,
           const EinleseOptionen& optionen)
      : auftrag_(auftrag),
        fortschritt_(fortschritt),
        benutzer_(benutzer),
        kontext_{MitSchraegstrich(auftrag.AlbenPfad), &benutzer, auftrag.AlbenSperrFrist},
        formanalyse_(auftrag.analyse.Formanalyse),
        variante_(CacheVariante(auftrag.einstellungen.verfahren)),
        vermesser_(auftrag.analyse, auftrag.einstellungen.verfahren, auftrag.Arbeitspfad,
                   Arbeiterzahl(optionen),
                   auftrag.Protokoll ? 0 : kFensterJeArbeiter * Arbeiterzahl(optionen)) {
    if (auftrag.Protokoll) protokoll_.emplace(HomeFolder() + kProtokollDateiname);
  }

  // Reads one album; false when the run was cancelled on the way. `stand` is the
  // album's AlbumStand when the run began.
  bool AlbumLesen(TGalerieGlobal& album, const std::string& stand);

  // One warning naming every file that could not be written, if there was one.
  void Melden();

 private:
  std::optional<std::vector<Kachelsignatur>> CacheVorlesen(Signaturdatei& datei,
                                                           const TGalerieGlobal& album);
  bool CacheEinfuegen(const std::vector<Kachelsignatur>& signaturen, const TGalerieGlobal& album);
  uint8_t NeuAufbauen(Signaturdatei& datei, TGalerieGlobal& album);
  bool Scannen(Signaturdatei* cache, TGalerieGlobal& album);
  void Abschliessen(Signaturdatei& datei, uint8_t modus, TGalerieGlobal& album, bool neuAufbauen,
                    const std::string& stand);
  // Closes the cache within the turn `sperre`, or in a turn of its own.
  bool Schliessen(Signaturdatei& datei, const TGalerieGlobal& album, const AlbenSperre& sperre);
  bool Schliessen(Signaturdatei& datei, const TGalerieGlobal& album);
  // A turn on the album folder, or none after telling why and throwing `datei`'s work
  // away. Once another program held the folder for the whole time allowed, the run does
  // not wait again: it would wait as long once more for every album.
  std::optional<AlbenSperre> Sperren(Signaturdatei& datei);
  void Einfuegen(Kachelsignatur signatur, const std::string& pfad);
  void Meldung(const std::string& text);
  void Protokollieren(std::string_view text) {
    if (protokoll_) protokoll_->Zeile(text);
  }

  Auftrag& auftrag_;
  Fortschritt& fortschritt_;
  Benutzer& benutzer_;
  const AlbenKontext kontext_;
  const uint8_t formanalyse_;
  // Signatures measured one way are kept in a cache of their own.
  const std::string variante_;
  BildVermesser vermesser_;
  std::optional<Bilderprotokoll> protokoll_;
  int32_t zaehler_ = 0;  // pictures handled so far, skipped ones included
  std::vector<std::string> meldungen_;
  bool gesperrt_ = false;  // a turn on the album folder was refused
};

bool Einleser::AlbumLesen(TGalerieGlobal& album, const std::string& stand) {
  Signaturdatei datei;
  uint8_t modus = SignaturdateiOeffnen(datei, formanalyse_, album, kontext_, variante_);
  bool abgebrochen = false;
  bool ohneCache = false;
  try {
    if (modus == kCacheLesen) {
      // The whole cache is checked before its first picture is taken, so a damaged one
      // can still be replaced by a scan in this run without leaving stray tiles behind.
      if (auto signaturen = CacheVorlesen(datei, album)) {
        abgebrochen = CacheEinfuegen(*signaturen, album);
      } else {
        modus = NeuAufbauen(datei, album);
        ohneCache = modus == kCacheLesen;
        if (ohneCache) modus = kCacheNeuAufbauen;
      }
    }
    if (modus == kCacheNeuAufbauen) abgebrochen = Scannen(ohneCache ? nullptr : &datei, album);
  } catch (...) {
    // Whatever was written so far must not pass for a complete cache.
    Abschliessen(datei, modus, album, modus == kCacheNeuAufbauen, stand);
    throw;
  }
  // A rebuild cut short by a cancel is thrown away, so that the next run rebuilds it.
  Abschliessen(datei, modus, album, ohneCache || (abgebrochen && modus == kCacheNeuAufbauen),
               stand);
  return !abgebrochen;
}

std::optional<std::vector<Kachelsignatur>> Einleser::CacheVorlesen(Signaturdatei& datei,
                                                                   const TGalerieGlobal& album) {
  const size_t zeilen = album.Dateien.size();
  std::vector<Kachelsignatur> signaturen;
  while (signaturen.size() < zeilen) {
    std::optional<Kachelsignatur> signatur;
    try {
      signatur = SignaturLesen(datei, formanalyse_);
    } catch (const SignaturBeschaedigt&) {
      return std::nullopt;
    }
    if (!signatur) break;
    if (signatur->Nummer < 0 || static_cast<size_t>(signatur->Nummer) >= zeilen) {
      datei.AlsBeschaedigtMarkieren();
      return std::nullopt;
    }
    signaturen.push_back(*signatur);
  }
  // A cache that simply stops early gives the pictures it has; it no longer matches the
  // picture list, though, so the next run rebuilds it.
  if (signaturen.size() < zeilen) datei.AlsBeschaedigtMarkieren();
  return signaturen;
}

bool Einleser::CacheEinfuegen(const std::vector<Kachelsignatur>& signaturen,
                              const TGalerieGlobal& album) {
  // Every line of the picture list counts for the gauge, also those the cache lacks.
  for (size_t zeile = 0; zeile < album.Dateien.size(); ++zeile) {
    if (auftrag_.Abbruch) return true;
    fortschritt_.FortschrittAnzeigen(zaehler_);
    if (zeile < signaturen.size()) {
      const Kachelsignatur& signatur = signaturen[zeile];
      Einfuegen(signatur, album.Dateien[static_cast<size_t>(signatur.Nummer)]);
    }
    ++zaehler_;
  }
  return false;
}

uint8_t Einleser::NeuAufbauen(Signaturdatei& datei, TGalerieGlobal& album) {
  datei.AlsBeschaedigtMarkieren();
  Schliessen(datei, album);
  const uint8_t modus = SignaturdateiOeffnen(datei, formanalyse_, album, kontext_, variante_);
  if (modus == kCacheLesen) {
    // The catalogue could not take the mark, so the damaged cache came back: scan the
    // album all the same, but leave that cache alone.
    datei.AlsBeschaedigtMarkieren();
    Schliessen(datei, album);
  }
  return modus;
}

bool Einleser::Scannen(Signaturdatei* cache, TGalerieGlobal& album) {
  album.Dateien.clear();
  vermesser_.Beginnen(AlbumBilderSuchen(album.AlleVerzeichnisse));
  const auto ereignisse = [this] { benutzer_.EreignisseVerarbeiten(); };
  for (size_t k = 0; k < vermesser_.Anzahl(); ++k) {
    if (auftrag_.Abbruch) return true;
    fortschritt_.FortschrittAnzeigen(zaehler_);
    const std::string& pfad = vermesser_.Pfad(k);
    Protokollieren(pfad);
    BildMessung messung = vermesser_.Nehmen(k, ereignisse);
    if (messung.ergebnis == BildMessung::Ergebnis::Gemessen) {
      album.Dateien.push_back(pfad);
      messung.signatur.Nummer = static_cast<int32_t>(album.Dateien.size() - 1);
      if (cache != nullptr) SignaturSchreiben(*cache, messung.signatur, formanalyse_);
      Einfuegen(messung.signatur, pfad);
    } else if (messung.ergebnis == BildMessung::Ergebnis::Fehler) {
      Protokollieren(messung.fehler);
    }
    ++zaehler_;
  }
  return false;
}

void Einleser::Abschliessen(Signaturdatei& datei, uint8_t modus, TGalerieGlobal& album,
                            bool neuAufbauen, const std::string& stand) {
  if (neuAufbauen && datei.modus() != Signaturdatei::Modus::Geschlossen) {
    datei.AlsBeschaedigtMarkieren();
  }
  // One turn on the album folder from the check to the last write, so that no other
  // program changes the album in between. Without it nothing can be saved: a rebuild's
  // picture list was deleted when it began, so the next run rebuilds the cache.
  const std::optional<AlbenSperre> sperre = Sperren(datei);
  if (!sperre) return;
  // Another program changed the album while it was read: its change stays, and what
  // this run would store belongs to the album as it was. The cache is left as that
  // program left it; a rebuild of this run is thrown away.
  if (AlbumStand(kontext_, album.Name) != stand) {
    datei.Verwerfen();
    Meldung(MeldungAlbumGeaendert(album.Name));
    return;
  }
  // A cache read whole and sound leaves the album as it is stored: nothing is written, so
  // that an album folder that is read-only (another user's, a medium locked) serves a
  // run as well.
  const bool wieGespeichert = modus == kCacheLesen && !neuAufbauen && !datei.Beschaedigt();
  if (!Schliessen(datei, album, *sperre)) neuAufbauen = true;
  if (wieGespeichert && !neuAufbauen) return;
  try {
    AlbumSpeichern(kontext_, *sperre, album);
  } catch (const WriteError& fehler) {
    Meldung(fehler.what());
    neuAufbauen = true;
  }
  // Without its picture list the album's cache is rebuilt next time, whatever the
  // catalogue says.
  if (neuAufbauen && modus == kCacheNeuAufbauen) {
    try {
      DateilisteLoeschen(kontext_, album);
    } catch (const std::exception& fehler) {
      Meldung(fehler.what());
    }
  }
}

std::optional<AlbenSperre> Einleser::Sperren(Signaturdatei& datei) {
  AlbenKontext kontext = kontext_;
  if (gesperrt_) kontext.sperrFrist = std::chrono::milliseconds{0};
  try {
    return std::optional<AlbenSperre>(std::in_place, kontext);
  } catch (const WriteError& fehler) {
    gesperrt_ = true;
    Meldung(fehler.what());
    datei.Verwerfen();
    return std::nullopt;
  }
}

bool Einleser::Schliessen(Signaturdatei& datei, const TGalerieGlobal& album) {
  if (datei.modus() == Signaturdatei::Modus::Geschlossen) return true;
  const std::optional<AlbenSperre> sperre = Sperren(datei);
  return sperre && Schliessen(datei, album, *sperre);
}

bool Einleser::Schliessen(Signaturdatei& datei, const TGalerieGlobal& album,
                          const AlbenSperre& sperre) {
  if (datei.modus() == Signaturdatei::Modus::Geschlossen) return true;
  try {
    if (std::optional<std::string> fehler =
            SignaturdateiSchliessen(datei, formanalyse_, album, kontext_, sperre, variante_)) {
      Meldung(*fehler);
      return false;
    }
  } catch (const WriteError& fehler) {
    Meldung(fehler.what());
    return false;
  }
  return true;
}

void Einleser::Einfuegen(Kachelsignatur signatur, const std::string& pfad) {
  auftrag_.Dateiliste.push_back(pfad);
  signatur.Nummer = static_cast<int32_t>(auftrag_.Dateiliste.size() - 1);
  auftrag_.kachelliste.KachelEinfuegen(signatur);
}

void Einleser::Meldung(const std::string& text) {
  for (const std::string& bekannt : meldungen_) {
    if (bekannt == text) return;
  }
  meldungen_.push_back(text);
}

void Einleser::Melden() {
  if (protokoll_ && protokoll_->Fehler()) Meldung(*protokoll_->Fehler());
  if (meldungen_.empty()) return;
  std::string text;
  for (const std::string& meldung : meldungen_) {
    if (!text.empty()) text += '\n';
    text += meldung;
  }
  benutzer_.Warnung(text);
}

}  // namespace

void BilderEinlesen(Auftrag& auftrag, std::vector<TGalerieGlobal>& albenliste,
                    Fortschritt& fortschritt, Benutzer& benutzer, const EinleseOptionen& optionen) {
  Teilkante(auftrag.analyse);  // refuses a level outside 1..10 before anything changes
  auftrag.PhasenZeiten[Phase::Einlesen].beginn = Jetzt();
  const Endzeit endzeit(auftrag);

  auftrag.Dateiliste.clear();
  // No room is reserved from BilderAnzahl: that count comes from the catalogue, which a
  // hand-edited or damaged file can make absurd.
  auftrag.kachelliste.Leeren();

  Einleser einleser(auftrag, fortschritt, benutzer, optionen);
  // Each album as stored when the run begins: what the run saves at the end of an album
  // must not undo what another program changed meanwhile.
  const AlbenKontext kontext{MitSchraegstrich(auftrag.AlbenPfad)};
  std::vector<std::string> staende;
  for (size_t i = kErstesGewaehltesAlbum; i < albenliste.size(); ++i) {
    staende.push_back(AlbumStand(kontext, albenliste[i].Name));
  }
  try {
    for (size_t i = kErstesGewaehltesAlbum; i < albenliste.size(); ++i) {
      if (!einleser.AlbumLesen(albenliste[i], staende[i - kErstesGewaehltesAlbum])) break;
    }
  } catch (...) {
    einleser.Melden();
    throw;
  }
  einleser.Melden();
}

}  // namespace tilvendo
