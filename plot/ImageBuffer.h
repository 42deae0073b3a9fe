// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's images as pixel buffers: every raster canvas on the desktop draws into a QImage
// through this, and TRasterCanvas canvas(image) finds it for a QImage.
#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>

#include "canvas/PixelBuffer.h"

// The pixels of image, detached once here so that the canvas writes into this image's own copy.
// Qt's 32-bit formats of 8-bit channels are taken in their byte order (RGB32 and ARGB32 as
// 0xAARRGGBB words, RGBX8888 and RGBA8888 as bytes R, G, B, A); any other format gives a buffer
// without pixels, which the canvas leaves alone.
inline TPixelBuffer PixelBufferOf(QImage& image) {
  TByteOrder order = TByteOrder::Bgra;
  switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
      break;
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
      order = TByteOrder::Rgba;
      break;
    default:
      return {};
  }
  return {reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
          static_cast<std::ptrdiff_t>(image.bytesPerLine() / 4), order};
}
