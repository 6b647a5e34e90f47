#include "engine/bilder_einlesen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "albums/alben_helfer.h"
#include "albums/alben_operationen.h"
#include "albums/alben_sperre.h"
#include "albums/alben_zustand.h"
#include "albums/album_bearbeitung.h"
#include "albums/katalog.h"
#include "albums/signaturdatei.h"
#include "engine/bilder_suchen.h"
#include "engine/bilderprotokoll.h"
#include "engine/signatur.h"
#include "engine/wahrnehmung.h"
#include "pictures/ausrichtung.h"
#include "platform/paths.h"
#include "platform/pixel.h"
#include "platform/profile_file.h"
#include "support/bild_dateien.h"
#include "support/formate_testbilder.h"
#include "support/fremde_sperre.h"
#include "support/temp_folder.h"
#include "support/test_benutzer.h"

namespace tilvendo {
namespace {

namespace fs = std::filesystem;
using testing::Einfarbig;
using testing::TempFolder;
using testing::TestBenutzer;
using testing::WriteTestBmp;
using testing::WriteTestJpeg;

constexpr const char* kAlbumName = "Testalbum";
constexpr int kJpegAnzahl = 20;
constexpr int kBmpAnzahl = 6;
// Readable pictures: the JPEGs, the BMPs, "B.JPG", "c.jpeg" and two in the subfolder.
constexpr size_t kLesbar = kJpegAnzahl + kBmpAnzahl + 4;
// Listed files: the readable ones and "kaputt.jpg".
constexpr int32_t kGelistet = static_cast<int32_t>(kLesbar) + 1;

Farbe BmpFarbe(int k) {
  return Farbe{static_cast<uint8_t>(30 * k), static_cast<uint8_t>(200 - 20 * k),
               static_cast<uint8_t>(10 + k)};
}

std::string Nummeriert(const std::string& vor, int k, const std::string& endung) {
  std::string zahl = std::to_string(k);
  if (zahl.size() < 2) zahl.insert(0, "0");
  return vor + zahl + endung;
}

class BilderEinlesenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bilder_ = ordner_ / "bilder/";
    unter_ = bilder_ + "unter/";
    ASSERT_TRUE(CreateFolders(unter_));
    ASSERT_TRUE(CreateFolders(ordner_ / "alben/"));
    for (int k = 1; k <= kJpegAnzahl; ++k) {
      WriteTestJpeg(
          bilder_ + Nummeriert("a", k, ".jpg"),
          Einfarbig(16, 12,
                    Farbe{static_cast<uint8_t>(12 * k), 90, static_cast<uint8_t>(250 - 12 * k)}));
    }
    for (int k = 1; k <= kBmpAnzahl; ++k) {
      WriteTestBmp(bilder_ + Nummeriert("d", k, ".bmp"), Einfarbig(20, 20, BmpFarbe(k)));
    }
    // Left half red, right half blue: tells column bands from row bands.
    Bitmap geteilt = Einfarbig(40, 20, Farbe{0, 0, 255});
    for (int y = 0; y < 20; ++y) {
      for (int x = 20; x < 40; ++x) WritePixel(geteilt, x, y, Farbe{255, 0, 0});
    }
    WriteTestJpeg(bilder_ + "B.JPG", Einfarbig(8, 8, Farbe{1, 2, 3}));
    WriteTestJpeg(bilder_ + "c.jpeg", Einfarbig(8, 8, Farbe{4, 5, 6}));
    WriteTestJpeg(bilder_ + ".versteckt.jpg", Einfarbig(8, 8, Farbe{7, 8, 9}));
    testing::WriteWholeFile(bilder_ + "kaputt.jpg", "kein JPEG");
    testing::WriteWholeFile(bilder_ + "notiz.txt", "nichts");
    ASSERT_TRUE(CreateFolders(bilder_ + "ordner.jpg/"));
    WriteTestBmp(unter_ + "e1.bmp", geteilt);
    WriteTestJpeg(unter_ + "e2.jpg", Einfarbig(8, 8, Farbe{40, 50, 60}));

