// The resources live in a static library: Q_INIT_RESOURCE keeps the linker from dropping them.
#include "dialogs/Pictures.h"

#include <QtGlobal>

static void InitPictureResources() { Q_INIT_RESOURCE(assets); }

TJpegResult LoadPicture(const QString& name) {
  static const bool initialised = (InitPictureResources(), true);
  (void)initialised;
  return LoadJpeg(QStringLiteral(":/pictures/") + name);
}
