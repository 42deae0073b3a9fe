// SPDX-License-Identifier: GPL-3.0-or-later
// Setup dialog of the bending magnet: speed, bending radius and angle (degrees).
#include "dialogs/BendingSetup.h"

TBendingDlg::TBendingDlg(TSimulationCommands& simulation, QWidget* parent)
    : TTrajectoryDialog(
          simulation, tmBending, QSize(354, 165), 96,
          {
              {"List_Velocity",
               QStringLiteral("Particle Velocity/wave velocity"),
               {"0.5", "0.6", "0.7", "0.8", "0.9", "0.95", "0.98", "0.99", "0.995", "0.999"},
               &TTrajectoryParameters::BendBeta},
              {"List_Radius",
               QStringLiteral("Bending Radius (m)"),
               {"0.5", "0.6", "0.7", "0.8", "0.9", "1.0", "2.0", "3.0", "5.0"},
               &TTrajectoryParameters::BendRadius},
              {"List_Angle",
               QStringLiteral("Bending Angle (degree)"),
               {"10", "20", "30", "40", "50", "60", "70", "80", "90"},
               &TTrajectoryParameters::BendAngle},
          },
          parent) {
  setObjectName(QStringLiteral("BendingDlg"));
  SetTitle(QT_TR_NOOP("Bending Magnet"));
  List_Velocity = Box("List_Velocity");
  List_Radius = Box("List_Radius");
  List_Angle = Box("List_Angle");
}
