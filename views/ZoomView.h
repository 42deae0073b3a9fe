// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom view: a magnified picture of the field around the charge, which always sits at the
// centre. The view shows the model extent +-1 / scale across (ModelWidth / scale), the scale
// being the display settings' Zoom.Scale.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include "engine/SimulationCommands.h"
#include "plot/PlotSurface.h"

class QFrame;
class QLabel;
class QToolButton;
class TZoomViewSetupDlg;

class TZoomViewForm : public QWidget {
  Q_OBJECT
 public:
  // A window of its own that stays on top of parent (the main window), placed at every show in
  // the bottom-left sixth of the screen; or, put in a dock, a panel that the dock places. Shown
  // with show(), never modally.
  explicit TZoomViewForm(TSimulationCommands& simulation, QWidget* parent = nullptr);

  // The size a dock starts it at: the buttons' row over a picture twice as wide as high.
  QSize sizeHint() const override;
  ~TZoomViewForm() override;

  // The main window calls this after each of its own redraws while the view is showing.
  void RequestChartRedraw();
  TPlotSurface& Chart1() { return *Chart; }
  TPointSeries& Series1() { return Chart->Series1(); }
  TZoomViewSetupDlg& ZoomViewSetupDlg() { return *SetupDlg; }

  // Horizontal range +-1 / scale, vertical +-aspect / scale with aspect the surface's height over
  // its width, so that one model unit has the same length on both axes.
  void SetChartScale(double scale);

  void btnZoomInClick();
  void btnZoomOutClick();
  void btnSetupClick();

  // "x " and the scale rounded to 4 significant digits with 2 decimals ("x 16.00", "x 22.62");
  // beyond 4 integer digits in scientific notation with 4 significant digits ("x 1.235E+04").
  static QString ScaleCaption(double scale);

  // Each press multiplies or divides the scale by ZoomStep; a press that would take it beyond
  // the bounds the commands keep is ignored.

  QToolButton* btnSetup = nullptr;
  QToolButton* btnZoomIn = nullptr;
  QToolButton* btnZoomOut = nullptr;
  QLabel* Label1 = nullptr;
  QFrame* Bevel1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // "+" (or "=", its key unshifted) zooms in and "-" zooms out, as the buttons do.
  void keyPressEvent(QKeyEvent* event) override;
  // A new language: the buttons' hints are written again.
  void changeEvent(QEvent* event) override;

 private:
  void RetranslateUi();
  void FormShow();
  // The window's outer rectangle on the bottom-left sixth of its screen.
  void PlaceOnScreen();
  void FormResize();
  void PlaceChart();
  void ChangeZoomScale(double scale);
  void RefitToFrame();
  void Chart1AfterDraw(TPlotSurface& sender, TCanvas& canvas);

  TSimulationCommands& Simulation;
  TPlotSurface* Chart = nullptr;
  TZoomViewSetupDlg* SetupDlg = nullptr;
  double ChartAspect = 0.5;  // kept while the surface has no width
  bool Showing = false;      // FormShow places the window itself; its resize is not a user's
  QRect ShownOuter;          // the outer rectangle of the last show
  QSize FrameAllowed;        // the frame size that placement allowed for
};
