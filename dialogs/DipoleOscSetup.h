// SPDX-License-Identifier: GPL-3.0-or-later
// Setup dialog of the dipole (harmonic) oscillation: peak speed and amplitude.
#pragma once

#include "dialogs/TrajectoryDialog.h"

class TDipoleOscSetupDlg : public TTrajectoryDialog {
  Q_OBJECT

 public:
  explicit TDipoleOscSetupDlg(TSimulationCommands& simulation, QWidget* parent = nullptr);

  QComboBox* List_Velocity = nullptr;
  QComboBox* List_Amplitude = nullptr;
};
