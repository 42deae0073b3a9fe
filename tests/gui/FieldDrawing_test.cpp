// SPDX-License-Identifier: GPL-3.0-or-later
// The field picture drawn into an image and into a recording canvas: colours and shapes of the
// field lines, wavefronts, node points, trajectory and disc, and the arc subdivision.
#include "render/FieldDrawing.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "engine/AnimationStep.h"
#include "engine/SimulationState.h"
#include "engine/Trajectories.h"
#include "plot/PainterCanvas.h"
#include "plot/RasterCanvas.h"

namespace {

constexpr int Width = 800;
constexpr int Height = 400;
constexpr int CentreX = 400;
constexpr int CentreY = 200;

// x from -1 to 1 and y from -0.5 to 0.5 over 800 x 400 pixels: 400 pixels per model unit.
TPlotMapping MainMapping() {
  TPlotMapping mapping;
  mapping.PlotRect = {0, 0, Width, Height};
  mapping.DrawArea = mapping.PlotRect;
  mapping.Horizontal = {false, -1.0, 1.0};
  mapping.Vertical = {false, -0.5, 0.5};
  return mapping;
}

std::uint32_t Pixel(TColor color) {
  return TRasterCanvas::PixelOf(color);
}
const std::uint32_t Black = 0xFF000000u;

// Whether any pixel within one pixel of (x, y) has the colour: rounding puts a line's pixel
// one row or column either way of the exact point.
bool Near(const QImage& image, double x, double y, TColor color) {
  const int px = static_cast<int>(std::lround(x));
  const int py = static_cast<int>(std::lround(y));
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (image.pixel(px + dx, py + dy) == Pixel(color)) return true;
    }
  }
  return false;
}

class FieldPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Image = QImage(Width, Height, QImage::Format_RGB32);
    Image.fill(Black);
    Field.InitNodes(200, 40, ModelWidth);
    Field.ResetNodes(200, 40, {}, {}, ModelWidth, 5);
  }

  QImage Image;
  TFieldSimulation Field;
  TPlotMapping Mapping = MainMapping();
};

TEST_F(FieldPictureTest, AChargeAtRestHasRadialLinesInTheFieldLineColour) {
  TRasterCanvas canvas(Image);
  DrawFieldLines({canvas, Mapping, {}, 10}, Field, 200, 40);
  // Along line 0 (angle 0) and line 10 (angle pi/2), out to the edge of the plot.
  for (int r = 10; r < 390; r += 20)
    EXPECT_TRUE(Near(Image, CentreX + r, CentreY, FieldLineColor)) << r;
  for (int r = 10; r < 195; r += 20)
    EXPECT_TRUE(Near(Image, CentreX, CentreY - r, FieldLineColor)) << r;
  // Half-way between two lines, 300 pixels out, lies 23 pixels from either: black.
  const double between = std::numbers::pi / 40.0;
  EXPECT_EQ(Image.pixel(CentreX + static_cast<int>(300 * std::cos(between)),
                        CentreY - static_cast<int>(300 * std::sin(between))),
            Black);
}

TEST_F(FieldPictureTest, TheDiscIsBlueWithARedOutlineAroundItsCentre) {
  TRasterCanvas canvas(Image);
  DrawChargeDisc(canvas, CentreX, CentreY);
  EXPECT_EQ(Image.pixel(CentreX, CentreY), Pixel(ChargeDiscBrush));
  EXPECT_EQ(Image.pixel(CentreX - 5, CentreY), Pixel(ChargeDiscPen));
  EXPECT_EQ(Image.pixel(CentreX, CentreY - 5), Pixel(ChargeDiscPen));
  EXPECT_EQ(Image.pixel(CentreX - 6, CentreY), Black);
  EXPECT_EQ(Image.pixel(CentreX + 5, CentreY), Black);  // right edge excluded
}

TEST_F(FieldPictureTest, WavefrontsAreCirclesAroundTheCharge) {
  TRasterCanvas canvas(Image);
  DrawWavefronts({canvas, Mapping, {}, 10}, Field, 200, 40);
  // Row 50 is marked (every fifth row): radius 0.5 = 200 pixels, at every angle.
  for (int degrees = 0; degrees < 360; degrees += 15) {
    const double a = degrees * std::numbers::pi / 180.0;
    const double x = CentreX + 200 * std::cos(a);
    const double y = CentreY - 200 * std::sin(a);
    if (y < 1 || y > Height - 2) continue;
    EXPECT_TRUE(Near(Image, x, y, WaveFrontColor)) << degrees;
  }
  // Row 52 is not marked: 208 pixels out along angle 4.5 degrees stays black.
  EXPECT_EQ(Image.pixel(CentreX + 207, CentreY - 16), Black);
}

