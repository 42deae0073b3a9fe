// SPDX-License-Identifier: GPL-3.0-or-later
// Integer line walking, clipped spans for ellipses and rectangles, straight into a pixel buffer.
#include "canvas/RasterCanvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>

namespace {

// Products of two 33-bit extents overflow 64 bits; the clip arithmetic runs in 128.
__extension__ typedef __int128 TWide;

TWide FloorDiv(TWide a, TWide b) {  // b > 0
  const TWide q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

TWide CeilDiv(TWide a, TWide b) {  // b > 0
  const TWide q = a / b;
  return (a % b != 0 && a > 0) ? q + 1 : q;
}

void Order(std::int64_t& a, std::int64_t& b) {
  if (a > b) std::swap(a, b);
}

// Narrows the steps first .. last of a walk to those whose major coordinate a0 + stepA * i
// (stepA = +-1) lies in 0 .. size - 1; false when none does.
bool MajorStepsInside(std::int64_t a0, std::int64_t stepA, std::int64_t size, std::int64_t& first,
                      std::int64_t& last) {
  if (stepA > 0) {
    first = std::max(first, -a0);
    last = std::min(last, size - 1 - a0);
  } else {
    first = std::max(first, a0 - (size - 1));
    last = std::min(last, a0);
  }
  return first <= last;
}

// Narrows the steps first .. last of a walk to those whose band may reach the image: the centre
// c(i) = centre0 + i slope within `reach` of 0 .. size along the minor axis. Solved in double, so
// that far ends cost nothing; false when no step is left.
bool MinorStepsReaching(double centre0, double slope, double reach, std::int64_t size,
                        std::int64_t& first, std::int64_t& last) {
  if (slope == 0.0) return centre0 + reach > 0.0 && centre0 - reach < static_cast<double>(size);
  double ia = (-reach - centre0) / slope;
  double ib = (static_cast<double>(size) + reach - centre0) / slope;
  if (ia > ib) std::swap(ia, ib);
  if (!(ia <= static_cast<double>(last)) || !(ib >= static_cast<double>(first))) return false;
  if (ia > static_cast<double>(first)) first = static_cast<std::int64_t>(std::ceil(ia));
  if (ib < static_cast<double>(last)) last = static_cast<std::int64_t>(std::floor(ib));
  return first <= last;
}

// Minor coordinates of the band lines in fixed point, 16 fraction bits (the steps are exact
// fractions all the same, see TBandWalk).
constexpr int FractionBits = 16;
constexpr std::int64_t One = std::int64_t{1} << FractionBits;
constexpr std::int64_t Half = One / 2;
// Coverage in 1/256 of a pixel from a fixed-point length of at most One.
constexpr int AlphaShift = FractionBits - 8;

// bg with fg laid over it at alpha / 256 (0 .. 256), both opaque pixels of one byte order. Red and
// blue are blended side by side in one word: 255 x 256 still fits the 16 bits between them. They
// lie in bytes 0 and 2 in either order (0xffRRGGBB, 0xffBBGGRR), green in byte 1, so the one
// blend serves both orders.
[[gnu::always_inline]] inline std::uint32_t Blend(std::uint32_t bg, std::uint32_t fg,
                                                   std::uint32_t alpha) {
  const std::uint32_t rest = 256 - alpha;
  const std::uint32_t rb = ((fg & 0xFF00FFu) * alpha + (bg & 0xFF00FFu) * rest) >> 8;
  const std::uint32_t g = ((fg & 0x00FF00u) * alpha + (bg & 0x00FF00u) * rest) >> 8;
  return 0xFF000000u | (rb & 0xFF00FFu) | (g & 0x00FF00u);
}

// The line width in device pixels: the pen's width in logical pixels times the pixel ratio, at
// least 1 and at most 64; a ratio or a width that is no usable number counts as 1.
double LineWidthOf(double ratio, double penWidth) {
  if (!(ratio > 0.0 && ratio <= 64.0)) ratio = 1.0;
  if (!(penWidth > 0.0 && penWidth <= 64.0)) penWidth = 1.0;
  return std::clamp(ratio * penWidth, 1.0, 64.0);
}

// Over a channel of bg, the channel of fg at coverage/255, rounded to the nearest: for
// v = fg c + bg (255 - c) + 128 (at most 255 x 255 + 128), (v + v / 256) / 256 is the nearest
// whole number to (v - 128) / 255, which never lies half-way.
[[gnu::always_inline]] inline std::uint32_t BlendChannel(std::uint32_t bg, std::uint32_t fg,
                                                          std::uint32_t coverage) {
  const std::uint32_t v = fg * coverage + bg * (255u - coverage) + 128u;
  return (v + (v >> 8)) >> 8;
}

std::uint32_t BlendByCoverage(std::uint32_t bg, std::uint32_t fg, std::uint32_t coverage) {
  std::uint32_t out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    out |= BlendChannel((bg >> shift) & 0xFFu, (fg >> shift) & 0xFFu, coverage) << shift;
  }
  return out;
}

// The steps of one band line: the minor interval [low, low + thick) starts at Low and moves by
// Step + Remainder / Major per major step, kept exact as a floor with its remainder, so a walk
// started at any step lights the pixels a walk from the line's start lights there. Line points
// at the pixel of minor coordinate 0 at the first step.
struct TBandWalk {
  std::uint32_t* Line;
  std::int64_t MajorStep;    // pointer step per major step
  std::int64_t MinorStride;  // pointer step per minor pixel
  std::int64_t MinorSize;    // pixels along the minor axis
  std::int64_t Low;
  std::int64_t Step;
  std::int64_t Remainder;    // 0 .. Major - 1, added to Fraction each step
  std::int64_t Fraction;     // 0 .. Major - 1 at the first step
  std::int64_t Major;
  std::int64_t Thick;
  std::int64_t Count;

