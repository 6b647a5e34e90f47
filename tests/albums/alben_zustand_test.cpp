#include "albums/alben_zustand.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "alben_helfer.h"
#include "albums/katalog.h"
#include "platform/profile_file.h"

namespace tilvendo {
namespace {

using testing::AlbenOrdner;
using testing::FalscheMedien;
using testing::ProtokollBenutzer;
using testing::TempFolder;
using testing::WriteWholeFile;

struct Zustand : ::testing::Test {
  void Anlegen(const std::string& name, int32_t bilder, bool mitOrdnerdatei = true) {
    TGalerieGlobal album;
    album.Name = name;
    album.Dateiname = AlbumDateiname(FreieAlbumNummer(alben.kontext));
    album.Anzahl.gesamt = bilder;
    album.Verzeichnisse = {bilderOrdner.path(), bilderOrdner.path()};
    AlbumSpeichern(alben.kontext, album);
    if (!mitOrdnerdatei) std::filesystem::remove(alben.Datei(album.Dateiname + ".nbd"));
  }

  AlbenOrdner alben;
  TempFolder bilderOrdner;
  FalscheMedien medien;
  ProtokollBenutzer benutzer;
  AlbenZustand zustand;
};

TEST_F(Zustand, ChoosingAndUnchoosingKeepsTotalsAndListsInStep) {
  Anlegen("Urlaub", 120);
  Anlegen("Garten", 30);
  Anlegen("Familie", 7);
  EXPECT_EQ(zustand.AlbumWaehlen("Urlaub", alben.kontext, medien, benutzer), 2);
  EXPECT_EQ(zustand.AlbumWaehlen("Garten", alben.kontext, medien, benutzer), 3);
  // Already chosen, also in another letter case: its position, nothing added.
  EXPECT_EQ(zustand.AlbumWaehlen("Urlaub", alben.kontext, medien, benutzer), 2);
  EXPECT_EQ(zustand.AlbumWaehlen("GARTEN", alben.kontext, medien, benutzer), 3);
  ASSERT_EQ(zustand.Albenliste.size(), 4u);
  ASSERT_EQ(zustand.AlbenAuswahl.size(), 4u);
  EXPECT_EQ(zustand.Albenliste[3].Name, "Garten");
  // The chosen folders come sorted and without repeats.
  EXPECT_EQ(zustand.Albenliste[2].Verzeichnisse, std::vector<std::string>{bilderOrdner.path()});

  zustand.AlbenSummieren(alben.kontext);
  EXPECT_EQ(zustand.AlbenNamen, (std::vector<std::string>{"Familie", "Garten", "Urlaub"}));
  EXPECT_EQ(zustand.Albenliste[0].Anzahl.gesamt, 157);
  EXPECT_EQ(zustand.Albenliste[1].Anzahl.gesamt, 150);
  EXPECT_EQ(zustand.GewaehlteBilderZaehlen().gesamt, 150);

  zustand.AlbumAbwaehlen(2);
  zustand.AlbumAbwaehlen(1);  // the summary entries stay
  zustand.AlbumAbwaehlen(9);
  EXPECT_EQ(zustand.AlbenAuswahl,
            (std::vector<std::string>{"alle vorhandenen Alben zusammen",
                                      "alle gewählten Alben zusammen", "Garten"}));
  ASSERT_EQ(zustand.Albenliste.size(), 3u);
  EXPECT_EQ(zustand.GewaehlteBilderZaehlen().gesamt, 30);
  zustand.AlbenSummieren(alben.kontext);
  EXPECT_EQ(zustand.Albenliste[1].Anzahl.gesamt, 30);
  EXPECT_EQ(zustand.AlbenNamen.size(), 3u);  // unchosen albums stay in the catalogue
}

TEST_F(Zustand, AnAlbumNeverScannedIsScannedWhenChosen) {
  WriteWholeFile(bilderOrdner / "a.jpg", "");
  Anlegen("Neu", 0, false);
  WriteProfileString(alben.kontext.Katalog(), "Neu", "Ak5", "0");
  const int position = zustand.AlbumWaehlen("Neu", alben.kontext, medien, benutzer);
  ASSERT_EQ(position, 2);
  const TGalerieGlobal& album = zustand.Albenliste[2];
  // Without a folder file the album has no chosen folders, so the scan finds none.
  EXPECT_TRUE(album.AlleVerzeichnisseVorhanden);
  EXPECT_TRUE(album.AlleVerzeichnisse.empty());
  EXPECT_EQ(benutzer.scan, (std::vector<std::string>{"leeren", "leeren"}));
  EXPECT_EQ(ProfileFile::Load(alben.kontext.Katalog()).Read("Neu", "Ak5"), "2");
}

}  // namespace
}  // namespace tilvendo
