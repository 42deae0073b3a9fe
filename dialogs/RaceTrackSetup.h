// SPDX-License-Identifier: GPL-3.0-or-later
// Setup dialog of the race track: speed, radius of the two half circles, length of each straight.
#pragma once

#include "dialogs/TrajectoryDialog.h"

class TRaceTrackSetupDlg : public TTrajectoryDialog {
  Q_OBJECT

 public:
  explicit TRaceTrackSetupDlg(TSimulationCommands& simulation, QWidget* parent = nullptr);

  QComboBox* List_Velocity = nullptr;
  QComboBox* List_Radius = nullptr;
  QComboBox* List_StraightSection = nullptr;
};