TEST_F(FieldPictureTest, NodePointsAreTwoByTwoWhiteDotsOnMarkedRows) {
  TRasterCanvas canvas(Image);
  DrawNodePoints({canvas, Mapping, {}, 10}, Field, 200, 40);
  // Node of row 50, line 0 at pixel (600, 200): the box 599 .. 600 x 199 .. 200.
  for (const auto& [x, y] :
       std::vector<std::pair<int, int>>{{599, 199}, {600, 199}, {599, 200}, {600, 200}}) {
    EXPECT_EQ(Image.pixel(x, y), Pixel(NodePointColor)) << x << "," << y;
  }
  EXPECT_EQ(Image.pixel(601, 200), Black);
  EXPECT_EQ(Image.pixel(598, 200), Black);
  // Row 51 (not marked) at pixel (604, 200) has no dot.
  EXPECT_EQ(Image.pixel(604, 200), Black);
}

TEST_F(FieldPictureTest, TheTrajectoryIsAYellowPolylineUpToTheLastUsedSample) {
  TPathGeneration path;
  TTrajectoryParameters parameters;
  BuildTrajectory(path, tmCircle, parameters, 0.01);
  TRasterCanvas canvas(Image);
  DrawTrajectory({canvas, Mapping, {}, 10}, path, true);
  // The default circle, scaled to a radius of about 0.199: 79.6 pixels.
  for (int degrees = 0; degrees < 360; degrees += 30) {
    const double a = degrees * std::numbers::pi / 180.0;
    EXPECT_TRUE(
        Near(Image, CentreX + 79.6 * std::cos(a), CentreY - 79.6 * std::sin(a), TrajectoryColor))
        << degrees;
  }

  QImage empty(Width, Height, QImage::Format_RGB32);
  empty.fill(Black);
  TRasterCanvas emptyCanvas(empty);
  TPathGeneration one;
  one.Path.SampleCount = 1;
  one.Path.Samples.resize(1);
  DrawTrajectory({emptyCanvas, Mapping, {}, 10}, one, true);
  TPathGeneration lying;  // claims more samples than it holds
  lying.Path.SampleCount = 50;
  lying.Path.Samples.resize(3, TPathSample{0.5, 0.0, 1.0, 0.0, 0.5});
  DrawTrajectory({emptyCanvas, Mapping, {}, 10}, lying, true);
  for (int y = 0; y < Height; ++y) {
    for (int x = 0; x < Width; ++x) ASSERT_EQ(empty.pixel(x, y), Black);
  }
}

TEST_F(FieldPictureTest, AClosedPathIsDrawnRoundWithoutAGapWhereItStarts) {
  // The charge runs from the last usable sample on to sample 0: that step is drawn for a closed
  // path, the circle a whole ring; an open path ends at its last sample.
  TPathGeneration path;
  TTrajectoryParameters parameters;
  BuildTrajectory(path, tmCircle, parameters, 0.01);
  const int last = LastUsableSample(path.Path);
  const TPathSample& from = path.Path.Samples[static_cast<std::size_t>(last)];
  const TPathSample& to = path.Path.Samples[0];
  const TPlotMapping& m = Mapping;
  const double midX = 0.5 * (m.ValueToPixelX(from.X) + m.ValueToPixelX(to.X));
  const double midY = 0.5 * (m.ValueToPixelY(from.Y) + m.ValueToPixelY(to.Y));
  ASSERT_GT(std::hypot(m.ValueToPixelX(to.X) - midX, m.ValueToPixelY(to.Y) - midY), 1.5)
      << "the step must be long enough to show a gap";
  // The step runs down the plot at the circle's start: the pixels across it at its middle.
  const int x = static_cast<int>(std::lround(midX));
  const int y = static_cast<int>(std::lround(midY));
  for (const bool closed : {false, true}) {
    Image.fill(Black);
    TRasterCanvas canvas(Image);
    DrawTrajectory({canvas, Mapping, {}, 10}, path, closed);
    const bool lit = Image.pixel(x - 1, y) == Pixel(TrajectoryColor) ||
                     Image.pixel(x, y) == Pixel(TrajectoryColor) ||
                     Image.pixel(x + 1, y) == Pixel(TrajectoryColor);
    EXPECT_EQ(lit, closed) << (closed ? "closed" : "open");
  }
  EXPECT_TRUE(IsClosedPath(tmCircle) && IsClosedPath(tmDipole) && IsClosedPath(tmRaceTrack));
  EXPECT_FALSE(IsClosedPath(tmStraightLine) || IsClosedPath(tmUndulator) ||
               IsClosedPath(tmBending) || IsClosedPath(tmMouse));
}

