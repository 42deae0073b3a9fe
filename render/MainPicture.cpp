// The main picture: overlay order, the whole plot off screen, and the default view range.
#include "render/MainPicture.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "app/GuardedCall.h"
#include "plot/RasterCanvas.h"
#include "render/FieldArrows.h"

namespace {

constexpr TColor Black = ColorRGB(0, 0, 0);
// The main plot's frame: a grey border, then a sunken bevel inside it.
constexpr TColor BorderGrey = ColorRGB(160, 160, 160);
constexpr TColor BevelShadow = ColorRGB(64, 64, 64);
constexpr TColor BevelHighlight = ColorRGB(255, 255, 255);

int Scaled(int logicalPixels, double pixelRatio) {
  return std::max(1, static_cast<int>(std::lround(logicalPixels * pixelRatio)));
}

int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

// One-pixel ring just inside r: left and top edges in one colour, right and bottom in the other.
void DrawRing(TCanvas& canvas, const TPixelRect& r, TColor topLeft, TColor bottomRight) {
  if (r.Right - r.Left < 1 || r.Bottom - r.Top < 1) return;
  canvas.Pen.Color = topLeft;
  canvas.MoveTo(r.Left, r.Bottom - 1);
  canvas.LineTo(r.Left, r.Top);
  canvas.LineTo(r.Right, r.Top);
  canvas.Pen.Color = bottomRight;
  canvas.MoveTo(r.Right - 1, r.Top + 1);
  canvas.LineTo(r.Right - 1, r.Bottom - 1);
  canvas.LineTo(r.Left, r.Bottom - 1);
}

// The border and the bevel, each one logical pixel wide.
void DrawMainFrame(TCanvas& canvas, const TPixelRect& area, double pixelRatio) {
  const int width = Scaled(1, pixelRatio);
  TPixelRect r = area;
  const auto ring = [&](TColor topLeft, TColor bottomRight) {
    for (int i = 0; i < width; ++i) {
      DrawRing(canvas, r, topLeft, bottomRight);
      r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
  };
  ring(BorderGrey, BorderGrey);
  ring(BevelShadow, BevelHighlight);
}

}  // namespace

void DrawMainOverlay(const TFieldView& view, const TSimulationState& state, double pixelRatio) {
  const TFieldSimulation& field = state.FieldSimulation;
  if (state.ShowFieldLines) {
    DrawFieldLines(view, field, state.ISize, state.JSize);
    // The disc marks the newest node of line 0: where the charge emitted this tick.
    if (!field.Nodes.empty() && !field.Nodes[0].empty()) {
      const TFieldNode& newest = field.Nodes[0][0];
      DrawChargeDisc(view.Canvas, view.Mapping.ValueToPixelX(newest.X - view.Origin.X),
                     view.Mapping.ValueToPixelY(newest.Y - view.Origin.Y));
    }
  }
  if (state.ShowWaveFronts) DrawWavefronts(view, field, state.ISize, state.JSize);
  if (state.ShowNodePoints) DrawNodePoints(view, field, state.ISize, state.JSize);
  if (state.TrajectoryMode != tmMouse) DrawTrajectory(view, state.PathGeneration);
  if (state.ShowFieldVectors) DrawFieldArrows(view, field, state.ISize, pixelRatio);
}

void DrawMainPicture(TCanvas& canvas, const TPlotMapping& mapping, double pixelRatio,
                     const TSimulationState& state) {
  const TPixelRect area = mapping.DrawArea;
  // The frame's rings are one canvas pixel each; everything after it takes the ratio, the
  // smoothing and a mapping that knows the ratio, as on the screen.
  canvas.PixelRatio = 1.0;
  canvas.Smooth = false;
  canvas.Pen.Color = Black;
  canvas.Brush.Color = Black;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Rectangle(area.Left, area.Top, area.Right, area.Bottom);
  DrawMainFrame(canvas, area, pixelRatio);
  canvas.PixelRatio = pixelRatio;
  canvas.Smooth = state.SmoothLines;
  TPlotMapping scaled = mapping;
  scaled.PixelRatio = pixelRatio;

  const TVector2 charge = state.FieldSimulation.ChargePos;
  const std::int64_t x = mapping.ValueToPixelX(charge.X);
  const std::int64_t y = mapping.ValueToPixelY(charge.Y);
  const int half = Scaled(ChargeMarkerHalfSize, pixelRatio);
  canvas.Pen.Color = ChargeMarkerPen;
  canvas.Brush.Color = ChargeMarkerBrush;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Ellipse(ClampToInt(x - half), ClampToInt(y - half), ClampToInt(x + half),
                 ClampToInt(y + half));

  canvas.Reset();
  const TFieldView view{canvas, scaled, TVector2{}, state.PlotResolution};
  DrawMainOverlay(view, state, pixelRatio);
}

TMainRange DefaultMainRange(QSize size) {
  const double aspect =
      size.width() > 0 && size.height() > 0 ? static_cast<double>(size.height()) / size.width()
                                            : 0.5;
  TMainRange range;
  range.Horizontal = {false, -ModelWidth / 2, ModelWidth / 2};
  range.Vertical = {false, -aspect * ModelWidth / 2, aspect * ModelWidth / 2};
  return range;
}

TPlotMapping MainPictureMapping(QSize pixels, const TMainRange& range) {
  TPlotMapping mapping;
  mapping.DrawArea = {0, 0, pixels.width(), pixels.height()};
  mapping.PlotRect = mapping.DrawArea;
  mapping.Horizontal = range.Horizontal;
  mapping.Vertical = range.Vertical;
  return mapping;
}

QSize DevicePixelsOf(QSize logicalSize, double pixelRatio) {
  return {Scaled(logicalSize.width(), pixelRatio), Scaled(logicalSize.height(), pixelRatio)};
}

QImage RenderMainPicture(const TSimulationState& state, QSize logicalSize, double pixelRatio,
                         const TMainRange& range) {
  const QSize pixels = DevicePixelsOf(logicalSize, pixelRatio);
  QImage image(pixels, QImage::Format_RGB32);
  if (image.isNull()) {
    throw EError(QStringLiteral("Not enough memory for a picture of %1 x %2 pixels")
                     .arg(pixels.width())
                     .arg(pixels.height()));
  }
  image.setDevicePixelRatio(pixelRatio);
  TRasterCanvas canvas(image);
  DrawMainPicture(canvas, MainPictureMapping(pixels, range), pixelRatio, state);
  return image;
}
