// SPDX-License-Identifier: GPL-3.0-or-later
// The wave speed window: a slider that sets the real time per animation tick. The wave moves a
// fixed model distance per tick, so a shorter timer interval is a faster wave on screen.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "dialogs/SetupDialog.h"
#include "engine/SimulationCommands.h"

class TSpeedControlForm : public TSetupDialog {
  Q_OBJECT

 public:
  // Runs FormCreate, so that the animation runs at the slider's speed from then on.
  explicit TSpeedControlForm(TSimulationCommands& simulation, QWidget* parent = nullptr);

  // The slider's range, then its position as the speed in force says.
  void FormCreate();
  // Every move of the thumb sets the speed at once (engine/AnimationSpeed.h): 1 ms a tick at the
  // right end ("Fast"), 181 ms at the left end ("Slow").
  void WaveSpeedChange();
  void btnOKClick();

  QSlider* WaveSpeed = nullptr;
  QLabel* SlowLabel = nullptr;
  QLabel* FastLabel = nullptr;
  QPushButton* btnOK = nullptr;

 private:
  TSimulationCommands& Simulation;
};
