// SPDX-License-Identifier: GPL-3.0-or-later
// Field arrows and their legend, drawn with the canvas's pen-and-brush calls and its text, so that
// every canvas (screen, print, SVG) gets the same picture.
#include "render/FieldArrows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "engine/RetardedField.h"
#include "render/TextDrawing.h"

namespace {

// The head's strokes leave the tip at this angle to the shaft (radians, 25 degrees).
constexpr double HeadAngle = 0.4363323129985824;

// To the nearest pixel, halves away from zero; inline, as the arrows round a few thousand values a
// frame, all of them small.
int RoundToPixel(double v) {
  return static_cast<int>(v >= 0.0 ? v + 0.5 : v - 0.5);
}

// Logical pixels in device pixels, at least one; a ratio that is not a positive number counts as 1.
double RatioOf(double pixelRatio) {
  return pixelRatio > 0.0 && std::isfinite(pixelRatio) ? pixelRatio : 1.0;
}
int Scaled(int logicalPixels, double pixelRatio) {
  return std::max(1, RoundToPixel(logicalPixels * RatioOf(pixelRatio)));
}

// Pixels per model unit along each axis of the view; false when an axis has no extent.
bool ScalesOf(const TPlotMapping& m, double& sx, double& sy) {
  sx = (static_cast<double>(m.PlotRect.Right) - m.PlotRect.Left) /
       (m.Horizontal.Maximum - m.Horizontal.Minimum);
  sy = (static_cast<double>(m.PlotRect.Bottom) - m.PlotRect.Top) /
       (m.Vertical.Maximum - m.Vertical.Minimum);
  return std::isfinite(sx) && std::isfinite(sy) && sx > 0.0 && sy > 0.0;
}

constexpr TColor LegendText = ColorRGB(220, 220, 220);
constexpr TColor LegendFrame = ColorRGB(128, 128, 128);
constexpr TColor LegendBackground = ColorRGB(0, 0, 0);
// Logical pixels, scaled by the legend's whole scale k.
constexpr int LegendMargin = 8;        // between the box and the area's edges
constexpr int LegendPadding = 6;       // between the box's frame and what it holds
constexpr int LegendDecadeWidth = 34;  // of the colour bar per decade
constexpr int LegendBarHeight = 7;
constexpr int LegendLineGap = 1;   // between two lines of text
constexpr int LegendBarGap = 4;    // between the text above the bar and the bar
constexpr int LegendLabelGap = 2;  // between the bar and its labels
constexpr std::string_view LegendLabels[FieldArrowDecades + 1] = {"0.1", "1", "10", "100", "1000"};

// Whole device pixels per logical one for the legend's frame and bar, so that the bar's columns
// stay one colour each; its text takes the ratio as it is.
int LegendScaleOf(double pixelRatio) {
  return std::max(1, RoundToPixel(RatioOf(pixelRatio)));
}

// Where the legend's parts lie, in device pixels from the box's top-left corner: measured from
// its words at the picture's text size, so that a longer translation widens the box.
struct TLegendLayout {
  int Scale = 1;
  double TextSize = PictureTextSize;
  int Width = 0;
  int Height = 0;
  int TextLeft = 0;
  int TitleBaseline = 0;
  int ReversedBaseline = 0;
  int BarLeft = 0;
  int BarTop = 0;
  int BarWidth = 0;
  int BarHeight = 0;
  int LabelBaseline = 0;
  int StrengthBaseline = 0;
};

TLegendLayout LegendLayoutOf(double pixelRatio, const TPictureWords& words) {
  TLegendLayout l;
  const int k = LegendScaleOf(pixelRatio);
  l.Scale = k;
  l.TextSize = PictureTextSize * RatioOf(pixelRatio);
  const TTextExtent title = MeasureText(words[TPictureWord::ArrowsTitle], l.TextSize);
  const TTextExtent reversed = MeasureText(words[TPictureWord::ArrowsReversed], l.TextSize);
  const TTextExtent strength = MeasureText(words[TPictureWord::ArrowsStrength], l.TextSize);
  const TTextExtent first = MeasureText(LegendLabels[0], l.TextSize);
  const TTextExtent last = MeasureText(LegendLabels[FieldArrowDecades], l.TextSize);
  const int ascent = title.Ascent;
  const int descent = title.Descent;
  const int pad = LegendPadding * k;

  l.TextLeft = pad;
  l.TitleBaseline = pad + ascent;
  l.ReversedBaseline = l.TitleBaseline + descent + LegendLineGap * k + ascent;
  // The labels are centred under the bar's decade boundaries: the first and the last reach
  // half their width beyond its ends.
  l.BarLeft = pad + (first.Width + 1) / 2;
  l.BarWidth = FieldArrowDecades * LegendDecadeWidth * k;
  l.BarTop = l.ReversedBaseline + descent + LegendBarGap * k;
  l.BarHeight = LegendBarHeight * k;
  l.LabelBaseline = l.BarTop + l.BarHeight + LegendLabelGap * k + ascent;
  l.StrengthBaseline = l.LabelBaseline + descent + LegendLineGap * k + ascent;
  l.Height = l.StrengthBaseline + descent + pad;
  l.Width = std::max({pad + title.Width, pad + reversed.Width, pad + strength.Width,
                      l.BarLeft + l.BarWidth + (last.Width + 1) / 2}) +
            pad;
  return l;
}

// The colour of column i of the legend's bar, barWidth columns wide: that of the strength at the
// column's middle.
TColor BarColour(int i, int barWidth) {
  const double decades =
      FieldArrowLowestDecade + static_cast<double>(FieldArrowDecades) * (i + 0.5) / barWidth;
  return FieldArrowColor(std::pow(10.0, decades));
}

// The bar's colours at legend scale K, worked out the first time that scale is drawn rather than
// with a power and a logarithm for each of its 136 K columns every frame.
template <int K>
const TColor* CachedBarColours() {
  constexpr int Width = FieldArrowDecades * LegendDecadeWidth * K;
  static const std::array<TColor, Width> colours = [] {
    std::array<TColor, Width> c{};
    for (int i = 0; i < Width; ++i) c[static_cast<std::size_t>(i)] = BarColour(i, Width);
    return c;
  }();
  return colours.data();
}

// The bar's colours at legend scale k, for the scales of screens and pictures; null beyond them.
const TColor* BarColoursAt(int k) {
  switch (k) {
    case 1:
      return CachedBarColours<1>();
    case 2:
      return CachedBarColours<2>();
    case 3:
      return CachedBarColours<3>();
    case 4:
      return CachedBarColours<4>();
    default:
      return nullptr;
  }
}

// The legend's box in the bottom-right corner of area; empty where it and its margins do not fit
// into the area's bottom-right quarter. The magnified view keeps the charge in its middle, and a
// legend reaching there would hide what the view is for.
TPixelRect LegendBoxOf(const TPixelRect& area, const TLegendLayout& layout) {
  const long long margin = static_cast<long long>(LegendMargin) * layout.Scale;
  const long long width = static_cast<long long>(area.Right) - area.Left;
  const long long height = static_cast<long long>(area.Bottom) - area.Top;
  if (layout.Width <= 0 || width < 2LL * (layout.Width + 2 * margin) ||
      height < 2LL * (layout.Height + 2 * margin)) {
    return {};
  }
  const int right = area.Right - static_cast<int>(margin);
  const int bottom = area.Bottom - static_cast<int>(margin);
  return {right - layout.Width, bottom - layout.Height, right, bottom};
}

}  // namespace