  // One major step on: the interval's exact move, and the pointer's.
  void Advance() {
    Low += Step;
    Fraction += Remainder;
    const std::int64_t carry = Fraction >= Major ? 1 : 0;
    Low += carry;
    Fraction -= carry * Major;
    Line += MajorStep;
  }
  // The pixel of minor coordinate Low at this step.
  std::uint32_t* Pixel() const { return Line + (Low >> FractionBits) * MinorStride; }
};

// The walk of count steps whose band starts at base + along / major (16.16) and moves
// dMinor / major pixels per step, both quotients floored exactly with their remainders, so that
// a walk started part-way lights what the whole walk lights there.
TBandWalk WalkFrom(std::uint32_t* line, std::int64_t majorStep, std::int64_t minorStride,
                   std::int64_t minorSize, TWide base, TWide along, std::int64_t dMinor,
                   std::int64_t major, std::int64_t thick, std::int64_t count) {
  const TWide offset = FloorDiv(along, major);
  const TWide perStep = static_cast<TWide>(dMinor) * One;
  const TWide step = FloorDiv(perStep, major);
  return {line,
          majorStep,
          minorStride,
          minorSize,
          static_cast<std::int64_t>(base + offset),
          static_cast<std::int64_t>(step),
          static_cast<std::int64_t>(perStep - step * major),
          static_cast<std::int64_t>(along - offset * major),
          major,
          thick,
          count};
}

// A fine point's coordinate in sixteenths of a pixel: pixel p's centre lies at 16 p + 8.
std::int64_t Sixteenths(int pixel, std::int8_t part) {
  return static_cast<std::int64_t>(pixel) * FineSteps + FineSteps / 2 + part;
}

// floor(n / d) and its remainder for d > 0 from d's reciprocal: for |n| under 2^36 and d under
// 2^20 the estimate lies within one of the floor, and the remainder's sign corrects it exactly.
[[gnu::always_inline]] inline std::int64_t DivideByReciprocal(std::int64_t n, std::int64_t d,
                                                               double inverse,
                                                               std::int64_t& remainder) {
  auto q = static_cast<std::int64_t>(static_cast<double>(n) * inverse);
  remainder = n - q * d;
  if (remainder < 0) {
    --q;
    remainder += d;
  } else if (remainder >= d) {
    ++q;
    remainder -= d;
  }
  return q;
}

// Asks for the pixel some steps beyond `at` along a walk. A steep line reaches a new row,
// and so a new cache line, at every step, and blending reads each one. Prefetching never faults,
// so the address may lie beyond the walk's end; it is formed as an integer for that reason.
inline void PrefetchAhead(const std::uint32_t* at, std::int64_t majorStep) {
  constexpr std::int64_t Steps = 24;
  const auto address =
      reinterpret_cast<std::uintptr_t>(at) + static_cast<std::uintptr_t>(Steps * majorStep * 4);
  __builtin_prefetch(reinterpret_cast<const void*>(address), 1);
}

// Clip: rows outside 0 .. MinorSize - 1 are left out; without it the caller has made sure the
// band never leaves the image.
// The walks are inlined where they are used: each is the inner loop of its caller, and a call
// would copy the walk onto the stack for every piece.
template <bool Smooth, bool Clip>
[[gnu::always_inline]] inline void WalkBand(TBandWalk b, std::uint32_t pixel) {
  const std::int64_t lastRow = b.MinorSize - 1;
  const auto firstRow = [](std::int64_t j) { return Clip ? std::max<std::int64_t>(j, 0) : j; };
  const auto finalRow = [lastRow](std::int64_t j) { return Clip ? std::min(j, lastRow) : j; };
  for (std::int64_t count = b.Count; count > 0; --count) {
    if constexpr (Smooth)
      PrefetchAhead(b.Pixel(), b.MajorStep);
    const std::int64_t high = b.Low + b.Thick;
    if constexpr (Smooth) {
      // Every pixel the interval touches, weighted by the length of it inside that pixel.
      const std::int64_t j0 = firstRow(b.Low >> FractionBits);
      const std::int64_t j1 = finalRow((high - 1) >> FractionBits);
      for (std::int64_t j = j0; j <= j1; ++j) {
        const std::int64_t cover = std::min(high, (j + 1) * One) - std::max(b.Low, j * One);
        std::uint32_t& target = b.Line[j * b.MinorStride];
        target = Blend(target, pixel, static_cast<std::uint32_t>(cover >> AlphaShift));
      }
    } else {
      // The pixels whose centres j + 1/2 lie in [low, high).
      const std::int64_t j0 = firstRow((b.Low + Half - 1) >> FractionBits);
      const std::int64_t j1 = finalRow(((high + Half - 1) >> FractionBits) - 1);
      for (std::int64_t j = j0; j <= j1; ++j) b.Line[j * b.MinorStride] = pixel;
    }
    b.Advance();
  }
}

// WalkBand<true, false> for a band exactly one pixel thick: Wu's two pixels per step, the
// first taking what the second leaves.
[[gnu::always_inline]] inline void WalkWu(TBandWalk b, std::uint32_t pixel) {
  for (std::int64_t count = b.Count; count > 0; --count) {
    std::uint32_t* const target = b.Pixel();
    PrefetchAhead(target, b.MajorStep);
    const std::int64_t fraction = b.Low & (One - 1);
    const auto first = static_cast<std::uint32_t>((One - fraction) >> AlphaShift);
    const auto second = static_cast<std::uint32_t>(fraction >> AlphaShift);
    // A whole pixel (a step on the pixel's own row, as the first step of every piece is) is the
    // pen alone, written without reading what is there.
    if (second == 0) {
      *target = pixel;
    } else {
      *target = Blend(*target, pixel, first);
      target[b.MinorStride] = Blend(target[b.MinorStride], pixel, second);
    }
    b.Advance();
  }
}

}  // namespace

