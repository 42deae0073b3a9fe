// SPDX-License-Identifier: GPL-3.0-or-later
// Smooth and wide lines of the raster canvas: the coverage of every step, Wu's weights at one
// pixel, the ends, blending over what is there, clipping, safety far off the image, and the
// soft-edged ellipse.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

#include "canvas/RasterCanvas.h"
#include "canvas/TestImage.h"

namespace {

constexpr TColor White = ColorRGB(255, 255, 255);
constexpr TColor Red = ColorRGB(255, 0, 0);
constexpr TColor Green = ColorRGB(0, 255, 0);
constexpr TColor Blue = ColorRGB(0, 0, 255);

TTestImage Filled(int w, int h, TRgb fill = 0xFF000000u) {
  TTestImage image(w, h);
  image.Fill(fill);
  return image;
}

// Lines of the pen colour drawn one by one, each from its own MoveTo.
void Draw(TTestImage& image, double ratio, bool smooth, const std::vector<TLine>& lines,
          TColor pen = White) {
  TRasterCanvas canvas(image);
  canvas.PixelRatio = ratio;
  canvas.Smooth = smooth;
  canvas.Pen.Color = pen;
  for (const TLine& line : lines) {
    canvas.MoveTo(line.X1, line.Y1);
    canvas.LineTo(line.X2, line.Y2);
  }
}

// The share of a white pen in a pixel drawn over black, 0 .. 1.
double Share(const TTestImage& image, int x, int y) {
  return RedOf(image.Pixel(x, y)) / 255.0;
}

TEST(SmoothLine, EachStepCoversAsMuchAsTheLineIsWide) {
  // Per major step the shares add up to the width; nothing beyond the end pixel's step. Each
  // pixel loses under 2/255 to the 8-bit coverage and colour: 3 or 4 pixels per step at most.
  constexpr double Tolerance = 0.04;
  const std::vector<TLine> lines = {{10, 30, 50, 37}, {50, 30, 11, 41}, {30, 5, 36, 55},
                                    {30, 55, 18, 8},  {5, 5, 55, 55},   {8, 40, 52, 21},
                                    {29, 29, 30, 52}, {12, 12, 50, 12}};
  for (const double width : {1.0, 1.5, 2.0, 3.0}) {
    for (const TLine& line : lines) {
      TTestImage image = Filled(60, 60);
      Draw(image, width, true, {line});
      const bool xMajor = std::abs(line.Dx()) >= std::abs(line.Dy());
      const int a0 = xMajor ? line.X1 : line.Y1;
      const int a1 = xMajor ? line.X2 : line.Y2;
      const int step = a1 > a0 ? 1 : -1;
      for (int a = 0; a < 60; ++a) {
        double sum = 0.0;
        for (int b = 0; b < 60; ++b) sum += xMajor ? Share(image, a, b) : Share(image, b, a);
        const bool onLine = (a - a0) * step >= 0 && (a - a1) * step < 0;
        EXPECT_NEAR(sum, onLine ? width : 0.0, Tolerance)
            << "width " << width << ", line " << line.X1 << "," << line.Y1 << " to " << line.X2
            << "," << line.Y2 << ", major coordinate " << a;
      }
    }
  }
}

TEST(SmoothLine, OnePixelWideItHasWusWeights) {
  // From (2, 2) to (6, 3): the centre moves a quarter row per column; the start pixel is whole,
  // the end pixel left out. Shares of 1, 3/4, 1/2, 1/4 become 255, 191, 127, 63.
  TTestImage image = Filled(10, 6);
  Draw(image, 1.0, true, {{2, 2, 6, 3}});
  struct Row {
    int x, y, red;
  };
  const Row rows[] = {{2, 2, 255}, {2, 3, 0},   {3, 2, 191}, {3, 3, 63}, {4, 2, 127},
                      {4, 3, 127}, {5, 2, 63},  {5, 3, 191}, {6, 2, 0},  {6, 3, 0},
                      {1, 2, 0},   {3, 1, 0},   {3, 4, 0}};
  for (const Row& row : rows)
    EXPECT_EQ(RedOf(image.Pixel(row.x, row.y)), row.red) << row.x << ", " << row.y;
}

TEST(SmoothLine, AOneStepPieceLightsItsStartPixelWholeAndNothingElse) {
  // Smooth or not, one pixel wide: the band of one step covers the start pixel exactly, whatever
  // lies under it; a piece of no length, or one starting off the image, lights nothing.
  struct Row {
    int x0, y0, x1, y1;
    bool lit;  // the start pixel
  };
  const Row rows[] = {
      {4, 4, 5, 4, true},   {4, 4, 3, 4, true},  {4, 4, 4, 5, true},   {4, 4, 4, 3, true},
      {4, 4, 5, 5, true},   {4, 4, 3, 3, true},  {4, 4, 5, 3, true},   {4, 4, 3, 5, true},
      {4, 4, 4, 4, false},  {0, 0, -1, -1, true}, {7, 7, 8, 8, true},  {7, 0, 8, 0, true},
      {0, 7, 0, 8, true},   {-1, 3, 0, 3, false}, {3, 8, 3, 7, false}, {8, 8, 7, 7, false},
  };
  for (const bool smooth : {false, true}) {
    for (const Row& row : rows) {
      TTestImage image = Filled(8, 8, 0xFF0000FFu);
      Draw(image, 1.0, smooth, {{row.x0, row.y0, row.x1, row.y1}}, Red);
      for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
          const bool start = row.lit && x == row.x0 && y == row.y0;
          ASSERT_EQ(image.Pixel(x, y), start ? Rgb(255, 0, 0) : Rgb(0, 0, 255))
              << (smooth ? "smooth" : "aliased") << ", piece " << row.x0 << "," << row.y0
              << " to " << row.x1 << "," << row.y1 << ", pixel " << x << "," << y;
        }
      }
    }
  }
  // A wider smooth line spreads even one step beyond its start pixel: an eighth of a pixel on
  // either side at 1.25.
  TTestImage wide = Filled(8, 8);
  Draw(wide, 1.25, true, {{4, 4, 5, 4}});
  EXPECT_NEAR(Share(wide, 4, 3) + Share(wide, 4, 5), 0.25, 0.02);
}

