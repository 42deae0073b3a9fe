// SPDX-License-Identifier: GPL-3.0-or-later
// The observer's spectrum, drawn with QPainter.
#include "views/ObserverPowerPlot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "app/GuardedCall.h"
#include "engine/PictureScale.h"
#include "views/ObserverPlotDrawing.h"
#include "views/ObserverText.h"

namespace {

constexpr double MarginLeft = 58;
constexpr double MarginRight = 12;
constexpr double MarginTop = 20;
// Two rows of labels, or three with the harmonics of a closed path.
constexpr double LabelRow = 15;

// Predicted lines closer than this (logical pixels) are drawn as a comb of this length.
constexpr double MinMarkerSpacing = 5;
constexpr double CombLength = 7;

// A bin counts as noticeable from this share of the largest power on.
constexpr double NoticeablePower = 1e-4;

bool Empty(const TObserverSpectrum& spectrum) {
  return spectrum.Frequency.size() < 2 ||
         !std::any_of(spectrum.Power.begin(), spectrum.Power.end(), [](double p) { return p > 0; });
}

}  // namespace

TObserverPowerPlot::TObserverPowerPlot(const TSimulationCommands& commands,
                                             const TObserverSpectrum& spectrum, QWidget* parent)
    : QWidget(parent), Commands(commands), Spectrum(spectrum) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize TObserverPowerPlot::minimumSizeHint() const { return {200, 130}; }
QSize TObserverPowerPlot::sizeHint() const { return {360, 220}; }

double TObserverPowerPlot::UpperFrequency(const TObserverSpectrum& spectrum) {
  if (Empty(spectrum)) return 0.0;
  const double highest = spectrum.Frequency.back();
  double upper = 0.0;
  const std::size_t bins = std::min(spectrum.Frequency.size(), spectrum.Power.size());
  for (std::size_t k = 0; k < bins; ++k) {
    if (spectrum.Power[k] >= NoticeablePower) upper = spectrum.Frequency[k];
  }
  upper *= 1.25;
  if (spectrum.Fundamental) upper = std::max(upper, 4.5 * *spectrum.Fundamental);
  if (spectrum.Undulator && !spectrum.Markers.empty())
    upper = std::max(upper, 1.5 * spectrum.Markers.front().High);
  if (!(upper > 0.0)) upper = highest;
  return std::min(upper, highest);
}

int TObserverPowerPlot::LogDecades(const TObserverSpectrum& spectrum, double upper) {
  double least = 1.0;
  const std::size_t bins = std::min(spectrum.Frequency.size(), spectrum.Power.size());
  for (std::size_t k = 0; k < bins && spectrum.Frequency[k] <= upper; ++k) {
    if (spectrum.Power[k] > 0.0) least = std::min(least, spectrum.Power[k]);
  }
  return std::clamp(static_cast<int>(std::ceil(-std::log10(least))), 3, 12);
}

void TObserverPowerPlot::paintEvent(QPaintEvent*) {
  Guarded([this] { Paint(); });
}

