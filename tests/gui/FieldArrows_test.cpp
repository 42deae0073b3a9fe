// SPDX-License-Identifier: GPL-3.0-or-later
// The field arrows: the colour scale, the grid, where arrows are left out, their direction for a
// charge at rest and in uniform motion, and the menu item that shows them on the main window,
// in the zoom view and on the printing canvas.
#include "render/FieldArrows.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "MainFormDriver.h"
#include "engine/SimulationState.h"
#include "plot/PainterCanvas.h"
#include "plot/RasterCanvas.h"
#include "render/TextDrawing.h"
#include "views/ZoomView.h"

namespace {

constexpr int Width = 800;
constexpr int Height = 400;
constexpr double PixelsPerUnit = 400.0;  // x from -1 to 1 over 800 pixels

TPlotMapping MappingOf(double halfWidth) {
  TPlotMapping mapping;
  mapping.PlotRect = {0, 0, Width, Height};
  mapping.DrawArea = mapping.PlotRect;
  mapping.Horizontal = {false, -halfWidth, halfWidth};
  mapping.Vertical = {false, -halfWidth / 2, halfWidth / 2};
  return mapping;
}

// The channels of a colour, each within one unit of the expected one (rounding of the mix).
void ExpectColour(TColor actual, unsigned r, unsigned g, unsigned b) {
  EXPECT_NEAR(ColorRed(actual), r, 1.0);
  EXPECT_NEAR(ColorGreen(actual), g, 1.0);
  EXPECT_NEAR(ColorBlue(actual), b, 1.0);
}

TEST(FieldArrowColour, TheScaleRunsOverFourDecadesAndHoldsItsEndsBeyond) {
  struct Row {
    double magnitude;
    int anchor;  // the scale's colour at this decade boundary
  };
  const Row rows[] = {{0.1, 0},  {1.0, 1}, {10.0, 2}, {100.0, 3}, {1000.0, 4},
                      {1e-6, 0}, {0.0, 0}, {-5.0, 0}, {1e9, 4},   {std::nan(""), 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.magnitude);
    const TColor expected = FieldArrowScale[row.anchor];
    ExpectColour(FieldArrowColor(row.magnitude), ColorRed(expected), ColorGreen(expected),
                 ColorBlue(expected));
  }
  // Half a decade above 10 lies half-way between the colours of 10 and 100.
  const TColor a = FieldArrowScale[2];
  const TColor b = FieldArrowScale[3];
  ExpectColour(FieldArrowColor(std::sqrt(10.0) * 10.0), (ColorRed(a) + ColorRed(b)) / 2.0 + 0.5,
               (ColorGreen(a) + ColorGreen(b)) / 2.0 + 0.5,
               (ColorBlue(a) + ColorBlue(b)) / 2.0 + 0.5);
}

// Between the decades each channel is the linear mix in log10 |E| of the colours at the decade's
// ends, rounded: over a sweep finer than the colours' steps, at every binary order of magnitude
// the scale spans and one beyond either end. The colour's logarithm is good to 1e-5 of a decade,
// so where the mix lies within a hundredth of a rounding boundary either rounding is right.
TEST(FieldArrowColour, EachChannelIsTheRoundedMixOfItsDecadesEnds) {
  const auto channel = [](TColor c, int k) {
    return k == 0 ? ColorRed(c) : k == 1 ? ColorGreen(c) : ColorBlue(c);
  };
  int exact = 0;
  for (int step = 0; step < 16 * 4096; ++step) {
    const double magnitude = std::exp2(-5.0 + step / 4096.0);
    const double t = std::clamp(std::log10(magnitude) + 1.0, 0.0, 4.0);
    const int decade = std::min(static_cast<int>(t), 3);
    const double f = t - decade;
    const TColor colour = FieldArrowColor(magnitude);
    for (int k = 0; k < 3; ++k) {
      const double mix = (1.0 - f) * channel(FieldArrowScale[decade], k) +
                         f * channel(FieldArrowScale[decade + 1], k);
      const double nearest = std::floor(mix + 0.5);
      if (std::fabs(mix + 0.5 - std::round(mix + 0.5)) < 0.01) {
        ASSERT_NEAR(channel(colour, k), mix, 0.52) << magnitude << " channel " << k;
      } else {
        ASSERT_EQ(channel(colour, k), nearest) << magnitude << " channel " << k;
        ++exact;
      }
    }
  }
  EXPECT_GT(exact, 3 * 16 * 4000);
}

TEST(FieldArrowGrid, PointsAreCentredOneSpacingApartAndScaleWithThePixelRatio) {
  struct Row {
    TPixelRect area;
    double ratio;
    TArrowGrid expected;
  };
  const Row rows[] = {
      {{0, 0, 800, 400}, 1.0, {20, 20, 20, 10, 40}},
      {{0, 30, 1920, 1080}, 1.0, {20, 55, 48, 26, 40}},
      {{0, 0, 1600, 800}, 2.0, {40, 40, 20, 10, 80}},
      {{10, 10, 30, 30}, 1.0, {20, 20, 1, 1, 40}},  // smaller than one spacing: one point
      {{0, 0, 0, 400}, 1.0, {0, 0, 0, 0, 40}},      // no width: no point
  };
  for (const Row& row : rows) {
    const TArrowGrid grid = FieldArrowGridOf(row.area, row.ratio);
    EXPECT_EQ(grid.Left, row.expected.Left);
    EXPECT_EQ(grid.Top, row.expected.Top);
    EXPECT_EQ(grid.Columns, row.expected.Columns);
    EXPECT_EQ(grid.Rows, row.expected.Rows);
    EXPECT_EQ(grid.Spacing, row.expected.Spacing);
  }
}

// Whether a pixel within one of (x, y) has the colour: a line's pixels lie within one row or
// column of the exact line.
bool Near(const QImage& image, int x, int y, TColor color) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (image.pixel(x + dx, y + dy) == TRasterCanvas::PixelOf(color)) return true;
    }
  }
  return false;
}

