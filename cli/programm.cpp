#include "cli/programm.h"

#include <ostream>

#include "albums/alben_kontext.h"
#include "cli/album_befehle.h"
#include "cli/aufruf.h"
#include "cli/mosaik_befehl.h"
#include "engine/auftrag.h"
#include "platform/atomic_file.h"
#include "platform/bitmap.h"
#include "platform/paths.h"
#include "platform/translate.h"

namespace tilvendo::cli {
namespace {

constexpr const char* kProgrammName = "tilvendo";

AlbenKontext KontextFuer(const Aufruf& aufruf, Umgebung& umgebung) {
  AlbenKontext kontext{
      aufruf.albenPfad ? MitSchraegstrich(*aufruf.albenPfad) : AlbenPfadErmitteln(),
      &umgebung.benutzer, umgebung.albenSperrFrist};
  CreateFolders(kontext.AlbenPfad);  // a folder that cannot be made fails at its first use
  return kontext;
}

int BefehlAusfuehren(const Aufruf& aufruf, Umgebung& umgebung, bool signaleAbfangen) {
  switch (aufruf.befehl) {
    case Befehl::Hilfe:
      umgebung.aus << Hilfetext();
      return kExitErfolg;
    case Befehl::OhneBefehl:
      umgebung.fehler << Hilfetext();
      return kExitAufruf;
    case Befehl::Version:
      umgebung.aus << kProgrammTitel << ' ' << kProgrammVersion << '\n';
      return kExitErfolg;
    case Befehl::Mosaik:
      return MosaikErstellen(aufruf.mosaik, aufruf.albenPfad, umgebung, signaleAbfangen);
    default:
      break;
  }
  const AlbenKontext kontext = KontextFuer(aufruf, umgebung);
  switch (aufruf.befehl) {
    case Befehl::AlbumAnlegen:
      AlbumAnlegen(kontext, umgebung, aufruf.namen[0], aufruf.ordner, !aufruf.ohneUnterordner);
      break;
    case Befehl::AlbumListe:
      AlbenAuflisten(kontext, umgebung);
      break;
    case Befehl::AlbumZeigen:
      AlbumZeigen(kontext, umgebung, aufruf.namen[0]);
      break;
    case Befehl::AlbumAktualisieren:
      AlbumAktualisieren(kontext, umgebung, aufruf.namen[0]);
      break;
    case Befehl::AlbumUmbenennen:
      AlbumNeuBenennen(kontext, umgebung, aufruf.namen[0], aufruf.namen[1]);
      break;
    case Befehl::AlbumLoeschen:
      AlbumEntfernen(kontext, umgebung, aufruf.namen[0]);
      break;
    case Befehl::AlbumWiederherstellen:
      AlbumWiederherstellen(kontext, umgebung, aufruf.namen[0], aufruf.namen[1]);
      break;
    default:
      break;
  }
  return kExitErfolg;
}

int Fehlschlag(Umgebung& umgebung, const std::string& meldung) {
  umgebung.benutzer.ZeileAbschliessen();
  if (!meldung.empty()) umgebung.fehler << kProgrammName << ": " << meldung << '\n';
  return kExitFehler;
}

}  // namespace

int Ausfuehren(const std::vector<std::string>& argumente, Umgebung& umgebung,
               bool signaleAbfangen) {
  Aufruf aufruf;
  try {
    aufruf = AufrufLesen(argumente);
  } catch (const Aufruffehler& fehler) {
    umgebung.fehler << kProgrammName << ": " << fehler.what() << '\n';
    return kExitAufruf;
  }
  try {
    return AsPictureTooLarge([&] { return BefehlAusfuehren(aufruf, umgebung, signaleAbfangen); });
  } catch (const Befehlsfehler& fehler) {
    return Fehlschlag(umgebung, fehler.what());
  } catch (const WriteError& fehler) {
    return Fehlschlag(umgebung, fehler.what());
  } catch (const PictureTooLarge& fehler) {
    return Fehlschlag(umgebung, fehler.what());
  } catch (const std::exception& fehler) {
    return Fehlschlag(umgebung, _("Unerwarteter Fehler: ") + std::string(fehler.what()));
  }
}

}  // namespace tilvendo::cli
