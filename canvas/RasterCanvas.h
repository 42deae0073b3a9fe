// SPDX-License-Identifier: GPL-3.0-or-later
// The screen's canvas: draws straight into a pixel buffer (the surface's off-screen buffer, a
// browser's image data, a picture in memory) with its own integer line loop, because QPainter
// costs several times more per segment.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "canvas/Canvas.h"
#include "canvas/PixelBuffer.h"

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
// Wide and smooth lines (w = Pen.Width x PixelRatio, at least 1, is 1.5 or more, or Smooth): the
// line from the centre of the pen pixel to the centre of (x, y) is a band w pixels thick across
// its minor axis. At major step i (i = 0 .. M-1, end pixel excluded as above) the band covers the
// minor interval [c - w/2, c + w/2], c = b0 + 1/2 + i dMinor / M the line's minor coordinate
// there (kept exact, so clipping never moves a pixel).
// - Smooth: each pixel takes the pen colour by the share of it the interval covers (so the shares
//   of one step add up to w; at w = 1 the two pixels of Wu's lines), blended over what is there.
// - Aliased: w is rounded to whole pixels, W; the W pixels whose centres lie in
//   [c - W/2, c + W/2) take the pen colour. Under 1.5 this is the one-pixel rule above.
// - Smooth ellipses: coverage estimated from the distance of each pixel centre to the edge
//   (first order), the outline w pixels wide inside the edge, blended over what is there.
// Colours take the buffer's byte order; the pixels drawn are the same in either order but for
// red and blue trading places.
class TRasterCanvas final : public TCanvas {
 public:
  // The pixels must outlive the canvas.
  explicit TRasterCanvas(const TPixelBuffer& buffer);
  // An image of a front-end's own type, through the PixelBufferOf(image) declared beside that
  // type (plot/ImageBuffer.h: a QImage).
  template <class TImage>
  requires requires(TImage& image) {
    { PixelBufferOf(image) } -> std::same_as<TPixelBuffer>;
  }
  explicit TRasterCanvas(TImage& image) : TRasterCanvas(PixelBufferOf(image)) {}

  void LineTo(int x, int y) override;
  // Asks for each point's pixels a few points before its piece is drawn: a field line wanders
  // across the whole image, and a smooth line reads every pixel it blends.
  void Polyline(const TCanvasPoint* points, std::size_t count) override;
  // Smooth lines run between the points as placed, to a sixteenth of a pixel (the band of the
  // rules below, its centre from point to point); aliased lines between their whole pixels.
  bool TakesFinePoints() const override { return Smooth; }
  void FinePolyline(const TFinePoint* points, std::size_t count) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  // Each channel fg c/255 + bg (255 - c)/255 rounded to the nearest whole number, the pixel made
  // opaque; coverage 0 leaves a pixel as it is, 255 sets the colour.
  void BlendCoverage(int x, int y, int width, int height, const std::uint8_t* coverage, int stride,
                     TColor colour) override;

  // The buffer pixel of a canvas colour, opaque: 0xffRRGGBB in Bgra, 0xffBBGGRR in Rgba.
  static std::uint32_t PixelOf(TColor color, TByteOrder order = TByteOrder::Bgra) {
    if (order == TByteOrder::Rgba) return 0xFF000000u | (color & 0xFFFFFFu);
    return 0xFF000000u | (ColorRed(color) << 16) | (ColorGreen(color) << 8) | ColorBlue(color);
  }

 private:
  // The line of LineTo from (x0, y0) to (x1, y1), by the pen and the output's width.
  void DrawPiece(int x0, int y0, int x1, int y1);
  void Prefetch(TCanvasPoint point) const;
  void DrawLine(int x0, int y0, int x1, int y1);
  // The band line of the rules above, smooth or aliased, of width w pixels.
  void DrawBand(int x0, int y0, int x1, int y1, double w, bool smooth);
  // The smooth band between two fine points, walked along the axis it returns: the one the
  // line runs along more in the direction (towardsX, towardsY) in sixteenths (none: the piece's
  // own); lastXMajor is the axis of the piece before it in the polyline, if any.
  std::optional<bool> DrawFineBand(const TFinePoint& a, const TFinePoint& b, double w,
                                   std::optional<bool> lastXMajor, std::int64_t towardsX,
                                   std::int64_t towardsY);
  void SmoothEllipse(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);
  // Pixels first .. last (inclusive, any values) of row y, clipped to the image.
  void FillSpan(std::int64_t y, std::int64_t first, std::int64_t last, std::uint32_t pixel);

  std::uint32_t* Bits = nullptr;
  std::int64_t Stride = 0;  // in pixels
  int Width = 0;
  int Height = 0;
  TByteOrder ByteOrder = TByteOrder::Bgra;
};
