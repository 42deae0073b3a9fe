// The wave speed window: a slider that sets the real time per animation tick. The wave moves a
// fixed model distance per tick, so a shorter timer interval is a faster wave on screen.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "dialogs/SetupDialog.h"
#include "engine/SimulationState.h"

class TSpeedControlForm : public TSetupDialog {
  Q_OBJECT

 public:
  // Runs FormCreate, so that TimerInterval holds the slider's value from then on.
  explicit TSpeedControlForm(TSimulationState& state, QWidget* parent = nullptr);

  // Maximum 10, then minimum 1, then position 10, in this order; every move of the thumb on the
  // way stores its interval, ending at 1 ms.
  void FormCreate();
  // TimerInterval (ms) = (maximum - position) * 20 + 1: 1 ms at the right end ("Fast"),
  // 181 ms at the left end ("Slow").
  void WaveSpeedChange();
  void btnOKClick();

  QSlider* WaveSpeed = nullptr;
  QLabel* SlowLabel = nullptr;
  QLabel* FastLabel = nullptr;
  QPushButton* btnOK = nullptr;

 private:
  TSimulationState& State;
};
