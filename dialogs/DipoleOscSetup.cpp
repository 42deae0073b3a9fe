// SPDX-License-Identifier: GPL-3.0-or-later
// Setup dialog of the dipole (harmonic) oscillation: peak speed and amplitude.
#include "dialogs/DipoleOscSetup.h"

TDipoleOscSetupDlg::TDipoleOscSetupDlg(TSimulationCommands& simulation, QWidget* parent)
    : TTrajectoryDialog(
          simulation, tmDipole, QSize(443, 156), 120,
          {
              {"List_Velocity",
               QStringLiteral("Maximum Velocity/wave velocity"),
               {"0.5", "0.6", "0.7", "0.8", "0.9", "0.95", "0.98", "0.99", "0.995", "0.999"},
               &TTrajectoryParameters::DipoleBeta},
              {"List_Amplitude",
               QStringLiteral("Oscillation Amplitude : 2A (u)"),
               {"0.1", "0.2", "0.3", "0.4", "0.5"},
               &TTrajectoryParameters::DipoleAmplitude},
          },
          parent) {
  setObjectName(QStringLiteral("DipoleOscSetupDlg"));
  SetTitle(QT_TR_NOOP("Dipole Oscillation"));
  List_Velocity = Box("List_Velocity");
  List_Amplitude = Box("List_Amplitude");
}
