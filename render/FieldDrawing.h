// The field picture drawn from the node table: field lines with arc subdivision, wavefronts,
// node points, the trajectory and the charge disc. The main plot and the zoom view share it; the
// zoom view passes the charge position as Origin, so every point is taken relative to it.
#pragma once

#include <climits>
#include <cmath>

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

// t = (v - Minimum) x span / range rounded half to even; false where the surface takes the centre
// pixel (a zero range, an offset of 2147483647 pixels or more, or one that is not a number).
inline bool TFieldPixels::Offset(const TAxisMap& axis, double v, double& rounded) {
  if (axis.Range == 0.0) return false;
  const double t = (v - axis.Minimum) * axis.Span / axis.Range;
  if (!(std::fabs(t) < 2147483647.0)) return false;
  // Adding and taking away 2^52 leaves t rounded to an integer by the FPU's round-half-to-even,
  // as nearbyint does, without a library call.
  constexpr double Shift = 4503599627370496.0;
  rounded = t >= 0.0 ? (t + Shift) - Shift : (t - Shift) + Shift;
  return true;
}

inline int TFieldPixels::X(double x) const {
  double t = 0.0;
  if (!Offset(Horizontal, x - Origin.X, t)) return Horizontal.Centre;
  const double pixel = Horizontal.Base + t;
  if (pixel < static_cast<double>(INT_MIN) || pixel > static_cast<double>(INT_MAX)) {
    return Horizontal.Centre;
  }
  return static_cast<int>(pixel);
}

inline int TFieldPixels::Y(double y) const {
  double t = 0.0;
  if (!Offset(Vertical, y - Origin.Y, t)) return Vertical.Centre;
  const double pixel = Vertical.Base - t;
  if (pixel < static_cast<double>(INT_MIN) || pixel > static_cast<double>(INT_MAX)) {
    return Vertical.Centre;
  }
  return static_cast<int>(pixel);
}

// Lines 0 .. JSize - 1, rows 0 .. ISize - 1 with arcs where neighbours lie far apart, then the
// straight tail to row ISize. Does not draw the charge disc.
void DrawFieldLines(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize);
void DrawWavefronts(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize);
void DrawNodePoints(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize);
void DrawTrajectory(const TFieldView& view, const TPathGeneration& path);
// Blue disc with red outline in the box of +-5 logical pixels around (cx, cy).
void DrawChargeDisc(TCanvas& canvas, int cx, int cy);
