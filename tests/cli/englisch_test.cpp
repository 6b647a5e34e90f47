// The command line in English: its names beside the German ones, its help and its
// messages, with the same exit codes.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <tuple>

#include "cli/aufruf.h"
#include "kommandozeile.h"
#include "support/sprache_wechseln.h"

namespace tilvendo::testing {
namespace {

// Every option the parser sets, as one value to compare.
auto Felder(const cli::MosaikOptionen& o) {
  const auto kacheln =
      o.kacheln ? std::optional(std::pair(o.kacheln->a, o.kacheln->b)) : std::nullopt;
  const auto druck =
      o.druck ? std::optional(std::pair(o.druck->breite, o.druck->hoehe)) : std::nullopt;
  const Verfahren& v = o.verfahren;
  return std::tuple(o.vorlage, o.ausgabe, o.alben, kacheln, o.groesse.has_value(), o.grossformat,
                    druck, o.dpi, o.liste, o.formanalyse, o.methode, o.muster, o.mindestabstand,
                    o.vorlagenAnteil, o.farbtiefe, o.qualitaet, o.seed, o.protokoll, o.bericht,
                    v.Aufrichten, v.SchnellLesen, v.Wahrnehmung, v.Zuschneiden, v.Farbangleich,
                    v.MaxVerwendungen, v.JedesFoto);
}

TEST(EnglischeNamen, EveryEnglishNameReadsAsItsGermanOne) {
  // clang-format off
  const cli::Aufruf englisch = cli::AufrufLesen(
      {"--albums-dir", "A", "mosaic", "t.jpg", "o.tif", "--album", "X", "--tiles", "40x30",
       "--large-format", "--print", "24x36in", "--dpi", "300", "--placement-list", "l.csv",
       "--shape-analysis", "7", "--method", "thorough", "--pattern=weaken", "--min-distance",
       "4", "--blend", "30", "--seed", "5", "--log", "--report", "--no-rotation", "--fast",
       "--perceptual", "--crop", "--color-match", "40", "--max-uses", "3", "--every-photo"});
  const cli::Aufruf deutsch = cli::AufrufLesen(
      {"--alben-pfad", "A", "mosaik", "t.jpg", "o.tif", "--album", "X", "--kacheln", "40x30",
       "--grossformat", "--druck", "24x36in", "--dpi", "300", "--liste", "l.csv",
       "--formanalyse", "7", "--methode", "gruendlich", "--muster=abschwaechen",
       "--mindestabstand", "4", "--einblenden", "30", "--seed", "5", "--protokoll", "--bericht",
       "--ohne-drehung", "--schnell", "--wahrnehmung", "--zuschneiden", "--farbangleich", "40",
       "--max-verwendungen", "3", "--jedes-foto"});
  // clang-format on
  EXPECT_EQ(englisch.befehl, cli::Befehl::Mosaik);
  EXPECT_EQ(englisch.albenPfad, deutsch.albenPfad);
  EXPECT_EQ(Felder(englisch.mosaik), Felder(deutsch.mosaik));
  // The values differ from the defaults, so that a name read as another one shows.
  EXPECT_EQ(englisch.mosaik.methode, 2);
  EXPECT_EQ(englisch.mosaik.muster, 2);

  EXPECT_EQ(Felder(cli::AufrufLesen({"mosaic", "t.jpg", "o.bmp", "--album", "X", "--size",
                                     "3000x2000", "--large-format", "--bit-depth", "8", "--method",
                                     "fast", "--pattern", "suppress"})
                       .mosaik),
            Felder(cli::AufrufLesen({"mosaik", "t.jpg", "o.bmp", "--album", "X", "--groesse",
                                     "3000x2000", "--grossformat", "--farbtiefe", "8", "--methode",
                                     "schnell", "--muster", "unterdruecken"})
                       .mosaik));
  EXPECT_EQ(cli::AufrufLesen({"mosaic", "t.jpg", "o.jpg", "--album", "X", "--quality", "70"})
                .mosaik.qualitaet,
            70);
}

TEST(EnglischeNamen, TheAlbumCommandsInEnglish) {
  const std::vector<std::pair<std::vector<std::string>, cli::Befehl>> faelle = {
      {{"album", "create", "N", "f", "--no-subfolders"}, cli::Befehl::AlbumAnlegen},
      {{"album", "list"}, cli::Befehl::AlbumListe},
      {{"album", "show", "N"}, cli::Befehl::AlbumZeigen},
      {{"album", "update", "N"}, cli::Befehl::AlbumAktualisieren},
      {{"album", "rename", "N", "M"}, cli::Befehl::AlbumUmbenennen},
      {{"album", "delete", "N"}, cli::Befehl::AlbumLoeschen},
      {{"album", "restore", "Album 3"}, cli::Befehl::AlbumWiederherstellen},
      {{"help"}, cli::Befehl::Hilfe},
  };
  for (const auto& [argumente, befehl] : faelle) {
    EXPECT_EQ(cli::AufrufLesen(argumente).befehl, befehl) << argumente[1];
  }
  const cli::Aufruf anlegen = cli::AufrufLesen({"album", "create", "N", "f", "--no-subfolders"});
  EXPECT_TRUE(anlegen.ohneUnterordner);
  EXPECT_EQ(anlegen.ordner, std::vector<std::string>{"f"});
}

// The names of commands and options a help text shows.
struct Namen {
  std::set<std::string> optionen;
  std::set<std::vector<std::string>> befehle;  // "album create", "mosaic"
};

Namen NamenDerHilfe(const std::string& hilfe) {
  Namen namen;
  const std::regex option("--[a-zäöüß][a-zäöüß-]*");
  for (auto it = std::sregex_iterator(hilfe.begin(), hilfe.end(), option);
       it != std::sregex_iterator(); ++it) {
    namen.optionen.insert(it->str());
  }
  const std::regex befehl(R"(\n  tilvendo ((?:[a-z]+ ?)+))");
  for (auto it = std::sregex_iterator(hilfe.begin(), hilfe.end(), befehl);
       it != std::sregex_iterator(); ++it) {
    std::vector<std::string> woerter;
    std::istringstream strom(it->str(1));
    for (std::string wort; strom >> wort;) woerter.push_back(wort);
    namen.befehle.insert(woerter);
  }
  return namen;
}

// The parser's complaint about `argumente`, in German; empty when it takes them.
std::string Einwand(const std::vector<std::string>& argumente) {
  try {
    cli::AufrufLesen(argumente);
  } catch (const cli::Aufruffehler& fehler) {
    return fehler.what();
  }
  return {};
}

TEST(EnglischeHilfe, TheHelpOfEachLanguageNamesItsOwnNamesAndTheProgramTakesThemAll) {
  std::string hilfen[2];
  {
    const InSprache englisch("en_US.UTF-8");
    hilfen[1] = cli::Hilfetext();
  }
  hilfen[0] = cli::Hilfetext();
  EXPECT_TRUE(Enthaelt(hilfen[0], "--kacheln XxY")) << hilfen[0];
  EXPECT_FALSE(Enthaelt(hilfen[0], "--tiles"));
  EXPECT_TRUE(Enthaelt(hilfen[1], "--tiles XxY")) << hilfen[1];
  EXPECT_TRUE(Enthaelt(hilfen[1], "tilvendo album create NAME")) << hilfen[1];
  EXPECT_FALSE(Enthaelt(hilfen[1], "--kacheln"));
  EXPECT_NE(hilfen[0], hilfen[1]);
  for (const std::string& hilfe : hilfen) {
    const Namen namen = NamenDerHilfe(hilfe);
    EXPECT_EQ(namen.optionen.size(), 36u);
    EXPECT_EQ(namen.befehle.size(), 8u);
    for (const std::string& option : namen.optionen) {
      EXPECT_FALSE(Einwand({option}).starts_with("Unbekannte Option")) << option;
    }
    for (std::vector<std::string> befehl : namen.befehle) {
      befehl.insert(befehl.end(), {"a", "b.jpg"});
      EXPECT_FALSE(Enthaelt(Einwand(befehl), "Unbekannt")) << befehl[0] << ' ' << befehl[1];
    }
  }
}

// The first line the program prints for `--help` when started in `umgebung`.
std::string ErsteZeileDerHilfe(const std::string& umgebung) {
  const std::string befehl = "env -u LANGUAGE -u LC_ALL -u LC_MESSAGES -u LANG " + umgebung + " " +
                             TILVENDO_PROGRAMM + " --help";
  std::FILE* rohr = ::popen(befehl.c_str(), "r");
  if (rohr == nullptr) return {};
  std::array<char, 256> zeile{};
  const bool gelesen = std::fgets(zeile.data(), zeile.size(), rohr) != nullptr;
  ::pclose(rohr);
  return gelesen ? std::string(zeile.data()) : std::string();
}

TEST(ProgrammSprache, TheProgramChoosesItsLanguageFromTheEnvironmentItIsStartedIn) {
  const std::string englisch = "Usage: tilvendo [--albums-dir FOLDER] COMMAND …\n";
  const std::string deutsch = "Aufruf: tilvendo [--alben-pfad ORDNER] BEFEHL …\n";
  EXPECT_EQ(ErsteZeileDerHilfe("LANG=en_US.UTF-8"), englisch);
  EXPECT_EQ(ErsteZeileDerHilfe("LANG=C"), englisch);
  EXPECT_EQ(ErsteZeileDerHilfe("LC_ALL=POSIX LANG=de_DE.UTF-8"), englisch);
  EXPECT_EQ(ErsteZeileDerHilfe(""), englisch);
  EXPECT_EQ(ErsteZeileDerHilfe("LANG=de_DE.UTF-8"), deutsch);
  EXPECT_EQ(ErsteZeileDerHilfe("LANGUAGE=fr:de LANG=C"), deutsch);
}

class EnglischeBefehlszeile : public ::testing::Test {
 protected:
  void TearDown() override { DeutschEinrichten(); }
  Kommandozeile tilvendo;
};

TEST_F(EnglischeBefehlszeile, TheReportAndTheListOfAlbumsInEnglishWithTheirNumbers) {
  FotosSchreiben(tilvendo / "fotos", 40);
  VorlageSchreiben(tilvendo / "vorlage.bmp");
  std::filesystem::create_directories(tilvendo / "aus");
  const InSprache englisch("en_US.UTF-8");
  // The messages come from the catalogue; an option is named as it was given.
  const Ergebnis kacheln = tilvendo({"mosaic", "a.jpg", "b.jpg", "--album", "X", "--tiles", "0x5"});
  EXPECT_EQ(kacheln.code, cli::kExitAufruf);
  EXPECT_EQ(kacheln.fehler, "tilvendo: --tiles must lie between 1 and 999.\n");
  const Ergebnis angelegt = tilvendo({"album", "create", "Colours", tilvendo / "fotos"});
  ASSERT_EQ(angelegt.code, 0) << angelegt.fehler;
  EXPECT_TRUE(Enthaelt(angelegt.aus, "Album “Colours” created: 40 pictures in 1 folder."))
      << angelegt.aus;
  const Ergebnis liste = tilvendo({"album", "list"});
  EXPECT_EQ(liste.aus, "Colours\t40 pictures\thard disk (1234-ABCD)\n");

  const std::string plakat = tilvendo / "aus/plakat.png";
  const Ergebnis e =
      tilvendo({"mosaic", tilvendo / "vorlage.bmp", plakat, "--album", "Colours", "--tiles", "12x9",
                "--large-format", "--zoom", "3000", "--dpi", "600", "--report", "--seed", "5"});
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_TRUE(Enthaelt(e.aus, "Tile edge 12.7 mm at 600 dpi")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.aus, "12 x 9 tiles, 108 in total, each 300 x 300 pixels")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.aus, "Mosaic saved: " + plakat + " (3600 x 2700 pixels)")) << e.aus;
  // The exact seconds with the decimal point (the German report's comma is the mosaic
  // command's test's).
  EXPECT_TRUE(
      std::regex_search(e.aus, std::regex(R"(Total time: \d\d min \d\d s \(\d+\.\d{3} s\))")))
      << e.aus;
  EXPECT_TRUE(Enthaelt(e.fehler, "Composing the mosaic ... done (")) << e.fehler;
}

}  // namespace
}  // namespace tilvendo::testing
