// SPDX-License-Identifier: GPL-3.0-or-later
// Setup dialog of the bending magnet: speed, bending radius and angle (degrees).
#pragma once

#include "dialogs/TrajectoryDialog.h"

class TBendingDlg : public TTrajectoryDialog {
  Q_OBJECT

 public:
  explicit TBendingDlg(TSimulationCommands& simulation, QWidget* parent = nullptr);

  QComboBox* List_Velocity = nullptr;
  QComboBox* List_Radius = nullptr;
  QComboBox* List_Angle = nullptr;
};