    auftrag_.AlbenPfad = ordner_ / "alben/";
    auftrag_.Arbeitspfad = ordner_.path();
    // The caches of the original way, whose names and records are those of earlier
    // versions.
    auftrag_.einstellungen.verfahren.Aufrichten = false;
    albenliste_.resize(kErstesGewaehltesAlbum);
    albenliste_[kAlleAlbenPosition].Name = kAlleAlbenName;
    albenliste_[kGewaehlteAlbenPosition].Name = kGewaehlteAlbenName;
    TGalerieGlobal album;
    album.Name = kAlbumName;
    album.Dateiname = "Album 1";
    album.Verzeichnisse = {bilder_};
    album.AlleVerzeichnisse = {bilder_, unter_};
    album.AlleVerzeichnisseVorhanden = true;
    album.Anzahl.gesamt = kGelistet;
    AlbumSpeichern(Kontext(), album);
    albenliste_.push_back(album);
    auftrag_.BilderAnzahl.gesamt = kGelistet;
  }

  AlbenKontext Kontext() const { return AlbenKontext{auftrag_.AlbenPfad}; }
  TGalerieGlobal& Album() { return albenliste_[kErstesGewaehltesAlbum]; }
  std::string Cache() const { return auftrag_.AlbenPfad + "Album 1 5.nba"; }
  std::string Liste() const { return auftrag_.AlbenPfad + "Album 1.nbf"; }

  int32_t CacheZustand() const {
    return ProfileFile::Load(Kontext().Katalog()).ReadInteger(kAlbumName, "Ak5", 1);
  }

  void Lesen(unsigned arbeiter = 2) {
    Fortschritt fortschritt(auftrag_, benutzer_);
    fortschritt.PhaseAnzeigen(1, kGelistet);
    BilderEinlesen(auftrag_, albenliste_, fortschritt, benutzer_, EinleseOptionen{arbeiter});
    position_ = fortschritt.Position();
  }

  // The signatures in picture-number order, after checking that every picture has one.
  std::vector<Kachelsignatur> Signaturen() const {
    std::vector<Kachelsignatur> signaturen(auftrag_.kachelliste.Anzahl());
    EXPECT_EQ(signaturen.size(), auftrag_.Dateiliste.size());
    for (size_t k = 0; k < auftrag_.kachelliste.Anzahl(); ++k) {
      const Kachelsignatur& s = auftrag_.kachelliste.Knoten(static_cast<int32_t>(k)).signatur;
      signaturen.at(static_cast<size_t>(s.Nummer)) = s;
    }
    return signaturen;
  }

  // The picture numbers from the darkest tile to the brightest.
  std::vector<int32_t> Reihenfolge() const {
    std::vector<int32_t> nummern;
    const Kachelliste& liste = auftrag_.kachelliste;
    for (int32_t k = liste.Kopf(); k != kKeinKnoten; k = liste.Knoten(k).Hoeher) {
      nummern.push_back(liste.Knoten(k).signatur.Nummer);
    }
    return nummern;
  }

  void BilderLoeschen() { fs::remove_all(bilder_); }

  TempFolder ordner_;
  std::string bilder_;
  std::string unter_;
  Auftrag auftrag_;
  std::vector<TGalerieGlobal> albenliste_;
  TestBenutzer benutzer_;
  int32_t position_ = 0;
};

