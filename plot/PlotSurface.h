// SPDX-License-Identifier: GPL-3.0-or-later
// The plot surface: a black, axis-scaled plotting area with point series, model-to-pixel
// mappings, an after-draw hook with canvas primitives, mouse zoom, pan and wheel, and printing.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "canvas/Canvas.h"
#include "canvas/PlotMapping.h"
#include "canvas/SurfaceFrame.h"

class QPrinter;
class TPlotSurface;

enum class TMarkerStyle { Circle, Rectangle };

struct TSeriesPoint {
  double X = 0.0;
  double Y = 0.0;
  TColor Color = 0;
};

struct TMarker {
  TMarkerStyle Style = TMarkerStyle::Circle;
  int HorizSize = 4;                 // half-width, logical pixels
  int VertSize = 4;                  // half-height, logical pixels
  std::optional<TColor> PenColor;    // none: the point's colour outlines the marker
  std::optional<TColor> BrushColor;  // none: the point's colour fills the marker
  bool Visible = true;
};

class TPointSeries {
 public:
  using TClickHandler = std::function<void(TPointSeries& series, int index, Qt::MouseButton button,
                                           Qt::KeyboardModifiers shift, int x, int y)>;

  explicit TPointSeries(TPlotSurface& owner) : Owner(owner) {}

  TMarker Marker;
  TClickHandler OnClick;
  bool DrawLine = false;  // a line series joins its points before drawing their markers
  TColor LineColor = 0;

  int AddPoint(double x, double y, TColor color);
  void SetPointX(int i, double x);
  void SetPointY(int i, double y);
  void SetPointColor(int i, TColor color);
  // The point whose marker covers device pixel (px, py) (the marker's half sizes scaled to device
  // pixels), or whose own pixel it is; -1 for none.
  int HitTestPoint(int px, int py) const;
  const std::vector<TSeriesPoint>& Points() const { return PointList; }
  void RequestRedraw();
  TPlotSurface& Surface() { return Owner; }

 private:
  TPlotSurface& Owner;
  std::vector<TSeriesPoint> PointList;
};

class TPlotSurface : public QWidget {
  Q_OBJECT
 public:
  // Kind selects one of the three configurations (background, axes, border, AllowZoom, series).
  // Main: Series1 is the red-outlined charge marker; Zoom: Series1 hidden; Pattern: Series1 a red
  // disc of half-size 4 and Series2 an empty aqua line series, axes drawn as blue lines.
  explicit TPlotSurface(TSurfaceKind kind, QWidget* parent = nullptr);
  ~TPlotSurface() override;

  const TAxis& BottomAxis() const { return Bottom; }
  const TAxis& LeftAxis() const { return Left; }
  enum class TAxisId { Bottom, Left };
  // Automatic off, then Minimum, then Maximum; throws EError("Axis Minimum Value must be <=
  // Maximum" / "Axis Maximum Value must be >= Minimum") and keeps the range on a refusal.
  void SetAxisRange(TAxisId axis, double min, double max);

  // The mappings as of the most recent redraw (current inside OnAfterDraw). On the screen they
  // map to device pixels: the buffer is the surface's size times its device pixel ratio.
  const TPlotMapping& Mapping() const { return CurrentMapping; }
  int ValueToPixelX(double x) const { return CurrentMapping.ValueToPixelX(x); }
  int ValueToPixelY(double y) const { return CurrentMapping.ValueToPixelY(y); }
  double PixelToValueX(int px) const { return CurrentMapping.PixelToValueX(px); }
  double PixelToValueY(int py) const { return CurrentMapping.PixelToValueY(py); }
  TPixelRect PlotRect() const { return CurrentMapping.PlotRect; }
  TPixelRect DrawArea() const { return CurrentMapping.DrawArea; }

  // The mouse cursor in the device pixels of the buffer (may lie outside the surface); while a
  // button pressed on the surface is held, the pixel its last mouse event lies in.
  QPoint CursorPosition() const;
  // The device pixel under a point given in the widget's logical coordinates, at the ratio of the
  // most recent redraw.
  QPoint ToDevice(QPointF logical) const;
  // Device pixels per logical pixel for the next redraw: the one set here if it is positive (a
  // picture made without a screen, a test), else the screen's (fractional ones such as 1.5
  // included). A ratio that is not a number from 0.25 to 16 is refused with an EError.
  void SetDevicePixelRatio(double ratio);
  double DevicePixelRatio() const;
  // Field lines and the other pen lines of the picture anti-aliased, ellipses with soft edges.
  bool SmoothLines = false;
  // The colour under everything the surface draws: the theme's ground.
  TColor Ground = ColorRGB(0, 0, 0);
  // Marks the buffer dirty and schedules a paint; several requests before a paint give one redraw.
  void RequestRedraw();
  bool RedrawPending() const { return Dirty; }
  // Performs a pending redraw into the buffer now, as the next paint would (nothing if the buffer
  // is clean); works on a hidden surface too. Errors of the handlers reach the caller.
  void FlushRedraw();
  // Prints the chart on printer as one page, in the document the caller names; an error while
  // drawing aborts the job and is passed on. The page is drawn in painter units scaled so that the
  // chart, as large as the page allows and centred (plot/PageFit.h), is exactly Width x Height
  // units: DrawArea and PlotRect
  // (the page rectangle) and the mappings inside OnAfterDraw are in those units.
  void PrintChart(QPrinter& printer);

  TPointSeries& Series1() { return *FirstSeries; }
  TPointSeries* Series2() { return SecondSeries.get(); }

  bool AllowZoom = true;
  bool RangesRestored() const { return Restored; }
  // The off-screen buffer as of the last redraw (what is on screen, less the rubber band), in
  // device pixels with its device pixel ratio set.
  const QImage& Buffer() const { return BufferImage; }
  // The rubber band of a rectangle zoom being dragged, from the press pixel to the cursor, in the
  // widget's logical pixels.
  std::optional<QRect> RubberBand() const;
  TSurfaceKind SurfaceKind() const { return Kind; }

  std::function<void(TPlotSurface& sender, TCanvas& canvas)> OnAfterDraw;
  std::function<void(TPlotSurface& sender)> OnZoom;
  // x and y of the mouse handlers (and of TPointSeries::OnClick) are device pixels, as the
  // mappings.
  std::function<void(TPlotSurface& sender, Qt::MouseButton button, int x, int y)> OnMouseUp;
  // Raised after every redraw into the buffer (after OnAfterDraw), for views that follow this one.
  std::function<void(TPlotSurface& sender)> OnRedrawn;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> Impl;
  TSurfaceKind Kind;
  TAxis Bottom;
  TAxis Left;
  TPlotMapping CurrentMapping;
  bool Dirty = true;
  bool Restored = true;
  double RatioOverride = 0.0;
  QImage BufferImage;
  std::unique_ptr<TPointSeries> FirstSeries;
  std::unique_ptr<TPointSeries> SecondSeries;
};
