#include <gtest/gtest.h>
#include <signal.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

#include "cli/mosaik_befehl.h"
#include "engine/berechnungslauf.h"
#include "engine/platzierungsliste.h"
#include "kommandozeile.h"
#include "pictures/bilder_laden.h"
#include "pictures/speichern.h"
#include "platform/pixel.h"

namespace tilvendo::testing {
namespace {

namespace fs = std::filesystem;

// Every file of the folder, so that no partial or temporary output can hide.
std::vector<std::string> Dateien(const std::string& ordner) {
  std::vector<std::string> namen;
  for (const auto& eintrag : fs::directory_iterator(ordner)) {
    namen.push_back(eintrag.path().filename().string());
  }
  std::sort(namen.begin(), namen.end());
  return namen;
}

// Every file of the folder with its inode and change time: a file written anew, also
// with the same bytes, gets another.
std::map<std::string, std::pair<ino_t, int64_t>> Dateikennungen(const std::string& ordner) {
  std::map<std::string, std::pair<ino_t, int64_t>> kennungen;
  for (const auto& eintrag : fs::directory_iterator(ordner)) {
    struct stat info {};
    ::lstat(eintrag.path().c_str(), &info);
    kennungen[eintrag.path().filename().string()] = {
        info.st_ino, int64_t{info.st_ctim.tv_sec} * 1'000'000'000 + info.st_ctim.tv_nsec};
  }
  return kennungen;
}

// The signature caches in the album folder.
std::vector<std::string> Caches(const std::string& alben) {
  std::vector<std::string> caches;
  for (const auto& eintrag : fs::directory_iterator(alben)) {
    if (eintrag.path().extension() == ".nba") caches.push_back(eintrag.path());
  }
  return caches;
}

class MosaikBefehl : public ::testing::Test {
 protected:
  void SetUp() override {
    FotosSchreiben(tilvendo / "fotos", 40);
    VorlageSchreiben(tilvendo / "vorlage.bmp");
    fs::create_directories(tilvendo / "aus");
    ASSERT_EQ(tilvendo({"album", "anlegen", "Farben", tilvendo / "fotos"}).code, 0);
  }

  std::vector<std::string> Mosaik(const std::string& ausgabe, std::vector<std::string> mehr = {}) {
    std::vector<std::string> argumente = {"mosaik", tilvendo / "vorlage.bmp",
                                          ausgabe,  "--album",
                                          "Farben", "--kacheln",
                                          "6x4",    "--seed",
                                          "5"};
    argumente.insert(argumente.end(), mehr.begin(), mehr.end());
    return argumente;
  }

  Kommandozeile tilvendo;
};

TEST_F(MosaikBefehl, WritesTheMosaicAndTheSecondRunReadsOnlyTheCache) {
  const std::string ausgabe = tilvendo / "aus/mosaik.jpg";
  Ergebnis e = tilvendo(Mosaik(ausgabe, {"--bericht"}));
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_TRUE(Enthaelt(e.fehler, "Einlesen der Bilddateien ... fertig (")) << e.fehler;
  EXPECT_TRUE(Enthaelt(e.aus, "6 x 4 Kacheln, 24 insgesamt, je 20 x 22 Pixel")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.aus, "Mosaik gespeichert: " + ausgabe + " (120 x 88 Pixel)")) << e.aus;
  // The exact seconds with the decimal comma.
  EXPECT_TRUE(std::regex_search(
      e.aus, std::regex(R"(Gesamtdauer: \d\d min. und \d\d sek. \(\d+,\d{3} s\))")))
      << e.aus;
  Bitmap bild;
  ASSERT_TRUE(LoadWholePicture(bild, ausgabe));
  EXPECT_EQ(bild.width(), 120);  // 6 cells of 20 template pixels at 100 %
  EXPECT_EQ(bild.height(), 88);  // 4 cells of 22
  EXPECT_EQ(Dateien(tilvendo / "aus"), std::vector<std::string>{"mosaik.jpg"});

  // The signature cache written by the first run is read, not rebuilt.
  ASSERT_EQ(Caches(tilvendo.alben()).size(), 1u);
  // Nothing in the album folder is written again, not even the same content: a folder
  // that is read-only serves a warm run as well (each write would be a new file).
  const auto albenordner = Dateikennungen(tilvendo.alben());
  // The second mosaic goes where a link leads: the link stays one, its file gets it.
  fs::create_directories(tilvendo / "bilder");
  WriteWholeFile(tilvendo / "bilder/zweite.jpg", "altes Bild");
  fs::create_symlink("../bilder/zweite.jpg", tilvendo / "aus/verweis.jpg");
  e = tilvendo(Mosaik(tilvendo / "aus/verweis.jpg"));
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_TRUE(e.fehler.find("Warnung") == std::string::npos) << e.fehler;
  EXPECT_EQ(Dateikennungen(tilvendo.alben()), albenordner);
  EXPECT_TRUE(fs::is_symlink(tilvendo / "aus/verweis.jpg"));
  EXPECT_EQ(Dateien(tilvendo / "aus"), (std::vector<std::string>{"mosaik.jpg", "verweis.jpg"}));
  EXPECT_EQ(Dateien(tilvendo / "bilder"), std::vector<std::string>{"zweite.jpg"});
  // Same seed, same pictures: the same mosaic.
  EXPECT_EQ(ReadWholeFile(tilvendo / "bilder/zweite.jpg"), ReadWholeFile(ausgabe));
}

TEST_F(MosaikBefehl, PrintsThePosterOnSheetsAsOnePdf) {
  // 120 × 88 pixels at 100 dpi on 40 mm squares: with 4 mm margins 125 pixels a sheet, one
  // sheet; with 6 mm, 110, two side by side (a margin read as the overlap shows).
  const std::string ausgabe = tilvendo / "aus/mosaik.pdf";
  Ergebnis e = tilvendo(Mosaik(ausgabe, {"--dpi", "100", "--sheets", "40x40mm", "--margin", "4",
                                         "--overlap", "6", "--orientation", "landscape"}));
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_TRUE(Enthaelt(e.aus, "(120 x 88 Pixel auf 1 Seite, 1 x 1)")) << e.aus;
  e = tilvendo(Mosaik(ausgabe, {"--dpi", "100", "--seiten", "40x40mm", "--rand", "6",
                                "--ueberlappung", "4", "--ausrichtung", "hoch"}));
  EXPECT_TRUE(Enthaelt(e.aus, "(120 x 88 Pixel auf 2 Seiten, 2 x 1)")) << e.aus;
  EXPECT_EQ(ReadWholeFile(ausgabe).substr(0, 5), "%PDF-");
  EXPECT_EQ(Dateien(tilvendo / "aus"), std::vector<std::string>{"mosaik.pdf"});
}

TEST_F(MosaikBefehl, BadInputEndsWithItsMessageAndLeavesNoFile) {
  WriteWholeFile(tilvendo / "kaputt.jpg", "kein Bild");
  WriteWholeFile(tilvendo / "datei", "x");
  const std::string ausgabe = tilvendo / "aus/m.jpg";
  auto mit = [&](std::string vorlage, std::string ziel, std::vector<std::string> mehr) {
    std::vector<std::string> argumente = {"mosaik", vorlage, ziel, "--kacheln", "6x4"};
    argumente.insert(argumente.end(), mehr.begin(), mehr.end());
    return argumente;
  };
  struct Fall {
    std::vector<std::string> argumente;
    int code;
    std::string meldung;
  };
  // The template under other names: never written over.
  fs::create_directories(tilvendo / "unter");
  fs::create_symlink(tilvendo / "vorlage.bmp", tilvendo / "verweis.bmp");
  fs::create_hard_link(tilvendo / "vorlage.bmp", tilvendo / "zweitname.bmp");
  const std::string vorlage = ReadWholeFile(tilvendo / "vorlage.bmp");
  std::vector<Fall> faelle = {
      {mit(tilvendo / "vorlage.bmp", tilvendo / "unter/../vorlage.bmp", {"--album", "Farben"}), 1,
       "ist die Vorlage selbst; sie wird nicht überschrieben."},
      {mit(tilvendo / "verweis.bmp", tilvendo / "./vorlage.bmp", {"--album", "Farben"}), 1,
       "ist die Vorlage selbst"},
      {mit(tilvendo / "vorlage.bmp", tilvendo / "zweitname.bmp", {"--album", "Farben"}), 1,
       "ist die Vorlage selbst"},
      {mit(tilvendo / "fehlt.bmp", ausgabe, {"--album", "Farben"}), 1,
       cli::MeldungVorlageFehlt(tilvendo / "fehlt.bmp")},
      {mit(tilvendo / "kaputt.jpg", ausgabe, {"--album", "Farben"}), 1,
       cli::MeldungVorlageUnlesbar(tilvendo / "kaputt.jpg")},
      {mit(tilvendo / "vorlage.bmp", ausgabe, {"--album", "Fehlt"}), 1,
       "Das Album „Fehlt“ gibt es nicht."},
      {mit(tilvendo / "vorlage.bmp", tilvendo / "datei/m.jpg", {"--album", "Farben"}), 1,
       "kann nicht geschrieben werden"},
      {mit(tilvendo / "vorlage.bmp", tilvendo / "aus", {"--album", "Farben"}), 2,
       "muss auf .bmp, .jpg oder .jpeg enden"},
      {mit(tilvendo / "vorlage.bmp", ausgabe, {"--album", "Farben", "--groesse", "0x10"}), 2,
       "--groesse muss zwischen 1 und 2500 liegen."},
      {mit(tilvendo / "vorlage.bmp", ausgabe, {"--album", "Farben", "--zoom", "99999"}), 2,
       "--zoom muss zwischen 1 und 65535 liegen."},
      {mit(tilvendo / "vorlage.bmp", ausgabe, {}), 2, "mindestens ein --album"},
      {mit(tilvendo / "vorlage.bmp", tilvendo / "aus/m.pdf",
           {"--album", "Farben", "--dpi", "100", "--rand", "0"}),
       1, "Der Rand muss größer als 0 mm sein."},
  };
  // Print sizes and large format, checked before the run.
  for (const auto& [mehr, code, meldung] : std::vector<Fall>{
           {{"--groesse", "3000x2000"},
            2,
            "Mit --grossformat sind bis 60000 Pixel je Seite möglich."},
           {{"--druck", "80x60cm"}, 2, "--druck braucht die Druckauflösung --dpi N."},
           {{"--druck", "80x60cm", "--dpi", "300", "--zoom", "50"}, 2, "schließen einander aus"},
           {{"--druck", "3x2m", "--dpi", "300"}, 2, "keine Länge"},
           {{"--druck", "2001x10mm", "--dpi", "300"}, 2, "bis 2000 mm"},
           {{"--grossformat", "--groesse", "60000x45000", "--farbtiefe", "32"},
            1,
            "Eine BMP-Datei kann höchstens 4,3 GB groß sein; dieses Bild (60000 x 45000 Pixel) "
            "bräuchte 11 GB."},
           {{"--papier", "fuellen"}, 2, "--papier gilt nur mit --druck."},
           {{"--druck", "100x50mm", "--dpi", "254", "--papier", "rund"},
            2,
            "Unbekannter Wert „rund“ für --papier (erlaubt: fuellen, ganz, strecken)."}}) {
    faelle.push_back({Mosaik(tilvendo / "aus/m.bmp", mehr), code, meldung});
  }
  for (const Fall& fall : faelle) {
    const Ergebnis e = tilvendo(fall.argumente);
    EXPECT_EQ(e.code, fall.code) << fall.meldung;
    EXPECT_TRUE(Enthaelt(e.fehler, fall.meldung)) << e.fehler;
    EXPECT_TRUE(Dateien(tilvendo / "aus").empty()) << fall.meldung;
  }
  EXPECT_EQ(ReadWholeFile(tilvendo / "vorlage.bmp"), vorlage);
}

TEST_F(MosaikBefehl, PhotosGoneSinceReadingAreReportedNotSavedAsBlack) {
  ASSERT_EQ(tilvendo(Mosaik(tilvendo / "aus/erst.jpg")).code, 0);  // the cache is written
  auto foto = [&](int i) { return tilvendo / ("fotos/foto" + std::to_string(i) + ".jpg"); };
  // Photos that were moved away are passed over: others take their cells.
  for (int i = 0; i < 40; i += 2) fs::remove(foto(i));
  Ergebnis e = tilvendo(Mosaik(tilvendo / "aus/ohne.jpg"));
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_FALSE(Enthaelt(e.fehler, "Warnung")) << e.fehler;

  // With no photo left that can be read there is no mosaic, not even a black one: nothing
  // is written, and the exit code says so. The cache is marked: the next run reads the
  // album again and finds nothing to place.
  for (int i = 1; i < 40; i += 2) WriteWholeFile(foto(i), "kaputt");
  e = tilvendo(Mosaik(tilvendo / "aus/leer.jpg"));
  EXPECT_EQ(e.code, 1);
  EXPECT_TRUE(Enthaelt(e.fehler, "Warnung: " + std::string(kUnlesbarWarnung))) << e.fehler;
  EXPECT_EQ(Dateien(tilvendo / "aus"), (std::vector<std::string>{"erst.jpg", "ohne.jpg"}));
  e = tilvendo(Mosaik(tilvendo / "aus/leer.jpg"));
  EXPECT_EQ(e.code, 1);
  EXPECT_TRUE(Enthaelt(e.fehler, "Warnung: " + std::string(kBilderWarnung))) << e.fehler;
  EXPECT_EQ(Dateien(tilvendo / "aus"), (std::vector<std::string>{"erst.jpg", "ohne.jpg"}));
}

// Cells of the placement list, by column and row, with their photo.
std::map<std::pair<int, int>, std::string> Liste(const std::string& pfad) {
  std::map<std::pair<int, int>, std::string> zellen;
  std::istringstream text(ReadWholeFile(pfad));
  std::string zeile;
  std::getline(text, zeile);  // the head
  while (std::getline(text, zeile)) {
    const size_t a = zeile.find(';');
    const size_t b = zeile.find(';', a + 1);
    // The test's paths need no quotes.
    zellen[{std::stoi(zeile.substr(0, a)), std::stoi(zeile.substr(a + 1, b - a - 1))}] =
        zeile.substr(b + 1);
  }
  return zellen;
}

// Photos emptied since their cache was written, as sync tools leave placeholders: the
// command says how many cells took a stand-in, the list names a readable photo in every
// cell and keeps the others' own, and the next run reads the album again and leaves the
// empty files out. What a stand-in cell shows is the band composer's to prove.
TEST_F(MosaikBefehl, PhotosEmptiedSinceTheCacheWasBuiltGiveWayToReadableOnes) {
  const std::string erst = tilvendo / "aus/erst.bmp";
  const std::string erstListe = tilvendo / "aus/erst.csv";
  Ergebnis e = tilvendo(Mosaik(erst, {"--einblenden", "0", "--liste", erstListe}));
  ASSERT_EQ(e.code, 0) << e.fehler;
  const auto vorher = Liste(erstListe);
  ASSERT_EQ(vorher.size(), 24u);
  // Every photo of the top row is emptied.
  std::set<std::string> geleert;
  for (int x = 1; x <= 6; ++x) geleert.insert(vorher.at({x, 1}));
  for (const std::string& foto : geleert) WriteWholeFile(foto, "");
  int betroffen = 0;
  for (const auto& [zelle, foto] : vorher) betroffen += geleert.count(foto) != 0 ? 1 : 0;
  const std::string cache = Caches(tilvendo.alben()).at(0);
  const std::string alterCache = ReadWholeFile(cache);

  const std::string zweite = tilvendo / "aus/zweite.bmp";
  const std::string zweiteListe = tilvendo / "aus/zweite.csv";
  e = tilvendo(Mosaik(zweite, {"--einblenden", "0", "--liste", zweiteListe, "--bericht"}));
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_TRUE(Enthaelt(e.fehler, "Hinweis: " + ErsatzfotosHinweis(betroffen))) << e.fehler;
  EXPECT_FALSE(Enthaelt(e.fehler, "Warnung")) << e.fehler;
  EXPECT_FALSE(Enthaelt(e.aus, "schwarz")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.aus, "Mosaik gespeichert: " + zweite)) << e.aus;
  const auto nachher = Liste(zweiteListe);
  ASSERT_EQ(nachher.size(), 24u);
  for (const auto& [zelle, foto] : vorher) {
    const std::string& jetzt = nachher.at(zelle);
    EXPECT_EQ(geleert.count(jetzt), 0u) << zelle.first << "," << zelle.second << " " << jetzt;
    if (geleert.count(foto) == 0) EXPECT_EQ(jetzt, foto);
  }