TEST(SmoothLine, BlendsOverTheBackgroundAndEarlierLinesAndLightsEachJointOnce) {
  // Half a red pixel over blue is half of each.
  TTestImage image = Filled(8, 8, 0xFF0000FFu);
  Draw(image, 1.0, true, {{0, 0, 4, 2}}, Red);
  EXPECT_EQ(image.Pixel(1, 0), Rgb(127, 0, 127));
  EXPECT_EQ(image.Pixel(1, 1), Rgb(127, 0, 127));
  EXPECT_EQ(image.Pixel(0, 0), Rgb(255, 0, 0));

  // A red line crossing a green one: where it covers half a pixel, half of the green stays.
  TTestImage crossing = Filled(8, 8);
  Draw(crossing, 1.0, true, {{0, 3, 8, 3}}, Green);
  Draw(crossing, 1.0, true, {{2, 0, 5, 6}}, Red);
  EXPECT_EQ(crossing.Pixel(3, 3), Rgb(127, 127, 0));
  EXPECT_EQ(crossing.Pixel(4, 3), Rgb(127, 127, 0));
  EXPECT_EQ(crossing.Pixel(6, 3), Rgb(0, 255, 0)) << "the green line beside the red one";

  // A polyline's joints are drawn by the segment leaving them only: a pen at half strength
  // would show a second pass, so the joint is checked against a single segment.
  TTestImage polyline = Filled(10, 10, 0xFF0000FFu);
  {
    TRasterCanvas canvas(polyline);
    canvas.Smooth = true;
    canvas.Pen.Color = Red;
    canvas.MoveTo(1, 1);
    canvas.LineTo(5, 3);
    canvas.LineTo(8, 8);
  }
  TTestImage single = Filled(10, 10, 0xFF0000FFu);
  Draw(single, 1.0, true, {{5, 3, 8, 8}}, Red);
  EXPECT_EQ(polyline.Pixel(5, 3), single.Pixel(5, 3));
  EXPECT_EQ(polyline.Pixel(8, 8), Rgb(0, 0, 255)) << "the last end is left out";
}

