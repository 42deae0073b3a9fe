// The field picture drawn from the node table, shared by the main plot and the zoom view.
#include "mainwindow/FieldDrawing.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <numbers>

namespace {

// The arcs are cut into at most this many pieces, however far apart two nodes lie.
constexpr int MaxArcPieces = 20;

struct TPixel {
  int X = 0;
  int Y = 0;
};

TPixel PixelOf(const TFieldView& view, double x, double y) {
  return {view.Mapping.ValueToPixelX(x - view.Origin.X),
          view.Mapping.ValueToPixelY(y - view.Origin.Y)};
}

TPixel PixelOf(const TFieldView& view, const TFieldNode& node) {
  return PixelOf(view, node.X, node.Y);
}

bool IsClose(TPixel a, TPixel b, int resolution) {
  return std::abs(b.X - a.X) <= resolution && std::abs(b.Y - a.Y) <= resolution;
}

// A field plot needs rows 0 .. ISize and lines 0 .. JSize; a table of another shape (a size
// changed without InitNodes) is not drawn rather than read out of bounds.
bool TableHolds(const TFieldSimulation& field, int ISize, int JSize) {
  if (ISize < 1 || JSize < 1) return false;
  if (field.Nodes.size() < static_cast<std::size_t>(ISize) + 1) return false;
  for (int row = 0; row <= ISize; ++row) {
    if (field.Nodes[static_cast<std::size_t>(row)].size() < static_cast<std::size_t>(JSize) + 1) {
      return false;
    }
  }
  return true;
}

// Pieces of the arc between two nodes: the angle between them divided by the step angle q
// (minus the angle that PlotResolution pixels subtend at the radius), plus one, at most
// MaxArcPieces. A zero step (a vertical span of no pixels) makes every arc as fine as allowed; a
// ratio that is not a number (no angle and no step, or an infinite radius) needs one piece. The
// ratio is clamped before it is converted, so no conversion overflows.
int ArcPieceCount(double thetaA, double thetaB, double q) {
  const double ratio = (thetaA - thetaB) / q;
  if (std::isnan(ratio)) return 1;
  const double magnitude = std::fabs(ratio);
  if (!(magnitude < static_cast<double>(MaxArcPieces))) return MaxArcPieces;
  const std::int64_t pieces = static_cast<std::int64_t>(std::trunc(magnitude)) + 1;
  return pieces < MaxArcPieces ? static_cast<int>(pieces) : MaxArcPieces;
}

// The line from A to B along the arc about their emission points, starting at the pen pixel
// `from`. R sets the scale of the step angle. Pieces with both ends outside DrawArea are skipped,
// so far-off arcs cost no drawing.
void DrawArc(const TFieldView& view, const TRect& drawArea, const TFieldNode& a,
             const TFieldNode& b, const TFieldNode& r, TPixel from) {
  const double q = (view.Mapping.PixelToValueY(view.PlotResolution) -
                    view.Mapping.PixelToValueY(0)) /
                   r.Radius;
  double thetaA = a.Angle;
  double thetaB = b.Angle;
  // Join the two directions across the smaller angle between them, through +-pi if need be.
  if (thetaB - thetaA > std::numbers::pi) thetaA += 2.0 * std::numbers::pi;
  if (thetaA - thetaB > std::numbers::pi) thetaB += 2.0 * std::numbers::pi;
  const int n = ArcPieceCount(thetaA, thetaB, q);

  TPixel pen = from;
  for (int k = 0; k <= n; ++k) {
    const double theta = Interpolate(k, n, thetaA, thetaB);
    const double ex = Interpolate(k, n, a.EmitX, b.EmitX);
    const double ey = Interpolate(k, n, a.EmitY, b.EmitY);
    const double radius = Interpolate(k, n, a.Radius, b.Radius);
    const TPixel p =
        PixelOf(view, ex + radius * std::cos(theta), ey + radius * std::sin(theta));
    if (PointInRect(pen.X, pen.Y, drawArea) || PointInRect(p.X, p.Y, drawArea)) {
      view.Canvas.MoveTo(pen.X, pen.Y);
      view.Canvas.LineTo(p.X, p.Y);
    }
    pen = p;
  }
}

TRect DrawAreaOf(const TFieldView& view) {
  const TPixelRect& area = view.Mapping.DrawArea;
  return {area.Left, area.Top, area.Right, area.Bottom};
}

}  // namespace

