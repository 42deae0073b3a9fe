// SPDX-License-Identifier: GPL-3.0-or-later
// Colours as smooth lines leave them: a line that crosses a pixel only in part lays its colour over
// the black ground at that share, so a test looks for a shade of the colour, not the colour alone.
#pragma once

#include <QImage>
#include <QRgb>
#include <algorithm>
#include <cstdlib>

#include "canvas/Canvas.h"

// A one-pixel line leaves at least half its colour in one of the two pixels it crosses at each
// step; 8-bit channels round that half down by up to one part in 255 per blend.
constexpr double HalfShade = 0.45;

// Whether pixel is colour laid over black at a share of at least `least` (0 .. 1): every channel
// the same share of the colour's, to within the rounding of 8-bit channels.
inline bool IsShadeOf(QRgb pixel, TColor colour, double least = HalfShade) {
  const int want[3] = {static_cast<int>(ColorRed(colour)), static_cast<int>(ColorGreen(colour)),
                       static_cast<int>(ColorBlue(colour))};
  const int got[3] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
  const int strongest = static_cast<int>(std::max_element(want, want + 3) - want);
  if (want[strongest] == 0) return got[0] == 0 && got[1] == 0 && got[2] == 0;
  const double share = static_cast<double>(got[strongest]) / want[strongest];
  if (share < least || share > 1.0) return false;
  for (int c = 0; c < 3; ++c) {
    if (std::abs(got[c] - share * want[c]) > 2.0) return false;
  }
  return true;
}

// How many pixels of image are shades of colour at `least` or more.
inline int CountShadesOf(const QImage& image, TColor colour, double least = HalfShade) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += IsShadeOf(image.pixel(x, y), colour, least);
  return count;
}
