// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's file commands: printing the plot, the page setup and saving the picture.
#include "mainwindow/MainWindow.h"

#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "export/FileTypeChoice.h"
#include "export/PictureFile.h"
#include "mainwindow/FileDialogFit.h"

QPrinter& TMainForm1::ThePrinter() {
  if (!Printer) Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *Printer;
}

void TMainForm1::MnuPrintClick() {
  QPrinter& printer = ThePrinter();
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
