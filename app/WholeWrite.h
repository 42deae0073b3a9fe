// Bytes written to a device in full, or a failure with the device's reason: a disk that fills up
// takes part of a write and refuses the rest, which the streams of Qt's writers pass over.
#pragma once

#include <QByteArray>
#include <QIODevice>

// Writes all of data to device, writing on after a short count; false as soon as the device
// takes nothing more (its errorString then says why, where it knows).
bool WriteWhole(QIODevice& device, const QByteArray& data);
