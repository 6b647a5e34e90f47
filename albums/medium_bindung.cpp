#include "albums/medium_bindung.h"

#include "platform/translate.h"

namespace tilvendo {

AktuellesMedium AktuellesMedium::Von(const TGalerieGlobal& album) {
  if (!album.Wechselmedium) return {};
  return AktuellesMedium{album.Laufwerk, album.Seriennummer, album.MediumName};
}

bool MediumBinden(TGalerieGlobal& album, const std::string& ordner, const Medien& medien,
                  Benutzer& benutzer) {
  const int klasse = medien.Laufwerksklasse(ordner);
  if (klasse == kLaufwerksklasseUngeeignet) {
    benutzer.Warnung(_(kWarnungNetzwerk));
    return false;
  }
  const std::string einhaengepunkt = medien.Einhaengepunkt(ordner);
  const std::string kennung = medien.Datentraegerkennung(einhaengepunkt);
  // Fixed disks are bound by their identification too: one album, one medium.
  if (!album.Seriennummer.empty() && album.Seriennummer != kennung) {
    benutzer.Warnung(_(kWarnungEinMedium));
    return false;
  }
  album.Seriennummer = kennung;
  const bool wechselmedium = klasse == kLaufwerksklasseWechselmedium;
  if (wechselmedium && !album.Wechselmedium) {
    album.MediumName = benutzer.MediumNameErfragen();
    album.Laufwerk = einhaengepunkt;
  }
  album.Wechselmedium = wechselmedium;
  return true;
}

void MediumFreigeben(TGalerieGlobal& album) {
  album.Wechselmedium = false;
  album.MediumName.clear();
  album.Seriennummer.clear();
  album.Laufwerk.clear();
}

bool MediumEingelegt(const AktuellesMedium& medium, const Medien& medien) {
  if (medium.Leer()) return true;
  return medien.Datentraegerkennung(medium.Laufwerk) == medium.Seriennummer;
}

std::string WarnungMediumEinlegen(const AktuellesMedium& medium) {
  return Format(_("Bitte legen Sie erst das ensprechende Medium \"{}\" in Laufwerk \"{}\" ein."),
                medium.MediumName, medium.Laufwerk);
}

}  // namespace tilvendo
