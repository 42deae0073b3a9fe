// The printing canvas: the same pen-and-brush calls through QPainter, so that a printed page gets
// vector output at the printer's resolution.
#pragma once

#include <QColor>
#include <QPainter>

#include "plot/Canvas.h"

// Aliased, one-device-pixel pen. Boxes cover x1 .. x2-1 and y1 .. y2-1 like the raster canvas;
// a line's end pixel is not left out (a single device pixel of a printer does not show), but a
// zero-length line still draws nothing.
class TPainterCanvas final : public TCanvas {
 public:
  // painter must be active and outlive the canvas; its pen, brush and render hints are changed.
  explicit TPainterCanvas(QPainter& painter);

  static QColor ColorOf(TColor color) {
    return QColor(static_cast<int>(ColorRed(color)), static_cast<int>(ColorGreen(color)),
                  static_cast<int>(ColorBlue(color)));
  }

  void LineTo(int x, int y) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;

 private:
  void ApplyPenAndBrush();
  QPainter& Painter;
};
