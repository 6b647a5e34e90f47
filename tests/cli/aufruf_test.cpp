#include "cli/aufruf.h"

#include <gtest/gtest.h>

namespace tilvendo::cli {
namespace {

Aufruf Lesen(std::vector<std::string> argumente) {
  return AufrufLesen(argumente);
}

TEST(AufrufLesen, ReadsTheMosaicOptionsInBothSpellings) {
  const Aufruf a =
      Lesen({"mosaik",          "v.jpg",     "m.bmp",        "--album",     "Urlaub",
             "--album=Familie", "--kacheln", "40X30",        "--zoom=150",  "--methode",
             "Gründlich",       "--muster",  "abschwaechen", "--farbtiefe", "16",
             "--einblenden",    "0",         "--seed",       "7",           "--bericht",
             "--alben-pfad",    "/a"});
  EXPECT_EQ(a.befehl, Befehl::Mosaik);
  EXPECT_EQ(a.albenPfad, "/a");
  EXPECT_EQ(a.mosaik.alben, (std::vector<std::string>{"Urlaub", "Familie"}));
  EXPECT_EQ(a.mosaik.kacheln->a, 40);
  EXPECT_EQ(a.mosaik.kacheln->b, 30);
  EXPECT_EQ(a.mosaik.zoom, 150);
  EXPECT_EQ(a.mosaik.methode, 2);
  EXPECT_EQ(a.mosaik.muster, 2);
  EXPECT_EQ(a.mosaik.farbtiefe, 16);
  EXPECT_EQ(a.mosaik.vorlagenAnteil, 0);
  EXPECT_EQ(a.mosaik.seed, 7u);
  EXPECT_TRUE(a.mosaik.bericht);
  EXPECT_FALSE(a.mosaik.protokoll);
  EXPECT_TRUE(a.mosaik.verfahren.Aufrichten);
  EXPECT_EQ(CacheVariante(a.mosaik.verfahren), "a");

  const Aufruf b = Lesen({"mosaik", "v.jpg", "m.bmp", "--album", "U", "--ohne-drehung", "--schnell",
                          "--wahrnehmung", "--zuschneiden", "--farbangleich=35",
                          "--max-verwendungen", "4", "--jedes-foto"});
  EXPECT_EQ(CacheVariante(b.mosaik.verfahren), "swz");
  EXPECT_EQ(b.mosaik.verfahren.Farbangleich, 35);
  EXPECT_EQ(b.mosaik.verfahren.MaxVerwendungen, 4);
  EXPECT_TRUE(b.mosaik.verfahren.JedesFoto);
  EXPECT_FALSE(a.mosaik.verfahren.JedesFoto);
  EXPECT_THROW(Lesen({"mosaik", "v.jpg", "m.jpg", "--album", "A", "--jedes-foto=1"}), Aufruffehler);
}

TEST(AufrufLesen, ReadsPosterOptionsWithPrintSizesInAnyUnit) {
  const auto druck = [](const std::string& text) {
    return *Lesen({"mosaik", "v.jpg", "m.tif", "--album", "U", "--druck", text, "--dpi", "300"})
                .mosaik.druck;
  };
  EXPECT_DOUBLE_EQ(druck("59,4x84,1cm").breite, 594.0);
  EXPECT_DOUBLE_EQ(druck("59,4x84,1cm").hoehe, 841.0);
  EXPECT_DOUBLE_EQ(druck("24x36in").breite, 609.6);
  EXPECT_DOUBLE_EQ(druck("841X1189MM").hoehe, 1189.0);
  EXPECT_DOUBLE_EQ(druck("100.5x70").breite, 100.5);  // millimetres without a unit

  const Aufruf a = Lesen({"mosaik", "v.jpg", "m.TIFF", "--album", "U", "--groesse", "20000x15000",
                          "--großformat", "--liste", "l.csv", "--dpi=300"});
  EXPECT_TRUE(a.mosaik.grossformat);
  EXPECT_EQ(a.mosaik.groesse->a, 20000);
  EXPECT_EQ(a.mosaik.groesse->b, 15000);
  EXPECT_EQ(a.mosaik.dpi, 300);
  EXPECT_EQ(a.mosaik.liste, "l.csv");
  EXPECT_EQ(AusgabeFormat("m.TIFF"), Ausgabeformat::Tiff);
  EXPECT_EQ(AusgabeFormat("m.tif"), Ausgabeformat::Tiff);
  EXPECT_EQ(AusgabeFormat("m.png"), Ausgabeformat::Png);
  EXPECT_EQ(AusgabeFormat("m.webp"), Ausgabeformat::Unbekannt);

  for (const std::vector<std::string>& falsch : std::vector<std::vector<std::string>>{
           {"--groesse", "2501x10"},
           {"--grossformat", "--groesse", "60001x10"},
           {"--druck", "10x10cm"},
           {"--druck", "10x", "--dpi", "300"},
           {"--druck", "1,2,3x4", "--dpi", "300"},
           {"--druck", "0x10", "--dpi", "300"},
           {"--druck", "10x10", "--dpi", "0"},
           {"--druck", "10x10", "--dpi", "10000"},
           {"--druck", "10x10", "--dpi", "300", "--groesse", "10x10"},
           {"--liste="},
           {"--qualitaet", "80", "--grossformat"},  // m.png: no quality
       }) {
    std::vector<std::string> argumente = {"mosaik", "v.jpg", "m.png", "--album", "U"};
    argumente.insert(argumente.end(), falsch.begin(), falsch.end());
    EXPECT_THROW(AufrufLesen(argumente), Aufruffehler) << falsch.front();
  }
}

TEST(AufrufLesen, ReadsTheAlbumCommands) {
  Aufruf a = Lesen({"album", "anlegen", "Urlaub", "/x", "/y", "--ohne-unterordner"});
  EXPECT_EQ(a.befehl, Befehl::AlbumAnlegen);
  EXPECT_EQ(a.namen, (std::vector<std::string>{"Urlaub"}));
  EXPECT_EQ(a.ordner, (std::vector<std::string>{"/x", "/y"}));
  EXPECT_TRUE(a.ohneUnterordner);
  EXPECT_EQ(Lesen({"album", "umbenennen", "A", "B"}).namen, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(Lesen({"album", "löschen", "A"}).befehl, Befehl::AlbumLoeschen);
  // A name that looks like an option, after "--".
  EXPECT_EQ(Lesen({"album", "zeigen", "--", "-x"}).namen, (std::vector<std::string>{"-x"}));
  EXPECT_EQ(Lesen({}).befehl, Befehl::OhneBefehl);
  EXPECT_EQ(Lesen({"album", "wiederherstellen", "Album 3"}).namen,
            (std::vector<std::string>{"Album 3", "Album 3"}));
  EXPECT_EQ(Lesen({"album", "wiederherstellen", "Album 3", "Urlaub"}).namen,
            (std::vector<std::string>{"Album 3", "Urlaub"}));
  EXPECT_EQ(Lesen({"album", "liste", "--help"}).befehl, Befehl::Hilfe);
}

TEST(AufrufLesen, RefusesWrongUseWithAMessage) {
  const std::vector<std::vector<std::string>> falsch = {
      {"malen"},
      {"album"},
      {"album", "anlegen", "NurName"},
      {"album", "liste", "zuviel"},
      {"album", "zeigen", "A", "--zoom", "5"},
      {"album", "liste", "--ohne-unterordner"},
      {"mosaik", "v.jpg"},
      {"mosaik", "v.jpg", "m.jpg"},  // no album
      {"mosaik", "v.jpg", "m.webp", "--album", "A"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--farbe", "rot"},
      {"mosaik", "v.jpg", "m.jpg", "--album"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--kacheln", "0x5"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--kacheln", "1000x5"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--kacheln", "40"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--zoom", "0"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--zoom", "12abc"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--zoom", "99999999999999999999"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--groesse", "3000x100"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--zoom", "50", "--groesse", "50x50"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--formanalyse", "4"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--methode", "langsam"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--mindestabstand", "-1"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--einblenden", "33"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--einblenden", "105"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--farbtiefe", "8"},
      {"mosaik", "v.jpg", "m.bmp", "--album", "A", "--qualitaet", "80"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--ohne-namen"},
      {"mosaik", "v.jpg", "m.html", "--album", "A", "--farbtiefe", "24"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--qualitaet", "101"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--bericht=ja"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--farbangleich", "101"},
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--max-verwendungen", "-2"},
      {"mosaik", "v.jpg", "m.pdf", "--album", "A"},  // sheets without --dpi
      {"mosaik", "v.jpg", "m.jpg", "--album", "A", "--seiten", "A4"},
      {"mosaik", "v.jpg", "m.pdf", "--album", "A", "--dpi", "200", "--seiten", "B5"},
      {"mosaik", "v.jpg", "m.pdf", "--album", "A", "--dpi", "200", "--seiten", "2001x300"},
      {"mosaik", "v.jpg", "m.pdf", "--album", "A", "--dpi", "200", "--rand", "-1"},
      {"mosaik", "v.jpg", "m.pdf", "--album", "A", "--dpi", "200", "--ausrichtung", "schief"},
      {"mosaik", "v.jpg", "m.pdf", "--album", "A", "--dpi", "200", "--farbtiefe", "8"},
      {"--alben-pfad="},
  };
  for (const auto& argumente : falsch) {
    std::string zeile;
    for (const auto& a : argumente) zeile += a + " ";
    try {
      AufrufLesen(argumente);
      ADD_FAILURE() << "accepted: " << zeile;
    } catch (const Aufruffehler& fehler) {
      EXPECT_FALSE(std::string(fehler.what()).empty()) << zeile;
    }
  }
}

// A web page is chosen by its extension, takes a quality for its tiles and may leave the
// names out.
TEST(Aufruf, AnHtmlOutputIsAWebPage) {
  EXPECT_EQ(AusgabeFormat("a/b.HTML"), Ausgabeformat::Webseite);
  EXPECT_EQ(AusgabeFormat("b.htm"), Ausgabeformat::Webseite);
  EXPECT_EQ(AusgabeFormat("b.html.txt"), Ausgabeformat::Unbekannt);
  const Aufruf a =
      AufrufLesen({"mosaic", "v.jpg", "m.html", "--album", "A", "--no-names", "--quality", "70"});
  EXPECT_TRUE(a.mosaik.ohneNamen);
  EXPECT_EQ(a.mosaik.qualitaet, 70);
  EXPECT_FALSE(AufrufLesen({"mosaik", "v.jpg", "m.html", "--album", "A"}).mosaik.ohneNamen);
}

}  // namespace
}  // namespace tilvendo::cli
