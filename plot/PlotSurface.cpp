// The plot surface: configuration per kind, the redraw into the off-screen buffer (and onto a
// printed page), series markers, rectangle zoom with undo, panning, the wheel and printing.
#include "plot/PlotSurface.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "app/FileWriting.h"
#include "app/GuardedCall.h"
#include "plot/PainterCanvas.h"
#include "plot/RasterCanvas.h"

namespace {

constexpr TColor Black = ColorRGB(0, 0, 0);
constexpr TColor Red = ColorRGB(255, 0, 0);
constexpr TColor Aqua = ColorRGB(0, 255, 255);
constexpr TColor AxisBlue = ColorRGB(0, 0, 255);
constexpr TColor GridGrey = ColorRGB(128, 128, 128);
constexpr TColor BorderGrey = ColorRGB(160, 160, 160);
constexpr TColor BevelShadow = ColorRGB(64, 64, 64);
constexpr TColor BevelHighlight = ColorRGB(255, 255, 255);

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
// Room between labels of the bottom axis, whose grid lines lie halfway between them (logical
// pixels).
constexpr double LabelSpacing = 60.0;
// Share of the page width left free on each side of a printed chart.
constexpr double PrintMargin = 0.15;

bool Contains(const TPixelRect& r, int x, int y) {
  return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

// The pixels x1 .. x2-1, y1 .. y2-1 in one colour.
void FillBox(TCanvas& canvas, int x1, int y1, int x2, int y2, TColor color) {
  canvas.Pen.Color = color;
  canvas.Brush.Color = color;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Rectangle(x1, y1, x2, y2);
}

// Frame of width pixels just inside r: the left and top edges in one colour, right and bottom in
// the other (the bottom-left and top-right corners go to the top-left colour).
void DrawFrame(TCanvas& canvas, const TPixelRect& r, int width, TColor topLeft,
               TColor bottomRight) {
  if (r.Right - r.Left < 1 || r.Bottom - r.Top < 1) return;
  FillBox(canvas, r.Left, r.Top, r.Right, r.Top + width, topLeft);
  FillBox(canvas, r.Left, r.Top, r.Left + width, r.Bottom, topLeft);
  FillBox(canvas, r.Right - width, r.Top + width, r.Right, r.Bottom, bottomRight);
  FillBox(canvas, r.Left + width, r.Bottom - width, r.Right, r.Bottom, bottomRight);
}

TPixelRect Inset(TPixelRect r, int by) {
  return {r.Left + by, r.Top + by, r.Right - by, r.Bottom - by};
}

// The axis set to the pair (a, b) in either order, at least MinimumSpan wide.
void SetOrderedPair(TAxis& axis, double a, double b) {
  const double low = std::min(a, b);
  const double high = std::max(a, b);
  axis.Automatic = false;
  axis.Minimum = low;
  axis.Maximum = high - low < MinimumSpan ? low + MinimumSpan : high;
}

// Label increment of the bottom axis: the smallest 1, 2 or 5 times a power of ten that keeps
// labels LabelSpacing pixels apart; 0 where the axis has no usable labels.
double LabelStep(double range, double pixels) {
  if (!(range > 0.0) || !std::isfinite(range) || pixels < 1.0) return 0.0;
  const double raw = range * LabelSpacing / pixels;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double factor : {1.0, 2.0, 5.0, 10.0})
    if (factor * power >= raw) return factor * power;
  return 10.0 * power;
}

// Qt's PDF printer writes its file without telling of a write that failed: a full disk leaves a
// PDF cut short, known by its missing end-of-file marker.
bool PdfIsComplete(const QString& path) {
  QFile file(path);
  constexpr qint64 TailBytes = 32;
  if (!file.open(QIODevice::ReadOnly) || file.size() < TailBytes) return false;
  if (!file.seek(file.size() - TailBytes)) return false;
  return file.read(TailBytes).trimmed().endsWith("%%EOF");
}

}  // namespace

void DrawSurfaceFrame(TCanvas& canvas, TSurfaceKind kind, const TPixelRect& area, int line) {
  if (kind == TSurfaceKind::Pattern) {
    DrawFrame(canvas, area, line, BevelShadow, BevelHighlight);
  } else {
    DrawFrame(canvas, area, line, BorderGrey, BorderGrey);
    DrawFrame(canvas, Inset(area, line), line, BevelShadow, BevelHighlight);
  }
}

// ---------------------------------------------------------------------------------------------
// Series

int TPointSeries::AddPoint(double x, double y, TColor color) {
  PointList.push_back({x, y, color});
  RequestRedraw();
  return static_cast<int>(PointList.size()) - 1;
}

void TPointSeries::SetPointX(int i, double x) {
  if (i < 0 || static_cast<std::size_t>(i) >= PointList.size())
    throw EError(QStringLiteral("List index out of bounds (%1)").arg(i));
  PointList[static_cast<std::size_t>(i)].X = x;
  RequestRedraw();
}

