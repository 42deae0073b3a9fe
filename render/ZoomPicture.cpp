// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/ZoomPicture.h"

#include "canvas/RasterCanvas.h"
#include "canvas/SurfaceFrame.h"
#include "render/FieldArrows.h"
#include "render/FieldDrawing.h"
#include "render/Palette.h"

void DrawZoomOverlay(TCanvas& canvas, const TPlotMapping& mapping, const TSimulationState& state,
                     const TDisplaySettings& display) {
  const TFieldSimulation& field = state.FieldSimulation;
  const TVector2 charge = field.ChargePos;
  // The charge is the anchor of fine points: it stays at the centre of the disc's pixel.
  const TFieldView anchored{canvas, mapping, charge, display.PlotResolution, charge, display.Theme};
  DrawFieldLines(anchored, field, state.ISize, state.JSize);
  DrawWavefronts(anchored, field, state.ISize, state.JSize);
  DrawChargeDisc(canvas, mapping.ValueToPixelX(0.0), mapping.ValueToPixelY(0.0));
  canvas.Pen.Width = 1.0;
  if (display.ShowFieldVectors) {
    const TFieldView view{canvas, mapping, charge, display.PlotResolution, std::nullopt,
                          display.Theme};
    DrawFieldArrows(view, field, state.ISize, mapping.PixelRatio);
  }
}

TMainRange ZoomRange(TPictureSize size, double scale) {
  const double aspect =
      size.Width > 0 && size.Height > 0 ? static_cast<double>(size.Height) / size.Width : 0.5;
  TMainRange range;
  range.Horizontal = {false, -1.0 / scale, 1.0 / scale};
  range.Vertical = {false, -aspect / scale, aspect / scale};
  return range;
}

void RenderZoomPictureInto(const TPixelBuffer& buffer, const TSimulationState& state,
                           const TDisplaySettings& display, double pixelRatio) {
  TRasterCanvas canvas(buffer);
  TPlotMapping mapping = MainPictureMapping(TPictureSize{buffer.Width, buffer.Height},
                                            ZoomRange({buffer.Width, buffer.Height},
                                                      display.Zoom.Scale));
  const TPixelRect area = mapping.DrawArea;
  canvas.PixelRatio = 1.0;
  canvas.Smooth = false;
  canvas.Pen.Color = PaletteOf(display.Theme).Ground;
  canvas.Brush.Color = PaletteOf(display.Theme).Ground;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Rectangle(area.Left, area.Top, area.Right, area.Bottom);
  DrawSurfaceFrame(canvas, TSurfaceKind::Zoom, area, ScaledPixels(1, pixelRatio));
  canvas.PixelRatio = pixelRatio;
  canvas.Smooth = display.SmoothLines;
  mapping.PixelRatio = pixelRatio;
  canvas.Reset();
  DrawZoomOverlay(canvas, mapping, state, display);
}
