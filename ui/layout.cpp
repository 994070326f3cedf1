#include "ui/layout.h"

#include <algorithm>
#include <cstdint>

namespace {

// Fixed distances of the layout, in units: the margins left and right of the
// controls together with the frame, and what above and below the history
// (the two 15-unit fields, their gaps, caption and frames) takes away from the
// window's height.
constexpr int kHorizontalAllowance = 9;
constexpr int kHistoryAllowance = 64;
constexpr int kFieldHeight = 15;
constexpr int kPointsPerInch = 72;
constexpr int kControlFontPoints = 12;

}  // namespace

int PixelsToUnits(int pixels, int pixels_per_1024_units) {
  if (pixels_per_1024_units <= 0) return 0;
  // units = pixels * 1024 / P, rounded half up: floor((2 * pixels * 1024 + P) / (2 * P)).
  const std::int64_t twice = 2 * std::int64_t{pixels} * 1024 + pixels_per_1024_units;
  const std::int64_t divisor = 2 * std::int64_t{pixels_per_1024_units};
  std::int64_t units = twice / divisor;
  if (twice % divisor != 0 && twice < 0) --units;  // floor, also for a negative length
  return static_cast<int>(units);
}

bool IsLayoutSizeType(unsigned size_type) {
  return size_type == 0 || size_type == 2;
}

Layout LayoutForWindow(Size outer_units) {
  const Size window{std::max(outer_units.width, kMinimumWindowUnits.width),
                    std::max(outer_units.height, kMinimumWindowUnits.height)};
  const int field_width = window.width - kHorizontalAllowance;
  return {window,
          {field_width, kFieldHeight},
          {field_width, kFieldHeight},
          {field_width, window.height - kHistoryAllowance}};
}

int ControlFontHeight(int logpixelsy) {
  return -(logpixelsy * kControlFontPoints / kPointsPerInch);
}