// One worker scans, with the log listing every picture before it is read; many workers
// rebuilding give the same tiles in the same order; without a single picture left, the
// next run can only use the cache.
TEST_F(BilderEinlesenTest, FirstRunScansAndWritesTheCacheSecondReadsOnlyTheCache) {
  TempFolder heim;
  const char* altesHeim = std::getenv("HOME");
  const std::string altes = altesHeim != nullptr ? altesHeim : "";
  setenv("HOME", heim.path().c_str(), 1);
  auftrag_.Protokoll = true;
  Lesen(1);
  auftrag_.Protokoll = false;
  if (altesHeim != nullptr) {
    setenv("HOME", altes.c_str(), 1);
  } else {
    unsetenv("HOME");
  }
  std::string protokoll;
  for (const std::string& pfad : AlbumBilderSuchen(Album().AlleVerzeichnisse)) {
    protokoll += pfad + "\n";
  }
  EXPECT_EQ(testing::ReadWholeFile(heim / kProtokollDateiname), protokoll);
  std::vector<std::string> erwartet;
  for (int k = 1; k <= kBmpAnzahl; ++k) erwartet.push_back(bilder_ + Nummeriert("d", k, ".bmp"));
  erwartet.push_back(bilder_ + "B.JPG");  // upper case sorts first and matches ".jpg"
  for (int k = 1; k <= kJpegAnzahl; ++k) erwartet.push_back(bilder_ + Nummeriert("a", k, ".jpg"));
  erwartet.push_back(bilder_ + "c.jpeg");
  erwartet.push_back(unter_ + "e1.bmp");
  erwartet.push_back(unter_ + "e2.jpg");
  ASSERT_EQ(auftrag_.Dateiliste, erwartet);  // kaputt.jpg is skipped
  EXPECT_EQ(Album().Dateien, erwartet);
  EXPECT_EQ(position_, kGelistet - 1);  // the broken picture counts too
  EXPECT_TRUE(benutzer_.warnungen.empty());

  const std::vector<Kachelsignatur> erste = Signaturen();
  for (int k = 1; k <= kBmpAnzahl; ++k) {
    const Kachelsignatur& s = erste[static_cast<size_t>(k - 1)];
    const Farbe f = BmpFarbe(k);
    EXPECT_EQ(s.Felder[4][4],
              (Feld{static_cast<uint16_t>(f.red + f.green + f.blue), f.red, f.green, f.blue}));
    EXPECT_EQ(s.Helligkeit, f.red + f.green + f.blue);
  }
  // e1.bmp: red columns on the left, blue on the right, every row alike.
  const Kachelsignatur& geteilt = erste[kLesbar - 2];
  EXPECT_EQ(geteilt.Felder[0][4].Rot, 255);
  EXPECT_EQ(geteilt.Felder[4][0].Blau, 255);
  EXPECT_EQ(geteilt.Felder[4][0].Rot, 0);

  EXPECT_EQ(fs::file_size(Cache()), kLesbar * SignaturGroesse(5));
  EXPECT_EQ(CacheZustand(), 0);
  EXPECT_TRUE(FileExists(Liste()));

  const std::vector<int32_t> reihenfolge = Reihenfolge();
  SignaturenVeralten(Kontext(), kAlbumName, 2);
  Lesen(5);
  ASSERT_EQ(Album().NeuAufbau, kCacheNeuAufbauen);
  EXPECT_EQ(auftrag_.Dateiliste, erwartet);
  EXPECT_EQ(Signaturen(), erste);
  EXPECT_EQ(Reihenfolge(), reihenfolge);

  BilderLoeschen();
  TGalerieGlobal geladen;
  geladen.Name = kAlbumName;
  AlbumLaden(Kontext(), geladen);
  Album() = geladen;
  Lesen();
  EXPECT_EQ(auftrag_.Dateiliste, erwartet);
  EXPECT_EQ(Signaturen(), erste);
  EXPECT_EQ(Album().NeuAufbau, kCacheLesen);
}

TEST_F(BilderEinlesenTest, CancelOrAnErrorLeavesTheHalfBuiltCacheMarkedForRebuilding) {
  benutzer_.beimEreignis = [this](int32_t) {
    if (auftrag_.Dateiliste.size() >= 5) auftrag_.Abbruch = true;
  };
  Lesen();
  EXPECT_GT(auftrag_.Dateiliste.size(), 0u);
  EXPECT_LT(auftrag_.Dateiliste.size(), kLesbar);
  EXPECT_NE(CacheZustand(), 0);
  EXPECT_FALSE(FileExists(Liste()));

  // An error breaking the scan off must not let the half cache pass for a whole one.
  auftrag_.Abbruch = false;
  benutzer_.beimEreignis = [this](int32_t) {
    if (auftrag_.Dateiliste.size() >= 5) throw std::runtime_error("Lesefehler");
  };
  EXPECT_THROW(Lesen(), std::runtime_error);
  EXPECT_NE(CacheZustand(), 0);

  auftrag_.Abbruch = false;
  benutzer_.beimEreignis = nullptr;
  Lesen();
  EXPECT_EQ(Album().NeuAufbau, kCacheNeuAufbauen);
  EXPECT_EQ(auftrag_.Dateiliste.size(), kLesbar);
  EXPECT_EQ(CacheZustand(), 0);
}

