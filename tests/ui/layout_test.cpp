#include "ui/layout.h"

#include <gtest/gtest.h>

namespace {

// Under Wine with the prefix's fonts, 8-point "MS Sans Serif" maps 1024 x 1024
// units to 1536 x 1664 pixels; other screens give other ratios.
constexpr int kWidth1024 = 1536;
constexpr int kHeight1024 = 1664;

struct PixelsCase {
  const char* name;
  int pixels;
  int per_1024;
  int units;
};

TEST(PixelsToUnits, RoundsHalvesUpAndFailsToZero) {
  const PixelsCase cases[] = {
      {"exact", 300, kWidth1024, 200},
      {"just below a half rounds down", 301, kWidth1024, 201},  // 200.67
      {"a half rounds up", 3, kWidth1024, 2},                   // 1.5 -> 2
      {"below a half rounds down", 2, kWidth1024, 1},           // 1.33
      {"vertical ratio", 13, kHeight1024, 8},
      {"a half at another scale", 3, 2048, 2},  // 1.5 -> 2
      {"zero pixels", 0, kWidth1024, 0},
      {"failed mapping", 500, 0, 0},
      {"wide screen", 32000, kWidth1024, 21333},
      {"negative length floors", -3, kWidth1024, -2},  // -2.0 exactly
      {"negative half rounds up", -3, 2048, -1},       // -1.5 -> -1
  };
  for (const PixelsCase& c : cases) {
    EXPECT_EQ(PixelsToUnits(c.pixels, c.per_1024), c.units) << c.name;
  }
}

TEST(IsLayoutSizeType, RestoredAndMaximizedOnly) {
  const struct {
    unsigned size_type;
    bool lays_out;
  } cases[] = {{0, true}, {1, false}, {2, true}, {3, false}, {4, false}, {5, false}};
  for (const auto& c : cases) EXPECT_EQ(IsLayoutSizeType(c.size_type), c.lays_out) << c.size_type;
}

struct LayoutCase {
  const char* name;
  Size outer;
  Layout expected;
};

TEST(LayoutForWindow, FollowsTheWindowAboveTheMinimum) {
  const LayoutCase cases[] = {
      {"template size", {264, 96}, {{264, 96}, {255, 15}, {255, 15}, {255, 32}}},
      {"exactly the minimum", {200, 76}, {{200, 76}, {191, 15}, {191, 15}, {191, 12}}},
      {"too narrow: width back to 200, height as dragged",
       {150, 120},
       {{200, 120}, {191, 15}, {191, 15}, {191, 56}}},
      {"too low: height back to 76, width as dragged",
       {300, 40},
       {{300, 76}, {291, 15}, {291, 15}, {291, 12}}},
      {"both too small", {10, 10}, {{200, 76}, {191, 15}, {191, 15}, {191, 12}}},
      {"failed mapping gives the minimum", {0, 0}, {{200, 76}, {191, 15}, {191, 15}, {191, 12}}},
      {"large", {853, 788}, {{853, 788}, {844, 15}, {844, 15}, {844, 724}}},
  };
  for (const LayoutCase& c : cases) {
    EXPECT_EQ(LayoutForWindow(c.outer), c.expected) << c.name;
  }
}

TEST(ControlFontHeight, TwelvePointsTruncated) {
  const struct {
    int dpi;
    int height;
  } cases[] = {{96, -16}, {100, -16}, {120, -20}, {144, -24}, {72, -12}, {0, 0}};
  for (const auto& c : cases) EXPECT_EQ(ControlFontHeight(c.dpi), c.height) << c.dpi << " dpi";
}

}  // namespace
