// SPDX-License-Identifier: GPL-3.0-or-later
// The peak of this process's resident memory, as Linux keeps it: what a memory bound is measured
// against, in the tests and in the benchmarks.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>

// The peak since the last ResetPeakResident (or the start), in bytes; 0 where the system does
// not tell.
inline long long PeakResidentBytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:"))
      return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
  }
  return 0;
}

// Starts the peak again from the present; false where the system does not allow it.
inline bool ResetPeakResident() {
  QFile clear(QStringLiteral("/proc/self/clear_refs"));
  return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}