TArrowGrid FieldArrowGridOf(const TPixelRect& area, double pixelRatio) {
  const long long width = static_cast<long long>(area.Right) - area.Left;
  const long long height = static_cast<long long>(area.Bottom) - area.Top;
  TArrowGrid grid;
  grid.Spacing = Scaled(FieldArrowSpacing, pixelRatio);
  if (width < 1 || height < 1) return grid;
  // One point per full spacing, and the margin left over split evenly on both sides.
  const long long spacing = grid.Spacing;
  const long long columns = std::max(1LL, width / spacing);
  const long long rows = std::max(1LL, height / spacing);
  grid.Columns = static_cast<int>(columns);
  grid.Rows = static_cast<int>(rows);
  grid.Left = static_cast<int>(area.Left + (width - (columns - 1) * spacing) / 2);
  grid.Top = static_cast<int>(area.Top + (height - (rows - 1) * spacing) / 2);
  return grid;
}

namespace {

// What every arrow of one drawing shares: the view's scales and the arrow's sizes.
struct TArrowFrame {
  bool Usable = false;
  double Sx = 0.0;  // pixels per model unit
  double Sy = 0.0;
  double Gap = 0.0;         // pixels
  double HalfLength = 0.0;  // pixels
};

TArrowFrame ArrowFrameOf(const TFieldView& view, int ISize, double pixelRatio) {
  TArrowFrame frame;
  if (ISize < 1 || !ScalesOf(view.Mapping, frame.Sx, frame.Sy)) return frame;
  frame.Gap = FieldArrowChargeGap * RatioOf(pixelRatio);
  frame.HalfLength = 0.5 * FieldArrowLength * RatioOf(pixelRatio);
  frame.Usable = true;
  return frame;
}

// Whether the model point lies within the gap around the charge, where no arrow is drawn; the
// distance in pixels, in doubles: the charge may lie far off the view.
bool InChargeGap(const TArrowFrame& frame, const TFieldSimulation& field, TVector2 point) {
  const double gapX = (field.ChargePos.X - point.X) * frame.Sx;
  const double gapY = (field.ChargePos.Y - point.Y) * frame.Sy;
  return gapX * gapX + gapY * gapY <= frame.Gap * frame.Gap;
}

// The arrow at grid pixel (px, py) for the field there, velocityPart + accelerationPart.
bool ArrowOf(const TArrowFrame& frame, int px, int py, TVector2 velocityPart,
             TVector2 accelerationPart, TFieldArrow& arrow) {
  const double ex = velocityPart.X + accelerationPart.X;
  const double ey = velocityPart.Y + accelerationPart.Y;
  const double magnitude = std::sqrt(ex * ex + ey * ey);
  if (!(magnitude > 0.0) || !std::isfinite(magnitude)) return false;

  // The electron's field is that of the positive unit charge reversed; pixel rows grow
  // downwards.
  const double dx = -ex * frame.Sx;
  const double dy = ey * frame.Sy;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 0.0) || !std::isfinite(length)) return false;
  arrow.DirX = dx * (1.0 / length);
  arrow.DirY = dy * (1.0 / length);
  arrow.Magnitude = magnitude;
  const int halfX = RoundToPixel(frame.HalfLength * arrow.DirX);
  const int halfY = RoundToPixel(frame.HalfLength * arrow.DirY);
  arrow.TailX = px - halfX;
  arrow.TailY = py - halfY;
  arrow.TipX = px + halfX;
  arrow.TipY = py + halfY;
  return true;
}

