// SPDX-License-Identifier: GPL-3.0-or-later
// Files written whole or not at all: bytes written to a device in full, or a failure with the
// device's reason (a disk that fills up takes part of a write and refuses the rest, which the
// streams of Qt's writers pass over); names that take a finished file by renaming; and what a
// failed writer left, taken away.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

// Writes all of data to device, writing on after a short count; false as soon as the device
// takes nothing more (its errorString then says why, where it knows).
bool WriteWhole(QIODevice& device, const QByteArray& data);

// Whether path names a device or a pipe (/dev/full, a FIFO), also through a link. Such a name holds
// no file to keep: it is written into directly, since a finished file renamed into its place would
// replace the device with a plain file. Any other name (a plain file, none yet) takes a file
// written beside it and renamed into place when complete.
bool IsDeviceOrPipe(const QString& path);

// Removes what a writer that failed left at path, if it is a plain file: the name may be a device
// such as /dev/full, which must stay.
void RemovePartialFile(const QString& path);
