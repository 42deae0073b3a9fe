// SPDX-License-Identifier: GPL-3.0-or-later
// The magnified view's picture: the field about the charge at the view's scale, the charge at the
// centre. The desktop's zoom window draws the overlay over its own plot; the browser draws the
// whole picture off screen.
#pragma once

#include "canvas/Canvas.h"
#include "canvas/PixelBuffer.h"
#include "canvas/PlotMapping.h"
#include "engine/DisplaySettings.h"
#include "engine/SimulationState.h"
#include "render/MainPicture.h"

// Field lines and wavefronts always, whatever the main plot shows, never node points or the
// trajectory; the charge disc at model (0, 0), which is the charge; the field arrows where the
// main plot shows them. Every point is taken relative to the charge.
void DrawZoomOverlay(TCanvas& canvas, const TPlotMapping& mapping, const TSimulationState& state,
                     const TDisplaySettings& display);

// The view's range on a plot of size at scale: x from -1 / scale to 1 / scale about the charge,
// y at the same scale.
TMainRange ZoomRange(TPictureSize size, double scale);

// The whole view into buffer: black ground, the zoom window's frame, the overlay at Zoom.Scale,
// pixelRatio device pixels per logical pixel.
void RenderZoomPictureInto(const TPixelBuffer& buffer, const TSimulationState& state,
                           const TDisplaySettings& display, double pixelRatio);
