// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/RadiationPatternTracker.h"

void TRadiationPatternTracker::ChargeTicked() {
  if (State.TrajectoryMode == tmMouse) MouseAverage.Add(CurrentMotion(State));
}

void TRadiationPatternTracker::SimulationReset() { MouseAverage.Clear(); }

void TRadiationPatternTracker::MotionChanged() {
  MouseAverage.Resize(State.ISize);
  PathAveragePattern(State, PathAverage);
}

const TRadiationPattern& TRadiationPatternTracker::Instantaneous() {
  InstantaneousPattern(State, Instant);
  return Instant;
}

const TRadiationPattern& TRadiationPatternTracker::Averaged() const {
  return State.TrajectoryMode == tmMouse ? MouseAverage.Mean() : PathAverage;
}