TEST(WideLine, AliasedItLightsTheRoundedWidthAtEveryStep) {
  // 1.5 rounds to 2 pixels, 2.4 to 2, 3 to 3: every column of an x-major line inside the image
  // holds that many pixels, side by side, in the pen colour or not at all.
  for (const double ratio : {1.5, 2.0, 2.4, 3.0}) {
    const int expected = static_cast<int>(std::lround(ratio));
    for (const TLine& line : {TLine(5, 20, 45, 29), TLine(45, 10, 6, 25), TLine(5, 15, 45, 15)}) {
      TTestImage image = Filled(50, 40);
      Draw(image, ratio, false, {line}, Red);
      const int from = std::min(line.X1, line.X2 + 1);
      const int to = std::max(line.X1, line.X2 - 1);
      for (int x = from; x <= to; ++x) {
        int count = 0, first = -1, last = -1;
        for (int y = 0; y < 40; ++y) {
          const TRgb p = image.Pixel(x, y) & 0xFFFFFF;
          ASSERT_TRUE(p == 0 || p == 0xFF0000) << "only the pen colour";
          if (p == 0) continue;
          ++count;
          if (first < 0) first = y;
          last = y;
        }
        EXPECT_EQ(count, expected) << "ratio " << ratio << ", column " << x;
        EXPECT_EQ(last - first + 1, count) << "side by side";
      }
    }
  }
}

TEST(WideLine, ClippedLinesLightTheSamePixelsAsUnclippedOnes) {
  // Drawn on a 40 x 30 image, and on a large one 150 pixels to the right and below, where no end
  // leaves the image: the 40 x 30 window of the large image must be the small image exactly.
  constexpr int Shift = 150;
  std::mt19937 random(77);
  std::uniform_int_distribution<int> coordinate(-120, 160);
  for (const double ratio : {1.0, 1.5, 2.0}) {
    for (const bool smooth : {true, false}) {
      if (!smooth && ratio < 1.5) continue;  // the plain walk has its own tests
      for (int n = 0; n < 400; ++n) {
        const TLine line(coordinate(random), coordinate(random), coordinate(random),
                         coordinate(random));
        TTestImage small = Filled(40, 30);
        Draw(small, ratio, smooth, {line});
        TTestImage large = Filled(450, 450);
        Draw(large, ratio, smooth, {line.Translated(Shift, Shift)});
        ASSERT_EQ(small, large.Copy(Shift, Shift, 40, 30))
            << "ratio " << ratio << (smooth ? " smooth " : " aliased ") << line.X1 << ","
            << line.Y1 << " to " << line.X2 << "," << line.Y2;
      }
    }
  }
}

TEST(WideLine, NothingIsWrittenOutsideTheImageWhereverTheEndsLie) {
  // The image lies inside a larger block of memory, its rows padded; every word around it must
  // keep its guard value. The far ends also test the clipping's arithmetic: the test only ends
  // in time if lines are cut before they are walked.
  constexpr int W = 37, H = 23, Pad = 16;
  constexpr std::uint32_t Guard = 0x5A5A5A5Au;
  constexpr int Stride = W + 2 * Pad;
  std::vector<std::uint32_t> memory(static_cast<std::size_t>(Stride) * (H + 2 * Pad), Guard);
  std::uint32_t* const origin = memory.data() + Pad * Stride + Pad;
  TTestImage image(origin, W, H, Stride);
  image.Fill(0xFF000000u);
  const int far[] = {INT_MIN, -1000000000, -3, 0, 18, W, 1000000000, INT_MAX};
  // Ratios that are no usable number draw one pixel wide.
  for (const double ratio : {1.0, 1.5, 2.0, 3.0, 1e300, std::nan(""), -2.0, 0.0}) {
    for (const bool smooth : {true, false}) {
      TRasterCanvas canvas(image);
      canvas.PixelRatio = ratio;
      canvas.Smooth = smooth;
      canvas.Pen.Color = White;
      for (const int x0 : far)
        for (const int y0 : far)
          for (const int x1 : far)
            for (const int y1 : far) {
              canvas.MoveTo(x0, y0);
              canvas.LineTo(x1, y1);
            }
      canvas.Brush.Color = Blue;
      canvas.Ellipse(-5, -5, W + 5, H + 5);
      canvas.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
      canvas.Rectangle(INT_MIN, 3, INT_MAX, 5);
    }
  }
  for (int y = 0; y < H + 2 * Pad; ++y) {
    for (int x = 0; x < Stride; ++x) {
      const bool inside = y >= Pad && y < Pad + H && x >= Pad && x < Pad + W;
      if (!inside) {
        ASSERT_EQ(memory[static_cast<std::size_t>(y) * Stride + x], Guard) << x << ", " << y;
      }
    }
  }
  EXPECT_NE(image.Pixel(18, 0) & 0xFFFFFF, 0u) << "the lines through the image were drawn";
}