// Whether a grid point lies near enough the legend's box (empty where the legend is left out)
// for the legend to cover some of its arrow.
bool NearLegend(const TPixelRect& legend, int px, int py) {
  constexpr int Reach = FieldArrowLength / 2 + 13;
  return legend.Right > legend.Left && px > legend.Left - Reach && py > legend.Top - Reach;
}

class FieldArrowTest : public ::testing::Test {
 protected:
  void Reset(TVector2 position, TVector2 beta) {
    Field.InitNodes(200, 40, ModelWidth);
    Field.ResetNodes(200, 40, position, beta, ModelWidth, 5);
  }
  // The arrow at a grid pixel, if one belongs there.
  std::optional<TFieldArrow> ArrowAt(int px, int py) {
    TFieldArrow arrow;
    if (!FieldArrowAt({Canvas, Mapping, {}, 10}, Field, 200, px, py, arrow)) return std::nullopt;
    return arrow;
  }
  TFieldSimulation Field;
  TPlotMapping Mapping = MappingOf(1.0);
  QImage Image{Width, Height, QImage::Format_RGB32};
  TRasterCanvas Canvas{Image};
};

// The electron's field points at a charge at rest: from the grid pixel towards the charge's pixel,
// with |E| = 1 / r^2; tail and tip lie the arrow's length apart.
TEST_F(FieldArrowTest, AtRestEveryArrowPointsAtTheChargeWithCoulombStrength) {
  const TVector2 charge{0.2, 0.1};
  Reset(charge, {});
  Image.fill(Qt::black);
  DrawFieldArrows({Canvas, Mapping, {}, 10}, Field, 200);
  const TArrowGrid grid = FieldArrowGridOf(Mapping.DrawArea);
  int arrows = 0;
  for (int row = 0; row < grid.Rows; ++row) {
    for (int column = 0; column < grid.Columns; ++column) {
      const int px = grid.Left + column * grid.Spacing;
      const int py = grid.Top + row * grid.Spacing;
      const std::optional<TFieldArrow> arrow = ArrowAt(px, py);
      ASSERT_TRUE(arrow) << px << ", " << py;
      ++arrows;
      // Towards the charge in pixels (rows grow downwards); both at exact model points.
      const double towardsX = (charge.X + 1.0) * PixelsPerUnit - px;
      const double towardsY = (0.5 - charge.Y) * PixelsPerUnit - py;
      const double distance = std::hypot(towardsX, towardsY);
      EXPECT_NEAR(arrow->DirX, towardsX / distance, 1e-9);
      EXPECT_NEAR(arrow->DirY, towardsY / distance, 1e-9);
      const double r = distance / PixelsPerUnit;
      EXPECT_NEAR(arrow->Magnitude * r * r, 1.0, 1e-9);
      const double length = std::hypot(arrow->TipX - arrow->TailX, arrow->TipY - arrow->TailY);
      EXPECT_NEAR(length, FieldArrowLength, 1.5);  // each end rounded to its pixel
      if (!NearLegend(FieldArrowLegendBox(Mapping.DrawArea), px, py)) {
        EXPECT_TRUE(Near(Image, px, py, FieldArrowColor(1.0 / (r * r)))) << px << ", " << py;
      }
    }
  }
  EXPECT_EQ(arrows, 200);
}

