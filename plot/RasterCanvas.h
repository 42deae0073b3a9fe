// The screen's canvas: draws straight into the memory of an RGB32 image (the surface's off-screen
// buffer) with its own integer line loop, because QPainter costs several times more per segment.
#pragma once

#include <QImage>
#include <cstdint>

#include "plot/Canvas.h"

// Pixel rules (the same wherever a line lies, clipped or not):
// - LineTo walks the major axis (x when |dx| >= |dy|) from the pen position; the pixel at major
//   step i (i = 0 .. M-1, M = major extent) sits floor((2 i m + M - 1) / (2 M)) minor steps from
//   the start, m = minor extent: the nearest row or column, a tie going toward the start. The end
//   pixel is not drawn, so a zero-length line draws nothing and a polyline lights each joint once.
// - Ellipse and Rectangle cover the box x1 .. x2-1, y1 .. y2-1 (corners in any order; an empty
//   box draws nothing). The ellipse holds the pixels whose centres lie inside the ellipse
//   inscribed in the box; its outline is every such pixel with a 4-neighbour outside it.
//   Outlines take Pen.Color, the rest Brush.Color when Brush.Style is Solid.
// Lines are clipped to the image before they are walked, so a segment to (1e9, -1e9) costs what
// one to the image edge costs.
class TRasterCanvas final : public TCanvas {
 public:
  // image must be Format_RGB32 (or ARGB32) and outlive the canvas; it is detached once here.
  explicit TRasterCanvas(QImage& image);

  void LineTo(int x, int y) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;

  // The image pixel of a canvas colour (opaque, 0xffRRGGBB).
  static std::uint32_t PixelOf(TColor color) {
    return 0xFF000000u | (ColorRed(color) << 16) | (ColorGreen(color) << 8) | ColorBlue(color);
  }

 private:
  void DrawLine(int x0, int y0, int x1, int y1);
  // Pixels first .. last (inclusive, any values) of row y, clipped to the image.
  void FillSpan(std::int64_t y, std::int64_t first, std::int64_t last, std::uint32_t pixel);

  std::uint32_t* Bits = nullptr;
  std::int64_t Stride = 0;  // in pixels
  int Width = 0;
  int Height = 0;
};
