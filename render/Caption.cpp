// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/Caption.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

#include "render/FieldArrows.h"
#include "render/Palette.h"
#include "render/TextDrawing.h"

namespace {

std::string Printed(const char* format, double value) {
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), format, value);
  return text.data();
}

// value × 10^(3 k) with the prefix of k, chosen so that the figure lies in [1, 1000).
struct TPrefixed {
  double Figure;
  const char* Prefix;
};
TPrefixed Prefixed(double value, int lowest, int highest) {
  static constexpr std::array<const char*, 9> Prefixes = {"a", "f", "p", "n", "µ", "m", "", "k", "M"};
  int k = 0;  // power of 1000
  double figure = value;
  if (value != 0.0 && std::isfinite(value)) {
    k = static_cast<int>(std::floor(std::log10(std::fabs(value)) / 3.0));
    k = std::clamp(k, lowest, highest);
    figure = value / std::pow(1000.0, k);
    // Rounding to three digits may reach 1000: the next prefix then shows 1.00.
    if (std::fabs(figure) >= 999.5 && k < highest) {
      ++k;
      figure /= 1000.0;
    }
  }
  return {figure, Prefixes[static_cast<std::size_t>(k + 6)]};
}

// Three significant digits of a figure from 1 to 999.
std::string ThreeDigits(double figure) {
  const double size = std::fabs(figure);
  if (size >= 99.95) return Printed("%.0f", figure);
  if (size >= 9.995) return Printed("%.1f", figure);
  return Printed("%.2f", figure);
}

const std::string& PathName(int mode, const TPictureWords& words) {
  switch (mode) {
    case tmStraightLine: return words[TPictureWord::PathStraightLine];
    case tmDipole: return words[TPictureWord::PathDipole];
    case tmCircle: return words[TPictureWord::PathCircle];
    case tmRaceTrack: return words[TPictureWord::PathRaceTrack];
    case tmUndulator: return words[TPictureWord::PathUndulator];
    case tmBending: return words[TPictureWord::PathBending];
    default: return words[TPictureWord::PathMouse];
  }
}

// Distances of the layout, logical pixels.
constexpr int Margin = 8;    // from the plot's edge
constexpr int Padding = 6;   // inside a panel
constexpr int KeyLine = 18;  // a key entry's sample
constexpr int KeyGap = 12;   // between two key entries
constexpr int ScaleBarMost = 160;

struct TLayout {
  TCanvas& Canvas;
  double Ratio;
  double Size;  // text, device pixels per em
  int LineHeight;
  int Ascent;
  int Px(int logical) const { return ScaledPixels(logical, Ratio); }
};

// Text over the field: a rim of the ground's colour around each letter keeps it readable over
// the lines it crosses without a box that would hide them.
void HaloText(TLayout& layout, const TPalette& palette, int x, int baseline, const std::string& text) {
  DrawText(layout.Canvas, x, baseline, text, layout.Size, palette.Text,
           TTextHalo{palette.Ground, layout.Px(2)});
}

struct TKeyEntry {
  TPictureWord Word;
  TColor Colour;
  enum { Line, Dot, Arrow } Sample;
};

std::vector<TKeyEntry> KeyOf(const TSimulationState& state, const TDisplaySettings& display,
                             const TPalette& palette) {
  std::vector<TKeyEntry> key;
  if (state.TrajectoryMode != tmMouse) key.push_back({TPictureWord::KeyPath, palette.Trajectory, TKeyEntry::Line});
  if (display.ShowFieldLines) key.push_back({TPictureWord::KeyFieldLines, palette.FieldLine, TKeyEntry::Line});
  if (display.ShowWaveFronts) key.push_back({TPictureWord::KeyWaveFronts, palette.WaveFront, TKeyEntry::Line});
  if (display.ShowNodePoints) key.push_back({TPictureWord::KeyNodes, palette.NodePoint, TKeyEntry::Dot});
  if (display.ShowFieldVectors) key.push_back({TPictureWord::KeyArrows, FieldArrowScale[2], TKeyEntry::Arrow});
  return key;
}