// In uniform motion the field points along the line from the charge's present position (not
// the retarded one), with the strength (1 - b^2) / (1 - b^2 sin^2 psi)^(3/2) / r^2.
TEST_F(FieldArrowTest, InUniformMotionArrowsPointAtThePresentPosition) {
  const double b = 0.9;
  const TVector2 charge{-0.3, 0.05};
  Reset(charge, {b, 0.0});
  ASSERT_NEAR(Field.ChargePos.X, charge.X, 1e-12);
  // Behind the charge and beside it: ahead of it the field has not come from the history yet.
  for (const auto& [px, py] : {std::pair{100, 60}, {60, 200}, {260, 340}, {150, 380}}) {
    SCOPED_TRACE(px);
    const std::optional<TFieldArrow> arrow = ArrowAt(px, py);
    ASSERT_TRUE(arrow);
    const double rx = (px / PixelsPerUnit - 1.0) - charge.X;  // from the charge to the point
    const double ry = (0.5 - py / PixelsPerUnit) - charge.Y;
    const double r = std::hypot(rx, ry);
    EXPECT_NEAR(arrow->DirX, -rx / r, 1e-9);
    EXPECT_NEAR(arrow->DirY, ry / r, 1e-9);
    const double sinPsi = ry / r;
    const double strength = (1.0 - b * b) / std::pow(1.0 - b * b * sinPsi * sinPsi, 1.5) / (r * r);
    EXPECT_NEAR(arrow->Magnitude / strength, 1.0, 1e-9);
  }
}

TEST_F(FieldArrowTest, NoArrowWithinThreePixelsOfTheCharge) {
  // Grid pixel (420, 220) is model (0.05, -0.05); the charge sits some pixels to its right.
  struct Row {
    double gapPixels;
    bool arrow;
  };
  const Row rows[] = {{0.0, false}, {2.0, false}, {3.0, false}, {3.5, true}, {5.0, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.gapPixels);
    Reset({0.05 + row.gapPixels / PixelsPerUnit, -0.05}, {});
    EXPECT_EQ(ArrowAt(420, 220).has_value(), row.arrow);
  }
}

// The recorded history reaches as far as light travelled in ISize ticks, ModelWidth = 2 units:
// beyond that the field is unknown and no arrow is drawn, nor anything in its colours.
TEST_F(FieldArrowTest, NoArrowWhereTheFieldIsUnknown) {
  Mapping = MappingOf(4.0);  // 100 pixels per unit, the charge at rest at the centre
  Reset({}, {});
  Image.fill(Qt::black);
  DrawFieldArrows({Canvas, Mapping, {}, 10}, Field, 200);
  const TArrowGrid grid = FieldArrowGridOf(Mapping.DrawArea);
  int inside = 0;
  int outside = 0;
  for (int row = 0; row < grid.Rows; ++row) {
    for (int column = 0; column < grid.Columns; ++column) {
      const int px = grid.Left + column * grid.Spacing;
      const int py = grid.Top + row * grid.Spacing;
      const double r = std::hypot(px - 400.0, py - 200.0) / 100.0;
      if (std::fabs(r - 2.0) < 0.05) continue;  // the edge of the history itself
      const bool expected = r < 2.0;
      EXPECT_EQ(ArrowAt(px, py).has_value(), expected) << px << ", " << py;
      (expected ? inside : outside) += 1;
    }
  }
  EXPECT_GT(inside, 0);
  EXPECT_GT(outside, 0);
  // Nothing but black beyond the reach of the arrows, outside the legend's box.
  const TPixelRect legend = FieldArrowLegendBox(Mapping.DrawArea);
  ASSERT_GT(legend.Right, legend.Left);
  const int legendLeft = legend.Left;
  const int legendTop = legend.Top;
  for (int y = 0; y < Height; ++y) {
    for (int x = 0; x < Width; ++x) {
      if (x >= legendLeft && y >= legendTop) continue;
      const double r = std::hypot(x - 400.0, y - 200.0) / 100.0;
      if (r > 2.0 + (FieldArrowLength / 2.0 + 2.0) / 100.0) {
        ASSERT_EQ(Image.pixel(x, y), 0xFF000000u) << x << ", " << y;
      }
    }
  }
}