  // The cache was marked: the next run reads the album again, leaves the empty files out,
  // and needs no stand-in.
  e = tilvendo(Mosaik(tilvendo / "aus/dritte.bmp", {"--einblenden", "0"}));
  ASSERT_EQ(e.code, 0) << e.fehler;
  const int32_t lesbar = 40 - static_cast<int32_t>(geleert.size());
  EXPECT_TRUE(Enthaelt(e.fehler, "Hinweis: " + AusgelasseneBilderHinweis(lesbar, 40))) << e.fehler;
  EXPECT_FALSE(Enthaelt(e.fehler, "Ersatzfoto")) << e.fehler;
  EXPECT_NE(ReadWholeFile(cache), alterCache);
}

TEST_F(MosaikBefehl, AnAlbumOnARemovedMediumIsNotUsed) {
  FotosSchreiben(tilvendo / "stick", 30);
  tilvendo.medien().klasse = kLaufwerksklasseWechselmedium;
  ASSERT_EQ(tilvendo({"album", "anlegen", "Stick", tilvendo / "stick"}).code, 0);
  tilvendo.medien().kennung = "9999-0000";  // another stick is in the slot
  const Ergebnis e =
      tilvendo({"mosaik", tilvendo / "vorlage.bmp", tilvendo / "aus/m.jpg", "--album", "Stick"});
  EXPECT_EQ(e.code, 1);
  EXPECT_TRUE(Enthaelt(e.fehler, "Bitte legen Sie erst das ensprechende Medium ")) << e.fehler;
  EXPECT_TRUE(Dateien(tilvendo / "aus").empty());
}

TEST_F(MosaikBefehl, EveryPhotoOnceShowsAllPhotosOrRefusesTooManyForTheCells) {
  const std::string ausgabe = tilvendo / "aus/alle.jpg";
  Ergebnis e = tilvendo({"mosaik", tilvendo / "vorlage.bmp", ausgabe, "--album", "Farben",
                         "--kacheln", "8x6", "--seed", "5", "--jedes-foto", "--bericht"});
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_TRUE(Enthaelt(e.aus, "verschiedene Bilder im Mosaik: 40")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.aus, "Zuordnung mit Verwendungsgrenzen: ")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.aus, "Tausche für den Mindestabstand: ")) << e.aus;

  // 24 cells for 40 photos.
  e = tilvendo(Mosaik(tilvendo / "aus/zu_viele.jpg", {"--jedes-foto"}));
  EXPECT_EQ(e.code, 1);
  EXPECT_TRUE(Enthaelt(e.fehler,
                       "Warnung: Zu viele Bilder für „Jedes Foto mindestens einmal“: Ausgewählt "
                       "sind 40 Bilder, das Mosaik hat aber nur 24 Kacheln."))
      << e.fehler;
  EXPECT_EQ(Dateien(tilvendo / "aus"), std::vector<std::string>{"alle.jpg"});

  // With exactly as many photos as cells, "every photo" leaves one use for each, whatever
  // cap allows more: every photo once, no repetition to mend.
  e = tilvendo({"mosaik", tilvendo / "vorlage.bmp", tilvendo / "aus/m.jpg", "--album", "Farben",
                "--kacheln", "5x8", "--seed", "5", "--jedes-foto", "--max-verwendungen", "2",
                "--bericht"});
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_TRUE(Enthaelt(e.aus, "5 x 8 Kacheln, 40 insgesamt")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.aus, "verschiedene Bilder im Mosaik: 40")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.aus, "Tausche für den Mindestabstand: 0\n")) << e.aus;
}