TRasterCanvas::TRasterCanvas(const TPixelBuffer& buffer)
    : Bits(buffer.Pixels),
      Stride(buffer.StridePixels),
      Width(buffer.Width),
      Height(buffer.Height),
      ByteOrder(buffer.Order) {
  // Every drawing asks for Width and Height of 1 or more before it touches a pixel.
  if (Bits == nullptr || Width <= 0 || Height <= 0 || Stride < Width) {
    Bits = nullptr;
    Width = 0;
    Height = 0;
  }
}

void TRasterCanvas::LineTo(int x, int y) {
  const int x0 = PenX;
  const int y0 = PenY;
  PenX = x;
  PenY = y;
  DrawPiece(x0, y0, x, y);
}

void TRasterCanvas::DrawPiece(int x0, int y0, int x1, int y1) {
  const double width = LineWidthOf(PixelRatio, Pen.Width);
  // A piece of one step and one pixel's width lights its start pixel whole, smooth or not (its
  // band covers exactly that pixel): a third of a large model's pieces, which need no walk.
  if (width == 1.0 && std::abs(static_cast<std::int64_t>(x1) - x0) <= 1 &&
      std::abs(static_cast<std::int64_t>(y1) - y0) <= 1) {
    if ((x1 != x0 || y1 != y0) && x0 >= 0 && x0 < Width && y0 >= 0 && y0 < Height &&
        Bits != nullptr) {
      Bits[static_cast<std::int64_t>(y0) * Stride + x0] = PixelOf(Pen.Color, ByteOrder);
    }
    return;
  }
  // An aliased band that rounds to one pixel is the plain walk.
  if (Smooth)
    DrawBand(x0, y0, x1, y1, width, true);
  else if (width < 1.5)
    DrawLine(x0, y0, x1, y1);
  else
    DrawBand(x0, y0, x1, y1, static_cast<double>(static_cast<int>(width + 0.5)), false);
}

void TRasterCanvas::Prefetch(TCanvasPoint point) const {
  // The point's own row and the next, where a smooth piece puts its second pixel.
  if (point.X < 0 || point.X >= Width || point.Y < 0 || point.Y >= Height - 1) return;
  const std::uint32_t* at = Bits + static_cast<std::int64_t>(point.Y) * Stride + point.X;
  __builtin_prefetch(at, 1);
  __builtin_prefetch(at + Stride, 1);
}

void TRasterCanvas::Polyline(const TCanvasPoint* points, std::size_t count) {
  if (count == 0) return;
  // About the number of short pieces drawn while a fetch from memory is under way.
  constexpr std::size_t Ahead = 12;
  for (std::size_t k = 1; k < std::min(count, Ahead); ++k) Prefetch(points[k]);
  for (std::size_t k = 1; k < count; ++k) {
    if (k + Ahead < count) Prefetch(points[k + Ahead]);
    DrawPiece(points[k - 1].X, points[k - 1].Y, points[k].X, points[k].Y);
  }
  PenX = points[count - 1].X;
  PenY = points[count - 1].Y;
}

