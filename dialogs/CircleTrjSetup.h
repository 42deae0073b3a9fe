// SPDX-License-Identifier: GPL-3.0-or-later
// Setup dialog of the circular orbit: speed and radius.
#pragma once

#include "dialogs/TrajectoryDialog.h"

class TCircleTrjDlg : public TTrajectoryDialog {
  Q_OBJECT

 public:
  explicit TCircleTrjDlg(TSimulationCommands& simulation, QWidget* parent = nullptr);

  QComboBox* List_Velocity = nullptr;
  QComboBox* List_Radius = nullptr;
};