// 40 photos at most twice each on 80 cells: every photo must be used twice, and no
// exchange is left for a distance of 5. The distance gives way until it holds, and the
// note says to what; the mosaic keeps it everywhere.
TEST_F(MosaikBefehl, TightUsageLimitsLowerTheDistanceWithANoteAndTheMosaicKeepsIt) {
  const std::string liste = tilvendo / "aus/liste.csv";
  const Ergebnis e =
      tilvendo({"mosaik", tilvendo / "vorlage.bmp", tilvendo / "aus/m.jpg", "--album", "Farben",
                "--kacheln", "10x8", "--seed", "5", "--max-verwendungen", "2", "--mindestabstand",
                "5", "--muster", "ignorieren", "--liste", liste, "--bericht"});
  ASSERT_EQ(e.code, 0) << e.fehler;
  const std::string vorne = "Hinweis: Der Mindestabstand wurde auf ";
  const size_t hinweis = e.fehler.find(vorne);
  ASSERT_NE(hinweis, std::string::npos) << e.fehler;
  const int abstand = std::stoi(e.fehler.substr(hinweis + vorne.size()));
  EXPECT_LT(abstand, 5);
  EXPECT_TRUE(Enthaelt(e.fehler, AbstandGesenktHinweis(abstand))) << e.fehler;
  EXPECT_FALSE(Enthaelt(e.aus, "zu nah")) << e.aus;
  // Every pair of equal photos keeps the distance named, and it was lowered no further
  // than it had to be: the closest pair is just beyond it.
  int naechstes = std::numeric_limits<int>::max();
  std::map<std::string, std::vector<std::pair<int, int>>> orteDerFotos;
  for (const auto& [zelle, foto] : Liste(liste)) orteDerFotos[foto].push_back(zelle);
  for (const auto& [foto, orte] : orteDerFotos) {
    EXPECT_EQ(orte.size(), 2u) << foto;
    for (size_t a = 0; a < orte.size(); ++a) {
      for (size_t b = a + 1; b < orte.size(); ++b) {
        const int weite = std::max(std::abs(orte[a].first - orte[b].first),
                                   std::abs(orte[a].second - orte[b].second));
        EXPECT_GT(weite, abstand) << foto;
        naechstes = std::min(naechstes, weite);
      }
    }
  }
  EXPECT_EQ(naechstes, abstand + 1);
}

