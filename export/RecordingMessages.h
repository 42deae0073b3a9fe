// SPDX-License-Identifier: GPL-3.0-or-later
// The words of the video recorder's messages: its own reasons in the user's language, and the
// sentence that names the file a recording could not be written to.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QString>

// A reason the program gives itself, in the user's language (also from the encoder's thread:
// the lookup is thread-safe).
inline QString RecordingReason(const char* text) {
  return QCoreApplication::translate("Messages", text);
}

inline QString RecordingFailure(const QString& path, const QString& reason) {
  return RecordingReason("Could not record the animation to \"%1\": %2")
      .arg(QDir::toNativeSeparators(path), reason);
}
