// SPDX-License-Identifier: GPL-3.0-or-later
// The field picture drawn from the node table: field lines with arc subdivision, wavefronts,
// node points, the trajectory and the charge disc. The main plot and the zoom view share it; the
// zoom view passes the charge position as Origin, so every point is taken relative to it.
#pragma once

#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>

#include "engine/FieldCal.h"
#include "engine/PathGen.h"
#include "canvas/Canvas.h"
#include "canvas/PlotMapping.h"
#include "engine/DisplaySettings.h"

// The dark theme's colours (render/Palette.h holds every theme's).
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
  // For canvases that take finer points: the model point (the charge) whose pixel the picture
  // keeps at the pixel's centre, every other point placed exactly relative to it. Lines through
  // the charge then meet at the disc's centre, and a line along a row or column through it stays
  // one pixel wide instead of falling between two. None: every point where it falls.
  std::optional<TVector2> Anchor = std::nullopt;
  TTheme Theme = TTheme::Dark;  // the colours and line width (render/Palette.h)
};

// The model-to-pixel mapping of a view (its Origin subtracted) with the surface's arithmetic
// inlined: the same expression, the same rounding half to even and the same centre pixel, so each
// pixel equals that of TPlotMapping. The drawing maps tens of thousands of points per frame.
class TFieldPixels {
 public:
  explicit TFieldPixels(const TFieldView& view);
  int X(double x) const;
  int Y(double y) const;
  // {X(x), Y(y)} with both axes worked side by side in one vector and no branch: the drawing
  // maps every node of the table in each frame.
  TCanvasPoint Map(double x, double y) const;
  // The pixel of Map and the point's place in it, to a sixteenth of a pixel: for the outputs
  // that draw between points as placed.
  TFinePoint MapFine(double x, double y) const;

 private:
  using TPair = double __attribute__((vector_size(16)));
  using TMask = long long __attribute__((vector_size(16)));
  struct TAxisMap {
    double Minimum;
    double Range;
    double Span;  // pixels
    double Base;  // pixel of Minimum (X) or of the low end (Y, where rows grow downwards)
    int Centre;
  };
  static bool Offset(const TAxisMap& axis, double v, double& rounded);
  // Both axes' offsets t, rounded half to even, the pixels, and whether each is usable (else the
  // axis takes its centre pixel).
  struct TRounding {
    TPair T, Rounded, Pixel;
    TMask Usable;
  };
  TRounding Round(double x, double y) const;
  // Adding and taking away 2^52 leaves a number below it rounded to an integer by the FPU's
  // round-half-to-even, as nearbyint does, without a library call.
  static constexpr double RoundingShift = 4503599627370496.0;
  TAxisMap Horizontal;
  TAxisMap Vertical;
  TVector2 Origin;
  // The two axes' figures as pairs (x, y) for Map; Direction is +1 across, -1 down the rows.
  // With a zero range Map takes the one-axis path, which never divides by it.
  TPair OriginPair, MinimumPair, SpanPair, RangePair, BasePair, DirectionPair;
  // Sixteenths taken from every fine point's place in its pixel: the anchor's own place.
  TPair AnchorPart = TPair{0.0, 0.0};
  bool ZeroRange = false;
};

// t = (v - Minimum) x span / range rounded half to even; false where the surface takes the centre
// pixel (a zero range, an offset of 2147483647 pixels or more, or one that is not a number).
inline bool TFieldPixels::Offset(const TAxisMap& axis, double v, double& rounded) {
  if (axis.Range == 0.0) return false;
  const double t = (v - axis.Minimum) * axis.Span / axis.Range;
  if (!(std::fabs(t) < 2147483647.0)) return false;
  constexpr double Shift = RoundingShift;
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

[[gnu::always_inline]] inline TFieldPixels::TRounding TFieldPixels::Round(double x,
                                                                           double y) const {
  const TPair t = (TPair{x, y} - OriginPair - MinimumPair) * SpanPair / RangePair;
  // Round half to even as Offset does; -0.0 takes the negative shift, which also gives 0.
  constexpr double Shift = RoundingShift;
  constexpr long long SignBit = static_cast<long long>(0x8000000000000000ull);
  const TMask tBits = __builtin_bit_cast(TMask, t);
  const TPair shift = __builtin_bit_cast(TPair, __builtin_bit_cast(TMask, TPair{Shift, Shift}) |
                                                    (tBits & SignBit));
  const TPair rounded = (t + shift) - shift;
  const TPair pixel = BasePair + rounded * DirectionPair;
  const TPair magnitude = __builtin_bit_cast(TPair, tBits & ~SignBit);
  // Not a number fails every comparison and so takes the centre pixel too.
  const TMask usable = (magnitude < 2147483647.0) & (pixel >= static_cast<double>(INT_MIN)) &
                       (pixel <= static_cast<double>(INT_MAX));
  return {t, rounded, pixel, usable};
}

[[gnu::always_inline]] inline TCanvasPoint TFieldPixels::Map(double x, double y) const {
  if (ZeroRange) return {X(x), Y(y)};
  const TRounding r = Round(x, y);
  return {r.Usable[0] != 0 ? static_cast<int>(r.Pixel[0]) : Horizontal.Centre,
          r.Usable[1] != 0 ? static_cast<int>(r.Pixel[1]) : Vertical.Centre};
}

[[gnu::always_inline]] inline TFinePoint TFieldPixels::MapFine(double x, double y) const {
  if (ZeroRange) return {X(x), Y(y), 0, 0};
  const TRounding r = Round(x, y);
  if (r.Usable[0] == 0 || r.Usable[1] == 0) {
    return {r.Usable[0] != 0 ? static_cast<int>(r.Pixel[0]) : Horizontal.Centre,
            r.Usable[1] != 0 ? static_cast<int>(r.Pixel[1]) : Vertical.Centre, 0, 0};
  }
  // What rounding took away, -1/2 .. 1/2 of a pixel along the pixels' own direction, in
  // sixteenths, less the anchor's, and itself rounded: exact for any offset below 2^52.
  constexpr double Shift = RoundingShift;
  const TPair part =
      (r.T - r.Rounded) * DirectionPair * static_cast<double>(FineSteps) - AnchorPart;
  const TPair parts = (part + TPair{Shift, Shift}) - TPair{Shift, Shift};
  return {static_cast<int>(r.Pixel[0]), static_cast<int>(r.Pixel[1]),
          static_cast<std::int8_t>(parts[0]), static_cast<std::int8_t>(parts[1])};
}

// Lines 0 .. JSize - 1, rows 0 .. ISize - 1 with arcs where neighbours lie far apart, then the
// straight tail to row ISize. Does not draw the charge disc.
void DrawFieldLines(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize);
void DrawWavefronts(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize);
void DrawNodePoints(const TFieldView& view, const TFieldSimulation& field, int ISize, int JSize);
// The samples the animation uses, joined; a closed path also joins its last one to sample 0, the
// step the charge takes there.
void DrawTrajectory(const TFieldView& view, const TPathGeneration& path, bool closed);
// Blue disc with red outline in the box of +-5 logical pixels around (cx, cy).
void DrawChargeDisc(TCanvas& canvas, int cx, int cy);
