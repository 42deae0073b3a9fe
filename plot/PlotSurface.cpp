// SPDX-License-Identifier: GPL-3.0-or-later
// The plot surface as a widget: configuration per kind, the device pixel ratio, the redraw into
// the off-screen buffer and its paint with the rubber band over it.
#include "plot/PlotSurface.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "app/GuardedCall.h"
#include "canvas/RasterCanvas.h"
#include "plot/ImageBuffer.h"
#include "plot/PlotSurfaceImpl.h"

namespace {

constexpr TColor Red = ColorRGB(255, 0, 0);
constexpr TColor Aqua = ColorRGB(0, 255, 255);

}  // namespace

TPlotSurface::TPlotSurface(TSurfaceKind kind, QWidget* parent)
    : QWidget(parent),
      Impl(std::make_unique<TImpl>()),
      Kind(kind),
      FirstSeries(std::make_unique<TPointSeries>(*this)) {
  setObjectName(QStringLiteral("Chart1"));
  // Every paint covers the whole surface from the buffer: nothing to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  AllowZoom = kind != TSurfaceKind::Zoom;
  TMarker& marker = FirstSeries->Marker;
  switch (kind) {
    case TSurfaceKind::Main:
      marker.Style = TMarkerStyle::Circle;
      marker.HorizSize = marker.VertSize = 7;
      marker.PenColor = Red;
      marker.BrushColor = ColorRGB(255, 0, 128);
      break;
    case TSurfaceKind::Zoom:
      marker.Visible = false;
      break;
    case TSurfaceKind::Pattern: {
      marker.Style = TMarkerStyle::Circle;
      marker.HorizSize = marker.VertSize = 4;
      marker.PenColor = Red;
      SecondSeries = std::make_unique<TPointSeries>(*this);
      SecondSeries->DrawLine = true;
      SecondSeries->LineColor = Aqua;
      SecondSeries->Marker.Style = TMarkerStyle::Rectangle;
      break;
    }
  }
}

TPlotSurface::~TPlotSurface() = default;

QPoint TPlotSurface::CursorPosition() const {
  // At 1.5 or 2 a logical pixel is not one device pixel: the cursor's position rounded to whole
  // logical pixels would put a dragged charge a device pixel beside the pointer.
  if (Impl->HeldPointer) return ToDevice(*Impl->HeldPointer);
  return ToDevice(mapFromGlobal(QPointF(QCursor::pos())));
}

QPoint TPlotSurface::ToDevice(QPointF logical) const {
  // The pixel the point lies in; the small allowance keeps an exact product (2 x 1.5) from
  // falling to the pixel before by a rounding error.
  const double ratio = CurrentMapping.PixelRatio;
  const auto device = [ratio](double v) {
    const double d = std::floor(v * ratio + 1e-9);
    return static_cast<int>(std::clamp(d, -2147483647.0, 2147483647.0));
  };
  return {device(logical.x()), device(logical.y())};
}

void TPlotSurface::SetDevicePixelRatio(double ratio) {
  if (ratio != 0.0 && !(ratio >= 0.25 && ratio <= 16.0))
    throw EError(
        QCoreApplication::translate("Messages", "The device pixel ratio must lie between 0.25 and 16 (not %1)")
            .arg(ratio));
  if (ratio == RatioOverride) return;
  RatioOverride = ratio;
  RequestRedraw();
}

double TPlotSurface::DevicePixelRatio() const {
  if (RatioOverride > 0.0) return RatioOverride;
  const double screen = devicePixelRatioF();
  return screen >= 0.25 && screen <= 16.0 ? screen : 1.0;
}

void TPlotSurface::RequestRedraw() {
  Dirty = true;
  update();
}

std::optional<QRect> TPlotSurface::RubberBand() const {
  if (Impl->Drag != TImpl::TDrag::Zoom) return std::nullopt;
  return QRect(Impl->DragStart, Impl->DragLast).normalized();
}

void TPlotSurface::FlushRedraw() {
  if (!Dirty) return;
  // Clean before drawing: a request made by a handler during this redraw must stay pending.
  Dirty = false;
  const double ratio = DevicePixelRatio();
  // Every logical pixel is covered, the last ones perhaps only in part at a fractional ratio.
  const QSize device(static_cast<int>(std::ceil(width() * ratio - 1e-9)),
                     static_cast<int>(std::ceil(height() * ratio - 1e-9)));
  if (BufferImage.size() != device) BufferImage = QImage(device, QImage::Format_RGB32);
  BufferImage.setDevicePixelRatio(ratio);
  TRasterCanvas canvas(PixelBufferOf(BufferImage));
  TImpl::Draw(*this, canvas, {0, 0, device.width(), device.height()}, ratio);
  if (OnRedrawn) OnRedrawn(*this);
}

void TPlotSurface::paintEvent(QPaintEvent*) {
  Guarded([&] { FlushRedraw(); });
  Guarded([&] {
    QPainter painter(this);
    painter.drawImage(QPointF(0.0, 0.0), BufferImage);
    if (const std::optional<QRect> band = RubberBand(); band && !BufferImage.isNull()) {
      // The band inverts the picture under it: drawn twice, it is gone. Its edges are one logical
      // pixel wide, cut from the device pixels of the buffer.
      const double ratio = BufferImage.devicePixelRatio();
      const QRect r = *band;
      const int left = static_cast<int>(std::floor(r.left() * ratio));
      const int top = static_cast<int>(std::floor(r.top() * ratio));
      const int right = static_cast<int>(std::ceil((r.right() + 1) * ratio));
      const int bottom = static_cast<int>(std::ceil((r.bottom() + 1) * ratio));
      const int line = ScaledPixels(1, ratio);
      const int inner = std::max(bottom - top - 2 * line, 0);
      const QRect edges[] = {{left, top, right - left, line},
                             {left, bottom - line, right - left, line},
                             {left, top + line, line, inner},
                             {right - line, top + line, line, inner}};
      for (const QRect& edge : edges) {
        const QRect inside = edge.intersected(BufferImage.rect());
        if (inside.isEmpty()) continue;
        QImage strip = BufferImage.copy(inside);
        strip.invertPixels();
        strip.setDevicePixelRatio(ratio);
        painter.drawImage(QPointF(inside.topLeft()) / ratio, strip);
      }
    }
  });
}

void TPlotSurface::resizeEvent(QResizeEvent*) {
  Guarded([&] { RequestRedraw(); });
}
