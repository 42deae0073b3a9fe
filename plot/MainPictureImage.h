// SPDX-License-Identifier: GPL-3.0-or-later
// The main picture as the desktop's outputs take it: a QImage, with a picture that cannot be had
// reported as the error the guarded call shows.
#pragma once

#include <QImage>
#include <QSize>

#include "app/GuardedCall.h"
#include "app/PictureWordText.h"
#include "plot/ImageBuffer.h"
#include "render/MainPicture.h"

// The main picture drawn off screen: an RGB32 image of DevicePixelsOf(logicalSize, pixelRatio)
// with its device pixel ratio set, showing range. Throws EError (PictureTooLarge) when the image
// cannot be allocated. Its caption and legend speak the language installed.
inline QImage RenderMainPicture(const TSimulationState& state, const TDisplaySettings& display,
                                QSize logicalSize, double pixelRatio, const TMainRange& range,
                                const TPictureWords& words = TranslatedPictureWords()) {
  const QSize pixels = DevicePixelsOf(logicalSize, pixelRatio);
  QImage image(pixels, QImage::Format_RGB32);
  if (image.isNull()) throw EError(PictureTooLarge({pixels.width(), pixels.height()}));
  image.setDevicePixelRatio(pixelRatio);
  RenderMainPictureInto(PixelBufferOf(image), state, display, pixelRatio, range, words);
  return image;
}
