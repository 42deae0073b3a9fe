// SPDX-License-Identifier: GPL-3.0-or-later
// Text in pictures, set with the one font built into the program, so that every output (screen,
// print, picture files, videos, the browser's canvas) shows the same pixels in either language.
// Sizes and places are device pixels: a front-end passes its logical size times the pixel ratio.
#pragma once

#include <optional>
#include <string_view>

#include "canvas/Canvas.h"

// The smallest text size a picture uses, logical pixels: readable on a projector.
constexpr double PictureTextSize = 13.0;

struct TTextExtent {
  int Width = 0;    // advance of the whole text, device pixels
  int Ascent = 0;   // above the baseline, device pixels (the font's, not the text's)
  int Descent = 0;  // below the baseline, device pixels, positive
};

// The extent of utf8 set at size device pixels per em. Characters the font lacks take the
// width of its missing-glyph box; text that is not valid UTF-8 counts as that box per bad byte.
TTextExtent MeasureText(std::string_view utf8, double size);

// A rim around every letter, Radius device pixels wide, in Colour: text over the field stays
// readable where it crosses lines, without a box that would hide them.
struct TTextHalo {
  TColor Colour = 0;
  int Radius = 0;
};

// utf8 set at size device pixels per em, its baseline starting at (x, baseline), in colour,
// blended by coverage onto the canvas (through TCanvas::BlendCoverage); with a halo, the rim
// first, then the letters over it.
void DrawText(TCanvas& canvas, int x, int baseline, std::string_view utf8, double size,
              TColor colour, const std::optional<TTextHalo>& halo = std::nullopt);

// Whether the font has a glyph for every character of utf8 (a test of the catalogues' texts).
bool FontCovers(std::string_view utf8);