// How many of the arrows that belong to the view show in picture: a pixel within one of the
// middle of their shaft differs from the same picture drawn without arrows (the screen's lines
// may be anti-aliased, so colours are not compared here). Grid points under the legend are left
// out.
struct TArrowCount {
  int Shown = 0;
  int Expected = 0;
};
TArrowCount CountArrows(const QImage& picture, const QImage& without, const TPlotMapping& mapping,
                        TVector2 origin, const TFieldSimulation& field, int ISize) {
  QImage scratch(1, 1, QImage::Format_RGB32);
  TRasterCanvas unused(scratch);
  const TFieldView view{unused, mapping, origin, 10};
  TArrowCount count;
  const TPixelRect area = mapping.DrawArea;
  const TArrowGrid grid = FieldArrowGridOf(area);
  const TPixelRect legend = FieldArrowLegendBox(area);
  for (int row = 0; row < grid.Rows; ++row) {
    for (int column = 0; column < grid.Columns; ++column) {
      const int px = grid.Left + column * grid.Spacing;
      const int py = grid.Top + row * grid.Spacing;
      if (NearLegend(legend, px, py)) continue;
      TFieldArrow arrow;
      if (!FieldArrowAt(view, field, ISize, px, py, arrow)) continue;
      ++count.Expected;
      bool changed = false;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          changed = changed || picture.pixel(px + dx, py + dy) != without.pixel(px + dx, py + dy);
        }
      }
      if (changed) ++count.Shown;
    }
  }
  return count;
}

// The legend keeps to the bottom-right quarter of its view, so that it never covers the middle,
// where the magnified view holds the charge; where it does not fit there, it is left out. On the
// main plot of a window it shows at every pixel ratio.
TEST(FieldArrowLegend, StaysInTheBottomRightQuarterOrIsLeftOut) {
  struct TRow {
    int Width, Height;
    double Ratio;
    bool Shown;
  };
  // At ratio 1 the English legend's box is 206 x 95 pixels, 222 x 111 with its margins: twice
  // that is the smallest area that shows it.
  const TRow rows[] = {
      {800, 400, 1.0, true},    {1920, 1050, 2.0, true}, {1400, 850, 1.5, true},
      {444, 222, 1.0, true},    {443, 222, 1.0, false},  {444, 221, 1.0, false},
      {360, 240, 1.0, false},   {700, 400, 2.0, false},  {1000, 600, 2.0, true},
      {300, 400, 1.0, false},   {400, 140, 1.0, false},  {3840, 2100, 3.0, true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.Width << " x " << row.Height << " at " << row.Ratio);
    QImage image(row.Width, row.Height, QImage::Format_RGB32);
    image.fill(Qt::black);
    TRasterCanvas canvas(image);
    DrawFieldArrowLegend(canvas, {0, 0, row.Width, row.Height}, row.Ratio);
    bool lit = false;
    for (int y = 0; y < row.Height; ++y) {
      for (int x = 0; x < row.Width; ++x) {
        if (image.pixel(x, y) == 0xFF000000u) continue;
        lit = true;
        ASSERT_GE(x, row.Width / 2) << x << ", " << y;
        ASSERT_GE(y, row.Height / 2) << x << ", " << y;
      }
    }
    EXPECT_EQ(lit, row.Shown);
  }
}

// The legend's words in Japanese, as the catalogue gives them, and words longer than any.
TPictureWords JapaneseWords() {
  TPictureWords words = TPictureWords::English();
  words[TPictureWord::ArrowsTitle] = "矢印：電子の電界 E";
  words[TPictureWord::ArrowsReversed] = "（正電荷では逆向き）";
  return words;
}
TPictureWords LongWords() {
  TPictureWords words = TPictureWords::English();
  words[TPictureWord::ArrowsTitle] = "Arrows: the electric field E of the electron at each point";
  return words;
}