// The charge disc's box (1, 1, 11, 11) drawn smooth on black at a pixel ratio.
TTestImage SmoothDisc(double ratio, TBrushStyle style) {
  TTestImage image = Filled(12, 12);
  TRasterCanvas canvas(image);
  canvas.Smooth = true;
  canvas.PixelRatio = ratio;
  canvas.Pen.Color = Red;
  canvas.Brush.Color = Blue;
  canvas.Brush.Style = style;
  canvas.Ellipse(1, 1, 11, 11);
  return image;
}

TEST(SmoothEllipse, SoftEdgeInsideItsBoxSymmetricWithAnOutlineOneLogicalPixelWide) {
  const TTestImage disc = SmoothDisc(1.0, TBrushStyle::Solid);
  int partial = 0;
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const TRgb p = disc.Pixel(x, y) & 0xFFFFFF;
      if (x == 0 || y == 0 || x == 11 || y == 11) {
        EXPECT_EQ(p, 0u) << "outside the box";
      }
      // The box 1 .. 10 mirrors onto itself about 5.5 + 1/2.
      EXPECT_EQ(p, disc.Pixel(11 - x, y) & 0xFFFFFF) << x << ", " << y;
      EXPECT_EQ(p, disc.Pixel(x, 11 - y) & 0xFFFFFF) << x << ", " << y;
      if (p != 0 && p != 0xFF0000 && p != 0x0000FF) ++partial;
    }
  }
  EXPECT_EQ(disc.Pixel(5, 5), Rgb(0, 0, 255)) << "the brush inside";
  EXPECT_GE(RedOf(disc.Pixel(1, 5)), 240) << "the pen on the edge";
  EXPECT_EQ(BlueOf(disc.Pixel(1, 5)), 0);
  EXPECT_GT(partial, 8) << "a soft edge: pixels part pen, part brush or background";

  // Two device pixels to the logical one: the outline is two pixels wide.
  EXPECT_GE(BlueOf(disc.Pixel(2, 5)), 240) << "the brush a pixel further in";
  EXPECT_GT(RedOf(SmoothDisc(2.0, TBrushStyle::Solid).Pixel(2, 5)), 200);

  const TTestImage ring = SmoothDisc(1.0, TBrushStyle::Clear);
  EXPECT_EQ(ring.Pixel(5, 5) & 0xFFFFFF, 0u) << "no brush: the inside is left alone";
  EXPECT_GE(RedOf(ring.Pixel(1, 5)), 240);
}

// A smooth white polyline through fine points on a black square image of the given side.
TTestImage FineDrawn(const std::vector<TFinePoint>& points, double ratio, int side) {
  TTestImage image = Filled(side, side);
  TRasterCanvas canvas(image);
  canvas.PixelRatio = ratio;
  canvas.Smooth = true;
  canvas.Pen.Color = White;
  EXPECT_TRUE(canvas.TakesFinePoints());
  canvas.FinePolyline(points.data(), points.size());
  return image;
}

