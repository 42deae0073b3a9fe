// The field picture drawn from the node table: field lines with arc subdivision, wavefronts,
// node points, the trajectory and the charge disc. The main plot and the zoom view share it; the
// zoom view passes the charge position as Origin, so every point is taken relative to it.
#pragma once

#include "engine/FieldCal.h"
#include "engine/PathGen.h"
#include "plot/Canvas.h"
#include "plot/PlotMapping.h"

constexpr TColor FieldLineColor = ColorRGB(0, 200, 255);
constexpr TColor WaveFrontColor = ColorRGB(255, 100, 150);
constexpr TColor NodePointColor = ColorRGB(255, 255, 255);
constexpr TColor TrajectoryColor = ColorRGB(230, 230, 0);
constexpr TColor ChargeDiscPen = ColorRGB(255, 0, 0);
constexpr TColor ChargeDiscBrush = ColorRGB(0, 0, 255);

constexpr int ChargeDiscHalfSize = 5;  // logical pixels

// The mapping's pixels are the canvas's (device pixels on the screen); PlotResolution, the disc
// and the node points are sizes on the screen, scaled by the mapping's and the canvas's
// PixelRatio.
struct TFieldView {
  TCanvas& Canvas;
  const TPlotMapping& Mapping;
  TVector2 Origin;     // subtracted from every model point before mapping
  int PlotResolution;  // logical pixels
};

// The model-to-pixel mapping of a view (its Origin subtracted) with the surface's arithmetic
// inlined: the same expression, the same rounding half to even and the same centre pixel, so each
// pixel equals that of TPlotMapping. The drawing maps tens of thousands of points per frame.
class TFieldPixels {
 public:
  explicit TFieldPixels(const TFieldView& view);
  int X(double x) const;
  int Y(double y) const;

 private:
  struct TAxisMap {
    double Minimum;
    double Range;
    double Span;  // pixels
    double Base;  // pixel of Minimum (X) or of the low end (Y, where rows grow downwards)
    int Centre;
  };
  static bool Offset(const TAxisMap& axis, double v, double& rounded);
  TAxisMap Horizontal;
  TAxisMap Vertical;
  TVector2 Origin;
};

// Lines 0 .. JSize - 1, rows 0 .. ISize - 1 with arcs where neighbours lie far apart, then the
// straight tail to row ISize. Does not draw the charge disc.
void DrawFieldLines(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize);
void DrawWavefronts(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize);
void DrawNodePoints(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize);
void DrawTrajectory(const TFieldView& view, const TPathGeneration& path);
// Blue disc with red outline in the box of +-5 logical pixels around (cx, cy).
void DrawChargeDisc(TCanvas& canvas, int cx, int cy);
