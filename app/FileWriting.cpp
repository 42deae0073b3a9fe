// SPDX-License-Identifier: GPL-3.0-or-later
// Bytes written to a device in full, a short write followed by another for the rest; devices told
// from files; partial files removed.
#include "app/FileWriting.h"

#include <QFile>
#include <QFileInfo>

bool WriteWhole(QIODevice& device, const QByteArray& data) {
  const char* next = data.constData();
  qint64 left = data.size();
  while (left > 0) {
    const qint64 written = device.write(next, left);
    if (written <= 0) return false;
    next += written;
    left -= written;
  }
  return true;
}

bool IsDeviceOrPipe(const QString& path) {
  const QFileInfo info(path);
  return info.exists() && !info.isFile() && !info.isDir();
}

void RemovePartialFile(const QString& path) {
  if (QFileInfo(path).isFile()) QFile::remove(path);
}
