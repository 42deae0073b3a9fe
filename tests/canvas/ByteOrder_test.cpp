// SPDX-License-Identifier: GPL-3.0-or-later
// The raster canvas in both byte orders: a browser's RGBA buffer takes the very pixels a QImage's
// BGRA buffer takes, red and blue in each other's bytes, whatever is drawn and blended.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "canvas/RasterCanvas.h"
#include "canvas/TestImage.h"

namespace {

TEST(ByteOrder, PixelOfPutsEachChannelInItsByte) {
  struct Row {
    TColor Color;
    std::uint32_t Bgra, Rgba;
  };
  const Row rows[] = {
      {ColorRGB(1, 2, 3), 0xFF010203u, 0xFF030201u},
      {ColorRGB(255, 0, 0), 0xFFFF0000u, 0xFF0000FFu},
      {ColorRGB(0, 0, 255), 0xFF0000FFu, 0xFFFF0000u},
      {ColorRGB(0, 200, 255), 0xFF00C8FFu, 0xFFFFC800u},
      {ColorRGB(0, 0, 0), 0xFF000000u, 0xFF000000u},
      // Bits above the 24 of a colour never reach the alpha byte.
      {0xAB102030u, 0xFF302010u, 0xFF102030u},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(TRasterCanvas::PixelOf(row.Color), row.Bgra) << std::hex << row.Color;
    EXPECT_EQ(TRasterCanvas::PixelOf(row.Color, TByteOrder::Bgra), row.Bgra);
    EXPECT_EQ(TRasterCanvas::PixelOf(row.Color, TByteOrder::Rgba), row.Rgba);
  }
  // In memory an RGBA pixel is the bytes R, G, B, A, as a browser's image data holds them.
  const std::uint32_t word = TRasterCanvas::PixelOf(ColorRGB(10, 20, 30), TByteOrder::Rgba);
  unsigned char bytes[4];
  std::memcpy(bytes, &word, 4);
  EXPECT_EQ(bytes[0], 10);
  EXPECT_EQ(bytes[1], 20);
  EXPECT_EQ(bytes[2], 30);
  EXPECT_EQ(bytes[3], 255);
}

// Every kind of drawing, blended over a ground whose red and blue differ, so that a blend that
// took the wrong bytes for red would show.
void DrawScene(TTestImage& image, double ratio, bool smooth) {
  image.Fill(Rgb(40, 90, 200));
  TRasterCanvas canvas(image);
  canvas.PixelRatio = ratio;
  canvas.Smooth = smooth;
  const TColor colours[] = {ColorRGB(0, 200, 255), ColorRGB(255, 100, 150), ColorRGB(230, 230, 0),
                            ColorRGB(255, 0, 0)};
  for (int k = 0; k < 24; ++k) {
    canvas.Pen.Color = colours[k % 4];
    canvas.MoveTo(3 + k, 2 + (k * 7) % 50);
    canvas.LineTo(70 - 2 * k, 55 - (k * 5) % 40);
  }
  canvas.MoveTo(-1000000, 20);
  canvas.LineTo(1000000, 31);
  const TCanvasPoint points[] = {{5, 5}, {6, 5}, {8, 7}, {30, 9}, {31, 40}, {2, 58}};
  canvas.Polyline(points, 6);
  const TFinePoint fine[] = {{10, 50, 3, -5}, {40, 20, -7, 8}, {41, 21, 2, 2}, {60, 5, 0, 0}};
  canvas.FinePolyline(fine, 4);
  canvas.Pen.Color = ColorRGB(255, 0, 0);
  canvas.Brush.Color = ColorRGB(0, 0, 255);
  canvas.Ellipse(20, 20, 40, 34);
  canvas.Brush.Style = TBrushStyle::Clear;
  canvas.Ellipse(50, 30, 66, 50);
  canvas.Rectangle(2, 40, 14, 52);
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Brush.Color = ColorRGB(255, 255, 255);
  canvas.Rectangle(60, 50, 72, 62);
}

TEST(ByteOrder, BothOrdersDrawThePixelsOfEachOther) {
  for (const double ratio : {1.0, 1.5, 2.0}) {
    for (const bool smooth : {false, true}) {
      SCOPED_TRACE(testing::Message() << "ratio " << ratio << (smooth ? " smooth" : " aliased"));
      TTestImage bgra(72, 60, TByteOrder::Bgra);
      TTestImage rgba(72, 60, TByteOrder::Rgba);
      DrawScene(bgra, ratio, smooth);
      DrawScene(rgba, ratio, smooth);
      int drawn = 0;
      for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 72; ++x) {
          ASSERT_EQ(rgba.Word(x, y), SwapRedAndBlue(bgra.Word(x, y))) << x << ", " << y;
          if (bgra.Pixel(x, y) != Rgb(40, 90, 200)) ++drawn;
        }
      }
      EXPECT_GT(drawn, 1000) << "the scene was drawn";
    }
  }
}

TEST(PixelBuffer, BuffersWithoutPixelsAreLeftAlone) {
  // Memory the canvas is handed but must not write: each buffer below has no usable pixels.
  constexpr std::uint32_t Guard = 0x5A5A5A5Au;
  std::vector<std::uint32_t> memory(64, Guard);
  struct Row {
    const char* Name;
    TPixelBuffer Buffer;
  };
  const Row rows[] = {
      {"no memory", {nullptr, 4, 4, 4, TByteOrder::Bgra}},
      {"no width", {memory.data(), 0, 4, 4, TByteOrder::Bgra}},
      {"no height", {memory.data(), 4, 0, 4, TByteOrder::Rgba}},
      {"negative sides", {memory.data(), -4, -4, 4, TByteOrder::Bgra}},
      {"rows narrower than the width", {memory.data(), 8, 4, 4, TByteOrder::Bgra}},
  };
  for (const Row& row : rows) {
    for (const bool smooth : {false, true}) {
      TRasterCanvas canvas(row.Buffer);
      canvas.Smooth = smooth;
      canvas.MoveTo(0, 0);
      canvas.LineTo(3, 2);
      canvas.LineTo(INT_MAX, INT_MIN);
      const TFinePoint fine[] = {{0, 0, 4, 4}, {3, 3, -4, 2}};
      canvas.FinePolyline(fine, 2);
      canvas.Ellipse(0, 0, 4, 4);
      canvas.Rectangle(-1, -1, 5, 5);
    }
    for (const std::uint32_t word : memory) ASSERT_EQ(word, Guard) << row.Name;
  }
}

}  // namespace
