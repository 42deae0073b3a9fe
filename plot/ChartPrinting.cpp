// SPDX-License-Identifier: GPL-3.0-or-later
// Printing the chart: one page, the chart centred in the page's margins at the surface's
// proportions and drawn through QPainter, a PDF checked for having been written in full.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <string>

#include "app/FileWriting.h"
#include "app/GuardedCall.h"
#include "plot/PainterCanvas.h"
#include "plot/PlotSurfaceImpl.h"

namespace {

// Share of the page width left free on each side of a printed chart.
constexpr double PrintMargin = 0.15;

// Qt's PDF printer writes its file without telling of a write that failed: a full disk leaves a
// PDF cut short, known by its missing end-of-file marker.
bool PdfIsComplete(const QString& path) {
  QFile file(path);
  constexpr qint64 TailBytes = 32;
  if (!file.open(QIODevice::ReadOnly) || file.size() < TailBytes) return false;
  if (!file.seek(file.size() - TailBytes)) return false;
  return file.read(TailBytes).trimmed().endsWith("%%EOF");
}

}  // namespace

void TPlotSurface::PrintChart(QPrinter& printer) {
  printer.setDocName(objectName());
  const TPlotMapping screen = CurrentMapping;
  QPainter painter;
  if (!painter.begin(&printer)) throw EError(QCoreApplication::translate("Messages", "The printer could not be started"));
  try {
    // The chart keeps the surface's proportions, PrintMargin of the page free on either side and
    // at least as much above and below. The painter's coordinates are scaled so that the chart is
    // exactly as many units wide and high as the surface has pixels: the page carries the screen's
    // picture, markers, charge disc and bevel at their on-screen proportions, in vector form.
    const double deviceWidth = painter.device()->width();
    const double deviceHeight = painter.device()->height();
    const int w = std::max(width(), 1);
    const int h = std::max(height(), 1);
    const double aspect = static_cast<double>(h) / w;
    double chartWidth = deviceWidth * (1.0 - 2.0 * PrintMargin);
    if (chartWidth * aspect > deviceHeight * (1.0 - 2.0 * PrintMargin))
      chartWidth = deviceHeight * (1.0 - 2.0 * PrintMargin) / aspect;
    const double scale = chartWidth / w;  // device pixels per surface pixel
    const int pageWidth = static_cast<int>(std::lround(deviceWidth / scale));
    const int pageHeight = static_cast<int>(std::lround(deviceHeight / scale));
    painter.setWindow(0, 0, pageWidth, pageHeight);
    const int left = (pageWidth - w) / 2;
    const int top = static_cast<int>(std::lround(pageHeight * PrintMargin));
    const TPixelRect page{left, top, left + w, top + h};
    TPainterCanvas canvas(painter, QRect(left, top, w, h));
    TImpl::Draw(*this, canvas, page, 1.0);
    canvas.Flush();
    painter.end();
  } catch (...) {
    CurrentMapping = screen;
    printer.abort();
    if (painter.isActive()) painter.end();
    // A file printer cannot abort: what it wrote is a page drawn in part, which must not be
    // left behind as if it were the picture.
    if (!printer.outputFileName().isEmpty()) RemovePartialFile(printer.outputFileName());
    throw;
  }
  CurrentMapping = screen;
  const QString path = printer.outputFileName();
  if (!path.isEmpty() && printer.outputFormat() == QPrinter::PdfFormat && !PdfIsComplete(path)) {
    RemovePartialFile(path);
    throw EError(
        QCoreApplication::translate("Messages", "Could not print to \"%1\": %2")
            .arg(QDir::toNativeSeparators(path),
                 QCoreApplication::translate("Messages", "the file could not be written in full")));
  }
}
