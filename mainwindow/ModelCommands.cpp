// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's model commands: the picture over the plot, the View switches, the
// trajectory and model size menus, and the setup windows, each through the commands.
#include "mainwindow/MainWindow.h"

#include <QDockWidget>

#include "app/GuardedCall.h"
#include "dialogs/BendingSetup.h"
#include "dialogs/CircleTrjSetup.h"
#include "dialogs/DipoleOscSetup.h"
#include "dialogs/LineTrjSetup.h"
#include "dialogs/ModalResult.h"
#include "dialogs/ModelSize.h"
#include "dialogs/PhysicalModelSetup.h"
#include "dialogs/RaceTrackSetup.h"
#include "dialogs/ScaleUnit.h"
#include "dialogs/SetPlotResolution.h"
#include "dialogs/SimSpeedCnt.h"
#include "dialogs/UndulatorSetup.h"
#include "render/MainPicture.h"
#include "views/RadiationPattern.h"
#include "views/ZoomView.h"

void TMainForm1::Chart1AfterDraw(TPlotSurface& sender, TCanvas& canvas) {
  DrawMainOverlay({canvas, sender.Mapping(), TVector2{}, Display().PlotResolution}, State,
                  Display(), sender.Mapping().PixelRatio, PictureWords);
  // The zoom view follows every picture of the main plot.
  if (ZoomView && ZoomView->isVisible()) ZoomView->RequestChartRedraw();
}

void TMainForm1::ToggleDisplaySwitch(bool TDisplaySettings::*setting, const char* itemName) {
  TDisplaySettings display = Display();
  display.*setting = !MainMenu1.IsChecked(itemName);
  if (TRefusal refusal = Commands.SetDisplay(display)) throw EError(refusal);
  MainMenu1.SetChecked(itemName, Display().*setting);
}

void TMainForm1::mnuPlotWaveFrontClick() {
  ToggleDisplaySwitch(&TDisplaySettings::ShowWaveFronts, "mnuPlotWaveFront");
}

void TMainForm1::mnuPlotEFieldLinesClick() {
  ToggleDisplaySwitch(&TDisplaySettings::ShowFieldLines, "mnuPlotEFieldLines");
}

void TMainForm1::mnuPlotNodePointsClick() {
  ToggleDisplaySwitch(&TDisplaySettings::ShowNodePoints, "mnuPlotNodePoints");
}

void TMainForm1::mnuSmoothLinesClick() {
  ToggleDisplaySwitch(&TDisplaySettings::SmoothLines, "mnuSmoothLines");
  ApplySmoothLines();
}

void TMainForm1::ApplySmoothLines() {
  const bool smooth = Display().SmoothLines;
  MainMenu1.SetChecked("mnuSmoothLines", smooth);
  TPlotSurface* const surfaces[] = {Chart1, ZoomView ? &ZoomView->Chart1() : nullptr,
                                    PatternForm ? &PatternForm->Chart1() : nullptr};
  for (TPlotSurface* surface : surfaces) {
    if (!surface || surface->SmoothLines == smooth) continue;
    surface->SmoothLines = smooth;
    surface->RequestRedraw();
  }
}

void TMainForm1::MnuFieldMonitorClick() {
  ToggleDisplaySwitch(&TDisplaySettings::ShowFieldVectors, "MnuFieldMonitor");
  Series1().RequestRedraw();
}

void TMainForm1::mnuShowCaptionClick() {
  ToggleDisplaySwitch(&TDisplaySettings::ShowCaption, "mnuShowCaption");
  PlaceLogo();
  Series1().RequestRedraw();
}

void TMainForm1::mnuProjectorThemeClick() {
  // From the theme in force rather than the mark, which a scene or the command line may have
  // left behind.
  const TTheme theme = Display().Theme == TTheme::Projector ? TTheme::Dark : TTheme::Projector;
  ApplyTheme(theme);
  KeepTheme(theme);
}

// ---- Trajectory commands ----

