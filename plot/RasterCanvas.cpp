// Integer line walking, clipped spans for ellipses and rectangles, straight into an RGB32 image.
#include "plot/RasterCanvas.h"

#include <algorithm>
#include <cmath>

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

}  // namespace

TRasterCanvas::TRasterCanvas(QImage& image)
    : Bits(reinterpret_cast<std::uint32_t*>(image.bits())),
      Stride(image.bytesPerLine() / 4),
      Width(image.width()),
      Height(image.height()) {
  if (image.depth() != 32) {
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
  DrawLine(x0, y0, x, y);
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

  const std::uint32_t pixel = PixelOf(Pen.Color);
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
    // The major coordinate a0 + stepA * i must lie in 0 .. sizeA - 1.
    if (stepA > 0) {
      first = std::max(first, -a0);
      last = std::min(last, sizeA - 1 - a0);
    } else {
      first = std::max(first, a0 - (sizeA - 1));
      last = std::min(last, a0);
    }
    if (first > last) return;
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
  std::uint32_t* row = Bits + y * Stride;
  std::fill(row + first, row + last + 1, pixel);
}

void TRasterCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  std::int64_t left = x1, right = x2, top = y1, bottom = y2;
  Order(left, right);
  Order(top, bottom);
  if (right - left < 1 || bottom - top < 1 || Width <= 0 || Height <= 0) return;

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

  const std::uint32_t pen = PixelOf(Pen.Color);
  const std::uint32_t brush = PixelOf(Brush.Color);
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

  const std::uint32_t pen = PixelOf(Pen.Color);
  const std::uint32_t brush = PixelOf(Brush.Color);
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