TEST_F(FieldPictureTest, TheOriginIsSubtractedBeforeMapping) {
  TRasterCanvas canvas(Image);
  Field.ResetNodes(200, 40, {0.25, 0.125}, {}, ModelWidth, 5);
  DrawWavefronts({canvas, Mapping, {0.25, 0.125}, 10}, Field, 200, 40);
  EXPECT_TRUE(Near(Image, CentreX + 200, CentreY, WaveFrontColor));
}

// Records each line drawn.
class TRecordingCanvas final : public TCanvas {
 public:
  struct TSegment {
    int X0, Y0, X1, Y1;
  };
  std::vector<TSegment> Segments;
  void LineTo(int x, int y) override {
    Segments.push_back({PenX, PenY, x, y});
    MoveTo(x, y);
  }
  void Ellipse(int, int, int, int) override {}
  void Rectangle(int, int, int, int) override {}
};

// A table of one field line (JSize 1) with two rows and the tail: A in row 0, B in row 1.
TFieldSimulation TwoNodes(double angleA, double angleB, double radiusA, double radiusB,
                          TVector2 emission = {}) {
  TFieldSimulation field;
  field.Nodes.assign(3, std::vector<TFieldNode>(2));
  const auto place = [&](TFieldNode& node, double angle, double radius) {
    node.Angle = angle;
    node.Radius = radius;
    node.EmitX = emission.X;
    node.EmitY = emission.Y;
    node.X = emission.X + radius * std::cos(angle);
    node.Y = emission.Y + radius * std::sin(angle);
  };
  place(field.Nodes[0][0], angleA, radiusA);
  place(field.Nodes[1][0], angleB, radiusB);
  place(field.Nodes[2][0], angleB, radiusB + 4.0);
  return field;
}

TEST(ArcSubdivisionTest, PieceCountFollowsTheAngleAndStopsAtTwenty) {
  // With 10 pixels = 0.025 model units and radius 0.5 the step angle is 0.05 radians.
  struct Row {
    double angleA, angleB;
    int pieces;
  };
  const Row rows[] = {
      {0.0, 0.12, 3},  // 0.12 / 0.05 = 2.4 -> 2 + 1
      {0.0, 0.26, 6},  // 5.2 -> 5 + 1
      {0.0, 3.0, 20},  // 60 + 1, capped
      {3.1, -3.1, 2},  // 0.083 across pi: 1.66 -> 1 + 1
  };
  const TPlotMapping mapping = MainMapping();
  for (const Row& row : rows) {
    TRecordingCanvas canvas;
    const TFieldSimulation field = TwoNodes(row.angleA, row.angleB, 0.5, 0.5);
    DrawFieldLines({canvas, mapping, {}, 10}, field, 2, 1);
    // n + 1 pieces of the arc, then the straight tail.
    EXPECT_EQ(canvas.Segments.size(), static_cast<std::size_t>(row.pieces + 2)) << row.angleB;
  }
}

