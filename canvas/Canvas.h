// SPDX-License-Identifier: GPL-3.0-or-later
// The pen-and-brush drawing primitives the after-draw handlers use; the screen draws them into
// the off-screen buffer's memory, printing through QPainter.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

// 24-bit colour, red in the lowest byte, then green, then blue.
using TColor = std::uint32_t;
constexpr TColor ColorRGB(unsigned r, unsigned g, unsigned b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr unsigned ColorRed(TColor c) { return c & 0xFF; }
constexpr unsigned ColorGreen(TColor c) { return (c >> 8) & 0xFF; }
constexpr unsigned ColorBlue(TColor c) { return (c >> 16) & 0xFF; }

// A screen distance of `logical` pixels in device pixels at `ratio` device pixels per logical
// pixel, rounded; a positive distance stays at least one pixel, and a ratio that is not a usable
// number counts as 1.
inline int ScaledPixels(int logical, double ratio) {
  if (!(ratio > 0.0 && ratio <= 64.0)) ratio = 1.0;
  const double scaled = std::round(static_cast<double>(logical) * ratio);
  if (logical > 0 && scaled < 1.0) return 1;
  return static_cast<int>(std::clamp(scaled, -2147483647.0, 2147483647.0));
}

// A canvas pixel.
struct TCanvasPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(TCanvasPoint, TCanvasPoint) = default;
};

// A point finer than a pixel: a pixel (X, Y) and the point's offset from its centre in sixteenths
// of a pixel, DX and DY in -16 .. 16, so the point lies at (X + 1/2 + DX/16, Y + 1/2 + DY/16) with
// pixel (x, y) covering [x, x + 1) x [y, y + 1). With DX = DY = 0 it is the canvas pixel itself.
struct TFinePoint {
  int X = 0;
  int Y = 0;
  std::int8_t DX = 0;
  std::int8_t DY = 0;
  friend bool operator==(TFinePoint, TFinePoint) = default;
};
constexpr int FineSteps = 16;  // parts of a pixel in DX and DY

enum class TBrushStyle { Solid, Clear };

struct TPen {
  TColor Color = ColorRGB(0, 0, 0);  // solid, copy mode
  // Lines are Width x PixelRatio device pixels wide (at least one); a width that is not a
  // positive number up to 64 counts as 1.
  double Width = 1.0;  // logical pixels
};

struct TBrush {
  TColor Color = ColorRGB(255, 255, 255);
  TBrushStyle Style = TBrushStyle::Solid;
};

class TCanvas {
 public:
  TPen Pen;
  TBrush Brush;
  // Device pixels per logical pixel of the output: a line Pen.Width logical pixels wide is
  // Pen.Width times this many device pixels. Set by whoever creates the canvas (the plot surface
  // from the screen's ratio); Reset leaves it alone.
  double PixelRatio = 1.0;
  // Anti-aliased drawing: lines weighted by how much of each pixel they cover and blended over
  // what is there, ellipses with a soft edge. Off: every pixel is either the colour or untouched.
  bool Smooth = false;

  virtual ~TCanvas() = default;

  void MoveTo(int x, int y) {
    PenX = x;
    PenY = y;
  }
  // Line from the pen position to (x, y), end pixel excluded; (x, y) becomes the pen position.
  virtual void LineTo(int x, int y) = 0;
  // MoveTo the first point, then LineTo each of the others: the same pixels. A canvas that knows
  // the points ahead may fetch what it needs of them early.
  virtual void Polyline(const TCanvasPoint* points, std::size_t count) {
    if (count == 0) return;
    MoveTo(points[0].X, points[0].Y);
    for (std::size_t k = 1; k < count; ++k) LineTo(points[k].X, points[k].Y);
  }
  // Whether FinePolyline draws finer than Polyline: outputs with smooth lines, which show the bend
  // that rounding every vertex to a whole pixel puts into a straight line (up to half a pixel at
  // each vertex). The drawing then hands its points on to a sixteenth of a pixel.
  virtual bool TakesFinePoints() const { return false; }
  // The polyline through points placed to a sixteenth of a pixel. By default the whole pixels,
  // drawn as Polyline draws them.
  virtual void FinePolyline(const TFinePoint* points, std::size_t count) {
    if (count == 0) return;
    MoveTo(points[0].X, points[0].Y);
    for (std::size_t k = 1; k < count; ++k) LineTo(points[k].X, points[k].Y);
  }
  // Inscribed in the box, outlined with the pen, filled with the brush; right and bottom edges
  // excluded.
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  // Lays colour over the pixels x .. x + width - 1, y .. y + height - 1 by coverage: row r's
  // width bytes start at coverage + r * stride, each the share of its pixel the colour covers
  // (0 none, 255 all), as a rasterized glyph gives it. Pixels beyond the canvas are left out. A
  // canvas without pixels to blend into leaves the call alone.
  virtual void BlendCoverage(int x, int y, int width, int height, const std::uint8_t* coverage,
                             int stride, TColor colour) {
    (void)x, (void)y, (void)width, (void)height, (void)coverage, (void)stride, (void)colour;
  }

  // Pen black and 1 wide, brush white and solid: the state every after-draw handler starts from.
  // The pixel ratio and the smoothing belong to the output and stay.
  void Reset() {
    Pen = TPen{};
    Brush = TBrush{};
  }

 protected:
  int PenX = 0;
  int PenY = 0;
};