// Points placed finer than a pixel: a straight line cut at points lying exactly on it, each drawn
// as its own piece, lights the very pixels of the one piece from end to end (both ends at pixel
// centres, where the fine walk and the whole-pixel walk must agree), in every direction, one
// pixel wide and wider, inside the image and running out of it. Cut at the same points rounded to
// whole pixels, it bends.
TEST(FinePolyline, AStraightLineCutAtPointsOnItIsTheOnePiece) {
  struct Row {
    int dx, dy;  // in pixels
  };
  // Sixteen cuts along each: every cut lies on the line in sixteenths of a pixel.
  const Row rows[] = {{40, 15}, {-40, 15}, {40, -15}, {-40, -15}, {15, 40}, {-15, 40},
                      {15, -40}, {-15, -40}, {40, 0}, {0, -40}, {40, 40}, {-40, 24}};
  constexpr int Cuts = 16;
  // From the middle of the image, and from near its edge so that the line runs out of it.
  for (const int start : {55, 12}) {
  for (const double ratio : {1.0, 1.5, 2.0}) {
    for (const Row& row : rows) {
      SCOPED_TRACE(testing::Message() << "from " << start << ", ratio " << ratio << ", to "
                                      << row.dx << ", " << row.dy);
      const TFinePoint from{start, start, 0, 0};
      const TFinePoint to{start + row.dx, start + row.dy, 0, 0};
      std::vector<TFinePoint> cut;
      std::vector<TFinePoint> rounded;
      for (int k = 0; k <= Cuts; ++k) {
        // 16 (start + k d / 16) + 8 sixteenths from the pixel grid's origin, exactly; the pixel is
        // the one the point lies in.
        const int fx = 16 * start + 8 + k * row.dx;
        const int fy = 16 * start + 8 + k * row.dy;
        const int px = static_cast<int>(std::floor(fx / 16.0));
        const int py = static_cast<int>(std::floor(fy / 16.0));
        cut.push_back({px, py, static_cast<std::int8_t>(fx - (16 * px + 8)),
                       static_cast<std::int8_t>(fy - (16 * py + 8))});
        rounded.push_back({px, py, 0, 0});
      }
      const auto draw = [ratio](const std::vector<TFinePoint>& points) {
        return FineDrawn(points, ratio, 110);
      };
      const TTestImage whole = draw({from, to});
      EXPECT_EQ(draw(cut), whole);
      if (start == 55 && row.dx != 0 && row.dy != 0 && std::abs(row.dx) != std::abs(row.dy)) {
        EXPECT_NE(draw(rounded), whole) << "rounded cuts bend the line";
      }
    }
  }
  }
}

// Near the diagonal the roundings of the cuts to a sixteenth tip some pieces to the other side of
// 45 degrees. Walked along the other axis, such a piece meets its neighbours between pixel
// centres and their bands overlap or miss: the line shows notches. Kept on its neighbours' axis
// it stays within a few levels of the uncut line.
TEST(FinePolyline, ALineNearTheDiagonalShowsNoNotchesWhereItIsCut) {
  for (const double ratio : {1.0, 1.5}) {
    for (const int direction : {0, 1, 2, 3}) {
      SCOPED_TRACE(testing::Message() << "ratio " << ratio << ", direction " << direction);
      const double dx = (direction & 1) != 0 ? -60.0 : 60.0;
      const double dy = (direction & 2) != 0 ? -61.0 : 61.0;
      const double x0 = (direction & 1) != 0 ? 120.5 : 20.5;
      const double y0 = (direction & 2) != 0 ? 120.5 : 20.5;
      std::vector<TFinePoint> cut;
      constexpr int Cuts = 17;
      for (int k = 0; k <= Cuts; ++k) {
        const long fx = std::lround((x0 + dx * k / Cuts) * 16.0);
        const long fy = std::lround((y0 + dy * k / Cuts) * 16.0);
        const int px = static_cast<int>(std::floor(fx / 16.0));
        const int py = static_cast<int>(std::floor(fy / 16.0));
        cut.push_back({px, py, static_cast<std::int8_t>(fx - 16 * px - 8),
                       static_cast<std::int8_t>(fy - 16 * py - 8)});
      }
      const TTestImage whole = FineDrawn({cut.front(), cut.back()}, ratio, 140);
      const TTestImage pieces = FineDrawn(cut, ratio, 140);
      int worst = 0;
      for (int y = 0; y < whole.Height(); ++y)
        for (int x = 0; x < whole.Width(); ++x)
          worst = std::max(worst, std::abs(RedOf(whole.Pixel(x, y)) - RedOf(pieces.Pixel(x, y))));
      EXPECT_LE(worst, 16);
    }
  }
}

