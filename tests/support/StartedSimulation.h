// SPDX-License-Identifier: GPL-3.0-or-later
// A simulation started as the program starts it, through the commands every caller uses: the
// table sized, the path of mode built and sampled at the wave speed of its rows, reset.
#pragma once

#include <gtest/gtest.h>

#include "engine/SimulationCommands.h"

inline void StartSimulation(TSimulationState& state, int mode = tmMouse,
                            const TTrajectoryParameters& parameters = {}) {
  TDisplaySettings display;
  TSimulationCommands commands(state, display);
  ASSERT_FALSE(commands.Start());
  ASSERT_FALSE(commands.ChooseTrajectory(mode, parameters)) << "mode " << mode;
}
