// SPDX-License-Identifier: GPL-3.0-or-later
// What the frame benchmarks share: plot mappings without a window, processor time, and one
// animation frame of the main plot drawn through either canvas.
#pragma once

#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <cmath>
#include <ctime>
#include <vector>

#include "canvas/PlotMapping.h"
#include "canvas/RasterCanvas.h"
#include "engine/SimulationCommands.h"
#include "plot/ImageBuffer.h"
#include "plot/PainterCanvas.h"
#include "render/FieldDrawing.h"
#include "render/MainPicture.h"

// QPainter fed one segment at a time, as a canvas that hands each LineTo straight on would feed
// it: one drawLine per segment, the pen set only when it changes. Shapes go through the painter
// canvas.
class TSegmentPainterCanvas final : public TCanvas {
 public:
  TSegmentPainterCanvas(QPainter& painter, TPainterCanvas& shapes)
      : Painter(painter), Shapes(shapes) {}

  void LineTo(int x, int y) override {
    if (x != PenX || y != PenY) Segment(QPointF(PenX + 0.5, PenY + 0.5), QPointF(x + 0.5, y + 0.5));
    MoveTo(x, y);
  }
  // Smooth, the points as placed, as the painter canvas takes them.
  bool TakesFinePoints() const override { return Smooth; }
  void FinePolyline(const TFinePoint* points, std::size_t count) override {
    if (count == 0) return;
    for (std::size_t k = 1; k < count; ++k) {
      if (!(points[k] == points[k - 1]))
        Segment(TPainterCanvas::PlaceOf(points[k - 1]), TPainterCanvas::PlaceOf(points[k]));
    }
    MoveTo(points[count - 1].X, points[count - 1].Y);
  }
  void Ellipse(int x1, int y1, int x2, int y2) override {
    TakeShapes();
    Shapes.Ellipse(x1, y1, x2, y2);
  }
  void Rectangle(int x1, int y1, int x2, int y2) override {
    TakeShapes();
    Shapes.Rectangle(x1, y1, x2, y2);
  }

 private:
  void Segment(QPointF a, QPointF b) {
    if (!Applied || AppliedColor != Pen.Color) {
      QPen pen(TPainterCanvas::ColorOf(Pen.Color));
      pen.setWidth(1);
      Painter.setPen(pen);
      Painter.setRenderHint(QPainter::Antialiasing, Smooth);
      Applied = true;
      AppliedColor = Pen.Color;
    }
    Painter.drawLine(QLineF(a, b));
  }
  void TakeShapes() {
    Shapes.Pen = Pen;
    Shapes.Brush = Brush;
    Shapes.Smooth = Smooth;
    Shapes.PixelRatio = PixelRatio;
    Applied = false;  // the painter canvas sets its own pen
  }
  QPainter& Painter;
  TPainterCanvas& Shapes;
  bool Applied = false;
  TColor AppliedColor = 0;
};

// Takes every call, with the points as the smooth outputs get them, and draws nothing.
class TNullCanvas final : public TCanvas {
 public:
  void LineTo(int x, int y) override { MoveTo(x, y); }
  void Polyline(const TCanvasPoint* points, std::size_t count) override {
    if (count > 0) MoveTo(points[count - 1].X, points[count - 1].Y);
  }
  bool TakesFinePoints() const override { return true; }
  void FinePolyline(const TFinePoint* points, std::size_t count) override {
    if (count > 0) MoveTo(points[count - 1].X, points[count - 1].Y);
  }
  void Ellipse(int, int, int, int) override {}
  void Rectangle(int, int, int, int) override {}
};

// Every call a drawing makes, kept to be made again on another canvas: the same segments, shapes
// and colours, without the node table that gave them.
class TCallRecording final : public TCanvas {
 public:
  void LineTo(int x, int y) override {
    const TCanvasPoint points[2] = {{PenX, PenY}, {x, y}};
    Polyline(points, 2);
  }
  void Polyline(const TCanvasPoint* points, std::size_t count) override {
    if (count == 0) return;
    Calls.push_back({TKind::Polyline, Pen, Brush, Points.size(), count});
    for (std::size_t k = 0; k < count; ++k) Points.push_back({points[k].X, points[k].Y, 0, 0});
    MoveTo(points[count - 1].X, points[count - 1].Y);
  }
  // The points as the smooth outputs get them.
  bool TakesFinePoints() const override { return true; }
  void FinePolyline(const TFinePoint* points, std::size_t count) override {
    if (count == 0) return;
    Calls.push_back({TKind::Polyline, Pen, Brush, Points.size(), count});
    Points.insert(Points.end(), points, points + count);
    MoveTo(points[count - 1].X, points[count - 1].Y);
  }
  void Ellipse(int x1, int y1, int x2, int y2) override { Box(TKind::Ellipse, x1, y1, x2, y2); }
  void Rectangle(int x1, int y1, int x2, int y2) override {
    Box(TKind::Rectangle, x1, y1, x2, y2);
  }