// Whatever its words, the legend's box holds all it draws and is as wide as its longest text
// needs; longer words widen it.
TEST(FieldArrowLegend, TheBoxHoldsItsTextAndGrowsWithItsWords) {
  struct TRow {
    TPictureWords Words;
    double Ratio;
  };
  const TRow rows[] = {{TPictureWords::English(), 1.0}, {JapaneseWords(), 1.0},
                       {LongWords(), 1.0},              {TPictureWords::English(), 2.0},
                       {JapaneseWords(), 1.5},          {LongWords(), 2.0}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.Words[TPictureWord::ArrowsTitle] << " at "
                                      << row.Ratio);
    QImage image(2400, 900, QImage::Format_RGB32);
    image.fill(Qt::black);
    TRasterCanvas canvas(image);
    const TPixelRect area{0, 0, image.width(), image.height()};
    DrawFieldArrowLegend(canvas, area, row.Ratio, row.Words);
    const TPixelRect box = FieldArrowLegendBox(area, row.Ratio, row.Words);
    ASSERT_GT(box.Right, box.Left);
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) == 0xFF000000u) continue;
        ASSERT_TRUE(x >= box.Left && x < box.Right && y >= box.Top && y < box.Bottom)
            << x << ", " << y;
      }
    }
    for (const TPictureWord word :
         {TPictureWord::ArrowsTitle, TPictureWord::ArrowsReversed, TPictureWord::ArrowsStrength}) {
      EXPECT_GT(box.Right - box.Left,
                MeasureText(row.Words[word], PictureTextSize * row.Ratio).Width);
    }
    // Lit across most of its box: the text is there.
    int lit = 0;
    for (int y = box.Top + 2; y < box.Bottom - 2; ++y)
      for (int x = box.Left + 2; x < box.Right - 2; ++x)
        if (image.pixel(x, y) != 0xFF000000u) ++lit;
    EXPECT_GT(lit, (box.Right - box.Left) * 10);
  }
  const TPixelRect area{0, 0, 2400, 900};
  EXPECT_LT(FieldArrowLegendBox(area, 1.0, LongWords()).Left, FieldArrowLegendBox(area, 1.0).Left);
}

// The arrows pass their words on to the legend they draw.
TEST_F(FieldArrowTest, TheArrowsLegendSpeaksTheirWords) {
  Reset({0.2, 0.1}, {});
  Image.fill(Qt::black);
  DrawFieldArrows({Canvas, Mapping, {}, 10}, Field, 200, 1.0, JapaneseWords());
  QImage alone(Width, Height, QImage::Format_RGB32);
  alone.fill(Qt::black);
  TRasterCanvas canvas(alone);
  DrawFieldArrowLegend(canvas, Mapping.DrawArea, 1.0, JapaneseWords());
  const TPixelRect box = FieldArrowLegendBox(Mapping.DrawArea, 1.0, JapaneseWords());
  ASSERT_GT(box.Right, box.Left);
  const QRect rect(box.Left, box.Top, box.Right - box.Left, box.Bottom - box.Top);
  EXPECT_EQ(Image.copy(rect), alone.copy(rect));
}

// Printing and vector files get the text as the screen shows it, cut to the painter canvas's
// clip: the coverage laid over the page by QPainter is the screen canvas's blend to a unit.
TEST(FieldArrowLegend, ItsTextPrintsAsTheScreenShowsIt) {
  const std::string text = "矢印：電子の電界 E |E| in e/4πε₀u²";
  const TColor colour = ColorRGB(220, 200, 40);
  const QRgb ground = qRgb(30, 60, 90);
  QImage screen(420, 40, QImage::Format_RGB32);
  screen.fill(ground);
  TRasterCanvas raster(screen);
  DrawText(raster, 4, 28, text, 19.5, colour);
  const QRect clips[] = {QRect(0, 0, 420, 40), QRect(50, 5, 200, 20)};
  for (const QRect& clip : clips) {
    SCOPED_TRACE(::testing::Message() << clip.x() << ", " << clip.y() << " " << clip.width()
                                      << " x " << clip.height());
    QImage page(420, 40, QImage::Format_RGB32);
    page.fill(ground);
    {
      QPainter painter(&page);
      TPainterCanvas canvas(painter, clip);
      DrawText(canvas, 4, 28, text, 19.5, colour);
    }
    int inked = 0;
    for (int y = 0; y < page.height(); ++y) {
      for (int x = 0; x < page.width(); ++x) {
        const QRgb printed = page.pixel(x, y);
        if (!clip.contains(x, y)) {
          ASSERT_EQ(printed, ground) << x << ", " << y;
          continue;
        }
        const QRgb shown = screen.pixel(x, y);
        ASSERT_NEAR(qRed(printed), qRed(shown), 1) << x << ", " << y;
        ASSERT_NEAR(qGreen(printed), qGreen(shown), 1) << x << ", " << y;
        ASSERT_NEAR(qBlue(printed), qBlue(shown), 1) << x << ", " << y;
        if (shown != ground) ++inked;
      }
    }
    EXPECT_GT(inked, 300);
  }
}

class FieldArrowWindowTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    Form->CreateRemainingWindows();
    Form->MnuPauseClick();
    // A charge that has moved: its field is not the same everywhere.
    State.FieldSimulation.ResetNodes(State.ISize, State.JSize, {0.1, 0.05}, {0.6, 0.3}, ModelWidth,
                                     State.WaveFrontSpacing);
  }
  QAction& Item() { return Form->MainMenu1.Item("MnuFieldMonitor"); }
  TArrowCount MainArrows(const QImage& picture, const QImage& without) {
    return CountArrows(picture, without, Form->Chart1->Mapping(), {}, State.FieldSimulation,
                       State.ISize);
  }
};

TEST_F(FieldArrowWindowTest, TheMenuItemShowsAndHidesTheArrowsOnTheMainPlot) {
  Redraw();
  const QImage without = Form->Chart1->Buffer().copy();

  Item().trigger();
  EXPECT_TRUE(Form->MainMenu1.IsChecked("MnuFieldMonitor"));
  EXPECT_TRUE(Form->Display().ShowFieldVectors);
  // Shown at once, though the animation is paused.
  EXPECT_TRUE(Form->Chart1->RedrawPending());
  Form->Chart1->FlushRedraw();
  const TArrowCount shown = MainArrows(Form->Chart1->Buffer(), without);
  EXPECT_GT(shown.Expected, 50);
  EXPECT_EQ(shown.Shown, shown.Expected);

  // Unchecked, the picture is the one without arrows, pixel for pixel.
  Item().trigger();
  EXPECT_FALSE(Form->MainMenu1.IsChecked("MnuFieldMonitor"));
  EXPECT_FALSE(Form->Display().ShowFieldVectors);
  Form->Chart1->FlushRedraw();
  EXPECT_EQ(Form->Chart1->Buffer(), without);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

TEST_F(FieldArrowWindowTest, TheZoomViewDrawsTheArrowsOnItsOwnGridWhileTheItemIsChecked) {
  // The view is docked in the main window: on screen with it.
  StartUp();
  Form->MnuPauseClick();
  Form->MainMenu1.Item("mnuShowZoom").trigger();
  TZoomViewForm& zoom = *Form->ZoomViewForm();
  ASSERT_TRUE(zoom.isVisible()) << Shown.join("; ").toStdString();
  // Zoomed out, so that the view holds a grid of arrows around the charge.
  ChangeDisplay([&](TDisplaySettings& d) { d.Zoom.Scale = 2.0; });
  zoom.SetChartScale(Form->Display().Zoom.Scale);
  const auto draw = [&] {
    Redraw();
    zoom.Chart1().FlushRedraw();
    return zoom.Chart1().Buffer().copy();
  };
  const QImage without = draw();
  Item().trigger();
  const QImage with = draw();
  const TArrowCount shown =
      CountArrows(with, without, zoom.Chart1().Mapping(), State.FieldSimulation.ChargePos,
                  State.FieldSimulation, State.ISize);
  EXPECT_GT(shown.Expected, 10);
  EXPECT_EQ(shown.Shown, shown.Expected);
  Item().trigger();
  EXPECT_EQ(draw(), without);
  EXPECT_TRUE(Shown.isEmpty()) << Shown.join("; ").toStdString();
}

// Printing draws the after-draw picture through QPainter: the arrows come with it.
TEST_F(FieldArrowWindowTest, TheArrowsReachThePrintingCanvas) {
  Redraw();
  const auto page = [&] {
    QImage image(Form->Chart1->Buffer().size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    TPainterCanvas canvas(painter, image.rect());
    Form->Chart1AfterDraw(*Form->Chart1, canvas);
    return image;
  };
  const QImage without = page();
  Item().trigger();
  const TArrowCount shown = MainArrows(page(), without);
  EXPECT_GT(shown.Expected, 50);
  EXPECT_EQ(shown.Shown, shown.Expected);
}

}  // namespace
