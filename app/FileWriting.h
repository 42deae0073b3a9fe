// Files written whole or not at all: bytes written to a device in full, or a failure with the
// device's reason (a disk that fills up takes part of a write and refuses the rest, which the
// streams of Qt's writers pass over); and what a failed writer left, taken away.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

// Writes all of data to device, writing on after a short count; false as soon as the device
// takes nothing more (its errorString then says why, where it knows).
bool WriteWhole(QIODevice& device, const QByteArray& data);

// Removes what a writer that failed left at path, if it is a plain file: the name may be a device
// such as /dev/full, which must stay.
void RemovePartialFile(const QString& path);