void TRasterCanvas::FinePolyline(const TFinePoint* points, std::size_t count) {
  if (count == 0) return;
  constexpr std::size_t Ahead = 12;
  const auto whole = [](const TFinePoint& p) { return TCanvasPoint{p.X, p.Y}; };
  for (std::size_t k = 1; k < std::min(count, Ahead); ++k) Prefetch(whole(points[k]));
  const double width = LineWidthOf(PixelRatio, Pen.Width);
  std::optional<bool> xMajor;  // the axis the last piece walked
  const auto fineX = [](const TFinePoint& p) { return Sixteenths(p.X, p.DX); };
  const auto fineY = [](const TFinePoint& p) { return Sixteenths(p.Y, p.DY); };
  // The first point a pixel or more from the piece's start: the chord to it shows the way the
  // line runs, where a piece shorter than a pixel, rounded to sixteenths, may point any way.
  std::size_t ahead = 1;
  for (std::size_t k = 1; k < count; ++k) {
    if (k + Ahead < count) Prefetch(whole(points[k + Ahead]));
    const TFinePoint& a = points[k - 1];
    const TFinePoint& b = points[k];
    const bool centred = a.DX == 0 && a.DY == 0 && b.DX == 0 && b.DY == 0;
    if (centred || !Smooth) {
      DrawPiece(a.X, a.Y, b.X, b.Y);
      xMajor.reset();
      continue;
    }
    ahead = std::max(ahead, k);
    const std::int64_t ax = fineX(a);
    const std::int64_t ay = fineY(a);
    while (ahead + 1 < count && std::abs(fineX(points[ahead]) - ax) < FineSteps &&
           std::abs(fineY(points[ahead]) - ay) < FineSteps) {
      ++ahead;
    }
    xMajor = DrawFineBand(a, b, width, xMajor, fineX(points[ahead]) - ax,
                          fineY(points[ahead]) - ay);
  }
  PenX = points[count - 1].X;
  PenY = points[count - 1].Y;
}

// The band of the smooth rules with its centre line from point a to point b, both given to a
// sixteenth of a pixel. In sixteenths, pixel p's centre lies at 16 p + 8; the band covers the
// major columns whose centres lie from a on up to b (b itself left out, as the end pixel is),
// and in each the minor interval of width w around the line's minor coordinate at the column's
// centre. Between centred points these are the pixels DrawBand lights; clipped, the same pixels
// as unclipped.
std::optional<bool> TRasterCanvas::DrawFineBand(const TFinePoint& a, const TFinePoint& b,
                                                double w, std::optional<bool> lastXMajor,
                                                std::int64_t towardsX, std::int64_t towardsY) {
  using std::int64_t;
  if (Width <= 0 || Height <= 0 || Bits == nullptr) return lastXMajor;
  constexpr int64_t Sixteenth = One / FineSteps;  // 16.16 fixed point per sixteenth
  const int64_t ax = Sixteenths(a.X, a.DX), ay = Sixteenths(a.Y, a.DY);
  const int64_t bx = Sixteenths(b.X, b.DX), by = Sixteenths(b.Y, b.DY);
  const int64_t dx = bx - ax;
  const int64_t dy = by - ay;
  if (dx == 0 && dy == 0) return lastXMajor;
  // A piece walks the axis the line runs along more there (towards). Near 45 degrees the
  // roundings of the points to a sixteenth would swap the axes from piece to piece, and where
  // two pieces that walk different axes meet between pixel centres, their bands overlap or miss
  // a little; within 5 % of the diagonal a piece keeps its predecessor's axis. A piece shorter
  // than a pixel lights at most one step and takes its way from a chord of about a pixel, whose
  // rounding may tip it by up to an eighth: such a piece keeps its predecessor's axis within
  // 20 % of the diagonal, so that a line of many of them does not change axis at every other
  // step and fall apart into dashes.
  const int64_t adx = std::abs(towardsX != 0 || towardsY != 0 ? towardsX : dx);
  const int64_t ady = std::abs(towardsX != 0 || towardsY != 0 ? towardsY : dy);
  bool xMajor = adx >= ady;
  if (lastXMajor && *lastXMajor != xMajor) {
    const int64_t more = std::max(adx, ady);
    const int64_t less = std::min(adx, ady);
    const bool shortPiece = std::max(std::abs(dx), std::abs(dy)) < FineSteps;
    if (shortPiece ? more * 5 <= less * 6 : more * 20 <= less * 21) xMajor = *lastXMajor;
  }
  const int64_t major = xMajor ? std::abs(dx) : std::abs(dy);  // sixteenths
  const int64_t stepA = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int64_t a0 = xMajor ? ax : ay;
  const int64_t a1 = xMajor ? bx : by;
  const int64_t b0 = xMajor ? ay : ax;
  const int64_t dMinor = xMajor ? dy : dx;
  const int64_t sizeA = xMajor ? Width : Height;
  const int64_t sizeB = xMajor ? Height : Width;

  // The columns k whose centres 16 k + 8 lie in [a0, a1) going up, in (a1, a0] going down, as
  // steps i = 0 .. last from the first of them.
  // Floors and ceilings of sixteenths by shifts: the shift of a negative number floors.
  constexpr int FineBits = 4;
  static_assert(FineSteps == 1 << FineBits);
  const auto floorColumn = [](int64_t at) { return (at - FineSteps / 2) >> FineBits; };
  const auto ceilColumn = [](int64_t at) {
    return (at - FineSteps / 2 + FineSteps - 1) >> FineBits;
  };
  int64_t column0 = 0;
  int64_t last = 0;
  if (stepA > 0) {
    column0 = ceilColumn(a0);
    last = ceilColumn(a1) - column0 - 1;
  } else {
    column0 = floorColumn(a0);
    last = column0 - floorColumn(a1) - 1;
  }
  if (last < 0) return xMajor;
  // s0 sixteenths along the major axis from a to the first column's centre.
  const int64_t s0 = std::abs(column0 * FineSteps + FineSteps / 2 - a0);
  const int64_t thick = static_cast<int64_t>(w * static_cast<double>(One) + 0.5);
  const int64_t majorStride = xMajor ? 1 : Stride;
  const int64_t minorStride = xMajor ? Stride : 1;
  const std::uint32_t pixel = PixelOf(Pen.Color, ByteOrder);

  // The common case, a short piece well inside the image (the ends' pixels, with half the band
  // and two pixels to spare across): no step needs clipping, and the divisions fit a double
  // exactly, as in DrawBand.
  const int64_t pixelA0 = xMajor ? a.X : a.Y;
  const int64_t pixelA1 = xMajor ? b.X : b.Y;
  const int64_t pixelB0 = xMajor ? a.Y : a.X;
  const int64_t pixelB1 = xMajor ? b.Y : b.X;
  const auto margin = static_cast<int64_t>(w / 2.0) + 2;
  if (pixelA0 >= 1 && pixelA0 < sizeA - 1 && pixelA1 >= 1 && pixelA1 < sizeA - 1 &&
      std::min(pixelB0, pixelB1) >= margin && std::max(pixelB0, pixelB1) < sizeB - margin &&
      major < int64_t{FineSteps} * 32768) {
    const double inverse = 1.0 / static_cast<double>(major);
    int64_t fraction = 0;
    const int64_t offset = DivideByReciprocal(s0 * dMinor * Sixteenth, major, inverse, fraction);
    // A piece of one column takes no step.
    int64_t remainder = 0;
    const int64_t step =
        last > 0 ? DivideByReciprocal(dMinor * One, major, inverse, remainder) : 0;
    const TBandWalk walk{Bits + column0 * majorStride, stepA * majorStride, minorStride, sizeB,
                         b0 * Sixteenth - thick / 2 + offset, step, remainder,
                         fraction, major, thick, last + 1};
    if (thick == One)
      WalkWu(walk, pixel);
    else
      WalkBand<true, false>(walk, pixel);
    return xMajor;
  }

  int64_t first = 0;
  if (!MajorStepsInside(column0, stepA, sizeA, first, last)) return xMajor;

  // Steps whose band may reach the image: the centre c(i) = (b0 + (s0 + 16 i) dMinor / major)
  // / 16 within w/2 and a pixel of 0 .. sizeB.
  const double reach = w / 2.0 + 1.0;
  const double slope = static_cast<double>(dMinor) / static_cast<double>(major);  // per column
  const double centre0 = (static_cast<double>(b0) + static_cast<double>(s0) * slope) / FineSteps;
  const bool clip = !(centre0 - reach >= 0.0 && centre0 + reach < static_cast<double>(sizeB) &&
                      centre0 + slope * static_cast<double>(last) - reach >= 0.0 &&
                      centre0 + slope * static_cast<double>(last) + reach <
                          static_cast<double>(sizeB));
  if (clip && !MinorStepsReaching(centre0, slope, reach, sizeB, first, last)) return xMajor;

  // The minor coordinate at step `first`, s sixteenths from a; then dMinor / major pixels per
  // column.
  const TWide along = (static_cast<TWide>(s0) + static_cast<TWide>(first) * FineSteps) *
                      static_cast<TWide>(dMinor) * Sixteenth;
  const TBandWalk walk =
      WalkFrom(Bits + (column0 + stepA * first) * majorStride, stepA * majorStride, minorStride,
               sizeB, static_cast<TWide>(b0) * Sixteenth - thick / 2, along, dMinor, major, thick,
               last - first + 1);
  if (clip)
    WalkBand<true, true>(walk, pixel);
  else if (thick == One)
    WalkWu(walk, pixel);
  else
    WalkBand<true, false>(walk, pixel);
  return xMajor;
}

