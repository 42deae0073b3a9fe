// SPDX-License-Identifier: GPL-3.0-or-later
// The path calls of each trajectory kind, in the order the trajectory commands make them.
#pragma once

#include "engine/PathGen.h"
#include "engine/TrajectoryParameters.h"

// Builds and samples the path of trajectoryMode (tmStraightLine ... tmBending) on generator.
// The caller has run CheckTrajectory with the same values.
void BuildTrajectory(TPathGeneration& generator, int trajectoryMode,
                     const TTrajectoryParameters& parameters, double waveVelocity);
