// SPDX-License-Identifier: GPL-3.0-or-later
// Canvas calls mapped onto QPainter for printing, cut to the clip rectangle first.
#include "plot/PainterCanvas.h"

#include <QLineF>
#include <QPainterPath>
#include <QImage>
#include <QPen>
#include <algorithm>
#include <cstdint>

namespace {

// Room kept around the clip rectangle when cutting, so that the pen's width at the edges is
// drawn as the painter's own clipping would draw it.
constexpr std::int64_t ClipRoom = 2;

struct TBox {
  std::int64_t Left, Top, Right, Bottom;  // right and bottom excluded
};

// A box of the canvas with its corners in any order; false for an empty box.
bool Normalised(int x1, int y1, int x2, int y2, TBox& box) {
  box = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  return box.Right - box.Left >= 1 && box.Bottom - box.Top >= 1;
}

// The line width in device pixels, as the screen's canvas has it: the pen's width times the pixel
// ratio, each counting as 1 where it is no usable number, at least 1 and at most 64.
double LineWidthOf(double ratio, double penWidth) {
  if (!(ratio > 0.0 && ratio <= 64.0)) ratio = 1.0;
  if (!(penWidth > 0.0 && penWidth <= 64.0)) penWidth = 1.0;
  return std::clamp(ratio * penWidth, 1.0, 64.0);
}

// The pixels left .. right-1, top .. bottom-1 as the QRect that an aliased one-unit pen outlines
// on exactly those pixels.
QRect OutlineRect(const TBox& b) {
  return QRect(static_cast<int>(b.Left), static_cast<int>(b.Top),
               static_cast<int>(b.Right - b.Left - 1), static_cast<int>(b.Bottom - b.Top - 1));
}

}  // namespace

// Liang and Barsky's clipping, edge by edge.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r) {
  const double dx = b.x() - a.x(), dy = b.y() - a.y();
  double t0 = 0.0, t1 = 1.0;
  const double p[] = {-dx, dx, -dy, dy};
  const double q[] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const QPointF start = a;
  a = start + t0 * QPointF(dx, dy);
  b = start + t1 * QPointF(dx, dy);
  return true;
}

TPainterCanvas::TPainterCanvas(QPainter& painter, const QRect& clip)
    : Painter(painter), Clip(clip) {
  Painter.setRenderHint(QPainter::Antialiasing, false);
  Painter.setClipRect(Clip);
}

TPainterCanvas::~TPainterCanvas() { Flush(); }

void TPainterCanvas::Flush() {
  if (Run.size() >= 2) {
    const TPen pen = Pen;
    const bool smooth = Smooth;
    const double ratio = PixelRatio;
    Pen.Color = RunColor;
    Pen.Width = RunWidth;
    Smooth = RunSmooth;
    PixelRatio = RunRatio;
    ApplyPenAndBrush();
    Painter.drawPolyline(Run);
    Pen = pen;
    Smooth = smooth;
    PixelRatio = ratio;
  }
  Run.clear();
}

void TPainterCanvas::ApplyPenAndBrush() {
  Painter.setRenderHint(QPainter::Antialiasing, Smooth);
  QPen pen(ColorOf(Pen.Color));
  const double width = LineWidthOf(PixelRatio, Pen.Width);
  if (width > 1.0)
    pen.setWidthF(width);
  else
    pen.setWidth(1);
  pen.setStyle(Qt::SolidLine);
  Painter.setPen(pen);
  if (Brush.Style == TBrushStyle::Solid)
    Painter.setBrush(ColorOf(Brush.Color));
  else
    Painter.setBrush(Qt::NoBrush);
}

void TPainterCanvas::LineTo(int x, int y) {
  QPointF a(PenX, PenY);
  QPointF b(x, y);
  PenX = x;
  PenY = y;
  // Smooth lines run from pixel centre to pixel centre, as on the screen; the aliased pen's own
  // rule already lights the pixels the coordinates name.
  AddLine(a, b, Smooth ? QPointF(0.5, 0.5) : QPointF());
}

void TPainterCanvas::FinePolyline(const TFinePoint* points, std::size_t count) {
  if (count == 0) return;
  if (!Smooth) {
    TCanvas::FinePolyline(points, count);
    return;
  }
  for (std::size_t k = 1; k < count; ++k) AddLine(PlaceOf(points[k - 1]), PlaceOf(points[k]), {});
  MoveTo(points[count - 1].X, points[count - 1].Y);
}

