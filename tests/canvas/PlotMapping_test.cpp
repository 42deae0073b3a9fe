// SPDX-License-Identifier: GPL-3.0-or-later
// The model-to-pixel mappings: edges, rounding of halves, the centre pixel for values that have no
// pixel, and the pixel-to-value direction.
#include "canvas/PlotMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TPlotMapping MakeMapping(TPixelRect rect, double xMin, double xMax, double yMin, double yMax) {
  TPlotMapping m;
  m.PlotRect = rect;
  m.DrawArea = rect;
  m.Horizontal = {false, xMin, xMax};
  m.Vertical = {false, yMin, yMax};
  return m;
}

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

TEST(PlotMapping, ValueToPixelTable) {
  // 100 x 50 pixels for x in [0, 10] and y in [0, 5]: ten pixels per unit on both axes, so every
  // value below scales exactly and the halves are true halves.
  const TPlotMapping m = MakeMapping({0, 0, 100, 50}, 0.0, 10.0, 0.0, 5.0);
  struct Row {
    double value;
    int x;
    int y;
  };
  const Row rows[] = {
      {0.0, 0, 50},      // Minimum: left and bottom edge
      {10.0, 100, -50},  // x Maximum: the right edge
      {5.0, 50, 0},      // y Maximum: the top edge
      {0.25, 2, 48},     // 2.5 pixels: half to even, down
      {0.75, 8, 42},     // 7.5 pixels: half to even, up
      {-0.25, -2, 52},   // -2.5 pixels: to -2
      {0.26, 3, 47},     // 2.6 pixels: nearest
  };
  for (const Row& row : rows) {
    EXPECT_EQ(m.ValueToPixelX(row.value), row.x) << row.value;
    EXPECT_EQ(m.ValueToPixelY(row.value), row.y) << row.value;
  }
}

TEST(PlotMapping, ExactHalvesGoToEven) {
  // 8 pixels for the range [0, 1]: offsets k/16 scale to exact halves.
  const TPlotMapping m = MakeMapping({10, 20, 18, 28}, 0.0, 1.0, 0.0, 1.0);
  EXPECT_EQ(m.ValueToPixelX(1.0 / 16), 10);   // 0.5 -> 0
  EXPECT_EQ(m.ValueToPixelX(3.0 / 16), 12);   // 1.5 -> 2
  EXPECT_EQ(m.ValueToPixelX(5.0 / 16), 12);   // 2.5 -> 2
  EXPECT_EQ(m.ValueToPixelX(-3.0 / 16), 8);   // -1.5 -> -2
  EXPECT_EQ(m.ValueToPixelY(1.0 / 16), 28);   // B - 0
  EXPECT_EQ(m.ValueToPixelY(3.0 / 16), 26);   // B - 2
  EXPECT_EQ(m.ValueToPixelY(-5.0 / 16), 30);  // B + 2
}

TEST(PlotMapping, ValuesWithoutAPixelGoToTheCentre) {
  const TPlotMapping m = MakeMapping({0, 0, 101, 51}, -1.0, 1.0, -0.5, 0.5);
  // (0 + 101) div 2 and (0 + 51) div 2, truncating.
  for (double v : {NaN, Inf, -Inf, 1e300, -1e300, 5e7, -5e7}) {
    EXPECT_EQ(m.ValueToPixelX(v), 50) << v;
    EXPECT_EQ(m.ValueToPixelY(v), 25) << v;
  }
  // Just under 2^31 pixels of offset is still a pixel.
  const TPlotMapping wide = MakeMapping({0, 0, 1, 1}, 0.0, 1.0, 0.0, 1.0);
  EXPECT_EQ(wide.ValueToPixelX(2147483646.0), 2147483646);
  EXPECT_EQ(wide.ValueToPixelX(2147483647.0), 0);
  EXPECT_EQ(wide.ValueToPixelX(-2147483647.0), 0);
  EXPECT_EQ(wide.ValueToPixelY(2147483646.0), -2147483645);
  // An offset that is a pixel but lands outside int once the edge is added: the centre too.
  const TPlotMapping tall = MakeMapping({0, 0, 5, 5}, 0.0, 5.0, 0.0, 5.0);
  EXPECT_EQ(tall.ValueToPixelY(-2147483646.0), 2) << "5 + 2147483646 does not fit an int";
  EXPECT_EQ(tall.ValueToPixelY(-2147483642.0), 2147483647);
}

TEST(PlotMapping, ZeroAndNaNRangesMapToTheCentre) {
  TPlotMapping m = MakeMapping({-7, 3, 10, 20}, 2.0, 2.0, 0.0, 0.0);
  for (double v : {-1e9, 0.0, 2.0, 5.0, NaN}) {
    EXPECT_EQ(m.ValueToPixelX(v), 1) << v;   // (-7 + 10) div 2
    EXPECT_EQ(m.ValueToPixelY(v), 11) << v;  // (3 + 20) div 2
  }
  m.Horizontal.Maximum = NaN;
  m.Vertical.Minimum = -Inf;
  EXPECT_EQ(m.ValueToPixelX(1.0), 1);
  EXPECT_EQ(m.ValueToPixelY(1.0), 11);
  // The centre truncates toward zero.
  m = MakeMapping({-9, -9, 0, 0}, 0.0, 0.0, 0.0, 0.0);
  EXPECT_EQ(m.ValueToPixelX(0.0), -4);
  EXPECT_EQ(m.ValueToPixelY(0.0), -4);
}

TEST(PlotMapping, PixelToValue) {
  const TPlotMapping m = MakeMapping({0, 0, 200, 100}, -1.0, 1.0, -0.5, 0.5);
  EXPECT_EQ(m.PixelToValueX(0), -1.0);
  EXPECT_EQ(m.PixelToValueX(200), 1.0);
  EXPECT_EQ(m.PixelToValueX(100), 0.0);
  EXPECT_EQ(m.PixelToValueY(0), 0.5);
  EXPECT_EQ(m.PixelToValueY(100), -0.5);
  // n pixels down is a negative model length of n * range / span.
  EXPECT_DOUBLE_EQ(m.PixelToValueY(10) - m.PixelToValueY(0), -0.1);
  // Pixels far outside the surface convert without overflow.
  EXPECT_DOUBLE_EQ(m.PixelToValueX(std::numeric_limits<int>::min()), -1.0 - 2147483648.0 / 100.0);

  // A span under one pixel gives 0, whatever the range.
  for (TPixelRect rect : {TPixelRect{5, 5, 5, 5}, TPixelRect{9, 9, 3, 3}}) {
    const TPlotMapping empty = MakeMapping(rect, 3.0, 4.0, 3.0, 4.0);
    EXPECT_EQ(empty.PixelToValueX(7), 0.0);
    EXPECT_EQ(empty.PixelToValueY(7), 0.0);
  }
}

TEST(PlotMapping, RoundTripOnAnOffsetRect) {
  // PlotRect not at the origin (a printed page): pixel -> value -> pixel returns the pixel.
  const TPlotMapping m = MakeMapping({1234, 567, 1234 + 6943, 567 + 3799}, -1.0, 1.0, -0.55, 0.55);
  for (int px : {1234, 2000, 5000, 8177}) EXPECT_EQ(m.ValueToPixelX(m.PixelToValueX(px)), px);
  for (int py : {567, 1000, 4366}) EXPECT_EQ(m.ValueToPixelY(m.PixelToValueY(py)), py);
}

}  // namespace
