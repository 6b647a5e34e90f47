#include "engine/kachelliste.h"

#include <gtest/gtest.h>

#include <vector>

namespace tilvendo {
namespace {

Kachelsignatur Signatur(int32_t nummer, uint16_t helligkeit) {
  Kachelsignatur s;
  s.Nummer = nummer;
  s.Helligkeit = helligkeit;
  return s;
}

std::vector<int32_t> NummernAufsteigend(const Kachelliste& liste) {
  std::vector<int32_t> nummern;
  for (int32_t k = liste.Kopf(); k != kKeinKnoten; k = liste.Knoten(k).Hoeher) {
    nummern.push_back(liste.Knoten(k).signatur.Nummer);
  }
  return nummern;
}

TEST(Kachelliste, EqualBrightnessGoesRightAfterTheFirstOfItsKind) {
  Kachelliste liste;
  const int32_t a = liste.KachelEinfuegen(Signatur(0, 300));
  liste.KachelEinfuegen(Signatur(1, 300));
  liste.KachelEinfuegen(Signatur(2, 300));
  EXPECT_EQ(NummernAufsteigend(liste), (std::vector<int32_t>{0, 2, 1}));  // A, C, B
  EXPECT_EQ(liste.Helligkeitsindex(300), a);
}

TEST(Kachelliste, KeepsBrightnessOrderLinksAndGaps) {
  Kachelliste liste;
  const int32_t erster = liste.KachelEinfuegen(Signatur(0, 400));
  EXPECT_EQ(liste.Knoten(erster).Luecke, kKeineLuecke);
  const int32_t dunkler = liste.KachelEinfuegen(Signatur(1, 100));
  EXPECT_EQ(liste.Kopf(), dunkler);
  EXPECT_EQ(liste.Knoten(dunkler).Luecke, kKeineLuecke);
  EXPECT_EQ(liste.Knoten(erster).Luecke, 300);
  liste.KachelEinfuegen(Signatur(2, 250));
  liste.KachelEinfuegen(Signatur(3, 765));
  liste.KachelEinfuegen(Signatur(4, 0));
  EXPECT_EQ(NummernAufsteigend(liste), (std::vector<int32_t>{4, 1, 2, 0, 3}));
  EXPECT_EQ(liste.Knoten(erster).Luecke, 150);

  // Every Tiefer link mirrors a Hoeher link.
  for (int32_t k = liste.Kopf(); liste.Knoten(k).Hoeher != kKeinKnoten;
       k = liste.Knoten(k).Hoeher) {
    EXPECT_EQ(liste.Knoten(liste.Knoten(k).Hoeher).Tiefer, k);
  }
  liste.Leeren();
  EXPECT_EQ(liste.Kopf(), kKeinKnoten);
  EXPECT_EQ(liste.Helligkeitsindex(400), kKeinKnoten);
}

}  // namespace
}  // namespace tilvendo