  // Makes every call again, in order, on canvas.
  void Replay(TCanvas& canvas) const {
    for (const TCall& call : Calls) {
      canvas.Pen = call.Pen;
      canvas.Brush = call.Brush;
      const TFinePoint* p = Points.data() + call.First;
      if (call.Kind == TKind::Polyline)
        canvas.FinePolyline(p, call.Count);
      else if (call.Kind == TKind::Ellipse)
        canvas.Ellipse(p[0].X, p[0].Y, p[1].X, p[1].Y);
      else
        canvas.Rectangle(p[0].X, p[0].Y, p[1].X, p[1].Y);
    }
  }

 private:
  enum class TKind { Polyline, Ellipse, Rectangle };
  struct TCall {
    TKind Kind;
    TPen Pen;
    TBrush Brush;
    std::size_t First;
    std::size_t Count;
  };
  void Box(TKind kind, int x1, int y1, int x2, int y2) {
    Calls.push_back({kind, Pen, Brush, Points.size(), 2});
    Points.push_back({x1, y1, 0, 0});
    Points.push_back({x2, y2, 0, 0});
  }
  std::vector<TCall> Calls;
  std::vector<TFinePoint> Points;
};

// A plot of width x height pixels showing x from -halfWidth to halfWidth at equal scales.
inline TPlotMapping MappingOf(int width, int height, double halfWidth) {
  TPlotMapping mapping;
  mapping.PlotRect = {0, 0, width, height};
  mapping.DrawArea = mapping.PlotRect;
  const double halfHeight = halfWidth * height / width;
  mapping.Horizontal = {false, -halfWidth, halfWidth};
  mapping.Vertical = {false, -halfHeight, halfHeight};
  return mapping;
}

// Processor time of this thread: the machine is shared, and waiting for a core is no part of a
// frame's cost.
inline double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// The charge on the default circle in a model of the given size, reset as the circle command
// leaves it.
inline void StartOnDefaultCircle(TSimulationCommands& simulation, const TModelSizePreset& size) {
  // The presets and the default circle are always taken.
  (void)simulation.ChooseModelSize({size.ISize, size.JSize, size.WaveFrontSpacing});
  (void)simulation.ChooseTrajectory(tmCircle, simulation.Trajectory());
}

// The window's work without the window: the tick's engine calls and the after-draw's drawing of
// a plot of width x height logical pixels at ratio device pixels to the logical one (background,
// then the main picture's overlay as the window starts: field lines with their arcs, disc,
// trajectory), on the default circle once every row was emitted on it: the steady picture with
// its kinks.
class TMainFrame {
 public:
  TMainFrame(const TModelSizePreset& model, int width, int height, double ratio = 1.0)
      : Ratio(ratio),
        Image(static_cast<int>(std::lround(width * ratio)),
              static_cast<int>(std::lround(height * ratio)), QImage::Format_RGB32),
        Mapping(MappingOf(Image.width(), Image.height(), 1.0)) {
    Mapping.PixelRatio = ratio;
    StartOnDefaultCircle(Simulation, model);
    for (int tick = 0; tick < State.ISize; ++tick) Simulation.RunTick();
  }

  void Tick() { Simulation.RunTick(); }

  void Draw(TCanvas& canvas) {
    canvas.PixelRatio = Ratio;
    canvas.Pen.Color = ColorRGB(0, 0, 0);
    canvas.Brush.Color = ColorRGB(0, 0, 0);
    canvas.Rectangle(0, 0, Image.width(), Image.height());
    DrawMainOverlay({canvas, Mapping, {}, Display.PlotResolution}, State, Display, Ratio);
  }

  void DrawRaster(bool smooth = false) {
    TRasterCanvas canvas(PixelBufferOf(Image));
    canvas.Smooth = smooth;
    Draw(canvas);
  }

  void DrawPainter(bool smooth = false) {
    QPainter painter(&Image);
    TPainterCanvas canvas(painter, Image.rect());
    canvas.Smooth = smooth;
    Draw(canvas);
    canvas.Flush();
  }

  void DrawPainterSegments(bool smooth) {
    QPainter painter(&Image);
    TPainterCanvas shapes(painter, Image.rect());
    TSegmentPainterCanvas canvas(painter, shapes);
    canvas.Smooth = smooth;
    Draw(canvas);
  }

  // The drawing's work without any pixels: the node table read and mapped, the arcs cut, every
  // call made to a canvas that draws nothing.
  void DrawNowhere() {
    TNullCanvas canvas;
    Draw(canvas);
  }

  // The calls of this frame's drawing, to be replayed on the canvases alone.
  TCallRecording Record() {
    TCallRecording recording;
    Draw(recording);
    return recording;
  }

  // The recorded calls made on this frame's image through our smooth canvas or through QPainter
  // with anti-aliasing: the canvases' own cost on the same segments.
  void ReplayRaster(const TCallRecording& calls) {
    TRasterCanvas canvas(PixelBufferOf(Image));
    canvas.Smooth = true;
    canvas.PixelRatio = Ratio;
    calls.Replay(canvas);
  }

  void ReplayPainter(const TCallRecording& calls) {
    QPainter painter(&Image);
    TPainterCanvas canvas(painter, Image.rect());
    canvas.Smooth = true;
    canvas.PixelRatio = Ratio;
    calls.Replay(canvas);
    canvas.Flush();
  }

  const QImage& Picture() const { return Image; }

 private:
  double Ratio;
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Simulation{State, Display};
  QImage Image;
  TPlotMapping Mapping;
};