// A mosaic or a list never replaces the user's own files: the photos of the albums used
// (by their name, through a link or as a hard link), the template, the album files, or a
// file that is no older list. Refused before the run, with nothing written.
TEST_F(MosaikBefehl, NeverWritesOverThePhotosTheTemplateOrTheAlbumFiles) {
  const std::string foto = tilvendo / "fotos/foto3.jpg";
  fs::create_symlink(foto, tilvendo / "aus/verweis.jpg");
  fs::create_hard_link(tilvendo / "fotos/foto4.jpg", tilvendo / "aus/hart.jpg");
  WriteWholeFile(tilvendo / "aus/notiz.csv", "meine Notizen\n");
  const std::string katalog = tilvendo.alben() + "/Alben.nbx";
  const std::string vorlage = tilvendo / "vorlage.bmp";
  std::map<std::string, std::string> geschuetzt;
  for (const std::string& datei :
       {foto, tilvendo / "fotos/foto4.jpg", katalog, vorlage, tilvendo / "aus/notiz.csv"}) {
    geschuetzt[datei] = ReadWholeFile(datei);
  }
  const auto vorher = Dateien(tilvendo / "aus");

  struct Fall {
    std::string ausgabe;
    std::optional<std::string> liste;
    std::string meldung;
  };
  const std::string m = tilvendo / "aus/m.jpg";
  const std::vector<Fall> faelle = {
      {foto, {}, "„" + foto + "“ ist ein Foto des Albums „Farben“; es wird nicht überschrieben."},
      {tilvendo / "aus/verweis.jpg", {}, "ist ein Foto des Albums „Farben“"},
      {tilvendo / "aus/hart.jpg", {}, "ist ein Foto des Albums „Farben“"},
      {tilvendo.alben() + "/neu.jpg", {}, "liegt im Ordner der Alben"},
      {m, vorlage, "ist die Vorlage selbst"},
      {m, katalog, "liegt im Ordner der Alben"},
      {m, foto, "ist ein Foto des Albums „Farben“"},
      {m, tilvendo / "aus/notiz.csv", "ist keine Platzierungsliste"},
      {m, m, "können nicht in dieselbe Datei"},
  };
  for (const Fall& fall : faelle) {
    std::vector<std::string> mehr;
    if (fall.liste) mehr = {"--liste", *fall.liste};
    const Ergebnis e = tilvendo(Mosaik(fall.ausgabe, mehr));
    EXPECT_EQ(e.code, 1) << fall.meldung;
    EXPECT_TRUE(Enthaelt(e.fehler, fall.meldung)) << e.fehler;
    EXPECT_FALSE(Enthaelt(e.fehler, "Einlesen")) << e.fehler;  // before the run
  }
  for (const auto& [datei, inhalt] : geschuetzt) EXPECT_EQ(ReadWholeFile(datei), inhalt) << datei;
  EXPECT_TRUE(fs::is_symlink(tilvendo / "aus/verweis.jpg"));
  EXPECT_EQ(Dateien(tilvendo / "aus"), vorher);
  EXPECT_EQ(Dateien(tilvendo.alben()), (std::vector<std::string>{"Alben.nbx", "Album 1.nbd"}));

  // A list of this program, also one of an earlier version, is replaced.
  WriteWholeFile(tilvendo / "aus/alt.csv", "Spalte,Zeile,Foto\r\n1,1,/x.jpg\r\n");
  const Ergebnis e = tilvendo(Mosaik(m, {"--liste", tilvendo / "aus/alt.csv"}));
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_TRUE(
      ReadWholeFile(tilvendo / "aus/alt.csv").starts_with("\xEF\xBB\xBFSpalte;Zeile;Foto\n"));
}

