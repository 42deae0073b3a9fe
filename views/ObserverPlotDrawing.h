// SPDX-License-Identifier: GPL-3.0-or-later
// What the observer's two plots share: their colours in each theme, the steps of their axes'
// labels, and the frame with its grid.
#pragma once

#include <QColor>
#include <QRectF>
#include <vector>

#include "engine/DisplaySettings.h"

class QFontMetricsF;
class QPainter;
class QPainterPath;
class QString;

struct TObserverColours {
  QColor Ground;
  QColor Text;
  QColor Grid;
  QColor Radiation;  // the radiation part of the trace, the spectrum's curve
  QColor Field;      // the whole field
  QColor Marker;     // the predicted lines
  QColor Gap;        // the spans of samples left out
  double LineWidth;  // logical pixels
};

// Ground, text and grid from the picture's palette (render/Palette), so that the window reads as
// the picture does; the curves in hues that stand out on that ground.
TObserverColours ObserverColoursOf(TTheme theme);

// The step 1, 2 or 5 × 10^k that puts at most maxCount steps into span (span > 0).
double NiceStep(double span, int maxCount);
// The multiples of step from low to high (both inclusive, with a hair's tolerance).
std::vector<double> StepsWithin(double low, double high, double step);

// The plot's ground, then the frame of area in the grid's colour.
void DrawPlotFrame(QPainter& painter, const QRectF& whole, const QRectF& area,
                   const TObserverColours& colours);

// The path in colour, about width logical pixels wide, drawn as hair-thin (cosmetic) strokes: the
// centre and, for a wider line, copies moved by up to half the width across and along. Qt strokes
// a hairline many times faster than a wide pen, whose outline it builds and fills at every
// vertex; the trace, redrawn every frame, would otherwise cost more than the picture.
void StrokeHairlines(QPainter& painter, const QPainterPath& path, const QColor& colour, double width);

// The left margin of a plot whose label rows are named at its left, before the first label
// (firstLabel, centred on the plot's left edge): least, or wider where a language's names are
// longer.
double LabelRowsMargin(const QFontMetricsF& metrics, const std::vector<QString>& names,
                       const QString& firstLabel, double least);
