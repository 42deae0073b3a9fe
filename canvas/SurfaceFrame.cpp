// SPDX-License-Identifier: GPL-3.0-or-later
// The surface frame: filled boxes only, so that it is the same pixels on every canvas and at any
// smoothing.
#include "canvas/SurfaceFrame.h"

namespace {

constexpr TColor BorderGrey = ColorRGB(160, 160, 160);
constexpr TColor BevelShadow = ColorRGB(64, 64, 64);
constexpr TColor BevelHighlight = ColorRGB(255, 255, 255);

// Frame of width pixels just inside r: the left and top edges in one colour, right and bottom in
// the other (the bottom-left and top-right corners go to the top-left colour).
void DrawFrame(TCanvas& canvas, const TPixelRect& r, int width, TColor topLeft,
               TColor bottomRight) {
  if (r.Right - r.Left < 1 || r.Bottom - r.Top < 1) return;
  FillBox(canvas, r.Left, r.Top, r.Right, r.Top + width, topLeft);
  FillBox(canvas, r.Left, r.Top, r.Left + width, r.Bottom, topLeft);
  FillBox(canvas, r.Right - width, r.Top + width, r.Right, r.Bottom, bottomRight);
  FillBox(canvas, r.Left + width, r.Bottom - width, r.Right, r.Bottom, bottomRight);
}

TPixelRect Inset(TPixelRect r, int by) {
  return {r.Left + by, r.Top + by, r.Right - by, r.Bottom - by};
}

}  // namespace

void FillBox(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor color) {
  canvas.Pen.Color = color;
  canvas.Brush.Color = color;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Rectangle(x1, y1, x2, y2);
}

void DrawSurfaceFrame(TCanvas& canvas, TSurfaceKind kind, const TPixelRect& area, int line) {
  if (kind == TSurfaceKind::Pattern) {
    DrawFrame(canvas, area, line, BevelShadow, BevelHighlight);
  } else {
    DrawFrame(canvas, area, line, BorderGrey, BorderGrey);
    DrawFrame(canvas, Inset(area, line), line, BevelShadow, BevelHighlight);
  }
}
