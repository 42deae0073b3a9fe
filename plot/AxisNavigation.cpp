// SPDX-License-Identifier: GPL-3.0-or-later
// The axes moved by the user and by the program: rectangle zoom with undo, panning with the right
// button, the wheel's vertical shift, the clicks on the series' markers, and SetAxisRange.
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "app/GuardedCall.h"
#include "plot/PlotSurfaceImpl.h"

namespace {

// The pointer of a mouse event in the widget's logical pixels with their fractions: a widget's
// event has its position() rounded to whole logical pixels, the window's scenePosition() keeps
// them.
QPointF ExactPosition(const QWidget& widget, const QMouseEvent& event) {
  return event.scenePosition() - QPointF(widget.mapTo(widget.window(), QPoint(0, 0)));
}

// A zoom or pan never leaves an axis narrower than this (model units).
constexpr double MinimumSpan = 1e-10;
// A drag must be longer than this in both directions to zoom or undo (logical pixels).
constexpr int ZoomThreshold = 16;
// Share of the vertical span one wheel notch shifts the view by.
constexpr double WheelShare = 0.03;

bool Contains(const TPixelRect& r, int x, int y) {
  return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

// The axis set to the pair (a, b) in either order, at least MinimumSpan wide.
void SetOrderedPair(TAxis& axis, double a, double b) {
  const double low = std::min(a, b);
  const double high = std::max(a, b);
  axis.Automatic = false;
  axis.Minimum = low;
  axis.Maximum = high - low < MinimumSpan ? low + MinimumSpan : high;
}

}  // namespace

void TPlotSurface::TImpl::SaveRanges(TPlotSurface& s) {
  if (!s.Restored) return;
  s.Impl->SavedBottom = s.Bottom;
  s.Impl->SavedLeft = s.Left;
  s.Restored = false;
}

void TPlotSurface::TImpl::FinishZoom(TPlotSurface& s, QPoint from, QPoint to) {
  if (std::abs(to.x() - from.x()) <= ZoomThreshold || std::abs(to.y() - from.y()) <= ZoomThreshold)
    return;
  if (from.x() < to.x() && from.y() < to.y()) {
    SaveRanges(s);
    const QPoint a = s.ToDevice(from);
    const QPoint b = s.ToDevice(to);
    SetOrderedPair(s.Bottom, s.PixelToValueX(a.x()), s.PixelToValueX(b.x()));
    SetOrderedPair(s.Left, s.PixelToValueY(b.y()), s.PixelToValueY(a.y()));
    if (s.OnZoom) s.OnZoom(s);
  } else if (!s.Restored) {
    s.Bottom = s.Impl->SavedBottom;
    s.Left = s.Impl->SavedLeft;
    s.Restored = true;
  }
  s.RequestRedraw();
}

void TPlotSurface::TImpl::PanTo(TPlotSurface& s, QPoint toLogical) {
  const QPoint from = s.ToDevice(s.Impl->DragLast);
  const QPoint to = s.ToDevice(toLogical);
  if (to == from) return;
  SaveRanges(s);
  if (to.x() != from.x()) {
    const double d = s.PixelToValueX(from.x()) - s.PixelToValueX(to.x());
    SetOrderedPair(s.Bottom, s.Bottom.Minimum + d, s.Bottom.Maximum + d);
  }
  if (to.y() != from.y()) {
    const double d = s.PixelToValueY(from.y()) - s.PixelToValueY(to.y());
    SetOrderedPair(s.Left, s.Left.Minimum + d, s.Left.Maximum + d);
  }
  s.Impl->DragLast = toLogical;
  s.RequestRedraw();
}

void TPlotSurface::SetAxisRange(TAxisId axis, double min, double max) {
  TAxis& a = axis == TAxisId::Bottom ? Bottom : Left;
  if (a.Automatic) {
    a.Automatic = false;
    RequestRedraw();
  }
  if (min > a.Maximum) throw EError(QCoreApplication::translate("Messages", "Axis Minimum Value must be <= Maximum"));
  const double oldMinimum = a.Minimum;
  if (min != a.Minimum) {
    a.Minimum = min;
    RequestRedraw();
  }
  if (max < a.Minimum) {
    // Only an inverted pair gets here; the axis keeps the range it had.
    a.Minimum = oldMinimum;
    throw EError(QCoreApplication::translate("Messages", "Axis Maximum Value must be >= Minimum"));
  }
  if (max != a.Maximum) {
    a.Maximum = max;
    RequestRedraw();
  }
}

void TPlotSurface::mousePressEvent(QMouseEvent* event) {
  Impl->HeldPointer = ExactPosition(*this, *event);
  Guarded([&] {
    const QPoint p = event->position().toPoint();
    const QPoint d = ToDevice(event->position());
    // The series drawn last lies on top: it gets the click first.
    TPointSeries* const series[] = {SecondSeries.get(), FirstSeries.get()};
    for (TPointSeries* s : series) {
      if (!s) continue;
      const int index = s->HitTestPoint(d.x(), d.y());
      if (index < 0) continue;
      if (s->OnClick) {
        s->OnClick(*s, index, event->button(), event->modifiers(), d.x(), d.y());
        return;
      }
      break;
    }
    if (Impl->Drag != TImpl::TDrag::None || !Contains(CurrentMapping.PlotRect, d.x(), d.y()))
      return;
    if (event->button() == Qt::LeftButton && AllowZoom) {
      Impl->Drag = TImpl::TDrag::Zoom;
      Impl->DragStart = Impl->DragLast = p;
      update();
    } else if (event->button() == Qt::RightButton) {
      Impl->Drag = TImpl::TDrag::Pan;
      Impl->DragLast = p;
    }
  });
}

void TPlotSurface::mouseMoveEvent(QMouseEvent* event) {
  if (Impl->HeldPointer) Impl->HeldPointer = ExactPosition(*this, *event);
  Guarded([&] {
    const QPoint p = event->position().toPoint();
    if (Impl->Drag == TImpl::TDrag::Zoom) {
      if (p != Impl->DragLast) {
        // Only where the old and the new band lie needs a new copy of the buffer.
        // A pixel to spare: at a fractional ratio the band's device pixels reach a little
        // beyond its logical ones.
        const QRect before = QRect(Impl->DragStart, Impl->DragLast).normalized();
        Impl->DragLast = p;
        update(before.united(QRect(Impl->DragStart, p).normalized()).adjusted(-1, -1, 1, 1));
      }
    } else if (Impl->Drag == TImpl::TDrag::Pan) {
      const QPoint d = ToDevice(event->position());
      if (!Contains(CurrentMapping.PlotRect, d.x(), d.y())) {
        Impl->Drag = TImpl::TDrag::None;
        return;
      }
      TImpl::PanTo(*this, p);
    }
  });
}

void TPlotSurface::mouseReleaseEvent(QMouseEvent* event) {
  if (event->buttons() == Qt::NoButton) Impl->HeldPointer.reset();
  Guarded([&] {
    const QPoint p = event->position().toPoint();
    // The drag ends before the handler runs, so that an error in it leaves no rubber band behind.
    const bool zoomPending = Impl->Drag == TImpl::TDrag::Zoom && event->button() == Qt::LeftButton;
    const QPoint start = Impl->DragStart;
    if (Impl->Drag == TImpl::TDrag::Pan || zoomPending) Impl->Drag = TImpl::TDrag::None;
    if (zoomPending) update();
    const QPoint d = ToDevice(event->position());
    if (OnMouseUp) OnMouseUp(*this, event->button(), d.x(), d.y());
    if (zoomPending) TImpl::FinishZoom(*this, start, p);
  });
}

void TPlotSurface::wheelEvent(QWheelEvent* event) {
  Guarded([&] {
    event->accept();
    Impl->WheelRemainder += event->angleDelta().y();
    const int notches = Impl->WheelRemainder / 120;
    Impl->WheelRemainder -= notches * 120;
    if (notches == 0) return;
    // A notch toward the user (negative delta) adds the shift to both ends, away subtracts it.
    for (int n = 0; n < std::abs(notches); ++n) {
      const double shift = WheelShare * (Left.Maximum - Left.Minimum);
      const double signedShift = notches > 0 ? -shift : shift;
      Left.Minimum += signedShift;
      Left.Maximum += signedShift;
    }
    Left.Automatic = false;
    RequestRedraw();
  });
}
