// SPDX-License-Identifier: GPL-3.0-or-later
// The colours, label steps and frames of the observer's plots.
#include "views/ObserverPlotDrawing.h"

#include <QPainter>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "render/Palette.h"

namespace {

QColor QColorOf(TColor colour) {
  return QColor(static_cast<int>(ColorRed(colour)), static_cast<int>(ColorGreen(colour)),
                static_cast<int>(ColorBlue(colour)));
}

}  // namespace

TObserverColours ObserverColoursOf(TTheme theme) {
  const TPalette& palette = PaletteOf(theme);
  TObserverColours colours{QColorOf(palette.Ground), QColorOf(palette.Text),
                           QColorOf(palette.PanelEdge), QColor(), QColor(), QColor(), QColor(),
                           palette.LineWidth};
  if (theme == TTheme::Projector) {
    colours.Radiation = QColor(0, 110, 160);
    colours.Field = QColor(190, 80, 0);
    colours.Marker = QColor(150, 0, 120);
    colours.Gap = QColor(0, 0, 0, 28);
  } else {
    colours.Radiation = QColor(0, 230, 230);
    colours.Field = QColor(255, 170, 60);
    colours.Marker = QColor(255, 90, 220);
    colours.Gap = QColor(255, 255, 255, 36);
  }
  return colours;
}

double NiceStep(double span, int maxCount) {
  const double rough = span / std::max(1, maxCount);
  const double decade = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (factor * decade >= rough * (1.0 - 1e-9)) return factor * decade;
  }
  return 10.0 * decade;
}

std::vector<double> StepsWithin(double low, double high, double step) {
  std::vector<double> steps;
  if (!(step > 0.0) || !(high >= low)) return steps;
  const double tolerance = step * 1e-9;
  for (double k = std::ceil((low - tolerance) / step); k * step <= high + tolerance; k += 1.0) {
    steps.push_back(k * step == 0.0 ? 0.0 : k * step);
    if (steps.size() > 1000) break;
  }
  return steps;
}

void DrawPlotFrame(QPainter& painter, const QRectF& whole, const QRectF& area,
                   const TObserverColours& colours) {
  painter.fillRect(whole, colours.Ground);
  painter.setPen(QPen(colours.Grid, 1.0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area);
}

void StrokeHairlines(QPainter& painter, const QPainterPath& path, const QColor& colour, double width) {
  QPen pen(colour, 0.0);
  pen.setCosmetic(true);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
  // A hairline is one device pixel wide: the copies go a device pixel apart, out to half the
  // width in device pixels on each side, left, right, up and down.
  const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
  const int copies = static_cast<int>(std::floor(width * ratio / 2.0 + 1e-9));
  for (int k = 1; k <= copies; ++k) {
    const double offset = k / ratio;
    for (const QPointF shift : {QPointF(-offset, 0), QPointF(offset, 0), QPointF(0, -offset),
                                QPointF(0, offset)})
      painter.drawPath(path.translated(shift));
  }
}

double LabelRowsMargin(const QFontMetricsF& metrics, const std::vector<QString>& names,
                       const QString& firstLabel, double least) {
  double margin = least;
  for (const QString& name : names)
    margin = std::max(margin, metrics.horizontalAdvance(name) +
                                  metrics.horizontalAdvance(firstLabel) / 2 + 8);
  return margin;
}
