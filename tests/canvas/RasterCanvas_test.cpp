// SPDX-License-Identifier: GPL-3.0-or-later
// The raster canvas pixel for pixel: lines in every octant, the end pixel, clipping of far and
// huge coordinates, ellipse and rectangle boxes.
#include "canvas/RasterCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "canvas/TestImage.h"

namespace {

constexpr TColor Red = ColorRGB(255, 0, 0);
constexpr TColor Blue = ColorRGB(0, 0, 255);

TTestImage BlackImage(int w, int h) {
  TTestImage image(w, h);
  image.Fill(0xFF000000u);
  return image;
}

std::vector<TPoint> LitPixels(const TTestImage& image) {
  std::vector<TPoint> lit;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if ((image.Pixel(x, y) & 0xFFFFFF) != 0) lit.emplace_back(x, y);
  return lit;
}

std::vector<TPoint> Sorted(std::vector<TPoint> points) {
  std::sort(points.begin(), points.end(),
            [](TPoint a, TPoint b) { return a.Y != b.Y ? a.Y < b.Y : a.X < b.X; });
  points.erase(std::unique(points.begin(), points.end()), points.end());
  return points;
}

std::vector<TPoint> DrawOne(int w, int h, int x0, int y0, int x1, int y1) {
  TTestImage image = BlackImage(w, h);
  TRasterCanvas canvas(image);
  canvas.Pen.Color = Red;
  canvas.MoveTo(x0, y0);
  canvas.LineTo(x1, y1);
  return LitPixels(image);
}

// The line rule written out pixel by pixel, without walking: step i of the major axis lights
// the pixel floor((2 i m + M - 1) / (2 M)) minor steps away. Only the steps whose major
// coordinate lies inside the image are visited, so huge lines are cheap here as well.
__extension__ typedef __int128 TWide;
std::vector<TPoint> ReferenceLine(int w, int h, int x0, int y0, int x1, int y1) {
  const std::int64_t dx = std::int64_t{x1} - x0, dy = std::int64_t{y1} - y0;
  const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const std::int64_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  const std::int64_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  const std::int64_t a0 = xMajor ? x0 : y0, sa = xMajor ? sx : sy, size = xMajor ? w : h;
  std::vector<TPoint> lit;
  for (std::int64_t a = 0; a < size; ++a) {
    const std::int64_t i = (a - a0) * sa;
    if (i < 0 || i >= major) continue;
    const std::int64_t k =
        static_cast<std::int64_t>((TWide{2} * i * minor + major - 1) / (TWide{2} * major));
    const std::int64_t x = xMajor ? a : x0 + sx * k;
    const std::int64_t y = xMajor ? y0 + sy * k : a;
    if (x >= 0 && x < w && y >= 0 && y < h)
      lit.emplace_back(static_cast<int>(x), static_cast<int>(y));
  }
  return Sorted(lit);
}

TEST(RasterCanvasLine, ShortLinesInAllEightOctants) {
  // From (5, 5), four major steps against one minor: the row changes on the last step only
  // (at i = 2 the exact minor offset is 0.5, and a tie stays on the start's side).
  struct Row {
    int dx, dy;
    std::vector<TPoint> pixels;
  };
  const Row rows[] = {
      {4, 1, {{5, 5}, {6, 5}, {7, 5}, {8, 6}}},
      {4, -1, {{5, 5}, {6, 5}, {7, 5}, {8, 4}}},
      {-4, 1, {{5, 5}, {4, 5}, {3, 5}, {2, 6}}},
      {-4, -1, {{5, 5}, {4, 5}, {3, 5}, {2, 4}}},
      {1, 4, {{5, 5}, {5, 6}, {5, 7}, {6, 8}}},
      {-1, 4, {{5, 5}, {5, 6}, {5, 7}, {4, 8}}},
      {1, -4, {{5, 5}, {5, 4}, {5, 3}, {6, 2}}},
      {-1, -4, {{5, 5}, {5, 4}, {5, 3}, {4, 2}}},
      {3, 2, {{5, 5}, {6, 6}, {7, 6}}},
      {-2, -3, {{5, 5}, {4, 4}, {4, 3}}},
      {3, 3, {{5, 5}, {6, 6}, {7, 7}}},
      {-3, 3, {{5, 5}, {4, 6}, {3, 7}}},
      {3, 0, {{5, 5}, {6, 5}, {7, 5}}},
      {0, -3, {{5, 5}, {5, 4}, {5, 3}}},
      {1, 0, {{5, 5}}},
      {-1, 1, {{5, 5}}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(DrawOne(12, 12, 5, 5, 5 + row.dx, 5 + row.dy), Sorted(row.pixels))
        << "to (" << row.dx << ", " << row.dy << ")";
  }
}

TEST(RasterCanvasLine, EndPixelZeroLengthAndPolylines) {
  EXPECT_TRUE(DrawOne(8, 8, 3, 3, 3, 3).empty());

  TTestImage image = BlackImage(10, 10);
  TRasterCanvas canvas(image);
  canvas.Pen.Color = Red;
  canvas.MoveTo(1, 1);
  canvas.LineTo(4, 1);
  canvas.LineTo(4, 4);
  // The end of the last segment is not drawn; each joint is drawn once, by the segment leaving it.
  const std::vector<TPoint> expected = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}};
  EXPECT_EQ(LitPixels(image), Sorted(expected));
  EXPECT_EQ(image.Pixel(4, 4) & 0xFFFFFF, 0u);
  EXPECT_EQ(image.Pixel(1, 1), 0xFFFF0000u) << "pen colour as 0xffRRGGBB";
}

