// SPDX-License-Identifier: GPL-3.0-or-later
// The chart drawn on any canvas: the ground, the surface's frame, the pattern window's axes and
// grid, the series' lines and markers, then the after-draw handler; the screen's buffer and the
// printed page both come from here.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "canvas/SurfaceFrame.h"
#include "plot/PlotSurfaceImpl.h"

namespace {

constexpr TColor AxisBlue = ColorRGB(0, 0, 255);
constexpr TColor GridGrey = ColorRGB(128, 128, 128);

// Room between labels of the bottom axis, whose grid lines lie halfway between them (logical
// pixels).
constexpr double LabelSpacing = 60.0;

int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

// Label increment of the bottom axis: the smallest 1, 2 or 5 times a power of ten that keeps
// labels LabelSpacing pixels apart; 0 where the axis has no usable labels.
double LabelStep(double range, double pixels) {
  if (!(range > 0.0) || !std::isfinite(range) || pixels < 1.0) return 0.0;
  const double raw = range * LabelSpacing / pixels;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double factor : {1.0, 2.0, 5.0, 10.0})
    if (factor * power >= raw) return factor * power;
  return 10.0 * power;
}

}  // namespace

TPixelRect TPlotSurface::TImpl::Layout(TSurfaceKind kind, const TPixelRect& area, int line) {
  TPixelRect r = area;
  if (kind == TSurfaceKind::Pattern) {
    r.Left += line;
    r.Bottom -= line;
  }
  return r;
}

void TPlotSurface::TImpl::DrawAxes(TPlotSurface& s, TCanvas& canvas) {
  const TPixelRect r = s.CurrentMapping.PlotRect;
  if (r.Right - r.Left < 1 || r.Bottom - r.Top < 1) return;
  const int line = s.CurrentMapping.Scaled(1);
  // Vertical grid lines, dotted (one logical pixel on, one off), halfway between the labels of
  // the bottom axis.
  const TAxis& axis = s.CurrentMapping.Horizontal;
  const double step =
      LabelStep(axis.Maximum - axis.Minimum, (r.Right - r.Left) / s.CurrentMapping.PixelRatio);
  if (step > 0.0) {
    const double first = std::ceil(axis.Minimum / step - 0.5) + 0.5;
    // Counted, not stepped in double: far from 0 adding 1 to k may change nothing.
    for (int n = 0; n < 1000; ++n) {
      const double value = (first + n) * step;
      if (!(value <= axis.Maximum)) break;
      const int x = s.ValueToPixelX(value);
      if (x <= r.Left || x >= r.Right) continue;
      for (int y = r.Top; y < r.Bottom; y += 2 * line)
        FillBox(canvas, x, y, x + line, std::min(y + line, r.Bottom), GridGrey);
    }
  }
  FillBox(canvas, r.Left - line, r.Top, r.Left, r.Bottom, AxisBlue);
  FillBox(canvas, r.Left - line, r.Bottom, r.Right, r.Bottom + line, AxisBlue);
}

void TPlotSurface::TImpl::DrawSeries(TPlotSurface& s, TCanvas& canvas, const TPointSeries& series) {
  const std::vector<TSeriesPoint>& points = series.Points();
  if (series.DrawLine && !points.empty()) {
    canvas.Pen.Color = series.LineColor;
    canvas.MoveTo(s.ValueToPixelX(points[0].X), s.ValueToPixelY(points[0].Y));
    for (std::size_t i = 1; i < points.size(); ++i)
      canvas.LineTo(s.ValueToPixelX(points[i].X), s.ValueToPixelY(points[i].Y));
  }
  if (!series.Marker.Visible) return;
  const TMarker& marker = series.Marker;
  const int horizSize = s.CurrentMapping.Scaled(marker.HorizSize);
  const int vertSize = s.CurrentMapping.Scaled(marker.VertSize);
  for (const TSeriesPoint& point : points) {
    const std::int64_t x = s.ValueToPixelX(point.X);
    const std::int64_t y = s.ValueToPixelY(point.Y);
    canvas.Pen.Color = marker.PenColor.value_or(point.Color);
    canvas.Brush.Color = marker.BrushColor.value_or(point.Color);
    canvas.Brush.Style = TBrushStyle::Solid;
    const int x1 = ClampToInt(x - horizSize), x2 = ClampToInt(x + horizSize);
    const int y1 = ClampToInt(y - vertSize), y2 = ClampToInt(y + vertSize);
    if (marker.Style == TMarkerStyle::Circle)
      canvas.Ellipse(x1, y1, x2, y2);
    else
      canvas.Rectangle(x1, y1, x2, y2);
  }
}

void TPlotSurface::TImpl::Draw(TPlotSurface& s, TCanvas& canvas, const TPixelRect& area,
                               double ratio) {
  s.CurrentMapping.PixelRatio = ratio;
  const int line = s.CurrentMapping.Scaled(1);
  s.CurrentMapping.DrawArea = area;
  s.CurrentMapping.PlotRect = Layout(s.Kind, area, line);
  s.CurrentMapping.Horizontal = s.Bottom;
  s.CurrentMapping.Vertical = s.Left;
  canvas.PixelRatio = ratio;
  canvas.Smooth = s.SmoothLines;

  canvas.Pen.Color = s.Ground;
  canvas.Brush.Color = s.Ground;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Rectangle(area.Left, area.Top, area.Right, area.Bottom);
  DrawSurfaceFrame(canvas, s.Kind, area, line);
  if (s.Kind == TSurfaceKind::Pattern) DrawAxes(s, canvas);
  DrawSeries(s, canvas, *s.FirstSeries);
  if (s.SecondSeries) DrawSeries(s, canvas, *s.SecondSeries);
  canvas.Reset();
  if (s.OnAfterDraw) s.OnAfterDraw(s, canvas);
}