void TMainForm1::TrajectoryChosen(const char* itemName) {
  MainMenu1.Check(itemName);
  ShowReset();
  if (PatternForm) PatternForm->MotionChanged();
}

void TMainForm1::mnuStraightLineClick() {
  if (!LineDlg || LineDlg->ShowModal() != mrOk) return;
  TrajectoryChosen("mnuStraightLine");
}

void TMainForm1::MnuDipoleClick() {
  if (!DipoleDlg || DipoleDlg->ShowModal() != mrOk) return;
  TrajectoryChosen("MnuDipole");
}

void TMainForm1::MnuCircleClick() {
  if (!CircleDlg || CircleDlg->ShowModal() != mrOk) return;
  TrajectoryChosen("MnuCircle");
}

void TMainForm1::MnuUndulatorClick() {
  if (!UndulatorDlg || UndulatorDlg->ShowModal() != mrOk) return;
  TrajectoryChosen("MnuUndulator");
}

void TMainForm1::mnuRacetrackClick() {
  if (!RaceTrackDlg || RaceTrackDlg->ShowModal() != mrOk) return;
  TrajectoryChosen("mnuRacetrack");
}

void TMainForm1::mnuBendingClick() {
  if (!BendDlg || BendDlg->ShowModal() != mrOk) return;
  TrajectoryChosen("mnuBending");
}

// ---- Model size ----

void TMainForm1::ModelResized(const char* itemName) {
  // A video keeps one model from its first frame to its last.
  EndRecording(TRecordingEnd::ModelChanged);
  MnuPauseClick();
  MainMenu1.Check(itemName);
  ShowReset();
  if (PatternForm) PatternForm->MotionChanged();
}

void TMainForm1::ChooseModelSize(const TModelSizePreset& preset, const char* itemName) {
  if (TRefusal refusal =
          Commands.ChooseModelSize({preset.ISize, preset.JSize, preset.WaveFrontSpacing}))
    throw EError(refusal);
  ModelResized(itemName);
}

void TMainForm1::MnuMdlLargeClick() {
  ChooseModelSize(ModelSizeLarge, "MnuMdlLarge");
}

void TMainForm1::MnuMdlMediumClick() {
  ChooseModelSize(ModelSizeMedium, "MnuMdlMedium");
}

void TMainForm1::MnuMdlSmallClick() {
  ChooseModelSize(ModelSizeSmall, "MnuMdlSmall");
}

void TMainForm1::MnuMdlCustomClick() {
  if (!ModelSize || ModelSize->ShowModal() != mrOk) return;
  ModelResized("MnuMdlCustom");
}

// ---- Settings, windows, help, print, zoom ----

void TMainForm1::MnuScaleUnitClick() {
  if (!ScaleDlg || ScaleDlg->ShowModal() != mrOk) return;
  // The caption's lengths and times follow the new unit, paused or not.
  Series1().RequestRedraw();
}

void TMainForm1::PlotResolution1Click() {
  if (ResolutionDlg) ResolutionDlg->ShowModal();
}

void TMainForm1::PhysicalModelClick() {
  if (PhysicalDlg) PhysicalDlg->ShowModal();
}

void TMainForm1::MnuSpeedClick() {
  if (SpeedForm) SpeedForm->ShowModal();
}

void TMainForm1::mnuShowZoomClick() {
  if (!ZoomView || !ZoomDock()) return;
  ShowDock(*ZoomDock());
  // Its "+" and "-" act where it has the focus: opened from the keyboard, it must have it at once.
  if (ZoomDock()->isFloating()) ZoomDock()->activateWindow();
  ZoomView->setFocus(Qt::OtherFocusReason);
}

void TMainForm1::mnuShowPowerPatternClick() {
  if (!PatternForm || !PatternDock()) return;
  ShowDock(*PatternDock());
}

void TMainForm1::MnuHelpModelClick() {
  ShowHelp(THelpSection::Top, nullptr);
}
