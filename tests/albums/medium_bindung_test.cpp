#include "albums/medium_bindung.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "alben_helfer.h"

namespace tilvendo {
namespace {

using testing::FalscheMedien;
using testing::ProtokollBenutzer;

// What binding an album to a medium sets.
auto Bindung(const TGalerieGlobal& a) {
  return std::tuple(a.Seriennummer, a.Laufwerk, a.MediumName, a.Wechselmedium);
}

struct Medien : ::testing::Test {
  Medien() {
    medien.media["/"] = {"1111-2222", kLaufwerksklasseFestplatte};
    medien.media["/home"] = {"3333-4444", kLaufwerksklasseFestplatte};
    medien.media["/media/anna/URLAUB"] = {"0012-ABCD", kLaufwerksklasseWechselmedium};
    medien.media["/media/anna/LEER"] = {"", kLaufwerksklasseWechselmedium};
    medien.media["/mnt/netz"] = {"5555-6666", kLaufwerksklasseUngeeignet};
  }
  FalscheMedien medien;
  ProtokollBenutzer benutzer;
  TGalerieGlobal album;
};

TEST_F(Medien, UnusableFileSystemsAreRefusedWithTheNetworkWarning) {
  EXPECT_FALSE(MediumBinden(album, "/mnt/netz/bilder/", medien, benutzer));
  EXPECT_EQ(benutzer.warnungen, std::vector<std::string>{kWarnungNetzwerk});
  EXPECT_EQ(album.Seriennummer, "");
  FalscheMedien ohneMounts;
  EXPECT_FALSE(MediumBinden(album, "/irgendwo/", ohneMounts, benutzer));
}

TEST_F(Medien, ARemovableMediumIsNamedOnceAndRememberedByItsMountPoint) {
  EXPECT_TRUE(MediumBinden(album, "/media/anna/URLAUB/2019/", medien, benutzer));
  EXPECT_EQ(Bindung(album), std::tuple("0012-ABCD", "/media/anna/URLAUB", "Urlaubs-CD", true));
  benutzer.mediumName = "anders";
  EXPECT_TRUE(MediumBinden(album, "/media/anna/URLAUB/2020/", medien, benutzer));
  EXPECT_EQ(std::tuple(benutzer.namensfragen, album.MediumName), std::tuple(1, "Urlaubs-CD"));

  MediumFreigeben(album);
  EXPECT_EQ(Bindung(album), std::tuple("", "", "", false));
  EXPECT_TRUE(MediumBinden(album, "/home/anna/", medien, benutzer));
}

TEST_F(Medien, AnEmptyDriveDoesNotBindTheAlbum) {
  EXPECT_TRUE(MediumBinden(album, "/media/anna/LEER/", medien, benutzer));
  EXPECT_EQ(std::tuple(album.Seriennummer, album.Wechselmedium), std::tuple("", true));
  EXPECT_TRUE(MediumBinden(album, "/home/x/", medien, benutzer));
  EXPECT_EQ(album.Seriennummer, "3333-4444");
}

TEST_F(Medien, TheMediumOfTheSelectedAlbumMustBeInserted) {
  EXPECT_TRUE(MediumEingelegt(AktuellesMedium{}, medien));
  EXPECT_TRUE(MediumBinden(album, "/media/anna/URLAUB/", medien, benutzer));
  const AktuellesMedium medium = AktuellesMedium::Von(album);
  EXPECT_TRUE(MediumEingelegt(medium, medien));
  medien.media["/media/anna/URLAUB"].kennung = "9999-0000";  // another disc
  EXPECT_FALSE(MediumEingelegt(medium, medien));
  medien.media.erase("/media/anna/URLAUB");  // ejected
  EXPECT_FALSE(MediumEingelegt(medium, medien));
  EXPECT_EQ(WarnungMediumEinlegen(medium),
            "Bitte legen Sie erst das ensprechende Medium \"Urlaubs-CD\" in Laufwerk "
            "\"/media/anna/URLAUB\" ein.");

  TGalerieGlobal fest;
  fest.Seriennummer = "1111-2222";
  EXPECT_TRUE(AktuellesMedium::Von(fest).Leer());
}

}  // namespace
}  // namespace tilvendo
