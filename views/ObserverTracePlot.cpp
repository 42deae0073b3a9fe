// SPDX-License-Identifier: GPL-3.0-or-later
// The observer's trace, drawn with QPainter.
#include "views/ObserverTracePlot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "app/GuardedCall.h"
#include "engine/PictureScale.h"
#include "views/ObserverPlotDrawing.h"
#include "views/ObserverText.h"

namespace {

// Room for the labels around the plot's area, logical pixels.
constexpr double MarginLeft = 58;
constexpr double MarginRight = 10;
constexpr double MarginTop = 20;
constexpr double MarginBottom = 34;

// The signed component of field along the unit vector across, e/u².
double Along(TVector2 field, TVector2 across) { return field.X * across.X + field.Y * across.Y; }

// One curve of the trace in the area's pixels: a path broken at every sample left out. Where
// several samples fall into one pixel column only their least and largest values are kept, so
// that 32768 samples draw as fast as a few hundred and no peak is lost.
class TCurveBuilder {
 public:
  void Add(double x, double y) {
    const int column = static_cast<int>(std::floor(x));
    if (Open && column == Column) {
      if (y < Low) Low = y;
      if (y > High) High = y;
      Last = y;
      ++Count;
      return;
    }
    Flush();
    if (!Open) {
      Path.moveTo(x, y);
      Open = true;
    } else {
      Path.lineTo(x, y);
    }
    Column = column;
    First = Low = High = Last = y;
    X = x;
    Count = 1;
  }
  void Break() {
    Flush();
    Open = false;
  }
  QPainterPath Finish() {
    Flush();
    return Path;
  }

 private:
  void Flush() {
    if (!Open || Count < 2) return;
    // The column's span drawn at its first sample's place, ending where its last sample lay.
    Path.lineTo(X, First < Last ? Low : High);
    Path.lineTo(X, First < Last ? High : Low);
    Path.lineTo(X, Last);
    Count = 1;
  }
  QPainterPath Path;
  bool Open = false;
  int Column = 0;
  double X = 0, First = 0, Low = 0, High = 0, Last = 0;
  int Count = 0;
};

}  // namespace

TObserverTracePlot::TObserverTracePlot(const TSimulationCommands& commands, QWidget* parent)
    : QWidget(parent), Commands(commands) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize TObserverTracePlot::minimumSizeHint() const { return {200, 120}; }
QSize TObserverTracePlot::sizeHint() const { return {360, 200}; }

std::pair<double, double> TObserverTracePlot::TickSpan(const TObserverTrace& trace) {
  const double length = trace.TraceTicks();
  const double now = static_cast<double>(trace.Ticks());
  const double end = std::max(now, length);
  return {end - length, end};
}

void TObserverTracePlot::paintEvent(QPaintEvent*) {
  Guarded([this] { Paint(); });
}