TEST(ArcSubdivisionTest, AnglesEitherSideOfPiAreJoinedThroughPi) {
  TRecordingCanvas canvas;
  const TFieldSimulation field = TwoNodes(3.1, -3.1, 0.5, 0.5);
  DrawFieldLines({canvas, MainMapping(), {}, 10}, field, 2, 1);
  // Every arc point lies on the left (x = -0.5 is pixel 200), none swings round by the right.
  ASSERT_EQ(canvas.Segments.size(), 4u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_LE(canvas.Segments[i].X1, 201);
  EXPECT_EQ(canvas.Segments[1].X1, 200);  // the middle point, angle pi
  EXPECT_EQ(canvas.Segments[1].Y1, CentreY);
}

TEST(ArcSubdivisionTest, PiecesWhollyOutsideTheDrawAreaAreNotDrawn) {
  TRecordingCanvas canvas;
  // Emitted 10 units to the right of the plot: only the tail, which is never tested, is drawn.
  const TFieldSimulation field = TwoNodes(0.0, 2.0, 0.5, 0.5, {10.0, 0.0});
  DrawFieldLines({canvas, MainMapping(), {}, 10}, field, 2, 1);
  EXPECT_EQ(canvas.Segments.size(), 1u);
}

TEST(ArcSubdivisionTest, DegenerateScalesNeitherDivideByZeroNorOverflow) {
  // Radius 0: the step angle is infinite, one piece is enough.
  {
    TRecordingCanvas canvas;
    TFieldSimulation field = TwoNodes(0.0, 2.0, 0.5, 0.0);
    field.Nodes[0][0].X = 0.5;  // far from B's pixel, so the pair is subdivided
    DrawFieldLines({canvas, MainMapping(), {}, 10}, field, 2, 1);
    EXPECT_EQ(canvas.Segments.size(), 3u);
  }
  // A vertical axis of no span: the step angle is 0, the arc as fine as allowed.
  {
    TRecordingCanvas canvas;
    TPlotMapping flat = MainMapping();
    flat.Vertical = {false, 0.0, 0.0};
    const TFieldSimulation field = TwoNodes(0.0, 2.0, 0.5, 0.5);
    DrawFieldLines({canvas, flat, {}, 10}, field, 2, 1);
    EXPECT_EQ(canvas.Segments.size(), 22u);
  }
  // Non-finite node data still draws a bounded number of pieces.
  {
    TRecordingCanvas canvas;
    TFieldSimulation field = TwoNodes(0.0, 2.0, 0.5, 0.5);
    field.Nodes[1][0].Angle = std::numeric_limits<double>::infinity();
    DrawFieldLines({canvas, MainMapping(), {}, 10}, field, 2, 1);
    EXPECT_LE(canvas.Segments.size(), 22u);
  }
}

TEST(ArcSubdivisionTest, ATableOfAnotherShapeIsNotDrawn) {
  TRecordingCanvas canvas;
  const TFieldSimulation field = TwoNodes(0.0, 2.0, 0.5, 0.5);
  DrawFieldLines({canvas, MainMapping(), {}, 10}, field, 200, 40);
  DrawWavefronts({canvas, MainMapping(), {}, 10}, field, 200, 40);
  EXPECT_TRUE(canvas.Segments.empty());
}

}  // namespace

namespace {

TEST(FieldPixelsTest, EveryPixelEqualsTheSurfaceMapping) {
  // Ranges of the main plot, a zoomed and a reversed one, a zero range; values on pixel
  // boundaries, halves (rounded to even), far beyond the int range and not finite.
  struct Row {
    TPixelRect rect;
    TAxis horizontal;
    TAxis vertical;
    TVector2 origin;
  };
  const Row rows[] = {
      {{0, 0, 800, 400}, {false, -1.0, 1.0}, {false, -0.5, 0.5}, {}},
      {{0, 0, 1920, 1050}, {false, -1.0, 1.0}, {false, -0.546875, 0.546875}, {0.1, -0.2}},
      {{3, 7, 963, 367}, {false, -0.0625, 0.0625}, {false, -0.0234375, 0.0234375}, {0.3, 0.3}},
      {{0, 0, 100, 100}, {false, 2.0, -2.0}, {false, 0.0, 0.0}, {}},
  };
  std::vector<double> values = {0.0,
                                0.5,
                                -0.5,
                                1.0,
                                -1.0,
                                0.00125,
                                -0.00125,
                                1e-300,
                                1e6,
                                -1e6,
                                1e12,
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()};
  for (int i = -4000; i <= 4000; ++i) values.push_back(i * 0.000625);  // halves of 1/800
  for (int i = 0; i < 2000; ++i) values.push_back(std::sin(i * 12.9898) * 3.0);
  for (const Row& row : rows) {
    TPlotMapping mapping;
    mapping.PlotRect = row.rect;
    mapping.DrawArea = row.rect;
    mapping.Horizontal = row.horizontal;
    mapping.Vertical = row.vertical;
    TRecordingCanvas canvas;
    const TFieldPixels pixels({canvas, mapping, row.origin, 10});
    for (const double v : values) {
      ASSERT_EQ(pixels.X(v), mapping.ValueToPixelX(v - row.origin.X)) << v;
      ASSERT_EQ(pixels.Y(v), mapping.ValueToPixelY(v - row.origin.Y)) << v;
      // Both axes at once, each value also paired with another axis's value.
      const double other = values[(&v - values.data()) * 7 % values.size()];
      const TCanvasPoint both = pixels.Map(v, other);
      ASSERT_EQ(both.X, mapping.ValueToPixelX(v - row.origin.X)) << v;
      ASSERT_EQ(both.Y, mapping.ValueToPixelY(other - row.origin.Y)) << other;
      // The fine point lies in the same pixel, never more than half a pixel from its centre.
      const TFinePoint fine = pixels.MapFine(v, other);
      ASSERT_EQ(fine.X, both.X) << v;
      ASSERT_EQ(fine.Y, both.Y) << other;
      ASSERT_LE(std::abs(fine.DX), FineSteps / 2) << v;
      ASSERT_LE(std::abs(fine.DY), FineSteps / 2) << other;
    }
  }
}

}  // namespace

