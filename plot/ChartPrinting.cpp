// SPDX-License-Identifier: GPL-3.0-or-later
// Printing the chart: one page, the chart as large as the page's printable area allows at the
// surface's proportions, centred, drawn through QPainter by the same drawing as the screen's; a
// PDF checked for having been written in full. The caller names the document.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <string>

#include "app/FileWriting.h"
#include "app/GuardedCall.h"
#include "plot/PageFit.h"
#include "plot/PainterCanvas.h"
#include "plot/PlotSurfaceImpl.h"

namespace {

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
  const TPlotMapping screen = CurrentMapping;
  QPainter painter;
  if (!painter.begin(&printer)) throw EError(QCoreApplication::translate("Messages", "The printer could not be started"));
  try {
    // The painter's coordinates are scaled so that the chart is exactly as many units wide and
    // high as the surface has pixels: the page carries the screen's picture, markers, charge disc
    // and bevel at their on-screen proportions, in vector form, as large as the page allows.
    const int w = std::max(width(), 1);
    const int h = std::max(height(), 1);
    const TPageFit fit =
        FitChartOnPage(painter.device()->width(), painter.device()->height(), w, h);
    painter.setWindow(0, 0, fit.WindowWidth, fit.WindowHeight);
    const TPixelRect& chart = fit.Chart;
    TPainterCanvas canvas(painter, QRect(chart.Left, chart.Top, w, h));
    TImpl::Draw(*this, canvas, chart, 1.0);
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
