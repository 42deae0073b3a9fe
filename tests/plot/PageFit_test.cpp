// SPDX-License-Identifier: GPL-3.0-or-later
// The printed page's layout: the chart as large as the page allows at its own proportions, centred.
#include "plot/PageFit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct TFitRow {
  const char* What;
  double PageWidth, PageHeight;  // device pixels
  int ChartWidth, ChartHeight;
  int WindowWidth, WindowHeight;
  TPixelRect Chart;
};

TEST(FitChartOnPage, TheChartSpansOneSideAndIsCentredAlongTheOther) {
  const TFitRow rows[] = {
      // 3000 / 400 = 7.5 across, 2000 / 300 = 6.67 down: the height decides.
      {"4:3 on a 3:2 landscape page", 3000, 2000, 400, 300, 450, 300, {25, 0, 425, 300}},
      {"4:3 on a portrait page", 2000, 3000, 400, 300, 400, 600, {0, 150, 400, 450}},
      {"the page's own proportions", 4000, 3000, 400, 300, 400, 300, {0, 0, 400, 300}},
      // A4 landscape at 300 dpi, a wide plot: the width decides, 2480 / 3.508 = 707 units down.
      {"a wide plot on A4", 3508, 2480, 1000, 100, 1000, 707, {0, 303, 1000, 403}},
      {"a tall plot on A4", 3508, 2480, 100, 1000, 1415, 1000, {657, 0, 757, 1000}},
      // A page a fraction of a pixel narrower than the chart's proportions: the whole chart.
      {"a page a little too narrow", 999.6, 1000, 1000, 1000, 1000, 1000, {0, 0, 1000, 1000}},
      {"an odd remainder", 3001, 2000, 400, 300, 450, 300, {25, 0, 425, 300}},
      {"an empty surface counts as one pixel", 100, 50, 0, 0, 2, 1, {0, 0, 1, 1}},
  };
  for (const TFitRow& row : rows) {
    SCOPED_TRACE(row.What);
    const TPageFit fit =
        FitChartOnPage(row.PageWidth, row.PageHeight, row.ChartWidth, row.ChartHeight);
    EXPECT_EQ(fit.WindowWidth, row.WindowWidth);
    EXPECT_EQ(fit.WindowHeight, row.WindowHeight);
    EXPECT_EQ(fit.Chart.Left, row.Chart.Left);
    EXPECT_EQ(fit.Chart.Top, row.Chart.Top);
    EXPECT_EQ(fit.Chart.Right, row.Chart.Right);
    EXPECT_EQ(fit.Chart.Bottom, row.Chart.Bottom);
  }
}

// Over many pages and charts: whole, touching two opposite edges, centred, and drawn at its own
// proportions once the window is stretched over the page.
TEST(FitChartOnPage, KeepsTheProportionsOnAnyPage) {
  for (const double pageWidth : {595.0, 842.0, 2480.0, 3508.0, 9921.0}) {
    for (const double pageHeight : {420.0, 595.0, 2480.0, 3508.0}) {
      for (const int chartWidth : {150, 640, 1920}) {
        for (const int chartHeight : {120, 480, 1080}) {
          SCOPED_TRACE(testing::Message() << pageWidth << "x" << pageHeight << " page, "
                                          << chartWidth << "x" << chartHeight << " chart");
          const TPageFit fit = FitChartOnPage(pageWidth, pageHeight, chartWidth, chartHeight);
          const TPixelRect& c = fit.Chart;
          EXPECT_EQ(c.Right - c.Left, chartWidth);
          EXPECT_EQ(c.Bottom - c.Top, chartHeight);
          EXPECT_GE(c.Left, 0);
          EXPECT_GE(c.Top, 0);
          EXPECT_LE(c.Right, fit.WindowWidth);
          EXPECT_LE(c.Bottom, fit.WindowHeight);
          EXPECT_TRUE(c.Left == 0 || c.Top == 0) << "as large as fits";
          EXPECT_LE(std::abs(c.Left - (fit.WindowWidth - c.Right)), 1);
          EXPECT_LE(std::abs(c.Top - (fit.WindowHeight - c.Bottom)), 1);
          const double across = chartWidth * pageWidth / fit.WindowWidth;
          const double down = chartHeight * pageHeight / fit.WindowHeight;
          // Each side of the window is rounded to a whole unit: half a unit of each at most.
          const double aspect = static_cast<double>(chartWidth) / chartHeight;
          EXPECT_NEAR(across / down, aspect,
                      aspect * (1.0 / fit.WindowWidth + 1.0 / fit.WindowHeight));
        }
      }
    }
  }
}

}  // namespace