namespace {

// The arc drawing as plainly as it can be written: every point from the interpolated angle, every
// piece tested, nothing skipped. The drawing must produce the same segments wherever they show.
class TPlainDrawing {
 public:
  TPlainDrawing(const TPlotMapping& m, TVector2 origin, int resolution)
      : M(m),
        Origin(origin),
        Resolution(resolution),
        Area{m.DrawArea.Left, m.DrawArea.Top, m.DrawArea.Right, m.DrawArea.Bottom} {}

  std::pair<int, int> Pixel(double x, double y) const {
    return {M.ValueToPixelX(x - Origin.X), M.ValueToPixelY(y - Origin.Y)};
  }

  // From node a to node b: straight where their pixels lie close, else along the arc about their
  // emission points, cut by the angle of the resolution at r's radius.
  void Join(const TFieldNode& a, const TFieldNode& b, const TFieldNode& r) {
    auto [ax, ay] = Pixel(a.X, a.Y);
    const auto [bx, by] = Pixel(b.X, b.Y);
    if (std::abs(bx - ax) <= Resolution && std::abs(by - ay) <= Resolution) {
      // A straight piece with both ends more than two pixels (the line's width and one)
      // beyond the same edge cannot show and is left out.
      const bool beyond = (ax < Area.Left - 2 && bx < Area.Left - 2) ||
                          (ax >= Area.Right + 2 && bx >= Area.Right + 2) ||
                          (ay < Area.Top - 2 && by < Area.Top - 2) ||
                          (ay >= Area.Bottom + 2 && by >= Area.Bottom + 2);
      if (!beyond) Line(ax, ay, bx, by);
      return;
    }
    const double q = (M.PixelToValueY(Resolution) - M.PixelToValueY(0)) / r.Radius;
    double ta = a.Angle;
    double tb = b.Angle;
    if (tb - ta > std::numbers::pi) ta += 2 * std::numbers::pi;
    if (ta - tb > std::numbers::pi) tb += 2 * std::numbers::pi;
    const int n = static_cast<int>(
        std::min<long long>(std::llabs(static_cast<long long>((ta - tb) / q)) + 1, 20));
    for (int k = 0; k <= n; ++k) {
      const double t = Interpolate(k, n, ta, tb);
      const double radius = Interpolate(k, n, a.Radius, b.Radius);
      const auto [px, py] = Pixel(Interpolate(k, n, a.EmitX, b.EmitX) + radius * std::cos(t),
                                  Interpolate(k, n, a.EmitY, b.EmitY) + radius * std::sin(t));
      if (PointInRect(ax, ay, Area) || PointInRect(px, py, Area)) Line(ax, ay, px, py);
      ax = px;
      ay = py;
    }
  }

  void Line(int x0, int y0, int x1, int y1) {
    Canvas.MoveTo(x0, y0);
    Canvas.LineTo(x1, y1);
  }

  TRecordingCanvas Canvas;