// A device node of our own (the "full" device), made where the test may make one.
bool GeraetAnlegen(const std::string& pfad) {
  constexpr unsigned kSpeicherGeraete = 1;
  constexpr unsigned kVoll = 7;
  return ::mknod(pfad.c_str(), S_IFCHR | 0666, makedev(kSpeicherGeraete, kVoll)) == 0;
}

// Only a regular file is ever replaced: a pipe or a device where the mosaic or the list
// would go (or where a link there leads) is refused and stays as it was.
TEST_F(MosaikBefehl, APipeOrADeviceInTheOutputsPlaceIsRefusedAndStaysOne) {
  ASSERT_EQ(::mkfifo((tilvendo / "aus/rohr").c_str(), 0600), 0);
  fs::create_symlink("rohr", tilvendo / "aus/rohr.jpg");
  ASSERT_EQ(::mkfifo((tilvendo / "aus/rohr.bmp").c_str(), 0600), 0);
  for (const auto& [ausgabe, liste] : std::vector<std::pair<std::string, std::string>>{
           {tilvendo / "aus/rohr.jpg", ""},
           {tilvendo / "aus/rohr.bmp", ""},
           {tilvendo / "aus/m.jpg", tilvendo / "aus/rohr"}}) {
    const Ergebnis e =
        tilvendo(Mosaik(ausgabe, liste.empty() ? std::vector<std::string>{}
                                               : std::vector<std::string>{"--liste", liste}));
    EXPECT_EQ(e.code, 1);
    EXPECT_TRUE(Enthaelt(e.fehler, "ist keine Datei, sondern eine Pipe")) << e.fehler;
  }
  EXPECT_TRUE(fs::is_fifo(tilvendo / "aus/rohr"));
  EXPECT_TRUE(fs::is_fifo(tilvendo / "aus/rohr.bmp"));
  EXPECT_EQ(Dateien(tilvendo / "aus"), (std::vector<std::string>{"rohr", "rohr.bmp", "rohr.jpg"}));

  if (!GeraetAnlegen(tilvendo / "aus/voll")) {
    GTEST_SKIP() << "Gerätedateien kann nur root anlegen (mknod: " << std::strerror(errno) << ")";
  }
  fs::create_symlink("voll", tilvendo / "aus/x.jpg");
  const Ergebnis e = tilvendo(Mosaik(tilvendo / "aus/x.jpg"));
  EXPECT_EQ(e.code, 1);
  EXPECT_TRUE(Enthaelt(e.fehler, "ist keine Datei, sondern ein Gerät")) << e.fehler;
  EXPECT_TRUE(fs::is_character_file(tilvendo / "aus/voll"));
}

