// SPDX-License-Identifier: GPL-3.0-or-later
// What the picture says of itself: a caption in the top-left corner (the path, β, γ, the tick and
// the time in seconds), a key to the colours of the layers drawn, and a scale bar in the
// bottom-left corner. Drawn by the core into every output, in the session's language.
#pragma once

#include <string>
#include <vector>

#include "canvas/Canvas.h"
#include "canvas/PlotMapping.h"
#include "engine/DisplaySettings.h"
#include "engine/PictureScale.h"
#include "engine/PictureWords.h"
#include "engine/SimulationState.h"

struct TCaptionFacts {
  int TrajectoryMode = tmMouse;
  double Beta = 0.0;   // |v| / c of this tick
  double Gamma = 1.0;  // 1 / √(1 − β²)
  int Tick = 0;        // ticks since the last reset
  double Seconds = 0.0;
};

TCaptionFacts CaptionFactsOf(const TSimulationState& state, const TDisplaySettings& display);

// The caption's lines: the path's name; "β = 0.900   γ = 2.29"; "tick 12   time 20.0 ns".
std::vector<std::string> CaptionLines(const TCaptionFacts& facts, const TPictureWords& words);

// Three significant digits with the SI prefix that keeps the figure from 1 to 999: "41.0 ns".
std::string TimeText(double seconds);
// A length the scale bar names: "50 m", "2 km", "500 µm".
std::string LengthText(double metres);

// The scale bar: the longest length 1, 2 or 5 × 10^k m whose bar is at most maxPixels long on
// the mapping, and its length in the mapping's pixels. None (Pixels 0) where the mapping has no
// extent.
struct TScaleBar {
  double Metres = 0.0;
  int Pixels = 0;
  std::string Label;
};
TScaleBar ScaleBarOf(const TPlotMapping& mapping, const TPictureScale& scale, int maxPixels);

// The caption, the key and the scale bar inside mapping.DrawArea at pixelRatio device pixels per
// logical pixel, in the display's theme. Nothing where the display hides the caption.
void DrawCaption(TCanvas& canvas, const TPlotMapping& mapping, const TSimulationState& state,
                 const TDisplaySettings& display, const TPictureWords& words, double pixelRatio);
