// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's file commands: printing the plot (a landscape page named by the program and
// the path), the page setup and saving the picture.
#include "mainwindow/MainWindow.h"

#include <QFileDialog>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "export/FileTypeChoice.h"
#include "export/PictureFile.h"
#include "mainwindow/FileDialogFit.h"

namespace {

// The menu item that chooses each path.
const char* PathItemOf(int trajectoryMode) {
  switch (trajectoryMode) {
    case tmStraightLine:
      return "mnuStraightLine";
    case tmDipole:
      return "MnuDipole";
    case tmCircle:
      return "MnuCircle";
    case tmRaceTrack:
      return "mnuRacetrack";
    case tmUndulator:
      return "MnuUndulator";
    case tmBending:
      return "mnuBending";
    default:
      return "MnuByMouse";
  }
}

// "Halvoran Radiation – Circular orbit": the program, and the path that runs in the words of its
// menu item in the session's language, without the access key and the ellipsis. The program's
// name is a name and stays as it is.
QString PrintDocumentName(const TMainMenu& menu, int trajectoryMode) {
  QString path = menu.Item(PathItemOf(trajectoryMode)).text().remove(QLatin1Char('&')).trimmed();
  if (path.endsWith(QChar(0x2026))) path.chop(1);
  return QStringLiteral("Halvoran Radiation \u2013 %1").arg(path.trimmed());
}

}  // namespace

QPrinter& TMainForm1::ThePrinter() {
  if (!Printer) {
    Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // The plot is wider than high: landscape, unless the page setup chooses otherwise.
    Printer->setPageOrientation(QPageLayout::Landscape);
  }
  return *Printer;
}

void TMainForm1::MnuPrintClick() {
  QPrinter& printer = ThePrinter();
  // Named before the dialog, which offers the name for a file to print to; the job and a PDF's
  // title carry it.
  printer.setDocName(PrintDocumentName(MainMenu1, State.TrajectoryMode));
  bool confirmed = false;
  if (RunPrintDialog) {
    confirmed = RunPrintDialog(printer);
  } else {
    QPrintDialog dialog(&printer, this);
    confirmed = dialog.exec() == QDialog::Accepted;
  }
  if (confirmed) Chart1->PrintChart(printer);
}

void TMainForm1::MnuPrinterSetUpClick() {
  QPrinter& printer = ThePrinter();
  if (RunPageSetupDialog) {
    RunPageSetupDialog(printer);
  } else {
    QPageSetupDialog dialog(&printer, this);
    dialog.exec();
  }
}

void TMainForm1::MnuSavePictureClick() {
  QString path;
  if (RunSavePictureDialog) {
    path = RunSavePictureDialog();
  } else {
    QFileDialog dialog(this, tr("Save picture"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without a suffix gets the one of the chosen type.
    OfferFileTypes(dialog, {tr("PNG picture (*.png)"), tr("SVG drawing (*.svg)")});
    dialog.selectFile(QStringLiteral("halvoran-radiation.png"));
    FitToScreen(dialog);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      path = dialog.selectedFiles().constFirst();
  }
  if (path.isEmpty()) return;
  TPictureGeometry geometry;
  geometry.LogicalSize = Chart1->size();
  geometry.PixelRatio = Chart1->DevicePixelRatio();
  geometry.Range = {Chart1->BottomAxis(), Chart1->LeftAxis()};
  SaveMainPicture(path, State, Display(), geometry);
}