void TRasterCanvas::DrawBand(int x0, int y0, int x1, int y1, double w, bool smooth) {
  using std::int64_t;
  const int64_t dx = static_cast<int64_t>(x1) - x0;
  const int64_t dy = static_cast<int64_t>(y1) - y0;
  if ((dx == 0 && dy == 0) || Width <= 0 || Height <= 0 || Bits == nullptr) return;

  const bool xMajor = std::abs(dx) >= std::abs(dy);
  const int64_t major = xMajor ? std::abs(dx) : std::abs(dy);
  const int64_t a0 = xMajor ? x0 : y0;
  const int64_t b0 = xMajor ? y0 : x0;
  const int64_t stepA = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int64_t sizeA = xMajor ? Width : Height;
  const int64_t sizeB = xMajor ? Height : Width;
  const int64_t dMinor = xMajor ? dy : dx;
  // w is at least 1: rounding by truncation after adding a half, without a library call.
  const auto thick = static_cast<int64_t>(w * static_cast<double>(One) + 0.5);
  const int64_t majorStride = xMajor ? 1 : Stride;
  const int64_t minorStride = xMajor ? Stride : 1;
  const std::uint32_t pixel = PixelOf(Pen.Color, ByteOrder);

  // The common case, a short piece well inside the image: both ends are, with half the band
  // and a pixel to spare across, so no step needs clipping, and the step's division fits 32 bits.
  const auto margin = static_cast<int64_t>(w / 2.0) + 1;
  const int64_t b1 = b0 + dMinor;
  const int64_t a1 = a0 + stepA * major;
  if (a0 >= 0 && a0 < sizeA && a1 >= 0 && a1 < sizeA && std::min(b0, b1) >= margin &&
      std::max(b0, b1) < sizeB - margin && major < 32768) {
    // The floor of perStep / major through a double division, which is exact here: a quotient
    // of integers under 2^31 and 2^15 lies either on an integer or 2^-15 or more away from one,
    // far beyond the double's error.
    // A piece of one step (most of them in a large model, where rows lie a pixel apart) needs
    // no step at all.
    const auto perStep = static_cast<std::int32_t>(dMinor * One);
    const auto divisor = static_cast<std::int32_t>(major);
    std::int32_t step = 0;
    std::int32_t remainder = 0;
    if (major > 1) {
      const double quotient = static_cast<double>(perStep) / static_cast<double>(divisor);
      step = static_cast<std::int32_t>(quotient);
      if (static_cast<double>(step) > quotient) --step;
      remainder = perStep - step * divisor;
    }
    const TBandWalk walk{Bits + a0 * majorStride, stepA * majorStride, minorStride, sizeB,
                         b0 * One + (Half - thick / 2), step, remainder, 0, major, thick,
                         major};
    if (smooth && thick == One)
      WalkWu(walk, pixel);
    else if (smooth)
      WalkBand<true, false>(walk, pixel);
    else
      WalkBand<false, false>(walk, pixel);
    return;
  }

  const double slope = static_cast<double>(xMajor ? dy : dx) / static_cast<double>(major);

  int64_t first = 0;
  int64_t last = major - 1;
  if (!MajorStepsInside(a0, stepA, sizeA, first, last)) return;
  // Steps whose band may reach the image: the centre c(i) = b0 + 1/2 + i slope within w/2 and a
  // pixel of 0 .. sizeB.
  const double reach = w / 2.0 + 1.0;
  const double centre0 = static_cast<double>(b0) + 0.5;
  if (!MinorStepsReaching(centre0, slope, reach, sizeB, first, last)) return;

  // low(i) = b0 + 1/2 - w/2 + i dMinor / M in fixed point.
  const TBandWalk walk =
      WalkFrom(Bits + (a0 + stepA * first) * majorStride, stepA * majorStride, minorStride, sizeB,
               static_cast<TWide>(b0) * One + (Half - thick / 2),
               static_cast<TWide>(first) * dMinor * One, dMinor, major, thick, last - first + 1);
  if (smooth)
    WalkBand<true, true>(walk, pixel);
  else
    WalkBand<false, true>(walk, pixel);
}