// A field line where the charge moves nearly at the wave speed has its nodes a small part of a
// pixel apart. Rounded to sixteenths, such short pieces point every way, and a piece walked
// along the other axis than its neighbours lights nothing where it crosses a column or row
// centre of theirs: the line falls apart into dashes. Walked along the axis the line itself
// runs along, the cut line is lit all along, and as brightly as the uncut one.
TEST(FinePolyline, ALineCutFinerThanAPixelHasNoGaps) {
  for (const double degrees : {0.0, 12.0, 30.0, 40.0, 44.0, 45.0, 46.0, 50.0, 60.0, 78.0, 90.0,
                               135.0, 220.0, 310.0}) {
    for (const double stepPixels : {0.07, 0.3, 0.8}) {
      SCOPED_TRACE(testing::Message() << degrees << " degrees, steps of " << stepPixels);
      const double angle = degrees * std::numbers::pi / 180.0;
      const double length = 70.0;
      const double x0 = 75.3 - 0.5 * length * std::cos(angle);
      const double y0 = 74.8 - 0.5 * length * std::sin(angle);
      std::vector<TFinePoint> cut;
      const int steps = static_cast<int>(length / stepPixels);
      for (int k = 0; k <= steps; ++k) {
        const double along = length * k / steps;
        const long fx = std::lround((x0 + along * std::cos(angle)) * 16.0);
        const long fy = std::lround((y0 + along * std::sin(angle)) * 16.0);
        const int px = static_cast<int>(std::floor(fx / 16.0));
        const int py = static_cast<int>(std::floor(fy / 16.0));
        cut.push_back({px, py, static_cast<std::int8_t>(fx - 16 * px - 8),
                       static_cast<std::int8_t>(fy - 16 * py - 8)});
      }
      const TTestImage whole = FineDrawn({cut.front(), cut.back()}, 1.0, 150);
      const TTestImage pieces = FineDrawn(cut, 1.0, 150);
      const auto total = [](const TTestImage& image) {
        long sum = 0;
        for (int y = 0; y < image.Height(); ++y)
          for (int x = 0; x < image.Width(); ++x) sum += RedOf(image.Pixel(x, y));
        return sum;
      };
      EXPECT_NEAR(static_cast<double>(total(pieces)), static_cast<double>(total(whole)),
                  0.03 * static_cast<double>(total(whole)));
      // Every point of the line, up to a pixel before its end, has a lit pixel beside it (a
      // line at 45 degrees lights two pixels of each column by half).
      for (double along = 0.0; along < length - 1.0; along += 0.25) {
        const int px = static_cast<int>(std::floor(x0 + along * std::cos(angle)));
        const int py = static_cast<int>(std::floor(y0 + along * std::sin(angle)));
        int brightest = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx)
            brightest = std::max(brightest, RedOf(pieces.Pixel(px + dx, py + dy)));
        ASSERT_GE(brightest, 100) << "a gap " << along << " pixels along";
      }
    }
  }
}

TEST(Polyline, DrawsWhatItsLineToCallsDraw) {
  // A field line's kind of path: mostly short steps, some steep and long, some jumps out of the
  // image and back, one far beyond its edge, crossing itself so that blends overlap. The
  // polyline reads pixels ahead of its pieces; it must change nothing.
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> step(-3, 3), jump(-100, 170), kind(0, 19);
  std::vector<TCanvasPoint> points{{30, 20}};
  for (int n = 0; n < 600; ++n) {
    TCanvasPoint next = points.back();
    const int k = kind(random);
    if (k == 0) {
      next = {jump(random), jump(random)};
    } else if (k == 1) {
      next.Y += 12 * step(random);
    } else {
      // Short steps come back onto the image.
      next.X = std::clamp(next.X + step(random), 0, 69);
      next.Y = std::clamp(next.Y + step(random), 0, 49);
    }
    if (n == 300) next = {INT_MAX / 2, -INT_MAX / 2};
    points.push_back(next);
  }
  for (const double ratio : {1.0, 1.5, 2.0}) {
    for (const bool smooth : {false, true}) {
      TTestImage byPieces = Filled(70, 50);
      TTestImage byPolyline = Filled(70, 50);
      {
        TRasterCanvas canvas(byPieces);
        canvas.PixelRatio = ratio;
        canvas.Smooth = smooth;
        canvas.Pen.Color = Green;
        canvas.TCanvas::Polyline(points.data(), points.size());
        canvas.LineTo(0, 0);
      }
      {
        TRasterCanvas canvas(byPolyline);
        canvas.PixelRatio = ratio;
        canvas.Smooth = smooth;
        canvas.Pen.Color = Green;
        canvas.Polyline(points.data(), points.size());
        // The pen is left on the last point.
        canvas.LineTo(0, 0);
      }
      EXPECT_EQ(byPolyline, byPieces) << "ratio " << ratio << (smooth ? " smooth" : " aliased");
    }
  }
}

}  // namespace
