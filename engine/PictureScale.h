// SPDX-License-Identifier: GPL-3.0-or-later
// What the picture's lengths and times stand for. The model works in plot units u (the default
// plot is 2 u wide) and ticks; the undulator and the bending magnet are set up in metres, so for
// them u = 1 m, and for the other paths the Scale unit window says what the plot's width is.
#pragma once

#include "engine/DisplaySettings.h"

struct TPictureScale {
  double MetresPerUnit = 1.0;  // m per plot unit
  bool Fixed = false;          // set by the path, not by the Scale unit window
};

// Metres of one unit of the Scale unit window's list.
double MetresOf(TLengthUnit unit);

// Undulator and bending magnet: 1 m per u, fixed. Others: the default plot (2 u) is
// Scale x Unit wide, so u = Scale x Unit / 2.
TPictureScale PictureScaleOf(int trajectoryMode, const TScaleUnit& unit);

// The wave moves at c and covers WaveVelocity = 2 / ISize u per tick, so a tick lasts
// Δt = (2 / ISize) u / c seconds (c = 299 792 458 m/s).
double SecondsPerTick(int iSize, const TPictureScale& scale);
