// SPDX-License-Identifier: GPL-3.0-or-later
// Coverage blended onto the raster canvas: each channel rounded exactly, in either byte order,
// the coverage's rows read at their stride, and nothing written beyond the image.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <cstdint>
#include <vector>

#include "canvas/RasterCanvas.h"
#include "canvas/TestImage.h"

namespace {

constexpr TByteOrder Orders[] = {TByteOrder::Bgra, TByteOrder::Rgba};

// Every coverage over every channel value and a spread of grounds, in either byte order: each
// channel the coverage-weighted mix rounded to the nearest. One call per colour, its one row of
// coverages repeated down the image by a stride of 0.
TEST(BlendCoverage, EveryCoverageAndChannelValueRoundsExactly) {
  const int grounds[] = {0, 1, 77, 128, 200, 254, 255};
  constexpr int Rows = static_cast<int>(std::size(grounds));
  std::vector<std::uint8_t> coverage(256);
  for (int c = 0; c < 256; ++c) coverage[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c);
  const auto expected = [](int ground, int colour, int c) {
    return static_cast<int>(std::lround((colour * c + ground * (255 - c)) / 255.0));
  };
  for (const TByteOrder order : Orders) {
    TTestImage image(256, Rows, order);
    for (int value = 0; value < 256; ++value) {
      // Row y's ground: g, 255 - g and g / 2 in its three channels.
      std::uint32_t* const pixels = image.Buffer().Pixels;
      for (int y = 0; y < Rows; ++y) {
        const int g = grounds[y];
        const TRgb ground = Rgb(g, 255 - g, g / 2);
        const std::uint32_t word = order == TByteOrder::Rgba ? SwapRedAndBlue(ground) : ground;
        std::fill_n(pixels + y * 256, 256, word);
      }
      TRasterCanvas canvas(image);
      const int red = value;
      const int green = 255 - value;
      const int blue = (value * 7) % 256;
      canvas.BlendCoverage(0, 0, 256, Rows, coverage.data(), 0,
                           ColorRGB(static_cast<unsigned>(red), static_cast<unsigned>(green),
                                    static_cast<unsigned>(blue)));
      for (int y = 0; y < Rows; ++y) {
        const int g = grounds[y];
        for (int c = 0; c < 256; ++c) {
          const TRgb pixel = image.Pixel(c, y);
          ASSERT_EQ(RedOf(pixel), expected(g, red, c)) << value << " " << g << " " << c;
          ASSERT_EQ(GreenOf(pixel), expected(255 - g, green, c)) << value << " " << g << " " << c;
          ASSERT_EQ(BlueOf(pixel), expected(g / 2, blue, c)) << value << " " << g << " " << c;
          ASSERT_EQ(pixel >> 24, 0xFFu);
        }
      }
    }
  }
}

// A block of coverage placed partly beyond the image blends only the pixels inside it, each with
// its own coverage value; the memory around the image (its rows lie in a wider buffer) stays.
TEST(BlendCoverage, ABlockIsClippedToTheImage) {
  struct TRow {
    int X, Y, Width, Height;
  };
  const TRow rows[] = {
      {2, 1, 4, 3},      // inside
      {-3, -2, 8, 6},    // over the top-left corner
      {7, 5, 8, 8},      // over the bottom-right corner
      {-5, 2, 30, 2},    // across the whole width
      {10, 0, 4, 4},     // just right of the image
      {0, -4, 4, 4},     // just above it
      {-40, -40, 3, 3},  // far away
      {3, 3, 0, 2},      // no width
  };
  constexpr int W = 10;
  constexpr int H = 8;
  constexpr int Stride = 16;
  constexpr std::uint32_t Sentinel = 0x12345678u;
  const TRgb ground = Rgb(0, 0, 0);
  for (const TRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.X << ", " << row.Y << " " << row.Width << " x "
                                      << row.Height);
    std::vector<std::uint32_t> memory(static_cast<std::size_t>(Stride) * (H + 2), Sentinel);
    TTestImage image(memory.data() + Stride, W, H, Stride);
    image.Fill(ground);
    // Coverage (column + 1) * 10 + row, distinct for each place of the block; a coverage stride
    // wider than the block.
    const int coverageStride = row.Width + 3;
    std::vector<std::uint8_t> coverage(
        static_cast<std::size_t>(coverageStride) * static_cast<std::size_t>(row.Height + 1), 0);
    for (int r = 0; r < row.Height; ++r)
      for (int c = 0; c < row.Width; ++c)
        coverage[static_cast<std::size_t>(r * coverageStride + c)] =
            static_cast<std::uint8_t>((c + 1) * 10 + r);
    TRasterCanvas canvas(image);
    canvas.BlendCoverage(row.X, row.Y, row.Width, row.Height, coverage.data(), coverageStride,
                         ColorRGB(255, 255, 255));
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        const bool inside =
            x >= row.X && x < row.X + row.Width && y >= row.Y && y < row.Y + row.Height;
        const int c = inside ? ((x - row.X) + 1) * 10 + (y - row.Y) : 0;
        ASSERT_EQ(image.Pixel(x, y), Rgb(c, c, c)) << x << ", " << y;
      }
    }
    for (std::size_t k = 0; k < memory.size(); ++k) {
      const std::size_t y = k / Stride;
      const std::size_t x = k % Stride;
      if (y >= 1 && y <= H && x < W) continue;
      ASSERT_EQ(memory[k], Sentinel) << "word " << k;
    }
  }
}

TEST(BlendCoverage, NoCoverageOrAnImageWithoutPixelsDrawsNothing) {
  TTestImage image(4, 4);
  image.Fill(Rgb(9, 9, 9));
  const TTestImage before = image;
  TRasterCanvas canvas(image);
  canvas.BlendCoverage(0, 0, 4, 4, nullptr, 4, ColorRGB(255, 0, 0));
  EXPECT_EQ(image, before);
  const std::uint8_t full[16] = {255, 255, 255, 255, 255, 255, 255, 255,
                                 255, 255, 255, 255, 255, 255, 255, 255};
  TRasterCanvas empty(TPixelBuffer{});
  empty.BlendCoverage(0, 0, 4, 4, full, 4, ColorRGB(255, 0, 0));
  canvas.BlendCoverage(0, 0, 4, -4, full, 4, ColorRGB(255, 0, 0));
  EXPECT_EQ(image, before);
}

}  // namespace