void TRasterCanvas::DrawLine(int x0, int y0, int x1, int y1) {
  using std::int64_t;
  const int64_t dx = static_cast<int64_t>(x1) - x0;
  const int64_t dy = static_cast<int64_t>(y1) - y0;
  if ((dx == 0 && dy == 0) || Width <= 0 || Height <= 0) return;

  const int64_t adx = dx < 0 ? -dx : dx;
  const int64_t ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const int64_t major = xMajor ? adx : ady;
  const int64_t minor = xMajor ? ady : adx;
  const int64_t stepX = dx < 0 ? -1 : 1;
  const int64_t stepY = dy < 0 ? -1 : 1;

  const std::uint32_t pixel = PixelOf(Pen.Color, ByteOrder);
  const int64_t majorStep = xMajor ? stepX : stepY * Stride;
  const int64_t minorStep = xMajor ? stepY * Stride : stepX;
  const bool startInside = x0 >= 0 && x0 < Width && y0 >= 0 && y0 < Height;
  const bool endInside = x1 >= 0 && x1 < Width && y1 >= 0 && y1 < Height;
  if (startInside && endInside) {
    // The common case, a short piece inside the plot: the walk ends on the end pixel, so the
    // pointer never leaves the image. Branch-free minor steps, since they come irregularly.
    std::uint32_t* at = Bits + static_cast<int64_t>(y0) * Stride + x0;
    const int twoMajor = static_cast<int>(2 * major);
    const int twoMinor = static_cast<int>(2 * minor);
    int r = static_cast<int>(major) - 1;
    for (int count = static_cast<int>(major); count > 0; --count) {
      *at = pixel;
      at += majorStep;
      r += twoMinor;
      const int carry = -static_cast<int>(r >= twoMajor);
      at += minorStep & carry;
      r -= twoMajor & carry;
    }
    return;
  }

  // Steps first .. last of the walk light pixels inside the image.
  int64_t first = 0;
  int64_t last = major - 1;
  {
    const int64_t a0 = xMajor ? x0 : y0;
    const int64_t stepA = xMajor ? stepX : stepY;
    const int64_t sizeA = xMajor ? Width : Height;
    const int64_t b0 = xMajor ? y0 : x0;
    const int64_t stepB = xMajor ? stepY : stepX;
    const int64_t sizeB = xMajor ? Height : Width;
    if (!MajorStepsInside(a0, stepA, sizeA, first, last)) return;
    // The minor offset k(i) = floor((2 i m + M - 1) / (2 M)) must keep b0 + stepB * k inside.
    int64_t kLow = stepB > 0 ? -b0 : b0 - (sizeB - 1);
    int64_t kHigh = stepB > 0 ? sizeB - 1 - b0 : b0;
    kLow = std::max<int64_t>(kLow, 0);
    kHigh = std::min(kHigh, minor);
    if (kLow > kHigh) return;
    if (minor > 0) {
      // k(i) >= K  <=>  i >= ceil((2 M K - M + 1) / (2 m));  k(i) <= K  <=>  i <= floor((2 M K + M)
      // / (2 m)).
      const TWide twoMajor = static_cast<TWide>(2) * major;
      const TWide twoMinor = static_cast<TWide>(2) * minor;
      const TWide low = CeilDiv(twoMajor * kLow - major + 1, twoMinor);
      const TWide high = FloorDiv(twoMajor * kHigh + major, twoMinor);
      if (low > first) first = static_cast<int64_t>(low);
      if (high < last) last = static_cast<int64_t>(high);
      if (first > last) return;
    }
  }

  // Walk state at step first: v = 2 i m + M - 1 = k * 2M + r.
  const int64_t twoMajor = 2 * major;
  const int64_t twoMinor = 2 * minor;
  const TWide v = static_cast<TWide>(twoMinor) * first + major - 1;
  const int64_t k = static_cast<int64_t>(v / twoMajor);
  int64_t r = static_cast<int64_t>(v % twoMajor);
  const int64_t x = x0 + (xMajor ? stepX * first : stepX * k);
  const int64_t y = y0 + (xMajor ? stepY * k : stepY * first);

  std::uint32_t* const bits = Bits;
  int64_t at = y * Stride + x;
  for (int64_t count = last - first + 1; count > 0; --count) {
    bits[at] = pixel;
    at += majorStep;
    r += twoMinor;
    if (r >= twoMajor) {
      r -= twoMajor;
      at += minorStep;
    }
  }
}

