// Stands in until the video recorder takes over the command line's videos.
#include "export/TickVideo.h"

#include <QDir>

#include "app/GuardedCall.h"

void RecordTickVideo(const QString& path, TSimulationState&, const TPictureGeometry&, int, int) {
  throw EError(QStringLiteral("Could not record \"%1\": video files are not available yet")
                   .arg(QDir::toNativeSeparators(path)));
}
