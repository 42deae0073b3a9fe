// SPDX-License-Identifier: GPL-3.0-or-later
// The frame around a plot surface's picture, drawn on any canvas: the windows draw it around
// their plots, and pictures drawn without a window draw it to look as the window does.
#pragma once

#include "canvas/Canvas.h"
#include "canvas/PlotMapping.h"

enum class TSurfaceKind { Main, Zoom, Pattern };

// The pixels x1 .. x2-1, y1 .. y2-1 in one colour (pen and brush both set to it).
void FillBox(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor color);

// The frame a surface of kind draws just inside area, line pixels to each ring: a grey border and
// a sunken bevel (the pattern window: the bevel alone). Pictures drawn without a surface use it to
// look as the window does.
void DrawSurfaceFrame(TCanvas& canvas, TSurfaceKind kind, const TPixelRect& area, int line);
