// The main picture drawn from the simulation state: the layers the main window draws over its plot,
// and the whole plot (ground, frame, charge marker, layers) for printing-like outputs, picture
// files, videos and the command line, on any canvas through a mapping.
#pragma once

#include <QImage>
#include <QSize>

#include "engine/SimulationState.h"
#include "plot/Canvas.h"
#include "plot/PlotMapping.h"
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
// legend. pixelRatio is canvas pixels per logical pixel, as for DrawMainPicture.
void DrawMainOverlay(const TFieldView& view, const TSimulationState& state,
                     double pixelRatio = 1.0);

// The whole main plot into mapping.DrawArea: black ground, the grey border and bevel the window
// shows, the charge marker at the charge, then DrawMainOverlay. pixelRatio is canvas pixels per
// logical pixel: the sizes that mean screen distance (marker, frame, plot resolution) scale by it.
void DrawMainPicture(TCanvas& canvas, const TPlotMapping& mapping, double pixelRatio,
                     const TSimulationState& state);

// The range the main window shows at start on a plot of size: x from -1 to 1 and y at the same
// scale, centred (the state's AspectRatio is height / width).
TMainRange DefaultMainRange(QSize size);

// The mapping of a plot of pixels (PlotRect and DrawArea the whole of it) showing range.
TPlotMapping MainPictureMapping(QSize pixels, const TMainRange& range);

// Device pixels of a picture of logicalSize at pixelRatio: each side rounded up, at least 1, as the
// plot surface sizes its buffer.
QSize DevicePixelsOf(QSize logicalSize, double pixelRatio);

// The main picture drawn off screen: an RGB32 image of DevicePixelsOf(logicalSize, pixelRatio)
// with its device pixel ratio set, showing range. Throws EError when the image cannot be allocated.
QImage RenderMainPicture(const TSimulationState& state, QSize logicalSize, double pixelRatio,
                         const TMainRange& range);