 private:
  const TPlotMapping& M;
  TVector2 Origin;
  int Resolution;
  TRect Area;
};

std::vector<TRecordingCanvas::TSegment> PlainFieldLines(const TPlotMapping& m, TVector2 origin,
                                                        const TFieldSimulation& field, int rows,
                                                        int lines, int resolution) {
  TPlainDrawing plain(m, origin, resolution);
  const auto node = [&field](int row, int line) -> const TFieldNode& {
    return field.Nodes[static_cast<std::size_t>(row)][static_cast<std::size_t>(line)];
  };
  for (int i = 0; i < lines; ++i) {
    for (int j = 1; j <= rows - 1; ++j) plain.Join(node(j - 1, i), node(j, i), node(j, i));
    const auto [lx, ly] = plain.Pixel(node(rows - 1, i).X, node(rows - 1, i).Y);
    const auto [tx, ty] = plain.Pixel(node(rows, i).X, node(rows, i).Y);
    plain.Line(lx, ly, tx, ty);
  }
  return plain.Canvas.Segments;
}

std::vector<TRecordingCanvas::TSegment> PlainWavefronts(const TPlotMapping& m, TVector2 origin,
                                                        const TFieldSimulation& field, int rows,
                                                        int lines, int resolution) {
  TPlainDrawing plain(m, origin, resolution);
  for (int j = 1; j <= rows - 1; ++j) {
    const auto& row = field.Nodes[static_cast<std::size_t>(j)];
    for (int i = 0; i < lines; ++i) {
      const TFieldNode& a = row[static_cast<std::size_t>(i)];
      if (a.WaveFront == 1) plain.Join(a, row[static_cast<std::size_t>(i) + 1], a);
    }
  }
  return plain.Canvas.Segments;
}

// Whether a segment comes within the reach of a line (its width and a pixel) of the area: the
// fast drawing may leave out the others, unseen.
bool Shows(const TRecordingCanvas::TSegment& s, const TPixelRect& area) {
  constexpr double Reach = 3.0;
  QPointF a(s.X0, s.Y0);
  QPointF b(s.X1, s.Y1);
  return ClipSegment(a, b,
                     QRectF(QPointF(area.Left - Reach, area.Top - Reach),
                            QPointF(area.Right + Reach, area.Bottom + Reach)));
}

std::vector<TRecordingCanvas::TSegment> Shown(const std::vector<TRecordingCanvas::TSegment>& all,
                                              const TPixelRect& area) {
  std::vector<TRecordingCanvas::TSegment> shown;
  for (const auto& s : all) {
    if (Shows(s, area)) shown.push_back(s);
  }
  return shown;
}

// Records every fine polyline as the whole-pixel segments it joins.
class TFineSegmentCanvas final : public TCanvas {
 public:
  std::vector<TRecordingCanvas::TSegment> Segments;
  bool TakesFinePoints() const override { return true; }
  void FinePolyline(const TFinePoint* points, std::size_t count) override {
    for (std::size_t k = 1; k < count; ++k)
      Segments.push_back({points[k - 1].X, points[k - 1].Y, points[k].X, points[k].Y});
  }
  void LineTo(int x, int y) override { MoveTo(x, y); }
  void Ellipse(int, int, int, int) override {}
  void Rectangle(int, int, int, int) override {}
};

void ExpectSameSegments(const std::vector<TRecordingCanvas::TSegment>& got,
                        const std::vector<TRecordingCanvas::TSegment>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    ASSERT_TRUE(got[i].X0 == want[i].X0 && got[i].Y0 == want[i].Y0 && got[i].X1 == want[i].X1 &&
                got[i].Y1 == want[i].Y1)
        << "segment " << i << " of " << want.size();
  }
}

// The drawing leaves out no segment of the plain one that shows, and changes none.
void ExpectSameWhereShown(const std::vector<TRecordingCanvas::TSegment>& drawing,
                          const std::vector<TRecordingCanvas::TSegment>& all,
                          const TPixelRect& area) {
  ASSERT_LE(drawing.size(), all.size());
  ExpectSameSegments(Shown(drawing, area), Shown(all, area));
}

