// SPDX-License-Identifier: GPL-3.0-or-later
// The pen's width in logical pixels: a line is Width x PixelRatio device pixels wide, so a wide
// pen and a high pixel ratio of the same product light the same pixels, and a width that is no
// usable number draws as the one-wide pen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <vector>

#include "canvas/RasterCanvas.h"
#include "canvas/TestImage.h"

namespace {

constexpr TColor White = ColorRGB(255, 255, 255);

// A polyline, a smooth ellipse's outline and a fine polyline, in the pen's width at the ratio.
TTestImage Drawing(double penWidth, double ratio, bool smooth) {
  TTestImage image(60, 50);
  image.Fill(Rgb(0, 0, 0));
  TRasterCanvas canvas(image);
  canvas.PixelRatio = ratio;
  canvas.Smooth = smooth;
  canvas.Pen.Color = White;
  canvas.Pen.Width = penWidth;
  const TCanvasPoint points[] = {{3, 4}, {40, 9}, {22, 44}, {55, 30}, {55, 2}};
  canvas.Polyline(points, std::size(points));
  canvas.Brush.Style = TBrushStyle::Clear;
  canvas.Ellipse(10, 12, 35, 40);
  const TFinePoint fine[] = {{5, 30, 3, -5}, {25, 36, -8, 2}, {48, 20, 0, 7}};
  canvas.FinePolyline(fine, std::size(fine));
  return image;
}

TEST(PenWidth, AWidePenDrawsAsAHigherPixelRatioOfTheSameProduct) {
  struct TRow {
    double Width, Ratio;  // drawn as...
    double SameWidth, SameRatio;
  };
  const TRow rows[] = {
      {2.0, 1.0, 1.0, 2.0}, {1.5, 2.0, 1.0, 3.0}, {3.0, 1.0, 1.0, 3.0},
      {2.0, 1.5, 1.0, 3.0}, {0.5, 2.0, 1.0, 1.0}, {2.5, 1.0, 1.0, 2.5},
  };
  for (const bool smooth : {false, true}) {
    for (const TRow& row : rows) {
      SCOPED_TRACE(::testing::Message() << row.Width << " at " << row.Ratio
                                        << (smooth ? " smooth" : " aliased"));
      EXPECT_EQ(Drawing(row.Width, row.Ratio, smooth),
                Drawing(row.SameWidth, row.SameRatio, smooth));
    }
  }
}

TEST(PenWidth, AWidthThatIsNoUsableNumberDrawsOneWide) {
  const double widths[] = {0.0, -2.0, std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(), 65.0};
  for (const bool smooth : {false, true}) {
    const TTestImage one = Drawing(1.0, 1.0, smooth);
    for (const double width : widths) {
      SCOPED_TRACE(::testing::Message() << width << (smooth ? " smooth" : " aliased"));
      EXPECT_EQ(Drawing(width, 1.0, smooth), one);
    }
  }
}

// An aliased horizontal line of width 2 at ratio 1 covers the rows whose centres lie within a
// pixel of the line's centre (row 5's middle, y = 5.5): rows 4 and 5; width 3 adds row 6.
TEST(PenWidth, AWideHorizontalLineCoversItsRowsAroundTheCentre) {
  struct TRow {
    double Width;
    std::vector<int> Rows;
  };
  const TRow rows[] = {{1.0, {5}}, {2.0, {4, 5}}, {3.0, {4, 5, 6}}, {4.0, {3, 4, 5, 6}}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Width);
    TTestImage image(20, 12);
    image.Fill(Rgb(0, 0, 0));
    TRasterCanvas canvas(image);
    canvas.Pen.Color = White;
    canvas.Pen.Width = row.Width;
    canvas.MoveTo(2, 5);
    canvas.LineTo(15, 5);
    for (int y = 0; y < 12; ++y) {
      const bool lit = std::find(row.Rows.begin(), row.Rows.end(), y) != row.Rows.end();
      for (int x = 0; x < 20; ++x) {
        const bool expected = lit && x >= 2 && x < 15;
        ASSERT_EQ(image.Pixel(x, y), expected ? Rgb(255, 255, 255) : Rgb(0, 0, 0))
            << x << ", " << y;
      }
    }
  }
}

}  // namespace
