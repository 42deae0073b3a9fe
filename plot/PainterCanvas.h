// SPDX-License-Identifier: GPL-3.0-or-later
// The printing canvas: the same pen-and-brush calls through QPainter, so that a printed page gets
// vector output.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QRect>

#include "canvas/Canvas.h"

// Cuts the segment a-b to the rectangle r; false if nothing of it lies inside.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r);

// Aliased one-unit pen in the painter's coordinates (anti-aliased when Smooth, Pen.Width x
// PixelRatio units wide when that is more than 1). Boxes cover x1 .. x2-1 and y1 .. y2-1 like
// the raster canvas; a line's end pixel is not left out (a one-unit dot at the end of a vector
// line does not show), but a zero-length line still draws nothing. Everything is clipped to
// clip: lines and rectangles are cut to it before they reach the painter, so that pixels of the
// order of 2^31 (the tails of field lines) never end up as coordinates in the printed file.
class TPainterCanvas final : public TCanvas {
 public:
  // painter must be active and outlive the canvas; its pen, brush, render hints and clipping are
  // changed.
  TPainterCanvas(QPainter& painter, const QRect& clip);
  // Draws the line run still held back.
  ~TPainterCanvas() override;

  // Where a fine point lies in the painter's coordinates.
  static QPointF PlaceOf(const TFinePoint& p) {
    return QPointF(p.X + 0.5 + static_cast<double>(p.DX) / FineSteps,
                   p.Y + 0.5 + static_cast<double>(p.DY) / FineSteps);
  }

  static QColor ColorOf(TColor color) {
    return QColor(static_cast<int>(ColorRed(color)), static_cast<int>(ColorGreen(color)),
                  static_cast<int>(ColorBlue(color)));
  }

  void LineTo(int x, int y) override;
  // Smooth lines take the points as they are placed, a straight line staying straight.
  bool TakesFinePoints() const override { return Smooth; }
  void FinePolyline(const TFinePoint* points, std::size_t count) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  // An image of the colour with the coverage as its alpha, cut to the clip, drawn over the page.
  void BlendCoverage(int x, int y, int width, int height, const std::uint8_t* coverage, int stride,
                     TColor colour) override;

  // Draws the line run held back so far. Lines that continue one another with the same pen are
  // drawn as one polyline: a vector file then holds one path per field line, not one element per
  // segment, and joins have no gaps.
  void Flush();

 private:
  void ApplyPenAndBrush();
  // The line from a to b, cut to the clip, moved by shift into the painter's coordinates and
  // added to the run.
  void AddLine(QPointF a, QPointF b, QPointF shift);
  QPolygonF Run;
  TColor RunColor = 0;
  double RunWidth = 1.0;
  bool RunSmooth = false;
  double RunRatio = 1.0;
  QPainter& Painter;
  QRect Clip;
};