TEST(RasterCanvasLine, LinesInsideTheImageFollowTheRule) {
  // Lines with both ends inside take their own short path through the canvas.
  std::mt19937 random(7);
  std::uniform_int_distribution<int> column(0, 39), row(0, 29);
  for (int n = 0; n < 3000; ++n) {
    const int x0 = column(random), y0 = row(random), x1 = column(random), y1 = row(random);
    ASSERT_EQ(DrawOne(40, 30, x0, y0, x1, y1), ReferenceLine(40, 30, x0, y0, x1, y1))
        << "(" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << ")";
  }
}

TEST(RasterCanvasLine, ClippedLinesLightTheSamePixelsAsUnclippedOnes) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> coordinate(-300, 300);
  for (int n = 0; n < 3000; ++n) {
    const int x0 = coordinate(random), y0 = coordinate(random);
    const int x1 = coordinate(random), y1 = coordinate(random);
    ASSERT_EQ(DrawOne(40, 30, x0, y0, x1, y1), ReferenceLine(40, 30, x0, y0, x1, y1))
        << "(" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << ")";
  }
}

TEST(RasterCanvasLine, HugeCoordinatesAreClippedFirst) {
  // Each of these would be a walk of 10^9 pixels or more: the test only ends in time if the
  // lines are clipped before they are walked, and none may overflow on the way.
  struct Row {
    int x0, y0, x1, y1;
  };
  const Row rows[] = {
      {20, 15, 1000000000, -1000000000},
      {1000000000, -1000000000, 20, 15},
      {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
      {INT_MAX, INT_MIN, INT_MIN, INT_MAX},
      {-1000000000, 7, 1000000000, 8},
      {INT_MIN, 3, INT_MAX, 3},
      {17, INT_MIN, 18, INT_MAX},
      {5, 5, 2000000000, 5 + 333333333},
      {INT_MIN, INT_MIN, INT_MIN + 1, INT_MAX},  // entirely off the image
  };
  for (const Row& row : rows) {
    EXPECT_EQ(DrawOne(64, 48, row.x0, row.y0, row.x1, row.y1),
              ReferenceLine(64, 48, row.x0, row.y0, row.x1, row.y1))
        << "(" << row.x0 << ", " << row.y0 << ") to (" << row.x1 << ", " << row.y1 << ")";
  }
  EXPECT_FALSE(DrawOne(64, 48, 20, 15, 1000000000, -1000000000).empty());
  EXPECT_TRUE(DrawOne(64, 48, INT_MIN, INT_MIN, INT_MIN + 1, INT_MAX).empty());

  // Many long lines through the image: cheap only when clipped.
  TTestImage image = BlackImage(1920, 1050);
  TRasterCanvas canvas(image);
  canvas.Pen.Color = Blue;
  for (int n = 0; n < 20000; ++n) {
    canvas.MoveTo(960 + n % 100, 525);
    canvas.LineTo(n % 2 ? 1000000000 : -1000000000, n % 3 ? -999999999 : 999999999);
  }
  EXPECT_EQ(image.Pixel(960, 525), 0xFF0000FFu);
}

// The picture of a shape drawn on a 12 x 12 image: '.' untouched, 'o' pen, '#' brush.
std::vector<std::string> Picture(const TTestImage& image) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.Height(); ++y) {
    std::string row;
    for (int x = 0; x < image.Width(); ++x) {
      const TRgb p = image.Pixel(x, y) & 0xFFFFFF;
      row += p == 0 ? '.' : p == 0xFF0000 ? 'o' : p == 0x0000FF ? '#' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

template <class Draw>
std::vector<std::string> DrawShape(Draw draw, TBrushStyle style = TBrushStyle::Solid) {
  TTestImage image = BlackImage(12, 12);
  TRasterCanvas canvas(image);
  canvas.Pen.Color = Red;
  canvas.Brush.Color = Blue;
  canvas.Brush.Style = style;
  draw(canvas);
  return Picture(image);
}

TEST(RasterCanvasShapes, EllipseFillsItsBoxWithoutRightAndBottomEdges) {
  // The charge disc's box: (cx - 5, cy - 5, cx + 5, cy + 5) covers 10 x 10 pixels.
  const std::vector<std::string> disc = {
      "............",  //
      "....oooo....",  //
      "..oo####oo..",  //
      "..o######o..",  //
      ".o########o.",  //
      ".o########o.",  //
      ".o########o.",  //
      ".o########o.",  //
      "..o######o..",  //
      "..oo####oo..",  //
      "....oooo....",  //
      "............",  //
  };
  EXPECT_EQ(DrawShape([](TCanvas& c) { c.Ellipse(1, 1, 11, 11); }), disc);
  EXPECT_EQ(DrawShape([](TCanvas& c) { c.Ellipse(11, 11, 1, 1); }), disc) << "corners swapped";

  std::vector<std::string> ring = disc;
  for (std::string& row : ring) std::replace(row.begin(), row.end(), '#', '.');
  EXPECT_EQ(DrawShape([](TCanvas& c) { c.Ellipse(1, 1, 11, 11); }, TBrushStyle::Clear), ring);

  const std::vector<std::string> small = DrawShape([](TCanvas& c) {
    c.Ellipse(0, 0, 1, 1);   // one pixel
    c.Ellipse(3, 0, 5, 2);   // 2 x 2: all outline
    c.Ellipse(7, 0, 7, 5);   // empty box
    c.Ellipse(0, 4, 12, 7);  // wide and flat, crossing the image
  });
  EXPECT_EQ(small[0], "o..oo.......");
  EXPECT_EQ(small[1], "...oo.......");
  EXPECT_EQ(small[2], "............");
  EXPECT_EQ(small[3], "............");
  EXPECT_EQ(small[4].front(), '.');
  EXPECT_EQ(small[5].substr(0, 1) + small[5].substr(11), "oo");
  EXPECT_NE(small[5].find('#'), std::string::npos);
  EXPECT_EQ(small[7], "............");
}

TEST(RasterCanvasShapes, RectangleOutlineAndFill) {
  const std::vector<std::string> picture = DrawShape([](TCanvas& c) {
    c.Rectangle(1, 1, 6, 5);    // columns 1..5, rows 1..4
    c.Rectangle(8, 2, 10, 4);   // a node point: 2 x 2, all outline
    c.Rectangle(-5, 7, 3, 10);  // left edge off the image
    c.Rectangle(9, 9, 9, 11);   // empty
  });
  const std::vector<std::string> expected = {
      "............",  //
      ".ooooo......",  //
      ".o###o..oo..",  //
      ".o###o..oo..",  //
      ".ooooo......",  //
      "............",  //
      "............",  //
      "ooo.........",  //
      "##o.........",  //
      "ooo.........",  //
      "............",  //
      "............",  //
  };
  EXPECT_EQ(picture, expected);

  // A box far larger than the image: only the fill shows.
  const std::vector<std::string> huge = DrawShape([](TCanvas& c) {
    c.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    c.Ellipse(-1000000000, -1000000000, 1000000000, 1000000000);
  });
  for (const std::string& row : huge) EXPECT_EQ(row, std::string(12, '#'));
}

TEST(RasterCanvasShapes, ASpanOfAnyLengthAndStartFillsExactlyItsPixels) {
  // A one-row rectangle is one span in the pen's colour; spans are filled several pixels a
  // store, so every length and start around that width is tried, on a row that is not black.
  constexpr int Width = 19;
  for (int left = -2; left < 6; ++left) {
    for (int length = 0; length <= 13; ++length) {
      TTestImage image(Width, 1);
      image.Fill(0xFF123456u);
      {
        TRasterCanvas canvas(image);
        canvas.Pen.Color = ColorRGB(255, 255, 255);
        canvas.Rectangle(left, 0, left + length, 1);
      }
      for (int x = 0; x < Width; ++x) {
        const bool inside = x >= left && x < left + length;
        ASSERT_EQ(image.Pixel(x, 0), inside ? 0xFFFFFFFFu : 0xFF123456u)
            << "span from " << left << ", " << length << " long, pixel " << x;
      }
    }
  }
}

}  // namespace