// An arrow as the canvas draws it: shaft, the two strokes of its head, pen colour.
struct TArrowStrokes {
  int TailX = 0;
  int TailY = 0;
  int TipX = 0;
  int TipY = 0;
  int HeadX[2] = {0, 0};
  int HeadY[2] = {0, 0};
  TColor Color = 0;
};

// The head's strokes run back from the tip, the shaft's direction turned by +-HeadAngle: c and s
// are the head's length times the angle's cosine and sine.
TArrowStrokes StrokesOf(const TFieldArrow& arrow, double c, double s) {
  TArrowStrokes strokes;
  strokes.TailX = arrow.TailX;
  strokes.TailY = arrow.TailY;
  strokes.TipX = arrow.TipX;
  strokes.TipY = arrow.TipY;
  for (int k = 0; k < 2; ++k) {
    const double side = k == 0 ? 1.0 : -1.0;
    const double bx = -(arrow.DirX * c - side * arrow.DirY * s);
    const double by = -(arrow.DirY * c + side * arrow.DirX * s);
    strokes.HeadX[k] = arrow.TipX + RoundToPixel(bx);
    strokes.HeadY[k] = arrow.TipY + RoundToPixel(by);
  }
  return strokes;
}

void DrawStrokes(TCanvas& canvas, const TArrowStrokes& strokes) {
  canvas.Pen.Color = strokes.Color;
  canvas.MoveTo(strokes.TailX, strokes.TailY);
  canvas.LineTo(strokes.TipX, strokes.TipY);
  for (int k = 0; k < 2; ++k) {
    canvas.MoveTo(strokes.TipX, strokes.TipY);
    canvas.LineTo(strokes.HeadX[k], strokes.HeadY[k]);
  }
}