void TRasterCanvas::FillSpan(std::int64_t y, std::int64_t first, std::int64_t last,
                             std::uint32_t pixel) {
  if (y < 0 || y >= Height) return;
  first = std::max<std::int64_t>(first, 0);
  last = std::min<std::int64_t>(last, Width - 1);
  if (first > last) return;
  std::uint32_t* at = Bits + y * Stride + first;
  std::int64_t count = last - first + 1;
  // Four pixels a store: the background of every frame is a fill of the whole image, which
  // pixel by pixel takes as long as drawing a large model's field lines.
  using TFour = std::uint32_t __attribute__((vector_size(16)));
  const TFour four = {pixel, pixel, pixel, pixel};
  for (; count >= 4; count -= 4, at += 4) std::memcpy(at, &four, sizeof four);
  for (; count > 0; --count) *at++ = pixel;
}

void TRasterCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  std::int64_t left = x1, right = x2, top = y1, bottom = y2;
  Order(left, right);
  Order(top, bottom);
  if (right - left < 1 || bottom - top < 1 || Width <= 0 || Height <= 0) return;
  if (Smooth) {
    SmoothEllipse(left, top, right, bottom);
    return;
  }

  // The ellipse inscribed in the box [left, right] x [top, bottom]; pixel (x, y) has its centre at
  // (x + 0.5, y + 0.5).
  const double rx = static_cast<double>(right - left) / 2.0;
  const double ry = static_cast<double>(bottom - top) / 2.0;
  const double ex = static_cast<double>(left) + rx;
  const double ey = static_cast<double>(top) + ry;
  // Columns of row y whose pixel centres lie inside; false for an empty row.
  auto span = [&](std::int64_t y, std::int64_t& first, std::int64_t& last) {
    if (y < top || y >= bottom) return false;
    const double d = (static_cast<double>(y) + 0.5 - ey) / ry;
    const double q = 1.0 - d * d;
    if (q < 0.0) return false;
    const double half = rx * std::sqrt(q);
    first = static_cast<std::int64_t>(std::ceil(ex - half - 0.5));
    last = static_cast<std::int64_t>(std::floor(ex + half - 0.5));
    return first <= last;
  };

  const std::uint32_t pen = PixelOf(Pen.Color, ByteOrder);
  const std::uint32_t brush = PixelOf(Brush.Color, ByteOrder);
  const bool fill = Brush.Style == TBrushStyle::Solid;
  const std::int64_t rowFirst = std::max<std::int64_t>(top, 0);
  const std::int64_t rowLast = std::min<std::int64_t>(bottom - 1, Height - 1);
  for (std::int64_t y = rowFirst; y <= rowLast; ++y) {
    std::int64_t first = 0, last = 0;
    if (!span(y, first, last)) continue;
    // Interior: pixels whose four neighbours all belong to the ellipse.
    std::int64_t upFirst = 0, upLast = 0, downFirst = 0, downLast = 0;
    std::int64_t innerFirst = first + 1;
    std::int64_t innerLast = last - 1;
    if (span(y - 1, upFirst, upLast) && span(y + 1, downFirst, downLast)) {
      innerFirst = std::max({innerFirst, upFirst, downFirst});
      innerLast = std::min({innerLast, upLast, downLast});
    } else {
      innerFirst = last + 1;
      innerLast = last;
    }
    if (innerFirst > innerLast) {
      FillSpan(y, first, last, pen);
      continue;
    }
    FillSpan(y, first, innerFirst - 1, pen);
    FillSpan(y, innerLast + 1, last, pen);
    if (fill) FillSpan(y, innerFirst, innerLast, brush);
  }
}

void TRasterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  std::int64_t left = x1, right = x2, top = y1, bottom = y2;
  Order(left, right);
  Order(top, bottom);
  if (right - left < 1 || bottom - top < 1 || Width <= 0 || Height <= 0) return;

  const std::uint32_t pen = PixelOf(Pen.Color, ByteOrder);
  const std::uint32_t brush = PixelOf(Brush.Color, ByteOrder);
  const bool fill = Brush.Style == TBrushStyle::Solid;
  const std::int64_t rowFirst = std::max<std::int64_t>(top, 0);
  const std::int64_t rowLast = std::min<std::int64_t>(bottom - 1, Height - 1);
  for (std::int64_t y = rowFirst; y <= rowLast; ++y) {
    if (y == top || y == bottom - 1) {
      FillSpan(y, left, right - 1, pen);
      continue;
    }
    FillSpan(y, left, left, pen);
    FillSpan(y, right - 1, right - 1, pen);
    if (fill) FillSpan(y, left + 1, right - 2, brush);
  }
}

void TRasterCanvas::SmoothEllipse(std::int64_t left, std::int64_t top, std::int64_t right,
                                  std::int64_t bottom) {
  const double rx = static_cast<double>(right - left) / 2.0;
  const double ry = static_cast<double>(bottom - top) / 2.0;
  const double ex = static_cast<double>(left) + rx;
  const double ey = static_cast<double>(top) + ry;
  const double w = LineWidthOf(PixelRatio, Pen.Width);
  const std::uint32_t pen = PixelOf(Pen.Color, ByteOrder);
  const std::uint32_t brush = PixelOf(Brush.Color, ByteOrder);
  const bool fill = Brush.Style == TBrushStyle::Solid;
  const auto alphaOf = [](double cover) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(cover, 0.0, 1.0) * 256.0));
  };
  const std::int64_t rowFirst = std::max<std::int64_t>(top, 0);
  const std::int64_t rowLast = std::min<std::int64_t>(bottom - 1, Height - 1);
  const std::int64_t columnFirst = std::max<std::int64_t>(left, 0);
  const std::int64_t columnLast = std::min<std::int64_t>(right - 1, Width - 1);
  for (std::int64_t y = rowFirst; y <= rowLast; ++y) {
    std::uint32_t* row = Bits + y * Stride;
    const double v = (static_cast<double>(y) + 0.5 - ey) / ry;
    for (std::int64_t x = columnFirst; x <= columnLast; ++x) {
      const double u = (static_cast<double>(x) + 0.5 - ex) / rx;
      // Distance of the pixel centre outside the edge, in pixels: (q - 1) / |grad q| with
      // q = sqrt(u^2 + v^2), exact for a circle and close to it for a flat ellipse. At the centre
      // q has no gradient: deep inside.
      const double q = std::sqrt(u * u + v * v);
      const double gx = u / rx;
      const double gy = v / ry;
      const double gradient = std::sqrt(gx * gx + gy * gy);
      const double d = gradient > 1e-300 && q > 1e-12 ? (q - 1.0) * q / gradient : -1e9;
      const std::uint32_t outer = alphaOf(0.5 - d);
      if (outer == 0) continue;
      const std::uint32_t inner = alphaOf(0.5 - d - w);
      std::uint32_t& target = row[x];
      if (fill)
        target = Blend(Blend(target, pen, outer), brush, inner);
      else
        target = Blend(target, pen, outer - inner);
    }
  }
}

void TRasterCanvas::BlendCoverage(int x, int y, int width, int height,
                                  const std::uint8_t* coverage, int stride, TColor colour) {
  if (Bits == nullptr || coverage == nullptr || width <= 0 || height <= 0) return;
  const std::int64_t left = std::max<std::int64_t>(x, 0);
  const std::int64_t right = std::min<std::int64_t>(static_cast<std::int64_t>(x) + width, Width);
  const std::int64_t top = std::max<std::int64_t>(y, 0);
  const std::int64_t bottom = std::min<std::int64_t>(static_cast<std::int64_t>(y) + height, Height);
  if (left >= right || top >= bottom) return;
  const std::uint32_t pixel = PixelOf(colour, ByteOrder);
  for (std::int64_t row = top; row < bottom; ++row) {
    const std::uint8_t* from = coverage + (row - y) * stride + (left - x);
    std::uint32_t* to = Bits + row * Stride + left;
    for (std::int64_t count = right - left; count > 0; --count, ++from, ++to) {
      const std::uint32_t c = *from;
      if (c == 255u)
        *to = pixel;
      else if (c != 0u)
        *to = BlendByCoverage(*to, pixel, c);
    }
  }
}
