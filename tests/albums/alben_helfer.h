// What the album tests share: a user that records everything, media that the test
// makes up, and an album folder of its own.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "albums/alben_kontext.h"
#include "platform/benutzer.h"
#include "platform/medien.h"
#include "support/temp_folder.h"

namespace tilvendo::testing {

class ProtokollBenutzer : public Benutzer {
 public:
  void Warnung(std::string_view text) override { warnungen.emplace_back(text); }
  std::string MediumNameErfragen() override {
    ++namensfragen;
    return mediumName;
  }
  void EreignisseVerarbeiten() override { ++ereignisse; }
  void ScanOrdnerLeeren() override { scan.push_back("leeren"); }
  void ScanOrdnerSetzen(std::string_view ordner) override {
    scan.push_back("ordner " + std::string(ordner));
  }
  void ScanAnzahlSetzen(int32_t anzahl) override { scan.push_back(std::to_string(anzahl)); }

  std::vector<std::string> warnungen;
  std::vector<std::string> scan;
  std::string mediumName = "Urlaubs-CD";
  int namensfragen = 0;
  int ereignisse = 0;
};

// Mounts made up by the test: a path lies on the registered mount point that is its
// longest prefix. Unregistered paths lie on no mount.
class FalscheMedien : public Medien {
 public:
  struct Medium {
    std::string kennung;  // empty: nothing inserted
    int klasse = kLaufwerksklasseFestplatte;
  };

  std::string Einhaengepunkt(std::string_view pfad) const override {
    std::string bester;
    for (const auto& [punkt, medium] : media) {
      const std::string mitStrich = punkt == "/" ? punkt : punkt + "/";
      if ((pfad == punkt || pfad.starts_with(mitStrich)) && punkt.size() >= bester.size()) {
        bester = punkt;
      }
    }
    return bester;
  }
  std::string Datentraegerkennung(std::string_view punkt) const override {
    const auto it = media.find(std::string(punkt));
    return it == media.end() ? std::string() : it->second.kennung;
  }
  std::vector<std::string> Einhaengepunkte() const override {
    std::vector<std::string> punkte;
    for (const auto& [punkt, medium] : media) punkte.push_back(punkt);
    return punkte;
  }
  int Laufwerksklasse(std::string_view pfad) const override {
    const auto it = media.find(Einhaengepunkt(pfad));
    return it == media.end() ? kLaufwerksklasseUngeeignet : it->second.klasse;
  }

  std::map<std::string, Medium> media;
};

struct AlbenOrdner {
  TempFolder folder;
  AlbenKontext kontext{folder.path()};

  std::string Datei(const std::string& name) const { return kontext.Datei(name); }
  std::string Katalog() const { return ReadWholeFile(kontext.Katalog()); }
};

}  // namespace tilvendo::testing
