#include "wizard/alben_seite.h"

#include <algorithm>

#include "albums/katalog.h"
#include "albums/medium_bindung.h"
#include "platform/gross_klein.h"

namespace tilvendo::wizard {

std::vector<Listeneintrag> ListeFuellen(AlbenZustand& zustand, const AlbenKontext& kontext) {
  zustand.AlbenSummieren(kontext);
  std::vector<Listeneintrag> alben;
  alben.reserve(zustand.AlbenNamen.size());
  for (const std::string& name : zustand.AlbenNamen) {
    alben.push_back(
        {name, zustand.Position(name) >= 0 ? Zustandsbild::Haekchen : Zustandsbild::KeinHaekchen});
  }
  std::stable_sort(alben.begin(), alben.end(), [](const Listeneintrag& a, const Listeneintrag& b) {
    return VorOhneGrossKlein(a.name, b.name);
  });
  std::vector<Listeneintrag> liste = {
      {zustand.Albenliste[kAlleAlbenPosition].Name, Zustandsbild::Keines},
      {zustand.Albenliste[kGewaehlteAlbenPosition].Name, Zustandsbild::Keines}};
  liste.insert(liste.end(), alben.begin(), alben.end());
  return liste;
}

Albenanzeige AlbenChange(AlbenZustand& zustand, const AlbenKontext& kontext,
                         const std::optional<std::string>& auswahl) {
  Albenanzeige anzeige;
  if (auswahl) {
    anzeige.tag = zustand.Position(*auswahl);
    // A chosen album is shown as loaded, any other as the catalogue has it.
    TGalerieGlobal kopf;
    const TGalerieGlobal* quelle = &kopf;
    if (anzeige.tag >= 0) {
      quelle = &zustand.Albenliste[static_cast<size_t>(anzeige.tag)];
    } else {
      kopf.Name = *auswahl;
      AlbumKopfLaden(kontext, kopf);
    }
    zustand.AktMedium = AktuellesMedium::Von(*quelle);
    anzeige.aktAlbum = quelle->Name;
    anzeige.anzahl = quelle->Anzahl;
    anzeige.aktMedium = quelle->MediumName;
    anzeige.aktMediumSichtbar = quelle->Wechselmedium;
  }
  anzeige.loeschen = auswahl && LoeschenMoeglich(anzeige.tag);
  anzeige.bearbeiten = auswahl && BearbeitenMoeglich(anzeige.tag);
  anzeige.weiter = zustand.Albenliste[kGewaehlteAlbenPosition].Anzahl.gesamt > 0;
  return anzeige;
}

bool LoeschenMoeglich(int tag) {
  return tag == kNichtGewaehlt || tag >= static_cast<int>(kErstesGewaehltesAlbum);
}

bool BearbeitenMoeglich(int tag) {
  return tag >= static_cast<int>(kErstesGewaehltesAlbum);
}

bool WeiterMoeglich(int naechsteSeite, const Bildzahlen& bilderAnzahl) {
  return naechsteSeite > 0 && bilderAnzahl.gesamt > 0;
}

}  // namespace tilvendo::wizard
