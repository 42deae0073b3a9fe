// SPDX-License-Identifier: GPL-3.0-or-later
// QImages as the raster canvas's pixel buffers: Qt's 32-bit formats in their byte orders, every
// other format left alone, the image detached before it is drawn into, and the main picture as a
// QImage equal to the core's frame.
#include "plot/ImageBuffer.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdint>
#include <vector>

#include "app/GuardedCall.h"
#include "canvas/RasterCanvas.h"
#include "engine/SimulationCommands.h"
#include "plot/MainPictureImage.h"

namespace {

// A red line across the middle row of an image filled with grey.
void DrawRedLine(QImage& image) {
  TRasterCanvas canvas(PixelBufferOf(image));
  canvas.Pen.Color = ColorRGB(255, 0, 0);
  canvas.MoveTo(0, image.height() / 2);
  canvas.LineTo(image.width(), image.height() / 2);
}

TEST(ImageBuffer, QtsFormatsInTheirByteOrdersAndNoOthers) {
  struct Row {
    QImage::Format Format;
    bool Drawn;
    TByteOrder Order;
  };
  const Row rows[] = {
      {QImage::Format_RGB32, true, TByteOrder::Bgra},
      {QImage::Format_ARGB32, true, TByteOrder::Bgra},
      {QImage::Format_ARGB32_Premultiplied, true, TByteOrder::Bgra},
      {QImage::Format_RGBX8888, true, TByteOrder::Rgba},
      {QImage::Format_RGBA8888, true, TByteOrder::Rgba},
      {QImage::Format_RGBA8888_Premultiplied, true, TByteOrder::Rgba},
      // 32 bits a pixel, but 10-bit channels.
      {QImage::Format_RGB30, false, TByteOrder::Bgra},
      {QImage::Format_A2BGR30_Premultiplied, false, TByteOrder::Bgra},
      {QImage::Format_RGB888, false, TByteOrder::Bgra},
      {QImage::Format_Grayscale8, false, TByteOrder::Bgra},
      {QImage::Format_RGB16, false, TByteOrder::Bgra},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.Format));
    QImage image(9, 5, row.Format);
    image.fill(QColor(100, 100, 100));
    // As the format holds it (10-bit and 5-bit channels round it).
    const QColor ground = image.pixelColor(4, 2);
    const TPixelBuffer buffer = PixelBufferOf(image);
    EXPECT_EQ(buffer.Pixels != nullptr, row.Drawn);
    if (row.Drawn) {
      EXPECT_EQ(buffer.Width, 9);
      EXPECT_EQ(buffer.Height, 5);
      EXPECT_EQ(buffer.StridePixels, image.bytesPerLine() / 4);
      EXPECT_EQ(buffer.Order, row.Order);
    }
    DrawRedLine(image);
    // Qt reads back what the canvas wrote as the colour it meant.
    EXPECT_EQ(image.pixelColor(4, 2), row.Drawn ? QColor(255, 0, 0) : ground);
    EXPECT_EQ(image.pixelColor(4, 1), ground);
  }
  QImage none;
  EXPECT_EQ(PixelBufferOf(none).Pixels, nullptr);
  DrawRedLine(none);
}

TEST(ImageBuffer, RowsLongerThanTheImageKeepTheirPadding) {
  constexpr int Width = 5, Height = 4, Stride = 8;
  std::vector<std::uint32_t> memory(Stride * Height, 0x5A5A5A5Au);
  QImage image(reinterpret_cast<uchar*>(memory.data()), Width, Height, Stride * 4,
               QImage::Format_RGB32);
  image.fill(QColor(0, 0, 0));
  TRasterCanvas canvas(PixelBufferOf(image));
  canvas.Pen.Color = ColorRGB(0, 0, 255);
  canvas.Brush.Color = ColorRGB(0, 0, 255);
  canvas.Rectangle(-10, -10, 100, 100);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Stride; ++x)
      EXPECT_EQ(memory[y * Stride + x], x < Width ? 0xFF0000FFu : 0x5A5A5A5Au) << x << ", " << y;
}

TEST(ImageBuffer, TheImageDrawnIntoIsDetachedFromItsCopies) {
  QImage original(6, 6, QImage::Format_RGB32);
  original.fill(QColor(0, 0, 0));
  QImage copy = original;
  DrawRedLine(copy);
  EXPECT_EQ(copy.pixelColor(2, 3), QColor(255, 0, 0));
  EXPECT_EQ(original.pixelColor(2, 3), QColor(0, 0, 0)) << "the copy it shared its pixels with";
  // The desktop's gui tests build the canvas straight from the image.
  TRasterCanvas canvas(original);
  canvas.Pen.Color = ColorRGB(0, 255, 0);
  canvas.MoveTo(0, 0);
  canvas.LineTo(6, 0);
  EXPECT_EQ(original.pixelColor(3, 0), QColor(0, 255, 0));
  EXPECT_EQ(copy.pixelColor(3, 0), QColor(0, 0, 0));
}

TEST(MainPictureImage, TheQImageIsTheCoresFrameWithItsRatio) {
  TSimulationState state;
  TDisplaySettings display;
  TSimulationCommands simulation(state, display);
  ASSERT_FALSE(simulation.Start());
  ASSERT_FALSE(simulation.ChooseTrajectory(tmDipole, simulation.Trajectory()));
  for (int tick = 0; tick < 30; ++tick) simulation.RunTick();
  const QSize logical(70, 45);
  const TMainRange range = DefaultMainRange(logical);
  const QImage image = RenderMainPicture(state, display, logical, 1.5, range);
  TMainPictureFrame frame;
  ASSERT_FALSE(RenderMainPicture(frame, state, display, {70, 45}, 1.5, range));
  ASSERT_EQ(image.size(), QSize(frame.Size.Width, frame.Size.Height));
  EXPECT_EQ(image.size(), QSize(105, 68));
  EXPECT_EQ(image.format(), QImage::Format_RGB32);
  EXPECT_EQ(image.devicePixelRatio(), 1.5);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      ASSERT_EQ(image.pixel(x, y), frame.Pixels[static_cast<std::size_t>(y) * 105 + x])
          << x << ", " << y;
}

TEST(MainPictureImage, AnImageQtCannotMakeIsTheRefusalsError) {
  TSimulationState state;
  TDisplaySettings display;
  // A row of more pixels than Qt's images take: refused before any memory is asked for.
  const QSize logical(100000000, 1);
  try {
    (void)RenderMainPicture(state, display, logical, 1.0, DefaultMainRange(logical));
    FAIL() << "no error";
  } catch (const EError& error) {
    EXPECT_STREQ(error.what(), EError(PictureTooLarge({100000000, 1})).what());
  }
}

}  // namespace