void TPointSeries::SetPointY(int i, double y) {
  if (i < 0 || static_cast<std::size_t>(i) >= PointList.size())
    throw EError(QStringLiteral("List index out of bounds (%1)").arg(i));
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

// ---------------------------------------------------------------------------------------------
// Surface

struct TPlotSurface::TImpl {
  enum class TDrag { None, Zoom, Pan };
  TDrag Drag = TDrag::None;
  QPoint DragStart;        // zoom: the press pixel
  QPoint DragLast;         // zoom: the cursor; pan: the last pixel that moved the view
  int WheelRemainder = 0;  // eighths of a degree not yet making up a notch
  // Where the pointer is while a button pressed on the surface is held, as its last event gave
  // it, in logical pixels with their fractions.
  std::optional<QPointF> HeldPointer;
  TAxis SavedBottom;
  TAxis SavedLeft;

  // PlotRect within the rectangle the surface is drawn into: all of it, less the axis lines of
  // the pattern window (the first columns and the last rows, one logical pixel).
  static TPixelRect Layout(TSurfaceKind kind, const TPixelRect& area, int line) {
    TPixelRect r = area;
    if (kind == TSurfaceKind::Pattern) {
      r.Left += line;
      r.Bottom -= line;
    }
    return r;
  }

  static void DrawAxes(TPlotSurface& s, TCanvas& canvas) {
    const TPixelRect r = s.CurrentMapping.PlotRect;
    if (r.Right - r.Left < 1 || r.Bottom - r.Top < 1) return;
    const int line = s.CurrentMapping.Scaled(1);
    // Vertical grid lines, dotted (one logical pixel on, one off), halfway between the labels of
    // the bottom axis.
    const TAxis& axis = s.CurrentMapping.Horizontal;
    const double step =
        LabelStep(axis.Maximum - axis.Minimum, (r.Right - r.Left) / s.CurrentMapping.PixelRatio);
    if (step > 0.0) {
      const double first = std::ceil(axis.Minimum / step - 0.5) + 0.5;
      // Counted, not stepped in double: far from 0 adding 1 to k may change nothing.
      for (int n = 0; n < 1000; ++n) {
        const double value = (first + n) * step;
        if (!(value <= axis.Maximum)) break;
        const int x = s.ValueToPixelX(value);
        if (x <= r.Left || x >= r.Right) continue;
        for (int y = r.Top; y < r.Bottom; y += 2 * line)
          FillBox(canvas, x, y, x + line, std::min(y + line, r.Bottom), GridGrey);
      }
    }
    FillBox(canvas, r.Left - line, r.Top, r.Left, r.Bottom, AxisBlue);
    FillBox(canvas, r.Left - line, r.Bottom, r.Right, r.Bottom + line, AxisBlue);
  }

  static void DrawSeries(TPlotSurface& s, TCanvas& canvas, const TPointSeries& series) {
    const std::vector<TSeriesPoint>& points = series.Points();
    if (series.DrawLine && !points.empty()) {
      canvas.Pen.Color = series.LineColor;
      canvas.MoveTo(s.ValueToPixelX(points[0].X), s.ValueToPixelY(points[0].Y));
      for (std::size_t i = 1; i < points.size(); ++i)
        canvas.LineTo(s.ValueToPixelX(points[i].X), s.ValueToPixelY(points[i].Y));
    }
    if (!series.Marker.Visible) return;
    const TMarker& marker = series.Marker;
    const int horizSize = s.CurrentMapping.Scaled(marker.HorizSize);
    const int vertSize = s.CurrentMapping.Scaled(marker.VertSize);
    for (const TSeriesPoint& point : points) {
      const std::int64_t x = s.ValueToPixelX(point.X);
      const std::int64_t y = s.ValueToPixelY(point.Y);
      canvas.Pen.Color = marker.PenColor.value_or(point.Color);
      canvas.Brush.Color = marker.BrushColor.value_or(point.Color);
      canvas.Brush.Style = TBrushStyle::Solid;
      const int x1 = ClampToInt(x - horizSize), x2 = ClampToInt(x + horizSize);
      const int y1 = ClampToInt(y - vertSize), y2 = ClampToInt(y + vertSize);
      if (marker.Style == TMarkerStyle::Circle)
        canvas.Ellipse(x1, y1, x2, y2);
      else
        canvas.Rectangle(x1, y1, x2, y2);
    }
  }

  // The whole picture into area, ratio pixels to the logical pixel: mappings first, so that
  // everything after them, OnAfterDraw included, sees this redraw's ranges and rectangle.
  static void Draw(TPlotSurface& s, TCanvas& canvas, const TPixelRect& area, double ratio) {
    s.CurrentMapping.PixelRatio = ratio;
    const int line = s.CurrentMapping.Scaled(1);
    s.CurrentMapping.DrawArea = area;
    s.CurrentMapping.PlotRect = Layout(s.Kind, area, line);
    s.CurrentMapping.Horizontal = s.Bottom;
    s.CurrentMapping.Vertical = s.Left;
    canvas.PixelRatio = ratio;
    canvas.Smooth = s.SmoothLines;

    canvas.Pen.Color = Black;
    canvas.Brush.Color = Black;
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Rectangle(area.Left, area.Top, area.Right, area.Bottom);
    DrawSurfaceFrame(canvas, s.Kind, area, line);
    if (s.Kind == TSurfaceKind::Pattern) DrawAxes(s, canvas);
    DrawSeries(s, canvas, *s.FirstSeries);
    if (s.SecondSeries) DrawSeries(s, canvas, *s.SecondSeries);
    canvas.Reset();
    if (s.OnAfterDraw) s.OnAfterDraw(s, canvas);
  }

  static void SaveRanges(TPlotSurface& s) {
    if (!s.Restored) return;
    s.Impl->SavedBottom = s.Bottom;
    s.Impl->SavedLeft = s.Left;
    s.Restored = false;
  }

  // from and to in logical pixels: the threshold is a distance on the screen.
  static void FinishZoom(TPlotSurface& s, QPoint from, QPoint to) {
    if (std::abs(to.x() - from.x()) <= ZoomThreshold ||
        std::abs(to.y() - from.y()) <= ZoomThreshold)
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

  // to in logical pixels, like DragLast.
  static void PanTo(TPlotSurface& s, QPoint toLogical) {
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
};

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

void TPlotSurface::SetAxisRange(TAxisId axis, double min, double max) {
  TAxis& a = axis == TAxisId::Bottom ? Bottom : Left;
  if (a.Automatic) {
    a.Automatic = false;
    RequestRedraw();
  }
  if (min > a.Maximum) throw EError(std::string("Axis Minimum Value must be <= Maximum"));
  const double oldMinimum = a.Minimum;
  if (min != a.Minimum) {
    a.Minimum = min;
    RequestRedraw();
  }
  if (max < a.Minimum) {
    // Only an inverted pair gets here; the axis keeps the range it had.
    a.Minimum = oldMinimum;
    throw EError(std::string("Axis Maximum Value must be >= Minimum"));
  }
  if (max != a.Maximum) {
    a.Maximum = max;
    RequestRedraw();
  }
}

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
        QStringLiteral("The device pixel ratio must lie between 0.25 and 16 (not %1)").arg(ratio));
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
  TRasterCanvas canvas(BufferImage);
  TImpl::Draw(*this, canvas, {0, 0, device.width(), device.height()}, ratio);
  if (OnRedrawn) OnRedrawn(*this);
}

void TPlotSurface::PrintChart(QPrinter& printer) {
  printer.setDocName(objectName());
  const TPlotMapping screen = CurrentMapping;
  QPainter painter;
  if (!painter.begin(&printer)) throw EError(std::string("The printer could not be started"));
  try {
    // The chart keeps the surface's proportions, PrintMargin of the page free on either side and
    // at least as much above and below. The painter's coordinates are scaled so that the chart is
    // exactly as many units wide and high as the surface has pixels: the page carries the screen's
    // picture, markers, charge disc and bevel at their on-screen proportions, in vector form.
    const double deviceWidth = painter.device()->width();
    const double deviceHeight = painter.device()->height();
    const int w = std::max(width(), 1);
    const int h = std::max(height(), 1);
    const double aspect = static_cast<double>(h) / w;
    double chartWidth = deviceWidth * (1.0 - 2.0 * PrintMargin);
    if (chartWidth * aspect > deviceHeight * (1.0 - 2.0 * PrintMargin))
      chartWidth = deviceHeight * (1.0 - 2.0 * PrintMargin) / aspect;
    const double scale = chartWidth / w;  // device pixels per surface pixel
    const int pageWidth = static_cast<int>(std::lround(deviceWidth / scale));
    const int pageHeight = static_cast<int>(std::lround(deviceHeight / scale));
    painter.setWindow(0, 0, pageWidth, pageHeight);
    const int left = (pageWidth - w) / 2;
    const int top = static_cast<int>(std::lround(pageHeight * PrintMargin));
    const TPixelRect page{left, top, left + w, top + h};
    TPainterCanvas canvas(painter, QRect(left, top, w, h));
    TImpl::Draw(*this, canvas, page, 1.0);
    canvas.Flush();
    painter.end();
  } catch (...) {
    CurrentMapping = screen;
    printer.abort();
    if (painter.isActive()) painter.end();
    // A file printer cannot abort: what it wrote is a page drawn in part, which must not be
    // left behind as if it were the picture.
    if (!printer.outputFileName().isEmpty()) RemovePartialFile(printer.outputFileName());
    throw;
  }
  CurrentMapping = screen;
  const QString path = printer.outputFileName();
  if (!path.isEmpty() && printer.outputFormat() == QPrinter::PdfFormat && !PdfIsComplete(path)) {
    RemovePartialFile(path);
    throw EError(
        QCoreApplication::translate("Messages", "Could not print to \"%1\": %2")
            .arg(QDir::toNativeSeparators(path),
                 QCoreApplication::translate("Messages", "the file could not be written in full")));
  }
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
