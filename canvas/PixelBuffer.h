// SPDX-License-Identifier: GPL-3.0-or-later
// Pixels in memory that the raster canvas draws into, whoever owns them: the desktop's QImage,
// a browser's ImageData, a picture the core allocates itself.
#pragma once

#include <cstddef>
#include <cstdint>

// A picture's size in pixels, logical or device.
struct TPictureSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(TPictureSize, TPictureSize) = default;
};

// How one 32-bit pixel holds its channels, as a word read on a little-endian machine. The alpha
// byte is the highest in both, so a pixel is opaque as 0xFF000000 | colour either way.
enum class TByteOrder {
  Bgra,  // Qt's RGB32 on a little-endian machine: 0xAARRGGBB words, bytes B, G, R, A
  Rgba,  // a browser's ImageData: bytes R, G, B, A, so 0xAABBGGRR words
};

// Height rows of Width pixels, row y starting StridePixels pixels after row y - 1. A buffer
// without pixels (Pixels null, or a side of 0) is drawn into as a picture of no pixels.
struct TPixelBuffer {
  std::uint32_t* Pixels = nullptr;
  int Width = 0;
  int Height = 0;
  std::ptrdiff_t StridePixels = 0;
  TByteOrder Order = TByteOrder::Bgra;
};
