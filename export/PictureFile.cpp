// SPDX-License-Identifier: GPL-3.0-or-later
// Picture files: the raster picture through Qt's PNG writer, the vector picture through Qt SVG's
// generator, both encoded in memory and then written into a QSaveFile, so that only a complete
// file ever takes the name (a device or a pipe is written into directly).
#include "export/PictureFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "app/FileWriting.h"
#include "app/GuardedCall.h"
#include "app/PictureWordText.h"
#include "plot/MainPictureImage.h"
#include "plot/PainterCanvas.h"

namespace {

// A reason the program gives itself, in the user's language.
QString Reason(const char* text) { return QCoreApplication::translate("Messages", text); }

[[noreturn]] void Fail(const QString& path, const QString& reason) {
  throw EError(QCoreApplication::translate("Messages", "Could not save the picture \"%1\": %2")
                   .arg(QDir::toNativeSeparators(path), reason));
}

QByteArray PngBytes(const QString& path, const TSimulationState& state,
                    const TDisplaySettings& display,                     const TPictureGeometry& geometry) {
  const QImage image =
      RenderMainPicture(state, display, geometry.LogicalSize, geometry.PixelRatio, geometry.Range);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image)) Fail(path, writer.errorString());
  return bytes;
}

QByteArray SvgBytes(const QString& path, const TSimulationState& state,
                    const TDisplaySettings& display,                     const TPictureGeometry& geometry) {
  const QSize size = geometry.LogicalSize;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  // No size for the generator: it would give it in millimetres, w * 25.4 / 96 rounded to six
  // digits (1280 px became 338.667 mm), which a viewer turns back into one pixel more. The size is
  // written in pixels below; the resolution only sets how large a point is.
  generator.setResolution(96);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setTitle(QStringLiteral("Halvoran Radiation"));
  generator.setDescription(QStringLiteral("Field lines of a moving point charge"));
  QPainter painter;
  if (!painter.begin(&generator)) Fail(path, Reason("the drawing could not start"));
  try {
    TPainterCanvas canvas(painter, QRect(QPoint(0, 0), size));
    DrawMainPicture(canvas, MainPictureMapping(size, geometry.Range), 1.0, state, display,
                    TranslatedPictureWords());
  } catch (...) {
    painter.end();
    throw;
  }
  painter.end();
  // The picture's size in CSS pixels, the units of its view box: shown at exactly its pixels.
  const qsizetype root = bytes.indexOf("<svg ");
  if (root >= 0) {
    bytes.insert(root + 4, QStringLiteral(" width=\"%1\" height=\"%2\"")
                               .arg(size.width())
                               .arg(size.height())
                               .toLatin1());
  }
  return bytes;
}

}  // namespace

std::optional<TPictureFormat> PictureFormatOfPath(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) return TPictureFormat::Png;
  if (suffix == QLatin1String("svg")) return TPictureFormat::Svg;
  return std::nullopt;
}

void SaveMainPicture(const QString& path, const TSimulationState& state,
                    const TDisplaySettings& display,                      const TPictureGeometry& geometry) {
  const std::optional<TPictureFormat> format = PictureFormatOfPath(path);
  if (!format) Fail(path, Reason("the name must end in .png or .svg"));
  if (geometry.LogicalSize.isEmpty() || !(geometry.PixelRatio > 0.0))
    Fail(path, Reason("the picture has no size"));
  // A device or a pipe is written into; any other name keeps what it holds until the picture is
  // complete.
  QSaveFile whole(path);
  QFile direct(path);
  const bool device = IsDeviceOrPipe(path);
  QFileDevice& file = device ? static_cast<QFileDevice&>(direct) : whole;
  if (!file.open(QIODevice::WriteOnly)) Fail(path, file.errorString());
  // Encoded first and written here: the writers' own streams let a short write on a full disk
  // pass, and the part written would have been committed as the whole picture.
  const QByteArray bytes = *format == TPictureFormat::Png ? PngBytes(path, state, display, geometry)
                                                          : SvgBytes(path, state, display, geometry);
  if (!WriteWhole(file, bytes) || !file.flush()) {
    const QString reason = file.errorString();
    whole.cancelWriting();
    Fail(path, reason);
  }
  // The file takes its name only here, complete; a write that failed on the way shows now.
  if (!device && !whole.commit()) Fail(path, whole.errorString());
}
