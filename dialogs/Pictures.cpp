// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/Pictures.h"

#include <QFileInfo>

TJpegResult LoadPicture(const QString& name, double ratio) {
  return LoadJpegFor(QStringLiteral(":/pictures/") + name, ratio);
}

TJpegResult LoadJpegFor(const QString& path, double ratio) {
  if (ratio > 1.0) {
    const QFileInfo file(path);
    const QString suffix = file.suffix();
    const QString fine = suffix.isEmpty() ? path + QStringLiteral("@2x")
                                          : path.left(path.size() - suffix.size() - 1) +
                                                QStringLiteral("@2x.") + suffix;
    TJpegResult loaded = LoadJpeg(fine);
    if (!loaded.Image.isNull()) {
      loaded.Image.setDevicePixelRatio(2.0);
      return loaded;
    }
  }
  return LoadJpeg(path);
}
