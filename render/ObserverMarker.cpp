// SPDX-License-Identifier: GPL-3.0-or-later
// The eye drawn with the canvas's lines and ellipses: the almond's two lids as parabolas through
// its corners, the pupil a filled disc; the line to the retarded position in the frame's edge
// grey, thinner than the lids so that the eye stays the mark.
#include "render/ObserverMarker.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>

#include "engine/Observer.h"
#include "render/Palette.h"

namespace {

// Pixels that keep a box of margin around them within an int.
int KeepWithin(int v, int margin) { return std::clamp(v, INT_MIN + margin, INT_MAX - margin); }

}  // namespace

void DrawObserverMarker(const TFieldView& view, const TSimulationState& state,
                        const TObserverSettings& observer) {
  if (!observer.Shown) return;
  TCanvas& canvas = view.Canvas;
  // What the canvas held before is what the drawing after the eye finds.
  const TPen pen = canvas.Pen;
  const TBrush brush = canvas.Brush;
  const TPalette& palette = PaletteOf(view.Theme);
  const TPlotMapping& mapping = view.Mapping;
  const auto pixelOf = [&](TVector2 p) {
    return TCanvasPoint{mapping.ValueToPixelX(p.X - view.Origin.X),
                        mapping.ValueToPixelY(p.Y - view.Origin.Y)};
  };
  const double ratio = canvas.PixelRatio;
  const int halfWidth = ScaledPixels(ObserverEyeHalfWidth, ratio);
  const int halfHeight = ScaledPixels(ObserverEyeHalfHeight, ratio);
  const int pupil = ScaledPixels(ObserverPupilHalfSize, ratio);
  const TCanvasPoint eye = pixelOf(observer.Place);
  const int cx = KeepWithin(eye.X, halfWidth + 1);
  const int cy = KeepWithin(eye.Y, halfWidth + 1);

  TObserverReception reception;
  if (ReceiveAt(state.FieldSimulation, state.ISize, observer.Place, 0.0, reception)) {
    const TCanvasPoint sent = pixelOf(reception.Emission);
    canvas.Pen.Color = palette.PanelEdge;
    canvas.Pen.Width = 1.0;
    canvas.MoveTo(sent.X, sent.Y);
    canvas.LineTo(cx, cy);
  }

  // Each lid y = ±h (1 − (x/w)²) from corner to corner; the lower one back again, so that one
  // polyline closes the outline.
  constexpr int Steps = 8;
  std::array<TCanvasPoint, 4 * Steps + 1> outline{};
  std::size_t n = 0;
  for (int lid = 0; lid < 2; ++lid) {
    for (int k = 0; k < 2 * Steps; ++k) {
      const double t = static_cast<double>(k) / Steps - 1.0;  // -1 .. 1 (exclusive at the end)
      const double x = lid == 0 ? t : -t;
      const double y = (lid == 0 ? -1.0 : 1.0) * halfHeight * (1.0 - x * x);
      outline[n++] = {cx + static_cast<int>(std::lround(x * halfWidth)),
                      cy + static_cast<int>(std::lround(y))};
    }
  }
  outline[n++] = outline[0];
  canvas.Pen.Color = palette.Text;
  canvas.Pen.Width = std::max(1.0, palette.LineWidth * 0.75);
  canvas.Polyline(outline.data(), n);
  canvas.Pen.Width = 1.0;
  canvas.Brush.Color = palette.Text;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Ellipse(cx - pupil, cy - pupil, cx + pupil + 1, cy + pupil + 1);
  canvas.Pen = pen;
  canvas.Brush = brush;
}
