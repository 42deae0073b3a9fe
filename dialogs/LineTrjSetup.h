// SPDX-License-Identifier: GPL-3.0-or-later
// Setup dialog of the straight-line trajectory: speed, start and stop x (y = 0).
#pragma once

#include "dialogs/TrajectoryDialog.h"

class TLineTrjDlg : public TTrajectoryDialog {
  Q_OBJECT

 public:
  explicit TLineTrjDlg(TSimulationCommands& simulation, QWidget* parent = nullptr);

  QComboBox* List_Velocity = nullptr;
  QComboBox* List_Start = nullptr;
  QComboBox* List_Stop = nullptr;
};
