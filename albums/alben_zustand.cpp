#include "albums/alben_zustand.h"

#include <algorithm>

#include "albums/katalog.h"
#include "albums/katalog_intern.h"
#include "albums/ordner_scan.h"
#include "platform/gross_klein.h"
#include "platform/profile_file.h"
#include "platform/translate.h"

namespace tilvendo {
namespace {

TGalerieGlobal Summeneintrag(const char* name) {
  TGalerieGlobal eintrag;
  eintrag.Name = name;
  return eintrag;
}

void SortiertOhneWiederholung(std::vector<std::string>& liste) {
  std::sort(liste.begin(), liste.end(),
            [](const std::string& a, const std::string& b) { return VorOhneGrossKlein(a, b); });
  liste.erase(std::unique(liste.begin(), liste.end()), liste.end());
}

}  // namespace

AlbenZustand::AlbenZustand() {
  Albenliste.push_back(Summeneintrag(_(kAlleAlbenName)));
  Albenliste.push_back(Summeneintrag(_(kGewaehlteAlbenName)));
  AlbenAuswahl = {_(kAlleAlbenName), _(kGewaehlteAlbenName)};
  AktAlbum.mitUnterverzeichnissen = true;
}

std::span<TGalerieGlobal> AlbenZustand::GewaehlteAlben() {
  return std::span<TGalerieGlobal>(Albenliste).subspan(kErstesGewaehltesAlbum);
}

std::span<const TGalerieGlobal> AlbenZustand::GewaehlteAlben() const {
  return std::span<const TGalerieGlobal>(Albenliste).subspan(kErstesGewaehltesAlbum);
}

int AlbenZustand::Position(std::string_view name) const {
  for (size_t i = 0; i < AlbenAuswahl.size(); ++i) {
    if (GleichOhneGrossKlein(AlbenAuswahl[i], name)) return static_cast<int>(i);
  }
  return -1;
}

int AlbenZustand::AlbumWaehlen(std::string_view name, const AlbenKontext& kontext,
                               const Medien& medien, Benutzer& benutzer) {
  if (!MediumEingelegt(AktMedium, medien)) {
    benutzer.Warnung(WarnungMediumEinlegen(AktMedium));
    return -1;
  }
  if (const int vorhanden = Position(name); vorhanden >= 0) return vorhanden;

  // Loaded and scanned before either list grows, so that a failure leaves both lists
  // as they were and parallel.
  TGalerieGlobal album;
  album.Name = std::string(name);
  AlbumLaden(kontext, album);
  if (!album.AlleVerzeichnisseVorhanden) {
    AlbumScannen(kontext, benutzer, album.Name, album.Verzeichnisse, album.AlleVerzeichnisse,
                 album.mitUnterverzeichnissen, true);
    album.AlleVerzeichnisseVorhanden = true;
  }
  SortiertOhneWiederholung(album.Verzeichnisse);
  AlbenAuswahl.reserve(AlbenAuswahl.size() + 1);
  Albenliste.push_back(std::move(album));
  AlbenAuswahl.emplace_back(name);
  return static_cast<int>(Albenliste.size()) - 1;
}

void AlbenZustand::AlbumAbwaehlen(size_t position) {
  if (position < kErstesGewaehltesAlbum || position >= Albenliste.size()) return;
  Albenliste.erase(Albenliste.begin() + static_cast<std::ptrdiff_t>(position));
  if (position < AlbenAuswahl.size()) {
    AlbenAuswahl.erase(AlbenAuswahl.begin() + static_cast<std::ptrdiff_t>(position));
  }
}

void AlbenZustand::AlbenSummieren(const AlbenKontext& kontext) {
  AlbennamenLaden(kontext, AlbenNamen);
  Bildzahlen alle;
  Bildzahlen gewaehlt;
  const ProfileFile katalog = ProfileFile::Load(kontext.Katalog());
  for (const std::string& name : AlbenNamen) {
    TGalerieGlobal kopf;
    kopf.Name = name;
    KatalogEintragLesen(katalog, kopf);
    alle += kopf.Anzahl;
    if (Position(name) >= 0) gewaehlt += kopf.Anzahl;
  }
  Albenliste[kAlleAlbenPosition].Anzahl = alle;
  Albenliste[kGewaehlteAlbenPosition].Anzahl = gewaehlt;
}

Bildzahlen AlbenZustand::GewaehlteBilderZaehlen() const {
  Bildzahlen summe;
  for (const TGalerieGlobal& album : GewaehlteAlben()) summe += album.Anzahl;
  return summe;
}

}  // namespace tilvendo
