// SPDX-License-Identifier: GPL-3.0-or-later
// Model-to-pixel mappings of a plot surface, as they stood at its most recent redraw.
#pragma once

#include <cmath>

struct TPixelRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;   // one past the last column
  int Bottom = 0;  // one past the last row
};

struct TAxis {
  bool Automatic = true;
  double Minimum = 0.0;
  double Maximum = 0.0;
};

// The four mappings of a surface: BottomAxis spans PlotRect from Left to Right, LeftAxis from
// Bottom (Minimum) to Top (Maximum). A zero range, an offset of 2147483647 pixels or more, and a
// value that is not finite all map to the centre pixel. The rectangles and pixels are those of the
// picture drawn, device pixels on the screen; PixelRatio says how many of them make one logical
// pixel, the unit of every distance that means a length on the screen (the plot resolution, the
// marker and disc sizes, the mouse's thresholds).
class TPlotMapping {
 public:
  TPixelRect PlotRect;
  TPixelRect DrawArea;
  double PixelRatio = 1.0;
  TAxis Horizontal;
  TAxis Vertical;

  int ValueToPixelX(double x) const;
  int ValueToPixelY(double y) const;
  double PixelToValueX(int px) const;
  double PixelToValueY(int py) const;
  // A screen distance of `logical` pixels in the pixels of this mapping.
  int Scaled(int logical) const;
};
