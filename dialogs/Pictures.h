// Our pictures, embedded as resources under :/pictures/ (assets/) and decoded with libjpeg.
#pragma once

#include <QString>

#include "app/JpegImage.h"

// name is the file name in assets/, e.g. "greeting.jpg". A missing or damaged picture gives a
// null image and the reason.
TJpegResult LoadPicture(const QString& name);
