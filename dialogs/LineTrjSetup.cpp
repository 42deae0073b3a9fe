// SPDX-License-Identifier: GPL-3.0-or-later
// Setup dialog of the straight-line trajectory: speed, start and stop x (y = 0).
#include "dialogs/LineTrjSetup.h"

TLineTrjDlg::TLineTrjDlg(TSimulationCommands& simulation, QWidget* parent)
    : TTrajectoryDialog(
          simulation, tmStraightLine, QSize(484, 163), 120,
          {
              {"List_Velocity",
               QStringLiteral("Particle Velocity/wave velocity"),
               {"0.5", "0.6", "0.7", "0.8", "0.9", "0.95", "0.98", "0.99", "0.995", "0.999"},
               &TTrajectoryParameters::LineBeta},
              {"List_Start",
               QStringLiteral("Start Position x (u):"),
               {"-1.0", "-0.8", "-0.5"},
               &TTrajectoryParameters::LineStartX},
              {"List_Stop",
               QStringLiteral("Stop Position x (u):"),
               {"0.3", "0.5", "0.8", "1.0", "1.5", "2.0"},
               &TTrajectoryParameters::LineStopX},
          },
          parent) {
  setObjectName(QStringLiteral("LineTrjDlg"));
  SetTitle(QT_TR_NOOP("Straight Line"));
  List_Velocity = Box("List_Velocity");
  List_Start = Box("List_Start");
  List_Stop = Box("List_Stop");
}
