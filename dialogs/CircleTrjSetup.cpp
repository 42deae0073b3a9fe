// SPDX-License-Identifier: GPL-3.0-or-later
// Setup dialog of the circular orbit: speed and radius.
#include "dialogs/CircleTrjSetup.h"

TCircleTrjDlg::TCircleTrjDlg(TSimulationCommands& simulation, QWidget* parent)
    : TTrajectoryDialog(
          simulation, tmCircle, QSize(443, 160), 120,
          {
              {"List_Velocity",
               QStringLiteral("Particle Velocity/wave velocity"),
               {"0.5", "0.6", "0.7", "0.8", "0.9", "0.95", "0.98", "0.99", "0.995", "0.999"},
               &TTrajectoryParameters::CircleBeta},
              {"List_Radius",
               QStringLiteral("Circle Radius (u)"),
               {"0.01", "0.02", "0.05", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8",
                "0.9", "1.0"},
               &TTrajectoryParameters::CircleRadius},
          },
          parent) {
  setObjectName(QStringLiteral("CircleTrjDlg"));
  SetTitle(QT_TR_NOOP("Circular Orbit"));
  List_Velocity = Box("List_Velocity");
  List_Radius = Box("List_Radius");
}
