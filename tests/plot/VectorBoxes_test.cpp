// SPDX-License-Identifier: GPL-3.0-or-later
// Boxes drawn through the painter canvas into a vector file come back, once the file is drawn,
// as the pixels the screen canvas lights: the letters of the arrows' legend and the plot's frame
// are boxes one pixel thin.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <string>
#include <vector>

#include "canvas/RasterCanvas.h"
#include "plot/ImageBuffer.h"
#include "plot/PainterCanvas.h"

namespace {

constexpr int Size = 12;

struct TBoxCase {
  const char* Name;
  int X1, Y1, X2, Y2;
  TBrushStyle Style;
  TColor Brush;
};

void Draw(TCanvas& canvas, const TBoxCase& box) {
  canvas.Pen.Color = ColorRGB(255, 0, 0);
  canvas.Brush.Color = box.Brush;
  canvas.Brush.Style = box.Style;
  canvas.Rectangle(box.X1, box.Y1, box.X2, box.Y2);
}

QImage Black() {
  QImage image(Size, Size, QImage::Format_RGB32);
  image.fill(Qt::black);
  return image;
}

QImage OnScreen(const TBoxCase& box) {
  QImage image = Black();
  TRasterCanvas canvas(PixelBufferOf(image));
  Draw(canvas, box);
  return image;
}

// The box written as SVG and the file drawn again, one unit to the pixel.
QImage ThroughSvg(const TBoxCase& box) {
  QBuffer file;
  file.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&file);
  generator.setSize(QSize(Size, Size));
  generator.setViewBox(QRect(0, 0, Size, Size));
  {
    QPainter painter(&generator);
    TPainterCanvas canvas(painter, QRect(0, 0, Size, Size));
    Draw(canvas, box);
  }
  QSvgRenderer renderer(file.data());
  QImage image = Black();
  QPainter painter(&image);
  renderer.render(&painter, QRectF(0, 0, Size, Size));
  painter.end();
  return image;
}

TEST(VectorBoxes, ThinBoxesComeBackAsTheScreenDrawsThem) {
  constexpr TColor Red = ColorRGB(255, 0, 0);
  constexpr TColor Blue = ColorRGB(0, 0, 255);
  const std::vector<TBoxCase> boxes = {
      {"a letter's dot", 3, 4, 4, 5, TBrushStyle::Solid, Red},
      {"a row of a letter", 2, 6, 7, 7, TBrushStyle::Solid, Red},
      {"a frame's edge", 1, 1, 11, 2, TBrushStyle::Solid, Blue},
      {"a column", 5, 1, 6, 10, TBrushStyle::Clear, Blue},
      {"a node point", 4, 4, 6, 6, TBrushStyle::Solid, Blue},
      {"outline and inside", 2, 3, 9, 8, TBrushStyle::Solid, Blue},
      {"outline alone", 1, 2, 10, 11, TBrushStyle::Clear, Blue},
      {"three wide", 3, 3, 6, 9, TBrushStyle::Clear, Blue},
  };
  for (const TBoxCase& box : boxes) {
    SCOPED_TRACE(box.Name);
    EXPECT_EQ(ThroughSvg(box), OnScreen(box));
  }
}

}  // namespace
