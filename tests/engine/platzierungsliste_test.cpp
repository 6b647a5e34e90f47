#include "engine/platzierungsliste.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <utility>

#include "platform/atomic_file.h"
#include "support/sprache_wechseln.h"
#include "support/temp_folder.h"

namespace tilvendo {
namespace {

TEST(Platzierungsliste, OneLinePerCellRowByRowWithItsPhoto) {
  Auftrag auftrag;
  EXPECT_THROW(PlatzierungslisteText(auftrag), std::logic_error);
  Einstellungen& e = auftrag.einstellungen;
  e.KachelnX = 3;
  e.KachelnY = 2;
  Verwendungsliste verwendung;
  verwendung.Hinzufuegen("/fotos/Strand.jpg", Zellort{1, 1});
  verwendung.ZelleAnfuegen(0, Zellort{3, 2});
  verwendung.Hinzufuegen("/fotos/Oma; Opa \"1970\".jpg", Zellort{2, 1});
  verwendung.Hinzufuegen("/fotos/\xc4, alt.png", Zellort{3, 1});  // a name in Windows-1252
  verwendung.ZelleAnfuegen(2, Zellort{1, 2});                     // (2, 2) stayed empty
  auftrag.Ergebnis = std::make_unique<Mosaikergebnis>(
      std::make_shared<Mosaikplan>(e, auftrag.analyse, std::move(verwendung)), "");
  // The list is the mosaic's, whatever the job is set to for the next one.
  e.KachelnX = 5;
  e.Raster = std::make_unique<Zellenraster>(5, 2);
  // Semicolons, which German spreadsheets split at, and the mark that tells them UTF-8.
  const std::string erwartet =
      "\xEF\xBB\xBFSpalte;Zeile;Foto\n"
      "1;1;/fotos/Strand.jpg\n"
      "2;1;\"/fotos/Oma; Opa \"\"1970\"\".jpg\"\n"
      "3;1;\"/fotos/Ä, alt.png\"\n"
      "1;2;\"/fotos/Ä, alt.png\"\n"
      "2;2;\n"
      "3;2;/fotos/Strand.jpg\n";
  EXPECT_EQ(PlatzierungslisteText(auftrag), erwartet);

  testing::TempFolder ordner;
  PlatzierungslisteSchreiben(auftrag, ordner / "liste.csv");
  EXPECT_EQ(testing::ReadWholeFile(ordner / "liste.csv"), erwartet);
  EXPECT_TRUE(IstPlatzierungsliste(ordner / "liste.csv"));
  EXPECT_THROW(PlatzierungslisteSchreiben(auftrag, ordner / "fehlt/liste.csv"), WriteError);
  // Only a list replaces a list: another file of that name stays.
  testing::WriteWholeFile(ordner / "tabelle.csv", "Name;Betrag\n");
  EXPECT_THROW(PlatzierungslisteSchreiben(auftrag, ordner / "tabelle.csv"), WriteError);
  EXPECT_EQ(testing::ReadWholeFile(ordner / "tabelle.csv"), "Name;Betrag\n");
  for (const char* kopf : {"Spalte,Zeile,Foto\r\n", "\xEF\xBB\xBFSpalte;Zeile;Foto\r\n"}) {
    testing::WriteWholeFile(ordner / "alt.csv", kopf);
    EXPECT_TRUE(IstPlatzierungsliste(ordner / "alt.csv")) << kopf;
  }
  for (const char* kein : {"", "Spalte,Zeile,Foto", "Spalte;Zeile;Foto;x\n", "Spalte\n"}) {
    testing::WriteWholeFile(ordner / "kein.csv", kein);
    EXPECT_FALSE(IstPlatzierungsliste(ordner / "kein.csv")) << kein;
  }

  // In English, whose spreadsheets split at commas, with commas; a list in either replaces
  // the other.
  const testing::InSprache englisch("en_US.UTF-8");
  const std::string text = PlatzierungslisteText(auftrag);
  EXPECT_TRUE(text.starts_with("\xEF\xBB\xBFSpalte,Zeile,Foto\n1,1,/fotos/Strand.jpg\n")) << text;
  PlatzierungslisteSchreiben(auftrag, ordner / "liste.csv");
  EXPECT_EQ(testing::ReadWholeFile(ordner / "liste.csv"), text);
}

}  // namespace
}  // namespace tilvendo