// The program's own files are never written through a link planted in the album folder:
// the link is replaced by the file, and what it led to stays as it was.
TEST_F(MosaikBefehl, AlbumFilesThatAreLinksAreReplacedNeverWrittenThrough) {
  ASSERT_EQ(tilvendo(Mosaik(tilvendo / "aus/m.jpg")).code, 0);
  ASSERT_EQ(Caches(tilvendo.alben()).size(), 1u);
  const std::string cache = Caches(tilvendo.alben())[0];
  const std::string katalog = tilvendo.alben() + "/Alben.nbx";
  WriteWholeFile(tilvendo / "notizen.txt", "meine Notizen\n");
  WriteWholeFile(tilvendo / "katalog.txt", ReadWholeFile(katalog));
  const std::string katalogKopie = ReadWholeFile(tilvendo / "katalog.txt");
  fs::remove(cache);
  fs::create_symlink(tilvendo / "notizen.txt", cache);
  fs::remove(katalog);
  fs::create_symlink(tilvendo / "katalog.txt", katalog);

  // The cache does not match what it leads to: it is built anew, and the album saved.
  const Ergebnis e = tilvendo(Mosaik(tilvendo / "aus/m.jpg"));
  ASSERT_EQ(e.code, 0) << e.fehler;
  EXPECT_EQ(ReadWholeFile(tilvendo / "notizen.txt"), "meine Notizen\n");
  EXPECT_EQ(ReadWholeFile(tilvendo / "katalog.txt"), katalogKopie);
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(cache)));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(katalog)));
  EXPECT_TRUE(Enthaelt(ReadWholeFile(katalog), "[Farben]"));
}

