// SPDX-License-Identifier: GPL-3.0-or-later
// The exact field of the charge drawn as arrows of one length on a square grid of pixels, each
// coloured by the field's strength, and the legend that explains them. The main plot, the zoom
// view and every picture output draw them through a canvas and a mapping.
#pragma once

#include "engine/PictureWords.h"
#include "render/FieldDrawing.h"

// Sizes in logical pixels; a canvas of pixelRatio device pixels per logical pixel scales them.
constexpr int FieldArrowSpacing = 40;    // between neighbouring grid points
constexpr int FieldArrowLength = 18;     // from tail to tip, whatever the field's strength
constexpr int FieldArrowHeadLength = 5;  // along each stroke of the head
constexpr int FieldArrowChargeGap = 3;   // no arrow at a grid point this close to the charge
// The colour scale spans |E| from 10^FieldArrowLowestDecade to 10^(FieldArrowLowestDecade + 4),
// |E| in Gaussian units for the charge e with lengths in model units (e / unit^2). Weaker and
// stronger fields take the colours of the ends.
constexpr int FieldArrowLowestDecade = -1;
constexpr int FieldArrowDecades = 4;

// The colours at the decade boundaries 0.1, 1, 10, 100 and 1000: from blue through green and
// yellow to red; between two boundaries linear in log10 |E|.
constexpr TColor FieldArrowScale[FieldArrowDecades + 1] = {
    ColorRGB(60, 100, 255), ColorRGB(0, 200, 80), ColorRGB(240, 220, 0), ColorRGB(255, 130, 0),
    ColorRGB(255, 30, 30)};

TColor FieldArrowColor(double magnitude);

// The grid points of an area: Columns x Rows points Spacing apart (FieldArrowSpacing scaled),
// the first at (Left, Top), the grid centred in the area.
struct TArrowGrid {
  int Left = 0;
  int Top = 0;
  int Columns = 0;
  int Rows = 0;
  int Spacing = FieldArrowSpacing;
};
TArrowGrid FieldArrowGridOf(const TPixelRect& area, double pixelRatio = 1.0);

// One arrow: the direction of the electron's field E = -(E_v + E_a) at the model point under the
// grid pixel, as a unit vector in pixels (y growing downwards), its strength |E| and the pixels
// of its tail and tip, which lie FieldArrowLength (scaled) apart with the grid pixel half-way.
struct TFieldArrow {
  double DirX = 0.0;
  double DirY = 0.0;
  double Magnitude = 0.0;
  int TailX = 0;
  int TailY = 0;
  int TipX = 0;
  int TipY = 0;
};

// The arrow at grid pixel (px, py) of the view; false where no arrow belongs: the field there is
// unknown (beyond the charge's recorded history), the pixel lies within FieldArrowChargeGap of
// the charge, or the view's mapping has no extent.
bool FieldArrowAt(const TFieldView& view, const TFieldSimulation& field, int ISize, int px, int py,
                  TFieldArrow& arrow, double pixelRatio = 1.0);

// Every arrow of the view's DrawArea, then the legend in its bottom-right corner, in words.
void DrawFieldArrows(const TFieldView& view, const TFieldSimulation& field, int ISize,
                     double pixelRatio = 1.0,
                     const TPictureWords& words = TPictureWords::English());
// The legend alone: what the arrows show (words' ArrowsTitle, ArrowsReversed and ArrowsStrength
// at PictureTextSize x pixelRatio) and the colour scale, in a box set in from the bottom-right
// corner of area, as large as its text needs; nothing where it does not fit.
void DrawFieldArrowLegend(TCanvas& canvas, const TPixelRect& area, double pixelRatio = 1.0,
                          const TPictureWords& words = TPictureWords::English());
// The legend's box within area, device pixels; empty where the legend is left out: where the box
// and its margins do not fit into the area's bottom-right quarter.
TPixelRect FieldArrowLegendBox(const TPixelRect& area, double pixelRatio = 1.0,
                               const TPictureWords& words = TPictureWords::English());
