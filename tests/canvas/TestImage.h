// SPDX-License-Identifier: GPL-3.0-or-later
// A picture in plain memory for the canvas's tests: pixels read back as 0xAARRGGBB whatever the
// buffer's byte order, rows and lines as the tests write them, and TRasterCanvas canvas(image)
// drawing into it as into a QImage.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <vector>

#include "canvas/PixelBuffer.h"

// A pixel as read back: 0xAARRGGBB.
using TRgb = std::uint32_t;
constexpr TRgb Rgb(int r, int g, int b) {
  return 0xFF000000u | (static_cast<TRgb>(r & 0xFF) << 16) | (static_cast<TRgb>(g & 0xFF) << 8) |
         static_cast<TRgb>(b & 0xFF);
}
constexpr int RedOf(TRgb p) {
  return static_cast<int>((p >> 16) & 0xFF);
}
constexpr int GreenOf(TRgb p) {
  return static_cast<int>((p >> 8) & 0xFF);
}
constexpr int BlueOf(TRgb p) {
  return static_cast<int>(p & 0xFF);
}

// A stored word of either order as 0xAARRGGBB, and back: red and blue trade places.
constexpr std::uint32_t SwapRedAndBlue(std::uint32_t p) {
  return (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
}

struct TPoint {
  int X = 0;
  int Y = 0;
  TPoint() = default;
  TPoint(int x, int y) : X(x), Y(y) {}
  friend bool operator==(TPoint, TPoint) = default;
  friend std::ostream& operator<<(std::ostream& out, TPoint p) {
    return out << "(" << p.X << ", " << p.Y << ")";
  }
};

struct TLine {
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  TLine(int x1, int y1, int x2, int y2) : X1(x1), Y1(y1), X2(x2), Y2(y2) {}
  int Dx() const { return X2 - X1; }
  int Dy() const { return Y2 - Y1; }
  TLine Translated(int dx, int dy) const { return {X1 + dx, Y1 + dy, X2 + dx, Y2 + dy}; }
};

class TTestImage {
 public:
  TTestImage(int width, int height, TByteOrder order = TByteOrder::Bgra)
      : Own(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)),
        Pixels(Own.data()),
        W(width),
        H(height),
        Stride(width),
        Order(order) {}
  // Over memory of the caller's, rows stride pixels apart.
  TTestImage(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride)
      : Pixels(pixels), W(width), H(height), Stride(stride) {}
  TTestImage(const TTestImage& other) : TTestImage(other.W, other.H, other.Order) {
    for (int y = 0; y < H; ++y) std::copy_n(other.Row(y), W, Row(y));
  }
  TTestImage& operator=(const TTestImage&) = delete;

  int Width() const { return W; }
  int Height() const { return H; }
  TByteOrder ByteOrder() const { return Order; }
  TPixelBuffer Buffer() { return {Pixels, W, H, Stride, Order}; }

  // The stored word, in the buffer's own order.
  std::uint32_t Word(int x, int y) const { return Row(y)[x]; }
  TRgb Pixel(int x, int y) const {
    return Order == TByteOrder::Rgba ? SwapRedAndBlue(Word(x, y)) : Word(x, y);
  }
  void Fill(TRgb pixel) {
    const std::uint32_t word = Order == TByteOrder::Rgba ? SwapRedAndBlue(pixel) : pixel;
    for (int y = 0; y < H; ++y) std::fill_n(Row(y), W, word);
  }
  TTestImage Copy(int left, int top, int width, int height) const {
    TTestImage part(width, height, Order);
    for (int y = 0; y < height; ++y) std::copy_n(Row(top + y) + left, width, part.Row(y));
    return part;
  }
  friend bool operator==(const TTestImage& a, const TTestImage& b) {
    if (a.W != b.W || a.H != b.H) return false;
    for (int y = 0; y < a.H; ++y)
      for (int x = 0; x < a.W; ++x)
        if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
  }
  // A failing comparison shows the size, not every pixel.
  friend std::ostream& operator<<(std::ostream& out, const TTestImage& image) {
    return out << image.W << " x " << image.H << " image";
  }

 private:
  std::uint32_t* Row(int y) { return Pixels + static_cast<std::ptrdiff_t>(y) * Stride; }
  const std::uint32_t* Row(int y) const { return Pixels + static_cast<std::ptrdiff_t>(y) * Stride; }

  std::vector<std::uint32_t> Own;
  std::uint32_t* Pixels = nullptr;
  int W = 0;
  int H = 0;
  std::ptrdiff_t Stride = 0;
  TByteOrder Order = TByteOrder::Bgra;
};

inline TPixelBuffer PixelBufferOf(TTestImage& image) {
  return image.Buffer();
}