TEST(ArcSubdivisionTest, TheFastDrawingDrawsExactlyThePlainOne) {
  // A charge circling at 0.9: more than half of the neighbours are joined by arcs, many of them
  // partly or wholly outside the plot.
  TSimulationState state;
  state.TrajectoryMode = tmCircle;
  TFieldSimulation& field = state.FieldSimulation;
  field.InitNodes(state.ISize, state.JSize, ModelWidth);
  BuildTrajectory(state.PathGeneration, tmCircle, state.Trajectory, field.WaveVelocity);
  const TPathSample& first = state.PathGeneration.Path.Samples[0];
  field.ResetNodes(state.ISize, state.JSize, {first.X, first.Y}, {}, ModelWidth, 5);
  const TPath& path = state.PathGeneration.Path;
  for (int tick = 1; tick <= 250; ++tick) {
    const TPathSample& s = path.Samples[static_cast<std::size_t>(tick % (path.SampleCount - 1))];
    field.ChargePos = {s.X, s.Y};
    field.VelocityDir = {s.DirX, s.DirY};
    field.Beta = s.Beta;
    field.UpdateEmitDirections(state.JSize);
    field.AdvanceNodes(state.ISize, state.JSize, 5);
  }
  // The main plot; the same moved so that the oldest rows' circles cross its corners and edges,
  // where the drawing stops walking a line; the plot zoomed out so far that every row shows; and
  // the magnified view around the charge, where nearly every neighbour pair is an arc, most arcs
  // miss the view and nearly every row lies on a circle enclosing it.
  struct TCase {
    double Scale;
    TVector2 Origin;
  };
  for (const TCase& view :
       {TCase{1.0, {}}, TCase{1.0, {0.9, 0.45}}, TCase{1.0, {-0.6, -0.7}},
        TCase{1.0, {1.2, 0.0}}, TCase{0.4, {}}, TCase{16.0, field.ChargePos},
        TCase{256.0, field.ChargePos}}) {
    TPlotMapping mapping = MainMapping();
    mapping.Horizontal = {false, -1.0 / view.Scale, 1.0 / view.Scale};
    mapping.Vertical = {false, -0.5 / view.Scale, 0.5 / view.Scale};
    for (const int resolution : {10, 40}) {
      SCOPED_TRACE(testing::Message() << "scale " << view.Scale << ", origin " << view.Origin.X
                                      << " " << view.Origin.Y << ", resolution " << resolution);
      TRecordingCanvas canvas;
      DrawFieldLines({canvas, mapping, view.Origin, resolution}, field, state.ISize, state.JSize);
      ExpectSameWhereShown(
          canvas.Segments,
          PlainFieldLines(mapping, view.Origin, field, state.ISize, state.JSize, resolution),
          mapping.DrawArea);
      TRecordingCanvas fronts;
      DrawWavefronts({fronts, mapping, view.Origin, resolution}, field, state.ISize, state.JSize);
      ExpectSameWhereShown(
          fronts.Segments,
          PlainWavefronts(mapping, view.Origin, field, state.ISize, state.JSize, resolution),
          mapping.DrawArea);
      // An output that takes finer points gets the same pieces, between the same pixels.
      TFineSegmentCanvas fine;
      DrawFieldLines({fine, mapping, view.Origin, resolution}, field, state.ISize, state.JSize);
      ExpectSameSegments(fine.Segments, canvas.Segments);
    }
  }
}

}  // namespace

namespace {

// Records the points of every fine polyline, as a smooth output takes them.
class TFineRecordingCanvas final : public TCanvas {
 public:
  std::vector<std::vector<TFinePoint>> Lines;
  bool TakesFinePoints() const override { return true; }
  void FinePolyline(const TFinePoint* points, std::size_t count) override {
    Lines.emplace_back(points, points + count);
  }
  void LineTo(int x, int y) override { MoveTo(x, y); }
  void Ellipse(int, int, int, int) override {}
  void Rectangle(int, int, int, int) override {}
};

}  // namespace

// A charge at rest has straight radial lines. Through whole pixels each vertex bends the line by
// up to half a pixel; a smooth output gets every vertex to a sixteenth of a pixel, placed about
// the charge, which itself sits at its pixel's centre.
TEST(FinePoints, ARadialLineAtRestIsStraightToASixteenthAndMeetsAtTheChargesPixelCentre) {
  TFieldSimulation field;
  field.InitNodes(200, 40, ModelWidth);
  const TVector2 charge{0.01234, -0.00517};  // nowhere near a pixel's centre
  field.ResetNodes(200, 40, charge, {}, ModelWidth, 5);
  for (const double ratio : {1.0, 1.5}) {
    SCOPED_TRACE(ratio);
    TPlotMapping mapping = MainMapping();
    mapping.PixelRatio = ratio;
    mapping.PlotRect = {0, 0, static_cast<int>(Width * ratio), static_cast<int>(Height * ratio)};
    mapping.DrawArea = mapping.PlotRect;
    TFineRecordingCanvas canvas;
    DrawFieldLines({canvas, mapping, {}, 10, charge}, field, 200, 40);
    const double cx = mapping.ValueToPixelX(charge.X) + 0.5;  // the charge's pixel centre
    const double cy = mapping.ValueToPixelY(charge.Y) + 0.5;
    ASSERT_FALSE(canvas.Lines.empty());
    int checked = 0;
    double worst = 0.0;
    double worstWhole = 0.0;
    for (const auto& line : canvas.Lines) {
      if (line.size() < 4) continue;
      // The direction of the line from its far end, through the charge's pixel centre.
      const TFinePoint& end = line[line.size() - 2];
      const double ex = end.X + 0.5 + end.DX / 16.0 - cx;
      const double ey = end.Y + 0.5 + end.DY / 16.0 - cy;
      const double length = std::hypot(ex, ey);
      for (std::size_t k = 0; k + 1 < line.size(); ++k) {
        const TFinePoint& p = line[k];
        const double px = p.X + 0.5 + p.DX / 16.0 - cx;
        const double py = p.Y + 0.5 + p.DY / 16.0 - cy;
        worst = std::max(worst, std::fabs(px * ey - py * ex) / length);
        worstWhole = std::max(worstWhole, std::fabs((p.X - cx + 0.5) * ey - (p.Y - cy + 0.5) * ex) /
                                              length);
        ++checked;
      }
    }
    EXPECT_GT(checked, 1000);
    // Each point rounded to a sixteenth on both axes, at most 1/32 of sqrt 2 across the line, and
    // as much again from the far end that sets the direction.
    EXPECT_LT(worst, 0.09);
    EXPECT_GT(worstWhole, 0.3) << "whole pixels bend the line";
  }
}

