// SPDX-License-Identifier: GPL-3.0-or-later
// Model-to-pixel mappings: a value's offset t = (v - Minimum) * span / range pixels from the low
// edge, rounded half to even; the centre pixel wherever the offset has no usable pixel.
#include "canvas/PlotMapping.h"

#include <climits>
#include <cmath>

#include "canvas/Canvas.h"

namespace {

// (a + b) div 2, truncating toward zero, without overflowing int.
int CentrePixel(int a, int b) {
  return static_cast<int>((static_cast<long long>(a) + static_cast<long long>(b)) / 2);
}

// Offset of v in pixels from the axis's low edge, rounded half to even (nearbyint in the default
// rounding mode); false where it has no pixel: a zero range, an offset of 2147483647 pixels or
// more, or one that is not a number at all (a NaN or infinite value or range must never reach a
// float-to-int conversion).
bool RoundedOffset(const TAxis& axis, int low, int high, double v, double& rounded) {
  const double range = axis.Maximum - axis.Minimum;
  if (range == 0.0) return false;
  const double t =
      (v - axis.Minimum) * (static_cast<double>(high) - static_cast<double>(low)) / range;
  if (!std::isfinite(t) || std::fabs(t) >= 2147483647.0) return false;
  rounded = std::nearbyint(t);
  return true;
}

// A pixel that does not fit an int (an offset just under 2^31 added to an edge) gets the centre as
// well, rather than overflowing.
bool FitsInt(double pixel) {
  return pixel >= static_cast<double>(INT_MIN) && pixel <= static_cast<double>(INT_MAX);
}

}  // namespace

int TPlotMapping::ValueToPixelX(double x) const {
  double t = 0.0;
  if (RoundedOffset(Horizontal, PlotRect.Left, PlotRect.Right, x, t)) {
    const double pixel = static_cast<double>(PlotRect.Left) + t;
    if (FitsInt(pixel)) return static_cast<int>(pixel);
  }
  return CentrePixel(PlotRect.Left, PlotRect.Right);
}

int TPlotMapping::ValueToPixelY(double y) const {
  double t = 0.0;
  if (RoundedOffset(Vertical, PlotRect.Top, PlotRect.Bottom, y, t)) {
    const double pixel = static_cast<double>(PlotRect.Bottom) - t;
    if (FitsInt(pixel)) return static_cast<int>(pixel);
  }
  return CentrePixel(PlotRect.Top, PlotRect.Bottom);
}

double TPlotMapping::PixelToValueX(int px) const {
  const double span = static_cast<double>(PlotRect.Right) - static_cast<double>(PlotRect.Left);
  if (span < 1.0) return 0.0;
  const double range = Horizontal.Maximum - Horizontal.Minimum;
  return Horizontal.Minimum + (static_cast<double>(px) - PlotRect.Left) * range / span;
}

double TPlotMapping::PixelToValueY(int py) const {
  const double span = static_cast<double>(PlotRect.Bottom) - static_cast<double>(PlotRect.Top);
  if (span < 1.0) return 0.0;
  const double range = Vertical.Maximum - Vertical.Minimum;
  return Vertical.Maximum - (static_cast<double>(py) - PlotRect.Top) * range / span;
}

int TPlotMapping::Scaled(int logical) const {
  return ScaledPixels(logical, PixelRatio);
}