void TObserverTracePlot::Paint() {
  const TSimulationState& state = Commands.State();
  const TDisplaySettings& display = Commands.Display();
  const TObserverTrace& trace = state.ObserverTrace;
  const TObserverColours colours = ObserverColoursOf(display.Theme);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing, display.SmoothLines);
  const QFontMetricsF metrics(painter.font());
  const double marginLeft = LabelRowsMargin(metrics, {ObserverWord("tick"), ObserverWord("time")},
                                             QStringLiteral("0 s"), MarginLeft);
  const QRectF whole(rect());
  const QRectF area = whole.adjusted(marginLeft, MarginTop, -MarginRight, -MarginBottom);
  DrawPlotFrame(painter, whole, area, colours);
  if (area.width() < 10 || area.height() < 10) return;

  // The legend over the plot: which colour is which, and the direction they are taken along.
  painter.setPen(colours.Text);
  double legendX = area.left();
  const double legendY = MarginTop / 2;
  for (const auto& [colour, word] :
       {std::pair{colours.Radiation, ObserverWord("radiation part")},
        std::pair{colours.Field, ObserverWord("whole field")}}) {
    painter.setPen(QPen(colour, 2.0));
    painter.drawLine(QPointF(legendX, legendY), QPointF(legendX + 16, legendY));
    painter.setPen(colours.Text);
    painter.drawText(QPointF(legendX + 20, legendY + metrics.ascent() / 2 - 1), word);
    legendX += 20 + metrics.horizontalAdvance(word) + 14;
  }
  // The unit over the vertical labels.
  painter.drawText(QPointF(2, legendY + metrics.ascent() / 2 - 1), QStringLiteral("e/u²"));

  const auto [fromTick, toTick] = TickSpan(trace);
  const auto xOf = [&, from = fromTick, to = toTick](double tick) {
    return area.left() + (tick - from) / (to - from) * area.width();
  };
  const TVector2 across = ObserverAcross(PathCentreOf(state), display.Observer.Place);

  // The vertical scale: the largest value received within the span, to a round figure.
  double largest = 0.0;
  int received = 0;
  for (int i = 0; i < trace.Count(); ++i) {
    const TObserverSample& sample = trace[i];
    if (sample.Kind != TObserverSampleKind::Received || sample.Tick < fromTick) continue;
    ++received;
    largest = std::max({largest, std::fabs(Along(sample.Field, across)),
                        std::fabs(Along(sample.Radiation, across))});
  }
  double scale = 1.0;
  if (largest > 0.0 && std::isfinite(largest)) {
    const double step = NiceStep(largest, 2);
    scale = std::ceil(largest / step * (1.0 - 1e-12)) * step;
  }
  const double middle = area.center().y();
  const auto yOf = [&](double value) {
    return middle - std::clamp(value / scale, -1.0, 1.0) * area.height() / 2;
  };

  // The vertical labels and the zero line.
  for (const double value : StepsWithin(-scale, scale, NiceStep(2 * scale, 4))) {
    const double y = yOf(value);
    painter.setPen(QPen(colours.Grid, 1.0, value == 0.0 ? Qt::SolidLine : Qt::DotLine));
    painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    painter.setPen(colours.Text);
    const QString label = ShortNumber(value);
    painter.drawText(QPointF(area.left() - 4 - metrics.horizontalAdvance(label),
                             y + metrics.ascent() / 2 - 1),
                     label);
  }

  // The time axis: ticks on the first row of labels, the same moments in seconds on the second.
  const double secondsPerTick =
      SecondsPerTick(state.ISize, PictureScaleOf(state.TrajectoryMode, display.ScaleUnit));
  const double widest = metrics.horizontalAdvance(SiText(-888.0e-9, QStringLiteral("s")));
  const int labelCount = std::max(1, static_cast<int>(area.width() / (widest + 12)));
  for (const double tick : StepsWithin(fromTick, toTick, NiceStep(toTick - fromTick, labelCount))) {
    const double x = xOf(tick);
    painter.setPen(QPen(colours.Grid, 1.0, Qt::DotLine));
    painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    painter.setPen(colours.Text);
    const QString ticks = QString::number(std::llround(tick));
    const QString seconds = SiText(tick * secondsPerTick, QStringLiteral("s"));
    const double row = area.bottom() + metrics.ascent() + 2;
    // Centred under its moment, but inside the plot's right edge.
    const auto leftOf = [&](const QString& text) {
      const double width = metrics.horizontalAdvance(text);
      return std::min(x - width / 2, whole.right() - width - 1);
    };
    painter.drawText(QPointF(leftOf(ticks), row), ticks);
    painter.drawText(QPointF(leftOf(seconds), row + metrics.height()), seconds);
  }
  painter.drawText(QPointF(2, area.bottom() + metrics.ascent() + 2), ObserverWord("tick"));
  painter.drawText(QPointF(2, area.bottom() + metrics.ascent() + 2 + metrics.height()),
                   ObserverWord("time"));

  painter.save();
  painter.setClipRect(area);
  // The samples left out, as shaded spans: nothing the eye received is drawn there.
  bool inGap = false;
  double gapFrom = 0.0;
  const double sampleStep = 1.0 / ObserverSubTicks;
  for (int i = 0; i <= trace.Count(); ++i) {
    const bool gap = i < trace.Count() && trace[i].Kind != TObserverSampleKind::Received;
    if (gap && !inGap) {
      inGap = true;
      gapFrom = trace[i].Tick - sampleStep / 2;
    }
    if (!gap && inGap) {
      const double end = (i < trace.Count() ? trace[i].Tick : trace[i - 1].Tick) - sampleStep / 2;
      painter.fillRect(QRectF(QPointF(xOf(gapFrom), area.top()), QPointF(xOf(end), area.bottom())),
                       colours.Gap);
      inGap = false;
    }
  }
  TCurveBuilder field;
  TCurveBuilder radiation;
  for (int i = 0; i < trace.Count(); ++i) {
    const TObserverSample& sample = trace[i];
    if (sample.Kind != TObserverSampleKind::Received) {
      field.Break();
      radiation.Break();
      continue;
    }
    const double x = xOf(sample.Tick);
    field.Add(x, yOf(Along(sample.Field, across)));
    radiation.Add(x, yOf(Along(sample.Radiation, across)));
  }
  // The whole field under the radiation part and wider: where the two agree (far from the
  // charge, where its Coulomb field has faded), it shows as a rim around the radiation's line.
  StrokeHairlines(painter, field.Finish(), colours.Field, colours.LineWidth + 2.0);
  StrokeHairlines(painter, radiation.Finish(), colours.Radiation, colours.LineWidth);
  painter.restore();

  if (received == 0) {
    painter.setPen(colours.Text);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                     ObserverWord("Nothing received yet: run the animation"));
  }
}