void DrawFieldLines(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize) {
  if (!TableHolds(field, ISize, JSize)) return;
  const TRect drawArea = DrawAreaOf(view);
  const auto& nodes = field.Nodes;
  view.Canvas.Pen.Color = FieldLineColor;
  for (int i = 0; i < JSize; ++i) {
    const auto line = static_cast<std::size_t>(i);
    TPixel previous = PixelOf(view, nodes[0][line]);
    view.Canvas.MoveTo(previous.X, previous.Y);
    for (int j = 1; j <= ISize - 1; ++j) {
      const TFieldNode& a = nodes[static_cast<std::size_t>(j - 1)][line];
      const TFieldNode& b = nodes[static_cast<std::size_t>(j)][line];
      const TPixel current = PixelOf(view, b);
      if (IsClose(previous, current, view.PlotResolution)) {
        view.Canvas.MoveTo(previous.X, previous.Y);
        view.Canvas.LineTo(current.X, current.Y);
      } else {
        DrawArc(view, drawArea, a, b, b, previous);
      }
      previous = current;
    }
    // The tail node lies far beyond the last row: every line runs on out of the plot.
    const TPixel last = PixelOf(view, nodes[static_cast<std::size_t>(ISize - 1)][line]);
    const TPixel tail = PixelOf(view, nodes[static_cast<std::size_t>(ISize)][line]);
    view.Canvas.MoveTo(last.X, last.Y);
    view.Canvas.LineTo(tail.X, tail.Y);
  }
}

void DrawWavefronts(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize) {
  if (!TableHolds(field, ISize, JSize)) return;
  const TRect drawArea = DrawAreaOf(view);
  view.Canvas.Pen.Color = WaveFrontColor;
  for (int j = 1; j <= ISize - 1; ++j) {
    const auto& row = field.Nodes[static_cast<std::size_t>(j)];
    for (int i = 0; i < JSize; ++i) {
      const TFieldNode& a = row[static_cast<std::size_t>(i)];
      if (a.WaveFront != 1) continue;
      const TFieldNode& b = row[static_cast<std::size_t>(i) + 1];
      const TPixel pa = PixelOf(view, a);
      const TPixel pb = PixelOf(view, b);
      if (IsClose(pa, pb, view.PlotResolution)) {
        view.Canvas.MoveTo(pa.X, pa.Y);
        view.Canvas.LineTo(pb.X, pb.Y);
      } else {
        DrawArc(view, drawArea, a, b, a, pa);
      }
    }
  }
}

void DrawNodePoints(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize) {
  if (!TableHolds(field, ISize, JSize)) return;
  view.Canvas.Pen.Color = NodePointColor;
  for (int j = 1; j <= ISize - 1; ++j) {
    const auto& row = field.Nodes[static_cast<std::size_t>(j)];
    for (int i = 0; i < JSize; ++i) {
      const TFieldNode& node = row[static_cast<std::size_t>(i)];
      if (node.WaveFront != 1) continue;
      const TPixel p = PixelOf(view, node);
      // The one-pixel outline covers the 2 x 2 box, so the brush never shows.
      view.Canvas.Rectangle(p.X - 1, p.Y - 1, p.X + 1, p.Y + 1);
    }
  }
}

void DrawTrajectory(const TFieldView& view, const TPathGeneration& path) {
  view.Canvas.Pen.Color = TrajectoryColor;
  // The animation uses samples 0 .. SampleCount - 2; the table may hold fewer than it claims
  // only if it was filled by hand, and is then drawn as far as it goes.
  long long last = static_cast<long long>(path.Path.SampleCount) - 2;
  const long long stored = static_cast<long long>(path.Path.Samples.size()) - 1;
  if (stored < last) last = stored;
  for (long long s = 0; s <= last; ++s) {
    const TPathSample& sample = path.Path.Samples[static_cast<std::size_t>(s)];
    const TPixel p = PixelOf(view, sample.X, sample.Y);
    if (s == 0) {
      view.Canvas.MoveTo(p.X, p.Y);
    } else {
      view.Canvas.LineTo(p.X, p.Y);
    }
  }
}

void DrawChargeDisc(TCanvas& canvas, int cx, int cy) {
  canvas.Brush.Color = ChargeDiscBrush;
  canvas.Pen.Color = ChargeDiscPen;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Ellipse(cx - 5, cy - 5, cx + 5, cy + 5);
}