// All levels share one picture list; a cache may only be read with the list it was built
// against, whichever level last wrote that list and whatever was done to it by hand.
class ListeJeStufeTest : public BilderEinlesenTest {
 protected:
  void LesenAuf(uint8_t stufe) {
    auftrag_.analyse.Formanalyse = stufe;
    Lesen();
  }
  // Reads every level and expects each to take its cache with exactly `liste`.
  void AlleLesenAusDemCache(const std::vector<std::string>& liste) {
    for (const uint8_t stufe : kStufen) {
      LesenAuf(stufe);
      EXPECT_EQ(Album().NeuAufbau, kCacheLesen) << int{stufe};
      EXPECT_EQ(auftrag_.Dateiliste, liste) << int{stufe};
    }
  }
  void ListeNeuLaden() {
    TGalerieGlobal geladen;
    geladen.Name = kAlbumName;
    AlbumLaden(Kontext(), geladen);
    Album() = geladen;
  }

  static constexpr uint8_t kStufen[] = {1, 3, 5};
  static constexpr Farbe kRot{.red = 255};
};

TEST_F(ListeJeStufeTest, ALevelBuiltLaterNeverLeavesAnotherReadingShiftedRecords) {
  LesenAuf(1);
  // A red picture that sorts first; level 5, built for the first time, lists it first.
  WriteTestBmp(bilder_ + "a.bmp", Einfarbig(20, 20, kRot));
  LesenAuf(5);
  const std::vector<std::string> mitRot = auftrag_.Dateiliste;
  ASSERT_EQ(mitRot.front(), bilder_ + "a.bmp");
  EXPECT_NE(ProfileFile::Load(Kontext().Katalog()).ReadInteger(kAlbumName, "Ak1", 0), 0);

  LesenAuf(1);
  EXPECT_EQ(Album().NeuAufbau, kCacheNeuAufbauen);
  EXPECT_EQ(auftrag_.Dateiliste, mitRot);
  EXPECT_EQ(Signaturen().front().Helligkeit, kRot.red);  // red, not the next picture's colour

  // A picture removed: the first level to notice writes a shorter list, the other two
  // rebuild once against it, and from then on every level reads its cache.
  fs::remove(bilder_ + "d03.bmp");
  SignaturenVeralten(Kontext(), kAlbumName, 2);
  LesenAuf(3);
  const std::vector<std::string> ohne = auftrag_.Dateiliste;
  ASSERT_EQ(ohne.size(), mitRot.size() - 1);
  for (const uint8_t stufe : {1, 5}) {
    LesenAuf(stufe);
    EXPECT_EQ(Album().NeuAufbau, kCacheNeuAufbauen) << int{stufe};
  }
  AlleLesenAusDemCache(ohne);
}

TEST_F(BilderEinlesenTest, UnwritableCacheOrListDoesNotEndTheRun) {
  // A folder where a file should go cannot be replaced, not even by root.
  ASSERT_TRUE(CreateFolders(Cache() + "/"));
  Lesen();
  EXPECT_EQ(auftrag_.Dateiliste.size(), kLesbar);
  ASSERT_EQ(benutzer_.warnungen.size(), 1u);
  EXPECT_NE(benutzer_.warnungen[0].find("Album 1 5.nba"), std::string::npos);
  EXPECT_NE(CacheZustand(), 0);
  EXPECT_FALSE(FileExists(Liste()));

  fs::remove(Cache());
  ASSERT_TRUE(CreateFolders(Liste() + "/"));
  benutzer_.warnungen.clear();
  Lesen();
  EXPECT_EQ(auftrag_.Dateiliste.size(), kLesbar);
  ASSERT_EQ(benutzer_.warnungen.size(), 1u);
  EXPECT_NE(benutzer_.warnungen[0].find("Album 1.nbf"), std::string::npos);
}