TVector2 ModelPointOf(const TFieldView& view, int px, int py) {
  return {view.Mapping.PixelToValueX(px) + view.Origin.X,
          view.Mapping.PixelToValueY(py) + view.Origin.Y};
}

}  // namespace

bool FieldArrowAt(const TFieldView& view, const TFieldSimulation& field, int ISize, int px, int py,
                  TFieldArrow& arrow, double pixelRatio) {
  const TArrowFrame frame = ArrowFrameOf(view, ISize, pixelRatio);
  if (!frame.Usable) return false;
  const TVector2 point = ModelPointOf(view, px, py);
  TVector2 velocityPart;
  TVector2 accelerationPart;
  return !InChargeGap(frame, field, point) &&
         RetardedField(field, ISize, point, velocityPart, accelerationPart) &&
         ArrowOf(frame, px, py, velocityPart, accelerationPart, arrow);
}

void DrawFieldArrows(const TFieldView& view, const TFieldSimulation& field, int ISize,
                     double pixelRatio, const TPictureWords& words) {
  const TArrowFrame frame = ArrowFrameOf(view, ISize, pixelRatio);
  const TArrowGrid grid = FieldArrowGridOf(view.Mapping.DrawArea, pixelRatio);
  if (frame.Usable) {
    const double headLength = FieldArrowHeadLength * RatioOf(pixelRatio);
    const double headCos = std::cos(HeadAngle) * headLength;
    const double headSin = std::sin(HeadAngle) * headLength;
    // An arrow wholly under the legend would only be covered by it.
    const TPixelRect legend =
        LegendBoxOf(view.Mapping.DrawArea, LegendLayoutOf(pixelRatio, words));
    const int reach = static_cast<int>(std::ceil(frame.HalfLength)) + 1;
    const auto underLegend = [&](int px, int py) {
      return px - reach >= legend.Left && px + reach < legend.Right && py - reach >= legend.Top &&
             py + reach < legend.Bottom;
    };
    // The arrows of a row go in batches of Batch, each stage for the whole batch before the next:
    // the fields, the arrows, their colours. An arrow's roots and divisions wait on each other;
    // the arrows of a batch do not, and stage by stage the processor works on several at once.
    // A batch is drawn while the next one's fields are worked out: its pixels are seldom in the
    // cache, and the stores go on while the arithmetic does.
    constexpr int Batch = 16;
    struct TPending {
      int Px = 0;
      TVector2 VelocityPart;
      TVector2 AccelerationPart;
    };
    TPending pending[Batch];
    double magnitudes[Batch];
    TArrowStrokes strokes[2][Batch];
    int strokeCounts[2] = {0, 0};
    int ready = 0;  // the half of strokes whose arrows wait to be drawn
    const TRetardedFieldSampler sampler(field, ISize);
    // Neighbours have nearly the same emission time: each search starts from the one before it,
    // the first of a row from the first of the row above.
    TRetardedSearch rowStart;
    for (int row = 0; row < grid.Rows; ++row) {
      const int py = grid.Top + row * grid.Spacing;
      TRetardedSearch search = rowStart;
      const double y = view.Mapping.PixelToValueY(py) + view.Origin.Y;
      for (int column = 0; column < grid.Columns;) {
        const TArrowStrokes* const waiting = strokes[ready];
        const int waitingCount = strokeCounts[ready];
        int drawn = 0;
        int count = 0;
        for (; column < grid.Columns && count < Batch; ++column) {
          const int px = grid.Left + column * grid.Spacing;
          const TVector2 point{view.Mapping.PixelToValueX(px) + view.Origin.X, y};
          TPending& p = pending[count];
          if (!underLegend(px, py) && !InChargeGap(frame, field, point) &&
              sampler.Field(point, p.VelocityPart, p.AccelerationPart, search)) {
            p.Px = px;
            ++count;
          }
          if (column == 0) rowStart = search;
          if (drawn < waitingCount) DrawStrokes(view.Canvas, waiting[drawn++]);
        }
        for (; drawn < waitingCount; ++drawn) DrawStrokes(view.Canvas, waiting[drawn]);
        ready ^= 1;
        TArrowStrokes* const filling = strokes[ready];
        int arrows = 0;
        for (int k = 0; k < count; ++k) {
          TFieldArrow arrow;
          if (ArrowOf(frame, pending[k].Px, py, pending[k].VelocityPart,
                      pending[k].AccelerationPart, arrow)) {
            filling[arrows] = StrokesOf(arrow, headCos, headSin);
            magnitudes[arrows++] = arrow.Magnitude;
          }
        }
        for (int k = 0; k < arrows; ++k) filling[k].Color = FieldArrowColor(magnitudes[k]);
        strokeCounts[ready] = arrows;
      }
    }
    for (int k = 0; k < strokeCounts[ready]; ++k) DrawStrokes(view.Canvas, strokes[ready][k]);
  }
  DrawFieldArrowLegend(view.Canvas, view.Mapping.DrawArea, pixelRatio, words);
}

