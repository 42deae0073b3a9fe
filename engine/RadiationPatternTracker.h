// SPDX-License-Identifier: GPL-3.0-or-later
// The patterns a power-pattern window shows, kept up to date as the simulation runs: the present
// tick's, the mean over one loop or pass of a preset path (worked out when the motion changes,
// never per tick), and in mouse mode the mean over the last ISize ticks (kept while no window
// shows it, so that it is right when one does). Every front-end's window reads the same.
#pragma once

#include "engine/Radiation.h"
#include "engine/SimulationState.h"

class TRadiationPatternTracker {
 public:
  explicit TRadiationPatternTracker(const TSimulationState& state) : State(state) {}

  // What a front-end tells the tracker: after every tick; after every reset (a pass restarted
  // included); after a trajectory was chosen or the model size changed, and once at start.
  void ChargeTicked();
  void SimulationReset();
  void MotionChanged();

  // The present tick's pattern, worked out on the call.
  const TRadiationPattern& Instantaneous();
  // Mouse mode: the mean over the last ticks; a preset path: its mean over one loop or pass.
  const TRadiationPattern& Averaged() const;
  // The averaged pattern changes from tick to tick only in mouse mode.
  bool AverageMovesWithTicks() const { return State.TrajectoryMode == tmMouse; }

 private:
  const TSimulationState& State;
  TRadiationPattern Instant;
  TRadiationPattern PathAverage;
  TMotionAverage MouseAverage;
};
