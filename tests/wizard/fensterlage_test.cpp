#include "wizard/fensterlage.h"

#include <gtest/gtest.h>

namespace tilvendo::wizard {
namespace {

// The free area of a 1024 × 768 screen below a 30 pixel panel.
constexpr Rect kFrei{0, 30, 1024, 768};

TEST(Fensterlage, TheFirstPageOpensInTheMiddleOfTheScreen) {
  EXPECT_EQ(FensterZentrieren(Size{1024, 768}, Size{745, 668}), (Lage{139, 50}));
  EXPECT_EQ(FensterZentrieren(Size{1024, 768}, Size{1025, 769}), (Lage{0, 0}));
}

// Every next page keeps the place while its size fits; a larger page moves the window
// only as far as it must.
TEST(Fensterlage, EveryNextPageKeepsThePlaceOrMovesOnlyAsFarAsItMust) {
  EXPECT_EQ(FensterHalten(kFrei, Lage{300, 200}, Size{400, 300}), (Lage{300, 200}));
  EXPECT_EQ(FensterHalten(kFrei, Lage{300, 200}, Size{724, 568}), (Lage{300, 200}));  // just fits
  EXPECT_EQ(FensterHalten(kFrei, Lage{300, 200}, Size{200, 100}), (Lage{300, 200}));
  // 1 pixel too wide and 10 too high from where it stands.
  EXPECT_EQ(FensterHalten(kFrei, Lage{300, 200}, Size{725, 578}), (Lage{299, 190}));
  // The result page of a large mosaic: as wide as the free area allows.
  EXPECT_EQ(FensterHalten(kFrei, Lage{300, 200}, Size{1024, 738}), (Lage{0, 30}));
  // Larger than the screen: the title bar and the left edge stay reachable.
  EXPECT_EQ(FensterHalten(kFrei, Lage{300, 200}, Size{2000, 2000}), (Lage{0, 30}));
  // Moved off the screen by the user: brought back as far as the size needs.
  EXPECT_EQ(FensterHalten(kFrei, Lage{-50, 10}, Size{400, 300}), (Lage{0, 30}));
  // A screen that does not start at zero: the second of two.
  const Rect rechts{1920, 0, 3200, 1024};
  EXPECT_EQ(FensterHalten(rechts, Lage{3000, 100}, Size{400, 300}), (Lage{2800, 100}));
  EXPECT_EQ(FensterHalten(rechts, Lage{1000, 100}, Size{400, 300}), (Lage{1920, 100}));
}

// One window through all pages: the largest page's size, or the user's, and more room
// for a page that wants it only as far as the screen reaches from where the window stands.
TEST(Fensterlage, TheWindowKeepsItsSizeAcrossThePages) {
  const Size raum = FensterRaum(kFrei, Lage{300, 200});
  EXPECT_EQ(raum, (Size{724, 568}));
  EXPECT_EQ(FensterRaum(kFrei, Lage{-50, 10}), (Size{1024, 738}));
  const Size gross{720, 560};
  // A smaller page keeps the window's size; a larger one grows it, up to the room.
  EXPECT_EQ(FensterGroesse(gross, Size{394, 284}, Size{300, 200}, raum, false), gross);
  EXPECT_EQ(FensterGroesse(gross, Size{724, 568}, Size{300, 200}, raum, false), (Size{724, 568}));
  EXPECT_EQ(FensterGroesse(gross, Size{1270, 973}, Size{300, 200}, raum, false), raum);
  // The first page takes its wish; the user's smaller size stays while a page fits in it.
  EXPECT_EQ(FensterGroesse(Size{}, Size{394, 284}, Size{300, 200}, raum, false), (Size{394, 284}));
  EXPECT_EQ(FensterGroesse(Size{500, 400}, Size{720, 560}, Size{450, 420}, raum, true),
            (Size{500, 420}));
  // A page that needs more than the room gets what it needs (the window then moves).
  EXPECT_EQ(FensterGroesse(gross, gross, Size{800, 600}, raum, false), (Size{800, 600}));
}

}  // namespace
}  // namespace tilvendo::wizard