// Presses Ctrl+C once, at the first progress report of the run or, with `phase`, once
// that phase has begun.
class DrueckterStrgC : public cli::TerminalBenutzer {
 public:
  DrueckterStrgC(std::ostream& fehler, std::string phase = "")
      : TerminalBenutzer(fehler, false), phase_(std::move(phase)), begonnen_(phase_.empty()) {}
  void FortschrittsZeilen(const std::vector<std::string>& zeilen) override {
    TerminalBenutzer::FortschrittsZeilen(zeilen);
    begonnen_ = begonnen_ || (!zeilen.empty() && zeilen.back() == phase_);
  }
  void EreignisseVerarbeiten() override {
    if (begonnen_ && !gedrueckt_) ::raise(SIGINT);
    gedrueckt_ = gedrueckt_ || begonnen_;
  }

 private:
  std::string phase_;
  bool begonnen_;
  bool gedrueckt_ = false;
};

TEST_F(MosaikBefehl, CtrlCCancelsTheRunWithExitCode130AndNoFile) {
  std::ostringstream fehler;
  DrueckterStrgC benutzer(fehler);
  const Ergebnis e =
      tilvendo.Mit(benutzer, fehler, Mosaik(tilvendo / "aus/m.jpg"), /*signaleAbfangen=*/true);
  EXPECT_EQ(e.code, 130);
  EXPECT_TRUE(Enthaelt(e.fehler, "Abgebrochen")) << e.fehler;
  EXPECT_TRUE(Dateien(tilvendo / "aus").empty());

  // The cache of the cancelled run is not taken for complete: the next run works.
  EXPECT_EQ(tilvendo(Mosaik(tilvendo / "aus/m.jpg")).code, 0);
}

// A poster beyond 2500 pixels, with its tile edge on paper, its list of photos and the
// progress of composing and writing.
TEST_F(MosaikBefehl, APosterWithItsTileEdgeOnPaperAndItsListOfPhotos) {
  const std::string plakat = tilvendo / "aus/plakat.png";
  const std::string liste = tilvendo / "aus/liste.csv";
  const Ergebnis e = tilvendo({"mosaik", tilvendo / "vorlage.bmp", plakat, "--album", "Farben",
                               "--kacheln", "12x9", "--grossformat", "--zoom", "3000", "--dpi",
                               "600", "--bericht", "--liste", liste, "--seed", "5"});
  ASSERT_EQ(e.code, 0) << e.fehler;
  // Cells of 10 × 10 template pixels at 3000 %: tiles of 300 pixels, 12,7 mm at 600 dpi.
  EXPECT_TRUE(Enthaelt(e.aus, "Kachelkante 12,7 mm bei 600 dpi")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.aus, "Spitzenspeicher: ")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.aus, "Mosaik gespeichert: " + plakat + " (3600 x 2700 Pixel)")) << e.aus;
  EXPECT_TRUE(Enthaelt(e.fehler, "Zusammenstellen des Mosaiks ... fertig (")) << e.fehler;
  Bitmap bild;
  ASSERT_TRUE(LoadWholePicture(bild, plakat));
  EXPECT_EQ(bild.width(), 3600);
  EXPECT_EQ(bild.height(), 2700);
  const std::string text = ReadWholeFile(liste);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 12 * 9);
  EXPECT_TRUE(text.starts_with("\xEF\xBB\xBFSpalte;Zeile;Foto\n1;1;" + tilvendo / "fotos/foto"))
      << text;
  EXPECT_EQ(Dateien(tilvendo / "aus"), (std::vector<std::string>{"liste.csv", "plakat.png"}));
}

