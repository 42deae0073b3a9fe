// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's animation loop: the timer's tick through the commands, the charge held by the
// mouse, run, pause, step and reset.
#include "mainwindow/MainWindow.h"

#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <algorithm>

#include "app/GuardedCall.h"
#include "engine/AnimationStep.h"
#include "views/ObserverWindow.h"
#include "views/RadiationPattern.h"
#include "views/ZoomView.h"

int TMainForm1::EffectiveIntervalMs() const {
  return std::max({1, State.TimerInterval, FrameMs});
}

bool TMainForm1::PictureOutstanding() const {
  if (!Chart1->RedrawPending() || !Chart1->isVisible()) return false;
  // A plot with no area (the window shrunk to its menu and buttons) is never painted either.
  if (Chart1->width() <= 0 || Chart1->height() <= 0) return false;
  // A window that cannot be seen paints nothing; its ticks run by the timer alone.
  const QWindow* handle = window()->windowHandle();
  return handle && handle->isExposed();
}

void TMainForm1::Chart1Redrawn() {
  if (!TickDeferred) return;
  TickDeferred = false;
  // Not from inside the paint: the tick asks for the next one.
  QTimer::singleShot(0, this, [this] {
    Guarded([this] {
      if (Timer1->isActive() && !PictureOutstanding()) Timer1Timer();
    });
  });
}

void TMainForm1::SetTimerEnabled(bool enabled) {
  if (enabled) {
    if (!Timer1->isActive()) Timer1->start();
  } else {
    Timer1->stop();
    TickDeferred = false;
  }
}

void TMainForm1::Timer1Timer() {
  const int interval = EffectiveIntervalMs();
  if (Timer1->interval() != interval) Timer1->setInterval(interval);

  std::optional<TVector2> cursor;
  if (State.TrajectoryMode == tmMouse && Dragging) {
    const QPoint position = CursorSource ? CursorSource() : Chart1->CursorPosition();
    cursor = TVector2{Chart1->PixelToValueX(position.x()), Chart1->PixelToValueY(position.y())};
  }
  // A new pass of the undulator or the bending magnet resets the simulation on the way.
  if (Commands.RunTick(cursor).PassRestarted) ShowReset();
  if (PatternForm) PatternForm->ChargeTicked();
  if (Observer) Observer->ChargeTicked();

  Series1().SetPointX(0, State.FieldSimulation.ChargePos.X);
  Series1().SetPointY(0, State.FieldSimulation.ChargePos.Y);
  Series1().RequestRedraw();
  // Asked here too, not only after the main plot's picture: a plot that is not painted (hidden,
  // or with no area) must not leave the magnified view standing still.
  if (ZoomView && ZoomView->isVisible()) ZoomView->RequestChartRedraw();
  if (Recorder) RecordTick();
  if (StopAfterTick) SetTimerEnabled(false);
}

void TMainForm1::MnuResetClick() {
  Commands.Reset();
  ShowReset();
}

void TMainForm1::ShowReset() {
  const TVector2 start = ResetStartOf(State).StartPos;
  Series1().SetPointX(0, start.X);
  Series1().SetPointY(0, start.Y);
  Series1().RequestRedraw();
  if (PatternForm) PatternForm->SimulationReset();
  if (Observer) Observer->SimulationReset();
}

void TMainForm1::MnuByMouseClick() {
  if (TRefusal refusal = Commands.ChooseTrajectory(tmMouse, Commands.Trajectory()))
    throw EError(refusal);
  MainMenu1.Check("MnuByMouse");
  ShowReset();
}

void TMainForm1::Series1Click(int x, int y) {
  Dragging = Series1().HitTestPoint(x, y) == 0;
}

void TMainForm1::Chart1MouseUp() {
  Dragging = false;
}

void TMainForm1::SpeedRunButtonClick() {
  StopAfterTick = false;
  SetTimerEnabled(true);
  SpeedPauseButton->setChecked(false);
}

void TMainForm1::SpeedPauseButtonClick() {
  // One more tick runs, and that tick switches the timer off: a single step.
  StopAfterTick = true;
  SetTimerEnabled(true);
  SpeedRunButton->setChecked(false);
}

void TMainForm1::MnuRunClick() {
  SpeedRunButton->setChecked(true);
  SetTimerEnabled(true);
}

void TMainForm1::MnuPauseClick() {
  SpeedPauseButton->setChecked(true);
  SetTimerEnabled(false);
}

// ---- The picture ----

void TMainForm1::MnuRunPauseClick() {
  if (Timer1->isActive() && !StopAfterTick) {
    MnuPauseClick();
    return;
  }
  SpeedRunButton->setChecked(true);
  SpeedRunButtonClick();
}

void TMainForm1::MnuStepClick() {
  SpeedPauseButton->setChecked(true);
  SpeedPauseButtonClick();
}
