// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG pictures decoded and encoded with libjpeg; a damaged file never ends the process.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

struct TJpegResult {
  QImage Image;   // null on failure
  QString Error;  // empty on success
};

TJpegResult DecodeJpeg(const QByteArray& data);
// Decodes a file or a Qt resource (":/pictures/...").
TJpegResult LoadJpeg(const QString& path);
QByteArray EncodeJpeg(const QImage& image, int quality = 90);
