// SPDX-License-Identifier: GPL-3.0-or-later
// The main picture: overlay order, the whole plot off screen, and the default view range.
#include "render/MainPicture.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <utility>

#include "canvas/RasterCanvas.h"
#include "canvas/SurfaceFrame.h"
#include "engine/AnimationStep.h"
#include "render/Caption.h"
#include "render/FieldArrows.h"
#include "render/ObserverMarker.h"
#include "render/Palette.h"

namespace {

int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

}  // namespace

void DrawMainOverlay(const TFieldView& plainView, const TSimulationState& state,
                     const TDisplaySettings& display, double pixelRatio,
                     const TPictureWords& words) {
  const TFieldSimulation& field = state.FieldSimulation;
  // Fine points are placed about the disc's point, the newest node.
  TFieldView view = plainView;
  view.Theme = display.Theme;
  if (!view.Anchor && !field.Nodes.empty() && !field.Nodes[0].empty())
    view.Anchor = TVector2{field.Nodes[0][0].X, field.Nodes[0][0].Y};
  if (display.ShowFieldLines) {
    DrawFieldLines(view, field, state.ISize, state.JSize);
    // The disc marks the newest node of line 0: where the charge emitted this tick.
    if (!field.Nodes.empty() && !field.Nodes[0].empty()) {
      const TFieldNode& newest = field.Nodes[0][0];
      DrawChargeDisc(view.Canvas, view.Mapping.ValueToPixelX(newest.X - view.Origin.X),
                     view.Mapping.ValueToPixelY(newest.Y - view.Origin.Y));
    }
  }
  if (display.ShowWaveFronts) DrawWavefronts(view, field, state.ISize, state.JSize);
  if (display.ShowNodePoints) DrawNodePoints(view, field, state.ISize, state.JSize);
  if (state.TrajectoryMode != tmMouse) {
    DrawTrajectory(view, state.PathGeneration, IsClosedPath(state.TrajectoryMode));
  }
  view.Canvas.Pen.Width = 1.0;
  if (display.ShowFieldVectors) DrawFieldArrows(view, field, state.ISize, pixelRatio);
  // The eye over the field, under the caption's panels.
  DrawObserverMarker(view, state, display.Observer);
  DrawCaption(view.Canvas, view.Mapping, state, display, words, pixelRatio);
}

void DrawMainPicture(TCanvas& canvas, const TPlotMapping& mapping, double pixelRatio,
                     const TSimulationState& state, const TDisplaySettings& display,
                     const TPictureWords& words) {
  const TPixelRect area = mapping.DrawArea;
  // The ground and the frame are filled boxes, the same at any ratio; everything after them takes
  // the ratio, the smoothing and a mapping that knows the ratio, as on the screen.
  canvas.PixelRatio = 1.0;
  canvas.Smooth = false;
  canvas.Pen.Color = PaletteOf(display.Theme).Ground;
  canvas.Brush.Color = PaletteOf(display.Theme).Ground;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Rectangle(area.Left, area.Top, area.Right, area.Bottom);
  DrawSurfaceFrame(canvas, TSurfaceKind::Main, area, ScaledPixels(1, pixelRatio));
  canvas.PixelRatio = pixelRatio;
  canvas.Smooth = display.SmoothLines;
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
  const TFieldView view{canvas, scaled, TVector2{}, display.PlotResolution};
  DrawMainOverlay(view, state, display, pixelRatio, words);
}

TMainRange DefaultMainRange(TPictureSize size) {
  const double aspect =
      size.Width > 0 && size.Height > 0 ? static_cast<double>(size.Height) / size.Width : 0.5;
  TMainRange range;
  range.Horizontal = {false, -ModelWidth / 2, ModelWidth / 2};
  range.Vertical = {false, -aspect * ModelWidth / 2, aspect * ModelWidth / 2};
  return range;
}

TPlotMapping MainPictureMapping(TPictureSize pixels, const TMainRange& range) {
  TPlotMapping mapping;
  mapping.DrawArea = {0, 0, pixels.Width, pixels.Height};
  mapping.PlotRect = mapping.DrawArea;
  mapping.Horizontal = range.Horizontal;
  mapping.Vertical = range.Vertical;
  return mapping;
}

TPictureSize DevicePixelsOf(TPictureSize logicalSize, double pixelRatio) {
  // As the plot's own buffer: every logical pixel covered, the last perhaps only in part. A side
  // beyond an int stays at the largest one, which no memory holds, and is refused as such.
  const auto side = [pixelRatio](int logical) {
    const double device = std::ceil(logical * pixelRatio - 1e-9);
    return static_cast<int>(std::clamp(device, 1.0, 2147483647.0));
  };
  return {side(logicalSize.Width), side(logicalSize.Height)};
}

TRefusal PictureTooLarge(TPictureSize pixels) {
  TRefusal refusal;
  refusal.Code = TRefusalCode::PictureTooLarge;
  refusal.Values = {TRefusalValue::OfCount(pixels.Width), TRefusalValue::OfCount(pixels.Height)};
  return refusal;
}

void RenderMainPictureInto(const TPixelBuffer& buffer, const TSimulationState& state,
                           const TDisplaySettings& display, double pixelRatio,
                           const TMainRange& range, const TPictureWords& words) {
  TRasterCanvas canvas(buffer);
  DrawMainPicture(canvas, MainPictureMapping(TPictureSize{buffer.Width, buffer.Height}, range),
                  pixelRatio, state, display, words);
}

TRefusal RenderMainPicture(TMainPictureFrame& frame, const TSimulationState& state,
                           const TDisplaySettings& display, TPictureSize logicalSize,
                           double pixelRatio, const TMainRange& range, TByteOrder order,
                           const TPictureWords& words) {
  const TPictureSize pixels = DevicePixelsOf(logicalSize, pixelRatio);
  frame = TMainPictureFrame{};
  // Four bytes a pixel must be countable in a size_t and addressable with the canvas's strides;
  // beyond that, or where the allocator has no memory left, the picture is refused rather than
  // the program aborted.
  const auto count =
      static_cast<std::uint64_t>(pixels.Width) * static_cast<std::uint64_t>(pixels.Height);
  constexpr std::uint64_t MostBytes = std::min<std::uint64_t>(
      std::numeric_limits<std::size_t>::max(), std::numeric_limits<std::ptrdiff_t>::max());
  if (count > MostBytes / sizeof(std::uint32_t)) return PictureTooLarge(pixels);
  std::unique_ptr<std::uint32_t[]> memory(new (std::nothrow)
                                              std::uint32_t[static_cast<std::size_t>(count)]);
  if (!memory) return PictureTooLarge(pixels);
  frame.Size = pixels;
  frame.Order = order;
  frame.Pixels = std::move(memory);
  RenderMainPictureInto(frame.Buffer(), state, display, pixelRatio, range, words);
  return {};
}
