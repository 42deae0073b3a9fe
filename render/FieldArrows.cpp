// SPDX-License-Identifier: GPL-3.0-or-later
// Field arrows and their legend, drawn with the canvas's pen-and-brush calls only, so that every
// canvas (screen, print, SVG) gets the same picture; the legend's letters come from a small
// bitmap font of our own for the same reason.
#include "render/FieldArrows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "engine/RetardedField.h"

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

// ---- The legend's letters: 5 x 7 cells, one byte per row, bit 4 the leftmost column ----

struct TGlyph {
  char Character;
  std::array<std::uint8_t, 7> Rows;
};

// clang-format off
constexpr TGlyph Glyphs[] = {
  {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
  {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
  {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
  {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
  {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
  {'|', {0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
  {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}},
  {'^', {0x04, 0x0A, 0x11, 0x00, 0x00, 0x00, 0x00}},
  {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}},
  {'(', {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}},
  {')', {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}},
  {'A', {0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11}},
  {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
  {'a', {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}},
  {'c', {0x00, 0x00, 0x0E, 0x10, 0x10, 0x11, 0x0E}},
  {'d', {0x01, 0x01, 0x0D, 0x13, 0x11, 0x11, 0x0F}},
  {'e', {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E}},
  {'f', {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08}},
  {'g', {0x00, 0x00, 0x0F, 0x11, 0x0F, 0x01, 0x0E}},
  {'h', {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x11}},
  {'i', {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}},
  {'l', {0x0C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
  {'n', {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11}},
  {'o', {0x00, 0x00, 0x0E, 0x11, 0x11, 0x11, 0x0E}},
  {'r', {0x00, 0x00, 0x16, 0x19, 0x10, 0x10, 0x10}},
  {'s', {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E}},
  {'t', {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06}},
  {'u', {0x00, 0x00, 0x11, 0x11, 0x11, 0x13, 0x0D}},
  {'v', {0x00, 0x00, 0x11, 0x11, 0x11, 0x0A, 0x04}},
  {'w', {0x00, 0x00, 0x11, 0x11, 0x15, 0x15, 0x0A}},
};
// clang-format on

constexpr int GlyphAdvance = 6;  // pixels: five columns and a gap
constexpr int GlyphHeight = 7;

// Left to right from (x, y), the top-left of the first cell, each font pixel a box of cell x cell
// pixels; each row's runs of set bits as one box, in the pen's colour. Characters without a glyph
// leave a blank cell.
void DrawText(TCanvas& canvas, int x, int y, int cell, std::string_view text) {
  canvas.Brush.Color = canvas.Pen.Color;
  canvas.Brush.Style = TBrushStyle::Solid;
  for (const char character : text) {
    const auto glyph =
        std::find_if(std::begin(Glyphs), std::end(Glyphs),
                     [character](const TGlyph& g) { return g.Character == character; });
    if (glyph != std::end(Glyphs)) {
      for (int row = 0; row < GlyphHeight; ++row) {
        const unsigned bits = glyph->Rows[static_cast<std::size_t>(row)];
        int column = 0;
        while (column < 5) {
          if (!(bits & (0x10u >> column))) {
            ++column;
            continue;
          }
          const int first = column;
          while (column < 5 && (bits & (0x10u >> column))) ++column;
          canvas.Rectangle(x + first * cell, y + row * cell, x + column * cell,
                           y + (row + 1) * cell);
        }
      }
    }
    x += GlyphAdvance * cell;
  }
}

int TextWidth(std::string_view text) {
  return static_cast<int>(text.size()) * GlyphAdvance - 1;
}

constexpr TColor LegendText = ColorRGB(220, 220, 220);
constexpr TColor LegendFrame = ColorRGB(128, 128, 128);
constexpr TColor LegendBackground = ColorRGB(0, 0, 0);
constexpr int LegendMargin = 8;        // pixels between the box and the area's edges
constexpr int LegendPadding = 6;       // pixels between the box's frame and its text
constexpr int LegendDecadeWidth = 34;  // pixels of the colour bar per decade
constexpr int LegendBarHeight = 7;

// Whole device pixels per logical one, so that the legend's letters stay crisp.
int LegendScaleOf(double pixelRatio) {
  return std::max(1, RoundToPixel(RatioOf(pixelRatio)));
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
TPixelRect LegendBoxOf(const TPixelRect& area, double pixelRatio) {
  const int k = LegendScaleOf(pixelRatio);
  const long long width = static_cast<long long>(area.Right) - area.Left;
  const long long height = static_cast<long long>(area.Bottom) - area.Top;
  if (width < 2LL * (FieldArrowLegendWidth + 2 * LegendMargin) * k ||
      height < 2LL * (FieldArrowLegendHeight + 2 * LegendMargin) * k) {
    return {};
  }
  const int right = area.Right - LegendMargin * k;
  const int bottom = area.Bottom - LegendMargin * k;
  return {right - FieldArrowLegendWidth * k, bottom - FieldArrowLegendHeight * k, right, bottom};
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
                     double pixelRatio) {
  const TArrowFrame frame = ArrowFrameOf(view, ISize, pixelRatio);
  const TArrowGrid grid = FieldArrowGridOf(view.Mapping.DrawArea, pixelRatio);
  if (frame.Usable) {
    const double headLength = FieldArrowHeadLength * RatioOf(pixelRatio);
    const double headCos = std::cos(HeadAngle) * headLength;
    const double headSin = std::sin(HeadAngle) * headLength;
    // An arrow wholly under the legend would only be covered by it.
    const TPixelRect legend = LegendBoxOf(view.Mapping.DrawArea, pixelRatio);
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
  DrawFieldArrowLegend(view.Canvas, view.Mapping.DrawArea, pixelRatio);
}

void DrawFieldArrowLegend(TCanvas& canvas, const TPixelRect& area, double pixelRatio) {
  const int k = LegendScaleOf(pixelRatio);
  const TPixelRect box = LegendBoxOf(area, pixelRatio);
  if (box.Right <= box.Left) return;
  const int left = box.Left;
  const int top = box.Top;
  const int right = box.Right;
  const int bottom = box.Bottom;
  canvas.Pen.Color = LegendFrame;
  canvas.Brush.Color = LegendBackground;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Rectangle(left, top, right, bottom);

  const int x = left + LegendPadding * k;
  canvas.Pen.Color = LegendText;
  DrawText(canvas, x, top + 5 * k, k, "Arrows: E of the electron");
  DrawText(canvas, x, top + 15 * k, k, "(reversed for a + charge)");

  // The bar: one column per device pixel, coloured for the strength at its middle.
  const int barLeft = x + 6 * k;
  const int barTop = top + 27 * k;
  const int barWidth = FieldArrowDecades * LegendDecadeWidth * k;
  const TColor* const colours = BarColoursAt(k);
  for (int i = 0; i < barWidth; ++i) {
    canvas.Pen.Color = colours ? colours[i] : BarColour(i, barWidth);
    canvas.MoveTo(barLeft + i, barTop);
    canvas.LineTo(barLeft + i, barTop + LegendBarHeight * k);
  }
  // The strengths at the decade boundaries, each centred under its boundary.
  constexpr std::string_view Labels[FieldArrowDecades + 1] = {"0.1", "1", "10", "100", "1000"};
  canvas.Pen.Color = LegendText;
  for (int d = 0; d <= FieldArrowDecades; ++d) {
    const std::string_view label = Labels[d];
    DrawText(canvas, barLeft + (d * LegendDecadeWidth - TextWidth(label) / 2) * k,
             barTop + (LegendBarHeight + 3) * k, k, label);
  }
  DrawText(canvas, x, top + 47 * k, k, "|E| in e/unit^2");
  canvas.Reset();
}