void DrawSample(TLayout& layout, const TKeyEntry& entry, int x, int middle, double lineWidth) {
  TCanvas& canvas = layout.Canvas;
  canvas.Pen.Color = entry.Colour;
  canvas.Pen.Width = entry.Sample == TKeyEntry::Arrow ? 1.0 : lineWidth;
  const int length = layout.Px(KeyLine);
  if (entry.Sample == TKeyEntry::Dot) {
    const int half = layout.Px(1);
    const int cx = x + length / 2;
    canvas.Brush.Color = entry.Colour;
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Rectangle(cx - half, middle - half, cx + half, middle + half);
    return;
  }
  canvas.MoveTo(x, middle);
  canvas.LineTo(x + length, middle);
  if (entry.Sample == TKeyEntry::Arrow) {
    const int head = layout.Px(4);
    canvas.MoveTo(x + length, middle);
    canvas.LineTo(x + length - head, middle - head);
    canvas.MoveTo(x + length, middle);
    canvas.LineTo(x + length - head, middle + head);
  }
  canvas.Pen.Width = 1.0;
}

}  // namespace

TCaptionFacts CaptionFactsOf(const TSimulationState& state, const TDisplaySettings& display) {
  TCaptionFacts facts;
  facts.TrajectoryMode = state.TrajectoryMode;
  const TVector2 beta = state.FieldSimulation.BetaVector();
  facts.Beta = std::min(std::hypot(beta.X, beta.Y), MaxBeta);
  facts.Gamma = 1.0 / std::sqrt(1.0 - facts.Beta * facts.Beta);
  facts.Tick = state.FrameIndex;
  facts.Seconds = facts.Tick * SecondsPerTick(state.ISize,
                                              PictureScaleOf(state.TrajectoryMode, display.ScaleUnit));
  return facts;
}

std::vector<std::string> CaptionLines(const TCaptionFacts& facts, const TPictureWords& words) {
  // β to three decimals, to four once it passes 0.995, where three would round it up to 1.
  const std::string beta = Printed(facts.Beta >= 0.9995 ? "%.4f" : "%.3f", facts.Beta);
  const double gamma = facts.Gamma;
  const std::string gammaText = gamma < 999.5 ? ThreeDigits(gamma) : Printed("%.0f", gamma);
  return {PathName(facts.TrajectoryMode, words),
          "β = " + beta + "   γ = " + gammaText,
          words[TPictureWord::Tick] + " " + std::to_string(facts.Tick) + "   " +
              words[TPictureWord::Time] + " " + TimeText(facts.Seconds)};
}

std::string TimeText(double seconds) {
  if (seconds == 0.0) return "0 s";
  const TPrefixed time = Prefixed(seconds, -6, 0);
  return ThreeDigits(time.Figure) + " " + time.Prefix + "s";
}

std::string LengthText(double metres) {
  const TPrefixed length = Prefixed(metres, -3, 1);
  return Printed("%.0f", length.Figure) + " " + length.Prefix + "m";
}

TScaleBar ScaleBarOf(const TPlotMapping& mapping, const TPictureScale& scale, int maxPixels) {
  const double range = mapping.Horizontal.Maximum - mapping.Horizontal.Minimum;
  const int span = mapping.PlotRect.Right - mapping.PlotRect.Left;
  if (!(range > 0.0) || span <= 0 || maxPixels <= 0 || !(scale.MetresPerUnit > 0.0)) return {};
  const double pixelsPerMetre = span / (range * scale.MetresPerUnit);
  const double most = maxPixels / pixelsPerMetre;  // m
  if (!std::isfinite(most) || most <= 0.0) return {};
  double decade = std::pow(10.0, std::floor(std::log10(most)));
  double metres = decade;
  for (const double step : {2.0, 5.0, 10.0}) {
    if (step * decade <= most * (1.0 + 1e-12)) metres = step * decade;
  }
  TScaleBar bar;
  bar.Metres = metres;
  bar.Pixels = static_cast<int>(std::lround(metres * pixelsPerMetre));
  bar.Label = LengthText(metres);
  return bar;
}

