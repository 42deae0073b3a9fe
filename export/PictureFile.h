// SPDX-License-Identifier: GPL-3.0-or-later
// Picture files of the main plot: PNG at device resolution or SVG as vector paths, chosen by the
// file's suffix, and written whole or not at all.
#pragma once

#include <QSize>
#include <QString>
#include <optional>

#include "engine/SimulationState.h"
#include "render/MainPicture.h"

enum class TPictureFormat { Png, Svg };

// The format a file name asks for by its suffix (".png", ".svg", any case); none for any other.
std::optional<TPictureFormat> PictureFormatOfPath(const QString& path);

// How large a picture is and what it shows: logical pixels, device pixels per logical pixel, and
// the model range.
struct TPictureGeometry {
  QSize LogicalSize;
  double PixelRatio = 1.0;
  TMainRange Range;
};

// Writes the main picture of state to path in the format its suffix names: a PNG of
// DevicePixelsOf(LogicalSize, PixelRatio) pixels, or an SVG of LogicalSize pixels drawn through the
// painter canvas that printing uses. The file is written beside its place and renamed into it when
// complete, so a failure leaves whatever was there before (a device or a pipe is written into).
// Throws EError naming the file and the reason (an unknown suffix, a folder that cannot be
// written, a full disk).
void SaveMainPicture(const QString& path, const TSimulationState& state,
                     const TDisplaySettings& display, const TPictureGeometry& geometry);