void TPainterCanvas::AddLine(QPointF a, QPointF b, QPointF shift) {
  if (a == b) return;
  const QRectF room(QPointF(Clip.left() - ClipRoom, Clip.top() - ClipRoom),
                    QPointF(Clip.right() + 1 + ClipRoom, Clip.bottom() + 1 + ClipRoom));
  if (!ClipSegment(a, b, room)) return;
  a += shift;
  b += shift;
  const bool continues = !Run.isEmpty() && Run.constLast() == a && RunColor == Pen.Color &&
                         RunWidth == Pen.Width && RunSmooth == Smooth && RunRatio == PixelRatio;
  if (!continues) {
    Flush();
    Run << a;
    RunColor = Pen.Color;
    RunWidth = Pen.Width;
    RunSmooth = Smooth;
    RunRatio = PixelRatio;
  }
  Run << b;
}

void TPainterCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  TBox box;
  Flush();
  if (!Normalised(x1, y1, x2, y2, box)) return;
  if (box.Right <= Clip.left() || box.Left > Clip.right() || box.Bottom <= Clip.top() ||
      box.Top > Clip.bottom())
    return;
  ApplyPenAndBrush();
  // An ellipse larger than int can hold is cut to the largest box QRect takes; it cannot show on
  // any page.
  box.Right = std::min<std::int64_t>(box.Right, box.Left + 2147483647);
  box.Bottom = std::min<std::int64_t>(box.Bottom, box.Top + 2147483647);
  Painter.drawEllipse(OutlineRect(box));
}

void TPainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Flush();
  TBox box;
  if (!Normalised(x1, y1, x2, y2, box)) return;
  // Cutting a rectangle to the clip with some room to spare changes nothing that shows.
  box.Left = std::max<std::int64_t>(box.Left, Clip.left() - ClipRoom);
  box.Top = std::max<std::int64_t>(box.Top, Clip.top() - ClipRoom);
  box.Right = std::min<std::int64_t>(box.Right, Clip.right() + 1 + ClipRoom);
  box.Bottom = std::min<std::int64_t>(box.Bottom, Clip.bottom() + 1 + ClipRoom);
  if (box.Right - box.Left < 1 || box.Bottom - box.Top < 1) return;
  // Filled as areas, not stroked: a box one pixel high stroked as a rectangle is a rectangle of
  // no height, which an SVG viewer leaves out and a printer draws as a hairline. As areas, the
  // outline is one unit wide just inside the box and the inside takes the brush, the pixels the
  // screen canvas lights, at any resolution.
  Painter.setRenderHint(QPainter::Antialiasing, false);
  const QRectF outer(static_cast<double>(box.Left), static_cast<double>(box.Top),
                     static_cast<double>(box.Right - box.Left),
                     static_cast<double>(box.Bottom - box.Top));
  const QRectF inner = outer.adjusted(1.0, 1.0, -1.0, -1.0);
  const QColor pen = ColorOf(Pen.Color);
  const bool fill = Brush.Style == TBrushStyle::Solid;
  if (fill || inner.isEmpty()) {
    Painter.fillRect(outer, pen);
    if (fill && !inner.isEmpty() && Brush.Color != Pen.Color)
      Painter.fillRect(inner, ColorOf(Brush.Color));
    return;
  }
  QPainterPath ring;
  ring.setFillRule(Qt::OddEvenFill);
  ring.addRect(outer);
  ring.addRect(inner);
  Painter.fillPath(ring, pen);
}

void TPainterCanvas::BlendCoverage(int x, int y, int width, int height,
                                   const std::uint8_t* coverage, int stride, TColor colour) {
  Flush();
  if (coverage == nullptr || width <= 0 || height <= 0) return;
  const std::int64_t left = std::max<std::int64_t>(x, Clip.left());
  const std::int64_t top = std::max<std::int64_t>(y, Clip.top());
  const std::int64_t right =
      std::min<std::int64_t>(static_cast<std::int64_t>(x) + width, Clip.right() + std::int64_t{1});
  const std::int64_t bottom = std::min<std::int64_t>(static_cast<std::int64_t>(y) + height,
                                                     Clip.bottom() + std::int64_t{1});
  if (left >= right || top >= bottom) return;
  // The colour everywhere, the coverage as its alpha: drawn over what is there, it blends as the
  // screen's canvas does, and a vector file gets it as one picture.
  QImage image(static_cast<int>(right - left), static_cast<int>(bottom - top),
               QImage::Format_ARGB32);
  const QRgb rgb = ColorOf(colour).rgb() & 0x00FFFFFFu;
  for (int row = 0; row < image.height(); ++row) {
    const std::uint8_t* from = coverage + (top - y + row) * stride + (left - x);
    auto* to = reinterpret_cast<QRgb*>(image.scanLine(row));
    for (int column = 0; column < image.width(); ++column) {
      to[column] = rgb | (static_cast<QRgb>(from[column]) << 24);
    }
  }
  Painter.drawImage(QPoint(static_cast<int>(left), static_cast<int>(top)), image);
}