// Signatures measured upright, as stored, or perceptually each have a cache of their
// own; reading one for another would match every lying photo by the wrong picture.
TEST_F(ListeJeStufeTest, EachWayOfMeasuringReadsOnlyItsOwnCache) {
  // Stored: left half red, right half blue; upright: one above the other.
  Bitmap liegend = Einfarbig(40, 20, Farbe{0, 0, 255});
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) WritePixel(liegend, x, y, Farbe{255, 0, 0});
  }
  testing::WriteTestJpegMitExif(bilder_ + "a00.jpg", liegend,
                                static_cast<uint16_t>(Ausrichtung::RechtsGedreht));
  const std::string ohneBuchstaben = auftrag_.AlbenPfad + "Album 1 5.nba";
  const auto lesen = [&](bool aufrichten, bool wahrnehmung) {
    auftrag_.einstellungen.verfahren.Aufrichten = aufrichten;
    auftrag_.einstellungen.verfahren.Wahrnehmung = wahrnehmung;
    ListeNeuLaden();
    LesenAuf(5);
    return Signaturen();
  };
  // The original way writes what earlier versions wrote, and nothing with a letter.
  const std::vector<Kachelsignatur> gespeichert = lesen(false, false);
  const std::string alt = testing::ReadWholeFile(ohneBuchstaben);
  EXPECT_FALSE(FileExists(auftrag_.AlbenPfad + "Album 1 5a.nba"));
  const std::vector<Kachelsignatur> gedreht = lesen(true, false);
  EXPECT_EQ(Album().NeuAufbau, kCacheNeuAufbauen);
  // The lying photo: its red changes across the bands of columns as stored, across
  // the bands of rows upright.
  const size_t k =
      std::find(auftrag_.Dateiliste.begin(), auftrag_.Dateiliste.end(), bilder_ + "a00.jpg") -
      auftrag_.Dateiliste.begin();
  ASSERT_LT(k, gedreht.size());
  for (const auto& [s, quer] : {std::pair{gespeichert[k], true}, {gedreht[k], false}}) {
    EXPECT_EQ(std::abs(s.Felder[0][2].Rot - s.Felder[4][2].Rot) > 200, quer);
    EXPECT_EQ(std::abs(s.Felder[2][0].Rot - s.Felder[2][4].Rot) > 200, !quer);
  }
  // Perceptual: the upright measurement converted once, in a cache of its own.
  std::vector<Kachelsignatur> umgerechnet = gedreht;
  for (Kachelsignatur& signatur : umgerechnet) InWahrnehmungsraum(signatur, 5);
  EXPECT_EQ(lesen(true, true), umgerechnet);

  // Without a picture left, each way can only take its own cache, the first untouched.
  BilderLoeschen();
  EXPECT_EQ(lesen(false, false), gespeichert);
  EXPECT_EQ(lesen(true, false), gedreht);
  EXPECT_EQ(lesen(true, true), umgerechnet);
  EXPECT_EQ(Album().NeuAufbau, kCacheLesen);
  EXPECT_EQ(testing::ReadWholeFile(ohneBuchstaben), alt);
}

// A run finishing its albums while another process holds the album folder waits the time
// allowed once, not once per album: both albums' caches stay unsaved, with one warning,
// and the signatures read are used all the same.
TEST_F(BilderEinlesenTest, ARunFinishingWhileAnotherProcessHoldsTheAlbumsWaitsOnce) {
  constexpr std::chrono::milliseconds kFrist{400};
  TGalerieGlobal zweites = Album();
  zweites.Name = "Zweites";
  zweites.Dateiname = "Album 2";
  AlbumSpeichern(Kontext(), zweites);
  albenliste_.push_back(zweites);
  auftrag_.AlbenSperrFrist = kFrist;
  const testing::FremdeSperre anderer(auftrag_.AlbenPfad);
  const auto anfang = std::chrono::steady_clock::now();
  Lesen();
  const auto gewartet = std::chrono::steady_clock::now() - anfang;
  EXPECT_GE(gewartet, kFrist);
  EXPECT_LT(gewartet, kFrist * 2);  // two waits would take that at least
  EXPECT_EQ(auftrag_.Dateiliste.size(), 2 * kLesbar);
  EXPECT_EQ(benutzer_.warnungen,
            std::vector<std::string>{MeldungAlbenGesperrt(auftrag_.AlbenPfad)});
  EXPECT_FALSE(fs::exists(Cache()));
  EXPECT_FALSE(fs::exists(auftrag_.AlbenPfad + "Album 2 5.nba"));
}

