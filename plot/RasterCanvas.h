// SPDX-License-Identifier: GPL-3.0-or-later
// The raster canvas as the desktop uses it: the core's canvas with the QImage form of its pixel
// buffer, so that TRasterCanvas canvas(image) draws into a QImage.
#pragma once

#include "canvas/RasterCanvas.h"
#include "plot/ImageBuffer.h"
