// SPDX-License-Identifier: GPL-3.0-or-later
// Setup dialog of the race track: speed, radius of the two half circles, length of each straight.
#include "dialogs/RaceTrackSetup.h"

TRaceTrackSetupDlg::TRaceTrackSetupDlg(TSimulationCommands& simulation, QWidget* parent)
    : TTrajectoryDialog(simulation, tmRaceTrack, QSize(354, 165), 96,
                        {
                            {"List_Velocity",
                             QStringLiteral("Particle Velocity/wave velocity"),
                             {"0.5", "0.6", "0.7", "0.8", "0.9", "0.95", "0.98", "0.99"},
                             &TTrajectoryParameters::RaceBeta},
                            {"List_Radius",
                             QStringLiteral("Bending Radius (u)"),
                             {"0.05", "0.1", "0.2", "0.3"},
                             &TTrajectoryParameters::RaceRadius},
                            {"List_StraightSection",
                             QStringLiteral("Straight Section (u)"),
                             {"0.05", "0.1", "0.2", "0.3"},
                             &TTrajectoryParameters::RaceStraight},
                        },
                        parent) {
  setObjectName(QStringLiteral("RaceTrackSetupDlg"));
  SetTitle(QT_TR_NOOP("Race Track"));
  List_Velocity = Box("List_Velocity");
  List_Radius = Box("List_Radius");
  List_StraightSection = Box("List_StraightSection");
}