TPixelRect FieldArrowLegendBox(const TPixelRect& area, double pixelRatio,
                               const TPictureWords& words) {
  return LegendBoxOf(area, LegendLayoutOf(pixelRatio, words));
}

void DrawFieldArrowLegend(TCanvas& canvas, const TPixelRect& area, double pixelRatio,
                          const TPictureWords& words) {
  const TLegendLayout layout = LegendLayoutOf(pixelRatio, words);
  const TPixelRect box = LegendBoxOf(area, layout);
  if (box.Right <= box.Left) return;
  const int left = box.Left;
  const int top = box.Top;
  canvas.Pen.Color = LegendFrame;
  canvas.Pen.Width = 1.0;
  canvas.Brush.Color = LegendBackground;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Rectangle(left, top, box.Right, box.Bottom);

  const double size = layout.TextSize;
  const int x = left + layout.TextLeft;
  DrawText(canvas, x, top + layout.TitleBaseline, words[TPictureWord::ArrowsTitle], size,
           LegendText);
  DrawText(canvas, x, top + layout.ReversedBaseline, words[TPictureWord::ArrowsReversed], size,
           LegendText);

  // The bar: one column per device pixel, coloured for the strength at its middle.
  const int barLeft = left + layout.BarLeft;
  const int barTop = top + layout.BarTop;
  const int barWidth = layout.BarWidth;
  const TColor* const colours = BarColoursAt(layout.Scale);
  for (int i = 0; i < barWidth; ++i) {
    canvas.Pen.Color = colours ? colours[i] : BarColour(i, barWidth);
    canvas.MoveTo(barLeft + i, barTop);
    canvas.LineTo(barLeft + i, barTop + layout.BarHeight);
  }
  // The strengths at the decade boundaries, each centred under its boundary.
  for (int d = 0; d <= FieldArrowDecades; ++d) {
    const std::string_view label = LegendLabels[d];
    const int width = MeasureText(label, size).Width;
    DrawText(canvas, barLeft + d * LegendDecadeWidth * layout.Scale - width / 2,
             top + layout.LabelBaseline, label, size, LegendText);
  }
  DrawText(canvas, x, top + layout.StrengthBaseline, words[TPictureWord::ArrowsStrength], size,
           LegendText);
  canvas.Reset();
}