TEST(BilddateienSuchen, MatchesExtensionsIgnoringCaseAndSortsByBytes) {
  TempFolder ordner;
  for (const char* name : {"b.jpg", "a.JPG", "Z.Jpg", "c.jpeg", "d.JPEG", "e.bmp", ".f.jpg",
                           "g.jpg.txt", "\xC3\xA4.jpg", "zwei\nzeilen.jpg"}) {
    testing::WriteWholeFile(ordner / name, "x");
  }
  ASSERT_TRUE(CreateFolders(ordner / "h.jpg/"));
  fs::create_symlink(ordner / "b.jpg", ordner / "verweis.jpg");

  const std::string o = ordner.path();
  EXPECT_EQ(BilddateienSuchen(o, ".jpg"),
            (std::vector<std::string>{o + "Z.Jpg", o + "a.JPG", o + "b.jpg", o + "verweis.jpg",
                                      o + "\xC3\xA4.jpg"}));
  EXPECT_EQ(BilddateienSuchen(o, ".jpeg"), (std::vector<std::string>{o + "c.jpeg", o + "d.JPEG"}));
  EXPECT_EQ(BilddateienSuchen(o, ".bmp"), (std::vector<std::string>{o + "e.bmp"}));
  EXPECT_TRUE(BilddateienSuchen(o + "fehlt/", ".jpg").empty());
}

// Another program (the album editor, "album aktualisieren") changes the album while a
// run reads it. The run ends after the change and must neither undo it nor leave a
// cache behind that the changed album would read.
class AnderesProgrammTest : public BilderEinlesenTest {
 protected:
  void SetUp() override {
    BilderEinlesenTest::SetUp();
    dazu_ = ordner_ / "dazu/";
    ASSERT_TRUE(CreateFolders(dazu_));
    WriteTestJpeg(dazu_ + "neu.jpg", Einfarbig(8, 8, Farbe{200, 10, 10}));
    medien_.media["/"] = {};
  }

  // Once, at the `runde`th call of the event pump: what `eingriff` does with an album
  // folder context of its own, as a second program would.
  void Waehrend(int32_t runde, std::function<void(const AlbenKontext&)> eingriff) {
    benutzer_.beimEreignis = [this, runde, eingriff](int32_t jetzt) {
      if (jetzt == runde) eingriff(AlbenKontext{auftrag_.AlbenPfad});
    };
  }

  // The album editor adds folder dazu_ and saves the album.
  void OrdnerHinzufuegenUndSpeichern(const AlbenKontext& kontext) {
    AlbenZustand zustand;
    testing::ProtokollBenutzer benutzer;
    const int position = AlbumAuswaehlen(zustand, kontext, medien_, benutzer, kAlbumName);
    ASSERT_GE(position, 0);
    std::optional<AlbumImEditor> editor =
        AlbumBearbeitenBeginnen(zustand, static_cast<size_t>(position));
    ASSERT_TRUE(editor);
    const Bearbeitungsumgebung umgebung{kontext, medien_, benutzer, false};
    ASSERT_EQ(OrdnerHinzufuegen(umgebung, zustand.AktAlbum, editor->anzahl, dazu_),
              Aufnahme::Aufgenommen);
    AlbumBearbeitungAbschliessen(zustand, kontext, *editor);
    editorAnzahl_ = editor->anzahl.gesamt;
  }

  TGalerieGlobal Gespeichert(const std::string& name = kAlbumName) const {
    TGalerieGlobal album;
    album.Name = name;
    AlbumLaden(Kontext(), album);
    return album;
  }

  // A run of the album as it is stored now: it must take the added folder's picture.
  void NaechsterLaufSiehtDenOrdner() {
    Album() = Gespeichert();
    benutzer_.beimEreignis = nullptr;
    Lesen();
    EXPECT_EQ(Album().NeuAufbau, kCacheNeuAufbauen);
    EXPECT_EQ(auftrag_.Dateiliste.size(), kLesbar + 1);
    EXPECT_EQ(auftrag_.Dateiliste.back(), dazu_ + "neu.jpg");
    EXPECT_EQ(CacheZustand(), 0);
  }

