#include "engine/platzierungsliste.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

TEST(Platzierungsliste, OneLinePerCellRowByRowWithItsPhoto) {
  Auftrag auftrag;
  EXPECT_THROW(PlatzierungslisteText(auftrag), std::logic_error);
  auftrag.Dateiliste = {"/fotos/Strand.jpg", "/fotos/Oma, Opa \"1970\".jpg", "/fotos/Ä.png"};
  auftrag.einstellungen.Raster = std::make_unique<Zellenraster>(3, 2);
  Zellenraster& raster = *auftrag.einstellungen.Raster;
  raster.at(1, 1).Bild = 0;
  raster.at(2, 1).Bild = 1;
  raster.at(3, 1).Bild = 2;
  raster.at(1, 2).Bild = 2;
  raster.at(3, 2).Bild = 0;  // (2, 2) stayed empty
  const std::string erwartet =
      "Spalte,Zeile,Foto\n"
      "1,1,/fotos/Strand.jpg\n"
      "2,1,\"/fotos/Oma, Opa \"\"1970\"\".jpg\"\n"
      "3,1,/fotos/Ä.png\n"
      "1,2,/fotos/Ä.png\n"
      "2,2,\n"
      "3,2,/fotos/Strand.jpg\n";
  EXPECT_EQ(PlatzierungslisteText(auftrag), erwartet);

  testing::TempFolder ordner;
  PlatzierungslisteSchreiben(auftrag, ordner / "liste.csv");
  EXPECT_EQ(testing::ReadWholeFile(ordner / "liste.csv"), erwartet);
  EXPECT_THROW(PlatzierungslisteSchreiben(auftrag, ordner / "fehlt/liste.csv"), WriteError);
}

}  // namespace
}  // namespace tilvendo