void TObserverPowerPlot::Paint() {
  const TSimulationState& state = Commands.State();
  const TDisplaySettings& display = Commands.Display();
  const bool logPower = display.Observer.LogPower;
  const TObserverColours colours = ObserverColoursOf(display.Theme);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, display.SmoothLines);
  const std::optional<double> f0 = Spectrum.Fundamental;
  const double marginBottom = LabelRow * (f0 ? 3 : 2) + 4;
  const QFontMetricsF metrics(painter.font());
  const QStringList names{ObserverWord("/tick"), ObserverWord("Hz"), ObserverWord("× f₀")};
  const double marginLeft =
      LabelRowsMargin(metrics, {names.begin(), names.end()}, QStringLiteral("0 Hz"), MarginLeft);
  const QRectF whole(rect());
  const QRectF area = whole.adjusted(marginLeft, MarginTop, -MarginRight, -marginBottom);
  DrawPlotFrame(painter, whole, area, colours);
  if (area.width() < 10 || area.height() < 10) return;
  const double secondsPerTick =
      SecondsPerTick(state.ISize, PictureScaleOf(state.TrajectoryMode, display.ScaleUnit));

  // The title row: the axis chosen.
  painter.setPen(colours.Text);
  const double titleY = MarginTop / 2 + metrics.ascent() / 2 - 1;
  painter.drawText(QPointF(area.left(), titleY),
                   logPower ? ObserverWord("Power (largest 1), logarithmic")
                            : ObserverWord("Power (largest 1), linear"));

  const double upper = UpperFrequency(Spectrum);
  if (!(upper > 0.0)) {
    // Received but all zero: an eye on the line of an oscillation, where no radiation goes.
    const bool received = Spectrum.SamplesUsed > 0;
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                     received ? ObserverWord("No radiation reaches the eye here")
                              : ObserverWord("No spectrum yet: the eye has received nothing"));
    return;
  }
  const auto xOf = [&](double frequency) { return area.left() + frequency / upper * area.width(); };
  const int decades = LogDecades(Spectrum, upper);
  const auto yOf = [&](double power) {
    double share = power;
    if (logPower) share = 1.0 + std::log10(std::max(power, std::pow(10.0, -decades))) / decades;
    return area.bottom() - std::clamp(share, 0.0, 1.0) * area.height();
  };

  // The power axis: 0 .. 1 in fifths, or a label every decade or every few.
  if (logPower) {
    const int every = std::max(1, decades / 4);
    for (int d = 0; d <= decades; d += every) {
      const double y = yOf(std::pow(10.0, -d));
      painter.setPen(QPen(colours.Grid, 1.0, Qt::DotLine));
      painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
      painter.setPen(colours.Text);
      const QString label = d == 0 ? QStringLiteral("1") : QStringLiteral("1e-%1").arg(d);
      painter.drawText(QPointF(area.left() - 4 - metrics.horizontalAdvance(label),
                               y + metrics.ascent() / 2 - 1),
                       label);
    }
  } else {
    for (const double p : StepsWithin(0.0, 1.0, 0.25)) {
      const double y = yOf(p);
      painter.setPen(QPen(colours.Grid, 1.0, Qt::DotLine));
      painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
      painter.setPen(colours.Text);
      const QString label = ShortNumber(p);
      painter.drawText(QPointF(area.left() - 4 - metrics.horizontalAdvance(label),
                               y + metrics.ascent() / 2 - 1),
                       label);
    }
  }

  // The frequency axis: cycles per tick, hertz, and the harmonic number of a closed path.
  const double widest = metrics.horizontalAdvance(SiText(888.0e9, QStringLiteral("Hz")));
  const int labelCount = std::max(1, static_cast<int>(area.width() / (widest + 12)));
  std::vector<double> steps;
  if (f0) {
    const double harmonics = NiceStep(upper / *f0, labelCount);
    for (const double n : StepsWithin(0.0, upper / *f0, std::max(1.0, harmonics)))
      steps.push_back(n * *f0);
  } else {
    steps = StepsWithin(0.0, upper, NiceStep(upper, labelCount));
  }
  const double firstRow = area.bottom() + metrics.ascent() + 2;
  for (const double frequency : steps) {
    const double x = xOf(frequency);
    painter.setPen(QPen(colours.Grid, 1.0, Qt::DotLine));
    painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    painter.setPen(colours.Text);
    QStringList rows{ShortNumber(frequency), SiText(frequency / secondsPerTick, QStringLiteral("Hz"))};
    if (f0) rows << QString::number(std::llround(frequency / *f0));
    for (int r = 0; r < rows.size(); ++r) {
      // Centred under its frequency, but inside the plot's right edge.
      const double width = metrics.horizontalAdvance(rows[r]);
      painter.drawText(QPointF(std::min(x - width / 2, whole.right() - width - 1),
                               firstRow + r * LabelRow),
                       rows[r]);
    }
  }
  for (int r = 0; r < (f0 ? 3 : 2); ++r)
    painter.drawText(QPointF(2, firstRow + r * LabelRow), names[r]);

  painter.save();
  painter.setClipRect(area);
  // The predicted lines under the curve, labelled with their harmonics. Lines closer than a few
  // pixels (the many harmonics of a slow circle) would paint the plot over: they are drawn as a
  // comb along its top edge instead, and only round harmonics are labelled.
  int shownMarkers = 0;
  int highestHarmonic = 1;
  for (const TSpectrumMarker& marker : Spectrum.Markers) {
    if (marker.Low > upper) break;
    ++shownMarkers;
    highestHarmonic = std::max(highestHarmonic, marker.Harmonic);
  }
  const bool dense = shownMarkers * MinMarkerSpacing > area.width();
  const int labelEvery =
      dense ? static_cast<int>(NiceStep(highestHarmonic, std::max(1, static_cast<int>(
                                                                       area.width() / 28))))
            : 1;
  QColor span = colours.Marker;
  span.setAlpha(60);
  QColor line = colours.Marker;
  line.setAlpha(dense ? 255 : 170);
  const double lineBottom = dense ? area.top() + CombLength : area.bottom();
  double lastLabelRight = -1e9;
  for (int m = 0; m < shownMarkers; ++m) {
    const TSpectrumMarker& marker = Spectrum.Markers[static_cast<std::size_t>(m)];
    const double x0 = xOf(marker.Low);
    const double x1 = xOf(marker.High);
    if (x1 - x0 >= 2.0) {
      painter.fillRect(QRectF(QPointF(x0, area.top()), QPointF(x1, lineBottom)), span);
    } else {
      painter.setPen(QPen(line, 1.0));
      painter.drawLine(QPointF((x0 + x1) / 2, area.top()), QPointF((x0 + x1) / 2, lineBottom));
    }
    if (marker.Harmonic % labelEvery != 0) continue;
    const QString label = QString::number(marker.Harmonic);
    const double width = metrics.horizontalAdvance(label);
    const double left = (x0 + x1) / 2 + 2;
    if (left > lastLabelRight + 4 && left + width < area.right()) {
      painter.setPen(colours.Marker);
      painter.drawText(QPointF(left, lineBottom + metrics.ascent() + 1), label);
      lastLabelRight = left + width;
    }
  }

  // The curve: the largest bin of each pixel column, so that a narrow line is never lost.
  QPainterPath curve;
  bool open = false;
  int column = 0;
  double peak = 0.0;
  double columnX = 0.0;
  const auto flush = [&] {
    if (!open) {
      curve.moveTo(columnX, yOf(peak));
      open = true;
    } else {
      curve.lineTo(columnX, yOf(peak));
    }
  };
  bool any = false;
  const std::size_t bins = std::min(Spectrum.Frequency.size(), Spectrum.Power.size());
  for (std::size_t k = 0; k < bins; ++k) {
    const double frequency = Spectrum.Frequency[k];
    if (frequency > upper) break;
    const double x = xOf(frequency);
    const int c = static_cast<int>(std::floor(x));
    if (any && c == column) {
      peak = std::max(peak, Spectrum.Power[k]);
      continue;
    }
    if (any) flush();
    any = true;
    column = c;
    columnX = x;
    peak = Spectrum.Power[k];
  }
  if (any) flush();
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(colours.Radiation, colours.LineWidth));
  painter.drawPath(curve);
  painter.restore();
}