// Sizes on paper and small sizes, as the file says them: the print size in centimetres
// at a resolution (30 × 22.5 cm at 254 dpi are 3000 × 2250 pixels; 4 tiles of 562
// down); the 4:3 template on paper of 2:1 cut to the paper, whole with a margin, or
// stretched as chosen, never stretched unless asked to; whole tiles that fall short of
// the paper (150 tiles of 6 pixels are 900 of the 1000 that 100 mm take at 254 dpi) with
// the file's resolution, across and down each its own, printing them at the paper's size
// or at the whole template's inside it, within 1 mm; small sizes that keep their size and
// shape while the tiling gives way, so that no tile is narrower or lower than 4 pixels;
// an explicit size of whole tiles kept as it is (300 × 100 of a 120 × 90 template). Each
// in the depth of the wizard's first save; the ending in capitals still says BMP. (Each
// depth with a zoom is pinned to the byte by GespeicherteBilder.)
TEST_F(MosaikBefehl, PrintSizesAndSmallSizesGiveTheFileTheirPixelsAndResolution) {
  const auto wort32 = [](const std::string& bytes, size_t stelle) {
    uint32_t wert = 0;
    for (size_t i = 0; i < 4; ++i) {
      wert |= static_cast<uint32_t>(static_cast<uint8_t>(bytes.at(stelle + i))) << (8 * i);
    }
    return wert;
  };
  struct Fall {
    std::vector<std::string> mehr;
    Size mosaik;
    std::string hinweis;
    double breiteMm = 0, hoeheMm = 0;
  };
  const std::string verringert = " verringert, damit jede Kachel mindestens 4 Pixel breit bleibt.";
  const std::vector<Fall> faelle = {
      {{"--groesse", "300x100"}, Size{300, 100}, "Mosaik"},
      {{"--grossformat", "--druck", "30x22,5cm", "--dpi", "254"},
       Size{3000, 2248},
       "Druckgröße 30 × 22,5 cm, das ganze Papier."},
      {{"--druck", "100x50mm", "--dpi", "254", "--papier", "füllen"},
       Size{996, 500},
       "Die Vorlage wird auf die Form des Papiers zugeschnitten: 120 × 60 von 120 × 90 Pixel, "
       "oben und unten je 15 Pixel weg."},
      {{"--druck", "100x50mm", "--dpi", "254"},
       Size{666, 500},
       "Druckgröße 6,7 × 5 cm auf 10 × 5 cm: Rand links und rechts je 1,7 cm."},
      {{"--druck", "100x50mm", "--dpi", "254", "--papier", "strecken"},
       Size{996, 500},
       "Druckgröße 10 × 5 cm, das ganze Papier."},
      {{"--druck", "100x50mm", "--dpi", "254", "--papier", "fuellen", "--kacheln", "150x75"},
       Size{900, 450},
       "zugeschnitten",
       100.0,
       50.0},
      {{"--druck", "100x50mm", "--dpi", "254", "--papier", "ganz", "--kacheln", "150x75"},
       Size{600, 450},
       "Rand",
       66.6,
       50.0},
      {{"--groesse", "118x118", "--kacheln", "40x30"},
       Size{116, 116},
       "Die Kachelung wurde auf 29 x 29" + verringert},
      {{"--druck", "100x75mm", "--dpi", "72", "--kacheln", "80x60"},
       Size{280, 212},
       "Die Kachelung wurde auf 70 x 53" + verringert},
  };
  ASSERT_EQ(BmpTiefe(kStandardFarbtiefe), PixelFormat::k32);
  for (const Fall& fall : faelle) {
    const Ergebnis e = tilvendo(Mosaik(tilvendo / "aus/m.BMP", fall.mehr));
    ASSERT_EQ(e.code, 0) << e.fehler;
    EXPECT_TRUE(Enthaelt(e.fehler + e.aus, fall.hinweis)) << e.fehler;
    EXPECT_EQ(Enthaelt(e.fehler, "zugeschnitten"), Enthaelt(fall.hinweis, "zugeschnitten"))
        << e.fehler;
    const std::string datei = ReadWholeFile(tilvendo / "aus/m.BMP");
    ASSERT_EQ(datei.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<int32_t>(wort32(datei, 18)), fall.mosaik.width) << fall.hinweis;
    EXPECT_EQ(static_cast<int32_t>(wort32(datei, 22)), fall.mosaik.height) << fall.hinweis;
    EXPECT_EQ(wort32(datei, 28) & 0xFFFF, 32u) << fall.hinweis;  // bits a pixel
    if (fall.breiteMm == 0) continue;
    // Pixels per metre across and down.
    EXPECT_NEAR(1000.0 * fall.mosaik.width / wort32(datei, 38), fall.breiteMm, 1.0);
    EXPECT_NEAR(1000.0 * fall.mosaik.height / wort32(datei, 42), fall.hoeheMm, 1.0);
  }
}

TEST_F(MosaikBefehl, CtrlCWhileAPosterIsWrittenLeavesTheOldFileAndNoTemporary) {
  WriteWholeFile(tilvendo / "aus/plakat.jpg", "das alte Bild");
  std::ostringstream fehler;
  DrueckterStrgC benutzer(fehler, "Zusammenstellen des Mosaiks ...");
  const Ergebnis e =
      tilvendo.Mit(benutzer, fehler,
                   Mosaik(tilvendo / "aus/plakat.jpg", {"--grossformat", "--groesse", "3000x2200"}),
                   /*signaleAbfangen=*/true);
  EXPECT_EQ(e.code, 130);
  EXPECT_TRUE(Enthaelt(e.fehler, "Abgebrochen; es wurde nichts gespeichert.")) << e.fehler;
  EXPECT_EQ(ReadWholeFile(tilvendo / "aus/plakat.jpg"), "das alte Bild");
  EXPECT_EQ(Dateien(tilvendo / "aus"), std::vector<std::string>{"plakat.jpg"});
}

}  // namespace
}  // namespace tilvendo::testing
