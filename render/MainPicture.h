// SPDX-License-Identifier: GPL-3.0-or-later
// The main picture drawn from the simulation state: the layers the main window draws over its plot,
// and the whole plot (ground, frame, charge marker, layers) for printing-like outputs, picture
// files, videos and the command line, on any canvas through a mapping.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "canvas/Canvas.h"
#include "canvas/PixelBuffer.h"
#include "canvas/PlotMapping.h"
#include "engine/DisplaySettings.h"
#include "engine/PictureWords.h"
#include "engine/Refusal.h"
#include "engine/SimulationState.h"
#include "render/FieldDrawing.h"

// The marker of the charge on the main plot, under the field lines.
constexpr TColor ChargeMarkerPen = ColorRGB(255, 0, 0);
constexpr TColor ChargeMarkerBrush = ColorRGB(255, 0, 128);
constexpr int ChargeMarkerHalfSize = 7;  // logical pixels

// The model range a plot shows.
struct TMainRange {
  TAxis Horizontal;
  TAxis Vertical;
};

// What the main window draws over its plot's ground and charge marker, in its order: the field
// lines with the charge disc, the wavefronts, the node points, and the trajectory (none in mouse
// mode), each as the state's display options say, and over them the field arrows with their
// legend, the observer's eye and its line where display.Observer.Shown says, and last the
// caption with its key and the scale bar where display.ShowCaption says.
// pixelRatio is canvas pixels per logical pixel, as for DrawMainPicture; words are the session's
// language.
void DrawMainOverlay(const TFieldView& view, const TSimulationState& state,
                     const TDisplaySettings& display, double pixelRatio = 1.0,
                     const TPictureWords& words = TPictureWords::English());

// The whole main plot into mapping.DrawArea: black ground, the grey border and bevel the window
// shows, the charge marker at the charge, then DrawMainOverlay. pixelRatio is canvas pixels per
// logical pixel: the sizes that mean screen distance (marker, frame, plot resolution) scale by it.
void DrawMainPicture(TCanvas& canvas, const TPlotMapping& mapping, double pixelRatio,
                     const TSimulationState& state, const TDisplaySettings& display,
                     const TPictureWords& words = TPictureWords::English());

// The range the main window shows at start on a plot of size: x from -1 to 1 and y at the same
// scale, centred (height / width of size).
TMainRange DefaultMainRange(TPictureSize size);

// The mapping of a plot of pixels (PlotRect and DrawArea the whole of it) showing range.
TPlotMapping MainPictureMapping(TPictureSize pixels, const TMainRange& range);

// Device pixels of a picture of logicalSize at pixelRatio: each side rounded up, at least 1, as the
// plot surface sizes its buffer.
TPictureSize DevicePixelsOf(TPictureSize logicalSize, double pixelRatio);

// A front-end's own size type (the desktop's QSize): the three above take it and give it back as
// they do TPictureSize, so that a front-end's sizes stay its own.
template <class T>
concept CFrontEndSize = !std::same_as<T, TPictureSize> && std::constructible_from<T, int, int> &&
                        requires(const T& size) {
  { size.width() } -> std::convertible_to<int>;
  { size.height() } -> std::convertible_to<int>;
};

template <CFrontEndSize T>
TMainRange DefaultMainRange(const T& size) {
  return DefaultMainRange(TPictureSize{size.width(), size.height()});
}

template <CFrontEndSize T>
TPlotMapping MainPictureMapping(const T& pixels, const TMainRange& range) {
  return MainPictureMapping(TPictureSize{pixels.width(), pixels.height()}, range);
}

template <CFrontEndSize T>
T DevicePixelsOf(const T& logicalSize, double pixelRatio) {
  const TPictureSize device =
      DevicePixelsOf(TPictureSize{logicalSize.width(), logicalSize.height()}, pixelRatio);
  return T(device.Width, device.Height);
}

// The refusal of a picture of pixels whose memory cannot be had: PictureTooLarge, its width and
// height.
TRefusal PictureTooLarge(TPictureSize pixels);

// The whole main plot drawn into all of buffer, in its byte order, showing range at pixelRatio
// device pixels per logical pixel: DrawMainPicture through the raster canvas.
void RenderMainPictureInto(const TPixelBuffer& buffer, const TSimulationState& state,
                           const TDisplaySettings& display, double pixelRatio,
                           const TMainRange& range,
                           const TPictureWords& words = TPictureWords::English());

// A picture in memory: Size.Width x Size.Height pixels, row after row, in Order.
struct TMainPictureFrame {
  TPictureSize Size;
  TByteOrder Order = TByteOrder::Bgra;
  std::unique_ptr<std::uint32_t[]> Pixels;

  std::size_t PixelCount() const {
    return static_cast<std::size_t>(Size.Width) * static_cast<std::size_t>(Size.Height);
  }
  TPixelBuffer Buffer() const { return {Pixels.get(), Size.Width, Size.Height, Size.Width, Order}; }
};

// The main picture drawn off screen into frame: DevicePixelsOf(logicalSize, pixelRatio) pixels in
// order, showing range. A picture whose memory cannot be had is refused (PictureTooLarge) and
// leaves frame without pixels; nothing is thrown.
TRefusal RenderMainPicture(TMainPictureFrame& frame, const TSimulationState& state,
                           const TDisplaySettings& display, TPictureSize logicalSize,
                           double pixelRatio, const TMainRange& range,
                           TByteOrder order = TByteOrder::Bgra,
                           const TPictureWords& words = TPictureWords::English());