TEST_F(FieldPictureTest, ADiscAtTheEndsOfThePixelRangeIsClippedAway) {
  // At extreme magnifications the charge can map near the ends of the int range; the box
  // around it must neither overflow nor reach the image.
  TRasterCanvas canvas(Image);
  const QImage before = Image.copy();
  DrawChargeDisc(canvas, std::numeric_limits<int>::max(), std::numeric_limits<int>::min());
  DrawChargeDisc(canvas, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
  EXPECT_EQ(Image, before);
}

// At a device pixel ratio the mapping's pixels are device pixels; the plot resolution and the
// disc are sizes on the screen and scale with it.
TEST(DevicePixelsTest, PlotResolutionAndDiscAreLogicalPixels) {
  for (const double ratio : {1.0, 1.5, 2.0}) {
    TPlotMapping mapping = MainMapping();
    mapping.PlotRect = {0, 0, static_cast<int>(Width * ratio), static_cast<int>(Height * ratio)};
    mapping.DrawArea = mapping.PlotRect;
    mapping.PixelRatio = ratio;
    // The arcs of the piece-count table above: the same pieces at every ratio, because 10
    // logical pixels are the same model length whatever the pixels.
    const struct {
      double angleB;
      int pieces;
    } rows[] = {{0.12, 3}, {0.26, 6}, {3.0, 20}};
    for (const auto& row : rows) {
      TRecordingCanvas canvas;
      DrawFieldLines({canvas, mapping, {}, 10}, TwoNodes(0.0, row.angleB, 0.5, 0.5), 2, 1);
      EXPECT_EQ(canvas.Segments.size(), static_cast<std::size_t>(row.pieces + 2))
          << "ratio " << ratio << ", angle " << row.angleB;
    }

    // The disc covers +-5 logical pixels around its centre.
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Black);
    TRasterCanvas canvas(image);
    canvas.PixelRatio = ratio;
    DrawChargeDisc(canvas, 50, 50);
    const int half = static_cast<int>(std::lround(5 * ratio));
    EXPECT_EQ(image.pixel(50 - half, 50), Pixel(ChargeDiscPen)) << ratio;
    EXPECT_EQ(image.pixel(50 + half - 1, 50), Pixel(ChargeDiscPen)) << ratio;
    EXPECT_EQ(image.pixel(50 + half, 50), Black) << ratio;
    EXPECT_EQ(image.pixel(50 - half - 1, 50), Black) << ratio;
    EXPECT_EQ(image.pixel(50, 50), Pixel(ChargeDiscBrush)) << ratio;
  }
}

TEST_F(FieldPictureTest, SmoothWideLinesThroughNodesFarOffOrNotANumber) {
  // Nodes at NaN, far beyond the plot and at the largest doubles: every pixel maps somewhere
  // (the centre where it has none), and the smooth band lines clip what falls outside.
  const double far[] = {std::numeric_limits<double>::quiet_NaN(), 1e300, -1e300, 3e9, -7.5};
  int n = 0;
  for (auto& row : Field.Nodes) {
    for (TFieldNode& node : row) {
      node.X = far[n % 5];
      node.Y = far[(n / 5) % 5];
      ++n;
    }
  }
  for (const double ratio : {1.5, 2.0}) {
    TPlotMapping mapping = Mapping;
    mapping.PixelRatio = ratio;
    TRasterCanvas canvas(Image);
    canvas.Smooth = true;
    canvas.PixelRatio = ratio;
    DrawFieldLines({canvas, mapping, {}, 10}, Field, 200, 40);
    DrawWavefronts({canvas, mapping, {}, 10}, Field, 200, 40);
  }
  // Pixels that map nowhere go to the centre: the lines gather there, nowhere else is written
  // but along lines through it.
  EXPECT_NE(Image.pixel(CentreX, CentreY), Black);
  EXPECT_EQ(Image.pixel(5, 5), Black);
}
