// The main picture: overlay order, the whole plot off screen, and the default view range.
#include "render/MainPicture.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "app/GuardedCall.h"
#include "engine/AnimationStep.h"
#include "plot/PlotSurface.h"
#include "plot/RasterCanvas.h"
#include "render/FieldArrows.h"

namespace {

constexpr TColor Black = ColorRGB(0, 0, 0);

int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

}  // namespace

void DrawMainOverlay(const TFieldView& plainView, const TSimulationState& state,
                     double pixelRatio) {
  const TFieldSimulation& field = state.FieldSimulation;
  // Fine points are placed about the disc's point, the newest node.
  TFieldView view = plainView;
  if (!view.Anchor && !field.Nodes.empty() && !field.Nodes[0].empty())
    view.Anchor = TVector2{field.Nodes[0][0].X, field.Nodes[0][0].Y};
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
  if (state.TrajectoryMode != tmMouse) {
    DrawTrajectory(view, state.PathGeneration, IsClosedPath(state.TrajectoryMode));
  }
  if (state.ShowFieldVectors) DrawFieldArrows(view, field, state.ISize, pixelRatio);
}

void DrawMainPicture(TCanvas& canvas, const TPlotMapping& mapping, double pixelRatio,
                     const TSimulationState& state) {
  const TPixelRect area = mapping.DrawArea;
  // The ground and the frame are filled boxes, the same at any ratio; everything after them takes
  // the ratio, the smoothing and a mapping that knows the ratio, as on the screen.
  canvas.PixelRatio = 1.0;
  canvas.Smooth = false;
  canvas.Pen.Color = Black;
  canvas.Brush.Color = Black;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Rectangle(area.Left, area.Top, area.Right, area.Bottom);
  DrawSurfaceFrame(canvas, TSurfaceKind::Main, area, ScaledPixels(1, pixelRatio));
  canvas.PixelRatio = pixelRatio;
  canvas.Smooth = state.SmoothLines;
  TPlotMapping scaled = mapping;
  scaled.PixelRatio = pixelRatio;

  const TVector2 charge = state.FieldSimulation.ChargePos;
  const std::int64_t x = mapping.ValueToPixelX(charge.X);
  const std::int64_t y = mapping.ValueToPixelY(charge.Y);
  const int half = ScaledPixels(ChargeMarkerHalfSize, pixelRatio);
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
  // As the plot's own buffer: every logical pixel covered, the last perhaps only in part.
  const auto side = [pixelRatio](int logical) {
    return std::max(1, static_cast<int>(std::ceil(logical * pixelRatio - 1e-9)));
  };
  return {side(logicalSize.width()), side(logicalSize.height())};
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
