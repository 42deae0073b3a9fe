// Canvas calls mapped onto QPainter for printing.
#include "plot/PainterCanvas.h"

#include <QPen>
#include <QRect>
#include <algorithm>

namespace {

// A box of the canvas (corners in any order, right and bottom excluded) as the QRect that an
// aliased one-pixel pen outlines on exactly those pixels; false for an empty box.
bool BoxRect(int x1, int y1, int x2, int y2, QRect& rect) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const long long w = static_cast<long long>(x2) - x1;
  const long long h = static_cast<long long>(y2) - y1;
  if (w < 1 || h < 1) return false;
  // QRect holds int extents; a box wider than that lies far off any page anyway.
  rect = QRect(x1, y1, static_cast<int>(std::min(w - 1, 2147483647LL)),
               static_cast<int>(std::min(h - 1, 2147483647LL)));
  return true;
}

}  // namespace

TPainterCanvas::TPainterCanvas(QPainter& painter) : Painter(painter) {
  Painter.setRenderHint(QPainter::Antialiasing, false);
}

void TPainterCanvas::ApplyPenAndBrush() {
  QPen pen(ColorOf(Pen.Color));
  pen.setWidth(1);
  pen.setStyle(Qt::SolidLine);
  Painter.setPen(pen);
  if (Brush.Style == TBrushStyle::Solid)
    Painter.setBrush(ColorOf(Brush.Color));
  else
    Painter.setBrush(Qt::NoBrush);
}

void TPainterCanvas::LineTo(int x, int y) {
  const int x0 = PenX;
  const int y0 = PenY;
  PenX = x;
  PenY = y;
  if (x0 == x && y0 == y) return;
  ApplyPenAndBrush();
  Painter.drawLine(x0, y0, x, y);
}

void TPainterCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  QRect rect;
  if (!BoxRect(x1, y1, x2, y2, rect)) return;
  ApplyPenAndBrush();
  Painter.drawEllipse(rect);
}

void TPainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  QRect rect;
  if (!BoxRect(x1, y1, x2, y2, rect)) return;
  ApplyPenAndBrush();
  Painter.drawRect(rect);
}
