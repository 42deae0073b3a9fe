// SPDX-License-Identifier: GPL-3.0-or-later
// Our pictures, embedded as resources under :/pictures/ (assets/) and decoded with libjpeg.
#pragma once

#include <QString>

#include "app/JpegImage.h"

// name is the file name in assets/, e.g. "greeting.jpg". A missing or damaged picture gives a
// null image and the reason.
TJpegResult LoadPicture(const QString& name, double ratio = 1.0);

// The picture at path for a screen of ratio device pixels to the logical one: above 1, the one
// drawn twice as fine beside it ("greeting@2x.jpg" beside "greeting.jpg"), its device pixel ratio
// set to 2, so that a finer screen shows it sharp rather than enlarged; the picture itself where
// that one is missing or does not decode, or at 1.
TJpegResult LoadJpegFor(const QString& path, double ratio);
