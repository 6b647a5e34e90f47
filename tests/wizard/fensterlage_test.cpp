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

TEST(Fensterlage, EveryNextPageKeepsThePlaceWhileItsSizeFits) {
  EXPECT_EQ(FensterHalten(kFrei, Lage{300, 200}, Size{400, 300}), (Lage{300, 200}));
  EXPECT_EQ(FensterHalten(kFrei, Lage{300, 200}, Size{724, 568}), (Lage{300, 200}));  // just fits
  EXPECT_EQ(FensterHalten(kFrei, Lage{300, 200}, Size{200, 100}), (Lage{300, 200}));
}

TEST(Fensterlage, ALargerPageMovesTheWindowOnlyAsFarAsItMust) {
  // 1 pixel too wide and 10 too high from where it stands.
  EXPECT_EQ(FensterHalten(kFrei, Lage{300, 200}, Size{725, 578}), (Lage{299, 190}));
  // The result page of a large mosaic: as wide as the free area allows.
  EXPECT_EQ(FensterHalten(kFrei, Lage{300, 200}, Size{1024, 738}), (Lage{0, 30}));
  // Larger than the screen: the title bar and the left edge stay reachable.
  EXPECT_EQ(FensterHalten(kFrei, Lage{300, 200}, Size{2000, 2000}), (Lage{0, 30}));
  // Moved off the screen by the user: brought back as far as the size needs.
  EXPECT_EQ(FensterHalten(kFrei, Lage{-50, 10}, Size{400, 300}), (Lage{0, 30}));
}

TEST(Fensterlage, AScreenThatDoesNotStartAtZeroIsHonoured) {
  const Rect rechts{1920, 0, 3200, 1024};  // the second of two screens
  EXPECT_EQ(FensterHalten(rechts, Lage{3000, 100}, Size{400, 300}), (Lage{2800, 100}));
  EXPECT_EQ(FensterHalten(rechts, Lage{1000, 100}, Size{400, 300}), (Lage{1920, 100}));
}

}  // namespace
}  // namespace tilvendo::wizard
