// SPDX-License-Identifier: GPL-3.0-or-later
// The colours of every picture in each theme. Dark is light lines on black, for a monitor; the
// projector theme is dark lines on a light ground, thicker, since a projector in a lit room washes
// out thin light lines on black. The charge keeps its red-and-blue disc in both.
#pragma once

#include "canvas/Canvas.h"
#include "engine/DisplaySettings.h"

struct TPalette {
  TColor Ground;
  TColor FieldLine;
  TColor WaveFront;
  TColor NodePoint;
  TColor Trajectory;
  TColor Text;       // the caption's and the scale bar's
  TColor PanelFill;  // behind the caption, the key and the legend, so they stay readable
  TColor PanelEdge;
  double LineWidth;  // logical pixels of field lines, wavefronts and the path
};

const TPalette& PaletteOf(TTheme theme);
