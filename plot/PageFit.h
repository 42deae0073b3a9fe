// SPDX-License-Identifier: GPL-3.0-or-later
// Where the chart goes on a printed page: as large as the page allows at the chart's own
// proportions, centred.
#pragma once

#include "canvas/PlotMapping.h"

// The page in painter units of one chart pixel each, and the chart's place within them.
struct TPageFit {
  int WindowWidth = 1;
  int WindowHeight = 1;
  TPixelRect Chart;  // exactly chartWidth x chartHeight units
};

// The page, pageWidth x pageHeight device pixels, seen at the scale s = min(pageWidth / chartWidth,
// pageHeight / chartHeight) at which the chart is as large as fits: the chart spans the window's
// width or its height and is centred along the other side. A painter whose window is set to
// WindowWidth x WindowHeight draws the chart's pixels s device pixels large. Sizes below 1 count
// as 1.
TPageFit FitChartOnPage(double pageWidth, double pageHeight, int chartWidth, int chartHeight);
