#include "dialogs/Pictures.h"

TJpegResult LoadPicture(const QString& name) {
  return LoadJpeg(QStringLiteral(":/pictures/") + name);
}
