// SPDX-License-Identifier: GPL-3.0-or-later
// The plot surface's private state and the functions its parts share: the chart drawing
// (ChartDrawing.cpp) and the axis navigation (AxisNavigation.cpp) work on the surface through it.
#pragma once

#include <QPoint>
#include <QPointF>
#include <optional>

#include "plot/PlotSurface.h"

struct TPlotSurface::TImpl {
  enum class TDrag { None, Zoom, Pan };
  TDrag Drag = TDrag::None;
  QPoint DragStart;        // zoom: the press pixel
  QPoint DragLast;         // zoom: the cursor; pan: the last pixel that moved the view
  int WheelRemainder = 0;  // eighths of a degree not yet making up a notch
  // Where the pointer is while a button pressed on the surface is held, as its last event gave
  // it, in logical pixels with their fractions.
  std::optional<QPointF> HeldPointer;
  TAxis SavedBottom;
  TAxis SavedLeft;

  // PlotRect within the rectangle the surface is drawn into: all of it, less the axis lines of
  // the pattern window (the first columns and the last rows, one logical pixel).
  static TPixelRect Layout(TSurfaceKind kind, const TPixelRect& area, int line);
  static void DrawAxes(TPlotSurface& s, TCanvas& canvas);
  static void DrawSeries(TPlotSurface& s, TCanvas& canvas, const TPointSeries& series);
  // The whole picture into area, ratio pixels to the logical pixel: mappings first, so that
  // everything after them, OnAfterDraw included, sees this redraw's ranges and rectangle.
  static void Draw(TPlotSurface& s, TCanvas& canvas, const TPixelRect& area, double ratio);

  static void SaveRanges(TPlotSurface& s);
  // from and to in logical pixels: the threshold is a distance on the screen.
  static void FinishZoom(TPlotSurface& s, QPoint from, QPoint to);
  // to in logical pixels, like DragLast.
  static void PanTo(TPlotSurface& s, QPoint toLogical);
};
