// SPDX-License-Identifier: GPL-3.0-or-later
// The printing canvas covers the same boxes as the screen canvas and maps colours unchanged.
#include "plot/PainterCanvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "canvas/RasterCanvas.h"
#include "plot/ImageBuffer.h"

namespace {

QImage Black() {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(Qt::black);
  return image;
}

template <class Draw>
QImage WithPainter(Draw draw) {
  QImage image = Black();
  QPainter painter(&image);
  TPainterCanvas canvas(painter, image.rect());
  canvas.Pen.Color = ColorRGB(255, 0, 0);
  canvas.Brush.Color = ColorRGB(0, 0, 255);
  draw(canvas);
  painter.end();
  return image;
}

template <class Draw>
QImage WithRaster(Draw draw) {
  QImage image = Black();
  TRasterCanvas canvas(PixelBufferOf(image));
  canvas.Pen.Color = ColorRGB(255, 0, 0);
  canvas.Brush.Color = ColorRGB(0, 0, 255);
  draw(canvas);
  return image;
}

TEST(PainterCanvas, ColoursKeepTheirChannels) {
  EXPECT_EQ(TPainterCanvas::ColorOf(ColorRGB(1, 2, 3)), QColor(1, 2, 3));
  EXPECT_EQ(TRasterCanvas::PixelOf(ColorRGB(1, 2, 3)), 0xFF010203u);
}

TEST(PainterCanvas, RectanglesMatchTheScreenCanvas) {
  auto shapes = [](TCanvas& c) {
    c.Rectangle(1, 1, 6, 5);
    c.Rectangle(12, 10, 8, 8);              // corners swapped
    c.Rectangle(3, 9, 5, 11);               // a 2 x 2 node point
    c.Rectangle(9, 1, 9, 5);                // empty
    c.Rectangle(-100, 12, 1000000000, 14);  // cut to the clip before drawing
    c.MoveTo(0, 15);
    c.LineTo(2000000000, 15);
    c.Brush.Style = TBrushStyle::Clear;
    c.Rectangle(1, 7, 6, 11);
  };
  EXPECT_EQ(WithPainter(shapes), WithRaster(shapes));
}

TEST(PainterCanvas, EllipseStaysInItsBoxAndZeroLinesDrawNothing) {
  const QImage image = WithPainter([](TCanvas& c) {
    c.Ellipse(3, 4, 13, 14);
    c.MoveTo(1, 1);
    c.LineTo(1, 1);
  });
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool inBox = x >= 3 && x < 13 && y >= 4 && y < 14;
      if (!inBox) {
        EXPECT_EQ(image.pixel(x, y) & 0xFFFFFF, 0u) << x << ", " << y;
      }
    }
  EXPECT_EQ(image.pixel(8, 9) & 0xFFFFFF, 0x0000FFu) << "filled";
  EXPECT_EQ(image.pixel(8, 4) & 0xFFFFFF, 0xFF0000u) << "outlined at the top edge";
}

}  // namespace

namespace {

// Smooth printing takes the points as placed: a row placed half a pixel down lies on the border of
// two pixel rows and shares its colour between them; placed at its pixel's centre it is one row.
TEST(PainterCanvas, SmoothLinesRunThroughTheFinePointsAsPlaced) {
  struct Row {
    std::int8_t dy;
    bool split;  // shared between rows 5 and 6 rather than all in row 5
  };
  for (const Row row : {Row{0, false}, Row{8, true}}) {
    SCOPED_TRACE(static_cast<int>(row.dy));
    const QImage image = WithPainter([&](TPainterCanvas& canvas) {
      canvas.Smooth = true;
      EXPECT_TRUE(canvas.TakesFinePoints());
      const TFinePoint points[] = {{2, 5, 0, row.dy}, {13, 5, 0, row.dy}};
      canvas.FinePolyline(points, 2);
      canvas.Flush();
    });
    const int upper = qRed(image.pixel(8, 5));
    const int lower = qRed(image.pixel(8, 6));
    if (row.split) {
      EXPECT_NEAR(upper, lower, 40);
      EXPECT_GT(upper, 60);
    } else {
      EXPECT_GT(upper, 200);
      EXPECT_LT(lower, 40);
    }
  }
  // Aliased printing keeps to whole pixels.
  WithPainter([](TPainterCanvas& canvas) { EXPECT_FALSE(canvas.TakesFinePoints()); });
}

}  // namespace