void DrawCaption(TCanvas& canvas, const TPlotMapping& mapping, const TSimulationState& state,
                 const TDisplaySettings& display, const TPictureWords& words, double pixelRatio) {
  if (!display.ShowCaption) return;
  const TPalette& palette = PaletteOf(display.Theme);
  const double size = PictureTextSize * pixelRatio;
  const TTextExtent font = MeasureText("Ag", size);
  TLayout layout{canvas, pixelRatio, size, font.Ascent + font.Descent + ScaledPixels(2, pixelRatio),
                 font.Ascent};
  const TPixelRect area = mapping.DrawArea;
  const int margin = layout.Px(Margin);
  const int padding = layout.Px(Padding);
  const int areaWidth = area.Right - area.Left;

  // The caption and, below it, the key, at the top left.
  const std::vector<std::string> lines = CaptionLines(CaptionFactsOf(state, display), words);
  const std::vector<TKeyEntry> key = KeyOf(state, display, palette);
  // Key entries flow in rows no wider than the plot allows.
  const int rowMost = std::max(layout.Px(120), areaWidth - 2 * (margin + padding));
  std::vector<std::vector<std::size_t>> rows;
  int rowWidth = 0;
  for (std::size_t k = 0; k < key.size(); ++k) {
    const int entry = layout.Px(KeyLine) + layout.Px(4) + MeasureText(words[key[k].Word], size).Width;
    if (rows.empty() || rowWidth + layout.Px(KeyGap) + entry > rowMost) {
      rows.emplace_back();
      rowWidth = 0;
    } else {
      rowWidth += layout.Px(KeyGap);
    }
    rows.back().push_back(k);
    rowWidth += entry;
  }
  const int left = area.Left + margin;
  const int top = area.Top + margin;
  int baseline = top + padding + layout.Ascent;
  for (const std::string& line : lines) {
    HaloText(layout, palette, left + padding, baseline, line);
    baseline += layout.LineHeight;
  }
  // A sample's line at about the middle of the small letters beside it.
  const int sampleRaise = font.Ascent * 35 / 100;
  for (const auto& row : rows) {
    int x = left + padding;
    for (const std::size_t k : row) {
      DrawSample(layout, key[k], x, baseline - sampleRaise, palette.LineWidth);
      x += layout.Px(KeyLine) + layout.Px(4);
      HaloText(layout, palette, x, baseline, words[key[k].Word]);
      x += MeasureText(words[key[k].Word], size).Width + layout.Px(KeyGap);
    }
    baseline += layout.LineHeight;
  }

  // The scale bar at the bottom left: a bar with end ticks and its length above it.
  const TScaleBar bar =
      ScaleBarOf(mapping, PictureScaleOf(state.TrajectoryMode, display.ScaleUnit),
                 std::min(layout.Px(ScaleBarMost), areaWidth / 4));
  if (bar.Pixels <= 0) return;
  const int labelWidth = MeasureText(bar.Label, size).Width;
  const int barLeft = area.Left + margin;
  const int panelBottom = area.Bottom - margin;
  const int panelTop = panelBottom - 2 * padding - layout.LineHeight - layout.Px(6);
  const int x0 = barLeft + padding;
  const int y = panelBottom - padding - layout.Px(2);
  canvas.Pen.Color = palette.Text;
  canvas.Pen.Width = 2.0;
  canvas.MoveTo(x0, y);
  canvas.LineTo(x0 + bar.Pixels, y);
  canvas.Pen.Width = 1.0;
  for (const int x : {x0, x0 + bar.Pixels}) {
    canvas.MoveTo(x, y - layout.Px(4));
    canvas.LineTo(x, y + layout.Px(1));
  }
  HaloText(layout, palette, x0 + std::max(0, (bar.Pixels - labelWidth) / 2),
           panelTop + padding + layout.Ascent, bar.Label);
}
