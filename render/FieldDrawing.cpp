// SPDX-License-Identifier: GPL-3.0-or-later
// The field picture drawn from the node table, shared by the main plot and the zoom view.
#include "render/FieldDrawing.h"

#include "render/Palette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <numbers>
#include <type_traits>
#include <vector>

namespace {

// The arcs are cut into at most this many pieces, however far apart two nodes lie.
constexpr int MaxArcPieces = 20;

using TPixel = TCanvasPoint;

// The whole pixel of a point, by which every choice of the drawing is made, so that a piece is
// drawn or left out, straight or as an arc, alike for every output.
TPixel Whole(TPixel p) { return p; }
TPixel Whole(TFinePoint p) { return {p.X, p.Y}; }

// Pieces that continue one another gathered into one polyline for the canvas: a field line is
// thousands of short pieces, and a canvas that sees them together can fetch ahead. The last run
// is drawn by an explicit Flush, not on destruction: a canvas may throw (a failing printer), and
// a destructor must not. TPoint is TPixel, or TFinePoint for a canvas that takes finer points.
template <class TPoint>
class TPolylineRun {
 public:
  explicit TPolylineRun(TCanvas& canvas) : Canvas(canvas) {}

  // The piece from a to b: the canvas's MoveTo a, LineTo b. Inlined: a large model hands on
  // a few hundred thousand pieces a frame, nearly all of them continuing the last.
  [[gnu::always_inline]] void Piece(TPoint a, TPoint b) {
    if (Points.empty() || !(Points.back() == a)) [[unlikely]] {
      Flush();
      Points.push_back(a);
    }
    Points.push_back(b);
  }
  void Flush() {
    if (Points.size() >= 2) {
      if constexpr (std::is_same_v<TPoint, TFinePoint>)
        Canvas.FinePolyline(Points.data(), Points.size());
      else
        Canvas.Polyline(Points.data(), Points.size());
    }
    Points.clear();
  }

