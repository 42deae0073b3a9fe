// SPDX-License-Identifier: GPL-3.0-or-later
// The printed page's layout.
#include "plot/PageFit.h"

#include <algorithm>
#include <cmath>

TPageFit FitChartOnPage(double pageWidth, double pageHeight, int chartWidth, int chartHeight) {
  const int w = std::max(chartWidth, 1);
  const int h = std::max(chartHeight, 1);
  const double pw = std::max(pageWidth, 1.0);
  const double ph = std::max(pageHeight, 1.0);
  const double scale = std::min(pw / w, ph / h);  // device pixels per chart pixel
  TPageFit fit;
  // The side that limits the scale comes out as the chart's own, up to the rounding, which must
  // not make the window narrower than the chart.
  fit.WindowWidth = std::max(w, static_cast<int>(std::lround(pw / scale)));
  fit.WindowHeight = std::max(h, static_cast<int>(std::lround(ph / scale)));
  const int left = (fit.WindowWidth - w) / 2;
  const int top = (fit.WindowHeight - h) / 2;
  fit.Chart = {left, top, left + w, top + h};
  return fit;
}