  std::string dazu_;
  testing::FalscheMedien medien_;
  int32_t editorAnzahl_ = 0;  // the count the editor saved
};

TEST_F(AnderesProgrammTest, AFolderAddedWhileTheCacheIsBuiltStays) {
  Waehrend(3, [this](const AlbenKontext& k) { OrdnerHinzufuegenUndSpeichern(k); });
  Lesen();
  EXPECT_EQ(auftrag_.Dateiliste.size(), kLesbar);  // this run still has the old folders
  const TGalerieGlobal album = Gespeichert();
  EXPECT_EQ(album.Verzeichnisse, (std::vector<std::string>{bilder_, dazu_}));
  EXPECT_GT(editorAnzahl_, kGelistet);
  EXPECT_EQ(album.Anzahl.gesamt, editorAnzahl_);
  EXPECT_NE(CacheZustand(), 0);
  ASSERT_EQ(benutzer_.warnungen.size(), 1u);
  EXPECT_NE(benutzer_.warnungen[0].find(kAlbumName), std::string::npos);
  NaechsterLaufSiehtDenOrdner();
}

// While the cache is read, the album editor adds a folder and saves the album, or its
// rescan marks the caches at once (the album is saved only when the editor closes, after
// this run): either way the mark stays.
TEST_F(AnderesProgrammTest, AChangeWhileTheCacheIsReadLeavesItMarked) {
  for (const bool ordner : {false, true}) {
    Lesen();
    Album() = Gespeichert();
    Waehrend(benutzer_.ereignisRunden + 3, [this, ordner](const AlbenKontext& k) {
      if (ordner) {
        OrdnerHinzufuegenUndSpeichern(k);
      } else {
        SignaturenVeralten(k, kAlbumName, 1);
      }
    });
    Lesen();
    ASSERT_EQ(Album().NeuAufbau, kCacheLesen);
    EXPECT_NE(CacheZustand(), 0);
    if (!ordner) EXPECT_TRUE(benutzer_.warnungen.empty());
  }
  EXPECT_EQ(Gespeichert().Verzeichnisse, (std::vector<std::string>{bilder_, dazu_}));
  NaechsterLaufSiehtDenOrdner();
}

TEST_F(AnderesProgrammTest, AnAlbumRenamedOrDeletedMeanwhileIsNotMadeAgain) {
  Waehrend(3, [](const AlbenKontext& k) {
    TGalerieGlobal album;
    album.Name = kAlbumName;
    AlbumLaden(k, album);
    AlbumUnterNeuemNamenSpeichern(k, album, "Umbenannt");
  });
  Lesen();
  std::vector<std::string> namen;
  AlbennamenLaden(Kontext(), namen);
  EXPECT_EQ(namen, std::vector<std::string>{"Umbenannt"});

  Album() = Gespeichert("Umbenannt");
  Waehrend(benutzer_.ereignisRunden + 3,
           [](const AlbenKontext& k) { AlbumLoeschen(k, "Umbenannt"); });
  Lesen();
  AlbennamenLaden(Kontext(), namen);
  EXPECT_TRUE(namen.empty());
  EXPECT_FALSE(FileExists(auftrag_.AlbenPfad + "Album 1.nbd"));
  EXPECT_FALSE(FileExists(Cache()));
}

TEST_F(AnderesProgrammTest, AChangeOfAnotherAlbumLetsTheRunSave) {
  Waehrend(3, [this](const AlbenKontext& k) {
    TGalerieGlobal anderes;
    anderes.Name = "Anderes";
    anderes.Dateiname = "Album 2";
    anderes.Verzeichnisse = {dazu_};
    anderes.AlleVerzeichnisse = {dazu_};
    AlbumSpeichern(k, anderes);
  });
  Lesen();
  EXPECT_EQ(CacheZustand(), 0);
  EXPECT_TRUE(FileExists(Liste()));
  EXPECT_TRUE(benutzer_.warnungen.empty());
}

}  // namespace
}  // namespace tilvendo