 private:
  TCanvas& Canvas;
  std::vector<TPoint> Points;
};

template <class TPoint>
[[gnu::always_inline]] inline TPoint PointOf(const TFieldPixels& pixels, double x, double y) {
  if constexpr (std::is_same_v<TPoint, TFinePoint>)
    return pixels.MapFine(x, y);
  else
    return pixels.Map(x, y);
}

TPixel PixelOf(const TFieldPixels& pixels, double x, double y) {
  return pixels.Map(x, y);
}

TPixel PixelOf(const TFieldPixels& pixels, const TFieldNode& node) {
  return PixelOf(pixels, node.X, node.Y);
}

// In 64 bits: pixels far off the plot can lie more than 2^31 apart.
bool IsClose(TPixel a, TPixel b, int resolution) {
  const std::int64_t dx = static_cast<std::int64_t>(b.X) - a.X;
  const std::int64_t dy = static_cast<std::int64_t>(b.Y) - a.Y;
  return std::abs(dx) <= resolution && std::abs(dy) <= resolution;
}

// Whether the straight piece from a to b surely lights nothing in area: both ends lie beyond the
// same edge by more than margin (a line's reach across its own width). Most rows of a large
// model lie outside the plot, and their pieces need not reach the canvas at all.
bool BeyondOneEdge(TPixel a, TPixel b, const TRect& area, int margin) {
  const std::int64_t left = static_cast<std::int64_t>(area.Left) - margin;
  const std::int64_t right = static_cast<std::int64_t>(area.Right) + margin;
  const std::int64_t top = static_cast<std::int64_t>(area.Top) - margin;
  const std::int64_t bottom = static_cast<std::int64_t>(area.Bottom) + margin;
  return (a.X < left && b.X < left) || (a.X >= right && b.X >= right) ||
         (a.Y < top && b.Y < top) || (a.Y >= bottom && b.Y >= bottom);
}

// Room around DrawArea beyond which a line lights nothing: its width and a pixel.
int LineMargin(const TFieldView& view) {
  return view.Mapping.Scaled(1) + 1;
}

// A pixel moved in by margin from the ends of the int range, so that a box of that half-size
// around it can be written without overflow.
int KeepInRange(int v, int margin) {
  return std::clamp(v, std::numeric_limits<int>::min() + margin,
                    std::numeric_limits<int>::max() - margin);
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

// The model rectangle whose points may map into DrawArea (two pixels of margin for the
// rounding), with the origin added back. Not usable with an empty range or an empty plot, where
// every point may fall back to the centre pixel.
struct TCullArea {
  bool Usable = false;
  double X0 = 0.0, X1 = 0.0, Y0 = 0.0, Y1 = 0.0;
  // Model extent around the area within which no offset reaches the centre-pixel fallback.
  double SafeX = 0.0, SafeY = 0.0;
  // Model units of one pixel, the larger of the two axes'.
  double Pixel = 0.0;
};

TCullArea CullAreaOf(const TFieldView& view, const TRect& area) {
  const TPlotMapping& m = view.Mapping;
  const double horizontalRange = m.Horizontal.Maximum - m.Horizontal.Minimum;
  const double verticalRange = m.Vertical.Maximum - m.Vertical.Minimum;
  const int width = m.PlotRect.Right - m.PlotRect.Left;
  const int height = m.PlotRect.Bottom - m.PlotRect.Top;
  TCullArea c;
  if (!(horizontalRange > 0.0 && verticalRange > 0.0) || width < 1 || height < 1) return c;
  constexpr int Margin = 2;
  c.X0 = m.PixelToValueX(area.Left - Margin) + view.Origin.X;
  c.X1 = m.PixelToValueX(area.Right + Margin) + view.Origin.X;
  c.Y1 = m.PixelToValueY(area.Top - Margin) + view.Origin.Y;
  c.Y0 = m.PixelToValueY(area.Bottom + Margin) + view.Origin.Y;
  c.SafeX = 1e9 * horizontalRange / width;  // a billion pixels, half the fallback's 2^31
  c.SafeY = 1e9 * verticalRange / height;
  c.Pixel = std::max(horizontalRange / width, verticalRange / height);
  c.Usable = std::isfinite(c.X0) && std::isfinite(c.X1) && std::isfinite(c.Y0) &&
             std::isfinite(c.Y1) && c.SafeX > 0.0 && c.SafeY > 0.0;
  return c;
}

// True when no point of the arc from A to B can map into the area. Every point of it is
// e(t) + r(t) (cos q(t), sin q(t)) with e, r and q linear in t, so it lies at least the smallest
// and at most the largest radius away from some point of the emission segment. In the magnified
// view most arcs of old rows have the whole view inside that inner circle.
bool ArcMisses(const TCullArea& c, const TFieldNode& a, const TFieldNode& b) {
  if (!c.Usable) return false;
  const double rmin = std::min(a.Radius, b.Radius);
  const double rmax = std::max(a.Radius, b.Radius);
  const double ex0 = std::min(a.EmitX, b.EmitX), ex1 = std::max(a.EmitX, b.EmitX);
  const double ey0 = std::min(a.EmitY, b.EmitY), ey1 = std::max(a.EmitY, b.EmitY);
  // No point of the arc may be so far out that it falls back to the centre pixel.
  if (!(ex0 - rmax > c.X0 - c.SafeX && ex1 + rmax < c.X1 + c.SafeX &&
        ey0 - rmax > c.Y0 - c.SafeY && ey1 + rmax < c.Y1 + c.SafeY)) {
    return false;
  }
  // The area lies outside every outer circle.
  const double nearX = std::max({0.0, c.X0 - ex1, ex0 - c.X1});
  const double nearY = std::max({0.0, c.Y0 - ey1, ey0 - c.Y1});
  if (nearX * nearX + nearY * nearY > rmax * rmax) return true;
  // The area lies inside every inner circle.
  const double farX = std::max({0.0, c.X1 - ex0, ex1 - c.X0});
  const double farY = std::max({0.0, c.Y1 - ey0, ey1 - c.Y0});
  return farX * farX + farY * farY < rmin * rmin;
}

// True when no point within reach (model units, each way) of (x, y) can map into the area: the
// box lies beyond one of its edges, and nowhere so far out that it falls back to the centre pixel.
bool BoxMisses(const TCullArea& c, double x, double y, double reach) {
  if (!c.Usable) return false;
  if (!(x - reach > c.X0 - c.SafeX && x + reach < c.X1 + c.SafeX && y - reach > c.Y0 - c.SafeY &&
        y + reach < c.Y1 + c.SafeY)) {
    return false;
  }
  return x + reach < c.X0 || x - reach > c.X1 || y + reach < c.Y0 || y - reach > c.Y1;
}

// True when the area, widened by slack (model units), lies wholly inside the circle of the given
// radius about (ex, ey), and no point of the circle lies so far out that it falls back to the
// centre pixel. Every node of a row lies on such a circle: the row's emission point and radius.
bool CircleEncloses(const TCullArea& c, double ex, double ey, double radius, double slack) {
  if (!c.Usable) return false;
  if (!(ex - radius > c.X0 - c.SafeX && ex + radius < c.X1 + c.SafeX &&
        ey - radius > c.Y0 - c.SafeY && ey + radius < c.Y1 + c.SafeY)) {
    return false;
  }
  const double farX = std::max(std::fabs(c.X0 - ex), std::fabs(c.X1 - ex)) + slack;
  const double farY = std::max(std::fabs(c.Y0 - ey), std::fabs(c.Y1 - ey)) + slack;
  return farX * farX + farY * farY < radius * radius;
}

// Whether no piece between a node of row a and the same line's node in row b can show, for
// every line. A point of a straight piece, P = (1 - t) A + t B, lies |(1 - t) u + t v| >=
// r(t) - 2 |u - v| from E(t) = (1 - t) Ea + t Eb, with u = A - Ea, v = B - Eb,
// r(t) = (1 - t) Ra + t Rb and |u - v| <= |B - A| + |Eb - Ea|; the area's farthest point lies
// at most (1 - t) Fa + t Fb from E(t), as distance is convex. So when both circles clear the
// area by slack + 2 (reach + |Eb - Ea|), reach being the longest straight piece (the resolution's
// diagonal), no straight piece comes within slack of it. Every point of an arc lies at r(t) from
// E(t), clear of the area as well, and an arc draws only pieces with an end inside the area.
bool RowsPastArea(const TCullArea& c, const TFieldNode& a, const TFieldNode& b, double reach,
                  double slack) {
  const double drift = std::hypot(b.EmitX - a.EmitX, b.EmitY - a.EmitY);
  const double room = slack + 2.0 * (reach + drift);
  return CircleEncloses(c, a.EmitX, a.EmitY, a.Radius, room) &&
         CircleEncloses(c, b.EmitX, b.EmitY, b.Radius, room);
}

// PlotResolution is a distance on the screen, in logical pixels; the drawing's pixels are those
// of the mapping.
int ResolutionPixels(const TFieldView& view) {
  return view.Mapping.Scaled(view.PlotResolution);
}

// The model length of PlotResolution, negative because rows grow downwards.
double ResolutionLength(const TFieldView& view) {
  return view.Mapping.PixelToValueY(ResolutionPixels(view)) - view.Mapping.PixelToValueY(0);
}

// The line from A to B along the arc about their emission points, starting at the pen pixel
// `from`. R sets the scale of the step angle. Pieces with both ends outside DrawArea are skipped,
// so far-off arcs cost no drawing.
template <class TPoint>
void DrawArc(TPolylineRun<TPoint>& run, const TFieldPixels& pixels, const TRect& drawArea,
             const TCullArea& cull, double resolutionLength, const TFieldNode& a,
             const TFieldNode& b, const TFieldNode& r, TPoint from) {
  // The pen's own pixel is the only point that is not on the arc; with it outside, an arc that
  // cannot reach the view draws no piece, so it is not walked at all.
  const bool penOutside = !PointInRect(from.X, from.Y, drawArea);
  if (penOutside && ArcMisses(cull, a, b)) return;

  double thetaA = a.Angle;
  double thetaB = b.Angle;
  // Join the two directions across the smaller angle between them, through +-pi if need be.
  if (thetaB - thetaA > std::numbers::pi) thetaA += 2.0 * std::numbers::pi;
  if (thetaA - thetaB > std::numbers::pi) thetaB += 2.0 * std::numbers::pi;

  // Every point of the arc lies within this distance of its first point, node A itself: the
  // emission point moves at most |dE|, the radius changes at most |dr|, and the direction turns
  // through at most |thetaB - thetaA| (a chord is no longer than its arc). Tested before the
  // pieces are worked out: most arcs of a large model lie off the plot.
  const double reach =
      std::fabs(b.EmitX - a.EmitX) + std::fabs(b.EmitY - a.EmitY) + std::fabs(b.Radius - a.Radius) +
      std::max(std::fabs(a.Radius), std::fabs(b.Radius)) * std::fabs(thetaB - thetaA);
  if (penOutside && BoxMisses(cull, a.X, a.Y, reach)) return;

  double cosTheta = std::cos(thetaA);
  double sinTheta = std::sin(thetaA);
  const double q = resolutionLength / r.Radius;
  const int n = ArcPieceCount(thetaA, thetaB, q);
  // The angle advances by the same step between the n + 1 points, so its cosine and sine follow
  // by rotation instead of a library call per point: the same angles as interpolating them,
  // within a few units in the last place, far below a pixel.
  const double step = (thetaB - thetaA) / n;
  const double stepCos = std::cos(step);
  const double stepSin = std::sin(step);

  TPoint pen = from;
  for (int k = 0; k <= n; ++k) {
    const double ex = Interpolate(k, n, a.EmitX, b.EmitX);
    const double ey = Interpolate(k, n, a.EmitY, b.EmitY);
    const double radius = Interpolate(k, n, a.Radius, b.Radius);
    const TPoint p = PointOf<TPoint>(pixels, ex + radius * cosTheta, ey + radius * sinTheta);
    const double nextCos = cosTheta * stepCos - sinTheta * stepSin;
    sinTheta = sinTheta * stepCos + cosTheta * stepSin;
    cosTheta = nextCos;
    if (PointInRect(pen.X, pen.Y, drawArea) || PointInRect(p.X, p.Y, drawArea)) run.Piece(pen, p);
    pen = p;
  }
}

TRect DrawAreaOf(const TFieldView& view) {
  const TPixelRect& area = view.Mapping.DrawArea;
  return {area.Left, area.Top, area.Right, area.Bottom};
}

}  // namespace

TFieldPixels::TFieldPixels(const TFieldView& view) : Origin(view.Origin) {
  const TPlotMapping& m = view.Mapping;
  const auto centre = [](int a, int b) {
    return static_cast<int>((static_cast<long long>(a) + static_cast<long long>(b)) / 2);
  };
  Horizontal = {m.Horizontal.Minimum, m.Horizontal.Maximum - m.Horizontal.Minimum,
                static_cast<double>(m.PlotRect.Right) - static_cast<double>(m.PlotRect.Left),
                static_cast<double>(m.PlotRect.Left), centre(m.PlotRect.Left, m.PlotRect.Right)};
  Vertical = {m.Vertical.Minimum, m.Vertical.Maximum - m.Vertical.Minimum,
              static_cast<double>(m.PlotRect.Bottom) - static_cast<double>(m.PlotRect.Top),
              static_cast<double>(m.PlotRect.Bottom), centre(m.PlotRect.Top, m.PlotRect.Bottom)};
  OriginPair = TPair{Origin.X, Origin.Y};
  MinimumPair = TPair{Horizontal.Minimum, Vertical.Minimum};
  SpanPair = TPair{Horizontal.Span, Vertical.Span};
  RangePair = TPair{Horizontal.Range, Vertical.Range};
  BasePair = TPair{Horizontal.Base, Vertical.Base};
  DirectionPair = TPair{1.0, -1.0};
  ZeroRange = Horizontal.Range == 0.0 || Vertical.Range == 0.0;
  if (view.Anchor && !ZeroRange) {
    // The anchor's place in its pixel, unrounded, as MapFine works it out; an anchor off the
    // pixel range (or no number) leaves every point where it falls.
    const TRounding r = Round(view.Anchor->X, view.Anchor->Y);
    if (r.Usable[0] != 0 && r.Usable[1] != 0)
      AnchorPart = (r.T - r.Rounded) * DirectionPair * static_cast<double>(FineSteps);
  }
}

namespace {

// What the field lines and the wavefronts both need of a view, worked out once per drawing.
struct TLineView {
  TFieldPixels Pixels;
  TRect DrawArea;
  double StepLength;  // model units of the plot resolution
  int Resolution;     // pixels
  int Margin;
  TCullArea Cull;
};

TLineView LineViewOf(const TFieldView& view) {
  const TRect drawArea = DrawAreaOf(view);
  return {TFieldPixels(view),   drawArea,          ResolutionLength(view),
          ResolutionPixels(view), LineMargin(view), CullAreaOf(view, drawArea)};
}

// A node's pixel as the field lines keep it, with its place in the pixel where the canvas takes
// finer points: trivially constructed, so that the pixels of a whole table are not first cleared.
struct TMappedNode {
  int X;
  int Y;
};
struct TMappedFineNode {
  int X;
  int Y;
  std::int8_t DX;
  std::int8_t DY;
};

TMappedNode Mapped(TPixel p) { return {p.X, p.Y}; }
TMappedFineNode Mapped(TFinePoint p) { return {p.X, p.Y, p.DX, p.DY}; }
TPixel Unmapped(TMappedNode m) { return {m.X, m.Y}; }
TFinePoint Unmapped(TMappedFineNode m) { return {m.X, m.Y, m.DX, m.DY}; }

// Whether the pixels of two neighbouring nodes are so far apart that an arc joins them.
template <class TMapped>
bool NeedsArc(TMapped a, TMapped b, int resolution) {
  return !IsClose({a.X, a.Y}, {b.X, b.Y}, resolution);
}

// The oldest rows of a large model lie on circles that enclose the whole plot, and in the
// magnified view nearly every row does: no piece between two such rows can show, and they are
// neither mapped nor walked. Gives the last row j whose piece from row j - 1 may show; the pieces
// after it, up to the last row before the tail, cannot.
std::size_t LastRowShown(const TFieldSimulation& field, const TCullArea& cull, int ISize,
                         int resolution, int margin) {
  const double reach = std::numbers::sqrt2 * resolution * cull.Pixel;
  // The line's reach beyond its own pixel, and a pixel for the rounding of either end.
  const double slack = (margin + 2) * cull.Pixel;
  auto shown = static_cast<std::size_t>(ISize) - 1;
  while (shown > 1 &&
         RowsPastArea(cull, field.Nodes[shown - 1][0], field.Nodes[shown][0], reach, slack)) {
    --shown;
  }
  return shown;
}

// Rows that lie on a circle enclosing the whole plot draw no wavefront.
bool RowPastArea(const TCullArea& cull, const TFieldNode& node, int resolution, int margin) {
  return RowsPastArea(cull, node, node, std::numbers::sqrt2 * resolution * cull.Pixel,
                      (margin + 2) * cull.Pixel);
}

template <class TPoint>
void DrawFieldLinesAs(const TFieldView& view, const TFieldSimulation& field, int ISize,
                      int JSize) {
  using TMapped = decltype(Mapped(TPoint{}));
  const auto& [pixels, drawArea, resolutionLength, resolution, margin, cull] = LineViewOf(view);
  const auto& nodes = field.Nodes;
  const auto rows = static_cast<std::size_t>(ISize) + 1;
  const auto lines = static_cast<std::size_t>(JSize);
  const std::size_t shown = LastRowShown(field, cull, ISize, resolution, margin);
  // Every node is mapped first, reading the table in its own row order, which the processor
  // streams from memory; a line runs down a column, whose nodes lie a whole row apart. The
  // pixels are kept line by line, so that each line then walks its own in order. Left
  // uninitialised, as every entry walked is written first (make_unique_for_overwrite, which the
  // C++ library of the WebAssembly build lacks).
  const std::unique_ptr<TMapped[]> mapped(new TMapped[rows * lines]);
  for (std::size_t row = 0; row < rows; ++row) {
    if (row == shown + 1 && row < rows - 2) row = rows - 2;  // the rows between are not walked
    const TFieldNode* node = nodes[row].data();
    for (std::size_t line = 0; line < lines; ++line) {
      mapped[line * rows + row] = Mapped(PointOf<TPoint>(pixels, node[line].X, node[line].Y));
    }
  }

  view.Canvas.Pen.Color = PaletteOf(view.Theme).FieldLine;
  view.Canvas.Pen.Width = PaletteOf(view.Theme).LineWidth;
  TPolylineRun<TPoint> run(view.Canvas);
  // An arc reads its two nodes from the table again; where the pixels show one coming, its nodes
  // are asked for this many rows before.
  constexpr std::size_t RowsAhead = 24;
  for (std::size_t line = 0; line < lines; ++line) {
    const TMapped* pixel = &mapped[line * rows];
    const auto nodeAt = [&nodes, line](std::size_t row) -> const TFieldNode& {
      return nodes[row][line];
    };
    for (std::size_t j = 1; j <= shown; ++j) {
      const std::size_t ahead = j + RowsAhead;
      if (ahead <= shown && NeedsArc(pixel[ahead - 1], pixel[ahead], resolution)) {
        __builtin_prefetch(&nodeAt(ahead - 1));
        __builtin_prefetch(&nodeAt(ahead));
      }
      const TPoint previous = Unmapped(pixel[j - 1]);
      const TPoint current = Unmapped(pixel[j]);
      if (IsClose(Whole(previous), Whole(current), resolution)) {
        if (!BeyondOneEdge(Whole(previous), Whole(current), drawArea, margin))
          run.Piece(previous, current);
      } else {
        DrawArc(run, pixels, drawArea, cull, resolutionLength, nodeAt(j - 1), nodeAt(j),
                nodeAt(j), previous);
      }
    }
    // The tail node lies far beyond the last row: every line runs on out of the plot.
    run.Piece(Unmapped(pixel[rows - 2]), Unmapped(pixel[rows - 1]));
  }
  run.Flush();
}

template <class TPoint>
void DrawWavefrontsAs(const TFieldView& view, const TFieldSimulation& field, int ISize,
                      int JSize) {
  const auto& [pixels, drawArea, resolutionLength, resolution, margin, cull] = LineViewOf(view);
  view.Canvas.Pen.Color = PaletteOf(view.Theme).WaveFront;
  view.Canvas.Pen.Width = PaletteOf(view.Theme).LineWidth;
  TPolylineRun<TPoint> run(view.Canvas);
  for (int j = 1; j <= ISize - 1; ++j) {
    const auto& row = field.Nodes[static_cast<std::size_t>(j)];
    if (RowPastArea(cull, row[0], resolution, margin)) continue;
    for (int i = 0; i < JSize; ++i) {
      const TFieldNode& a = row[static_cast<std::size_t>(i)];
      if (a.WaveFront != 1) continue;
      const TFieldNode& b = row[static_cast<std::size_t>(i) + 1];
      const TPoint pa = PointOf<TPoint>(pixels, a.X, a.Y);
      const TPoint pb = PointOf<TPoint>(pixels, b.X, b.Y);
      if (IsClose(Whole(pa), Whole(pb), resolution)) {
        if (!BeyondOneEdge(Whole(pa), Whole(pb), drawArea, margin)) run.Piece(pa, pb);
      } else {
        DrawArc(run, pixels, drawArea, cull, resolutionLength, a, b, a, pa);
      }
    }
  }
  run.Flush();
}

}  // namespace

void DrawFieldLines(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize) {
  if (!TableHolds(field, ISize, JSize)) return;
  if (view.Canvas.TakesFinePoints())
    DrawFieldLinesAs<TFinePoint>(view, field, ISize, JSize);
  else
    DrawFieldLinesAs<TPixel>(view, field, ISize, JSize);
}

void DrawWavefronts(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize) {
  if (!TableHolds(field, ISize, JSize)) return;
  if (view.Canvas.TakesFinePoints())
    DrawWavefrontsAs<TFinePoint>(view, field, ISize, JSize);
  else
    DrawWavefrontsAs<TPixel>(view, field, ISize, JSize);
}

void DrawNodePoints(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize) {
  if (!TableHolds(field, ISize, JSize)) return;
  const TFieldPixels pixels(view);
  // A box of 2 x 2 logical pixels, filled in the pen's colour where it is larger than its
  // one-pixel outline.
  const int half = view.Mapping.Scaled(1);
  view.Canvas.Pen.Color = PaletteOf(view.Theme).NodePoint;
  view.Canvas.Pen.Width = 1.0;
  view.Canvas.Brush.Color = PaletteOf(view.Theme).NodePoint;
  view.Canvas.Brush.Style = TBrushStyle::Solid;
  for (int j = 1; j <= ISize - 1; ++j) {
    const auto& row = field.Nodes[static_cast<std::size_t>(j)];
    for (int i = 0; i < JSize; ++i) {
      const TFieldNode& node = row[static_cast<std::size_t>(i)];
      if (node.WaveFront != 1) continue;
      const TPixel p = PixelOf(pixels, node);
      const int x = KeepInRange(p.X, half);
      const int y = KeepInRange(p.Y, half);
      view.Canvas.Rectangle(x - half, y - half, x + half, y + half);
    }
  }
}

void DrawTrajectory(const TFieldView& view, const TPathGeneration& path, bool closed) {
  const TFieldPixels pixels(view);
  view.Canvas.Pen.Color = PaletteOf(view.Theme).Trajectory;
  view.Canvas.Pen.Width = PaletteOf(view.Theme).LineWidth;
  // The animation uses samples 0 .. SampleCount - 2; the table may hold fewer than it claims
  // only if it was filled by hand, and is then drawn as far as it goes.
  long long last = static_cast<long long>(path.Path.SampleCount) - 2;
  const long long stored = static_cast<long long>(path.Path.Samples.size()) - 1;
  if (stored < last) last = stored;
  if (last < 0) return;
  const auto sample = [&path](long long s) -> const TPathSample& {
    return path.Path.Samples[static_cast<std::size_t>(s)];
  };
  if (view.Canvas.TakesFinePoints()) {
    // A circle through whole pixels wobbles by up to half a pixel; placed finer it stays round.
    // Handed on in short polylines, each starting where the last ended, so that a path of any
    // length needs no buffer of its own on every frame.
    std::array<TFinePoint, 256> points;
    std::size_t count = 0;
    const long long end = closed && last >= 1 ? last + 1 : last;  // sample 0 again to close
    for (long long s = 0; s <= end; ++s) {
      const TPathSample& at = sample(s <= last ? s : 0);
      points[count++] = pixels.MapFine(at.X, at.Y);
      if (count == points.size() || s == end) {
        view.Canvas.FinePolyline(points.data(), count);
        points[0] = points[count - 1];
        count = 1;
      }
    }
    return;
  }
  for (long long s = 0; s <= last; ++s) {
    const TPixel p = PixelOf(pixels, sample(s).X, sample(s).Y);
    if (s == 0) {
      view.Canvas.MoveTo(p.X, p.Y);
    } else {
      view.Canvas.LineTo(p.X, p.Y);
    }
  }
  if (closed && last >= 1) {
    const TPixel p = PixelOf(pixels, sample(0).X, sample(0).Y);
    view.Canvas.LineTo(p.X, p.Y);
  }
}

void DrawChargeDisc(TCanvas& canvas, int cx, int cy) {
  canvas.Brush.Color = ChargeDiscBrush;
  canvas.Pen.Color = ChargeDiscPen;
  canvas.Pen.Width = 1.0;
  canvas.Brush.Style = TBrushStyle::Solid;
  const int half = ScaledPixels(ChargeDiscHalfSize, canvas.PixelRatio);
  cx = KeepInRange(cx, half);
  cy = KeepInRange(cy, half);
  canvas.Ellipse(cx - half, cy - half, cx + half, cy + half);
}
