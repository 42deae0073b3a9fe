// SPDX-License-Identifier: GPL-3.0-or-later
// The commands every front-end, the command line, the tools and the tests use to change the
// simulation: each takes a whole set of values, checks it, and applies all of it or nothing.
// The set-up sequence (size the node table, build and sample the path at the wave speed,
// reset) lives here and nowhere else.
#pragma once

#include <optional>

#include "engine/DisplaySettings.h"
#include "engine/ModelLimits.h"
#include "engine/PhysicsOptions.h"
#include "engine/Refusal.h"
#include "engine/SimulationState.h"

struct TTickReport {
  // The tick began a new pass of an undulator or bending path: the simulation was reset on the
  // way, and a front-end does what it does after a reset (the charge's marker, the pattern).
  bool PassRestarted = false;
};

// Works on a state and display settings that its creator owns; it holds nothing of its own, so
// that any number of these over the same state agree.
class TSimulationCommands {
 public:
  TSimulationCommands(TSimulationState& state, TDisplaySettings& display);

  const TSimulationState& State() const { return Simulation; }
  const TDisplaySettings& Display() const { return DisplaySettings; }
  const TTrajectoryParameters& Trajectory() const { return Simulation.Trajectory; }
  TModelSize ModelSize() const;
  TPhysicsOptions Physics() const;

  // The node table sized for the state's model, the path of its trajectory built and sampled,
  // reset: what a program does once at start, with the state's own values (checked; a refusal
  // leaves the state untouched, the table empty).
  TRefusal Start();

  // mode (tmMouse ... tmBending) with parameters becomes the trajectory in force: checked at the
  // wave speed of the model in force, the path built and sampled, reset. Mouse mode keeps the
  // parameters and the path of the last preset.
  TRefusal ChooseTrajectory(int mode, const TTrajectoryParameters& parameters);
  // A new model size: checked, and the path in force checked at the new wave speed; then the
  // table sized, the path sampled again, reset.
  TRefusal ChooseModelSize(const TModelSize& size);
  // FrameIndex 0 and the node table of a charge that has run uniformly into the path's start.
  void Reset();
  // One tick. cursor: where the dragged charge is pulled to (model units), none while it is not
  // dragged.
  TTickReport RunTick(std::optional<TVector2> cursor = std::nullopt);

  // From the next tick on; no reset.
  void SetPhysics(const TPhysicsOptions& options);
  TRefusal SetPlotResolution(int pixels);
  // The speed control's position, SpeedPositionMin ("Slow") .. SpeedPositionMax ("Fast").
  TRefusal SetSpeedPosition(int position);
  // Every display switch, the plot resolution and the magnified view's settings at once.
  TRefusal SetDisplay(const TDisplaySettings& display);

 private:
  // Sizes the table, samples the path of the state's mode and parameters, resets: the one
  // sequence behind Start, ChooseTrajectory and ChooseModelSize.
  void Rebuild();

  TSimulationState& Simulation;
  TDisplaySettings& DisplaySettings;
};
