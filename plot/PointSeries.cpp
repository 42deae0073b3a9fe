// SPDX-License-Identifier: GPL-3.0-or-later
// The point series of a surface: their points, each change asking for a redraw, and the hit test
// of their markers.
#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "app/GuardedCall.h"
#include "plot/PlotSurface.h"

int TPointSeries::AddPoint(double x, double y, TColor color) {
  PointList.push_back({x, y, color});
  RequestRedraw();
  return static_cast<int>(PointList.size()) - 1;
}

void TPointSeries::SetPointX(int i, double x) {
  if (i < 0 || static_cast<std::size_t>(i) >= PointList.size())
    throw EError(QCoreApplication::translate("Messages", "List index out of bounds (%1)").arg(i));
  PointList[static_cast<std::size_t>(i)].X = x;
  RequestRedraw();
}

void TPointSeries::SetPointColor(int i, TColor color) {
  if (i < 0 || static_cast<std::size_t>(i) >= PointList.size())
    throw EError(QCoreApplication::translate("Messages", "List index out of bounds (%1)").arg(i));
  PointList[static_cast<std::size_t>(i)].Color = color;
  RequestRedraw();
}

void TPointSeries::SetPointY(int i, double y) {
  if (i < 0 || static_cast<std::size_t>(i) >= PointList.size())
    throw EError(QCoreApplication::translate("Messages", "List index out of bounds (%1)").arg(i));
  PointList[static_cast<std::size_t>(i)].Y = y;
  RequestRedraw();
}

int TPointSeries::HitTestPoint(int px, int py) const {
  const int horizSize = Owner.Mapping().Scaled(Marker.HorizSize);
  const int vertSize = Owner.Mapping().Scaled(Marker.VertSize);
  for (std::size_t i = 0; i < PointList.size(); ++i) {
    const std::int64_t x = Owner.ValueToPixelX(PointList[i].X);
    const std::int64_t y = Owner.ValueToPixelY(PointList[i].Y);
    const bool onMarker =
        Marker.Visible && std::llabs(px - x) < horizSize && std::llabs(py - y) < vertSize;
    if (onMarker || (px == x && py == y)) return static_cast<int>(i);
  }
  return -1;
}

void TPointSeries::RequestRedraw() {
  Owner.RequestRedraw();
}
